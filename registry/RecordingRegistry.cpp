#include "registry/RecordingRegistry.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "registry/KeyNames.h"
#include "registry/RegistryRoutines.h"
#include "registry/ValueBuffers.h"

namespace vantrel {

namespace {

bool IsRoot(RegKey key) { return key >= 0x80000000u && key <= 0x80000006u; }

// Joins a key path and a sub-key the way the registry reads them: one
// trailing backslash names the same key; a leading backslash or an empty
// component is a bad path.
long JoinPath(const std::string& base, std::string_view sub, std::string* out) {
    if (!sub.empty() && sub.back() == '\\') sub.remove_suffix(1);
    if (!sub.empty() && (sub.front() == '\\' || sub.find("\\\\") != std::string_view::npos)) return reg::kBadPathname;
    *out = base;
    if (!sub.empty()) {
        if (!out->empty()) out->push_back('\\');
        out->append(sub);
    }
    return reg::kSuccess;
}

std::string Parent(const std::string& path) {
    const std::size_t cut = path.rfind('\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

// Closes a handle of the registry underneath when it goes out of scope.
class UnderKey {
public:
    UnderKey(Registry& reg, RegKey root, const std::string& path) : reg_(reg) {
        if (reg_.OpenKey(root, path, &key_) != reg::kSuccess) key_ = 0;
    }
    ~UnderKey() {
        if (key_ != 0) reg_.CloseKey(key_);
    }
    UnderKey(const UnderKey&) = delete;
    UnderKey& operator=(const UnderKey&) = delete;
    RegKey get() const { return key_; }

private:
    Registry& reg_;
    RegKey key_ = 0;
};

}  // namespace

RecordingRegistry::RecordingRegistry(Registry& under, Refusals refusals) : under_(under), refusals_(refusals) {}

long RecordingRegistry::Resolve(RegKey key, Open* where) const {
    if (IsRoot(key)) {
        *where = Open{key, {}};
        return reg::kSuccess;
    }
    const auto it = handles_.find(key);
    if (it == handles_.end()) return reg::kInvalidHandle;
    *where = it->second;
    return reg::kSuccess;
}

long RecordingRegistry::Locate(RegKey parent, const std::string& subKey, Open* where) const {
    Open base;
    if (const long status = Resolve(parent, &base); status != reg::kSuccess) return status;
    where->root = base.root;
    return JoinPath(base.path, subKey, &where->path);
}

bool RecordingRegistry::ExistsUnderneath(RegKey root, const std::string& path) {
    return UnderKey(under_, root, path).get() != 0 || path.empty();
}

bool RecordingRegistry::Exists(RegKey root, const std::string& path) {
    return created_.count({root, FoldCase(path)}) != 0 || ExistsUnderneath(root, path);
}

long RecordingRegistry::MayWrite(RegKey parent, const std::string& subKey) {
    Open where;
    if (const long status = Locate(parent, subKey, &where); status != reg::kSuccess) return status;
    return MayWriteAt(where);
}

// The registry underneath is asked, without writing, about the key as it
// stands there: a key made only in this layer is still missing underneath.
long RecordingRegistry::MayWriteAt(const Open& where) {
    if (refusals_ == Refusals::None) return reg::kSuccess;
    return under_.MayWrite(where.root, where.path);
}

RegKey RecordingRegistry::NewHandle(const Open& where) {
    const RegKey handle = nextHandle_++;
    handles_.emplace(handle, where);
    return handle;
}

long RecordingRegistry::OpenKey(RegKey parent, const std::string& subKey, RegKey* out) {
    if (out == nullptr) return reg::kInvalidParameter;
    Open where;
    if (const long status = Locate(parent, subKey, &where); status != reg::kSuccess) return status;
    if (!Exists(where.root, where.path)) return reg::kFileNotFound;
    *out = NewHandle(where);
    return reg::kSuccess;
}

long RecordingRegistry::CreateKey(RegKey parent, const std::string& subKey, RegKey* out) {
    if (out == nullptr) return reg::kInvalidParameter;
    Open where;
    if (const long status = Locate(parent, subKey, &where); status != reg::kSuccess) return status;
    if (const long status = MayWriteAt(where); status != reg::kSuccess) return status;
    // The key and every missing key above it now exist for readers of this layer.
    for (std::string path = where.path; !path.empty() && !Exists(where.root, path); path = Parent(path)) {
        created_.emplace(KeyId{where.root, FoldCase(path)}, path);
    }
    *out = NewHandle(where);
    return reg::kSuccess;
}

long RecordingRegistry::Query(RegKey key, const std::string& name, bool wide, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* size) {
    Open where;
    if (const long status = Resolve(key, &where); status != reg::kSuccess) return status;
    const auto kept = values_.find({where.root, FoldCase(where.path), FoldCase(name)});
    if (kept != values_.end()) {
        if (kept->second.removed) return reg::kFileNotFound;
        if (type != nullptr) *type = kept->second.type;
        if (wide) return CopyValueData(kept->second.type, kept->second.data, false, data, size);
        return CopyValueData(kept->second.type, StoredDataToAnsi(codePage(), kept->second.type, kept->second.data),
                             true, data, size);
    }
    UnderKey under(under_, where.root, where.path);
    if (under.get() == 0) return reg::kFileNotFound;
    if (wide) return under_.QueryValueW(under.get(), codePage().ToWide(name), type, data, size);
    return under_.QueryValue(under.get(), name, type, data, size);
}

long RecordingRegistry::Keep(RegKey key, const std::string& name, std::uint32_t type, std::vector<std::uint8_t> stored) {
    Open where;
    if (const long status = Resolve(key, &where); status != reg::kSuccess) return status;
    const ValueId id{where.root, FoldCase(where.path), FoldCase(name)};
    auto [it, fresh] = values_.try_emplace(id);
    if (fresh) order_.push_back(id);
    it->second = Kept{it->second.name.empty() ? name : it->second.name, false, type, std::move(stored)};
    writes_.push_back(Write{where.root, AnsiToUtf8(codePage(), where.path), AnsiToUtf8(codePage(), name), false, type,
                            it->second.data});
    return reg::kSuccess;
}

long RecordingRegistry::Remove(RegKey key, const std::string& name) {
    Open where;
    if (const long status = Resolve(key, &where); status != reg::kSuccess) return status;
    std::uint32_t size = 0;
    if (Query(key, name, true, nullptr, nullptr, &size) != reg::kSuccess) return reg::kFileNotFound;
    if (const long status = MayWriteAt(where); status != reg::kSuccess) return status;
    const ValueId id{where.root, FoldCase(where.path), FoldCase(name)};
    auto [it, fresh] = values_.try_emplace(id);
    if (fresh) order_.push_back(id);
    it->second = Kept{it->second.name.empty() ? name : it->second.name, true, reg::kNone, {}};
    writes_.push_back(
        Write{where.root, AnsiToUtf8(codePage(), where.path), AnsiToUtf8(codePage(), name), true, reg::kNone, {}});
    return reg::kSuccess;
}

// The A form of a wide name, or false when the code page cannot carry it.
bool RecordingRegistry::AnsiName(const std::u16string& wide, std::string* name) {
    *name = codePage().ToAnsi(wide);
    return FitsCodePage(codePage(), wide);
}

long RecordingRegistry::QueryValue(RegKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                                   std::uint32_t* size) {
    return Query(key, name, false, type, data, size);
}

long RecordingRegistry::QueryValueW(RegKey key, const std::u16string& name, std::uint32_t* type, std::uint8_t* data,
                                    std::uint32_t* size) {
    std::string ansi;
    if (!AnsiName(name, &ansi)) return reg::kFileNotFound;
    return Query(key, ansi, true, type, data, size);
}

long RecordingRegistry::SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                                 std::uint32_t size) {
    if (data == nullptr && size != 0) return reg::kInvalidParameter;
    return Keep(key, name, type, AnsiDataToStored(codePage(), type, data, size));
}

long RecordingRegistry::SetValueW(RegKey key, const std::u16string& name, std::uint32_t type,
                                  const std::uint8_t* data, std::uint32_t size) {
    std::string ansi;
    if ((data == nullptr && size != 0) || !AnsiName(name, &ansi)) return reg::kInvalidParameter;
    return Keep(key, ansi, type, std::vector<std::uint8_t>(data, data + size));
}

long RecordingRegistry::DeleteValue(RegKey key, const std::string& name) {
    return Remove(key, name);
}

long RecordingRegistry::DeleteValueW(RegKey key, const std::u16string& name) {
    std::string ansi;
    if (!AnsiName(name, &ansi)) return reg::kFileNotFound;
    return Remove(key, ansi);
}

long RecordingRegistry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen) {
    Open where;
    if (const long status = Resolve(key, &where); status != reg::kSuccess) return status;
    // Sub-keys underneath and those made here, in the registry's order (by upper-cased name).
    std::map<std::string, std::string> names;
    UnderKey under(under_, where.root, where.path);
    if (under.get() != 0 || where.path.empty()) {
        const RegKey from = where.path.empty() ? where.root : under.get();
        char buffer[256];
        for (std::uint32_t i = 0;; ++i) {
            std::uint32_t len = sizeof buffer;
            const long status = under_.EnumKey(from, i, buffer, &len);
            if (status == reg::kNoMoreItems) break;
            if (status != reg::kSuccess) return status;
            names.emplace(FoldCase(std::string(buffer, len)), std::string(buffer, len));
        }
    }
    const std::string prefix = where.path.empty() ? std::string() : FoldCase(where.path) + "\\";
    for (const auto& [id, path] : created_) {
        if (id.first != where.root || id.second.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string rest = path.substr(prefix.size());
        if (rest.find('\\') == std::string::npos) names.emplace(FoldCase(rest), rest);
    }
    if (index >= names.size()) return reg::kNoMoreItems;
    return CopyValueName(std::next(names.begin(), index)->second, name, nameLen);
}

std::vector<RecordingRegistry::Kept> RecordingRegistry::ValuesOf(const Open& where) {
    std::vector<Kept> out;
    std::set<std::string> seen;
    const std::string path = FoldCase(where.path);
    UnderKey under(under_, where.root, where.path);
    const RegKey from = where.path.empty() ? where.root : under.get();
    if (from != 0) {
        std::vector<char> buffer(16384);
        for (std::uint32_t i = 0;; ++i) {
            std::uint32_t len = static_cast<std::uint32_t>(buffer.size());
            if (under_.EnumValue(from, i, buffer.data(), &len, nullptr, nullptr, nullptr) != reg::kSuccess) break;
            const std::string name(buffer.data(), len);
            seen.insert(FoldCase(name));
            const auto kept = values_.find({where.root, path, FoldCase(name)});
            if (kept != values_.end()) {
                if (!kept->second.removed) out.push_back(kept->second);
                continue;
            }
            Kept value{name, false, reg::kNone, {}};
            if (QueryStoredValue(under_, from, codePage().ToWide(name), &value.type, &value.data)) {
                out.push_back(std::move(value));
            }
        }
    }
    for (const ValueId& id : order_) {
        if (std::get<0>(id) != where.root || std::get<1>(id) != path || seen.count(std::get<2>(id))) continue;
        const Kept& kept = values_.at(id);
        if (!kept.removed) out.push_back(kept);
    }
    return out;
}

long RecordingRegistry::ValueAt(RegKey key, std::uint32_t index, Kept* value) {
    Open where;
    if (const long status = Resolve(key, &where); status != reg::kSuccess) return status;
    std::vector<Kept> values = ValuesOf(where);
    if (index >= values.size()) return reg::kNoMoreItems;
    *value = std::move(values[index]);
    return reg::kSuccess;
}

long RecordingRegistry::EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen,
                                  std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataLen) {
    Kept value;
    if (const long status = ValueAt(key, index, &value); status != reg::kSuccess) return status;
    return CopyEnumeratedValue(value.name, value.type, value.data, &codePage(), name, nameLen, type, data, dataLen);
}

long RecordingRegistry::EnumValueW(RegKey key, std::uint32_t index, char16_t* name, std::uint32_t* nameLen,
                                   std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataLen) {
    Kept value;
    if (const long status = ValueAt(key, index, &value); status != reg::kSuccess) return status;
    return CopyEnumeratedValue(codePage().ToWide(value.name), value.type, value.data, nullptr, name, nameLen, type,
                               data, dataLen);
}

long RecordingRegistry::CloseKey(RegKey key) {
    if (key == 0 || IsRoot(key)) return reg::kSuccess;
    return handles_.erase(key) != 0 ? reg::kSuccess : reg::kInvalidHandle;
}

}  // namespace vantrel
