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

class Native : public FileSystem {
public:
    Native(FileSystem& inner, bool wow64) : inner_(inner), wow64_(wow64) {}

    bool Exists(const std::string& path) override {
        return Off([&] { return inner_.Exists(path); });
    }
    long ReadAll(const std::string& path, std::string* bytes, bool createIfMissing) override {
        return Off([&] { return inner_.ReadAll(path, bytes, createIfMissing); });
    }
    long WriteAll(const std::string& path, const std::string& bytes) override {
        return Off([&] { return inner_.WriteAll(path, bytes); });
    }
    long CreateUnique(const std::string& folder, const std::string& prefix, const std::string& bytes,
                      std::string* path) override {
        return Off([&] { return inner_.CreateUnique(folder, prefix, bytes, path); });
    }
    long Append(const std::string& path, const std::string& bytes) override {
        return Off([&] { return inner_.Append(path, bytes); });
    }
    long GetAttributes(const std::string& path, std::uint32_t* attributes) override {
        return Off([&] { return inner_.GetAttributes(path, attributes); });
    }
    long SetAttributes(const std::string& path, std::uint32_t attributes) override {
        return Off([&] { return inner_.SetAttributes(path, attributes); });
    }
    long Copy(const std::string& source, const std::string& target, bool failIfExists) override {
        return Off([&] { return inner_.Copy(source, target, failIfExists); });
    }
    long Replace(const std::string& source, const std::string& target, const std::string& backup) override {
        return Off([&] { return inner_.Replace(source, target, backup); });
    }
    long Move(const std::string& source, const std::string& target) override {
        return Off([&] { return inner_.Move(source, target); });
    }
    long Delete(const std::string& path) override {
        return Off([&] { return inner_.Delete(path); });
    }
    long CreateFolders(const std::string& path) override {
        return Off([&] { return inner_.CreateFolders(path); });
    }
    std::string ErrorText(long code) override { return inner_.ErrorText(code); }

private:
    // One call of the file system underneath, with the redirector off under WOW64.
    template <class Call>
    auto Off(Call call) -> decltype(call()) {
        if (!wow64_) return call();
        RedirectorOff off;
        return call();
    }

    FileSystem& inner_;
    bool wow64_;
};

}  // namespace

std::unique_ptr<FileSystem> NativeFileSystem(FileSystem& inner, bool wow64) {
    return std::make_unique<Native>(inner, wow64);
}


}  // namespace vantrel
