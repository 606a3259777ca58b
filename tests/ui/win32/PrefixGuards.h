// Guards that put the test prefix back as a test found it: registry values
// and the keys a run created, the backup files an apply leaves, and the
// access list of a key made to refuse writes.
#pragma once

#include "platform/win32/WindowsApi.h"

#include <sddl.h>
#include <shlobj.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/Win32Registry.h"
#include "settings/TweakRow.h"
#include "ui/win32/RegistrySnapshot.h"

namespace vantrel::test {

inline std::string Folded(std::string s) {
    if (!s.empty() && s.back() == '\\') s.pop_back();
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Puts every named value back as it was and removes the keys that did not
// exist before, whatever way the test ends.
class RegistryGuard {
public:
    RegistryGuard(Win32Registry& reg, const std::vector<ValueRef>& values) : reg_(reg) {
        std::vector<ValueRef> unique;
        std::set<std::string> seen;
        for (ValueRef v : values) {
            if (!v.key.empty() && v.key.back() == '\\') v.key.pop_back();
            if (seen.insert(std::to_string(v.root) + "|" + Folded(v.key) + "|" + Folded(v.value)).second) {
                NoteMissingKey(v.root, v.key);
                unique.push_back(v);
            }
        }
        snapshot_.Take(reg_, unique);
    }
    ~RegistryGuard() {
        snapshot_.Restore(reg_);
        for (const auto& [root, path] : created_) reg_.DeleteKeyTree(root, path);
    }
    RegistryGuard(const RegistryGuard&) = delete;
    RegistryGuard& operator=(const RegistryGuard&) = delete;

private:
    // The uppermost key of the path that is not there yet: everything below it is the run's.
    void NoteMissingKey(RegKey root, const std::string& path) {
        for (std::size_t end = 0; end != std::string::npos;) {
            end = path.find('\\', end + 1);
            const std::string prefix = path.substr(0, end);
            RegKey key = 0;
            if (reg_.OpenKey(root, prefix, &key) == reg::kSuccess) {
                reg_.CloseKey(key);
                continue;
            }
            const auto entry = std::make_pair(root, prefix);
            if (std::find(created_.begin(), created_.end(), entry) == created_.end()) created_.push_back(entry);
            return;
        }
    }

    Win32Registry& reg_;
    RegistrySnapshot snapshot_;
    std::vector<std::pair<RegKey, std::string>> created_;
};

inline std::string AppDataFolder() {
    char path[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return {};
    return path;
}

inline bool FolderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline std::set<std::string> RegFilesIn(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.reg").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        names.insert(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// Remembers the backup files that were there; removes the ones that came
// later and the folders the run created.
class BackupFolderGuard {
public:
    explicit BackupFolderGuard(std::string appData)
        : vantrel_(appData + "\\Vantrel"), backups_(vantrel_ + "\\Backups"), hadVantrel_(FolderExists(vantrel_)),
          hadBackups_(FolderExists(backups_)), before_(RegFilesIn(backups_)) {}
    ~BackupFolderGuard() {
        for (const std::string& name : NewFiles()) DeleteFileA((backups_ + "\\" + name).c_str());
        if (!hadBackups_) RemoveDirectoryA(backups_.c_str());
        if (!hadVantrel_) RemoveDirectoryA(vantrel_.c_str());
    }
    BackupFolderGuard(const BackupFolderGuard&) = delete;
    BackupFolderGuard& operator=(const BackupFolderGuard&) = delete;

    const std::string& folder() const { return backups_; }
    std::vector<std::string> NewFiles() const {
        std::vector<std::string> added;
        for (const std::string& name : RegFilesIn(backups_))
            if (!before_.count(name)) added.push_back(name);
        return added;
    }

private:
    std::string vantrel_, backups_;
    bool hadVantrel_, hadBackups_;
    std::set<std::string> before_;
};

// Denies everyone setting values and making subkeys under a key, as a
// restricted user meets HKEY_LOCAL_MACHINE; the key's own access list comes
// back at the end.
class DenyValueWrites {
public:
    DenyValueWrites(HKEY root, const std::string& path) {
        if (RegOpenKeyExA(root, path.c_str(), 0, READ_CONTROL | WRITE_DAC, &key_) != ERROR_SUCCESS) return;
        DWORD size = 0;
        RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, nullptr, &size);
        original_.resize(size);
        if (RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, original_.data(), &size) != ERROR_SUCCESS) return;
        PSECURITY_DESCRIPTOR deny = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(D;;0x6;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1,
                                                                  &deny, nullptr))
            return;
        denied_ = RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, deny) == ERROR_SUCCESS;
        LocalFree(deny);
    }
    ~DenyValueWrites() {
        if (denied_) RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, original_.data());
        if (key_) RegCloseKey(key_);
    }
    DenyValueWrites(const DenyValueWrites&) = delete;
    DenyValueWrites& operator=(const DenyValueWrites&) = delete;
    bool denied() const { return denied_; }

private:
    HKEY key_ = nullptr;
    std::vector<char> original_;
    bool denied_ = false;
};

}  // namespace vantrel::test
