// The backup an apply, a restore or an unattended apply takes before it
// writes anything: the current stored value of every value the apply is
// about to write, as a version 5 .reg file in the backups folder.
#pragma once

#include <string>
#include <vector>

#include "model/Services.h"
#include "registry/RegFile.h"

namespace vantrel {

// The current stored values of everything an apply writes, read with the wide
// registry functions, as .reg key blocks (absent values as deletions):
// importing them undoes the apply, whatever the system's code page.
std::vector<RegKeyBlock> BackupBlocks(Registry& reg);
// Where backups are kept: "<application data>\Vantrel\Backups", or "" when
// the application-data folder is not known.
std::string BackupFolder(Environment& environment);
// Writes that backup, as a version 5 .reg file (UTF-16), to a new file in the
// backups folder, named by the time, asking nothing.
// Returns 0 and the file's path in *where, or the error code and the file or
// folder that could not be written ("" when the application-data folder is
// not known).
long SaveBackup(Services& services, std::string* where);
// Why no backup was saved, in one text: where and the error, the two parts
// joined by the separator.
std::string BackupNotSaved(FileSystem& files, const std::string& where, long error, const char* separator);

}  // namespace vantrel
