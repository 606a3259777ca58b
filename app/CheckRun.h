// The two switches for deployment tools that write no setting:
//   /check FILE   whether "/apply FILE" would change anything, and whether
//                 the settings FILE sets take effect on this Windows;
//   /report FILE  the Settings Status list as a CSV file.
// Each returns what the run's log gets: its lines, a closing summary and the
// exit code; the unattended run keeps the log.
#pragma once

#include <string>
#include <vector>

#include "app/Review.h"
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
UnattendedOutcome CheckProfile(App& app, const std::string& file);

// /report FILE: the Settings Status list as CSV (UTF-8 with a byte order
// mark, RFC 4180 quoting, a line of headers, then one line per setting and
// tool), written whole. Exit codes: 0 written, 2 not written.
UnattendedOutcome WriteStatusReport(App& app, const std::string& file);

}  // namespace vantrel
