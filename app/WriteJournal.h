// A record of the writes made through the program's registry and file
// system: every value set or deleted and every file or folder changed, in
// order. When a handler fails half way, its message can then say which
// writes it had already made; an unattended run tells by it whether an
// apply wrote anything at all.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "platform/ForwardingFileSystem.h"
#include "platform/Platform.h"
#include "registry/ForwardingRegistry.h"
#include "registry/KeyPaths.h"

namespace vantrel {

class WriteJournal {
public:
    WriteJournal(Registry& registry, FileSystem& files);
    WriteJournal(const WriteJournal&) = delete;
    WriteJournal& operator=(const WriteJournal&) = delete;

    // The registry and the file system to write through.
    Registry& registry() { return registry_; }
    FileSystem& files() { return files_; }

    // Forgets what was written so far (each handler starts afresh).
    void Clear() {
        writes_.clear();
        values_ = 0;
    }
    // What was written, one line each, in the system's code page:
    // "HKCU\Control Panel\Mouse : MouseTrails (set)", "\"C:\boot.ini\" (written)".
    const std::vector<std::string>& writes() const { return writes_; }
    // How many registry values were set or deleted.
    std::size_t values() const { return values_; }

private:
    class Values : public KeyPlacesRegistry {
    public:
        Values(Registry& inner, WriteJournal& journal) : KeyPlacesRegistry(inner), journal_(journal) {}
        long SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                      std::uint32_t size) override;
        long DeleteValue(RegKey key, const std::string& name) override;
        long SetValueW(RegKey key, const std::u16string& name, std::uint32_t type, const std::uint8_t* data,
                       std::uint32_t size) override;
        long DeleteValueW(RegKey key, const std::u16string& name) override;

    private:
        long Wrote(long status, RegKey key, const std::string& name, const char* what);
        WriteJournal& journal_;
    };

    class Files : public ForwardingFileSystem {
    public:
        Files(FileSystem& inner, WriteJournal& journal) : ForwardingFileSystem(inner), journal_(journal) {}
        long ReadAll(const std::string& path, std::string* bytes, bool createIfMissing) override;
        long WriteAll(const std::string& path, const std::string& bytes) override;
        long CreateUnique(const std::string& folder, const std::string& prefix, const std::string& bytes,
                          std::string* path) override;
        long Append(const std::string& path, const std::string& bytes) override;
        long SetAttributes(const std::string& path, std::uint32_t attributes) override;
        long Copy(const std::string& source, const std::string& target, bool failIfExists) override;
        long Replace(const std::string& source, const std::string& target, const std::string& backup = {}) override;
        long Move(const std::string& source, const std::string& target) override;
        long Delete(const std::string& path) override;
        long CreateFolders(const std::string& path) override;

    private:
        long Wrote(long status, const std::string& path, const char* what);
        // Drops the record of a file written earlier: true when there was one.
        bool Forget(const std::string& path);
        WriteJournal& journal_;
    };

    Values registry_;
    Files files_;
    std::vector<std::string> writes_;
    std::size_t values_ = 0;
};

}  // namespace vantrel
