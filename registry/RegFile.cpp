#include "registry/RegFile.h"

#include <array>
#include <optional>

#include "registry/KeyNames.h"

namespace vantrel {

namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kEol = "\r\n";
constexpr std::size_t kHexLineWidth = 76;  // where regedit breaks long hex data

// ---- Writing ---------------------------------------------------------------

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

// String data that a quoted string gives back exactly: one NUL, at the end,
// and no line breaks.
template <typename Text>
bool IsQuotable(const Text& text) {
    if (text.empty() || text.back() != 0) return false;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == 0 || text[i] == '\r' || text[i] == '\n') return false;
    }
    return true;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// A name the registry's functions cannot take: they end a name at its first
// NUL, and no file line can hold a line break.
bool HoldsNameBreak(std::string_view name) {
    return HasLineBreak(name) || name.find('\0') != std::string_view::npos;
}

std::string HexDigits(std::uint32_t number, int width) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    do {
        out.insert(out.begin(), kDigits[number & 0xF]);
        number >>= 4;
    } while (number != 0);
    while (static_cast<int>(out.size()) < width) out.insert(out.begin(), '0');
    return out;
}

void WriteHex(std::string& out, std::size_t lineStart, const std::vector<std::uint8_t>& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out += HexDigits(bytes[i], 2);
        if (i + 1 == bytes.size()) break;
        out.push_back(',');
        if (out.size() - lineStart > kHexLineWidth) {
            out += "\\";
            out += kEol;
            lineStart = out.size();
            out += "  ";
        }
    }
}

// Builds the text of a file: UTF-8 for a version 5 file (turned into
// UTF-16LE at the end), ANSI bytes for REGEDIT4. Anything that would not read
// back exactly stops the writing with a reason.
class Writer {
public:
    Writer(RegFormat format, const CodePage& ansi) : format_(format), ansi_(ansi) {}

    bool Block(const RegKeyBlock& block) {
        const std::string_view rootName = RegRootName(block.root);
        if (rootName.empty()) return Refuse("a key has no root key a .reg file can name");
        std::string where(rootName);
        if (!block.path.empty()) where += "\\" + block.path;
        if (HoldsNameBreak(block.path)) return Refuse("the key name \"" + where + "\" holds a line break or a NUL");
        if (!block.path.empty() && (block.path.front() == '\\' || block.path.back() == '\\' ||
                                    block.path.find("\\\\") != std::string::npos)) {
            return Refuse("the key name \"" + where + "\" has an empty part");
        }
        if (block.remove && block.path.empty()) return Refuse("a root key cannot be deleted");
        std::string name;
        if (!Text(where, name)) return Refuse("the key name \"" + where + "\" does not fit the code page");

        text_ += kEol;
        text_ += block.remove ? "[-" : "[";
        text_ += name;
        text_ += "]";
        text_ += kEol;
        if (block.remove) return true;
        for (const RegValueEntry& value : block.values) {
            if (!Value(where, value)) return false;
        }
        return true;
    }

    RegWriteResult Finish() {
        if (!error_.empty()) return {{}, error_};
        std::string header(format_ == RegFormat::Regedit4 ? kHeader4 : kHeader5);
        std::string text = header + std::string(kEol) + text_ + std::string(kEol);
        if (format_ == RegFormat::Regedit4) return {std::move(text), {}};
        const std::vector<std::uint8_t> wide = Utf8ToUtf16LeBytes(text);
        return {"\xFF\xFE" + std::string(wide.begin(), wide.end()), {}};
    }

private:
    bool Refuse(const std::string& why) {
        error_ = why;
        return false;
    }

    // A name or a text in the file's characters.
    bool Text(const std::string& utf8, std::string& out) const {
        if (format_ == RegFormat::Version5) {
            out = utf8;
            return true;
        }
        const std::u16string wide = Utf8ToUtf16(utf8);
        out = ansi_.ToAnsi(wide);
        return FitsCodePage(ansi_, wide);
    }

    bool Value(const std::string& where, const RegValueEntry& value) {
        const std::string what = "the value \"" + value.name + "\" of \"" + where + "\"";
        if (HoldsNameBreak(value.name)) return Refuse(what + " has a line break or a NUL in its name");
        std::string name;
        if (!Text(value.name, name)) return Refuse(what + " has a name that does not fit the code page");

        const std::size_t lineStart = text_.size();
        text_ += value.name.empty() ? std::string("@") : Quoted(name);
        text_.push_back('=');
        if (value.remove) {
            text_.push_back('-');
        } else if (value.type == reg::kDword && value.data.size() == 4) {
            text_ += "dword:" + HexDigits(reg::DwordOf(value.data.data()), 8);
        } else if (!IsStringType(value.type)) {
            text_ += value.type == reg::kBinary ? std::string("hex:") : "hex(" + HexDigits(value.type, 1) + "):";
            WriteHex(text_, lineStart, value.data);
        } else if (!StringData(what, value, lineStart)) {
            return false;
        }
        text_ += kEol;
        return true;
    }

    // String data: quoted when it reads back exactly that way, else as hex
    // (UTF-16LE in version 5, ANSI bytes in REGEDIT4).
    bool StringData(const std::string& what, const RegValueEntry& value, std::size_t lineStart) {
        std::vector<std::uint8_t> bytes = value.data;
        std::string quoted;
        bool quotable = false;
        if (format_ == RegFormat::Version5) {
            const std::u16string wide = FromUtf16LeBytes(value.data);
            quotable = value.data.size() % 2 == 0 && IsQuotable(wide);
            if (quotable) quoted = Utf16ToUtf8(std::u16string_view(wide).substr(0, wide.size() - 1));
        } else {
            const std::u16string wide = FromUtf16LeBytes(value.data);
            if (value.data.size() % 2 != 0 || !FitsCodePage(ansi_, wide)) {
                return Refuse(what + " holds text that does not fit the code page");
            }
            const std::string ansi = ansi_.ToAnsi(wide);
            quotable = value.type == reg::kSz && IsQuotable(ansi);
            if (quotable) quoted = ansi.substr(0, ansi.size() - 1);
            bytes.assign(ansi.begin(), ansi.end());
        }
        if (value.type == reg::kSz && quotable) {
            text_ += Quoted(quoted);
        } else {
            text_ += "hex(" + HexDigits(value.type, 1) + "):";
            WriteHex(text_, lineStart, bytes);
        }
        return true;
    }

    RegFormat format_;
    const CodePage& ansi_;
    std::string text_;
    std::string error_;
};

// ---- Parsing ---------------------------------------------------------------

struct RootName {
    std::string_view name;
    RegKey root;
};
constexpr RootName kRootNames[] = {
    {"HKEY_CLASSES_ROOT", reg::kClassesRoot},   {"HKCR", reg::kClassesRoot},
    {"HKEY_CURRENT_USER", reg::kCurrentUser},   {"HKCU", reg::kCurrentUser},
    {"HKEY_LOCAL_MACHINE", reg::kLocalMachine}, {"HKLM", reg::kLocalMachine},
    {"HKEY_USERS", reg::kUsers},                {"HKU", reg::kUsers},
    {"HKEY_CURRENT_CONFIG", reg::kCurrentConfig}, {"HKCC", reg::kCurrentConfig},
};

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameName(text.substr(0, prefix.size()), prefix);
}

// Parses the text of a file: UTF-8 when it came from UTF-16, else ANSI bytes,
// read byte by byte as Vantrel's earlier REGEDIT4 backups were written (a
// backslash escaped wherever its byte stood) and converted through the code
// page afterwards.
class Parser {
public:
    Parser(std::string_view text, bool utf8, const CodePage& ansi) : utf8_(utf8), ansi_(ansi) {
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            std::string_view line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            lines_.push_back(line);
            start = end + 1;
        }
    }

    RegParseResult Run() {
        RegParseResult result;
        if (!ReadHeader(result.format)) return Fail(result);
        format_ = result.format;
        for (++index_; index_ < lines_.size(); ++index_) {
            const std::string_view line = Trim(lines_[index_]);
            if (line.empty() || line.front() == ';') continue;
            const bool ok = line.front() == '['                      ? ReadKey(line)
                            : (line.front() == '"' || line.front() == '@') ? ReadValue(line)
                                                                      : Error("expected a [key] or a value line");
            if (!ok) return Fail(result);
        }
        result.ops = std::move(ops_);
        return result;
    }

private:
    RegParseResult Fail(RegParseResult& result) {
        result.ops.clear();
        result.error = error_;
        return result;
    }

    bool Error(const std::string& what) {
        error_ = "line " + std::to_string(index_ + 1) + ": " + what;
        return false;
    }

    int LineNumber() const { return static_cast<int>(index_ + 1); }

    bool ReadHeader(RegFormat& format) {
        for (; index_ < lines_.size(); ++index_) {
            const std::string_view line = Trim(lines_[index_]);
            if (line.empty()) continue;
            if (line == kHeader4) {
                format = RegFormat::Regedit4;
                return true;
            }
            if (line == kHeader5) {
                format = RegFormat::Version5;
                return true;
            }
            break;
        }
        if (index_ >= lines_.size()) index_ = 0;
        return Error("expected \"REGEDIT4\" or \"Windows Registry Editor Version 5.00\"");
    }

    // Names and texts of the file in UTF-8.
    std::string Utf8(std::string_view text) const { return utf8_ ? std::string(text) : AnsiToUtf8(ansi_, text); }

    std::vector<std::uint8_t> StoredText(std::string_view text) const {
        return utf8_ ? Utf8ToUtf16LeBytes(text) : Utf16LeBytes(ansi_.ToWide(text));
    }

    bool ReadKey(std::string_view line) {
        const std::size_t close = line.rfind(']');
        if (close == std::string_view::npos) return Error("expected ']' after key name");
        if (!Trim(line.substr(close + 1)).empty()) return Error("unexpected text after ']'");
        const std::string fullName = Utf8(line.substr(1, close - 1));
        if (HoldsNameBreak(fullName)) return Error("a key name cannot hold a line break or a NUL");
        std::string_view name = fullName;
        const bool remove = !name.empty() && name.front() == '-';
        if (remove) name.remove_prefix(1);

        const std::size_t slash = name.find('\\');
        const std::string_view rootName = name.substr(0, slash);
        std::string_view path = slash == std::string_view::npos ? std::string_view() : name.substr(slash + 1);
        std::optional<RegKey> root;
        for (const RootName& candidate : kRootNames) {
            if (SameName(candidate.name, rootName)) root = candidate.root;
        }
        if (!root) return Error("unknown root key \"" + std::string(rootName) + "\"");
        // One trailing backslash is allowed ("[HKCU\Software\]"); two in a row,
        // at the end too, leave an empty key name between them.
        if (!path.empty() && (path.front() == '\\' || path.find("\\\\") != std::string_view::npos)) {
            return Error("empty key name in path");
        }
        if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
        if (remove && path.empty()) return Error("a root key cannot be deleted");

        key_ = {*root, std::string(path)};
        keyRemoved_ = remove;
        hasKey_ = true;
        ops_.push_back(RegOp{remove ? RegOpKind::DeleteKey : RegOpKind::CreateKey, key_.root, key_.path, {}, reg::kNone,
                             {}, LineNumber()});
        return true;
    }

    // A quoted string starting at text[pos] == '"'; pos ends after the closing quote.
    bool ReadQuoted(std::string_view text, std::size_t& pos, std::string& out) {
        out.clear();
        for (++pos; pos < text.size(); ++pos) {
            const char c = text[pos];
            if (c == '"') {
                ++pos;
                return true;
            }
            if (c == '\\' && pos + 1 < text.size() && (text[pos + 1] == '\\' || text[pos + 1] == '"')) ++pos;
            out.push_back(text[pos]);
        }
        return Error("missing closing quote");
    }

    bool AtLineEnd(std::string_view text, std::size_t pos) {
        const std::string_view rest = Trim(text.substr(pos));
        return rest.empty() || rest.front() == ';';
    }

    bool ReadValue(std::string_view line) {
        if (!hasKey_) return Error("value line before any [key]");
        if (keyRemoved_) return Error("value line under a deleted key");
        const int valueLine = LineNumber();

        std::string name;
        std::size_t pos = 0;
        if (line.front() == '@') {
            pos = 1;
        } else if (!ReadQuoted(line, pos, name)) {
            return false;
        }
        if (HoldsNameBreak(name)) return Error("a value name cannot hold a line break or a NUL");
        while (pos < line.size() && IsSpace(line[pos])) ++pos;
        if (pos >= line.size() || line[pos] != '=') return Error("expected '=' after value name");
        ++pos;
        while (pos < line.size() && IsSpace(line[pos])) ++pos;

        RegOp op{RegOpKind::SetValue, key_.root, key_.path, Utf8(name), reg::kNone, {}, valueLine};
        const std::string_view data = line.substr(pos);
        if (!data.empty() && data.front() == '-') {
            if (!AtLineEnd(line, pos + 1)) return Error("unexpected text after '-'");
            op.kind = RegOpKind::DeleteValue;
        } else if (!data.empty() && data.front() == '"') {
            std::string text;
            if (!ReadQuoted(line, pos, text)) return false;
            if (!AtLineEnd(line, pos)) return Error("unexpected text after string");
            op.type = reg::kSz;
            op.data = StoredText(text);
            op.data.insert(op.data.end(), {0, 0});
        } else if (StartsWithIgnoringCase(data, "dword:")) {
            if (!ReadDword(line, pos + 6, op.data)) return false;
            op.type = reg::kDword;
        } else if (StartsWithIgnoringCase(data, "hex")) {
            if (!ReadHexValue(line, pos + 3, op)) return false;
        } else {
            return Error("expected a string, dword: or hex data after '='");
        }
        ops_.push_back(std::move(op));
        return true;
    }

    bool ReadDword(std::string_view line, std::size_t pos, std::vector<std::uint8_t>& data) {
        std::uint32_t number = 0;
        int digits = 0;
        for (; pos < line.size() && HexValue(line[pos]) >= 0; ++pos, ++digits) {
            number = (number << 4) | static_cast<std::uint32_t>(HexValue(line[pos]));
        }
        if (digits == 0 || digits > 8 || !AtLineEnd(line, pos)) return Error("expected 1 to 8 hex digits after dword:");
        const auto bytes = reg::DwordBytes(number);
        data.assign(bytes.begin(), bytes.end());
        return true;
    }

    // "hex:" or "hex(N):" followed by comma-separated bytes, possibly over
    // several lines joined by a trailing backslash.
    bool ReadHexValue(std::string_view line, std::size_t pos, RegOp& op) {
        op.type = reg::kBinary;
        if (pos < line.size() && line[pos] == '(') {
            const std::size_t close = line.find(')', pos);
            if (close == std::string_view::npos || close == pos + 1 || close - pos - 1 > 8) {
                return Error("expected hex(type): with a hex type number");
            }
            std::uint32_t type = 0;
            for (std::size_t i = pos + 1; i < close; ++i) {
                if (HexValue(line[i]) < 0) return Error("expected hex(type): with a hex type number");
                type = (type << 4) | static_cast<std::uint32_t>(HexValue(line[i]));
            }
            op.type = type;
            pos = close + 1;
        }
        if (pos >= line.size() || line[pos] != ':') return Error("expected ':' after hex");
        ++pos;

        std::vector<std::uint8_t> bytes;
        bool needByte = false;  // after a comma another byte must follow
        while (true) {
            while (pos < line.size() && IsSpace(line[pos])) ++pos;
            if (pos >= line.size() || line[pos] == ';') {
                if (needByte) return Error("expected a hex byte after ','");
                break;
            }
            if (line[pos] == '\\' && Trim(line.substr(pos + 1)).empty()) {
                if (index_ + 1 >= lines_.size()) return Error("file ends inside continued hex data");
                line = lines_[++index_];
                pos = 0;
                continue;
            }
            int high = HexValue(line[pos]);
            if (high < 0) return Error("expected a hex byte");
            int value = high;
            ++pos;
            if (pos < line.size() && HexValue(line[pos]) >= 0) {
                value = value * 16 + HexValue(line[pos]);
                ++pos;
            }
            bytes.push_back(static_cast<std::uint8_t>(value));
            while (pos < line.size() && IsSpace(line[pos])) ++pos;
            needByte = pos < line.size() && line[pos] == ',';
            if (needByte) {
                ++pos;
            } else if (pos < line.size() && line[pos] != ';' && line[pos] != '\\') {
                return Error("expected ',' between hex bytes");
            }
        }
        if (needByte && bytes.empty()) return Error("expected a hex byte");
        // String data in hex is UTF-16LE in version 5 files and ANSI bytes in REGEDIT4 ones.
        if (format_ == RegFormat::Regedit4 && IsStringType(op.type)) {
            bytes = Utf16LeBytes(ansi_.ToWide(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())));
        }
        op.data = std::move(bytes);
        return true;
    }

    struct Key {
        RegKey root = 0;
        std::string path;
    };

    bool utf8_;
    const CodePage& ansi_;
    std::vector<std::string_view> lines_;
    std::size_t index_ = 0;
    RegFormat format_ = RegFormat::Regedit4;
    std::vector<RegOp> ops_;
    Key key_;
    bool hasKey_ = false;
    bool keyRemoved_ = false;
    std::string error_;
};

// ---- Reading a registry ----------------------------------------------------

// The values of a key through the wide functions, names and data as stored.
void ReadValues(Registry& reg, RegKey key, std::vector<RegValueEntry>& out) {
    std::vector<char16_t> name(16384);
    std::vector<std::uint8_t> data(256);
    for (std::uint32_t index = 0;;) {
        auto nameLen = static_cast<std::uint32_t>(name.size());
        auto dataLen = static_cast<std::uint32_t>(data.size());
        std::uint32_t type = reg::kNone;
        const long status = reg.EnumValueW(key, index, name.data(), &nameLen, &type, data.data(), &dataLen);
        if (status == reg::kMoreData && dataLen > data.size()) {
            data.resize(dataLen);
            continue;  // same index again with room for the data
        }
        if (status != reg::kSuccess) return;
        out.push_back({Utf16ToUtf8(std::u16string_view(name.data(), nameLen)), false, type,
                       {data.begin(), data.begin() + dataLen}});
        ++index;
    }
}

std::vector<std::string> ReadSubkeyNames(Registry& reg, RegKey key) {
    std::vector<std::string> names;
    char name[256];
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t nameLen = sizeof name;
        if (reg.EnumKey(key, index, name, &nameLen) != reg::kSuccess) return names;
        names.emplace_back(name, nameLen);
    }
}

// path is in UTF-8; subkey names come through the A functions.
void ReadTree(Registry& reg, RegKey key, RegKey root, const std::string& path, std::vector<RegKeyBlock>& out) {
    RegKeyBlock block{root, path, false, {}};
    ReadValues(reg, key, block.values);
    if (!path.empty() || !block.values.empty()) out.push_back(std::move(block));
    for (const std::string& child : ReadSubkeyNames(reg, key)) {
        RegKey childKey = 0;
        if (reg.OpenKey(key, child, &childKey) != reg::kSuccess) continue;
        const std::string name = AnsiToUtf8(reg.codePage(), child);
        ReadTree(reg, childKey, root, path.empty() ? name : path + '\\' + name, out);
        reg.CloseKey(childKey);
    }
}

std::string ApplyFailure(const RegOp& op, const std::string& what) {
    return "line " + std::to_string(op.line) + ": " + what;
}

}  // namespace

RegValueEntry RegStringValue(std::string name, std::string_view text) {
    RegValueEntry value{std::move(name), false, reg::kSz, Utf8ToUtf16LeBytes(text)};
    value.data.insert(value.data.end(), {0, 0});
    return value;
}

RegValueEntry RegDwordValue(std::string name, std::uint32_t number) {
    const auto bytes = reg::DwordBytes(number);
    return {std::move(name), false, reg::kDword, {bytes.begin(), bytes.end()}};
}

RegValueEntry RegRemovedValue(std::string name) {
    return {std::move(name), true, reg::kNone, {}};
}

std::string_view RegRootName(RegKey root) {
    for (const RootName& name : kRootNames) {
        if (name.root == root) return name.name;  // the long name comes first
    }
    return {};
}

std::string_view RegRootShortName(RegKey root) {
    for (auto name = std::rbegin(kRootNames); name != std::rend(kRootNames); ++name) {
        if (name->root == root) return name->name;  // the short name comes second
    }
    return {};
}

RegKeyBlock& KeyBlockFor(std::vector<RegKeyBlock>& blocks, RegKey root, std::string_view path) {
    for (auto block = blocks.rbegin(); block != blocks.rend(); ++block) {
        if (block->root != root || !SameKey(block->path, path)) continue;
        if (!block->remove) return *block;
        break;  // values after a deletion of their key make it again
    }
    return blocks.emplace_back(RegKeyBlock{root, std::string(WithoutTrailingBackslash(path)), false, {}});
}

RegWriteResult WriteRegFile(const std::vector<RegKeyBlock>& blocks, RegFormat format, const CodePage& ansi) {
    Writer writer(format, ansi);
    for (const RegKeyBlock& block : blocks) {
        if (!writer.Block(block)) break;
    }
    return writer.Finish();
}

std::vector<RegKeyBlock> ReadKeyTree(Registry& reg, RegKey root, const std::string& path) {
    std::vector<RegKeyBlock> blocks;
    RegKey key = 0;
    if (reg.OpenKey(root, path, &key) != reg::kSuccess) return blocks;
    ReadTree(reg, key, root, AnsiToUtf8(reg.codePage(), WithoutTrailingBackslash(path)), blocks);
    reg.CloseKey(key);
    return blocks;
}

std::vector<RegKeyBlock> RegBlocksOf(const std::vector<RegOp>& ops) {
    std::vector<RegKeyBlock> blocks;
    for (const RegOp& op : ops) {
        switch (op.kind) {
        case RegOpKind::CreateKey:
        case RegOpKind::DeleteKey:
            blocks.push_back({op.root, op.path, op.kind == RegOpKind::DeleteKey, {}});
            break;
        case RegOpKind::SetValue:
            KeyBlockFor(blocks, op.root, op.path).values.push_back({op.name, false, op.type, op.data});
            break;
        case RegOpKind::DeleteValue:
            KeyBlockFor(blocks, op.root, op.path).values.push_back(RegRemovedValue(op.name));
            break;
        }
    }
    return blocks;
}

RegParseResult ParseRegFile(std::string_view bytes, const CodePage& ansi) {
    if (bytes.size() >= 2 && static_cast<std::uint8_t>(bytes[0]) == 0xFF && static_cast<std::uint8_t>(bytes[1]) == 0xFE) {
        const auto* units = reinterpret_cast<const std::uint8_t*>(bytes.data()) + 2;
        const std::string text = Utf16ToUtf8(FromUtf16LeBytes(units, bytes.size() - 2));
        return Parser(text, true, ansi).Run();
    }
    return Parser(bytes, false, ansi).Run();
}

long ApplyRegOp(Registry& reg, const RegOp& op, const RegKeyDeleter& deleter) {
    // Keys are opened through the A functions: a key name the code page
    // cannot carry would open another key, so it is not touched.
    const std::u16string widePath = Utf8ToUtf16(op.path);
    if (!FitsCodePage(reg.codePage(), widePath)) return reg::kBadPathname;
    const std::string path = reg.codePage().ToAnsi(widePath);
    long status = reg::kSuccess;
    RegKey key = 0;
    switch (op.kind) {
    case RegOpKind::CreateKey:
        status = reg.CreateKey(op.root, path, &key);
        break;
    case RegOpKind::SetValue:
        status = reg.CreateKey(op.root, path, &key);
        if (status == reg::kSuccess) {
            status = reg.SetValueW(key, Utf8ToUtf16(op.name), op.type, op.data.data(),
                                   static_cast<std::uint32_t>(op.data.size()));
        }
        break;
    case RegOpKind::DeleteValue:
        status = reg.OpenKey(op.root, path, &key);
        if (status == reg::kSuccess) status = reg.DeleteValueW(key, Utf8ToUtf16(op.name));
        if (status == reg::kFileNotFound) status = reg::kSuccess;  // already absent
        break;
    case RegOpKind::DeleteKey:
        status = deleter ? deleter(op.root, path) : reg::kNotSupported;
        break;
    }
    if (key != 0) reg.CloseKey(key);
    return status;
}

RegApplyResult ApplyRegOps(Registry& reg, const std::vector<RegOp>& ops, const RegKeyDeleter& deleter) {
    RegApplyResult result;
    for (const RegOp& op : ops) {
        if (op.kind == RegOpKind::DeleteKey && !deleter) {
            result.failures.push_back(ApplyFailure(op, "key deletion not supported"));
            continue;
        }
        const long status = ApplyRegOp(reg, op, deleter);
        if (status == reg::kSuccess) {
            ++result.applied;
        } else {
            result.failures.push_back(ApplyFailure(op, "error " + std::to_string(status)));
        }
    }
    return result;
}

}  // namespace vantrel
