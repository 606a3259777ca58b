// The application: the two windows' models, start-up, navigation, the apply
// pass and the routing of every click, menu command and node click to its
// handler (the menus' commands live in files of their own: Commands.h). The
// Win32 front end and the tests drive it through these entries.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/Controls.h"
#include "app/WriteJournal.h"
#include "model/Services.h"
#include "settings/Standing.h"
#include "settings/TweakRow.h"
#include "tools/Tools.h"

namespace vantrel {

class App {
public:
    // The application writes through a journal over the services' registry
    // and file system: services() hands out those, and journal() tells what
    // was written through them.
    explicit App(Services& services);

    Form& form1() { return *form1_; }
    Form& form2() { return *form2_; }
    Services& services() { return services_; }
    WriteJournal& journal() { return journal_; }

    // Runs the handler of a click, menu command or node click (by the
    // control's, menu item's or node's name). An exception that reaches it
    // ends the handler, not the program: a message says what failed and
    // which writes, if any, had been made by then, and the window stays.
    void Handle(const std::string& name, const std::function<void()>& handler);

    // Start-up (Form_Load of the main window). Throws RunTimeError when a step
    // fails; the first run's caller shows the error and ends the process.
    void Form_Load();

    // A click on a button, check box or option button (by control name).
    void Click(const std::string& control);
    // A menu command by menu name ("home", "sc", "exp", ...). Opening the
    // View menu's "input", "task" and "access" submenus is reported here too.
    void Menu(const std::string& item);
    // A click on a tree node, by key.
    void NodeClick(const std::string& key);
    // Told the name of each start-up step (and each step of an unattended
    // run) as it ends, for profiling; none by default.
    void setStepObserver(std::function<void(const char*)> observer) { stepObserver_ = std::move(observer); }
    void StepDone(const char* step) {
        if (stepObserver_) stepObserver_(step);
    }

    // A tick of the splash window's timer.
    void Timer1_Timer();

    // The apply pass ("Apply Changes" and File > "Save Changes").
    void apply_Click();
    // The writes of an apply (ApplySettings with this Windows' standings),
    // then, when the registry is the running user's own (Services::live),
    // the settings Windows reads live whose stored value changed are handed
    // to Windows at once. Returns the writes not made.
    std::vector<SkippedWrite> ApplyPages(const std::vector<SkippedWrite>& keep);
    // Saves the backup an apply takes before it writes anything; when it
    // cannot be saved, asks whether to go on without one. True to go on.
    // For another target, the backup is of its registry and named for it.
    bool WriteBackup(Services* target = nullptr, const std::string& label = {});
    // Ends the program at once (the three ways out): nothing is asked or written.
    void EndProgram();

    // Shows one page frame (Frame2 to Frame20, Frame22 to Frame26) and hides the others.
    void ShowPage(const std::string& frame);
    // The visible page frame, "" when none.
    std::string VisiblePage();

    // Where the last apply saved its backup ("" when none was written).
    const std::string& lastBackup() const { return lastBackup_; }
    // The writes of the window's last apply that did not hold: Review Changes
    // marks them, as an apply would likely meet them again.
    const std::vector<SkippedWrite>& notHeld() const { return notHeld_; }
    // A file that last backup's write made and could not remove, in words ("" when none).
    const std::string& backupLeftBehind() const { return backupLeftBehind_; }

    // Reads the running Windows and the policy values the dependency table
    // names, and marks the pages' controls (start-up's first step).
    void JudgeStandings();
    // Every setting's and tool's standing, as the last JudgeStandings found.
    const Standings& standings() const { return standings_; }
    // Why a tool refuses to work on this Windows; "" when it works here.
    std::string ToolRefusal(const std::string& tool) const;

private:
    void ShowSplash();
    // The apply pass's blank-folder check: false, after the warning and a
    // second start-up that puts the stored values back, when a folder box is empty.
    bool FoldersFilled();

    WriteJournal journal_;
    Services services_;
    int handling_ = 0;  // handlers running, one inside another's modal loop
    std::unique_ptr<Form> form1_;
    std::unique_ptr<Form> form2_;
    std::string lastBackup_;
    std::string backupLeftBehind_;  // a file the last backup's write could not remove, in words
    std::vector<SkippedWrite> notHeld_;
    BootIniText bootIni_ = BootIniText::Unreadable;  // what the editor holds of "C:\boot.ini"
    Standings standings_;
    std::function<void(const char*)> stepObserver_;
};

// What an exception that ended a handler says, in a message's words ("there
// was not enough memory").
std::string FailureText(const std::exception_ptr& failure);

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

}  // namespace vantrel
