#include "platform/portable/PortableFiles.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

namespace vantrel {

namespace fs = std::filesystem;

namespace {

// Win32 error codes the store reports.
constexpr long kFileNotFound = 2;
constexpr long kPathNotFound = 3;
constexpr long kAccessDenied = 5;
constexpr long kWriteFault = 29;
constexpr long kReadFault = 30;
constexpr long kFileExists = 80;
constexpr long kInvalidName = 123;
constexpr long kBadPathname = 161;
constexpr long kAlreadyExists = 183;
constexpr long kUnableToMoveReplacement = 1176;
constexpr long kUnableToMoveReplacement2 = 1177;

constexpr std::uint32_t kStoredBits =
    fileattr::kReadOnly | fileattr::kHidden | fileattr::kSystem | fileattr::kArchive;

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && Lower(a) == Lower(b);
}

// Windows drops trailing dots and blanks from a name ("boot.ini." is "boot.ini").
std::string TrimName(std::string name) {
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    return name;
}

bool ValidName(const std::string& name) {
    return std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 32 || std::string_view("<>:\"|?*").find(c) != std::string_view::npos;
    });
}

long FromErrno(const std::error_code& ec, long fallback) {
    if (ec == std::errc::no_such_file_or_directory) return kFileNotFound;
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted) return kAccessDenied;
    if (ec == std::errc::no_space_on_device) return 112;
    return fallback;
}

bool IsDir(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(fs::symlink_status(p, ec));
}

bool IsThere(const fs::path& p) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(p, ec));
}

}  // namespace

PortableFileSystem::PortableFileSystem(fs::path root) : root_(std::move(root)) {}

PortableFileSystem::Resolved PortableFileSystem::Resolve(const std::string& path) const {
    Resolved r;
    // Only absolute paths on drive C: ("C:\..." or "C:/...").
    if (path.size() < 2 || std::toupper(static_cast<unsigned char>(path[0])) != 'C' || path[1] != ':') {
        r.status = kPathNotFound;
        return r;
    }
    if (path.size() > 2 && path[2] != '\\' && path[2] != '/') {
        r.status = kBadPathname;
        return r;
    }
    std::vector<std::string> parts;
    std::size_t start = 2;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("\\/", start);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (parts.empty()) {
                r.status = kBadPathname;  // would leave the folder
                return r;
            }
            parts.pop_back();
            continue;
        }
        part = TrimName(part);
        if (part.empty() || !ValidName(part)) {
            r.status = kInvalidName;
            return r;
        }
        parts.push_back(part);
    }

    r.host = root_;
    for (const std::string& part : parts) {
        std::string actual = part;
        if (IsDir(r.host)) {
            std::error_code ec;
            bool exact = IsThere(r.host / part);
            if (!exact) {
                for (const auto& entry : fs::directory_iterator(r.host, ec)) {
                    std::string name = entry.path().filename().string();
                    if (SameIgnoringCase(name, part)) {
                        actual = name;
                        break;
                    }
                }
            }
        }
        r.host /= actual;
        // A link could lead out of the folder: never follow one.
        std::error_code ec;
        if (fs::is_symlink(fs::symlink_status(r.host, ec))) {
            r.status = kAccessDenied;
            return r;
        }
        if (!r.key.empty()) r.key += '/';
        r.key += Lower(part);
    }
    return r;
}

fs::path PortableFileSystem::HostPath(const std::string& path) const {
    Resolved r = Resolve(path);
    return r.status ? fs::path() : r.host;
}

void PortableFileSystem::FailOn(Op op, const std::string& path, long code) {
    failures_.push_back({op, path.empty() ? std::string() : Resolve(path).key, code, std::nullopt});
}

void PortableFileSystem::RefusePath(const std::string& path, long code) {
    failures_.push_back({std::nullopt, Resolve(path).key, code, std::nullopt});
}

void PortableFileSystem::FailWriteAfter(const std::string& path, std::size_t bytes, long code) {
    failures_.push_back({Op::Write, path.empty() ? std::string() : Resolve(path).key, code, bytes});
}

void PortableFileSystem::ClearFailures() { failures_.clear(); }

std::optional<long> PortableFileSystem::Injected(Op op, const std::vector<const Resolved*>& paths) const {
    for (const Failure& f : failures_) {
        if (f.afterBytes || (f.op && *f.op != op)) continue;
        if (f.key.empty() && f.op) return f.code;
        for (const Resolved* p : paths) {
            if (p->key == f.key) return f.code;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> PortableFileSystem::WriteLimit(const Resolved& path, long* code) const {
    for (const Failure& f : failures_) {
        if (f.afterBytes && (f.key.empty() || f.key == path.key)) {
            *code = f.code;
            return f.afterBytes;
        }
    }
    return std::nullopt;
}

std::uint32_t PortableFileSystem::Bits(const std::string& key) const {
    auto it = attributes_.find(key);
    return it == attributes_.end() ? 0 : it->second;
}

void PortableFileSystem::SetBits(const std::string& key, std::uint32_t bits) {
    bits &= kStoredBits;
    if (bits) {
        attributes_[key] = bits;
    } else {
        attributes_.erase(key);
    }
}

long PortableFileSystem::WriteHost(const Resolved& path, const std::string& bytes) {
    long failCode = 0;
    std::optional<std::size_t> limit = WriteLimit(path, &failCode);
    std::size_t count = limit ? std::min(*limit, bytes.size()) : bytes.size();
    {
        std::ofstream out(path.host, std::ios::binary | std::ios::trunc);
        if (!out) return kAccessDenied;
        out.write(bytes.data(), static_cast<std::streamsize>(count));
        out.close();
        if (!out) return kWriteFault;
    }
    // A file that was created or rewritten carries the archive bit only.
    SetBits(path.key, fileattr::kArchive);
    return limit ? failCode : 0;
}

bool PortableFileSystem::Exists(const std::string& path) {
    Resolved r = Resolve(path);
    return r.status == 0 && !Injected(Op::GetAttributes, {&r}) && IsThere(r.host);
}

long PortableFileSystem::ReadAll(const std::string& path, std::string* bytes, bool createIfMissing) {
    Resolved r = Resolve(path);
    if (r.status) return r.status;
    if (auto code = Injected(Op::Read, {&r})) return *code;
    if (!IsThere(r.host)) {
        if (!IsDir(r.host.parent_path())) return kPathNotFound;
        if (!createIfMissing) return kFileNotFound;
        if (long rc = WriteHost(r, std::string())) return rc;
        bytes->clear();
        return 0;
    }
    if (IsDir(r.host)) return kAccessDenied;
    std::ifstream in(r.host, std::ios::binary);
    if (!in) return kAccessDenied;
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return kReadFault;
    *bytes = std::move(content);
    return 0;
}

long PortableFileSystem::WriteAll(const std::string& path, const std::string& bytes) {
    Resolved r = Resolve(path);
    if (r.status) return r.status;
    if (auto code = Injected(Op::Write, {&r})) return *code;
    if (IsThere(r.host)) {
        // CREATE_ALWAYS refuses a read-only, hidden or system file.
        constexpr std::uint32_t kProtected = fileattr::kReadOnly | fileattr::kHidden | fileattr::kSystem;
        if (IsDir(r.host) || (Bits(r.key) & kProtected)) return kAccessDenied;
    } else if (!IsDir(r.host.parent_path())) {
        return kPathNotFound;
    }
    return WriteHost(r, bytes);
}

long PortableFileSystem::CreateUnique(const std::string& folder, const std::string& prefix, const std::string& bytes,
                                      std::string* path) {
    std::string base = folder;
    if (!base.empty() && base.back() != '\\' && base.back() != '/') base += '\\';
    base += prefix;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        char part[16];
        std::snprintf(part, sizeof part, "%08lx.tmp", nextUnique_++);
        Resolved r = Resolve(base + part);
        if (r.status) return r.status;
        if (IsThere(r.host)) continue;  // taken: never opened
        if (!IsDir(r.host.parent_path())) return kPathNotFound;
        if (auto code = Injected(Op::Write, {&r})) return *code;
        *path = base + part;
        return WriteHost(r, bytes);
    }
    return kFileExists;
}

long PortableFileSystem::Append(const std::string& path, const std::string& bytes) {
    Resolved r = Resolve(path);
    if (r.status) return r.status;
    if (auto code = Injected(Op::Write, {&r})) return *code;
    if (IsThere(r.host)) {
        if (IsDir(r.host) || (Bits(r.key) & fileattr::kReadOnly)) return kAccessDenied;
    } else if (!IsDir(r.host.parent_path())) {
        return kPathNotFound;
    }
    std::ofstream out(r.host, std::ios::binary | std::ios::app);
    if (!out) return kAccessDenied;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) return kWriteFault;
    SetBits(r.key, Bits(r.key) | fileattr::kArchive);
    return 0;
}

long PortableFileSystem::GetAttributes(const std::string& path, std::uint32_t* attributes) {
    Resolved r = Resolve(path);
    if (r.status) return r.status;
    if (auto code = Injected(Op::GetAttributes, {&r})) return *code;
    if (!IsThere(r.host)) return IsDir(r.host.parent_path()) ? kFileNotFound : kPathNotFound;
    std::uint32_t bits = Bits(r.key);
    if (IsDir(r.host)) bits |= fileattr::kDirectory;
    *attributes = bits ? bits : fileattr::kNormal;
    return 0;
}

long PortableFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    Resolved r = Resolve(path);
    if (r.status) return r.status;
    if (auto code = Injected(Op::SetAttributes, {&r})) return *code;
    if (!IsThere(r.host)) return IsDir(r.host.parent_path()) ? kFileNotFound : kPathNotFound;
    SetBits(r.key, attributes);
    return 0;
}

long PortableFileSystem::Copy(const std::string& source, const std::string& target, bool failIfExists) {
    Resolved from = Resolve(source);
    if (from.status) return from.status;
    Resolved to = Resolve(target);
    if (to.status) return to.status;
    if (auto code = Injected(Op::Copy, {&from, &to})) return *code;
    if (!IsThere(from.host)) return IsDir(from.host.parent_path()) ? kFileNotFound : kPathNotFound;
    if (IsDir(from.host)) return kAccessDenied;
    if (IsThere(to.host)) {
        if (failIfExists) return kFileExists;
        // CopyFile refuses a read-only or hidden target.
        if (IsDir(to.host) || (Bits(to.key) & (fileattr::kReadOnly | fileattr::kHidden))) return kAccessDenied;
    } else if (!IsDir(to.host.parent_path())) {
        return kPathNotFound;
    }
    if (from.key == to.key) return 32;  // the source is open for reading
    std::ifstream in(from.host, std::ios::binary);
    if (!in) return kAccessDenied;
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::uint32_t bits = Bits(from.key);
    if (long rc = WriteHost(to, content)) return rc;
    SetBits(to.key, bits);
    return 0;
}

long PortableFileSystem::Rename(const Resolved& from, const Resolved& to) {
    std::error_code ec;
    fs::rename(from.host, to.host, ec);
    if (ec) return FromErrno(ec, kAccessDenied);
    std::uint32_t bits = Bits(from.key);
    attributes_.erase(from.key);
    SetBits(to.key, bits);
    return 0;
}

long PortableFileSystem::Replace(const std::string& source, const std::string& target, const std::string& backup) {
    Resolved from = Resolve(source);
    if (from.status) return from.status;
    Resolved to = Resolve(target);
    if (to.status) return to.status;
    Resolved old = backup.empty() ? Resolved{} : Resolve(backup);
    if (old.status) return old.status;
    if (auto code = Injected(Op::Replace, {&from, &to})) {
        if (IsThere(to.host) && *code == kUnableToMoveReplacement2 && !backup.empty()) Rename(to, old);
        if (IsThere(to.host) && *code == kUnableToMoveReplacement && backup.empty()) {
            std::error_code ec;
            fs::remove(to.host, ec);
            attributes_.erase(to.key);
        }
        return *code;
    }
    if (!IsThere(from.host)) return IsDir(from.host.parent_path()) ? kFileNotFound : kPathNotFound;
    if (IsDir(from.host)) return kAccessDenied;
    if (from.key == to.key) return 0;
    if (IsThere(to.host)) {
        if (IsDir(to.host) || (Bits(to.key) & fileattr::kReadOnly)) return kAccessDenied;
        if (!backup.empty()) {
            if (IsThere(old.host)) return kAlreadyExists;
            if (long rc = Rename(to, old)) return rc;
        }
    } else if (!IsDir(to.host.parent_path())) {
        return kPathNotFound;
    }
    return Rename(from, to);
}

long PortableFileSystem::Move(const std::string& source, const std::string& target) {
    Resolved from = Resolve(source);
    if (from.status) return from.status;
    Resolved to = Resolve(target);
    if (to.status) return to.status;
    if (auto code = Injected(Op::Move, {&from, &to})) return *code;
    if (!IsThere(from.host)) return IsDir(from.host.parent_path()) ? kFileNotFound : kPathNotFound;
    if (IsDir(from.host)) return kAccessDenied;
    if (!IsDir(to.host.parent_path())) return kPathNotFound;
    // The link fails when the name exists: the claim and the check are one step.
    std::error_code ec;
    fs::create_hard_link(from.host, to.host, ec);
    if (ec == std::errc::file_exists) return kAlreadyExists;
    if (ec) return FromErrno(ec, kAccessDenied);
    fs::remove(from.host, ec);
    std::uint32_t bits = Bits(from.key);
    attributes_.erase(from.key);
    SetBits(to.key, bits);
    return 0;
}

long PortableFileSystem::Delete(const std::string& path) {
    Resolved r = Resolve(path);
    if (r.status) return r.status;
    if (auto code = Injected(Op::Delete, {&r})) return *code;
    if (!IsThere(r.host)) return IsDir(r.host.parent_path()) ? kFileNotFound : kPathNotFound;
    if (IsDir(r.host) || (Bits(r.key) & fileattr::kReadOnly)) return kAccessDenied;
    std::error_code ec;
    fs::remove(r.host, ec);
    if (ec) return FromErrno(ec, kAccessDenied);
    attributes_.erase(r.key);
    return 0;
}

long PortableFileSystem::CreateFolders(const std::string& path) {
    Resolved r = Resolve(path);
    if (r.status) return r.status;
    if (auto code = Injected(Op::CreateFolders, {&r})) return *code;
    fs::path walk = root_;
    for (const fs::path& part : fs::relative(r.host, root_)) {
        if (part == ".") continue;
        walk /= part;
        if (IsThere(walk) && !IsDir(walk)) return kAlreadyExists;
    }
    std::error_code ec;
    fs::create_directories(r.host, ec);
    return ec ? FromErrno(ec, kAccessDenied) : 0;
}

std::string PortableFileSystem::ErrorText(long code) {
    static const std::map<long, const char*> kTexts = {
        {2, "The system cannot find the file specified."},
        {3, "The system cannot find the path specified."},
        {5, "Access is denied."},
        {6, "The handle is invalid."},
        {29, "The system cannot write to the specified device."},
        {30, "The system cannot read from the specified device."},
        {32, "The process cannot access the file because it is being used by another process."},
        {80, "The file exists."},
        {87, "The parameter is incorrect."},
        {112, "There is not enough space on the disk."},
        {123, "The filename, directory name, or volume label syntax is incorrect."},
        {161, "The specified path is invalid."},
        {183, "Cannot create a file when that file already exists."},
        // 1175 to 1177: Microsoft Learn, "System Error Codes (1000-1299)".
        {1175, "Unable to remove the file to be replaced."},
        {1176, "Unable to move the replacement file to the file to be replaced. The file to be replaced has retained its original name."},
        {1177, "Unable to move the replacement file to the file to be replaced. The file to be replaced has been renamed using the backup name."},
    };
    auto it = kTexts.find(code);
    return it != kTexts.end() ? it->second : "Unknown error " + std::to_string(code) + ".";
}

}  // namespace vantrel
