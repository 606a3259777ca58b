// Writing whole files so that a failure never leaves one cut short or lost:
// the bytes go to a new file beside each target, which then takes the
// target's place in one step. Backups, exports, Group Policy files, boot.ini
// and the replaced screen files are all written this way.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vantrel {

// Writes a whole file: the bytes go to a new file beside it, which then
// takes the file's place in one step. On failure the file is as it was (or
// still absent) and the new one is removed; when that removal fails too,
// *leftBehind names it. Returns 0 or the failed step's code.
long WriteWholeFile(FileSystem& files, const std::string& path, const std::string& bytes,
                    std::string* leftBehind = nullptr);

// Files that change together (the two Registry.pol files of a Group Policy
// object), each written whole: every new file is written beside its target
// first, and only when all of them are there do they take their targets'
// places, one after another. A failed write changes no target; a failed
// replace leaves the targets before it replaced. New files that did not take
// a target's place are removed.
struct WholeFile {
    std::string path;
    std::string bytes;
};
struct WholeFilesWritten {
    long error = 0;                       // the failed step's code; 0 when every file took its place
    std::string failed;                   // the target whose step failed
    std::vector<std::string> replaced;    // the targets that have their new bytes, in order
    std::vector<std::string> leftBehind;  // new files that could not be removed
};
WholeFilesWritten WriteWholeFiles(FileSystem& files, const std::vector<WholeFile>& targets);

}  // namespace vantrel
