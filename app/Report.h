// The words in which the apply pass and the settings commands report what
// they did, shared by their message boxes and the unattended log, so that
// both say the same thing.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"
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
// The closing message of an apply that could not make every write, and its title.
std::string PartlyAppliedMessage(const std::vector<SkippedWrite>& skipped);
extern const char* const kPartlyAppliedTitle;
// The same as one line: "<title>: <n> settings were not saved. All other ...".
std::string PartlyAppliedSummary(const std::vector<SkippedWrite>& skipped);

// "1 setting was" or "<n> settings were", as the reports count settings.
std::string SettingsCount(std::size_t n);
// A list at the end of a message: the heading after a blank line, then a
// blank line and one line each, at most twenty, then "(and N more)".
std::string ListedLines(const std::string& heading, const std::vector<std::string>& lines);

// The personal-folder rows whose box is empty, as writes the blank-folder
// check stops (reason: the check's message).
std::vector<SkippedWrite> BlankFolders(Form& form1);

}  // namespace vantrel
