// The two switches for deployment tools that write no setting:
//   /check FILE   whether "/apply FILE" would change anything, and whether
//                 the settings FILE sets take effect on this Windows;
//   /report FILE  the Settings Status list as a CSV file.
// Each returns what the run's log gets: its lines, a closing summary and the
// exit code; the unattended run keeps the log.
#pragma once

#include <string>
#include <vector>

#include "app/Unattended.h"

namespace vantrel {

struct UnattendedOutcome {
    std::vector<std::string> lines;
    std::string summary;
    int code = 0;
};

// /check FILE, on pages the load pass has filled and standings judged: the
// apply pass as a dry run over the recording layer, after FILE is imported.
// Exit codes: 0 nothing would change and everything FILE sets takes effect;
// 1 something would change (each value listed with its stored and would-be
// data, also values of rows FILE does not hold that the pass rewrites); 3
// nothing would change, but settings FILE sets are set by a policy or have
// no effect here (each listed), or a personal folder would be empty, so an
// /apply would not help; 2 FILE cannot be read. Values FILE holds that
// Vantrel does not manage are listed and change nothing.
UnattendedOutcome CheckProfile(App& app, const std::string& file);

// /report FILE: the Settings Status list as CSV (UTF-8 with a byte order
// mark, RFC 4180 quoting, a line of headers, then one line per setting and
// tool), written whole. Exit codes: 0 written, 2 not written.
UnattendedOutcome WriteStatusReport(App& app, const std::string& file);

}  // namespace vantrel
