// Files as 64-bit Windows holds them. Under WOW64 the file system redirector
// sends a 32-bit program's use of %windir%\System32 to %windir%\SysWOW64
// ("File System Redirector", learn.microsoft.com/windows/win32/winprog64/
// file-system-redirector), so the boot and logon screen programs the screen
// tool backs up and replaces would be the 32-bit copies that Windows never
// starts. This layer turns the redirector off for the calling thread around
// each single file call (Wow64DisableWow64FsRedirection, then
// Wow64RevertWow64FsRedirection), as that page advises: off for longer, the
// program could not load system libraries. The Sysnative alias would need no
// such care, but Windows XP x64 and Server 2003 lack it (same page).
// Elsewhere, and where the functions are missing, every call passes through.
#pragma once

#include "platform/Platform.h"

namespace vantrel {

class NativeFileSystem : public FileSystem {
public:
    NativeFileSystem(FileSystem& inner, bool wow64) : inner_(inner), wow64_(wow64) {}

    bool Exists(const std::string& path) override;
    long ReadAll(const std::string& path, std::string* bytes, bool createIfMissing) override;
    long WriteAll(const std::string& path, const std::string& bytes) override;
    long CreateUnique(const std::string& folder, const std::string& prefix, const std::string& bytes,
                      std::string* path) override;
    long Append(const std::string& path, const std::string& bytes) override;
    long GetAttributes(const std::string& path, std::uint32_t* attributes) override;
    long SetAttributes(const std::string& path, std::uint32_t attributes) override;
    long Copy(const std::string& source, const std::string& target, bool failIfExists) override;
    long Replace(const std::string& source, const std::string& target) override;
    long Delete(const std::string& path) override;
    long CreateFolders(const std::string& path) override;
    std::string ErrorText(long code) override { return inner_.ErrorText(code); }

private:
    // Runs one call of the file system underneath with the redirector off.
    template <class Call>
    auto Native(Call call);

    FileSystem& inner_;
    bool wow64_;
};

}  // namespace vantrel
