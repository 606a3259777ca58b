#include "app/Unattended.h"

#include <cstdio>

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
    "Without switches Vantrel opens its window.\n"
    "Exit codes: 0 done, 1 partly done, 2 nothing done.\n"
    "/check: 0 nothing to change, 1 something to change, 3 nothing to change\n"
    "but some settings do not take effect here, 2 no check made.";

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

// What is left to append to the log, written at the end of the run in one
// go, so that the lines of one run stay together in a shared file.
class Log {
public:
    Log(Services& services, std::string path) : services_(services), path_(std::move(path)) {}

    void Line(const std::string& text) {
        const std::tm now = services_.environment.Now();
        char stamp[80];
        std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d  ", now.tm_year + 1900, now.tm_mon + 1,
                      now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec);
        std::string line = stamp;
        for (const char c : text) line.push_back(c == '\r' || c == '\n' ? ' ' : c);
        lines_ += line + "\r\n";
    }

    // The closing summary, then everything goes to the file. A log that
    // cannot be written changes nothing else: the exit code still tells.
    int Close(const std::string& summary, int code) {
        Line(summary);
        if (!path_.empty()) services_.files.Append(path_, lines_);
        return code;
    }

private:
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
    const SettingsProfile profile = ExportProfile(form1, services.registry);
    for (const SkippedWrite& s : profile.skipped) log.Line(SkippedLine(s));
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
    const ImportedSettings imported = ImportSettings(form1, bytes, services.registry.codePage());
    if (!imported.error.empty()) {
        return log.Close(command + MalformedMessage(services.registry.codePage(), file, imported.error),
                         exitcode::kFailed);
    }
    for (const std::string& line : imported.ignored) log.Line(line);

    const std::vector<SkippedWrite> blank = BlankFolders(form1);
    if (!blank.empty()) {
        for (const SkippedWrite& s : blank) log.Line(SkippedLine(s));
        return log.Close(command + kBlankFolderTitle + ": " + kBlankFolderMessage + ". Nothing was written.",
                         exitcode::kPartly);
    }
    std::string backup;
    if (const long error = SaveBackup(services, &backup)) {
        return log.Close(command + BackupNotSaved(services.files, backup, error, " ") + " Nothing was written.",
                         exitcode::kFailed);
    }
    const std::vector<SkippedWrite> skipped =
        Worded(ApplySettings(form1, services.registry, &app.standings()), services.files);
    for (const SkippedWrite& s : skipped) log.Line(SkippedLine(s));
    for (const std::string& line : StandingLines(app.standings())) log.Line(line);
    const std::string summary = skipped.empty() ? kAppliedMessage : PartlyAppliedSummary(skipped);
    const bool whole = skipped.empty() && imported.ignored.empty();
    return log.Close(command + summary + " Backup: \"" + backup + "\".", whole ? exitcode::kDone : exitcode::kPartly);
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
    const std::string command = "/" + std::string(mode->name) + " \"" + switches.file + "\": ";
    try {
        LoadPages(app.form1(), services.registry);
        app.JudgeStandings();
        if (switches.mode == Switches::Mode::Check || switches.mode == Switches::Mode::Report) {
            const UnattendedOutcome outcome = switches.mode == Switches::Mode::Check
                                                  ? CheckProfile(app, switches.file)
                                                  : WriteStatusReport(app, switches.file);
            for (const std::string& line : outcome.lines) log.Line(line);
            return log.Close(command + outcome.summary, outcome.code);
        }
        return switches.mode == Switches::Mode::Export ? Export(app.form1(), services, switches.file, log, command)
                                                        : Apply(app, switches.file, log, command);
    } catch (const RunTimeError& e) {
        return log.Close(command + "Run-time error '" + std::to_string(e.number) + "': " + e.what(),
                         exitcode::kFailed);
    } catch (const std::exception& e) {
        return log.Close(command + "Run-time error: " + e.what(), exitcode::kFailed);
    }
}

}  // namespace vantrel
