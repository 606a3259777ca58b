// Writing whole files so that a failure never leaves one cut short or lost:
// the bytes go to a new file beside each target, which then takes the
// target's place in one step, the old bytes moving to a name of their own
// until the step is done. Backups, exports, Group Policy files, boot.ini and
// the replaced screen files are all written this way, and say afterwards in
// the same words where the old and the new bytes are.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vantrel {

struct WholeFile {
    std::string path;
    std::string bytes;
};

// Where a write left things. When a step fails, at least one complete copy
// of the failed target's old or new bytes stays on disk, and every file the
// write made and could not remove is named.
// The codes of a target that is not a plain file (bit 29 marks codes of the
// program's own, "System Error Codes", learn.microsoft.com): a folder, or a
// device or link. A whole-file write never replaces such a target.
namespace filecode {
constexpr long kIsAFolder = 0x20000001;
constexpr long kNotAPlainFile = 0x20000002;
}  // namespace filecode

struct WholeFilesWritten {
    // Target: a target is not a plain file, and nothing was written at all.
    enum class Step { Target, Write, Prepare, Replace };
    long error = 0;                     // the failed step's code; 0 when every file took its place
    Step step = Step::Write;            // the step that failed
    std::string failed;                 // the target whose step failed
    std::vector<std::string> replaced;  // the targets that have their new bytes, in order
    std::string oldData;  // the failed target's old bytes: the target, or where they were moved; "" when it had none
    std::string newData;  // the file holding the failed target's whole new bytes; "" when none is kept
    std::vector<std::string> leftBehind;  // other files made and not removed (unfinished ones, old bytes)
};

// Runs for each target just before it is replaced; a code other than 0 stops
// the write there, with the target as it was.
using BeforeReplace = std::function<long(const std::string& target)>;

// Files that change together (the two Registry.pol files of a Group Policy
// object), each written whole. A target that exists and is not a plain file
// (a folder, a device, a link) stops the write before anything is written,
// with one of the codes above. Every new file is written beside its target
// first, and only when all of them are there do they take their targets'
// places, one after another. A failed write changes no target; a failed
// replace leaves the targets before it replaced.
WholeFilesWritten WriteWholeFiles(FileSystem& files, const std::vector<WholeFile>& targets,
                                  const BeforeReplace& beforeReplace = {});
WholeFilesWritten WriteWholeFile(FileSystem& files, const std::string& path, const std::string& bytes);

// A file that replaces nothing: the bytes go to a new file in the folder,
// which then takes the first free name of name(1), name(2), ... (up to the
// first "" or a thousand), each claimed in one step by a move that fails when
// the name is taken, so two writers never end on one name. replaced holds
// the name it took; when every name was taken, error is 183.
WholeFilesWritten WriteNewFile(FileSystem& files, const std::string& folder,
                               const std::function<std::string(int)>& name, const std::string& bytes);

// Where the bytes are after a write, in sentences for a message or a log
// line: "" when every file took its place and nothing was left behind.
std::string WhereTheDataIs(const WholeFilesWritten& written);

}  // namespace vantrel
