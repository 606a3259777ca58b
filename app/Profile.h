// A settings profile: the values "Apply Changes" would write from the pages
// as they are now, in the order it writes them. Export Settings writes it as
// a .reg file, Import Settings sets the pages from one (writing nothing), and
// Export for Group Policy writes it as the two Registry.pol files of a Group
// Policy object. The File menu's commands and the unattended switches share
// these pieces.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/Controls.h"
#include "model/Services.h"
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

// The values an export carries: the profile of the pages, except the
// personal folders whose box is empty, which are listed as skipped (an
// apply refuses to write an empty folder, and a profile that set one would
// empty it on every machine it reaches).
SettingsProfile ExportProfile(Form& form1, Registry& reg);
// The profile as a version 5 .reg file, or why a .reg file cannot hold it.
RegWriteResult ExportFile(const SettingsProfile& profile);
// Writes that file whole to path: "" when it is written, else the message
// that says why nothing was (the file system's error or the writer's reason).
std::string WriteExport(Services& services, const std::string& path, const SettingsProfile& profile);

struct ImportedSettings {
    std::string error;                 // the parser's "line 7: ..." when the file is malformed (nothing set)
    int settings = 0;                  // controls set from the file
    std::vector<std::string> ignored;  // IgnoredLine of each entry Vantrel does not manage
    // Settings the file names but that an apply could not write as the file
    // holds them: their controls are left as they are, and an apply of the
    // file writes nothing for them (ApplySettings' keep).
    std::vector<SkippedWrite> kept;
};

// Sets the pages from the values in a .reg file that the apply pass writes.
// Each control whose value the file holds is set as the load pass would set
// it at a fresh start, had the value been stored: its load rule runs from the
// control's state as the window is built, so a value the rule leaves alone
// gives that state (a stored "Hidden" of 0 gives an unchecked box). A control
// takes its value from the key its load pass reads; when the file holds it
// only where the apply writes it ("User Shell Folders" for a personal
// folder), from there. A setting the apply could not then write as the file
// holds it (the file deletes the value, "name"=- or a [-key] above it, or
// holds one the page cannot show, such as a "Hidden" of 5) is not set but
// listed in kept, never turned into a default. Organisation and owner set the
// Explorer page's boxes, not the machine's information labels. Other controls
// keep what they show. Writes nothing. A REGEDIT4 file's text is read in the
// given code page, which also turns the file's text into what the pages show.
ImportedSettings ImportSettings(Form& form1, std::string_view bytes, const CodePage& ansi = Windows1252());

// An entry of an imported file that Vantrel does not manage, as dialogs and
// the log give it.
std::string IgnoredLine(RegKey root, const std::string& path, const std::string* name);

}  // namespace vantrel
