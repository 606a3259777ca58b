// File > "Export for Group Policy...": the values of an apply as the
// Machine\Registry.pol and User\Registry.pol of a Group Policy object.
#include "app/Commands.h"

#include <algorithm>
#include <iterator>

#include "app/Profile.h"
#include "app/Report.h"
#include "platform/WholeFile.h"
#include "registry/PolicyFile.h"

namespace vantrel {

void GroupPolicyExportCommand(App& app) {
    Form& form1 = app.form1();
    Services& services = app.services();
    const char* const title = "Export for Group Policy";
    std::string folder;
    if (!services.dialogs.ChooseFolder("Choose the folder of a Group Policy object. Vantrel writes the computer "
                                       "settings to Machine\\Registry.pol and the user settings to "
                                       "User\\Registry.pol in it.",
                                       &folder)) {
        return;
    }
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    struct Part {
        RegKey root;
        std::string folder;
        std::string file;
    };
    const std::vector<Part> parts = {{reg::kLocalMachine, folder + "\\Machine", folder + "\\Machine\\Registry.pol"},
                                     {reg::kCurrentUser, folder + "\\User", folder + "\\User\\Registry.pol"}};

    std::vector<std::string> existing;
    for (const Part& part : parts) {
        if (services.files.Exists(part.file)) existing.push_back(part.file);
    }
    if (!existing.empty()) {
        std::string question;
        for (const std::string& file : existing) question += Quoted(file) + "\n";
        question += existing.size() == 1 ? "\nalready exists. Replace it? The policy settings it holds now will be lost."
                                         : "\nalready exist. Replace them? The policy settings they hold now will be lost.";
        if (services.dialogs.MessageBox(question, title, mb::kYesNo | mb::kExclamation | mb::kDefaultButton2) !=
            mb::kAnswerYes) {
            return;
        }
    }

    // Both files are written beside their targets before either takes its
    // place: a failed write leaves the object's two files as they were, and
    // a replace that fails after the other file's is said to have.
    const SettingsProfile profile = ExportProfile(form1, services.registry);
    std::vector<WholeFile> files;
    for (const Part& part : parts) {
        if (const long error = services.files.CreateFolders(part.folder)) {
            services.dialogs.MessageBox(CannotWriteMessage(services, part.folder, error), title, mb::kExclamation);
            return;
        }
        std::vector<RegKeyBlock> blocks;
        std::copy_if(profile.blocks.begin(), profile.blocks.end(), std::back_inserter(blocks),
                     [&](const RegKeyBlock& b) { return b.root == part.root; });
        files.push_back({part.file, WritePolicyFile(blocks)});
    }
    const WholeFilesWritten written = WriteWholeFiles(services.files, files);
    if (written.error != 0) {
        std::string text = CannotWriteMessage(services, written.failed, written.error) + " " + WhereTheDataIs(written);
        for (const std::string& file : written.replaced) text += " " + Quoted(file) + " was replaced already.";
        services.dialogs.MessageBox(text, title, mb::kExclamation);
        return;
    }
    std::string text = "Settings exported for Group Policy to " + Quoted(parts[0].file) + " and " +
                       Quoted(parts[1].file) + ".";
    if (!profile.skipped.empty()) text += ListedLines("These settings were not exported:", SkippedLines(profile.skipped));
    services.dialogs.MessageBox(text, title, profile.skipped.empty() ? mb::kInformation : mb::kExclamation);
}

}  // namespace vantrel
