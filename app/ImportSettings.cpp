// File > "Import Settings...": sets the pages from a .reg profile; nothing is
// written until "Apply Changes".
#include "app/Commands.h"

#include "app/Profile.h"
#include "app/Report.h"

namespace vantrel {

void ImportSettingsCommand(App& app) {
    Form& form1 = app.form1();
    Services& services = app.services();
    const char* const title = "Import Settings";
    std::string path;
    if (!services.dialogs.ChooseFileToOpen(RegFileChoice(title, ""), &path)) return;
    ImportedSettings imported;
    if (const std::string failure = ImportProfileFile(form1, services, path, &imported); !failure.empty()) {
        services.dialogs.MessageBox(failure, title, mb::kExclamation);
        return;
    }
    std::string text =
        imported.settings > 0 ? SettingsCount(static_cast<std::size_t>(imported.settings)) + " set from " +
                                    Quoted(path) + ". Nothing is written yet: review the pages, then press \"Apply Changes\"."
        : imported.kept.empty() ? Quoted(path) + " holds no setting that Vantrel manages. No setting was changed."
                                : "No setting was set from " + Quoted(path) + ".";
    if (!imported.kept.empty()) {
        text += ListedLines("These settings of the file were not set; their pages show what they showed before:",
                            SkippedLines(imported.kept));
    }
    if (!imported.ignored.empty()) text += ListedLines("These entries of the file were ignored:", imported.ignored);
    const bool clean = imported.settings > 0 && imported.ignored.empty() && imported.kept.empty();
    services.dialogs.MessageBox(text, title, clean ? mb::kInformation : mb::kExclamation);
}

}  // namespace vantrel
