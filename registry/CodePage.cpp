#include "registry/CodePage.h"

#include <array>

#include "registry/Registry.h"

namespace vantrel {

namespace {

// 0x80..0x9F of Windows-1252; the five unassigned bytes map to the C1
// control of the same number so that the mapping is one to one.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

class Western : public CodePage {
public:
    std::u16string ToWide(std::string_view ansi) const override {
        std::u16string wide;
        wide.reserve(ansi.size());
        for (const char c : ansi) {
            const auto byte = static_cast<std::uint8_t>(c);
            wide.push_back((byte >= 0x80 && byte <= 0x9F) ? kHighControls[byte - 0x80] : char16_t{byte});
        }
        return wide;
    }

    std::string ToAnsi(std::u16string_view wide) const override {
        std::string ansi;
        ansi.reserve(wide.size());
        for (std::size_t i = 0; i < wide.size(); ++i) {
            const char16_t unit = wide[i];
            // A surrogate pair is one character: one '?' for both halves.
            if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
                wide[i + 1] <= 0xDFFF) {
                ++i;
            }
            ansi.push_back(static_cast<char>(ToByte(unit)));
        }
        return ansi;
    }

private:
    static std::uint8_t ToByte(char16_t unit) {
        if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<std::uint8_t>(unit);
        for (std::size_t i = 0; i < kHighControls.size(); ++i) {
            if (kHighControls[i] == unit) return static_cast<std::uint8_t>(0x80 + i);
        }
        return '?';
    }
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace

const CodePage& Windows1252() {
    static const Western codePage;
    return codePage;
}

bool FitsCodePage(const CodePage& codePage, std::u16string_view wide) {
    return codePage.ToWide(codePage.ToAnsi(wide)) == wide;
}

std::string Utf16ToUtf8(std::u16string_view wide) {
    std::string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t c = wide[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
            ++i;
        }
        AppendUtf8(out, c);  // an unpaired surrogate keeps its own three bytes
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<std::uint8_t>(utf8[i]);
        const int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
        char32_t c = extra == 0 ? lead : extra == 1 ? (lead & 0x1F) : extra == 2 ? (lead & 0x0F) : (lead & 0x07);
        bool ok = extra >= 0 && i + extra < utf8.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const auto next = static_cast<std::uint8_t>(utf8[i + k]);
            ok = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        // Shortest forms only, and nothing beyond U+10FFFF.
        constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (!ok || c < kLeast[extra] || c > 0x10FFFF) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

namespace {

// ASCII reads the same in UTF-8 and in every ANSI code page Windows has.
bool IsAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

}  // namespace

std::string Utf8ToAnsi(const CodePage& codePage, std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    return codePage.ToAnsi(Utf8ToUtf16(utf8));
}

bool Utf8ToAnsiExactly(const CodePage& codePage, std::string_view utf8, std::string* ansi) {
    if (IsAscii(utf8)) {
        *ansi = std::string(utf8);
        return true;
    }
    const std::u16string wide = Utf8ToUtf16(utf8);
    *ansi = codePage.ToAnsi(wide);
    return codePage.ToWide(*ansi) == wide;
}

std::string AnsiToUtf8(const CodePage& codePage, std::string_view ansi) {
    if (IsAscii(ansi)) return std::string(ansi);
    return Utf16ToUtf8(codePage.ToWide(ansi));
}

std::vector<std::uint8_t> Utf16LeBytes(std::u16string_view wide) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(wide.size() * 2);
    for (const char16_t unit : wide) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

std::vector<std::uint8_t> Utf8ToUtf16LeBytes(std::string_view utf8) {
    return Utf16LeBytes(Utf8ToUtf16(utf8));
}

std::u16string FromUtf16LeBytes(const std::uint8_t* data, std::size_t size) {
    std::u16string wide;
    wide.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2) wide.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    return wide;
}

bool IsStringType(std::uint32_t type) {
    return type == reg::kSz || type == reg::kExpandSz || type == reg::kMultiSz;
}

std::vector<std::uint8_t> AnsiDataToStored(const CodePage& codePage, std::uint32_t type, const std::uint8_t* data,
                                           std::size_t size) {
    if (!IsStringType(type)) return {data, data + size};
    const std::string_view ansi(reinterpret_cast<const char*>(data), size);
    if (!IsAscii(ansi)) return Utf16LeBytes(codePage.ToWide(ansi));
    std::vector<std::uint8_t> stored(size * 2, 0);
    for (std::size_t i = 0; i < size; ++i) stored[2 * i] = data[i];
    return stored;
}

std::vector<std::uint8_t> StoredDataToAnsi(const CodePage& codePage, std::uint32_t type,
                                           const std::vector<std::uint8_t>& stored) {
    if (!IsStringType(type)) return stored;
    std::vector<std::uint8_t> ansi(stored.size() / 2);
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        if (stored[2 * i + 1] != 0 || stored[2 * i] >= 0x80) {
            const std::string text = codePage.ToAnsi(FromUtf16LeBytes(stored));
            return {text.begin(), text.end()};
        }
        ansi[i] = stored[2 * i];
    }
    return ansi;
}

}  // namespace vantrel
