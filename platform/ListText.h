// A list of rows as text for other programs: tab-separated for the
// clipboard, comma-separated (RFC 4180) for files. Both start with a line of
// column headers and end every line with CR LF.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vantrel {

// The list's columns and its rows in the given order (indexes into rows).
// A tab or line break inside a cell becomes a blank.
std::string TabSeparated(const ReviewList& list, const std::vector<std::size_t>& order);

// The lines as CSV: a field that holds a comma, a quote or a line break is
// quoted, its quotes doubled.
std::string CommaSeparated(const std::vector<std::vector<std::string>>& lines);

}  // namespace vantrel
