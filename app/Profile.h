// A settings profile: the values "Apply Changes" would write from the pages
// as they are now, in the order it writes them. Export writes it as a .reg
// file; the deployment commands carry it to other machines.
#pragma once

#include <vector>

#include "app/Controls.h"
#include "registry/RecordingRegistry.h"
#include "registry/RegFile.h"
#include "settings/TweakRow.h"

namespace vantrel {

struct SettingsProfile {
    std::vector<RegKeyBlock> blocks;   // one block per key, in the order of its first write
    std::vector<SkippedWrite> skipped;  // rows the apply would skip (a number box that does not convert)
};

// Runs the apply pass over a recording layer that takes every write, as on a
// machine where the user may write everywhere. Nothing reaches `reg`. The
// blank-folder check is the caller's.
SettingsProfile ProfileFromPages(Form& form1, Registry& reg);

// Key blocks from recorded writes: one block per key (keys compare without
// regard to case), its values in the order first written; a value written
// again keeps its last data, a deleted one becomes a deletion.
std::vector<RegKeyBlock> BlocksFromWrites(const std::vector<RecordingRegistry::Write>& writes);

}  // namespace vantrel
