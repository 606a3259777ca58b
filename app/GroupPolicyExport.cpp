// File > "Export for Group Policy...": the settings the administrator ticks,
// as the registry preference items of a domain Group Policy object
// (Machine\Preferences\Registry\Registry.xml and User\...) or as the two
// Registry.pol files of a local one.
#include "app/Commands.h"


#include "app/Profile.h"
#include "app/Report.h"
#include "app/Review.h"
#include "platform/WholeFile.h"
#include "registry/PolicyFile.h"
#include "registry/PreferenceFile.h"

namespace vantrel {

namespace {

const char* const kTitle = "Export for Group Policy";

// The two forms, as the dialog offers them. What the console shows and what
// stays behind a removed policy object are the statements of Group
// Policy's behaviour; where preference items live is [MS-GPPREF] 2.2.1. The
// versions that carry the preference extensions: Microsoft documentation
// unknown.
struct PolicyForm {
    const char* caption;
    const char* note;
    const char* machineFile;  // below the chosen folder
    const char* userFile;
};
const PolicyForm kForms[] = {
    {"Preference items (domain policy objects)",
     "Preference items are for domain policy objects. They can be seen and edited in the Group Policy "
     "Management Console, and they need the preference extensions on each computer (Windows Vista and later, or "
     "Windows XP SP2 and later with the extensions installed).",
     "Machine\\Preferences\\Registry\\Registry.xml", "User\\Preferences\\Registry\\Registry.xml"},
    {"Registry.pol (local policy)",
     "Registry.pol is for local policy and any client. Its entries outside the Policies keys are not shown in the "
     "Group Policy editor. The Windows 10 and 11 settings are real policies: here they are managed settings, "
     "which the editor shows and which go when the policy object goes, so this form suits them.",
     "Machine\\Registry.pol", "User\\Registry.pol"},
};
constexpr int kPreferences = 0;

ExportChoice ChoiceOf(const SettingsProfile& profile) {
    ExportChoice choice;
    choice.list = {kTitle,
                   "Tick the settings to export. Marked settings describe this computer or this user only (the "
                   "registered owner and organization, the Messenger start type, folders outside your profile) and "
                   "are not ticked at first.",
                   {"Page", "Setting", "Value", "Applies to"},
                   {},
                   "OK",
                   "Cancel"};
    for (const ProfileSetting& s : profile.settings) {
        std::string value;
        for (const RegKeyBlock& block : profile.blocks) {
            for (const RegValueEntry& v : block.values) {
                if (value.empty() && SameValue({block.root, block.path, v.name}, s.values.front())) {
                    value = DescribeStored(StoredData{v.type, v.data});
                }
            }
        }
        const char* scope = s.row->root == reg::kLocalMachine ? "Computer" : "User";
        choice.list.rows.push_back({{s.row->page, s.row->caption, value, scope}, s.local});
        choice.checked.push_back(!s.local);
    }
    choice.formHeading = "Form:";
    for (const PolicyForm& f : kForms) {
        choice.forms.push_back(f.caption);
        choice.formNotes.push_back(f.note);
    }
    choice.note = "Preference items, and Registry.pol entries outside the Policies keys, stay on the computers "
                  "after the policy is removed.";
    choice.folderLabel = "Folder:";
    choice.folderPrompt = "Choose the folder of a Group Policy object. Vantrel writes the computer settings under "
                          "Machine and the user settings under User in it.";
    return choice;
}

// What keeps the choice from being written; "" when nothing does.
std::string Problem(const ExportChoice& choice) {
    bool any = false;
    for (const bool checked : choice.checked) any = any || checked;
    if (!any) return "No setting is ticked. Tick the settings to export.";
    if (choice.folder.find_first_not_of(' ') == std::string::npos) {
        return "Type the folder of a Group Policy object, or choose one with \"Browse...\".";
    }
    return {};
}


// Each value of the root's settings as a preference item, its description
// naming the page and the setting.
RegWriteResult PreferenceFile(Services& services, const SettingsProfile& profile, RegKey root) {
    std::vector<PreferenceItem> items;
    for (const ProfileSetting& s : profile.settings) {
        if (s.row->root != root) continue;
        const auto plain = [](std::string text) {  // "Personal Folders:" as "Personal Folders"
            if (!text.empty() && text.back() == ':') text.pop_back();
            return text;
        };
        const std::string description = "Vantrel: " + plain(s.row->page) + " - " + plain(s.row->caption);
        for (const ValueRef& ref : s.values) {
            for (const RegKeyBlock& block : profile.blocks) {
                for (const RegValueEntry& v : block.values) {
                    if (!SameValue({block.root, block.path, v.name}, ref)) continue;
                    items.push_back({root, block.path, v, description, services.environment.NewGuid()});
                    if (items.back().uid.empty()) return {{}, "no identifier could be made for its items"};
                }
            }
        }
    }
    // "YYYY-MM-DD hh:mm:ss", as the "changed" attribute of the sample in [MS-GPPREF] 4.2.22.
    return WritePreferenceFile(items, Stamp(services.environment.Now()));
}

}  // namespace

void GroupPolicyExportCommand(App& app) {
    Services& services = app.services();
    const SettingsProfile profile = ExportProfile(app.form1(), services.registry, services.environment.ProfileFolder());
    ExportChoice choice = ChoiceOf(profile);
    for (;;) {
        if (!services.dialogs.ChooseExport(choice)) return;
        const std::string problem = Problem(choice);
        if (problem.empty()) break;
        services.dialogs.MessageBox(problem, kTitle, mb::kExclamation);
    }
    std::string folder = choice.folder;
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    const PolicyForm& form = kForms[choice.form == kPreferences ? 0 : 1];
    const SettingsProfile chosen = ChosenSettings(profile, choice.checked);

    struct Part {
        RegKey root;
        std::string file;
    };
    const std::vector<Part> parts = {{reg::kLocalMachine, folder + "\\" + form.machineFile},
                                     {reg::kCurrentUser, folder + "\\" + form.userFile}};
    std::vector<std::string> existing;
    for (const Part& part : parts) {
        if (services.files.Exists(part.file)) existing.push_back(part.file);
    }
    if (!existing.empty()) {
        std::string question;
        for (const std::string& file : existing) question += Quoted(file) + "\n";
        question += existing.size() == 1 ? "\nalready exists. Replace it? The policy settings it holds now will be lost."
                                         : "\nalready exist. Replace them? The policy settings they hold now will be lost.";
        if (services.dialogs.MessageBox(question, kTitle, mb::kYesNo | mb::kExclamation | mb::kDefaultButton2) !=
            mb::kAnswerYes) {
            return;
        }
    }

    // Both files are made and written beside their targets before either
    // takes its place: a failed write leaves the object's two files as they
    // were, and a replace that fails after the other file's is said to have.
    std::vector<WholeFile> files;
    for (const Part& part : parts) {
        std::vector<RegKeyBlock> blocks;
        for (const RegKeyBlock& b : chosen.blocks) {
            if (b.root == part.root) blocks.push_back(b);
        }
        RegWriteResult bytes = choice.form == kPreferences ? PreferenceFile(services, chosen, part.root)
                                                           : RegWriteResult{WritePolicyFile(blocks), {}};
        if (!bytes.ok()) {
            services.dialogs.MessageBox("Vantrel could not write " + Quoted(part.file) + ": " +
                                            Utf8ToAnsi(services.registry.codePage(), bytes.error) +
                                            ". Nothing was written.",
                                        kTitle, mb::kExclamation);
            return;
        }
        const std::string parent = part.file.substr(0, part.file.rfind('\\'));
        if (const long error = services.files.CreateFolders(parent)) {
            services.dialogs.MessageBox(CannotWriteMessage(services, parent, error), kTitle, mb::kExclamation);
            return;
        }
        files.push_back({part.file, std::move(bytes.bytes)});
    }
    const WholeFilesWritten written = WriteWholeFiles(services.files, files);
    if (written.error != 0) {
        std::string text = CannotWriteMessage(services, written.failed, written.error) + " " + WhereTheDataIs(written);
        for (const std::string& file : written.replaced) text += " " + Quoted(file) + " was replaced already.";
        services.dialogs.MessageBox(text, kTitle, mb::kExclamation);
        return;
    }
    ShowExported(services, kTitle,
                 "Settings exported for Group Policy to " + Quoted(parts[0].file) + " and " + Quoted(parts[1].file) +
                     ".",
                 chosen);
}

}  // namespace vantrel
