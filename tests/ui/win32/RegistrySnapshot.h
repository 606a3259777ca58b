// The stored state of a set of registry values, to compare before and after
// and to put the test prefix's registry back as it was.
#pragma once

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "registry/Registry.h"
#include "settings/TweakRow.h"

namespace vantrel::test {

struct StoredValue {
    RegKey root = 0;
    std::string key, name;
    bool present = false;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    bool operator==(const StoredValue& o) const {
        return std::tie(root, key, name, present, type, data) == std::tie(o.root, o.key, o.name, o.present, o.type, o.data);
    }
};

inline StoredValue ReadStored(Registry& reg, RegKey root, const std::string& path, const std::string& name) {
    StoredValue v;
    v.root = root;
    v.key = path;
    v.name = name;
    RegKey key = 0;
    if (reg.OpenKey(root, path, &key) != reg::kSuccess) return v;
    std::uint32_t size = 0;
    if (reg.QueryValue(key, name, &v.type, nullptr, &size) == reg::kSuccess) {
        v.data.resize(size);
        if (size == 0 || reg.QueryValue(key, name, &v.type, v.data.data(), &size) == reg::kSuccess) {
            v.data.resize(size);
            v.present = true;
        }
    }
    reg.CloseKey(key);
    return v;
}

inline void WriteStored(Registry& reg, const StoredValue& v) {
    RegKey key = 0;
    if (v.present) {
        if (reg.CreateKey(v.root, v.key, &key) != reg::kSuccess) return;
        reg.SetValue(key, v.name, v.type, v.data.data(), static_cast<std::uint32_t>(v.data.size()));
    } else {
        if (reg.OpenKey(v.root, v.key, &key) != reg::kSuccess) return;
        reg.DeleteValue(key, v.name);
    }
    reg.CloseKey(key);
}

class RegistrySnapshot {
public:
    static RegistrySnapshot Of(Registry& reg, const std::vector<ValueRef>& values) {
        RegistrySnapshot s;
        s.Take(reg, values);
        return s;
    }
    void Take(Registry& reg, const std::vector<ValueRef>& values) {
        values_.clear();
        for (const ValueRef& v : values) values_.push_back(ReadStored(reg, v.root, v.key, v.value));
    }
    // Writes back every value as it was; values that were absent are deleted.
    void Restore(Registry& reg) const {
        for (const StoredValue& v : values_) WriteStored(reg, v);
    }
    bool operator==(const RegistrySnapshot& o) const { return values_ == o.values_; }
    const std::vector<StoredValue>& values() const { return values_; }

private:
    std::vector<StoredValue> values_;
};

inline void SeedDword(Registry& reg, RegKey root, const std::string& path, const std::string& name, std::uint32_t value) {
    StoredValue v{root, path, name, true, reg::kDword, {}};
    for (int i = 0; i < 4; ++i) v.data.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    WriteStored(reg, v);
}

// The value as a 32-bit number; 0xFFFFFFFF when it is absent or not a number.
inline std::uint32_t ReadDword(Registry& reg, RegKey root, const std::string& path, const std::string& name) {
    const StoredValue v = ReadStored(reg, root, path, name);
    if (!v.present || v.type != reg::kDword || v.data.size() != 4) return 0xFFFFFFFFu;
    return v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) | (static_cast<std::uint32_t>(v.data[3]) << 24);
}

}  // namespace vantrel::test
