// The backup an apply takes before it writes anything: the current stored
// value of every value the apply is about to write, as a version 5 .reg file
// that restores them exactly when imported (values that are absent now
// become deletions).

#include "app/Backup.h"

#include "app/App.h"
#include "platform/WholeFile.h"
#include "registry/RegFile.h"
#include "settings/TweakRow.h"
#include "tools/Tools.h"

namespace vantrel {

namespace {

// The value as stored now, or a deletion when it is absent or unreadable.
// Read with the wide functions, so that no code page stands between the
// registry and the file.
RegValueEntry CurrentValue(Registry& reg, RegKey root, const std::string& path, const std::string& name) {
    RegValueEntry entry = RegRemovedValue(AnsiToUtf8(reg.codePage(), name));
    RegKey key = 0;
    if (reg.OpenKey(root, path, &key) != reg::kSuccess) return entry;
    entry.remove = !QueryStoredValue(reg, key, reg.codePage().ToWide(name), &entry.type, &entry.data);
    if (entry.remove) entry = RegRemovedValue(entry.name);
    reg.CloseKey(key);
    return entry;
}

}  // namespace

std::vector<RegKeyBlock> BackupBlocks(Registry& reg) {
    std::vector<RegKeyBlock> blocks;
    for (const ValueRef& v : ApplyTargets()) {
        KeyBlockFor(blocks, v.root, AnsiToUtf8(reg.codePage(), v.key))
            .values.push_back(CurrentValue(reg, v.root, v.key, v.value));
    }
    return blocks;
}

std::string BackupFolder(Environment& environment) {
    const std::string appData = environment.AppDataFolder();
    return appData.empty() ? std::string() : appData + "\\Vantrel\\Backups";
}

namespace {
constexpr std::string_view kTargetComment = "; Target: ";
}  // namespace

std::string BackupTarget(std::string_view bytes) {
    std::u16string text = bytes.size() >= 2 ? FromUtf16LeBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 2,
                                                                bytes.size() - 2)
                                             : std::u16string();
    const std::u16string mark = Utf8ToUtf16(kTargetComment);
    const std::size_t at = text.find(u"\r\n" + mark);
    if (at == std::u16string::npos) return {};
    const std::size_t start = at + 2 + mark.size();
    return Utf16ToUtf8(text.substr(start, text.find(u'\r', start) - start));
}

BackupSaved SaveBackup(Services& services, const std::string& target) {
    FileSystem& files = services.files;
    // Without a known application-data folder there is nowhere proper to
    // keep it (never the root of a drive), and no path to name.
    constexpr long kPathNotFound = 3;
    constexpr long kInvalidData = 13;
    BackupSaved saved;
    const std::string folder = BackupFolder(services.environment);
    saved.path = folder;
    if (folder.empty()) {
        saved.error = kPathNotFound;
        return saved;
    }
    const std::tm now = services.environment.Now();
    const std::string stamp = "Settings " + Stamp(now, '-');
    if ((saved.error = files.CreateFolders(folder)) != 0) return saved;
    // The catalogue's names never hold a line break, so the writer never refuses them.
    RegWriteResult file = WriteRegFile(BackupBlocks(services.registry), RegFormat::Version5);
    if (!file.ok()) {
        saved.error = kInvalidData;
        return saved;
    }
    std::string name = stamp;
    if (!target.empty()) {
        // After the header's line: a comment, which a .reg reader passes over.
        const std::vector<std::uint8_t> line = Utf8ToUtf16LeBytes(std::string(kTargetComment) + target + "\r\n");
        const std::size_t end = file.bytes.find(std::string("\r\0\n\0", 4));
        if (end != std::string::npos) file.bytes.insert(end + 4, std::string(line.begin(), line.end()));
        std::string part = target;  // what a file name cannot hold becomes "-"
        for (char& c : part) {
            if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) c = '-';
        }
        name += " (" + part + ")";
    }
    // Two applies within one second get distinct files.
    const WholeFilesWritten written = WriteNewFile(
        files, folder, [&](int n) { return n == 1 ? name + ".reg" : name + " (" + std::to_string(n) + ").reg"; },
        file.bytes);
    saved.error = written.error;
    saved.path = written.error == 0 ? written.replaced.front() : written.failed;
    saved.leftBehind = WhereTheDataIs(written);
    return saved;
}

bool App::WriteBackup(Services* target, const std::string& label) {
    lastBackup_.clear();
    backupLeftBehind_.clear();
    const BackupSaved saved = SaveBackup(target ? *target : services_, label);
    if (saved.error == 0) {
        lastBackup_ = saved.path;
        backupLeftBehind_ = saved.leftBehind;
        return true;
    }
    // The user is asked whether to go on without one.
    const int answer = services_.dialogs.MessageBox(
        BackupNotSaved(services_.files, saved, "\n") + "\n\nApply the changes without a backup?", "Backup Not Saved",
        mb::kYesNo | mb::kQuestion | mb::kDefaultButton2);
    return answer == mb::kAnswerYes;
}

std::string BackupNotSaved(FileSystem& files, const BackupSaved& saved, const char* separator) {
    const std::string text = "Vantrel could not save a backup of your current settings";
    if (saved.path.empty()) return text + ": your application-data folder is not known.";
    return text + " to \"" + saved.path + "\"." + separator + FileErrorReason(files, saved.error) +
           (saved.leftBehind.empty() ? "" : separator + saved.leftBehind);
}

}  // namespace vantrel
