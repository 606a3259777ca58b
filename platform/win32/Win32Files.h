// Files through the ANSI Win32 file functions, as Windows XP offers them.
#pragma once

#include "platform/Platform.h"

namespace vantrel {

class Win32FileSystem : public FileSystem {
public:
    bool Exists(const std::string& path) override;
    long ReadAll(const std::string& path, std::string* bytes, bool createIfMissing) override;
    long WriteAll(const std::string& path, const std::string& bytes) override;
    long Append(const std::string& path, const std::string& bytes) override;
    long GetAttributes(const std::string& path, std::uint32_t* attributes) override;
    long SetAttributes(const std::string& path, std::uint32_t attributes) override;
    long Copy(const std::string& source, const std::string& target, bool failIfExists) override;
    long Replace(const std::string& source, const std::string& target) override;
    long Delete(const std::string& path) override;
    long CreateFolders(const std::string& path) override;
    std::string ErrorText(long code) override;
};

}  // namespace vantrel
