#include "platform/portable/MemoryRegistry.h"

#include <algorithm>
#include <cstring>

#include "registry/KeyNames.h"
#include "registry/ValueBuffers.h"

namespace vantrel {

namespace {

constexpr long kKeyDeleted = 1018;  // ERROR_KEY_DELETED

// Keys below HKEY_LOCAL_MACHINE\SOFTWARE that both views share on every
// 64-bit Windows ("Registry Keys Affected by WOW64", learn.microsoft.com/
// windows/win32/winprog64/shared-registry-keys): the policy keys. The store
// models no other shared key.
constexpr std::string_view kSharedSoftwareKeys[] = {
    "Policies",
    R"(Microsoft\Windows\CurrentVersion\Policies)",
};

// Whether a path below SOFTWARE lies in one of the shared keys.
bool InSharedKey(const std::vector<std::string_view>& parts) {
    for (std::string_view shared : kSharedSoftwareKeys) {
        for (std::size_t i = 1; i < parts.size() && !shared.empty(); ++i) {
            const std::size_t cut = shared.find('\\');
            if (!SameName(parts[i], shared.substr(0, cut))) break;
            shared = cut == std::string_view::npos ? std::string_view() : shared.substr(cut + 1);
        }
        if (shared.empty()) return true;
    }
    return false;
}

}  // namespace

bool MemoryRegistry::CaseLess::operator()(std::string_view a, std::string_view b) const {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(FoldCase(a[i]));
        const auto cb = static_cast<unsigned char>(FoldCase(b[i]));
        if (ca != cb) return ca < cb;
    }
    return a.size() < b.size();
}

MemoryRegistry::MemoryRegistry(const CodePage& codePage)
    : codePage_(codePage),
      currentUser_(std::make_unique<Node>()),
      localMachine_(std::make_unique<Node>()),
      users_(std::make_unique<Node>()) {}

MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Node* MemoryRegistry::RootNode(RegKey root) const {
    if (root == reg::kCurrentUser) return currentUser_.get();
    if (root == reg::kLocalMachine) return localMachine_.get();
    if (root == reg::kUsers) return users_.get();
    return nullptr;
}

bool MemoryRegistry::IsReadOnly(RegKey root) const {
    return root == reg::kCurrentUser ? currentUserReadOnly_ : root == reg::kLocalMachine && localMachineReadOnly_;
}

void MemoryRegistry::SetReadOnly(RegKey root, bool readOnly) {
    if (root == reg::kCurrentUser) currentUserReadOnly_ = readOnly;
    if (root == reg::kLocalMachine) localMachineReadOnly_ = readOnly;
}

MemoryRegistry::Target MemoryRegistry::Resolve(RegKey key) const {
    if (Node* root = RootNode(reg::PlainRoot(key))) return {root, reg::PlainRoot(key), reg::kSuccess};
    const auto it = handles_.find(key);
    if (it == handles_.end()) return {nullptr, 0, reg::kInvalidHandle};
    if (it->second.node == nullptr) return {nullptr, it->second.root, kKeyDeleted};
    return {it->second.node, it->second.root, reg::kSuccess};
}

// Splits a key path into its components. One trailing backslash is allowed;
// a leading backslash or an empty component is a bad path, as in Win32.
long MemoryRegistry::SplitPath(std::string_view path, std::vector<std::string_view>* parts) {
    parts->clear();
    if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    if (path.empty()) return reg::kSuccess;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = path.find('\\', start);
        const std::string_view part = path.substr(start, end == std::string_view::npos ? end : end - start);
        if (part.empty()) return reg::kBadPathname;
        parts->push_back(part);
        if (end == std::string_view::npos) return reg::kSuccess;
        start = end + 1;
    }
}

// On 64-bit Windows a 32-bit process's own view and the 32-bit view find the
// keys of HKEY_LOCAL_MACHINE\SOFTWARE, but for the shared ones, under
// SOFTWARE\Wow6432Node ("Registry Redirector", learn.microsoft.com/windows/
// win32/winprog64/registry-redirector). Keys opened from a handle lie below it.
long MemoryRegistry::KeyParts(RegKey parent, std::string_view path, std::vector<std::string_view>* parts) const {
    if (const long status = SplitPath(path, parts); status != reg::kSuccess) return status;
    const bool redirected = wow64_ && reg::IsRoot(parent) && reg::PlainRoot(parent) == reg::kLocalMachine &&
                            (parent & reg::kView64) == 0;
    if (redirected && !parts->empty() && SameName(parts->front(), "SOFTWARE") && !InSharedKey(*parts)) {
        parts->insert(parts->begin() + 1, "Wow6432Node");
    }
    return reg::kSuccess;
}

const MemoryRegistry::Node* MemoryRegistry::Find(const Node* from, std::string_view path) {
    std::vector<std::string_view> parts;
    if (from == nullptr || SplitPath(path, &parts) != reg::kSuccess) return nullptr;
    for (const std::string_view part : parts) {
        const auto it = from->children.find(part);
        if (it == from->children.end()) return nullptr;
        from = it->second.get();
    }
    return from;
}

MemoryRegistry::Node* MemoryRegistry::Walk(Node* from, const std::vector<std::string_view>& parts, bool create) {
    for (const std::string_view part : parts) {
        auto it = from->children.find(part);
        if (it == from->children.end()) {
            if (!create) return nullptr;
            auto node = std::make_unique<Node>();
            node->name = std::string(part);
            it = from->children.emplace(node->name, std::move(node)).first;
        }
        from = it->second.get();
    }
    return from;
}

RegKey MemoryRegistry::NewHandle(Node* node, RegKey root) {
    const RegKey handle = nextHandle_++;
    handles_.emplace(handle, Handle{node, root});
    return handle;
}

std::string MemoryRegistry::Name(std::string_view ansi) const {
    return AnsiToUtf8(codePage_, ansi);
}

std::string MemoryRegistry::AnsiName(const std::string& held) const {
    return Utf8ToAnsi(codePage_, held);
}

long MemoryRegistry::OpenKey(RegKey parent, const std::string& subKey, RegKey* out) {
    if (out == nullptr) return reg::kInvalidParameter;
    const Target target = Resolve(parent);
    if (target.status != reg::kSuccess) return target.status;
    std::vector<std::string_view> parts;
    const std::string path = Name(subKey);
    if (const long status = KeyParts(parent, path, &parts); status != reg::kSuccess) return status;
    Node* node = Walk(target.node, parts, false);
    if (node == nullptr) return reg::kFileNotFound;
    *out = NewHandle(node, target.root);
    return reg::kSuccess;
}

long MemoryRegistry::CreateKey(RegKey parent, const std::string& subKey, RegKey* out) {
    if (out == nullptr) return reg::kInvalidParameter;
    const Target target = Resolve(parent);
    if (target.status != reg::kSuccess) return target.status;
    std::vector<std::string_view> parts;
    const std::string path = Name(subKey);
    if (const long status = KeyParts(parent, path, &parts); status != reg::kSuccess) return status;
    if (IsReadOnly(target.root)) return reg::kAccessDenied;
    *out = NewHandle(Walk(target.node, parts, true), target.root);
    return reg::kSuccess;
}

long MemoryRegistry::MayWrite(RegKey parent, const std::string& subKey) {
    const Target target = Resolve(parent);
    if (target.status != reg::kSuccess) return target.status;
    std::vector<std::string_view> parts;
    const std::string path = Name(subKey);
    if (const long status = KeyParts(parent, path, &parts); status != reg::kSuccess) return status;
    return IsReadOnly(target.root) ? reg::kAccessDenied : reg::kSuccess;
}

long MemoryRegistry::Query(RegKey key, const std::string& name, bool wide, std::uint32_t* type,
                           std::uint8_t* data, std::uint32_t* size) {
    const Target target = Resolve(key);
    if (target.status != reg::kSuccess) return target.status;
    const auto it = target.node->valueIndex.find(name);
    if (it == target.node->valueIndex.end()) return reg::kFileNotFound;
    const Value& value = target.node->values[it->second];
    if (type != nullptr) *type = value.type;
    if (wide) return CopyValueData(value.type, value.data, false, data, size);
    return CopyValueData(value.type, StoredDataToAnsi(codePage_, value.type, value.data), true, data, size);
}

long MemoryRegistry::Set(RegKey key, const std::string& name, std::uint32_t type, std::vector<std::uint8_t> stored) {
    const Target target = Resolve(key);
    if (target.status != reg::kSuccess) return target.status;
    if (IsReadOnly(target.root)) return reg::kAccessDenied;
    Node& node = *target.node;
    const auto it = node.valueIndex.find(name);
    if (it != node.valueIndex.end()) {
        Value& value = node.values[it->second];
        value.type = type;
        value.data = std::move(stored);
        return reg::kSuccess;
    }
    node.valueIndex.emplace(name, node.values.size());
    node.values.push_back(Value{name, type, std::move(stored)});
    return reg::kSuccess;
}

long MemoryRegistry::Delete(RegKey key, const std::string& name) {
    const Target target = Resolve(key);
    if (target.status != reg::kSuccess) return target.status;
    if (IsReadOnly(target.root)) return reg::kAccessDenied;
    Node& node = *target.node;
    const auto it = node.valueIndex.find(name);
    if (it == node.valueIndex.end()) return reg::kFileNotFound;
    const std::size_t position = it->second;
    node.valueIndex.erase(it);
    node.values.erase(node.values.begin() + static_cast<std::ptrdiff_t>(position));
    for (auto& entry : node.valueIndex) {
        if (entry.second > position) --entry.second;
    }
    return reg::kSuccess;
}

long MemoryRegistry::QueryValue(RegKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                                std::uint32_t* size) {
    return Query(key, Name(name), false, type, data, size);
}

long MemoryRegistry::QueryValueW(RegKey key, const std::u16string& name, std::uint32_t* type, std::uint8_t* data,
                                 std::uint32_t* size) {
    return Query(key, Utf16ToUtf8(name), true, type, data, size);
}

long MemoryRegistry::SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                              std::uint32_t size) {
    if (data == nullptr && size != 0) return reg::kInvalidParameter;
    return Set(key, Name(name), type, AnsiDataToStored(codePage_, type, data, size));
}

long MemoryRegistry::SetValueW(RegKey key, const std::u16string& name, std::uint32_t type, const std::uint8_t* data,
                               std::uint32_t size) {
    if (data == nullptr && size != 0) return reg::kInvalidParameter;
    return Set(key, Utf16ToUtf8(name), type, std::vector<std::uint8_t>(data, data + size));
}

long MemoryRegistry::DeleteValue(RegKey key, const std::string& name) {
    return Delete(key, Name(name));
}

long MemoryRegistry::DeleteValueW(RegKey key, const std::u16string& name) {
    return Delete(key, Utf16ToUtf8(name));
}

long MemoryRegistry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen) {
    const Target target = Resolve(key);
    if (target.status != reg::kSuccess) return target.status;
    const auto& children = target.node->children;
    if (index >= children.size()) return reg::kNoMoreItems;
    return CopyValueName(AnsiName(std::next(children.begin(), index)->second->name), name, nameLen);
}

long MemoryRegistry::ValueAt(RegKey key, std::uint32_t index, const Value** value) const {
    const Target target = Resolve(key);
    if (target.status != reg::kSuccess) return target.status;
    if (index >= target.node->values.size()) return reg::kNoMoreItems;
    *value = &target.node->values[index];
    return reg::kSuccess;
}

long MemoryRegistry::EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen,
                               std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataLen) {
    const Value* value = nullptr;
    if (const long status = ValueAt(key, index, &value); status != reg::kSuccess) return status;
    return CopyEnumeratedValue(AnsiName(value->name), value->type, value->data, &codePage_, name, nameLen, type, data,
                               dataLen);
}

long MemoryRegistry::EnumValueW(RegKey key, std::uint32_t index, char16_t* name, std::uint32_t* nameLen,
                                std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataLen) {
    const Value* value = nullptr;
    if (const long status = ValueAt(key, index, &value); status != reg::kSuccess) return status;
    return CopyEnumeratedValue(Utf8ToUtf16(value->name), value->type, value->data, nullptr, name, nameLen, type, data,
                               dataLen);
}

long MemoryRegistry::CloseKey(RegKey key) {
    if (RootNode(reg::PlainRoot(key)) != nullptr) return reg::kSuccess;
    return handles_.erase(key) != 0 ? reg::kSuccess : reg::kInvalidHandle;
}

long MemoryRegistry::DeleteKeyTree(RegKey root, const std::string& path) {
    Node* rootNode = RootNode(reg::PlainRoot(root));
    if (rootNode == nullptr) return reg::kInvalidHandle;
    std::vector<std::string_view> parts;
    const std::string held = Name(path);
    if (const long status = KeyParts(root, held, &parts); status != reg::kSuccess) return status;
    if (parts.empty()) return reg::kAccessDenied;  // a root cannot be removed
    const std::string_view leaf = parts.back();
    parts.pop_back();
    Node* parent = Walk(rootNode, parts, false);
    if (parent == nullptr) return reg::kSuccess;
    const auto it = parent->children.find(leaf);
    if (it == parent->children.end()) return reg::kSuccess;

    std::vector<const Node*> removed{it->second.get()};
    for (std::size_t i = 0; i < removed.size(); ++i) {
        for (const auto& child : removed[i]->children) removed.push_back(child.second.get());
    }
    for (auto& entry : handles_) {
        if (std::find(removed.begin(), removed.end(), entry.second.node) != removed.end()) entry.second.node = nullptr;
    }
    parent->children.erase(it);
    return reg::kSuccess;
}

const MemoryRegistry::Value* MemoryRegistry::FindValue(RegKey root, std::string_view path,
                                                       std::string_view name) const {
    const Node* node = Find(RootNode(root), Name(path));
    if (node == nullptr) return nullptr;
    const auto it = node->valueIndex.find(Name(name));
    return it == node->valueIndex.end() ? nullptr : &node->values[it->second];
}

std::optional<MemoryRegistry::RawValue> MemoryRegistry::Raw(RegKey root, std::string_view path,
                                                             std::string_view name) const {
    const Value* value = FindValue(root, path, name);
    if (value == nullptr) return std::nullopt;
    return RawValue{value->type, StoredDataToAnsi(codePage_, value->type, value->data)};
}

std::optional<MemoryRegistry::RawValue> MemoryRegistry::RawStored(RegKey root, std::string_view path,
                                                                   std::string_view name) const {
    const Value* value = FindValue(root, path, name);
    if (value == nullptr) return std::nullopt;
    return RawValue{value->type, value->data};
}

bool MemoryRegistry::HasKey(RegKey root, std::string_view path) const {
    return Find(RootNode(root), Name(path)) != nullptr;
}

void MemoryRegistry::PutStored(RegKey root, std::string_view path, const std::string& name, std::uint32_t type,
                               std::vector<std::uint8_t> data) {
    Node* rootNode = RootNode(root);
    std::vector<std::string_view> parts;
    const std::string held = Name(path);
    if (rootNode == nullptr || SplitPath(held, &parts) != reg::kSuccess) return;
    Node& node = *Walk(rootNode, parts, true);
    const std::string valueName = Name(name);
    const auto it = node.valueIndex.find(valueName);
    if (it != node.valueIndex.end()) {
        node.values[it->second].type = type;
        node.values[it->second].data = std::move(data);
        return;
    }
    node.valueIndex.emplace(valueName, node.values.size());
    node.values.push_back(Value{valueName, type, std::move(data)});
}

void MemoryRegistry::Put(RegKey root, std::string_view path, const std::string& name, std::uint32_t type,
                         std::vector<std::uint8_t> data) {
    PutStored(root, path, name, type, AnsiDataToStored(codePage_, type, data.data(), data.size()));
}

void MemoryRegistry::PutString(RegKey root, std::string_view path, const std::string& name, std::string_view text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    Put(root, path, name, reg::kSz, std::move(bytes));
}

void MemoryRegistry::PutDword(RegKey root, std::string_view path, const std::string& name, std::uint32_t number) {
    const auto bytes = reg::DwordBytes(number);
    Put(root, path, name, reg::kDword, {bytes.begin(), bytes.end()});
}

// Each key with values, or without subkeys (so that empty keys survive a
// round trip), becomes a block; parents come before their subkeys.
void MemoryRegistry::ExportNode(const Node& node, RegKey root, const std::string& path,
                                std::vector<RegKeyBlock>* out) const {
    const bool isRoot = path.empty();
    if (!node.values.empty() || (node.children.empty() && !isRoot)) {
        RegKeyBlock block{root, path, false, {}};
        for (const Value& value : node.values) block.values.push_back({value.name, false, value.type, value.data});
        out->push_back(std::move(block));
    }
    for (const auto& child : node.children) {
        ExportNode(*child.second, root, isRoot ? child.second->name : path + '\\' + child.second->name, out);
    }
}

std::vector<RegKeyBlock> MemoryRegistry::ExportBlocks() const {
    std::vector<RegKeyBlock> blocks;
    ExportNode(*currentUser_, reg::kCurrentUser, "", &blocks);
    ExportNode(*localMachine_, reg::kLocalMachine, "", &blocks);
    ExportNode(*users_, reg::kUsers, "", &blocks);
    return blocks;
}

std::string MemoryRegistry::ExportRegFile(RegFormat format) const {
    return WriteRegFile(ExportBlocks(), format, codePage_).bytes;
}

std::string MemoryRegistry::LoadRegFile(std::string_view bytes) {
    RegParseResult parsed = ParseRegFile(bytes, codePage_);
    if (!parsed.ok()) return parsed.error;
    const RegApplyResult applied = ApplyRegOps(
        *this, parsed.ops, [this](RegKey root, const std::string& path) { return DeleteKeyTree(root, path); });
    return applied.ok() ? std::string() : applied.failures.front();
}

std::string MemoryRegistry::SaveHive(RegKey root, std::string_view path) const {
    const Node* node = Find(RootNode(root), Name(path));
    if (node == nullptr) return {};
    std::vector<RegKeyBlock> blocks;
    ExportNode(*node, reg::kCurrentUser, "", &blocks);
    return WriteRegFile(blocks, RegFormat::Version5, codePage_).bytes;
}

long MemoryRegistry::MountHive(RegKey root, const std::string& name, std::string_view hiveFile) {
    Node* rootNode = root == reg::kUsers || root == reg::kLocalMachine ? RootNode(root) : nullptr;
    std::vector<std::string_view> parts;
    const std::string held = Name(name);
    if (rootNode == nullptr || SplitPath(held, &parts) != reg::kSuccess || parts.size() != 1) {
        return reg::kInvalidParameter;
    }
    if (rootNode->children.count(parts.front()) != 0) return 183;  // ERROR_ALREADY_EXISTS
    constexpr long kBadDb = 1009;                                  // ERROR_BADDB
    const RegParseResult parsed = ParseRegFile(hiveFile, codePage_);
    if (!parsed.ok()) return kBadDb;
    MemoryRegistry hive(codePage_);
    for (const RegOp& op : parsed.ops) {
        if (op.root != reg::kCurrentUser || ApplyRegOp(hive, op) != reg::kSuccess) return kBadDb;
    }
    std::unique_ptr<Node> node = std::move(hive.currentUser_);
    node->name = held;
    rootNode->children.emplace(held, std::move(node));
    mounts_.emplace_back(root, held);
    return reg::kSuccess;
}

bool MemoryRegistry::HandleOpenWithin(const Node* node) const {
    std::vector<const Node*> within{node};
    for (std::size_t i = 0; i < within.size(); ++i) {
        for (const auto& child : within[i]->children) within.push_back(child.second.get());
    }
    for (const auto& entry : handles_) {
        if (std::find(within.begin(), within.end(), entry.second.node) != within.end()) return true;
    }
    return false;
}

long MemoryRegistry::UnmountHive(RegKey root, const std::string& name) {
    const auto mount = std::find_if(mounts_.begin(), mounts_.end(), [&](const auto& m) {
        return m.first == root && SameName(m.second, Name(name));
    });
    if (mount == mounts_.end()) return reg::kFileNotFound;
    Node* rootNode = RootNode(root);
    const auto it = rootNode->children.find(mount->second);
    if (HandleOpenWithin(it->second.get())) return reg::kAccessDenied;
    rootNode->children.erase(it);
    mounts_.erase(mount);
    return reg::kSuccess;
}

std::vector<std::string> MemoryRegistry::MountedHives() const {
    std::vector<std::string> names;
    for (const auto& [root, name] : mounts_) names.push_back(std::string(RegRootName(root)) + "\\" + name);
    return names;
}

}  // namespace vantrel
