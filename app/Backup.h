// The backup taken before Vantrel writes settings: the current stored value
// of every value the apply pass writes, as a version 5 .reg file in the
// user's "Vantrel\Backups" folder, named by the time. Importing it (with
// regedit, or with Restore Backup) puts those values back exactly; values
// that were absent become deletions.
#pragma once

#include <string>
#include <vector>

#include "app/Services.h"
#include "registry/RegFile.h"

namespace vantrel {

// The current stored values of everything an apply writes, read with the
// wide registry functions, as .reg key blocks (absent values as deletions).
std::vector<RegKeyBlock> BackupBlocks(Registry& reg);

// "<application data>\Vantrel\Backups", or "" when the application-data
// folder is not known.
std::string BackupFolder(Environment& environment);

struct BackupFile {
    std::string path;    // the file written; "" when none was
    std::string where;   // the file or folder it was meant for
    std::string reason;  // why none was written, for a message
    bool ok() const { return !path.empty(); }
};

// Writes a backup of the values as they are stored now. Two backups within
// one second get distinct files.
BackupFile WriteBackupFile(Services& services);

}  // namespace vantrel
