// How the registry functions hand names and data to a caller's buffers, for
// the registries that are not advapi32 itself (the in-memory store, the
// recording layer).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "registry/CodePage.h"
#include "registry/Registry.h"

namespace vantrel {

// Value data the way RegQueryValueEx gives it: a size query without buffer,
// ERROR_MORE_DATA with the needed size, and (the A functions only: addNul) a
// NUL after string data that lacks one when the buffer has room for it.
inline long CopyValueData(std::uint32_t type, const std::vector<std::uint8_t>& bytes, bool addNul,
                          std::uint8_t* data, std::uint32_t* size) {
    if (data != nullptr && size == nullptr) return reg::kInvalidParameter;
    const auto needed = static_cast<std::uint32_t>(bytes.size());
    if (data == nullptr) {
        if (size != nullptr) *size = needed;
        return reg::kSuccess;
    }
    if (*size < needed) {
        *size = needed;
        return reg::kMoreData;
    }
    if (needed != 0) std::memcpy(data, bytes.data(), needed);
    if (addNul && IsStringType(type) && needed != 0 && needed < *size && bytes.back() != 0) data[needed] = 0;
    *size = needed;
    return reg::kSuccess;
}

// A name into an enumeration buffer: *len is the buffer size in characters on
// entry (room for the NUL included) and the name's length after.
template <typename Char, typename Text>
long CopyValueName(const Text& source, Char* name, std::uint32_t* len) {
    if (name == nullptr || len == nullptr) return reg::kInvalidParameter;
    if (*len <= source.size()) return reg::kMoreData;
    std::copy(source.begin(), source.end(), name);
    name[source.size()] = Char{};
    *len = static_cast<std::uint32_t>(source.size());
    return reg::kSuccess;
}

// An enumerated value into the caller's buffers: its name, type and data,
// the data as the A functions see it when `ansi` is given and as stored
// otherwise.
template <typename Char, typename Text>
long CopyEnumeratedValue(const Text& source, std::uint32_t valueType, const std::vector<std::uint8_t>& stored,
                         const CodePage* ansi, Char* name, std::uint32_t* nameLen, std::uint32_t* type,
                         std::uint8_t* data, std::uint32_t* dataLen) {
    if (const long status = CopyValueName(source, name, nameLen); status != reg::kSuccess) return status;
    if (type != nullptr) *type = valueType;
    if (data == nullptr && dataLen == nullptr) return reg::kSuccess;
    if (ansi == nullptr) return CopyValueData(valueType, stored, false, data, dataLen);
    return CopyValueData(valueType, StoredDataToAnsi(*ansi, valueType, stored), true, data, dataLen);
}

}  // namespace vantrel
