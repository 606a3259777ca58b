// File > "Restore Backup...": a backup's values that Vantrel manages,
// reviewed, then written after a new backup; every page is read again.
#include "app/Commands.h"

#include "app/Backup.h"
#include "app/Report.h"
#include "app/Review.h"
#include "registry/RegistryRoutines.h"

namespace vantrel {

namespace {

// The file's keys and values that were left alone, for a message (ANSI).
std::string OthersText(const std::vector<std::string>& others, const CodePage& ansi) {
    if (others.empty()) return {};
    std::vector<std::string> lines;
    for (const std::string& other : others) lines.push_back(Utf8ToAnsi(ansi, other));
    return ListedLines("The file also holds these keys and values, which are not Vantrel settings. "
                       "They were left as they are:",
                       lines);
}

std::string FileName(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

void RestoreBackupCommand(App& app) {
    Form& form1 = app.form1();
    Services& services = app.services();
    Dialogs& dialogs = services.dialogs;
    Registry& reg = services.registry;
    const CodePage& ansi = reg.codePage();
    const char* const kTitle = "Restore Backup";
    std::string path;
    if (!dialogs.ChooseFileToOpen(RegFileChoice(kTitle, "", BackupFolder(services.environment)), &path)) return;

    std::string bytes;
    if (const long error = services.files.ReadAll(path, &bytes, false)) {
        dialogs.MessageBox(CannotReadMessage(services, path, error), kTitle, mb::kExclamation);
        return;
    }
    const RegParseResult parsed = ParseRegFile(bytes, ansi);
    if (!parsed.ok()) {
        dialogs.MessageBox(MalformedMessage(ansi, path, parsed.error, "Nothing was restored.", true), kTitle,
                           mb::kExclamation);
        return;
    }
    const ManagedOps split = SplitManaged(parsed.ops, ansi);
    const std::vector<ValueChange> changes = ChangesOfOps(reg, split.ops, services.files);
    if (changes.empty()) {
        dialogs.MessageBox("No setting would change." + OthersText(split.others, ansi), kTitle, mb::kInformation);
        return;
    }
    const std::string intro = "Restoring " + Quoted(AnsiToUtf8(ansi, FileName(path))) +
                              " would change these settings. Vantrel saves a backup of the current settings first.";
    if (!dialogs.ShowReviewList(ReviewListOf(changes, kTitle, intro, app.standings(), ansi))) return;
    if (!app.WriteBackup()) return;

    std::string failed;
    for (const RegOp& op : split.ops) {
        const long status = ApplyRegOp(reg, op);
        if (status == reg::kSuccess) continue;
        const ValueRef* target = FindTarget(ansi, op.root, op.path, op.name);
        failed += SkippedLine({target->page, target->caption, RefusedReason(services.files, status)}) + "\n";
    }
    // Every page shows the stored values again; the tree and the lists stay.
    LoadSettings(form1, reg);
    LoadStartMenuChecks(form1, reg);

    const std::string others = OthersText(split.others, ansi) +
                               (app.backupLeftBehind().empty() ? "" : "\n\n" + app.backupLeftBehind());
    if (failed.empty()) {
        dialogs.MessageBox("The settings of " + Quoted(FileName(path)) +
                               " were restored. Most changes will not be applied until you log off of Windows." +
                               others,
                           "Backup Restored", mb::kInformation);
        return;
    }
    dialogs.MessageBox("These settings were not restored:\n\n" + failed +
                           "\nAll other settings were restored. Most changes will not be applied until you log off "
                           "of Windows." + others,
                       "Some Settings Were Not Restored", mb::kExclamation);
}

}  // namespace vantrel
