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
    const SettingsProfile profile = ExportProfile(form1, services.registry);
    if (const std::string failure = WriteExport(services, path, profile); !failure.empty()) {
        services.dialogs.MessageBox(failure, title, mb::kExclamation);
        return;
    }
    std::string text = ExportedMessage(path);
    if (!profile.skipped.empty()) text += ListedLines("These settings were not exported:", SkippedLines(profile.skipped));
    services.dialogs.MessageBox(text, title, profile.skipped.empty() ? mb::kInformation : mb::kExclamation);
}

}  // namespace vantrel
