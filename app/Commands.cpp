#include "app/Commands.h"

namespace vantrel {

const std::vector<MenuCommand>& MenuCommands() {
    static const std::vector<MenuCommand> commands = {
        {"sc", [](App& app) { app.apply_Click(); }},
        {"review", ReviewChangesCommand},
        {"restore", RestoreBackupCommand},
        {"export", ExportSettingsCommand},
        {"import", ImportSettingsCommand},
        {"gpexport", GroupPolicyExportCommand},
        {"others", ApplyToOthersCommand},
        {"exit", [](App& app) { app.EndProgram(); }},
        {"status", SettingsStatusCommand},
        {"vco", [](App& app) { OpenHomePage(app.services()); }},
        {"cfvntu", [](App& app) { OpenUpdatePage(app.services()); }},
    };
    return commands;
}

FileChoice RegFileChoice(const std::string& title, const std::string& name, const std::string& folder) {
    return {title, folder, {{"Registration Files (*.reg)", "*.reg"}, {"All Files (*.*)", "*.*"}}, name, "reg"};
}

}  // namespace vantrel
