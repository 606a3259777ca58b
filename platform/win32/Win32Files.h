// Files through the ANSI Win32 file functions, as Windows XP offers them.
#pragma once

#include "platform/Platform.h"

namespace vantrel {

class Win32FileSystem : public FileSystem {
public:
    bool Exists(const std::string& path) override;
    long ReadAll(const std::string& path, std::string* bytes, bool createIfMissing) override;
    long WriteAll(const std::string& path, const std::string& bytes) override;
    // CREATE_NEW on "<folder>\<prefix><8 hex digits>.tmp", the digits moving on past names that are taken.
    long CreateUnique(const std::string& folder, const std::string& prefix, const std::string& bytes,
                      std::string* path) override;
    long Append(const std::string& path, const std::string& bytes) override;
    long GetAttributes(const std::string& path, std::uint32_t* attributes) override;
    long SetAttributes(const std::string& path, std::uint32_t attributes) override;
    long Copy(const std::string& source, const std::string& target, bool failIfExists) override;
    // ReplaceFileA over an existing target, which keeps its descriptor and
    // owner; MoveFileExA where there is none.
    long Replace(const std::string& source, const std::string& target, const std::string& backup = {}) override;
    // MoveFileExA without MOVEFILE_REPLACE_EXISTING.
    long Move(const std::string& source, const std::string& target) override;
    long Delete(const std::string& path) override;
    long CreateFolders(const std::string& path) override;
    std::string ErrorText(long code) override;
};

}  // namespace vantrel
