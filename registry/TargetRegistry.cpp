#include "registry/TargetRegistry.h"

#include "registry/KeyNames.h"

namespace vantrel {

namespace {

// The first component of a path and the rest after its backslash.
std::pair<std::string, std::string> SplitFirst(const std::string& path) {
    const std::string_view trimmed = WithoutTrailingBackslash(path);
    const std::size_t cut = trimmed.find('\\');
    if (cut == std::string_view::npos) return {std::string(trimmed), {}};
    return {std::string(trimmed.substr(0, cut)), std::string(trimmed.substr(cut + 1))};
}

}  // namespace

TargetRegistry::TargetRegistry(Registry& inner, TargetPlaces places) : ForwardingRegistry(inner), places_(std::move(places)) {
    const auto open = [this](const RegPlace& place, RegKey* key) {
        if (place.empty() || status_ != 0) return;
        status_ = inner_.OpenKey(place.root, place.path, key);
    };
    open(places_.user, &user_);
    open(places_.software, &software_);
    open(places_.system, &system_);
}

TargetRegistry::~TargetRegistry() { Close(); }

void TargetRegistry::Close() {
    if (closed_) return;
    closed_ = true;
    for (const RegKey key : open_) inner_.CloseKey(key);
    open_.clear();
    systemRoots_.clear();
    for (const RegKey key : {user_, software_, system_}) {
        if (key != 0) inner_.CloseKey(key);
    }
}

// SYSTEM\CurrentControlSet\... in an offline SYSTEM hive is its current control set.
std::string TargetRegistry::ControlSet(const std::string& path) const {
    auto [first, rest] = SplitFirst(path);
    if (!SameName(first, "CurrentControlSet")) return path;
    return rest.empty() ? places_.controlSet : places_.controlSet + "\\" + rest;
}

TargetRegistry::Mapped TargetRegistry::Map(RegKey parent, const std::string& subKey, long refused) const {
    const auto failed = [](long code) {
        Mapped mapped;
        mapped.status = code;
        return mapped;
    };
    if (closed_) return failed(reg::kInvalidHandle);
    const RegKey root = reg::PlainRoot(parent);
    if (root == reg::kCurrentUser && user_ != 0) return {0, user_, subKey};
    if (root == reg::kLocalMachine && places_.offline()) {
        auto [first, rest] = SplitFirst(subKey);
        if (SameName(first, "SOFTWARE")) return {0, software_, rest};
        if (SameName(first, "SYSTEM")) return {0, system_, ControlSet(rest), rest.empty()};
        return failed(refused);
    }
    if (systemRoots_.count(parent)) return {0, parent, ControlSet(subKey), WithoutTrailingBackslash(subKey).empty()};
    if (!reg::IsRoot(parent) && !open_.count(parent)) return failed(reg::kInvalidHandle);
    return {0, parent, subKey};
}

RegKey TargetRegistry::Handle(RegKey key, long refused, long* status) const {
    *status = 0;
    if (closed_) {
        *status = reg::kInvalidHandle;
        return 0;
    }
    const RegKey root = reg::PlainRoot(key);
    if (root == reg::kCurrentUser && user_ != 0) return user_;
    if (root == reg::kLocalMachine && places_.offline()) {
        *status = refused;
        return 0;
    }
    if (!reg::IsRoot(key) && !open_.count(key)) {
        *status = reg::kInvalidHandle;
        return 0;
    }
    return key;
}

long TargetRegistry::Opened(long status, const Mapped& mapped, RegKey key, RegKey* out) {
    if (status != reg::kSuccess) return status;
    open_.insert(key);
    if (mapped.systemRoot) systemRoots_.insert(key);
    *out = key;
    return status;
}

long TargetRegistry::OpenKey(RegKey parent, const std::string& subKey, RegKey* out) {
    if (out == nullptr) return reg::kInvalidParameter;
    const Mapped mapped = Map(parent, subKey, reg::kFileNotFound);
    if (mapped.status != 0) return mapped.status;
    RegKey key = 0;
    const long status = inner_.OpenKey(mapped.parent, mapped.subKey, &key);
    return Opened(status, mapped, key, out);
}

long TargetRegistry::CreateKey(RegKey parent, const std::string& subKey, RegKey* out) {
    if (out == nullptr) return reg::kInvalidParameter;
    const Mapped mapped = Map(parent, subKey, reg::kAccessDenied);
    if (mapped.status != 0) return mapped.status;
    RegKey key = 0;
    const long status = inner_.CreateKey(mapped.parent, mapped.subKey, &key);
    return Opened(status, mapped, key, out);
}

long TargetRegistry::MayWrite(RegKey parent, const std::string& subKey) {
    const Mapped mapped = Map(parent, subKey, reg::kAccessDenied);
    return mapped.status != 0 ? mapped.status : inner_.MayWrite(mapped.parent, mapped.subKey);
}

long TargetRegistry::CloseKey(RegKey key) {
    if (key == 0 || reg::IsRoot(key)) return reg::kSuccess;
    if (closed_ || open_.erase(key) == 0) return reg::kInvalidHandle;
    systemRoots_.erase(key);
    return inner_.CloseKey(key);
}

long TargetRegistry::QueryValue(RegKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                                std::uint32_t* size) {
    long status = 0;
    const RegKey under = Handle(key, reg::kFileNotFound, &status);
    return status != 0 ? status : inner_.QueryValue(under, name, type, data, size);
}

long TargetRegistry::SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                              std::uint32_t size) {
    long status = 0;
    const RegKey under = Handle(key, reg::kAccessDenied, &status);
    return status != 0 ? status : inner_.SetValue(under, name, type, data, size);
}

long TargetRegistry::DeleteValue(RegKey key, const std::string& name) {
    long status = 0;
    const RegKey under = Handle(key, reg::kAccessDenied, &status);
    return status != 0 ? status : inner_.DeleteValue(under, name);
}

long TargetRegistry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen) {
    long status = 0;
    const RegKey under = Handle(key, reg::kNoMoreItems, &status);
    return status != 0 ? status : inner_.EnumKey(under, index, name, nameLen);
}

long TargetRegistry::EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen,
                               std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataLen) {
    long status = 0;
    const RegKey under = Handle(key, reg::kNoMoreItems, &status);
    return status != 0 ? status : inner_.EnumValue(under, index, name, nameLen, type, data, dataLen);
}

long TargetRegistry::QueryValueW(RegKey key, const std::u16string& name, std::uint32_t* type, std::uint8_t* data,
                                 std::uint32_t* size) {
    long status = 0;
    const RegKey under = Handle(key, reg::kFileNotFound, &status);
    return status != 0 ? status : inner_.QueryValueW(under, name, type, data, size);
}

long TargetRegistry::SetValueW(RegKey key, const std::u16string& name, std::uint32_t type, const std::uint8_t* data,
                               std::uint32_t size) {
    long status = 0;
    const RegKey under = Handle(key, reg::kAccessDenied, &status);
    return status != 0 ? status : inner_.SetValueW(under, name, type, data, size);
}

long TargetRegistry::DeleteValueW(RegKey key, const std::u16string& name) {
    long status = 0;
    const RegKey under = Handle(key, reg::kAccessDenied, &status);
    return status != 0 ? status : inner_.DeleteValueW(under, name);
}

long TargetRegistry::EnumValueW(RegKey key, std::uint32_t index, char16_t* name, std::uint32_t* nameLen,
                                std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataLen) {
    long status = 0;
    const RegKey under = Handle(key, reg::kNoMoreItems, &status);
    return status != 0 ? status : inner_.EnumValueW(under, index, name, nameLen, type, data, dataLen);
}

}  // namespace vantrel
