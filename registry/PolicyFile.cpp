#include "registry/PolicyFile.h"

namespace vantrel {

namespace {

void PutNumber(std::string& out, std::uint32_t number) {
    const auto bytes = reg::DwordBytes(number);
    out.append(bytes.begin(), bytes.end());
}

void PutUnit(std::string& out, char c) {
    out.push_back(c);
    out.push_back('\0');
}

// UTF-8 text as UTF-16LE with its NUL.
std::string WideWithNul(std::string_view text) {
    const std::vector<std::uint8_t> wide = Utf8ToUtf16LeBytes(text);
    return std::string(wide.begin(), wide.end()) + std::string(2, '\0');
}

void PutEntry(std::string& out, const std::string& key, const std::string& name, std::uint32_t type,
              const std::string& data) {
    PutUnit(out, '[');
    out += WideWithNul(key);
    PutUnit(out, ';');
    out += WideWithNul(name);
    PutUnit(out, ';');
    PutNumber(out, type);
    PutUnit(out, ';');
    PutNumber(out, static_cast<std::uint32_t>(data.size()));
    PutUnit(out, ';');
    out += data;
    PutUnit(out, ']');
}

}  // namespace

std::string WritePolicyFile(const std::vector<RegKeyBlock>& blocks) {
    std::string out = "PReg";
    PutNumber(out, 1);
    for (const RegKeyBlock& block : blocks) {
        if (block.remove) {
            const std::size_t cut = block.path.rfind('\\');
            const std::string parent = cut == std::string::npos ? std::string() : block.path.substr(0, cut);
            const std::string child = block.path.substr(cut == std::string::npos ? 0 : cut + 1);
            PutEntry(out, parent, "**DeleteKeys", reg::kSz, WideWithNul(child));
            continue;
        }
        for (const RegValueEntry& value : block.values) {
            if (value.remove) {
                PutEntry(out, block.path, "**del." + value.name, reg::kSz, WideWithNul(" "));
            } else {
                PutEntry(out, block.path, value.name, value.type, std::string(value.data.begin(), value.data.end()));
            }
        }
    }
    return out;
}

}  // namespace vantrel
