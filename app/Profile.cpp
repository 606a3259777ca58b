#include "app/Profile.h"

#include <algorithm>

namespace vantrel {

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto up = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };
               return up(x) == up(y);
           });
}

}  // namespace

SettingsProfile ProfileFromPages(Form& form1, Registry& reg) {
    RecordingRegistry layer(reg, RecordingRegistry::Refusals::None);
    SettingsProfile profile;
    profile.skipped = ApplySettings(form1, layer);
    profile.blocks = BlocksFromWrites(layer.writes());
    return profile;
}

std::vector<RegKeyBlock> BlocksFromWrites(const std::vector<RecordingRegistry::Write>& writes) {
    std::vector<RegKeyBlock> blocks;
    for (const RecordingRegistry::Write& w : writes) {
        auto block = std::find_if(blocks.begin(), blocks.end(), [&](const RegKeyBlock& b) {
            return b.root == w.root && SameName(b.path, w.path);
        });
        if (block == blocks.end()) block = blocks.insert(blocks.end(), RegKeyBlock{w.root, w.path, false, {}});
        RegValueEntry entry = w.remove ? RegRemovedValue(w.name) : RegValueEntry{w.name, false, w.type, w.data};
        auto value = std::find_if(block->values.begin(), block->values.end(),
                                  [&](const RegValueEntry& v) { return SameName(v.name, w.name); });
        if (value == block->values.end()) {
            block->values.push_back(std::move(entry));
        } else {
            entry.name = value->name;
            *value = std::move(entry);
        }
    }
    return blocks;
}

}  // namespace vantrel
