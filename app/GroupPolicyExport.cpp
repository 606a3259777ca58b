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
                   "registered owner and organization, the Messenger start type, the download folder, folders "
                   "outside your profile) and are not ticked at first.",
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
        choice.list.rows.push_back({{PageName(s.row->page), s.row->caption, value, scope}, s.local});
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
std::vector<PreferenceItem> PreferenceItems(Services& services, const SettingsProfile& profile, RegKey root,
                                            std::string* error) {
    std::vector<PreferenceItem> items;
    for (const ProfileSetting& s : profile.settings) {
        if (s.row->root != root) continue;
        const std::string description = "Vantrel: " + PageName(s.row->page) + " - " + PageName(s.row->caption);
        for (const ValueRef& ref : s.values) {
            for (const RegKeyBlock& block : profile.blocks) {
                for (const RegValueEntry& v : block.values) {
                    if (!SameValue({block.root, block.path, v.name}, ref)) continue;
                    items.push_back({root, block.path, v, description, services.environment.NewGuid()});
                    if (items.back().uid.empty()) *error = "no identifier could be made for its items";
                }
            }
        }
    }
    return items;
}

// One half of the policy object: the computer's or the user's file.
struct Half {
    RegKey root;
    std::string file;
    MergedFile merged{};
};

// "3 entries kept, 1 replaced, 12 added".
std::string Counts(const MergedFile& m) {
    return std::to_string(m.kept) + (m.kept == 1 ? " entry" : " entries") + " kept, " + std::to_string(m.replaced) +
           " replaced, " + std::to_string(m.added) + " added";
}

}  // namespace

void GroupPolicyExportCommand(App& app) {
    Services& services = app.services();
    const CodePage& ansi = services.registry.codePage();
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

    // A half with nothing ticked is not written at all, so that an export
    // never wipes what it did not write.
    std::vector<Half> halves;
    for (const Half& half : {Half{reg::kLocalMachine, folder + "\\" + form.machineFile},
                             Half{reg::kCurrentUser, folder + "\\" + form.userFile}}) {
        for (const ProfileSetting& s : chosen.settings) {
            if (s.row->root == half.root) {
                halves.push_back(half);
                break;
            }
        }
    }
    // Each file is merged with what it holds now, and every merge is made
    // before anything is written: a file that cannot be read changes nothing.
    std::vector<std::string> existing;
    for (Half& half : halves) {
        std::string bytes;
        if (services.files.Exists(half.file)) {
            if (const long error = services.files.ReadAll(half.file, &bytes, false)) {
                services.dialogs.MessageBox(CannotReadMessage(services, half.file, error) + " Nothing was written.",
                                            kTitle, mb::kExclamation);
                return;
            }
            existing.push_back(half.file);
        }
        if (choice.form == kPreferences) {
            std::string error;
            const std::vector<PreferenceItem> items = PreferenceItems(services, chosen, half.root, &error);
            // "changed" is a time in UTC, "YYYY-MM-DD hh:mm:ss" as in the
            // sample of [MS-GPPREF] 4.2.22.
            half.merged = error.empty() ? MergePreferenceFile(bytes, items, Stamp(services.environment.NowUtc()))
                                        : MergedFile{{}, error};
        } else {
            std::vector<RegKeyBlock> blocks;
            for (const RegKeyBlock& b : chosen.blocks) {
                if (b.root == half.root) blocks.push_back(b);
            }
            half.merged = MergePolicyFile(bytes, blocks);
        }
        if (!half.merged.ok()) {
            services.dialogs.MessageBox((half.merged.unreadable ? "Vantrel could not read " + Quoted(half.file) + " as " +
                                                          (choice.form == kPreferences ? "preference items"
                                                                                       : "a Registry.pol file")
                                                    : "Vantrel could not write " + Quoted(half.file)) +
                                            ": " + Utf8ToAnsi(ansi, half.merged.error) + ". Nothing was written.",
                                        kTitle, mb::kExclamation);
            return;
        }
    }
    if (!existing.empty()) {
        std::string question;
        for (const std::string& file : existing) question += Quoted(file) + "\n";
        question += existing.size() == 1 ? "\nalready exists. " : "\nalready exist. ";
        question += "Vantrel adds its settings to what they hold: an entry for a value Vantrel writes is replaced "
                    "where it stands, and every other entry is kept. Go on?";
        if (existing.size() == 1) {
            question.replace(question.find("what they hold"), 14, "what it holds");
        }
        if (services.dialogs.MessageBox(question, kTitle, mb::kYesNo | mb::kQuestion) != mb::kAnswerYes) return;
    }

    // The files are made and written beside their targets before either
    // takes its place: a failed write leaves the object's files as they
    // were, and a replace that fails after the other file's is said to have.
    std::vector<WholeFile> files;
    for (const Half& half : halves) {
        const std::string parent = half.file.substr(0, half.file.rfind('\\'));
        if (const long error = services.files.CreateFolders(parent)) {
            services.dialogs.MessageBox(CannotWriteMessage(services, parent, error), kTitle, mb::kExclamation);
            return;
        }
        files.push_back({half.file, half.merged.bytes});
    }
    const WholeFilesWritten written = WriteWholeFiles(services.files, files);
    if (written.error != 0) {
        std::string text = CannotWriteMessage(services, written.failed, written.error) + " " + WhereTheDataIs(written);
        for (const std::string& file : written.replaced) text += " " + Quoted(file) + " was replaced already.";
        services.dialogs.MessageBox(text, kTitle, mb::kExclamation);
        return;
    }
    std::string done = "Settings exported for Group Policy:\n";
    for (const Half& half : halves) done += "\n" + Quoted(half.file) + ": " + Counts(half.merged) + ".";
    if (const std::string leftBehind = WhereTheDataIs(written); !leftBehind.empty()) done += "\n\n" + leftBehind;
    ShowExported(services, kTitle, done, chosen);
}

}  // namespace vantrel
