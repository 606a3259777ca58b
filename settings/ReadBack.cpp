#include "settings/ReadBack.h"

#include <algorithm>

#include "registry/KeyNames.h"
#include "registry/RegFile.h"
#include "registry/RegistryRoutines.h"

namespace vantrel {

long ReadBackRegistry::Opened(long status, RegKey parent, const std::string& subKey, RegKey* out) {
    if (status != reg::kSuccess) return status;
    Place place{parent, std::string(WithoutTrailingBackslash(subKey))};
    for (const auto& [handle, at] : open_) {
        if (handle == parent) place = {at.root, at.path + (place.path.empty() ? "" : "\\" + place.path)};
    }
    open_.emplace_back(*out, std::move(place));
    return status;
}

long ReadBackRegistry::OpenKey(RegKey parent, const std::string& subKey, RegKey* out) {
    return Opened(inner_.OpenKey(parent, subKey, out), parent, subKey, out);
}

long ReadBackRegistry::CreateKey(RegKey parent, const std::string& subKey, RegKey* out) {
    return Opened(inner_.CreateKey(parent, subKey, out), parent, subKey, out);
}

long ReadBackRegistry::CloseKey(RegKey key) {
    for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
        if (it->first == key) {
            open_.erase(std::next(it).base());
            break;
        }
    }
    return inner_.CloseKey(key);
}

void ReadBackRegistry::Note(RegKey key, const std::string& name, bool removed, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t size) {
    Place place{key, {}};
    for (const auto& [handle, at] : open_) {
        if (handle == key) place = at;
    }
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
    for (const Written& w : written_) {
        RegKey handle = 0;
        std::uint32_t type = reg::kNone, size = 0;
        std::vector<std::uint8_t> data;
        bool present = inner_.OpenKey(w.root, w.path, &handle) == reg::kSuccess &&
                       inner_.QueryValue(handle, w.name, &type, nullptr, &size) == reg::kSuccess;
        if (present) {
            data.resize(size);
            present = inner_.QueryValue(handle, w.name, &type, data.data(), &size) == reg::kSuccess;
            data.resize(std::min<std::size_t>(size, data.size()));
        }
        const std::string now = present ? RegQueryStringValue(inner_, handle, w.name) : std::string();
        if (handle != 0) inner_.CloseKey(handle);
        const bool held = w.removed ? !present : present && type == w.type && data == w.data;
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
    return notHeld;
}

}  // namespace vantrel
