// The system tools of the main window: boot.ini editor, boot and logon
// screens, cache cleanup, startup items, web links and the e-mail page.
// Each entry is called by the application at the step or click named.
#pragma once

#include <string>
#include <vector>

#include "model/Controls.h"
#include "model/Services.h"
#include "platform/Wording.h"

namespace vantrel {

// What start-up's read of "C:\boot.ini" left in the editor: the whole text,
// nothing (the file could not be read), or a text with NUL bytes, which the
// edit box cuts at the first of them.
enum class BootIniText { Read, Unreadable, HeldNul };
// Start-up step 1: the text of "C:\boot.ini" into Text4. A file that cannot be
// opened, read or created leaves Text4 empty, shows a message with the error's
// number and description, and start-up goes on. Where the computer does not
// start from boot.ini (create false), a missing file is not made: Text4 stays
// empty, without a message.
BootIniText LoadBootIni(Form& form1, Services& services, bool create = true);
// Command13_Click: "Save Changes Made to Boot.ini" after a Yes. Unless the
// whole text was read at start-up, the editor does not hold it and a save
// would replace the file with less: refused, with the reason. A refusal
// given (the computer does not start from boot.ini) is shown instead of
// anything else, and nothing is written.
void SaveBootIniClicked(Form& form1, Services& services, BootIniText loaded = BootIniText::Read,
                        const std::string& refusal = {});

enum class Screen { Boot, Logon };
// Command9_Click / Command11_Click: Browse into Text2 / Text3.
void BrowseScreen(Form& form1, Services& services, Screen screen);
// Command10_Click / Command12_Click: back up the system file, then replace it.
// A refusal given (the system files are protected here) is shown instead,
// and nothing is changed.
void ChangeScreen(Form& form1, Services& services, Screen screen, const std::string& refusal = {});

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

}  // namespace vantrel
