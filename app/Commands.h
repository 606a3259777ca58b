// The commands of the menus, one file each, and the one table that routes a
// menu name to its handler: App::Menu looks the name up here, then in the
// page routes.
//
//   sc        Save Changes               the apply pass (App.cpp)
//   review    Review Changes...          ReviewChanges.cpp
//   restore   Restore Backup...          RestoreBackup.cpp
//   export    Export Settings...         ExportSettings.cpp
//   import    Import Settings...         ImportSettings.cpp
//   gpexport  Export for Group Policy... GroupPolicyExport.cpp
//   exit      Exit                       ends the program (App.cpp)
//   status    Settings Status...         SettingsStatus.cpp
//   vco       Visit Corvane              the web links (tools/)
//   cfvntu    Check For Vantrel Update
#pragma once

#include <string>
#include <vector>

#include "app/App.h"

namespace vantrel {

void ReviewChangesCommand(App& app);
void RestoreBackupCommand(App& app);
void ExportSettingsCommand(App& app);
void ImportSettingsCommand(App& app);
void GroupPolicyExportCommand(App& app);
void ApplyToOthersCommand(App& app);
void SettingsStatusCommand(App& app);

struct MenuCommand {
    const char* menu;  // the menu item's name
    void (*run)(App& app);
};
// Every menu item with a command of its own, in menu order.
const std::vector<MenuCommand>& MenuCommands();

// What the file choosers of the commands that read or write .reg files show.
FileChoice RegFileChoice(const std::string& title, const std::string& name, const std::string& folder = "");

}  // namespace vantrel
