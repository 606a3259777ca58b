#include "registry/RegFile.h"

#include <array>
#include <optional>

namespace vantrel {

namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kEol = "\r\n";
constexpr std::size_t kHexLineWidth = 76;  // where regedit breaks long hex data

// ---- ANSI (Windows-1252) <-> UTF-16 ---------------------------------------

// 0x80..0x9F of Windows-1252; the five unassigned bytes map to the C1
// control of the same number so that the mapping is one to one.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t ByteToUnit(std::uint8_t byte) {
    return (byte >= 0x80 && byte <= 0x9F) ? kHighControls[byte - 0x80] : char16_t{byte};
}

std::uint8_t UnitToByte(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<std::uint8_t>(unit);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == unit) return static_cast<std::uint8_t>(0x80 + i);
    }
    return '?';
}

std::string Utf16LeToAnsi(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                                (static_cast<std::uint8_t>(bytes[i + 1]) << 8));
        if (unit >= 0xDC00 && unit <= 0xDFFF) continue;  // second half of a pair: one '?' for both
        text.push_back(static_cast<char>(UnitToByte(unit)));
    }
    return text;
}


bool IsStringType(std::uint32_t type) {
    return type == reg::kSz || type == reg::kExpandSz || type == reg::kMultiSz;
}

// String data in hex form is UTF-16LE in version 5 files.
std::vector<std::uint8_t> StringDataToFile(const std::vector<std::uint8_t>& data) {
    const std::string wide = AnsiToUtf16Le(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    return {wide.begin(), wide.end()};
}

std::vector<std::uint8_t> StringDataFromFile(const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> out;
    out.reserve(data.size() / 2 + 1);
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        out.push_back(UnitToByte(static_cast<char16_t>(data[i] | (data[i + 1] << 8))));
    }
    if (data.size() % 2 != 0) out.push_back(data.back());  // a stray last byte is kept as it is
    return out;
}

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

// REG_SZ data that a quoted string gives back exactly: one NUL, at the end,
// and no line breaks.
bool IsQuotable(const std::vector<std::uint8_t>& data) {
    if (data.empty() || data.back() != 0) return false;
    for (std::size_t i = 0; i + 1 < data.size(); ++i) {
        if (data[i] == 0 || data[i] == '\r' || data[i] == '\n') return false;
    }
    return true;
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

void WriteValue(std::string& out, const RegValueEntry& value, RegFormat format) {
    const std::size_t lineStart = out.size();
    out += value.name.empty() ? std::string("@") : Quoted(value.name);
    out.push_back('=');
    if (value.remove) {
        out.push_back('-');
    } else if (value.type == reg::kSz && IsQuotable(value.data)) {
        out += Quoted(std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size() - 1));
    } else if (value.type == reg::kDword && value.data.size() == 4) {
        const std::uint32_t number = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                                     (std::uint32_t{value.data[3]} << 24);
        out += "dword:" + HexDigits(number, 8);
    } else {
        out += value.type == reg::kBinary ? std::string("hex:") : "hex(" + HexDigits(value.type, 1) + "):";
        const bool wide = format == RegFormat::Version5 && IsStringType(value.type);
        WriteHex(out, lineStart, wide ? StringDataToFile(value.data) : value.data);
    }
    out += kEol;
}

// ---- Parsing ---------------------------------------------------------------

struct RootName {
    std::string_view name;
    RegKey root;
};
constexpr RootName kRootNames[] = {
    {"HKEY_CURRENT_USER", reg::kCurrentUser},
    {"HKCU", reg::kCurrentUser},
    {"HKEY_LOCAL_MACHINE", reg::kLocalMachine},
    {"HKLM", reg::kLocalMachine},
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto fold = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

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
    return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

class Parser {
public:
    explicit Parser(std::string_view text) {
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

    bool ReadKey(std::string_view line) {
        const std::size_t close = line.rfind(']');
        if (close == std::string_view::npos) return Error("expected ']' after key name");
        if (!Trim(line.substr(close + 1)).empty()) return Error("unexpected text after ']'");
        std::string_view name = line.substr(1, close - 1);
        const bool remove = !name.empty() && name.front() == '-';
        if (remove) name.remove_prefix(1);

        const std::size_t slash = name.find('\\');
        const std::string_view rootName = name.substr(0, slash);
        std::string_view path = slash == std::string_view::npos ? std::string_view() : name.substr(slash + 1);
        if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
        std::optional<RegKey> root;
        for (const RootName& candidate : kRootNames) {
            if (EqualsIgnoringCase(candidate.name, rootName)) root = candidate.root;
        }
        if (!root) return Error("unknown root key \"" + std::string(rootName) + "\"");
        if (!path.empty() && (path.front() == '\\' || path.find("\\\\") != std::string_view::npos)) {
            return Error("empty key name in path");
        }
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
        while (pos < line.size() && IsSpace(line[pos])) ++pos;
        if (pos >= line.size() || line[pos] != '=') return Error("expected '=' after value name");
        ++pos;
        while (pos < line.size() && IsSpace(line[pos])) ++pos;

        RegOp op{RegOpKind::SetValue, key_.root, key_.path, name, reg::kNone, {}, valueLine};
        const std::string_view data = line.substr(pos);
        if (!data.empty() && data.front() == '-') {
            if (!AtLineEnd(line, pos + 1)) return Error("unexpected text after '-'");
            op.kind = RegOpKind::DeleteValue;
        } else if (!data.empty() && data.front() == '"') {
            std::string text;
            if (!ReadQuoted(line, pos, text)) return false;
            if (!AtLineEnd(line, pos)) return Error("unexpected text after string");
            op.type = reg::kSz;
            op.data.assign(text.begin(), text.end());
            op.data.push_back(0);
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
        data = {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
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
        op.data = (format_ == RegFormat::Version5 && IsStringType(op.type)) ? StringDataFromFile(bytes)
                                                                          : std::move(bytes);
        return true;
    }

    struct Key {
        RegKey root = 0;
        std::string path;
    };

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

void ReadValues(Registry& reg, RegKey key, std::vector<RegValueEntry>& out) {
    std::vector<char> name(16384);
    std::vector<std::uint8_t> data(256);
    for (std::uint32_t index = 0;;) {
        auto nameLen = static_cast<std::uint32_t>(name.size());
        auto dataLen = static_cast<std::uint32_t>(data.size());
        std::uint32_t type = reg::kNone;
        const long status = reg.EnumValue(key, index, name.data(), &nameLen, &type, data.data(), &dataLen);
        if (status == reg::kMoreData && dataLen > data.size()) {
            data.resize(dataLen);
            continue;  // same index again with room for the data
        }
        if (status != reg::kSuccess) return;
        out.push_back({std::string(name.data(), nameLen), false, type, {data.begin(), data.begin() + dataLen}});
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

void ReadTree(Registry& reg, RegKey key, RegKey root, const std::string& path, std::vector<RegKeyBlock>& out) {
    RegKeyBlock block{root, path, false, {}};
    ReadValues(reg, key, block.values);
    if (!path.empty() || !block.values.empty()) out.push_back(std::move(block));
    for (const std::string& child : ReadSubkeyNames(reg, key)) {
        RegKey childKey = 0;
        if (reg.OpenKey(key, child, &childKey) != reg::kSuccess) continue;
        ReadTree(reg, childKey, root, path.empty() ? child : path + '\\' + child, out);
        reg.CloseKey(childKey);
    }
}

std::string ApplyFailure(const RegOp& op, const std::string& what) {
    return "line " + std::to_string(op.line) + ": " + what;
}

}  // namespace

std::string AnsiToUtf16Le(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (const char c : text) {
        const char16_t unit = ByteToUnit(static_cast<std::uint8_t>(c));
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

RegValueEntry RegStringValue(std::string name, std::string_view text) {
    RegValueEntry value{std::move(name), false, reg::kSz, {text.begin(), text.end()}};
    value.data.push_back(0);
    return value;
}

RegValueEntry RegDwordValue(std::string name, std::uint32_t number) {
    return {std::move(name), false, reg::kDword,
            {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
             static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
}

RegValueEntry RegRemovedValue(std::string name) {
    return {std::move(name), true, reg::kNone, {}};
}

std::string_view RegRootName(RegKey root) {
    if (root == reg::kCurrentUser) return "HKEY_CURRENT_USER";
    if (root == reg::kLocalMachine) return "HKEY_LOCAL_MACHINE";
    return {};
}

std::string WriteRegFile(const std::vector<RegKeyBlock>& blocks, RegFormat format) {
    std::string text(format == RegFormat::Regedit4 ? kHeader4 : kHeader5);
    text += kEol;
    for (const RegKeyBlock& block : blocks) {
        text += kEol;
        text += block.remove ? "[-" : "[";
        text += RegRootName(block.root);
        if (!block.path.empty()) text += "\\" + block.path;
        text += "]";
        text += kEol;
        if (block.remove) continue;
        for (const RegValueEntry& value : block.values) WriteValue(text, value, format);
    }
    text += kEol;
    if (format == RegFormat::Regedit4) return text;
    return "\xFF\xFE" + AnsiToUtf16Le(text);
}

std::vector<RegKeyBlock> ReadKeyTree(Registry& reg, RegKey root, const std::string& path) {
    std::vector<RegKeyBlock> blocks;
    RegKey key = 0;
    if (reg.OpenKey(root, path, &key) != reg::kSuccess) return blocks;
    std::string clean = path;
    if (!clean.empty() && clean.back() == '\\') clean.pop_back();
    ReadTree(reg, key, root, clean, blocks);
    reg.CloseKey(key);
    return blocks;
}

RegParseResult ParseRegFile(std::string_view bytes) {
    if (bytes.size() >= 2 && static_cast<std::uint8_t>(bytes[0]) == 0xFF && static_cast<std::uint8_t>(bytes[1]) == 0xFE) {
        const std::string text = Utf16LeToAnsi(bytes.substr(2));
        return Parser(text).Run();
    }
    return Parser(bytes).Run();
}

RegApplyResult ApplyRegOps(Registry& reg, const std::vector<RegOp>& ops, const RegKeyDeleter& deleter) {
    RegApplyResult result;
    for (const RegOp& op : ops) {
        long status = reg::kSuccess;
        RegKey key = 0;
        switch (op.kind) {
        case RegOpKind::CreateKey:
            status = reg.CreateKey(op.root, op.path, &key);
            break;
        case RegOpKind::SetValue:
            status = reg.CreateKey(op.root, op.path, &key);
            if (status == reg::kSuccess) {
                status = reg.SetValue(key, op.name, op.type, op.data.data(), static_cast<std::uint32_t>(op.data.size()));
            }
            break;
        case RegOpKind::DeleteValue:
            status = reg.OpenKey(op.root, op.path, &key);
            if (status == reg::kSuccess) status = reg.DeleteValue(key, op.name);
            if (status == reg::kFileNotFound) status = reg::kSuccess;  // already absent
            break;
        case RegOpKind::DeleteKey:
            if (!deleter) {
                result.failures.push_back(ApplyFailure(op, "key deletion not supported"));
                continue;
            }
            status = deleter(op.root, op.path);
            break;
        }
        if (key != 0) reg.CloseKey(key);
        if (status == reg::kSuccess) {
            ++result.applied;
        } else {
            result.failures.push_back(ApplyFailure(op, "error " + std::to_string(status)));
        }
    }
    return result;
}

}  // namespace vantrel
