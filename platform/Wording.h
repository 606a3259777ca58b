// Small pieces of the words every message and log line is made of: a quoted
// path, the reason of a failed file step, a count of settings and a list at
// the end of a message. The tools, the commands and the unattended log share
// them, so that they all say things the same way.
#pragma once

#include <cstddef>
#include <ctime>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "registry/Digits.h"

namespace vantrel {

// The pieces one after another, made in one place: a message built this way
// costs the exe a call, where a chain of + costs each step's code.
std::string Joined(std::initializer_list<std::string_view> pieces);

// " (error <code>)", as the logs give a failure's code.
std::string ErrorCode(long code);

// A path as messages name it: "\"C:\boot.ini\"".
inline std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// "Error <code>: <description>" for a failed file operation, as the tools'
// messages give the reason.
std::string FileErrorReason(FileSystem& files, long code);

// A local time as "YYYY-MM-DD hh:mm:ss", the time's parts joined by
// `separator` (a backup's file name takes "-", which a file name can hold).
std::string Stamp(const std::tm& time, char separator = ':');

// "1 setting was" or "<n> settings were", as the reports count settings.
std::string SettingsCount(std::size_t n);

// A list at the end of a message: the heading after a blank line, then a
// blank line and one line each, at most twenty, then "(and N more)".
std::string ListedLines(const std::string& heading, const std::vector<std::string>& lines);

}  // namespace vantrel
