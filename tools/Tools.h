// The system tools of the main window: boot.ini editor, boot and logon
// screens, cache cleanup, startup items, web links and the e-mail page.
// Each entry is called by the application at the step or click named.
#pragma once

#include <string>
#include <vector>

#include "app/Controls.h"
#include "app/Services.h"

namespace vantrel {

// What start-up's read of "C:\boot.ini" left in the editor: the whole text,
// nothing (the file could not be read), or a text with NUL bytes, which the
// edit box cuts at the first of them.
enum class BootIniText { Read, Unreadable, HeldNul };
// Start-up step 1: the text of "C:\boot.ini" into Text4. A file that cannot be
// opened, read or created leaves Text4 empty, shows a message with the error's
// number and description, and start-up goes on.
BootIniText LoadBootIni(Form& form1, Services& services);
// Command13_Click: "Save Changes Made to Boot.ini" after a Yes. Unless the
// whole text was read at start-up, the editor does not hold it and a save
// would replace the file with less: refused, with the reason.
void SaveBootIniClicked(Form& form1, Services& services, BootIniText loaded = BootIniText::Read);

enum class Screen { Boot, Logon };
// Command9_Click / Command11_Click: Browse into Text2 / Text3.
void BrowseScreen(Form& form1, Services& services, Screen screen);
// Command10_Click / Command12_Click: back up the system file, then replace it.
void ChangeScreen(Form& form1, Services& services, Screen screen);

enum class CacheFolder { History, Cookies, TemporaryInternetFiles };
// Command14_Click / Command15_Click / Command16_Click.
void ClearCache(Services& services, CacheFolder folder);

// Form_Load of the splash window: fills List3 (current user) and List2 (local
// machine) of the main window from the two Run keys, printing status lines on
// the splash window.
void LoadStartupItems(Form& form1, Form& form2, Services& services);
// Command19_Click / Command17_Click (localMachine): Add Item.
void AddStartupItem(Form& form1, Services& services, bool localMachine);
// Command18_Click / Command20_Click (localMachine): Remove Item.
void RemoveStartupItem(Form& form1, Services& services, bool localMachine);

// vco_Click / cfvntu_Click.
void OpenHomePage(Services& services);
void OpenUpdatePage(Services& services);
// The maker's addresses, in one place (also shown on the About page).
extern const char* const kHomePageAddress;
extern const char* const kUpdatePageAddress;

// Start-up step 8: the two security zone texts into Combo1.
void FillZoneList(Form& form1);
// Check20_Click / Check24_Click: the pair of which at most one is ticked.
void EmailCheckClicked(Form& form1, const std::string& name);

// "Error <code>: <description>" for a failed file operation, as the tools'
// messages give the reason.
std::string FileErrorReason(FileSystem& files, long code);
// A path as messages name it: "\"C:\boot.ini\"".
inline std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// Writes a whole file so that a failure never leaves it cut short or lost:
// the bytes go to a new file beside it, which then takes the file's place in
// one step. On failure the file is as it was (or still absent) and the new
// one is removed; when that removal fails too, *leftBehind names it. Returns
// 0 or the failed step's code.
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
