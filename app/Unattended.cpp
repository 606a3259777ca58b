#include "app/Unattended.h"

#include <cstdio>
#include <exception>

#include "app/Backup.h"
#include "app/CheckRun.h"
#include "app/Profile.h"
#include "app/RunLog.h"
#include "app/Report.h"
#include "registry/KeyNames.h"
#include "tools/Tools.h"

namespace vantrel {

const char* const kUsage =
    "Vantrel.exe [/export FILE | /apply FILE | /check FILE | /report FILE] [/log FILE]\n"
    "    [/to:current | /to:default | /to:all | /to:user=NAME] [/offline:PATH]\n\n"
    "/export FILE - saves the settings to FILE.\n"
    "/apply FILE - backs them up, then applies FILE.\n"
    "/check FILE - tells whether /apply FILE would change anything; writes nothing.\n"
    "/report FILE - saves the status of every setting to FILE (CSV).\n"
    "/log FILE - notes in FILE what was not applied or does not take effect.\n"
    "/to: - whose settings: yours (current), the Default profile (default),\n"
    "every profile and the Default profile (all), or one user (user=NAME).\n"
    "/offline:PATH - a Windows that is not running, PATH its Windows folder.\n\n"
    "Without switches Vantrel opens its window.\n\n"
    "/export ends with 0 when every setting was exported, 1 when some were\n"
    "not, 2 when nothing was written.\n"
    "/apply ends with 0 when FILE was applied as it is, 1 when some values\n"
    "were not written, 2 when nothing was written.\n"
    "/check ends with 0 when nothing would change, 1 when something would,\n"
    "3 when nothing would but some settings do not take effect here, 2 when\n"
    "no check was made. /report ends with 0, or 2 when nothing was written.";

namespace {

// The switch an argument names ("export", "EXPORT", "?", ...), "" when it is
// none. Switches are told apart without regard to case.
std::string SwitchName(const std::string& arg) {
    if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) return {};
    return arg.substr(1);
}

// The switches that name a mode and the file it works on.
struct ModeSwitch {
    const char* name;
    Switches::Mode mode;
};
constexpr ModeSwitch kModes[] = {{"export", Switches::Mode::Export},
                                 {"apply", Switches::Mode::Apply},
                                 {"check", Switches::Mode::Check},
                                 {"report", Switches::Mode::Report}};

const ModeSwitch* ModeOf(const std::string& name) {
    for (const ModeSwitch& m : kModes) {
        if (SameName(name, m.name)) return &m;
    }
    return nullptr;
}

// What follows a switch's prefix ("to:" in "TO:all" gives "all"); "" when
// the name does not start with it.
std::string Prefixed(const std::string& name, std::string_view prefix) {
    return name.size() > prefix.size() && SameName(std::string_view(name).substr(0, prefix.size()), prefix)
               ? name.substr(prefix.size())
               : std::string();
}

bool TakesFile(const std::string& name) {
    return ModeOf(name) != nullptr || SameName(name, "log");
}

}  // namespace

void LoadForRun(App& app) {
    Form& form1 = app.form1();
    Registry& reg = app.services().registry;
    LoadSettings(form1, reg);
    FillStartMenuList(form1);
    LoadStartMenuChecks(form1, reg);
    app.JudgeStandings();
}

UnattendedOutcome ExportRun(App& app, const std::string& file) {
    Services& services = app.services();
    const SettingsProfile profile = ExportProfile(app.form1(), services.registry, services.environment.ProfileFolder());
    // Settings not set on this computer are listed but change nothing else.
    UnattendedOutcome out{LeftOutLines(profile), {}};
    std::string leftBehind;
    if (std::string failure = WriteExport(services, file, profile, &leftBehind); !failure.empty()) {
        out.summary = std::move(failure);
        out.code = exitcode::kFailed;
        return out;
    }
    out.summary = ExportedMessage(file) + (leftBehind.empty() ? "" : " " + leftBehind);
    if (!profile.skipped.empty()) {
        out.summary += " " + SettingsCount(profile.skipped.size()) + " not exported.";
        out.code = exitcode::kPartly;
    }
    return out;
}

UnattendedOutcome ApplyRun(App& app, const std::string& file, const RunScope& scope) {
    Form& form1 = app.form1();
    Services& services = app.services();
    ImportedSettings imported;
    if (std::string failure = ImportProfileFile(form1, services, file, &imported, scope.profile); !failure.empty()) {
        return {{}, std::move(failure), exitcode::kFailed};
    }
    UnattendedOutcome out{imported.ignored, {}};
    for (const SkippedWrite& k : imported.kept) out.lines.push_back(SkippedLine(k));
    app.StepDone("profile read and imported");

    const std::vector<SkippedWrite> blank = BlankFoldersToWrite(form1, imported, scope);
    if (!blank.empty()) {
        for (const SkippedWrite& s : blank) out.lines.push_back(SkippedLine(s));
        out.summary = std::string(kBlankFolderTitle) + ": " + kBlankFolderMessage + ". Nothing was written.";
        out.code = exitcode::kFailed;
        return out;
    }
    const BackupSaved backup = SaveBackup(services, scope.label);
    if (backup.error != 0) {
        out.summary = BackupNotSaved(services.files, backup, " ") + " Nothing was written.";
        out.code = exitcode::kFailed;
        return out;
    }
    app.StepDone("backup saved");
    const std::string backedUp =
        " Backup: " + Quoted(backup.path) + "." + (backup.leftBehind.empty() ? "" : " " + backup.leftBehind);
    const std::size_t before = app.journal().values();
    std::vector<SkippedWrite> notWritten = imported.kept;
    const std::vector<SkippedWrite> skipped = Worded(app.ApplyPages(LeftAsTheyAre(imported, scope)), services.files);
    for (const SkippedWrite& s : skipped) {
        out.lines.push_back(SkippedLine(s));
        notWritten.push_back(s);
    }
    app.StepDone("settings applied");
    for (const std::string& line : StandingLines(app.standings(), scope.fileOnly ? &imported.namedControls : nullptr))
        out.lines.push_back(line);
    if (app.journal().values() == before) {
        out.summary = (skipped.empty() ? "Nothing was written: the file holds nothing to write here."
                                       : "Nothing was written: every write was refused.") + backedUp;
        out.code = exitcode::kFailed;
        return out;
    }
    out.summary = (notWritten.empty() ? std::string(kAppliedMessage) : PartlyAppliedSummary(notWritten)) + backedUp;
    out.code = notWritten.empty() && imported.ignored.empty() ? exitcode::kDone : exitcode::kPartly;
    return out;
}

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> args;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) return args;
        std::string arg;
        bool quoted = false;
        for (; i < line.size(); ++i) {
            const char c = line[i];
            if (!quoted && (c == ' ' || c == '\t')) break;
            if (c == '\\') {
                std::size_t slashes = 0;
                while (i < line.size() && line[i] == '\\') ++slashes, ++i;
                if (i < line.size() && line[i] == '"') {
                    arg.append(slashes / 2, '\\');
                    if (slashes % 2 == 1) {
                        arg.push_back('"');
                        continue;
                    }
                } else {
                    arg.append(slashes, '\\');
                }
                --i;  // the loop steps onto what follows the backslashes
                continue;
            }
            if (c == '"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    arg.push_back('"');  // "" inside quotes is one quote
                    ++i;
                } else {
                    quoted = !quoted;
                }
                continue;
            }
            arg.push_back(c);
        }
        args.push_back(std::move(arg));
    }
}

Switches ParseSwitches(const std::vector<std::string>& args) {
    Switches s;
    if (args.empty()) return s;
    bool usage = false;
    bool hasMode = false;
    bool targetGiven = false;
    auto fail = [&](const std::string& problem) {
        if (s.problem.empty()) s.problem = problem;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string name = SwitchName(args[i]);
        if (name == "?") {
            usage = true;
        } else if (TakesFile(name)) {
            const bool hasFile = i + 1 < args.size() && !args[i + 1].empty() && args[i + 1][0] != '/' &&
                                 !TakesFile(SwitchName(args[i + 1])) && SwitchName(args[i + 1]) != "?";
            if (!hasFile) {
                fail(args[i] + " needs a file name");
                continue;
            }
            const std::string& file = args[++i];
            if (SameName(name, "log")) {
                if (!s.log.empty()) fail("/log is given twice");
                else s.log = file;
            } else if (hasMode) {
                fail("only one of /export, /apply, /check and /report can be given");
            } else {
                hasMode = true;
                s.mode = ModeOf(name)->mode;
                s.file = file;
            }
        } else if (const std::string value = Prefixed(name, "to:"); !value.empty() || SameName(name, "to:")) {
            if (targetGiven) fail("/to: is given twice");
            targetGiven = true;
            const std::string user = Prefixed(value, "user=");
            if (SameName(value, "current")) {
                s.target.mode = TargetRequest::Mode::Current;
            } else if (SameName(value, "default")) {
                s.target.mode = TargetRequest::Mode::Default;
            } else if (SameName(value, "all")) {
                s.target.mode = TargetRequest::Mode::All;
            } else if (!user.empty()) {
                s.target = {TargetRequest::Mode::User, user};
            } else {
                fail(args[i] + " names no target: /to:current, /to:default, /to:all or /to:user=NAME");
            }
        } else if (const std::string path = Prefixed(name, "offline:"); !path.empty() || SameName(name, "offline:")) {
            if (!s.offline.empty()) fail("/offline: is given twice");
            if (path.empty()) fail("/offline: needs the Windows folder of the Windows to work on");
            s.offline = path;
        } else if (!name.empty()) {
            fail("unknown switch " + args[i]);
        } else {
            fail("unexpected argument \"" + args[i] + "\"");
        }
    }
    if (usage && hasMode) fail("/? cannot be given with /export, /apply, /check or /report");
    if (!usage && !hasMode) fail("/log, /to: and /offline: need /export, /apply, /check or /report");
    if (!s.offline.empty() && s.target.mode == TargetRequest::Mode::Current) {
        fail("/offline: needs /to:default, /to:all or /to:user= with a SID or a profile folder's name");
    }
    if (s.mode == Switches::Mode::Export && s.target.mode == TargetRequest::Mode::All) {
        fail("/export takes exactly one target, not /to:all");
    }
    if (!s.problem.empty()) {
        s.mode = Switches::Mode::Bad;
    } else if (usage) {
        s.mode = Switches::Mode::Usage;
    }
    return s;
}

namespace {

// Whether the run had written anything when it stopped: for /apply a
// registry value (its backup alone leaves the settings as they were), for
// the other switches any file.
bool Wrote(App& app, const Switches& switches) {
    const WriteJournal& journal = app.journal();
    return switches.mode == Switches::Mode::Apply ? journal.values() > 0 : !journal.writes().empty();
}

int Run(App& app, const Switches& switches, RunLog& log, bool* logOpen, bool* wroteTargets) {
    Services& services = app.services();
    if (switches.mode == Switches::Mode::Usage) {
        services.dialogs.MessageBox(kUsage, "Vantrel", mb::kInformation);
        return exitcode::kFailed;
    }
    *logOpen = true;  // lines go to the log from here on, once it is flushed
    if (switches.mode == Switches::Mode::Bad) {
        return log.Close("Bad arguments: " + switches.problem + ". Vantrel.exe /? shows how to use it.",
                         exitcode::kFailed);
    }
    const ModeSwitch* mode = nullptr;
    for (const ModeSwitch& m : kModes) {
        if (m.mode == switches.mode) mode = &m;
    }
    const std::string command = "/" + std::string(mode->name) + " \"" + switches.file + "\": ";
    // Nothing is done without a log that was asked for.
    *logOpen = false;
    if (!switches.log.empty() && log.Open(command) != 0) return exitcode::kFailed;
    *logOpen = true;
    WriteJournal& journal = app.journal();
    journal.Clear();
    std::exception_ptr failure;
    try {
        UnattendedOutcome outcome;
        if (!switches.current()) {
            outcome = RunForTargets(app, switches, wroteTargets);
        } else {
            LoadForRun(app);
            app.StepDone("pages loaded and standings judged");
            switch (switches.mode) {
            case Switches::Mode::Check: outcome = CheckProfile(app, switches.file); break;
            case Switches::Mode::Report: outcome = WriteStatusReport(app, switches.file); break;
            case Switches::Mode::Export: outcome = ExportRun(app, switches.file); break;
            default: outcome = ApplyRun(app, switches.file); break;
            }
        }
        for (const std::string& line : outcome.lines) log.Line(line);
        return log.Close(command + outcome.summary, outcome.code);
    } catch (...) {
        failure = std::current_exception();
    }
    for (const std::string& write : journal.writes()) log.Line("written before the run stopped: " + write);
    return log.Close(command + "The run stopped: " + FailureText(failure) + ".",
                     Wrote(app, switches) || *wroteTargets ? exitcode::kPartly : exitcode::kFailed);
}

}  // namespace

int RunUnattended(App& app, const Switches& switches) {
    // Whatever fails, even on the way out (the log, the failure's own
    // words), the run ends with the code of what it had done: never with
    // the runtime's abort, whose 3 is /check's "does not take effect".
    bool logOpen = false, wroteTargets = false;
    try {
        RunLog log(app.services(), switches.log);
        try {
            return Run(app, switches, log, &logOpen, &wroteTargets);
        } catch (...) {
            if (logOpen) {
                try {
                    log.Close("The run stopped: " + FailureText(std::current_exception()) + ".", 0);
                } catch (...) {
                }
            }
        }
    } catch (...) {
    }
    return Wrote(app, switches) || wroteTargets ? exitcode::kPartly : exitcode::kFailed;
}

}  // namespace vantrel
