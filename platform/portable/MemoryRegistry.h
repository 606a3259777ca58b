// An in-memory registry with the behaviour of the advapi32 functions Vantrel
// uses: names compare without regard to ASCII case, one trailing backslash
// names the same key, CreateKey creates every missing key above, values
// enumerate in the order they were first set and subkeys in ascending order
// of their upper-cased names, and any type and bytes can be stored.
//
// Like Windows it holds names and string data in Unicode (string data as
// UTF-16LE) and converts them for the A functions through a code page:
// Windows-1252 unless another is given, which turns any bytes into UTF-16 and
// back unchanged.
//
// Handles are small integers counted from 1; the three roots
// (HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS) are always valid, in
// either view (reg::kView64, reg::kView32). The store can stand for 64-bit
// Windows as a 32-bit process sees it (SetWow64): there the process's own
// view and the 32-bit one find HKEY_LOCAL_MACHINE\SOFTWARE under
// SOFTWARE\Wow6432Node, as the registry redirector does; the seeding and
// checking functions below always name the keys where they are stored.
// A root can be made read-only, as HKEY_LOCAL_MACHINE is for a restricted
// user: creating keys (existing ones included, since RegCreateKeyA asks for
// full access) and setting or deleting values under it fail with 5, and
// MayWrite says so.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "registry/Registry.h"
#include "registry/RegFile.h"

namespace vantrel {

class MemoryRegistry : public Registry {
public:
    explicit MemoryRegistry(const CodePage& codePage = Windows1252());
    ~MemoryRegistry() override;
    MemoryRegistry(const MemoryRegistry&) = delete;
    MemoryRegistry& operator=(const MemoryRegistry&) = delete;

    long OpenKey(RegKey parent, const std::string& subKey, RegKey* out) override;
    long CreateKey(RegKey parent, const std::string& subKey, RegKey* out) override;
    long MayWrite(RegKey parent, const std::string& subKey) override;
    long QueryValue(RegKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override;
    long SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                  std::uint32_t size) override;
    long DeleteValue(RegKey key, const std::string& name) override;
    long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen) override;
    long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen, std::uint32_t* type,
                   std::uint8_t* data, std::uint32_t* dataLen) override;
    long CloseKey(RegKey key) override;
    long QueryValueW(RegKey key, const std::u16string& name, std::uint32_t* type, std::uint8_t* data,
                     std::uint32_t* size) override;
    long SetValueW(RegKey key, const std::u16string& name, std::uint32_t type, const std::uint8_t* data,
                   std::uint32_t size) override;
    long DeleteValueW(RegKey key, const std::u16string& name) override;
    long EnumValueW(RegKey key, std::uint32_t index, char16_t* name, std::uint32_t* nameLen, std::uint32_t* type,
                    std::uint8_t* data, std::uint32_t* dataLen) override;
    const CodePage& codePage() override { return codePage_; }

    // Makes a root refuse writes (see above) or accept them again.
    void SetReadOnly(RegKey root, bool readOnly);
    // Whether the store stands for 64-bit Windows seen by a 32-bit process (see above).
    void SetWow64(bool wow64) { wow64_ = wow64; }

    // Removes a key and everything below it (ignores read-only roots). Returns
    // 0, also when the key is not there, or 161 for a malformed path.
    // Handles open on removed keys fail from then on with 1018.
    long DeleteKeyTree(RegKey root, const std::string& path);

    // Direct access for seeding and checking, bypassing handles and the
    // read-only flag. Names are given as the A functions take them; Raw and
    // Put see string data as the A functions do, RawStored and PutStored as
    // it is held (UTF-16LE).
    struct RawValue {
        std::uint32_t type = reg::kNone;
        std::vector<std::uint8_t> data;
        bool operator==(const RawValue&) const = default;
    };
    std::optional<RawValue> Raw(RegKey root, std::string_view path, std::string_view name) const;
    std::optional<RawValue> RawStored(RegKey root, std::string_view path, std::string_view name) const;
    bool HasKey(RegKey root, std::string_view path) const;
    void Put(RegKey root, std::string_view path, const std::string& name, std::uint32_t type,
             std::vector<std::uint8_t> data);
    void PutString(RegKey root, std::string_view path, const std::string& name, std::string_view text);  // text + NUL
    void PutDword(RegKey root, std::string_view path, const std::string& name, std::uint32_t number);
    void PutStored(RegKey root, std::string_view path, const std::string& name, std::uint32_t type,
                   std::vector<std::uint8_t> data);
    std::size_t OpenHandleCount() const { return handles_.size(); }

    // Hive files, as RegSaveKey, RegLoadKey and RegUnLoadKey treat them. The
    // store's hive file is a version 5 .reg file whose keys lie under
    // HKEY_CURRENT_USER, standing for the hive's own root. SaveHive gives the
    // key and everything below it as such a file ("" when the key is
    // missing). MountHive loads one as a new key directly under
    // HKEY_USERS or HKEY_LOCAL_MACHINE: 0; 183 when the key exists; 1009
    // (ERROR_BADDB) for bytes that do not read as a hive; 87 for another
    // root. UnmountHive removes a key MountHive made: 0; 2 for any other
    // key; 5 while a handle is open on it or below it (which code Windows
    // gives then is not documented: unknown).
    std::string SaveHive(RegKey root, std::string_view path) const;
    long MountHive(RegKey root, const std::string& name, std::string_view hiveFile);
    long UnmountHive(RegKey root, const std::string& name);
    // The names mounted now, "HKEY_USERS\name", in the order mounted.
    std::vector<std::string> MountedHives() const;

    // .reg text: the whole store (both roots) as one file, and loading a file
    // on top of the current contents. ExportRegFile gives "" when the store
    // holds what the format cannot carry (see WriteRegFile). LoadRegFile
    // applies nothing when the file is malformed and returns the parse error
    // ("" on success).
    std::string ExportRegFile(RegFormat format) const;
    std::vector<RegKeyBlock> ExportBlocks() const;
    std::string LoadRegFile(std::string_view bytes);

private:
    struct Node;
    struct CaseLess {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    // Names are held in UTF-8, string data in UTF-16LE.
    struct Value {
        std::string name;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
    };
    struct Node {
        std::string name;
        std::map<std::string, std::unique_ptr<Node>, CaseLess> children;
        std::vector<Value> values;                       // in the order first set
        std::map<std::string, std::size_t, CaseLess> valueIndex;  // name -> position in values
    };
    struct Handle {
        Node* node;  // null once the key has been deleted
        RegKey root;
    };
    struct Target {
        Node* node = nullptr;
        RegKey root = 0;
        long status = reg::kSuccess;
    };

    Target Resolve(RegKey key) const;
    std::string Name(std::string_view ansi) const;  // A-side name to the held form
    std::string AnsiName(const std::string& held) const;
    long Query(RegKey key, const std::string& name, bool wide, std::uint32_t* type, std::uint8_t* data,
               std::uint32_t* size);
    long Set(RegKey key, const std::string& name, std::uint32_t type, std::vector<std::uint8_t> stored);
    long Delete(RegKey key, const std::string& name);
    long ValueAt(RegKey key, std::uint32_t index, const Value** value) const;
    const Value* FindValue(RegKey root, std::string_view path, std::string_view name) const;
    Node* RootNode(RegKey root) const;
    bool IsReadOnly(RegKey root) const;
    static long SplitPath(std::string_view path, std::vector<std::string_view>* parts);
    // SplitPath for a key opened from `parent`, redirected where the view asks for it.
    long KeyParts(RegKey parent, std::string_view path, std::vector<std::string_view>* parts) const;
    static const Node* Find(const Node* from, std::string_view path);
    Node* Walk(Node* from, const std::vector<std::string_view>& parts, bool create);
    RegKey NewHandle(Node* node, RegKey root);
    void ExportNode(const Node& node, RegKey root, const std::string& path, std::vector<RegKeyBlock>* out) const;
    // Whether a handle is open on the node or below it.
    bool HandleOpenWithin(const Node* node) const;

    const CodePage& codePage_;
    std::unique_ptr<Node> currentUser_;
    std::unique_ptr<Node> localMachine_;
    std::unique_ptr<Node> users_;
    std::vector<std::pair<RegKey, std::string>> mounts_;  // root and name, as mounted
    bool currentUserReadOnly_ = false;
    bool localMachineReadOnly_ = false;
    bool wow64_ = false;
    std::unordered_map<RegKey, Handle> handles_;
    RegKey nextHandle_ = 1;
};

}  // namespace vantrel
