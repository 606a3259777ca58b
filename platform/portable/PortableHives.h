// Hive files and accounts over the portable platform: hive files are files
// of the portable file system (MemoryRegistry::SaveHive's form), loaded into
// the in-memory registry; accounts, the Default profile folder and the
// environment come from tables a test sets. Every call can be made to fail,
// and the calls made are recorded, so that a test sees the whole sequence.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Hives.h"
#include "platform/portable/MemoryRegistry.h"
#include "platform/portable/PortableFiles.h"

namespace vantrel {

class PortableHives : public Hives {
public:
    // An administrator whose token holds both privileges; no accounts; the
    // Default profile folder is "C:\Documents and Settings\Default User";
    // SystemDrive is C: and SystemRoot C:\WINDOWS.
    PortableHives(MemoryRegistry& registry, PortableFileSystem& files);

    bool RunsAsAdministrator() override { return administrator; }
    long EnableBackupAndRestore() override;
    // Reads the file and mounts it; 2 when the file is missing.
    long Load(RegKey root, const std::string& name, const std::string& file) override;
    // Writes the hive back to the file it was loaded from.
    long Flush(RegKey root, const std::string& name) override;
    long Unload(RegKey root, const std::string& name) override;
    long AccountSid(const std::string& account, std::string* sid) override;
    long AccountName(const std::string& sid, std::string* account) override;
    long DefaultProfileFolder(std::string* folder) override;
    // %NAME% for each name of `variables`, in any letter case.
    std::string Expand(const std::string& text) override;

    // Adds an account: NAME and DOMAIN\NAME both find it.
    void AddAccount(const std::string& domain, const std::string& name, const std::string& sid);

    bool administrator = true;
    long privileges = 0;           // what EnableBackupAndRestore gives
    long defaultProfileError = 0;  // GetDefaultUserProfileDirectory's failure (126 under Wine 8)
    std::string defaultProfile = R"(C:\Documents and Settings\Default User)";
    std::map<std::string, std::string> variables;  // upper-cased name -> value
    // Injected failures, by file (Load) or by key name (Flush, Unload).
    std::map<std::string, long> loadFails, flushFails, unloadFails;
    // Every call, in order: "load HKEY_USERS\name <- file", "flush ...", "unload ...", "privileges".
    std::vector<std::string> calls;

private:
    struct Account {
        std::string domain, name, sid;
    };
    MemoryRegistry& registry_;
    PortableFileSystem& files_;
    std::vector<Account> accounts_;
    std::map<std::string, std::string> loadedFrom_;  // "HKEY_USERS\name" -> file
};

}  // namespace vantrel
