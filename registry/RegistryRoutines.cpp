#include "registry/RegistryRoutines.h"

#include <algorithm>
#include <array>
#include <limits>

namespace vantrel {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a decimal number with an optional sign and fraction, rounding the
// fraction to the nearest whole number with halves going to the even one.
// Returns nothing for anything else or a value outside [low, high].
std::optional<std::int64_t> TextToWhole(std::string_view text, std::int64_t low, std::int64_t high) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }

    // Whole part, saturating well above any range asked for.
    constexpr std::int64_t kCap = std::int64_t{1} << 40;
    std::int64_t magnitude = 0;
    std::size_t digits = 0;
    std::size_t i = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
        magnitude = std::min(kCap, magnitude * 10 + (text[i] - '0'));
    }

    // Fraction: only its first digit and whether anything non-zero follows matter.
    int firstFraction = 0;
    bool restNonZero = false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (std::size_t position = 0; i < text.size() && IsDigit(text[i]); ++i, ++position, ++digits) {
            if (position == 0) {
                firstFraction = text[i] - '0';
            } else if (text[i] != '0') {
                restNonZero = true;
            }
        }
    }
    if (digits == 0 || i != text.size()) return std::nullopt;

    const bool roundUp = firstFraction > 5 || (firstFraction == 5 && (restNonZero || magnitude % 2 == 1));
    if (roundUp) ++magnitude;
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < low || value > high) return std::nullopt;
    return value;
}

std::string DecimalText(std::int32_t number) {
    return std::to_string(number);
}

// A write's outcome from its two steps. A key that could not be created is
// the reason, not the invalid handle the value's step then met.
WriteResult Outcome(long created, long set, long* status) {
    if (set == reg::kSuccess) return WriteResult::Stored;
    if (status != nullptr) *status = created != reg::kSuccess ? created : set;
    return WriteResult::Refused;
}

}  // namespace

std::optional<std::int32_t> TextToLong(std::string_view text) {
    const auto value =
        TextToWhole(text, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
    if (!value) return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

std::optional<std::int16_t> TextToInteger(std::string_view text) {
    const auto value =
        TextToWhole(text, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max());
    if (!value) return std::nullopt;
    return static_cast<std::int16_t>(*value);
}

std::string RegQueryStringValue(Registry& reg, RegKey key, const std::string& name, bool* present) {
    std::uint32_t type = reg::kNone;
    std::uint32_t size = 0;
    const bool found = reg.QueryValue(key, name, &type, nullptr, &size) == reg::kSuccess;
    if (present != nullptr) *present = found;
    if (!found) return {};

    if (type == reg::kSz) {
        // Zero bytes of data: another program's way of storing the empty text.
        if (size == 0) return {};
        std::string buffer(size, '\0');
        std::uint32_t ignoredType = reg::kNone;
        if (reg.QueryValue(key, name, &ignoredType, reinterpret_cast<std::uint8_t*>(buffer.data()), &size) !=
            reg::kSuccess) {
            return {};
        }
        // The text ends at the first NUL; data stored without one fills the buffer.
        const std::size_t end = buffer.find('\0');
        if (end != std::string::npos) buffer.resize(end);
        return buffer;
    }

    if (type == reg::kDword) {
        std::array<std::uint8_t, 4> bytes{};
        std::uint32_t length = 4;
        std::uint32_t ignoredType = reg::kNone;
        if (reg.QueryValue(key, name, &ignoredType, bytes.data(), &length) != reg::kSuccess) return {};
        return DecimalText(static_cast<std::int32_t>(reg::DwordOf(bytes.data())));
    }

    return {};
}

bool QueryStoredValue(Registry& reg, RegKey key, const std::u16string& name, std::uint32_t* type,
                      std::vector<std::uint8_t>* data) {
    std::uint32_t size = 0;
    if (reg.QueryValueW(key, name, type, nullptr, &size) != reg::kSuccess) return false;
    data->resize(size);
    if (size != 0 && reg.QueryValueW(key, name, type, data->data(), &size) != reg::kSuccess) return false;
    data->resize(size);
    return true;
}

std::string GetString(Registry& reg, RegKey root, const std::string& path, const std::string& name,
                      bool* present) {
    RegKey key = 0;
    reg.OpenKey(root, path, &key);
    std::string text = RegQueryStringValue(reg, key, name, present);
    reg.CloseKey(key);
    return text;
}

WriteResult SaveString(Registry& reg, RegKey root, const std::string& path, const std::string& name,
                       const std::string& text, long* status) {
    RegKey key = 0;
    const long created = reg.CreateKey(root, path, &key);
    // c_str() carries the terminating NUL, which is part of the stored bytes.
    const long set = reg.SetValue(key, name, reg::kSz, reinterpret_cast<const std::uint8_t*>(text.c_str()),
                                  static_cast<std::uint32_t>(text.size() + 1));
    reg.CloseKey(key);
    return Outcome(created, set, status);
}

WriteResult SaveStringLong(Registry& reg, RegKey root, const std::string& path, const std::string& name,
                           const std::string& text, long* status) {
    const auto number = TextToLong(text);
    if (!number) return WriteResult::NotANumber;
    const auto bytes = reg::DwordBytes(static_cast<std::uint32_t>(*number));
    RegKey key = 0;
    const long created = reg.CreateKey(root, path, &key);
    const long set = reg.SetValue(key, name, reg::kDword, bytes.data(), 4);
    reg.CloseKey(key);
    return Outcome(created, set, status);
}

WriteResult DelSetting(Registry& reg, RegKey root, const std::string& path, const std::string& name,
                       long* status) {
    RegKey key = 0;
    const long opened = reg.CreateKey(root, path, &key);
    const long deleted = reg.DeleteValue(key, name);
    reg.CloseKey(key);
    const bool gone = opened == reg::kSuccess && (deleted == reg::kSuccess || deleted == reg::kFileNotFound);
    if (!gone && status != nullptr) *status = opened != reg::kSuccess ? opened : deleted;
    return gone ? WriteResult::Stored : WriteResult::Refused;
}

}  // namespace vantrel
