#include "platform/portable/PortableHives.h"

#include "registry/KeyNames.h"
#include "registry/RegFile.h"

namespace vantrel {

namespace {
std::string KeyName(RegKey root, const std::string& name) { return std::string(RegRootName(root)) + "\\" + name; }

long Injected(const std::map<std::string, long>& fails, const std::string& key) {
    for (const auto& [name, code] : fails) {
        if (SameName(name, key)) return code;
    }
    return 0;
}
}  // namespace

PortableHives::PortableHives(MemoryRegistry& registry, PortableFileSystem& files)
    : variables{{"SYSTEMDRIVE", "C:"}, {"SYSTEMROOT", R"(C:\WINDOWS)"}}, registry_(registry), files_(files) {}

long PortableHives::EnableBackupAndRestore() {
    calls.push_back("privileges");
    return privileges;
}

long PortableHives::Load(RegKey root, const std::string& name, const std::string& file) {
    calls.push_back("load " + KeyName(root, name) + " <- " + file);
    if (const long code = Injected(loadFails, file)) return code;
    std::string bytes;
    if (const long status = files_.ReadAll(file, &bytes, false); status != 0) return status;
    const long status = registry_.MountHive(root, name, bytes);
    if (status == 0) loadedFrom_[FoldCase(KeyName(root, name))] = file;
    return status;
}

long PortableHives::Flush(RegKey root, const std::string& name) {
    const std::string key = KeyName(root, name);
    calls.push_back("flush " + key);
    if (const long code = Injected(flushFails, name)) return code;
    const auto it = loadedFrom_.find(FoldCase(key));
    if (it == loadedFrom_.end()) return reg::kFileNotFound;
    return files_.WriteAll(it->second, registry_.SaveHive(root, name));
}

long PortableHives::Unload(RegKey root, const std::string& name) {
    const std::string key = KeyName(root, name);
    calls.push_back("unload " + key);
    if (const long code = Injected(unloadFails, name)) return code;
    const long status = registry_.UnmountHive(root, name);
    if (status == 0) loadedFrom_.erase(FoldCase(key));
    return status;
}

void PortableHives::AddAccount(const std::string& domain, const std::string& name, const std::string& sid) {
    accounts_.push_back({domain, name, sid});
}

long PortableHives::AccountSid(const std::string& account, std::string* sid) {
    for (const Account& a : accounts_) {
        if (SameName(account, a.name) || SameName(account, a.domain + "\\" + a.name)) {
            *sid = a.sid;
            return 0;
        }
    }
    return 1332;  // ERROR_NONE_MAPPED
}

long PortableHives::AccountName(const std::string& sid, std::string* account) {
    for (const Account& a : accounts_) {
        if (SameName(sid, a.sid)) {
            *account = a.domain + "\\" + a.name;
            return 0;
        }
    }
    return 1332;
}

long PortableHives::DefaultProfileFolder(std::string* folder) {
    if (defaultProfileError != 0) return defaultProfileError;
    *folder = defaultProfile;
    return 0;
}

std::string PortableHives::Expand(const std::string& text) {
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find('%', at);
        const std::size_t close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos) break;
        out += text.substr(at, open - at);
        const auto it = variables.find(FoldCase(text.substr(open + 1, close - open - 1)));
        out += it != variables.end() ? it->second : text.substr(open, close - open + 1);
        at = close + 1;
    }
    return out + text.substr(at);
}

}  // namespace vantrel
