// The five routines through which every catalogue read and write passes.
// Each call opens (or creates) its key, does one operation and closes it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "registry/Registry.h"

namespace vantrel {

// Outcome of a write. Callers that only need the historic behaviour ignore it.
enum class WriteResult {
    Stored,      // the value is in the registry now
    Refused,     // the registry refused to create the key or set the value
    NotANumber,  // SaveStringLong: the text is not a whole number in range; nothing touched
};

// Reads a value as text: REG_SZ up to its first NUL (zero bytes of data read
// as the empty text), REG_DWORD as signed decimal, anything else or absent as "".
// *present (if given) tells whether the value exists, whatever its type.
std::string GetString(Registry& reg, RegKey root, const std::string& path, const std::string& name,
                      bool* present = nullptr);

// The typed read behind GetString, on an open key (0 gives "").
std::string RegQueryStringValue(Registry& reg, RegKey key, const std::string& name, bool* present = nullptr);

// A value as the registry holds it, through the wide functions (its size,
// then its data): false when it is absent or cannot be read.
bool QueryStoredValue(Registry& reg, RegKey key, const std::u16string& name, std::uint32_t* type,
                      std::vector<std::uint8_t>* data);

// Stores text as REG_SZ (text plus one NUL), creating the key and those above.
// When refused, *status (if given) gets the registry's code: the key's
// creation's when that failed, else the value's.
WriteResult SaveString(Registry& reg, RegKey root, const std::string& path, const std::string& name,
                       const std::string& text, long* status = nullptr);

// Converts text to a signed 32-bit number (TextToLong) and stores it as
// REG_DWORD. A text that does not convert touches nothing. *status as SaveString's.
WriteResult SaveStringLong(Registry& reg, RegKey root, const std::string& path, const std::string& name,
                           const std::string& text, long* status = nullptr);

// Deletes a value; the key is created when missing (an empty key stays behind).
// Returns Stored when the value is gone afterwards, Refused when the key could
// not be opened or the delete was refused (*status, if given, gets the code).
WriteResult DelSetting(Registry& reg, RegKey root, const std::string& path, const std::string& name,
                       long* status = nullptr);

// Text to number: decimal, surrounding blanks and one leading sign allowed, a
// fractional part rounded to the nearest integer with halves to even. Empty
// text, other text or a number outside the range gives nothing.
std::optional<std::int32_t> TextToLong(std::string_view text);
// The same rule for 16-bit whole numbers (-32768 to 32767), used for check box states.
std::optional<std::int16_t> TextToInteger(std::string_view text);

}  // namespace vantrel
