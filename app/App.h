// The application: the two windows' models, start-up, navigation, the apply
// pass and the routing of every click, menu command and node click to its
// handler. The Win32 front end and the tests drive it through these entries.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Controls.h"
#include "app/Services.h"
#include "registry/RegFile.h"
#include "tools/Tools.h"

namespace vantrel {

class App {
public:
    explicit App(Services& services);

    Form& form1() { return *form1_; }
    Form& form2() { return *form2_; }
    Services& services() { return services_; }

    // Start-up (Form_Load of the main window). Throws VbError when a step
    // fails; the first run's caller shows the error and ends the process.
    void Form_Load();

    // A click on a button, check box or option button (by control name).
    void Click(const std::string& control);
    // A menu command by menu name ("home", "sc", "exp", ...). Opening the
    // View menu's "input", "task" and "access" submenus is reported here too.
    void Menu(const std::string& item);
    // A click on a tree node, by key.
    void NodeClick(const std::string& key);
    // Told the name of each start-up step as it ends (for profiling); none by default.
    void setStepObserver(std::function<void(const char*)> observer) { stepObserver_ = std::move(observer); }

    // A tick of the splash window's timer.
    void Timer1_Timer();

    // The apply pass ("Apply Changes" and File > "Save Changes").
    void apply_Click();
    // File > "Review Changes...": what the apply pass would change, and a
    // way on to it.
    void ReviewChanges();
    // File > "Restore Backup...": a backup's values that Vantrel manages,
    // reviewed, then written after a new backup; the pages are read again.
    void RestoreBackup();

    // Shows one of Frame2 to Frame20 and hides the others.
    void ShowPage(const std::string& frame);
    // The visible page frame, "" when none.
    std::string VisiblePage();

    // Where the last apply saved its backup ("" when none was written).
    const std::string& lastBackup() const { return lastBackup_; }

private:
    void ShowSplash();
    void EndProgram();
    bool WriteBackup();
    // The apply pass's blank-folder check: false, after the warning and a
    // second start-up that puts the stored values back, when a folder box is empty.
    bool FoldersFilled();
    void StepDone(const char* step) {
        if (stepObserver_) stepObserver_(step);
    }

    Services& services_;
    std::unique_ptr<Form> form1_;
    std::unique_ptr<Form> form2_;
    std::string lastBackup_;
    BootIniText bootIni_ = BootIniText::Unreadable;  // what the editor holds of "C:\boot.ini"
    std::function<void(const char*)> stepObserver_;
};

// The page routines, in the order the node click compares keys: key, frame,
// menu item ("" when none), section button ("" when none), the node it reveals ("" when none).
struct PageRoute {
    const char* nodeKey;
    const char* frame;
    const char* menuItem;
    const char* button;
    const char* reveals;
};
const std::vector<PageRoute>& PageRoutes();

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
