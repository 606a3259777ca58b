// File > "Export Settings...": the pages as a .reg profile, in a file the
// user names.
#include "app/Commands.h"

#include "app/Profile.h"
#include "app/Report.h"

namespace vantrel {

void ExportSettingsCommand(App& app) {
    Form& form1 = app.form1();
    Services& services = app.services();
    const char* const title = "Export Settings";
    std::string path;
    if (!services.dialogs.ChooseFileToSave(RegFileChoice(title, "Vantrel Settings.reg"), &path)) return;
    const SettingsProfile profile = ExportProfile(form1, services.registry, services.environment.ProfileFolder());
    std::string leftBehind;
    if (const std::string failure = WriteExport(services, path, profile, &leftBehind); !failure.empty()) {
        services.dialogs.MessageBox(failure, title, mb::kExclamation);
        return;
    }
    ShowExported(services, title, ExportedMessage(path) + (leftBehind.empty() ? "" : " " + leftBehind), profile);
}

}  // namespace vantrel
