// A settings profile: the values "Apply Changes" would write from the pages
// as they are now, in the order it writes them. Export Settings writes it as
// a .reg file, Import Settings sets the pages from one (writing nothing), and
// Export for Group Policy writes it as the two Registry.pol files of a Group
// Policy object. The File menu's commands and the unattended switches share
// these pieces.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Controls.h"
#include "model/Services.h"
#include "registry/ProfileFolders.h"
#include "registry/RecordingRegistry.h"
#include "registry/RegFile.h"
#include "settings/TweakRow.h"

namespace vantrel {

// One setting a profile carries: its catalogue row (page, caption, root) and
// the values it writes there, in the order written.
struct ProfileSetting {
    const TweakRow* row = nullptr;
    std::vector<ValueRef> values;  // root, key and value name, as in the blocks
    // Describes this computer or this user only: a row marked localOnly, or a
    // personal folder outside the exporting user's profile.
    bool local = false;
};

struct SettingsProfile {
    std::vector<RegKeyBlock> blocks;      // one block per key, in the order of its first write
    std::vector<ProfileSetting> settings;  // the settings behind the blocks, in apply order
    std::vector<SkippedWrite> skipped;    // rows the apply would skip (a number box that does not convert)
    std::vector<SkippedWrite> unset;      // rows left out: not set on this computer (kNotSetReason)
};

extern const char* const kNotSetReason;  // "not set on this computer"

// Runs the apply pass over a recording layer that takes every write, as on a
// machine where the user may write everywhere. Nothing reaches `reg`. The
// blank-folder check is the caller's.
SettingsProfile ProfileFromPages(Form& form1, Registry& reg);

// Key blocks from recorded writes: one block per key (keys compare without
// regard to case), its values in the order first written; a value written
// again keeps its last data, a deleted one becomes a deletion.
std::vector<RegKeyBlock> BlocksFromWrites(const std::vector<RecordingRegistry::Write>& writes);

// The values an export carries: the profile of the pages, except
// - the personal folders whose box is empty, listed as skipped (an apply
//   refuses to write an empty folder, and a profile that set one would empty
//   it on every machine it reaches);
// - the settings not set on this computer (ValueIsSet), listed as unset: an
//   absent value is not exported as the default its control shows.
// A personal folder inside the exporting user's profile folder is written
// relative to it, as Windows itself keeps these folders: REG_EXPAND_SZ
// "%USERPROFILE%\Desktop" under "User Shell Folders" only ("Shell Folders"
// Windows derives from it). Other folders are written as the apply writes them.
SettingsProfile ExportProfile(Form& form1, Registry& reg, const std::string& profileFolder);
// The profile with only the chosen settings (one flag per setting).
SettingsProfile ChosenSettings(const SettingsProfile& profile, const std::vector<bool>& chosen);
// A folder path as an export writes it when it lies in the profile folder:
// RelativeToProfile (registry/ProfileFolders.h), the rule the apply to
// another target follows too.
// The other way: "%USERPROFILE%" at the start of a path, in any letter case
// and followed by a backslash or nothing, becomes the profile folder.
std::u16string ExpandProfile(const std::u16string& path, const std::u16string& profileFolder);
// The profile as a version 5 .reg file, or why a .reg file cannot hold it.
RegWriteResult ExportFile(const SettingsProfile& profile);
// Writes that file whole to path: "" when it is written, else the message
// that says why nothing was (the file system's error or the writer's reason).
// Once it is written, *leftBehind names any file the write could not remove
// (the old bytes it replaced), in a sentence; "" when none.
std::string WriteExport(Services& services, const std::string& path, const SettingsProfile& profile,
                        std::string* leftBehind);
// The settings an export left out, each with its reason: the skipped ones,
// then those not set on this computer.
std::vector<std::string> LeftOutLines(const SettingsProfile& profile);
// The message that ends an export: `done` (where it wrote), then the settings
// it left out. The warning icon only when some were skipped: a setting not
// set on this computer is no fault.
void ShowExported(Services& services, const std::string& title, const std::string& done,
                  const SettingsProfile& profile);

struct ImportedSettings {
    std::string error;                 // the parser's "line 7: ..." when the file is malformed (nothing set)
    int settings = 0;                  // controls set from the file
    std::vector<std::string> ignored;  // IgnoredLine of each entry Vantrel does not manage
    std::vector<std::string> namedControls;  // controls whose values the file sets or deletes, in file order, once each
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
// listed in kept, never turned into a default. A policy's value the file
// deletes is its "Not configured": the control is set to it, and an apply of
// the file deletes the value too. Organisation and owner set the
// Explorer page's boxes, not the machine's information labels. Other controls
// keep what they show. Writes nothing. A REGEDIT4 file's text is read in the
// given code page, which also turns the file's text into what the pages show.
// A personal folder stored as REG_EXPAND_SZ "%USERPROFILE%\..." is expanded
// with profileFolder (the folder of the user Vantrel runs as), so that the
// box shows the absolute path the apply writes. Each control set is marked
// loaded (Form::markLoaded), as a load pass marks it.
ImportedSettings ImportSettings(Form& form1, std::string_view bytes, const CodePage& ansi = Windows1252(),
                                const std::string& profileFolder = {});
// A profile file read and set on the pages as "Import Settings...", /apply
// and /check all read one: ImportSettings with the profile folder of the
// user Vantrel runs as. "" when it was read; otherwise the message that says
// why not (the file cannot be read, or is not a registry file Vantrel can
// read), and nothing is set.
// Given bytes, they are the profile, and path only names it in messages.
std::string ImportProfileFile(Form& form1, Services& services, const std::string& path, ImportedSettings* imported,
                              const std::string* bytes = nullptr);

// An entry of an imported file that Vantrel does not manage, as dialogs and
// the log give it.
std::string IgnoredLine(RegKey root, const std::string& path, const std::string* name);

}  // namespace vantrel
