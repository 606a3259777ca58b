// The two switches for deployment tools that write no setting:
//   /check FILE   whether "/apply FILE" would change anything, and whether
//                 the settings FILE sets take effect on this Windows;
//   /report FILE  the Settings Status list as a CSV file.
// Each returns what the run's log gets: its lines, a closing summary and the
// exit code; the unattended run keeps the log.
#pragma once

#include <string>
#include <vector>

#include "app/Profile.h"
#include "app/Review.h"
#include "app/TargetRun.h"
#include "app/Unattended.h"

namespace vantrel {

struct UnattendedOutcome {
    std::vector<std::string> lines;
    std::string summary;
    int code = 0;
    // /check: the values /apply FILE would write with data other than they
    // hold now, in the order it writes them (what the log lists as "Would change").
    std::vector<ValueChange> changes{};
};

// /check FILE, on pages the load pass has filled and standings judged: the
// decisions of /apply FILE without its writes. FILE is imported as /apply
// imports it (the same profile folder, the same kept values), and the apply
// pass runs with the same kept values over the recording layer Review
// Changes uses, leaving unwritten the settings with no effect here; what
// that layer recorded is the answer. No file is written, nothing changes.
// Exit codes: 1 something would change (each value listed with its stored
// and would-be data); otherwise 3 when /apply would not help: a personal
// folder would be empty, values of FILE are kept as stored (FILE deletes
// them, or holds them in a form the page cannot show), entries of FILE are
// not managed by Vantrel, or settings FILE sets are set by a policy or have
// no effect here (each listed); 0 when FILE is in place as it is written and
// takes effect; 2 FILE cannot be read.
UnattendedOutcome CheckProfile(App& app, const std::string& file, const RunScope& scope = {});

// The values an apply of an imported profile leaves as they are
// (ApplySettings' keep): the values it keeps as stored and, in a run for
// another target, every value it does not hold, and the machine's once they
// were done for an earlier target.
std::vector<SkippedWrite> LeftAsTheyAre(const ImportedSettings& imported, const RunScope& scope);
// The personal-folder boxes that are empty and that such an apply would write.
std::vector<SkippedWrite> BlankFoldersToWrite(Form& form1, const ImportedSettings& imported, const RunScope& scope);

// /export FILE: the pages as a profile (app/Unattended.h gives its codes).
UnattendedOutcome ExportRun(App& app, const std::string& file);
// /apply FILE: the import, the backup and the apply pass, for the scope.
UnattendedOutcome ApplyRun(App& app, const std::string& file, const RunScope& scope = {});

// /report FILE: the Settings Status list as CSV (UTF-8 with a byte order
// mark, RFC 4180 quoting, a line of headers, then one line per setting and
// tool), written whole. Exit codes: 0 written, 2 not written.
UnattendedOutcome WriteStatusReport(App& app, const std::string& file);
// The report's lines for a target: the list's rows, each with the target's
// label in a column after the others; the header too when asked.
std::vector<std::vector<std::string>> StatusReportLines(App& app, const std::string& target, bool header);
// Writes report lines whole, as /report writes its file.
UnattendedOutcome WriteReportLines(Services& services, const std::string& file,
                                   const std::vector<std::vector<std::string>>& lines);

}  // namespace vantrel
