#include "platform/win32/Win32Files.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vantrel {

namespace {

long LastError() {
    DWORD code = GetLastError();
    return code ? static_cast<long>(code) : ERROR_GEN_FAILURE;
}

// Closes the handle when it goes out of scope.
class FileHandle {
public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() {
        if (valid()) CloseHandle(h_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    // Closes now and reports a failed close.
    long Close() {
        HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return CloseHandle(h) ? 0 : LastError();
    }

private:
    HANDLE h_;
};

bool IsFolder(const std::string& path) {
    DWORD bits = GetFileAttributesA(path.c_str());
    return bits != INVALID_FILE_ATTRIBUTES && (bits & FILE_ATTRIBUTE_DIRECTORY);
}

// Writes every byte through the handle, flushes and closes it.
long WriteAndClose(FileHandle& file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        if (!WriteFile(file.get(), bytes.data() + done, chunk, &wrote, nullptr)) return LastError();
        if (wrote == 0) return ERROR_WRITE_FAULT;
        done += wrote;
    }
    if (!FlushFileBuffers(file.get())) return LastError();
    return file.Close();
}

// Gives `to` the access list of `from`. ReplaceFile keeps the replaced file's
// own descriptor where the file system holds one; where it only renames (as
// Wine's does), the file that ends under the name still carries the list.
// Nothing to do on a volume without access lists, so failures are ignored.
void CopyAccessList(const std::string& from, const std::string& to) {
    DWORD size = 0;
    GetFileSecurityA(from.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    if (size == 0) return;
    std::vector<char> descriptor(size);
    if (!GetFileSecurityA(from.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size)) return;
    SetFileSecurityA(to.c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
}

}  // namespace

bool Win32FileSystem::Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

long Win32FileSystem::ReadAll(const std::string& path, std::string* bytes, bool createIfMissing) {
    // Reading opens hidden, system and read-only files alike and changes no attribute.
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                createIfMissing ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return LastError();
    DWORD high = 0;
    SetLastError(NO_ERROR);  // a size of 0xFFFFFFFF is told from a failure by the error code alone
    DWORD low = GetFileSize(file.get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return LastError();
    if (high != 0) return ERROR_NOT_ENOUGH_MEMORY;
    std::string content(low, '\0');
    DWORD done = 0;
    while (done < low) {
        DWORD got = 0;
        if (!ReadFile(file.get(), &content[done], low - done, &got, nullptr)) return LastError();
        if (got == 0) break;  // the file was cut meanwhile
        done += got;
    }
    content.resize(done);
    *bytes = std::move(content);
    return 0;
}

long Win32FileSystem::WriteAll(const std::string& path, const std::string& bytes) {
    FileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return LastError();
    return WriteAndClose(file, bytes);
}

long Win32FileSystem::CreateUnique(const std::string& folder, const std::string& prefix, const std::string& bytes,
                                   std::string* path) {
    std::string base = folder;
    if (!base.empty() && base.back() != '\\' && base.back() != '/') base += '\\';
    base += prefix;
    // Names start at a point that differs from process to process and from
    // moment to moment; a name that is taken is passed over.
    DWORD unique = (GetCurrentProcessId() << 16) ^ GetTickCount();
    for (int attempt = 0; attempt < 1000; ++attempt, ++unique) {
        // Eight hex digits, formatted here rather than by the window
        // library, which an unattended run never loads.
        std::string name = base;
        for (int shift = 28; shift >= 0; shift -= 4) name += "0123456789abcdef"[(unique >> shift) & 0xF];
        name += ".tmp";
        FileHandle file(
            CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            const long rc = LastError();
            if (rc == ERROR_FILE_EXISTS || rc == ERROR_ALREADY_EXISTS) continue;
            return rc;
        }
        *path = name;
        return WriteAndClose(file, bytes);
    }
    return ERROR_FILE_EXISTS;
}

long Win32FileSystem::Append(const std::string& path, const std::string& bytes) {
    FileHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return LastError();
    DWORD wrote = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr)) return LastError();
    if (wrote != bytes.size()) return ERROR_WRITE_FAULT;
    return file.Close();
}

long Win32FileSystem::GetAttributes(const std::string& path, std::uint32_t* attributes) {
    DWORD bits = GetFileAttributesA(path.c_str());
    if (bits == INVALID_FILE_ATTRIBUTES) return LastError();
    *attributes = bits;
    return 0;
}

long Win32FileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    DWORD bits = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
    return SetFileAttributesA(path.c_str(), bits) ? 0 : LastError();
}

long Win32FileSystem::Copy(const std::string& source, const std::string& target, bool failIfExists) {
    return CopyFileA(source.c_str(), target.c_str(), failIfExists) ? 0 : LastError();
}

long Win32FileSystem::Replace(const std::string& source, const std::string& target, const std::string& backup) {
    if (GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                   ? 0
                   : LastError();
    }
    // ReplaceFile keeps the target's security descriptor and owner, where a
    // move would give the name the source's. What each failure leaves where
    // is the caller's to sort out (ReplaceFile's return codes: 1175 both files
    // keep their names; 1176 the same when a backup name is given; 1177 the
    // old file is under the backup name and the new one keeps its own; any
    // other code, both keep their names. Microsoft Learn, "ReplaceFileA
    // function (winbase.h)", Return value).
    CopyAccessList(target, source);
    const char* keep = backup.empty() ? nullptr : backup.c_str();
    return ReplaceFileA(target.c_str(), source.c_str(), keep, 0, nullptr, nullptr) ? 0 : LastError();
}

long Win32FileSystem::Move(const std::string& source, const std::string& target) {
    // Without MOVEFILE_REPLACE_EXISTING the move does not take a name that
    // exists (Microsoft Learn, "MoveFile function": "The new name must not
    // already exist"; "MoveFileExA function", MOVEFILE_REPLACE_EXISTING).
    // Which code it then gives is not documented: callers take 80 and 183.
    return MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) ? 0 : LastError();
}

long Win32FileSystem::Delete(const std::string& path) {
    return DeleteFileA(path.c_str()) ? 0 : LastError();
}

long Win32FileSystem::CreateFolders(const std::string& path) {
    // Every prefix that ends at a separator, then the whole path; a drive
    // ("C:") or server part is skipped as CreateDirectory refuses it.
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '\\' && path[i] != '/') continue;
        std::string prefix = path.substr(0, i);
        if (prefix.empty() || prefix.back() == ':' || prefix.back() == '\\' || prefix.back() == '/') continue;
        if (IsFolder(prefix)) continue;
        if (!CreateDirectoryA(prefix.c_str(), nullptr)) {
            long rc = LastError();
            if (rc != ERROR_ALREADY_EXISTS || !IsFolder(prefix)) {
                // A UNC server or share name cannot be created: skip it.
                if (prefix.rfind("\\\\", 0) == 0 && std::count(prefix.begin() + 2, prefix.end(), '\\') < 2) continue;
                return rc;
            }
        }
    }
    return 0;
}

std::string Win32FileSystem::ErrorText(long code) {
    char* buffer = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    if (length == 0 || !buffer) return "Unknown error " + std::to_string(code) + ".";
    std::string text(buffer, length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

}  // namespace vantrel
