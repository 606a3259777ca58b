// Text as the registry holds it and as Vantrel passes it around.
//
// The registry keeps names and string data in UTF-16. The A registry
// functions convert them through the system's ANSI code page, which is
// one byte per character on Western systems and up to two on Japanese,
// Chinese and Korean ones (where a character's second byte may be 0x5C, the
// backslash). Backups and .reg files work on the UTF-16 form, so that a value
// comes back exactly whatever the code page.
//
// Inside the .reg codec, names and key paths travel as UTF-8, in a form that
// also keeps unpaired surrogates (three bytes each), so that any UTF-16 name
// survives the trip.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// The conversion the A registry functions make.
class CodePage {
public:
    virtual ~CodePage() = default;
    // ANSI bytes to UTF-16; every byte takes part, NULs included.
    virtual std::u16string ToWide(std::string_view ansi) const = 0;
    // UTF-16 to ANSI; a character the code page has no bytes for becomes '?'.
    virtual std::string ToAnsi(std::u16string_view wide) const = 0;
};

// Windows-1252, the Western code page. Its five unassigned bytes map to the C1
// controls of the same number, as Windows maps them, so any bytes survive the
// trip to UTF-16 and back.
const CodePage& Windows1252();

// True when the text comes back unchanged from the code page: the A functions
// can carry it.
bool FitsCodePage(const CodePage& codePage, std::u16string_view wide);

std::string Utf16ToUtf8(std::u16string_view wide);
// Bytes that are not UTF-8 become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);

// UTF-8 through a code page, for names shown by the A window functions.
std::string Utf8ToAnsi(const CodePage& codePage, std::string_view utf8);
std::string AnsiToUtf8(const CodePage& codePage, std::string_view ansi);
// UTF-8 through a code page, only when every character comes back the same:
// false for a character the code page lacks or writes as a look-alike (the
// best-fit mappings that turn a fullwidth "\uFF28" into "H").
bool Utf8ToAnsiExactly(const CodePage& codePage, std::string_view utf8, std::string* ansi);

// Stored string data: UTF-16 code units, little-endian. A stray last byte of
// odd-sized data is left out.
std::vector<std::uint8_t> Utf16LeBytes(std::u16string_view wide);
std::vector<std::uint8_t> Utf8ToUtf16LeBytes(std::string_view utf8);
std::u16string FromUtf16LeBytes(const std::uint8_t* data, std::size_t size);
inline std::u16string FromUtf16LeBytes(const std::vector<std::uint8_t>& data) {
    return FromUtf16LeBytes(data.data(), data.size());
}

// REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ: the types whose data the A
// functions convert.
bool IsStringType(std::uint32_t type);

// Value data between the A functions' view and the stored one: string types
// convert through the code page, every other type is the same bytes.
std::vector<std::uint8_t> AnsiDataToStored(const CodePage& codePage, std::uint32_t type,
                                           const std::uint8_t* data, std::size_t size);
std::vector<std::uint8_t> StoredDataToAnsi(const CodePage& codePage, std::uint32_t type,
                                           const std::vector<std::uint8_t>& stored);

}  // namespace vantrel
