#include "registry/PreferenceFile.h"

#include "registry/Digits.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
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

// One Registry element for the item, or false with *error.
//
// The Registry element: "name" is the item's name in the console, "changed"
// and "uid" as in the sample of [MS-GPPREF] 4.2.22. Its common attributes
// ([MS-GPPREF] 2.2.1.1.3, the attributes every inner element may carry):
// - "desc", the item's description, which the console shows;
// - "changed", the time the item was last changed, which [MS-GPPREF] gives
//   in UTC;
// - "bypassErrors" 1: a failing item does not stop the items after it;
// - "userContext" 1 on the user's items: preferences that target users set
//   it, and an unspecified Boolean reads as 0, so that without it the item
//   runs in the system's context. Whether the Registry item's value data
//   resolves variables in that context: the editor's help for the field was
//   not found (unknown); a value with "%USERPROFILE%" is REG_EXPAND_SZ and
//   left for the reader to expand in any case.
// The Properties element ([MS-GPPREF] 2.2.1.17.1): action, hive, key (no
// leading or trailing backslash), name, type and value; displayDecimal="1"
// shows a number in decimal; default="1" names the key's default value, the
// one without a name (as "default" in the sample of 4.2.22).
bool ItemElement(const PreferenceItem& item, const std::string& changed, const std::string& uid, std::string* out,
                 std::string* error) {
    const std::string key(WithoutTrailingBackslash(item.key));
    const std::string where =
        "the value \"" + item.value.name + "\" of \"" + std::string(RegRootName(item.root)) + "\\" + key + "\"";
    const char* type = TypeName(item.value.type);
    if (item.value.remove || type == nullptr) {
        *error = where + " is not a REG_SZ, REG_EXPAND_SZ or REG_DWORD value to set";
        return false;
    }
    std::u16string data;
    std::string name, keyText, value, description;
    if (!ValueText(item.value, &data)) {
        *error = where + " has data that is not a single text or number";
        return false;
    }
    if (!AttributeText(Utf8ToUtf16(item.value.name), &name) || !AttributeText(Utf8ToUtf16(key), &keyText) ||
        !AttributeText(data, &value) || !AttributeText(Utf8ToUtf16(item.description), &description)) {
        *error = where + " holds a character XML cannot carry";
        return false;
    }
    const bool byDefault = item.value.name.empty();
    // The console's name of an item for a key's default value: no source
    // found (unknown); "(Default)", as the registry editor shows that value.
    const std::string shown = byDefault ? "(Default)" : name;
    *out = "  <Registry clsid=\"" + std::string(kInnerClsid) + "\" name=\"" + shown + "\" changed=\"" + changed +
           "\" uid=\"" + uid + "\" desc=\"" + description + "\" bypassErrors=\"1\"" +
           (item.root == reg::kCurrentUser ? " userContext=\"1\"" : "") + ">\r\n";
    *out += "    <Properties action=\"U\"";
    if (item.value.type == reg::kDword) *out += " displayDecimal=\"1\"";
    if (byDefault) *out += " default=\"1\"";
    *out += " hive=\"" + std::string(RegRootName(item.root)) + "\" key=\"" + keyText + "\" name=\"" + name +
            "\" type=\"" + type + "\" value=\"" + value + "\"/>\r\n";
    *out += "  </Registry>\r\n";
    return true;
}

constexpr const char* kHeader = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
constexpr const char* kOuterEnd = "</RegistrySettings>";

// ---- reading a Registry.xml: just enough XML to find its elements ----

struct Element {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;  // values with references resolved
    std::size_t begin = 0;                                      // its "<"
    std::size_t closeBegin = std::string::npos;                 // its end tag's "<"; npos when it closes itself
    std::size_t end = 0;                                        // past its last ">"
    std::size_t parent = std::string::npos;

    const std::string* Attribute(std::string_view n) const {
        for (const auto& [k, v] : attributes) {
            if (k == n) return &v;
        }
        return nullptr;
    }
};

void PutUtf8(std::string& out, unsigned long c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out += {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    } else if (c < 0x10000) {
        out += {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                static_cast<char>(0x80 | (c & 0x3F))};
    } else {
        out += {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
                static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    }
}

// A small reader of well-formed XML 1.0 in UTF-8 (XML 1.0, "Well-Formed XML
// Documents"): a prolog of a declaration, comments and processing
// instructions, one root element, then comments and processing instructions
// alone. No document type. Text is skipped; attribute values are resolved.
class XmlReader {
public:
    explicit XmlReader(std::string_view text) : text_(text) {}

    bool Read(std::vector<Element>* elements, std::string* error) {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") at_ = 3;
        bool rootSeen = false;
        std::vector<std::size_t> open;
        while (at_ < text_.size()) {
            if (text_[at_] != '<') {
                const std::size_t next = std::min(text_.find('<', at_), text_.size());
                if (open.empty() && text_.substr(at_, next - at_).find_first_not_of(" \t\r\n") != std::string::npos) {
                    return Fail(error, "text outside the root element");
                }
                at_ = next;
                continue;
            }
            if (Starts("<?")) {
                if (!SkipPast("?>")) return Fail(error, "an unclosed processing instruction");
                continue;
            }
            if (Starts("<!--")) {
                if (!SkipPast("-->")) return Fail(error, "an unclosed comment");
                continue;
            }
            if (Starts("<![CDATA[")) {
                if (open.empty() || !SkipPast("]]>")) return Fail(error, "a misplaced or unclosed CDATA section");
                continue;
            }
            if (Starts("<!")) return Fail(error, "a document type or other declaration");
            if (Starts("</")) {
                const std::size_t begin = at_;
                at_ += 2;
                const std::string name = Name();
                SkipBlanks();
                if (open.empty() || name != (*elements)[open.back()].name || !Take('>')) {
                    return Fail(error, "an end tag that closes no open element");
                }
                (*elements)[open.back()].closeBegin = begin;
                (*elements)[open.back()].end = at_;
                open.pop_back();
                continue;
            }
            if (open.empty() && rootSeen) return Fail(error, "a second root element");
            Element e;
            e.begin = at_++;
            e.name = Name();
            if (e.name.empty()) return Fail(error, "a tag without a name");
            e.parent = open.empty() ? std::string::npos : open.back();
            bool closed = false;
            for (;;) {
                const bool blank = SkipBlanks();
                if (Take('>')) break;
                if (Starts("/>")) {
                    at_ += 2;
                    closed = true;
                    break;
                }
                std::string name = Name(), value;
                SkipBlanks();
                if (!blank || name.empty() || !Take('=')) return Fail(error, "a malformed attribute in <" + e.name + ">");
                SkipBlanks();
                if (!Value(&value)) return Fail(error, "a malformed attribute value in <" + e.name + ">");
                e.attributes.emplace_back(std::move(name), std::move(value));
            }
            rootSeen = true;
            elements->push_back(std::move(e));
            if (closed) {
                elements->back().end = at_;
            } else {
                open.push_back(elements->size() - 1);
            }
        }
        if (!open.empty()) return Fail(error, "an element that is not closed: <" + (*elements)[open.back()].name + ">");
        if (!rootSeen) return Fail(error, "no root element");
        return true;
    }

private:
    static bool Fail(std::string* error, const std::string& what) {
        *error = "it is not well-formed XML: " + what;
        return false;
    }
    bool Starts(std::string_view s) const { return text_.substr(at_, s.size()) == s; }
    bool Take(char c) {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool SkipPast(std::string_view s) {
        const std::size_t found = text_.find(s, at_);
        if (found == std::string_view::npos) return false;
        at_ = found + s.size();
        return true;
    }
    bool SkipBlanks() {
        const std::size_t start = at_;
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r' || text_[at_] == '\n'))
            ++at_;
        return at_ != start;
    }
    std::string Name() {
        const std::size_t start = at_;
        auto nameChar = [](unsigned char c) {
            return std::isalnum(c) || c == '_' || c == ':' || c == '-' || c == '.' || c >= 0x80;
        };
        while (at_ < text_.size() && nameChar(static_cast<unsigned char>(text_[at_]))) ++at_;
        const std::string name(text_.substr(start, at_ - start));
        if (!name.empty() && (std::isdigit(static_cast<unsigned char>(name[0])) || name[0] == '-' || name[0] == '.'))
            return {};
        return name;
    }
    // A quoted attribute value, its references resolved.
    bool Value(std::string* value) {
        if (at_ >= text_.size() || (text_[at_] != '"' && text_[at_] != '\'')) return false;
        const char quote = text_[at_++];
        while (at_ < text_.size() && text_[at_] != quote) {
            const char c = text_[at_];
            if (c == '<') return false;
            if (c != '&') {
                value->push_back(c);
                ++at_;
                continue;
            }
            const std::size_t semi = text_.find(';', at_);
            if (semi == std::string_view::npos) return false;
            const std::string_view ref = text_.substr(at_ + 1, semi - at_ - 1);
            at_ = semi + 1;
            static const std::pair<std::string_view, char> kNamed[] = {
                {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
            bool named = false;
            for (const auto& [n, ch] : kNamed) {
                if (ref == n) {
                    value->push_back(ch);
                    named = true;
                }
            }
            if (named) continue;
            if (ref.size() < 2 || ref[0] != '#') return false;
            const bool hex = ref[1] == 'x';
            const std::string digits(ref.substr(hex ? 2 : 1));
            if (digits.empty() || digits.size() > 6 ||
                digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") != std::string::npos)
                return false;
            const unsigned long code = std::strtoul(digits.c_str(), nullptr, hex ? 16 : 10);
            if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
            PutUtf8(*value, code);
        }
        return Take(quote);
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

// Whether a Registry element's Properties name the item's value.
bool Names(const std::vector<Element>& elements, std::size_t registry, const PreferenceItem& item) {
    for (std::size_t i = registry + 1; i < elements.size() && elements[i].begin < elements[registry].end; ++i) {
        const Element& p = elements[i];
        if (p.parent != registry || p.name != "Properties") continue;
        const std::string* hive = p.Attribute("hive");
        const std::string* key = p.Attribute("key");
        const std::string* name = p.Attribute("name");
        const std::string* byDefault = p.Attribute("default");
        const std::string valueName = byDefault && *byDefault == "1" ? std::string() : name ? *name : std::string();
        std::string_view keyPath = key ? std::string_view(*key) : std::string_view();
        while (!keyPath.empty() && keyPath.front() == '\\') keyPath.remove_prefix(1);
        return hive && SameName(*hive, RegRootName(item.root)) && SameKey(keyPath, item.key) &&
               SameName(valueName, item.value.name);
    }
    return false;
}

}  // namespace

RegWriteResult WritePreferenceFile(const std::vector<PreferenceItem>& items, const std::string& changed) {
    RegWriteResult result;
    std::string& out = result.bytes;
    out = kHeader;
    out += kOuter;
    out += "\r\n";
    for (const PreferenceItem& item : items) {
        std::string element;
        if (!ItemElement(item, changed, item.uid, &element, &result.error)) {
            out.clear();
            return result;
        }
        out += element;
    }
    out += kOuterEnd;
    out += "\r\n";
    return result;
}

MergedFile MergePreferenceFile(std::string_view existing, const std::vector<PreferenceItem>& items,
                               const std::string& changed) {
    MergedFile merged;
    if (existing.empty()) {
        const RegWriteResult whole = WritePreferenceFile(items, changed);
        merged.bytes = whole.bytes;
        merged.error = whole.error;
        merged.added = whole.ok() ? items.size() : 0;
        return merged;
    }
    std::vector<Element> elements;
    if (!XmlReader(existing).Read(&elements, &merged.error)) {
        merged.unreadable = true;
        return merged;
    }
    const Element& root = elements.front();
    if (root.name != "RegistrySettings") {
        merged.error = "its root element is <" + root.name + ">, not <RegistrySettings>";
        merged.unreadable = true;
        return merged;
    }
    std::vector<bool> placed(items.size(), false);
    std::string out;
    std::size_t copied = 0;  // existing bytes copied so far
    std::size_t skipUntil = 0;
    for (std::size_t i = 1; i < elements.size(); ++i) {
        const Element& e = elements[i];
        if (e.name != "Registry" || e.begin < skipUntil) continue;
        std::size_t match = items.size();
        for (std::size_t k = 0; k < items.size() && match == items.size(); ++k) {
            if (Names(elements, i, items[k])) match = k;
        }
        if (match == items.size()) {
            ++merged.kept;
            continue;
        }
        const std::string* uid = e.Attribute("uid");
        std::string element;
        if (!ItemElement(items[match], changed, uid ? *uid : items[match].uid, &element, &merged.error)) {
            merged.bytes.clear();
            return merged;
        }
        // The item takes the element's place, from its "<" to past its end;
        // the indentation before it stays.
        while (!element.empty() && element.front() == ' ') element.erase(0, 1);
        while (!element.empty() && (element.back() == '\r' || element.back() == '\n')) element.pop_back();
        out.append(existing.substr(copied, e.begin - copied));
        out += element;
        copied = skipUntil = e.end;
        placed[match] = true;
        ++merged.replaced;
    }
    std::string added;
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (placed[k]) continue;
        std::string element;
        if (!ItemElement(items[k], changed, items[k].uid, &element, &merged.error)) {
            merged.bytes.clear();
            return merged;
        }
        added += element;
        ++merged.added;
    }
    if (root.closeBegin == std::string::npos) {
        // <RegistrySettings .../>: it opens and closes round the added items.
        const std::size_t slash = existing.rfind("/>", root.end);
        out.append(existing.substr(copied, slash - copied));
        out += ">\r\n" + added + kOuterEnd;
        copied = root.end;
    } else {
        out.append(existing.substr(copied, root.closeBegin - copied));
        if (!added.empty() && !out.empty() && out.back() != '\n') out += "\r\n";
        out += added;
        copied = root.closeBegin;
    }
    out.append(existing.substr(copied));
    merged.bytes = std::move(out);
    return merged;
}

}  // namespace vantrel
