// Vantrel.exe's switches, so that deployment tools can run it without a window:
//   /export FILE   the load pass, then Export Settings to FILE;
//   /apply FILE    the load pass, then Import Settings from FILE, the backup
//                  and the apply pass;
//   /check FILE    whether /apply FILE would change anything and whether the
//                  settings FILE sets take effect here, writing nothing
//                  (app/CheckRun.h gives its exit codes);
//   /report FILE   the Settings Status list as a CSV file (exit codes 0, 2);
//   /log FILE      with any of them: opened before anything else is done (a
//                  line saying the run started is appended), then one line
//                  per refused, skipped, kept or ignored value, per setting
//                  not set on this computer (/export), per setting that is
//                  set by a policy or has no effect on this Windows, and per
//                  difference that /check finds, and a closing summary;
//   /to:TARGET     with any of them, whose settings (app/TargetRun.h):
//                    current       the user who runs Vantrel (without /to:);
//                    default       the Default profile new users start from;
//                    user=NAME     one profile: NAME, DOMAIN\NAME or a SID
//                                  (quoted when it holds blanks);
//                    all           every user profile, then the Default profile;
//   /offline:PATH  with /to:default, /to:all or /to:user= (a SID or a profile
//                  folder's name): the Windows whose Windows folder is PATH,
//                  not running, with its own machine settings and profiles;
//   /?             usage in a short message box.
// Switches are taken with "/" or "-" and in any letter case. Without any
// argument Vantrel opens its window as always. Anything else (an unknown
// switch, a missing file name, /log, /to: or /offline: alone, two of
// /export, /apply, /check and /report, /? with any of them, /to: with no
// target or twice, /offline: without a target other than the current user,
// /export with /to:all) is a bad argument: no window at all, exit code 2 and,
// when /log named a file, a line saying what is wrong.
//
// For a target other than the current user: only an administrator may run
// (without the rights, exit 2 before anything is loaded or written); FILE is
// a change, not a whole state (RunScope); each target gets its own backup,
// named with it; the machine's values are written once per run; the log
// names each target, its hives' loading and unloading and what was done.
//
// Exit codes. Every kind of value left unwritten has exactly one code; a
// setting left out of an export because it is not set on this computer
// changes none of them.
//
//   /export FILE
//     0  every setting was exported
//     1  FILE was written without some settings: a personal-folder box that
//        is empty, or a number box that is not a whole number
//     2  nothing was written: bad arguments, a log that cannot be opened, a
//        FILE that cannot be written or that a .reg file cannot hold
//
//   /apply FILE
//     0  every value of FILE was applied as FILE holds it
//     1  some values were written and some were not: a write the registry
//        refused, a number box that is not a whole number, a value of FILE
//        kept as stored (FILE deletes it, or holds it in a form the page
//        cannot show), or an entry of FILE that Vantrel does not manage
//     2  nothing was written: bad arguments, a log that cannot be opened, an
//        unreadable or malformed FILE, a personal-folder box left empty
//        after the import (every empty box is logged), a backup that could
//        not be saved, or every write refused
//
// A setting with no effect on this Windows is not written by /apply and
// counts as applied; one set by a policy is written: neither changes the
// exit code. A value that does not read back as written right after the
// apply counts as not written (1).
//
// With targets other than the current user, each target runs as above and
// the run ends with:
//   /apply   0 every target was done as FILE holds it; 1 some were not (one
//            could not be opened, or its apply gave 1 or 2) and something was
//            written; 2 nothing was written (no target found, no rights)
//   /check   2 a target could not be checked; else 1 a target would change;
//            else 3 a target has settings that do not take effect or are kept
//            as stored; else 0
//   /report  one CSV with a "Target" column after the others: 0 written, 2 not
//   /export  its one target's code
//
// A run that fails half way (out of memory) logs what failed and which
// values it had written, and ends with 1 when it had written any, else 2;
// so does a run whose failure strikes again while that is logged, or while
// the log is opened (then without a log line). No run ends any other way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/App.h"
#include "platform/Targets.h"

namespace vantrel {

// /check: 0 nothing would change and everything takes effect, 1 something
// would change, 3 nothing would change but some settings do not take effect
// here, 2 no check could be made. /report: 0 written, 2 not written.
namespace exitcode {
constexpr int kDone = 0;
constexpr int kPartly = 1;
constexpr int kFailed = 2;
constexpr int kNotInEffect = 3;
}  // namespace exitcode

struct Switches {
    enum class Mode { Window, Usage, Export, Apply, Check, Report, Bad };
    Mode mode = Mode::Window;
    std::string file;     // Export, Apply, Check, Report
    std::string log;      // "" without /log
    std::string problem;  // Bad: what is wrong with the arguments
    TargetRequest target{};  // /to:..., the current user without it
    std::string offline{};   // /offline:PATH, "" without it
    // Whether the run is for the user who runs Vantrel, as a run without
    // /to: and /offline: is.
    bool current() const { return target.mode == TargetRequest::Mode::Current && offline.empty(); }
};

// How a run treats the pages. For the user who runs Vantrel the apply pass
// writes every row. For any other target a profile is a change, not a whole
// state: only the values FILE holds are written (after the usual import
// rules), every other value stays as that user has it, and the blank-folder
// refusal looks only at the folders FILE holds. The machine's values are
// written once per run, for the first target.
struct RunScope {
    bool fileOnly = false;
    bool machineDone = false;  // the machine's values were done for an earlier target
    std::string label{};       // the target, in the log and the backup's name; "" for the current user
    const std::string* profile = nullptr;  // the profile's bytes, when it is no file (the window's pages)
};

// The arguments of a command line that follow the program's name, split as
// the C runtime splits them (blanks separate, quotes group, backslashes
// escape a quote).
std::vector<std::string> SplitCommandLine(std::string_view line);
Switches ParseSwitches(const std::vector<std::string>& args);

// The start of every unattended run: the load pass over every page and the
// Start menu list, then each setting's standing judged. Nothing is shown.
void LoadForRun(App& app);

// Runs a mode other than Window to its end, without a window (but the
// usage message), and returns the exit code.
int RunUnattended(App& app, const Switches& switches);

extern const char* const kUsage;

}  // namespace vantrel
