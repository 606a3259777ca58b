// Carrying settings to other machines: Export Settings writes what "Apply
// Changes" would write from the pages as a .reg profile, Import Settings
// sets the pages from a profile (writing nothing), and Export for Group
// Policy writes the same values as the two Registry.pol files of a Group
// Policy object. The File menu's commands and the unattended switches share
// these pieces.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/Controls.h"
#include "app/Profile.h"
#include "app/Services.h"

namespace vantrel {

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
};

// Sets the pages from the values in a .reg file that the apply pass writes.
// Each control whose value the file holds is set as the load pass would set
// it at a fresh start, had the value been stored: its load rule runs from the
// control's state as the window is built, so a value the rule leaves alone
// gives that state (a stored "Hidden" of 0 gives an unchecked box). A value
// deleted by the file ("name"=-, or a [-key] above it) loads as absent. A
// control takes its value from the key its load pass reads; when the file
// holds it only where the apply writes it ("User Shell Folders" for a
// personal folder), from there. Organisation and owner set the Explorer
// page's boxes, not the machine's information labels. Other controls keep
// what they show. Writes nothing. A REGEDIT4 file's text is read in the given
// code page, which also turns the file's text into what the pages show.
ImportedSettings ImportSettings(Form& form1, std::string_view bytes, const CodePage& ansi = Windows1252());

// An entry of an imported file that Vantrel does not manage, as dialogs and
// the log give it.
std::string IgnoredLine(RegKey root, const std::string& path, const std::string* name);

// The File menu's commands.
void ExportSettingsCommand(Form& form1, Services& services);
void ImportSettingsCommand(Form& form1, Services& services);
void GroupPolicyCommand(Form& form1, Services& services);

// Messages shared with the unattended run.
std::string CannotReadMessage(Services& services, const std::string& path, long error);
// A file the .reg reader refused: its error (UTF-8) in the system's code
// page, then what was left alone. In one line: "\"C:\p.reg\" is not a
// registry file Vantrel can read (line 4: ...). No setting was changed.";
// with paragraphs, the error and the outcome each stand apart.
std::string MalformedMessage(const CodePage& ansi, const std::string& path, const std::string& error,
                             const std::string& outcome = "No setting was changed.", bool paragraphs = false);
std::string ExportedMessage(const std::string& path);
std::string CannotWriteMessage(Services& services, const std::string& path, long error);

}  // namespace vantrel
