// File > "Restore Backup...": a backup's values that Vantrel manages,
// reviewed, then written after a new backup; every page is read again.
#include "app/Commands.h"

#include <memory>

#include "app/Backup.h"
#include "app/Report.h"
#include "app/Review.h"
#include "app/TargetRun.h"
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
    Services& services = app.services();
    Dialogs& dialogs = services.dialogs;
    const CodePage& ansi = services.registry.codePage();
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
    // A backup taken for another target goes back to it, its hive loaded
    // again where needed, and the pages (the running user's) stay as they are.
    const std::string label = BackupTarget(bytes);
    std::unique_ptr<ReopenedTarget> target;
    if (!label.empty()) {
        target = std::make_unique<ReopenedTarget>(services, label);
        if (!target->problem().empty()) {
            dialogs.MessageBox(Quoted(FileName(path)) + " is a backup of " + label + ". " + target->problem() +
                                   " Nothing was restored.",
                               kTitle, mb::kExclamation);
            return;
        }
    }
    Services& own = target ? target->services() : services;
    Registry& reg = own.registry;
    const ManagedOps split = SplitManaged(parsed.ops, ansi);
    const std::vector<ValueChange> changes = ChangesOfOps(reg, split.ops, services.files);
    if (changes.empty()) {
        dialogs.MessageBox("No setting would change." + OthersText(split.others, ansi), kTitle, mb::kInformation);
        return;
    }
    const std::string intro = "Restoring " + Quoted(AnsiToUtf8(ansi, FileName(path))) +
                              (label.empty() ? "" : " to " + AnsiToUtf8(ansi, label)) +
                              " would change these settings. Vantrel saves a backup of the current settings first.";
    if (!dialogs.ShowReviewList(ReviewListOf(changes, kTitle, intro, app.standings(), ansi))) return;
    if (!app.WriteBackup(target ? &own : nullptr, label)) return;

    std::string failed;
    for (const RegOp& op : split.ops) {
        const long status = ApplyRegOp(reg, op);
        if (status == reg::kSuccess) continue;
        const ValueRef* value = FindTarget(ansi, op.root, op.path, op.name);
        failed += SkippedLine({value->page, value->caption, RefusedReason(services.files, status)}) + "\n";
    }
    if (!target) {
        // Every page shows the stored values again; the tree and the lists stay.
        LoadSettings(app.form1(), reg);
        LoadStartMenuChecks(app.form1(), reg);
    }
    const std::string others = OthersText(split.others, ansi) +
                               (app.backupLeftBehind().empty() ? "" : "\n\n" + app.backupLeftBehind());
    const std::string to = label.empty() ? "" : " to " + label;
    if (failed.empty()) {
        dialogs.MessageBox("The settings of " + Quoted(FileName(path)) + " were restored" + to +
                               ". Most changes will not be applied until you log off of Windows." + others,
                           "Backup Restored", mb::kInformation);
        return;
    }
    dialogs.MessageBox("These settings were not restored" + to + ":\n\n" + failed +
                           "\nAll other settings were restored. Most changes will not be applied until you log off "
                           "of Windows." + others,
                       "Some Settings Were Not Restored", mb::kExclamation);
}

}  // namespace vantrel
