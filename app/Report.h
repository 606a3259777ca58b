// The words in which the apply pass and the settings commands report what
// they did, shared by their message boxes and the unattended log, so that
// both say the same thing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "model/Services.h"
#include "platform/Wording.h"
#include "registry/CodePage.h"
#include "settings/Standing.h"
#include "settings/TweakRow.h"

namespace vantrel {

extern const char* const kAppliedMessage;      // the closing message of a whole apply
extern const char* const kBlankFolderMessage;  // the blank-folder check's message
extern const char* const kBlankFolderTitle;

// The writes an apply could not make, each refused one with the system's
// words for the registry's code after its reason.
std::vector<SkippedWrite> Worded(std::vector<SkippedWrite> skipped, FileSystem& files);
// The reason of a write the registry refused with this code:
// "the registry refused the write: <the system's words>".
std::string RefusedReason(FileSystem& files, long status);
// One write that was not made: "Explorer - Enable Net Send: <reason>".
std::string SkippedLine(const SkippedWrite& skipped);
// The same for each of a list of writes.
std::vector<std::string> SkippedLines(const std::vector<SkippedWrite>& skipped);
// The closing message of an apply that could not make every write, and its title.
std::string PartlyAppliedMessage(const std::vector<SkippedWrite>& skipped);
extern const char* const kPartlyAppliedTitle;
// The same as one line: "<title>: <n> settings were not saved. All other ...".
std::string PartlyAppliedSummary(const std::vector<SkippedWrite>& skipped);

// One line for each setting the apply pass manages that is set by a policy
// ("Explorer - ...: Set by policy: ...") and then for each that has no
// effect on this Windows ("Not written: General Options - Run: Not used by
// ..."), as the unattended log lists them; given controls, only theirs.
std::vector<std::string> StandingLines(const Standings& standings, const std::vector<std::string>* controls = nullptr);

// The personal-folder rows whose box is empty, as writes the blank-folder
// check stops (reason: the check's message).
std::vector<SkippedWrite> BlankFolders(Form& form1);

// The messages of the commands that read and write files, shared with the
// unattended run.
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
