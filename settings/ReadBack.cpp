#include "settings/ReadBack.h"

#include <algorithm>

#include "registry/KeyNames.h"
#include "registry/RegFile.h"
#include "registry/RegistryRoutines.h"

namespace vantrel {

void ReadBackRegistry::Note(RegKey key, const std::string& name, bool removed, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t size) {
    const KeyPlace place = PlaceOf(key);
    std::erase_if(written_, [&](const Written& w) {
        return w.root == place.root && SameKey(w.path, place.path) && SameName(w.name, name);
    });
    written_.push_back({place.root, place.path, name, removed, type,
                        data ? std::vector<std::uint8_t>(data, data + size) : std::vector<std::uint8_t>{}, row_});
}

long ReadBackRegistry::SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                                std::uint32_t size) {
    const long status = inner_.SetValue(key, name, type, data, size);
    if (status == reg::kSuccess) Note(key, name, false, type, data, size);
    return status;
}

long ReadBackRegistry::DeleteValue(RegKey key, const std::string& name) {
    const long status = inner_.DeleteValue(key, name);
    if (status == reg::kSuccess) Note(key, name, true, reg::kNone, nullptr, 0);
    return status;
}

std::vector<SkippedWrite> ReadBackRegistry::NotHeld() {
    std::vector<SkippedWrite> notHeld;
    // Each key is opened once for all its values (the rows write a few keys
    // many values each); every handle is closed at the end.
    struct OpenedKey {
        RegKey root;
        const std::string* path;
        RegKey handle;
        long status;
    };
    std::vector<OpenedKey> keys;
    const auto keyOf = [&](const Written& w) -> const OpenedKey& {
        for (const OpenedKey& k : keys) {
            if (k.root == w.root && SameKey(*k.path, w.path)) return k;
        }
        RegKey handle = 0;
        const long status = inner_.OpenKey(w.root, w.path, &handle);
        return keys.emplace_back(OpenedKey{w.root, &w.path, status == reg::kSuccess ? handle : 0, status});
    };
    for (const Written& w : written_) {
        // One query in most cases: the data the rows write fit the first buffer.
        const OpenedKey& key = keyOf(w);
        const RegKey handle = key.handle;
        std::uint32_t type = reg::kNone;
        std::vector<std::uint8_t> data(std::max<std::size_t>(w.data.size(), 64));
        std::uint32_t size = static_cast<std::uint32_t>(data.size());
        long status = key.status;
        if (status == reg::kSuccess) status = inner_.QueryValue(handle, w.name, &type, data.data(), &size);
        if (status == reg::kMoreData) {
            data.resize(size);
            status = inner_.QueryValue(handle, w.name, &type, data.data(), &size);
        }
        const bool present = status == reg::kSuccess;
        data.resize(present ? std::min<std::size_t>(size, data.size()) : 0);
        const bool held = w.removed ? !present : present && type == w.type && data == w.data;
        const std::string now = !held && present ? RegQueryStringValue(inner_, handle, w.name) : std::string();
        if (held) continue;
        const std::string where = std::string(RegRootName(w.root)) + "\\" + w.path + " \"" + w.name + "\"";
        const std::string holds = !present                                        ? "is absent"
                                  : type == reg::kSz || type == reg::kDword       ? "reads back \"" + now + "\""
                                                                                  : "holds another type of value";
        SkippedWrite s{w.row ? w.row->page : std::string(), w.row ? w.row->caption : std::string(),
                       "the write did not hold: " + where + " " + holds};
        s.root = w.root;
        s.key = w.path;
        s.value = w.name;
        s.type = w.type;
        s.notHeld = true;
        notHeld.push_back(std::move(s));
    }
    for (const OpenedKey& k : keys) {
        if (k.handle != 0) inner_.CloseKey(k.handle);
    }
    return notHeld;
}

}  // namespace vantrel
