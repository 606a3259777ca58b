#include "app/Profile.h"

#include <algorithm>

#include "registry/KeyNames.h"

namespace vantrel {

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
        std::vector<RegValueEntry>& values = KeyBlockFor(blocks, w.root, w.path).values;
        RegValueEntry entry = w.remove ? RegRemovedValue(w.name) : RegValueEntry{w.name, false, w.type, w.data};
        auto value = std::find_if(values.begin(), values.end(),
                                  [&](const RegValueEntry& v) { return SameName(v.name, w.name); });
        if (value == values.end()) {
            values.push_back(std::move(entry));
        } else {
            entry.name = value->name;
            *value = std::move(entry);
        }
    }
    return blocks;
}

}  // namespace vantrel
