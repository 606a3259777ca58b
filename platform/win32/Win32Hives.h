// Hive files and accounts through advapi32, and the Default profile folder
// through userenv, bound the first time it is asked for: an unattended run
// for the current user never loads it.
#pragma once

#include "platform/Hives.h"

namespace vantrel {

class Win32Hives : public Hives {
public:
    bool RunsAsAdministrator() override;
    long EnableBackupAndRestore() override;
    long Load(RegKey root, const std::string& name, const std::string& file) override;
    long Flush(RegKey root, const std::string& name) override;
    long Unload(RegKey root, const std::string& name) override;
    long AccountSid(const std::string& account, std::string* sid) override;
    long AccountName(const std::string& sid, std::string* account) override;
    long DefaultProfileFolder(std::string* folder) override;
    std::string Expand(const std::string& text) override;
};

}  // namespace vantrel
