// The backup an apply, a restore or an unattended apply takes before it
// writes anything: the current stored value of every value the apply is
// about to write, as a version 5 .reg file in the backups folder.
#pragma once

#include <string>
#include <string_view>
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
// backups folder named by the time, asking nothing. The name is claimed in
// one step: a name another apply took meanwhile is passed over for the next
// ("Settings <time> (2).reg"), so two applies at once leave two backups.
struct BackupSaved {
    long error = 0;
    // The backup written; or the file or folder that could not be ("" when
    // the application-data folder is not known).
    std::string path;
    // Where any bytes of it were left besides the backup, in words ("" when
    // none): after a failure, or a file the write could not remove.
    std::string leftBehind;
};
// For another target than the user who runs Vantrel, `target` names it: in
// the file's name ("Settings <time> (Default profile).reg") and in a comment
// line after its header, "; Target: <target>", which Restore Backup reads.
BackupSaved SaveBackup(Services& services, const std::string& target = {});
// The target a backup names in its comment line; "" for the running user.
std::string BackupTarget(std::string_view bytes);
// Why no backup was saved, in one text: where and the error, the two parts
// joined by the separator, then any file left behind.
std::string BackupNotSaved(FileSystem& files, const BackupSaved& saved, const char* separator);

}  // namespace vantrel
