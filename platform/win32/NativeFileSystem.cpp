#include "platform/win32/NativeFileSystem.h"

#include <windows.h>

#include "platform/win32/SystemFunction.h"

namespace vantrel {

namespace {

// The redirector off for the calling thread while this lives ("Wow64Disable-
// Wow64FsRedirection": each successful call needs its matching revert;
// Windows XP x64, Server 2003 SP1 and later, learn.microsoft.com/windows/
// win32/api/wow64apiset).
class RedirectorOff {
public:
    RedirectorOff() {
        using Disable = BOOL(WINAPI*)(PVOID*);
        static const auto disable = SystemFunction<Disable>("kernel32.dll", "Wow64DisableWow64FsRedirection");
        off_ = disable && disable(&old_);
    }
    ~RedirectorOff() {
        using Revert = BOOL(WINAPI*)(PVOID);
        static const auto revert = SystemFunction<Revert>("kernel32.dll", "Wow64RevertWow64FsRedirection");
        if (off_ && revert) revert(old_);
    }
    RedirectorOff(const RedirectorOff&) = delete;
    RedirectorOff& operator=(const RedirectorOff&) = delete;

private:
    PVOID old_ = nullptr;
    bool off_ = false;
};

}  // namespace

template <class Call>
auto NativeFileSystem::Native(Call call) {
    if (!wow64_) return call(inner_);
    RedirectorOff off;
    return call(inner_);
}

bool NativeFileSystem::Exists(const std::string& path) {
    return Native([&](FileSystem& files) { return files.Exists(path); });
}

long NativeFileSystem::ReadAll(const std::string& path, std::string* bytes, bool createIfMissing) {
    return Native([&](FileSystem& files) { return files.ReadAll(path, bytes, createIfMissing); });
}

long NativeFileSystem::WriteAll(const std::string& path, const std::string& bytes) {
    return Native([&](FileSystem& files) { return files.WriteAll(path, bytes); });
}

long NativeFileSystem::CreateUnique(const std::string& folder, const std::string& prefix, const std::string& bytes,
                                    std::string* path) {
    return Native([&](FileSystem& files) { return files.CreateUnique(folder, prefix, bytes, path); });
}

long NativeFileSystem::Append(const std::string& path, const std::string& bytes) {
    return Native([&](FileSystem& files) { return files.Append(path, bytes); });
}

long NativeFileSystem::GetAttributes(const std::string& path, std::uint32_t* attributes) {
    return Native([&](FileSystem& files) { return files.GetAttributes(path, attributes); });
}

long NativeFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    return Native([&](FileSystem& files) { return files.SetAttributes(path, attributes); });
}

long NativeFileSystem::Copy(const std::string& source, const std::string& target, bool failIfExists) {
    return Native([&](FileSystem& files) { return files.Copy(source, target, failIfExists); });
}

long NativeFileSystem::Replace(const std::string& source, const std::string& target) {
    return Native([&](FileSystem& files) { return files.Replace(source, target); });
}

long NativeFileSystem::Delete(const std::string& path) {
    return Native([&](FileSystem& files) { return files.Delete(path); });
}

long NativeFileSystem::CreateFolders(const std::string& path) {
    return Native([&](FileSystem& files) { return files.CreateFolders(path); });
}

}  // namespace vantrel
