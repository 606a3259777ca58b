#include "registry/PolicyFile.h"

#include "registry/KeyNames.h"

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

using Entry = PolicyEntry;

Entry MakeEntry(const std::string& key, const std::string& name, std::uint32_t type, const std::string& data) {
    Entry e{key, name, type, data, {}};
    std::string& out = e.bytes;
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
    return e;
}

std::vector<Entry> EntriesOf(const std::vector<RegKeyBlock>& blocks) {
    std::vector<Entry> entries;
    for (const RegKeyBlock& block : blocks) {
        if (block.remove) {
            const std::size_t cut = block.path.rfind('\\');
            const std::string parent = cut == std::string::npos ? std::string() : block.path.substr(0, cut);
            const std::string child = block.path.substr(cut == std::string::npos ? 0 : cut + 1);
            entries.push_back(MakeEntry(parent, "**DeleteKeys", reg::kSz, WideWithNul(child)));
            continue;
        }
        for (const RegValueEntry& value : block.values) {
            entries.push_back(value.remove
                                  ? MakeEntry(block.path, "**del." + value.name, reg::kSz, WideWithNul(" "))
                                  : MakeEntry(block.path, value.name, value.type,
                                              std::string(value.data.begin(), value.data.end())));
        }
    }
    return entries;
}

// The value an entry stands for, by its name: "" (no value) for the special
// entries other than "**del.<name>".
bool ValueNamed(const std::string& name, std::string* value) {
    if (name.rfind("**", 0) != 0) {
        *value = name;
        return true;
    }
    constexpr std::string_view kDel = "**del.";
    if (name.size() >= kDel.size() && SameName(name.substr(0, kDel.size()), kDel)) {
        *value = name.substr(kDel.size());
        return true;
    }
    return false;
}

bool SameValueOf(const Entry& a, const Entry& b) {
    std::string va, vb;
    return ValueNamed(a.name, &va) && ValueNamed(b.name, &vb) && SameKey(a.key, b.key) && SameName(va, vb);
}

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool Read(std::vector<Entry>* entries, std::string* error) {
        if (bytes_.size() < 8 || bytes_.substr(0, 4) != "PReg" || Number(4) != 1) {
            *error = "it does not start with the signature PReg and the version 1";
            return false;
        }
        at_ = 8;
        while (at_ < bytes_.size()) {
            const std::size_t start = at_;
            std::u16string key, name;
            std::uint32_t type = 0, size = 0;
            if (!Unit(u'[') || !Text(&key) || !Unit(u';') || !Text(&name) || !Unit(u';') || !Word(&type) ||
                !Unit(u';') || !Word(&size) || !Unit(u';') || bytes_.size() - at_ < size) {
                *error = "its entry at byte " + std::to_string(start) + " is not whole";
                return false;
            }
            const std::string data(bytes_.substr(at_, size));
            at_ += size;
            if (!Unit(u']')) {
                *error = "its entry at byte " + std::to_string(start) + " does not end with ]";
                return false;
            }
            entries->push_back({Utf16ToUtf8(key), Utf16ToUtf8(name), type, data,
                                std::string(bytes_.substr(start, at_ - start))});
        }
        return true;
    }

private:
    std::uint32_t Number(std::size_t at) const {
        return reg::DwordOf(reinterpret_cast<const std::uint8_t*>(bytes_.data() + at));
    }
    bool Unit(char16_t c) {
        if (bytes_.size() - at_ < 2 || static_cast<unsigned char>(bytes_[at_]) != (c & 0xFF) ||
            static_cast<unsigned char>(bytes_[at_ + 1]) != (c >> 8)) {
            return false;
        }
        at_ += 2;
        return true;
    }
    bool Word(std::uint32_t* n) {
        if (bytes_.size() - at_ < 4) return false;
        *n = Number(at_);
        at_ += 4;
        return true;
    }
    // UTF-16LE text up to and past its NUL.
    bool Text(std::u16string* text) {
        while (bytes_.size() - at_ >= 2) {
            const char16_t c = static_cast<char16_t>(static_cast<unsigned char>(bytes_[at_]) |
                                                     (static_cast<unsigned char>(bytes_[at_ + 1]) << 8));
            at_ += 2;
            if (c == 0) return true;
            text->push_back(c);
        }
        return false;
    }

    std::string_view bytes_;
    std::size_t at_ = 0;
};

std::string Header() {
    std::string out = "PReg";
    PutNumber(out, 1);
    return out;
}

}  // namespace

std::string WritePolicyFile(const std::vector<RegKeyBlock>& blocks) {
    std::string out = Header();
    for (const Entry& e : EntriesOf(blocks)) out += e.bytes;
    return out;
}

bool ReadPolicyFile(std::string_view bytes, std::vector<PolicyEntry>* entries, std::string* error) {
    return Reader(bytes).Read(entries, error);
}

MergedFile MergePolicyFile(std::string_view existing, const std::vector<RegKeyBlock>& blocks) {
    MergedFile merged;
    std::vector<Entry> old;
    if (!existing.empty() && !ReadPolicyFile(existing, &old, &merged.error)) {
        merged.unreadable = true;
        return merged;
    }
    const std::vector<Entry> ours = EntriesOf(blocks);
    std::vector<bool> placed(ours.size(), false);
    merged.bytes = Header();
    for (const Entry& e : old) {
        const Entry* replacement = nullptr;
        for (std::size_t i = 0; i < ours.size() && !replacement; ++i) {
            if (SameValueOf(e, ours[i])) {
                replacement = &ours[i];
                placed[i] = true;
            }
        }
        merged.bytes += replacement ? replacement->bytes : e.bytes;
        ++(replacement ? merged.replaced : merged.kept);
    }
    for (std::size_t i = 0; i < ours.size(); ++i) {
        if (placed[i]) continue;
        merged.bytes += ours[i].bytes;
        ++merged.added;
    }
    return merged;
}

}  // namespace vantrel
