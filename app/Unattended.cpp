#include "app/Unattended.h"

#include <cstdio>
#include <exception>

#include "app/Backup.h"
#include "app/CheckRun.h"
#include "app/Profile.h"
#include "app/Report.h"
#include "registry/KeyNames.h"
#include "tools/Tools.h"

namespace vantrel {

const char* const kUsage =
    "Vantrel.exe [/export FILE | /apply FILE | /check FILE | /report FILE] [/log FILE]\n\n"
    "/export FILE - saves the settings to FILE.\n"
    "/apply FILE - backs them up, then applies FILE.\n"
    "/check FILE - tells whether /apply FILE would change anything; writes nothing.\n"
    "/report FILE - saves the status of every setting to FILE (CSV).\n"
    "/log FILE - notes in FILE what was not applied or does not take effect.\n\n"
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

bool TakesFile(const std::string& name) {
    return ModeOf(name) != nullptr || SameName(name, "log");
}

// The log. Its first line, that the run started, is appended before anything
// else is done: a log that cannot be written stops the run before it does
// anything, and a run that ends unexpectedly still leaves a record. The rest
// is appended at the end in one go, so that it stays together in a shared file.
class Log {
public:
    Log(Services& services, std::string path) : services_(services), path_(std::move(path)) {}

    // 0, or the file system's code when the log cannot be appended to.
    long Open(const std::string& command) {
        Line(command + "started.");
        return Flush();
    }

    void Line(const std::string& text) {
        const std::tm now = services_.environment.Now();
        std::string line = Stamp(now) + "  ";
        for (const char c : text) line.push_back(c == '\r' || c == '\n' ? ' ' : c);
        lines_ += line + "\r\n";
    }

    // The closing summary, then everything goes to the file.
    int Close(const std::string& summary, int code) {
        Line(summary);
        Flush();
        return code;
    }

private:
    long Flush() {
        const long error = path_.empty() ? 0 : services_.files.Append(path_, lines_);
        lines_.clear();
        return error;
    }

    Services& services_;
    std::string path_;
    std::string lines_;
};

// The load pass, ready for an apply: every page and the Start menu list with
// its check marks, and nothing shown (no boot.ini, no splash, no startup items).
void LoadPages(Form& form1, Registry& reg) {
    LoadSettings(form1, reg);
    FillStartMenuList(form1);
    LoadStartMenuChecks(form1, reg);
}

int Export(Form& form1, Services& services, const std::string& file, Log& log, const std::string& command) {
    const SettingsProfile profile = ExportProfile(form1, services.registry, services.environment.ProfileFolder());
    // Settings not set on this computer are listed but change nothing else.
    for (const std::string& line : LeftOutLines(profile)) log.Line(line);
    if (const std::string failure = WriteExport(services, file, profile); !failure.empty()) {
        return log.Close(command + failure, exitcode::kFailed);
    }
    if (profile.skipped.empty()) return log.Close(command + ExportedMessage(file), exitcode::kDone);
    return log.Close(command + ExportedMessage(file) + " " + SettingsCount(profile.skipped.size()) + " not exported.",
                     exitcode::kPartly);
}

int Apply(App& app, const std::string& file, Log& log, const std::string& command) {
    Form& form1 = app.form1();
    Services& services = app.services();
    std::string bytes;
    if (const long error = services.files.ReadAll(file, &bytes, false)) {
        return log.Close(command + CannotReadMessage(services, file, error), exitcode::kFailed);
    }
    const ImportedSettings imported =
        ImportSettings(form1, bytes, services.registry.codePage(), services.environment.ProfileFolder());
    if (!imported.error.empty()) {
        return log.Close(command + MalformedMessage(services.registry.codePage(), file, imported.error),
                         exitcode::kFailed);
    }
    for (const std::string& line : imported.ignored) log.Line(line);
    for (const SkippedWrite& k : imported.kept) log.Line(SkippedLine(k));
    app.StepDone("profile read and imported");

    const std::vector<SkippedWrite> blank = BlankFolders(form1);
    if (!blank.empty()) {
        for (const SkippedWrite& s : blank) log.Line(SkippedLine(s));
        return log.Close(command + kBlankFolderTitle + ": " + kBlankFolderMessage + ". Nothing was written.",
                         exitcode::kFailed);
    }
    const BackupSaved backup = SaveBackup(services);
    if (backup.error != 0) {
        return log.Close(command + BackupNotSaved(services.files, backup, " ") + " Nothing was written.",
                         exitcode::kFailed);
    }
    app.StepDone("backup saved");
    const std::string backedUp = " Backup: " + Quoted(backup.path) + ".";
    const std::size_t before = app.journal().values();
    std::vector<SkippedWrite> notWritten = imported.kept;
    for (const SkippedWrite& s : Worded(app.ApplyPages(imported.kept), services.files)) {
        log.Line(SkippedLine(s));
        notWritten.push_back(s);
    }
    app.StepDone("settings applied");
    for (const std::string& line : StandingLines(app.standings())) log.Line(line);
    if (app.journal().values() == before) {
        return log.Close(command + "Nothing was written: every write was refused." + backedUp, exitcode::kFailed);
    }
    const std::string summary = notWritten.empty() ? kAppliedMessage : PartlyAppliedSummary(notWritten);
    const bool whole = notWritten.empty() && imported.ignored.empty();
    return log.Close(command + summary + backedUp, whole ? exitcode::kDone : exitcode::kPartly);
}

}  // namespace

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
        } else if (!name.empty()) {
            fail("unknown switch " + args[i]);
        } else {
            fail("unexpected argument \"" + args[i] + "\"");
        }
    }
    if (usage && hasMode) fail("/? cannot be given with /export, /apply, /check or /report");
    if (!usage && !hasMode) fail("/log needs /export, /apply, /check or /report");
    if (!s.problem.empty()) {
        s.mode = Switches::Mode::Bad;
    } else if (usage) {
        s.mode = Switches::Mode::Usage;
    }
    return s;
}

int RunUnattended(App& app, const Switches& switches) {
    Services& services = app.services();
    if (switches.mode == Switches::Mode::Usage) {
        services.dialogs.MessageBox(kUsage, "Vantrel", mb::kInformation);
        return exitcode::kFailed;
    }
    Log log(services, switches.log);
    if (switches.mode == Switches::Mode::Bad) {
        return log.Close("Bad arguments: " + switches.problem + ". Vantrel.exe /? shows how to use it.",
                         exitcode::kFailed);
    }
    const ModeSwitch* mode = nullptr;
    for (const ModeSwitch& m : kModes) {
        if (m.mode == switches.mode) mode = &m;
    }
    const bool exporting = switches.mode == Switches::Mode::Export;
    const bool applying = switches.mode == Switches::Mode::Apply;
    const std::string command = "/" + std::string(mode->name) + " \"" + switches.file + "\": ";
    // Nothing is done without a log that was asked for.
    if (!switches.log.empty() && log.Open(command) != 0) return exitcode::kFailed;
    WriteJournal& journal = app.journal();
    journal.Clear();
    std::exception_ptr failure;
    try {
        LoadPages(app.form1(), services.registry);
        app.JudgeStandings();
        app.StepDone("pages loaded and standings judged");
        if (switches.mode == Switches::Mode::Check || switches.mode == Switches::Mode::Report) {
            const UnattendedOutcome outcome = switches.mode == Switches::Mode::Check
                                                  ? CheckProfile(app, switches.file)
                                                  : WriteStatusReport(app, switches.file);
            for (const std::string& line : outcome.lines) log.Line(line);
            return log.Close(command + outcome.summary, outcome.code);
        }
        return exporting ? Export(app.form1(), services, switches.file, log, command)
                         : Apply(app, switches.file, log, command);
    } catch (...) {
        failure = std::current_exception();
    }
    for (const std::string& write : journal.writes()) log.Line("written before the run stopped: " + write);
    const bool wrote = applying ? journal.values() > 0 : !journal.writes().empty();
    return log.Close(command + "The run stopped: " + FailureText(failure) + ".",
                     wrote ? exitcode::kPartly : exitcode::kFailed);
}

}  // namespace vantrel
