// The backup an apply takes before it writes anything: the current stored
// value of every value the apply is about to write, as a .reg file that
// restores them when imported (values that are absent now become deletions).
#include <algorithm>
#include <cctype>
#include <cstdio>

#include "app/App.h"
#include "registry/RegFile.h"
#include "settings/TweakRow.h"
#include "tools/Tools.h"

namespace vantrel {

namespace {

std::string Folded(const std::string& s) {
    std::string f = s;
    std::transform(f.begin(), f.end(), f.begin(), [](unsigned char c) { return std::toupper(c); });
    return f;
}

std::string WithoutTrailingBackslash(std::string path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

// The value as stored now, or a deletion when it is absent or unreadable.
RegValueEntry CurrentValue(Registry& reg, RegKey root, const std::string& path, const std::string& name) {
    RegKey key = 0;
    if (reg.OpenKey(root, path, &key) != reg::kSuccess) return RegRemovedValue(name);
    RegValueEntry entry = RegRemovedValue(name);
    std::uint32_t type = 0, size = 0;
    if (reg.QueryValue(key, name, &type, nullptr, &size) == reg::kSuccess) {
        std::vector<std::uint8_t> data(size);
        if (size == 0 || reg.QueryValue(key, name, &type, data.data(), &size) == reg::kSuccess) {
            data.resize(size);
            entry.remove = false;
            entry.type = type;
            entry.data = std::move(data);
        }
    }
    reg.CloseKey(key);
    return entry;
}

}  // namespace

std::vector<RegKeyBlock> BackupBlocks(Registry& reg) {
    std::vector<RegKeyBlock> blocks;
    for (const ValueRef& v : ApplyTargets()) {
        const std::string path = WithoutTrailingBackslash(v.key);
        auto it = std::find_if(blocks.begin(), blocks.end(), [&](const RegKeyBlock& b) {
            return b.root == v.root && Folded(b.path) == Folded(path);
        });
        if (it == blocks.end()) {
            blocks.push_back(RegKeyBlock{v.root, path, false, {}});
            it = blocks.end() - 1;
        }
        it->values.push_back(CurrentValue(reg, v.root, path, v.value));
    }
    return blocks;
}

long SaveBackup(Services& services, std::string* where) {
    FileSystem& files = services.files;
    const std::string appData = services.environment.AppDataFolder();
    // Without a known application-data folder there is nowhere proper to
    // keep it (never the root of a drive), and no path to name.
    constexpr long kPathNotFound = 3;
    where->clear();
    if (appData.empty()) return kPathNotFound;
    const std::string folder = appData + "\\Vantrel\\Backups";
    const std::tm now = services.environment.Now();
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "Settings %04d-%02d-%02d %02d-%02d-%02d", now.tm_year + 1900, now.tm_mon + 1,
                  now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec);

    *where = folder;
    long error = files.CreateFolders(folder);
    if (error != 0) return error;
    // Two applies within one second get distinct files.
    std::string path = folder + "\\" + stamp + ".reg";
    for (int n = 2; files.Exists(path); ++n) path = folder + "\\" + stamp + " (" + std::to_string(n) + ").reg";
    *where = path;
    return files.WriteAll(path, WriteRegFile(BackupBlocks(services.registry), RegFormat::Regedit4));
}

bool App::WriteBackup() {
    lastBackup_.clear();
    std::string where;
    const long error = SaveBackup(services_, &where);
    if (error == 0) {
        lastBackup_ = where;
        return true;
    }
    // The user is asked whether to go on without one.
    const int answer = services_.dialogs.MessageBox(
        BackupNotSaved(services_.files, where, error, "\n") + "\n\nApply the changes without a backup?",
        "Backup Not Saved", mb::kYesNo | mb::kQuestion | mb::kDefaultButton2);
    return answer == mb::kAnswerYes;
}

std::string BackupNotSaved(FileSystem& files, const std::string& where, long error, const char* separator) {
    const std::string text = "Vantrel could not save a backup of your current settings";
    if (where.empty()) return text + ": your application-data folder is not known.";
    return text + " to \"" + where + "\"." + separator + FileErrorReason(files, error);
}

}  // namespace vantrel
