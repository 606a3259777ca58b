// A file store on a host folder that stands for drive C:. "C:\boot.ini" is
// <root>/boot.ini. Each path component is matched without regard to letter
// case, as Windows does; attribute bits (read-only, hidden, system, archive)
// live in a side table, since host files have none. Paths on another drive,
// relative paths and ".." that would leave the folder are refused, so nothing
// outside the folder is ever touched.
//
// The store behaves as the Win32 calls behind FileSystem do where it matters:
// a read-only file cannot be written, replaced or deleted (5); a hidden or
// system file cannot be recreated by a plain write (5); a copy carries its
// source's attributes; a replace moves the source with its own attributes.
//
// Failures can be injected per operation and path, to exercise the callers'
// recovery paths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vantrel {

class PortableFileSystem : public FileSystem {
public:
    // The folder must exist; it is drive C:.
    explicit PortableFileSystem(std::filesystem::path root);

    bool Exists(const std::string& path) override;
    long ReadAll(const std::string& path, std::string* bytes, bool createIfMissing) override;
    long WriteAll(const std::string& path, const std::string& bytes) override;
    // "<folder>\<prefix><8 hex digits>.tmp", counting up from 1 past names
    // that are taken; injected write failures apply to the new file.
    long CreateUnique(const std::string& folder, const std::string& prefix, const std::string& bytes,
                      std::string* path) override;
    long Append(const std::string& path, const std::string& bytes) override;
    long GetAttributes(const std::string& path, std::uint32_t* attributes) override;
    long SetAttributes(const std::string& path, std::uint32_t attributes) override;
    long Copy(const std::string& source, const std::string& target, bool failIfExists) override;
    // An injected 1177 first moves the target to the backup name, and an
    // injected 1176 without one removes the target, as ReplaceFile leaves
    // them; any other injected code moves nothing.
    long Replace(const std::string& source, const std::string& target, const std::string& backup = {}) override;
    // Claimed with a hard link, which fails when the name exists: no window
    // in which another writer could take it.
    long Move(const std::string& source, const std::string& target) override;
    long Delete(const std::string& path) override;
    long CreateFolders(const std::string& path) override;
    std::string ErrorText(long code) override;

    // The host file that a Windows path names (empty when the path is refused).
    std::filesystem::path HostPath(const std::string& path) const;
    const std::filesystem::path& root() const { return root_; }

    // Injected failures. A failure matches an operation of its kind that names
    // the path (either path of a copy or replace; "" matches every path) and
    // stays in force until ClearFailures.
    enum class Op { Read, Write, GetAttributes, SetAttributes, Copy, Replace, Move, Delete, CreateFolders };
    void FailOn(Op op, const std::string& path, long code);
    // Every operation naming the path fails with the code.
    void RefusePath(const std::string& path, long code = 5);
    // A write of the path stores the first `bytes` bytes and then fails with
    // the code (112, disk full, by default).
    void FailWriteAfter(const std::string& path, std::size_t bytes, long code = 112);
    void ClearFailures();

private:
    struct Resolved {
        long status = 0;
        std::filesystem::path host;  // the host path
        std::string key;             // lower-cased path below the root, '/'-separated
    };
    struct Failure {
        std::optional<Op> op;  // none: every operation
        std::string key;       // "" = any path
        long code;
        std::optional<std::size_t> afterBytes;
    };

    Resolved Resolve(const std::string& path) const;
    std::optional<long> Injected(Op op, const std::vector<const Resolved*>& paths) const;
    std::optional<std::size_t> WriteLimit(const Resolved& path, long* code) const;
    std::uint32_t Bits(const std::string& key) const;
    void SetBits(const std::string& key, std::uint32_t bits);
    long WriteHost(const Resolved& path, const std::string& bytes);
    // Renames a file that exists onto a name, its attribute bits with it.
    long Rename(const Resolved& from, const Resolved& to);

    std::filesystem::path root_;
    std::map<std::string, std::uint32_t> attributes_;  // by key; absent = no bits
    std::vector<Failure> failures_;
    unsigned long nextUnique_ = 1;
};

}  // namespace vantrel
