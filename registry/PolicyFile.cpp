#include "registry/PolicyFile.h"

namespace vantrel {

namespace {

void PutNumber(std::string& out, std::uint32_t number) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((number >> (8 * i)) & 0xFF));
}

void PutUnit(std::string& out, char c) {
    out.push_back(c);
    out.push_back('\0');
}

std::string WideWithNul(const WideText& wide, std::string_view text) {
    return wide(text) + std::string(2, '\0');
}

bool IsStringType(std::uint32_t type) {
    return type == reg::kSz || type == reg::kExpandSz || type == reg::kMultiSz;
}

void PutEntry(std::string& out, const WideText& wide, const std::string& key, const std::string& name,
              std::uint32_t type, const std::string& data) {
    PutUnit(out, '[');
    out += WideWithNul(wide, key);
    PutUnit(out, ';');
    out += WideWithNul(wide, name);
    PutUnit(out, ';');
    PutNumber(out, type);
    PutUnit(out, ';');
    PutNumber(out, static_cast<std::uint32_t>(data.size()));
    PutUnit(out, ';');
    out += data;
    PutUnit(out, ']');
}

// String data is text in the ANSI code page, NULs included (one at the end,
// and between the strings of a multi-string): each part is converted and the
// NULs are kept.
std::string WideData(const WideText& wide, const std::vector<std::uint8_t>& data) {
    const std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
    std::string out;
    std::size_t start = 0;
    while (start <= bytes.size()) {
        std::size_t nul = bytes.find('\0', start);
        const bool last = nul == std::string_view::npos;
        out += wide(bytes.substr(start, last ? std::string_view::npos : nul - start));
        if (last) break;
        out += std::string(2, '\0');
        start = nul + 1;
    }
    return out;
}

}  // namespace

std::string WritePolicyFile(const std::vector<RegKeyBlock>& blocks, const WideText& wide) {
    std::string out = "PReg";
    PutNumber(out, 1);
    for (const RegKeyBlock& block : blocks) {
        if (block.remove) {
            const std::size_t cut = block.path.rfind('\\');
            const std::string parent = cut == std::string::npos ? std::string() : block.path.substr(0, cut);
            const std::string child = block.path.substr(cut == std::string::npos ? 0 : cut + 1);
            PutEntry(out, wide, parent, "**DeleteKeys", reg::kSz, WideWithNul(wide, child));
            continue;
        }
        for (const RegValueEntry& value : block.values) {
            if (value.remove) {
                PutEntry(out, wide, block.path, "**del." + value.name, reg::kSz, WideWithNul(wide, " "));
            } else if (IsStringType(value.type)) {
                PutEntry(out, wide, block.path, value.name, value.type, WideData(wide, value.data));
            } else {
                PutEntry(out, wide, block.path, value.name, value.type,
                         std::string(value.data.begin(), value.data.end()));
            }
        }
    }
    return out;
}

}  // namespace vantrel
