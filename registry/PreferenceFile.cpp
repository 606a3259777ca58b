#include "registry/PreferenceFile.h"

#include "registry/Digits.h"

#include <string_view>

#include "registry/CodePage.h"
#include "registry/KeyNames.h"

namespace vantrel {

namespace {

// The outer and inner elements of the registry preference file and their
// class ids ([MS-GPPREF] 2.2.1.1, the table of outer and inner element names
// and CLSIDs, and the sample 4.2.22).
constexpr const char* kOuter = R"(<RegistrySettings clsid="{A3CCFC41-DFDB-43a5-8D26-0FE8B954DA51}">)";
constexpr const char* kInnerClsid = "{9CD4B2F4-923D-47f5-A062-E897DD1DAD50}";

// The type names the Properties element takes ([MS-GPPREF] 2.2.1.17.1, "type").
const char* TypeName(std::uint32_t type) {
    switch (type) {
    case reg::kSz: return "REG_SZ";
    case reg::kExpandSz: return "REG_EXPAND_SZ";
    case reg::kDword: return "REG_DWORD";
    default: return nullptr;
    }
}

bool IsSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// Text as an attribute value between double quotes, in UTF-8. Tab, line feed
// and carriage return are written as character references, so that a reader
// does not turn them into blanks (XML 1.0, attribute-value normalization).
// False for what XML 1.0 cannot hold at all: the other control characters,
// U+FFFE, U+FFFF and a surrogate without its pair.
bool AttributeText(std::u16string_view text, std::string* out) {
    out->clear();
    std::size_t run = 0;  // start of the characters not yet copied
    auto flush = [&](std::size_t end) { *out += Utf16ToUtf8(text.substr(run, end - run)); };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const char* reference = nullptr;
        switch (c) {
        case u'&': reference = "&amp;"; break;
        case u'<': reference = "&lt;"; break;
        case u'>': reference = "&gt;"; break;
        case u'"': reference = "&quot;"; break;
        case u'\t': reference = "&#9;"; break;
        case u'\n': reference = "&#10;"; break;
        case u'\r': reference = "&#13;"; break;
        default: break;
        }
        if (reference) {
            flush(i);
            *out += reference;
            run = i + 1;
            continue;
        }
        if (c < 0x20 || c == 0xFFFE || c == 0xFFFF) return false;
        if (IsSurrogate(c)) {
            const bool paired = c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
            if (!paired) return false;
            ++i;
        }
    }
    flush(text.size());
    return true;
}

// The value's data as the Properties element's "value" takes it: a string
// type's text without its closing NUL; a REG_DWORD as eight hexadecimal
// digits, as in the sample of [MS-GPPREF] 4.2.22 (value="00000001"). The
// letter case of the digits A to F is not stated there (unknown); they are
// written in upper case, as that sample writes its GUIDs.
bool ValueText(const RegValueEntry& value, std::u16string* text) {
    if (value.type == reg::kDword) {
        if (value.data.size() != 4) return false;
        *text = Utf8ToUtf16(Digits(reg::DwordOf(value.data.data()), 8, 16));
        return true;
    }
    if (value.data.size() % 2 != 0) return false;
    *text = FromUtf16LeBytes(value.data);
    if (!text->empty() && text->back() == u'\0') text->pop_back();
    return text->find(u'\0') == std::u16string::npos;
}

}  // namespace

RegWriteResult WritePreferenceFile(const std::vector<PreferenceItem>& items, const std::string& changed) {
    RegWriteResult result;
    std::string& out = result.bytes;
    out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
    out += kOuter;
    out += "\r\n";
    for (const PreferenceItem& item : items) {
        const std::string key(WithoutTrailingBackslash(item.key));
        const std::string where = "the value \"" + item.value.name + "\" of \"" + std::string(RegRootName(item.root)) +
                                  "\\" + key + "\"";
        const char* type = TypeName(item.value.type);
        if (item.value.remove || type == nullptr) {
            result.error = where + " is not a REG_SZ, REG_EXPAND_SZ or REG_DWORD value to set";
            break;
        }
        std::u16string data;
        std::string name, keyText, value, description;
        if (!ValueText(item.value, &data)) {
            result.error = where + " has data that is not a single text or number";
            break;
        }
        if (!AttributeText(Utf8ToUtf16(item.value.name), &name) || !AttributeText(Utf8ToUtf16(key), &keyText) ||
            !AttributeText(data, &value) || !AttributeText(Utf8ToUtf16(item.description), &description)) {
            result.error = where + " holds a character XML cannot carry";
            break;
        }
        // The Registry element: "name" is the item's name in the console,
        // "changed" and "uid" as in [MS-GPPREF] 4.2.22; the Properties
        // element: action, hive, key (no leading or trailing backslash),
        // name, type, value and desc, a comment ([MS-GPPREF] 2.2.1.17.1).
        // displayDecimal="1" shows a number in decimal (2.2.1.17.1).
        out += "  <Registry clsid=\"" + std::string(kInnerClsid) + "\" name=\"" + name + "\" changed=\"" + changed +
               "\" uid=\"" + item.uid + "\">\r\n";
        out += "    <Properties action=\"U\"";
        if (item.value.type == reg::kDword) out += " displayDecimal=\"1\"";
        out += " hive=\"" + std::string(RegRootName(item.root)) + "\" key=\"" + keyText + "\" name=\"" + name +
               "\" type=\"" + type + "\" value=\"" + value + "\" desc=\"" + description + "\"/>\r\n";
        out += "  </Registry>\r\n";
    }
    if (!result.ok()) {
        out.clear();
        return result;
    }
    out += "</RegistrySettings>\r\n";
    return result;
}

}  // namespace vantrel
