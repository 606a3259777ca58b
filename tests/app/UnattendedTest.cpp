// Vantrel.exe's switches: how a command line is read, and what each
// unattended run writes, logs and ends with.
#include "app/Unattended.h"

#include <algorithm>
#include <functional>

#include "app/Profile.h"
#include "app/Report.h"
#include "platform/ForwardingFileSystem.h"
#include "registry/RegistryRoutines.h"
#include "support/TestRig.h"

namespace vantrel::testing {
namespace {

using Mode = Switches::Mode;

TEST(Switches, CommandLinesReadAsDeploymentToolsWriteThem) {
    struct Case {
        const char* line;
        Mode mode;
        std::string file, log;
    };
    const Case cases[] = {
        {"", Mode::Window, "", ""},
        {"  /apply profile.reg", Mode::Apply, "profile.reg", ""},
        {"-EXPORT \"C:\\My Profiles\\a.reg\" /Log \"C:\\log dir\\\"\"x.txt", Mode::Export, "C:\\My Profiles\\a.reg",
         "C:\\log dir\"x.txt"},
        {"/log l.txt /apply \"a \\\\\"\"b\"\" c\"", Mode::Apply, "a \\\"b\" c", "l.txt"},
        {"/?", Mode::Usage, "", ""},
        {"/apply a.reg /?", Mode::Bad, "a.reg", ""},
        {"/apply /log l.txt", Mode::Bad, "", "l.txt"},
        {"/export a.reg /apply b.reg", Mode::Bad, "a.reg", ""},
        {"/Check p.reg /log l.txt", Mode::Check, "p.reg", "l.txt"},
        {"-report \"C:\\inventory\\x.csv\"", Mode::Report, "C:\\inventory\\x.csv", ""},
        {"/check p.reg /report x.csv", Mode::Bad, "p.reg", ""},
        {"/report", Mode::Bad, "", ""},
        {"/log l.txt", Mode::Bad, "", "l.txt"},
        {"/silent", Mode::Bad, "", ""},
        // Targets: one each, what /offline: needs, and one for /export.
        {"/apply p.reg /to:all", Mode::Apply, "p.reg", ""},
        {"/check p.reg \"/TO:user=PC\\John Smith\"", Mode::Check, "p.reg", ""},
        {"/report r.csv /to:default /offline:D:\\Windows", Mode::Report, "r.csv", ""},
        {"/apply p.reg /to:", Mode::Bad, "p.reg", ""},
        {"/apply p.reg /to:everyone", Mode::Bad, "p.reg", ""},
        {"/apply p.reg /to:all /to:default", Mode::Bad, "p.reg", ""},
        {"/apply p.reg /offline:D:\\Windows", Mode::Bad, "p.reg", ""},
        {"/export e.reg /to:all", Mode::Bad, "e.reg", ""},
        {"/to:all", Mode::Bad, "", ""},
    };
    for (const Case& c : cases) {
        const Switches s = ParseSwitches(SplitCommandLine(c.line));
        EXPECT_EQ(s.mode, c.mode) << c.line;
        EXPECT_EQ(s.file, c.file) << c.line;
        EXPECT_EQ(s.log, c.log) << c.line;
        EXPECT_EQ(s.problem.empty(), c.mode != Mode::Bad) << c.line << ": " << s.problem;
    }
}

const std::string kMouse = "Control Panel\\Mouse";
const std::string kAdvanced = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const std::string kBackups = "C:\\Documents and Settings\\User\\Application Data\\Vantrel\\Backups";

std::string Profile(const std::string& lines) {
    return "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Mouse]\r\n" + lines;
}

const std::string kPolicies = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

void OnWindows10WithNoRun(TestRig& rig) {
    rig.environment.setWindowsVersion({10, 0, 19045});
    rig.registry.PutDword(reg::kCurrentUser, kPolicies, "NoRun", 1);
}

// A profile with the mouse hand and the Start menu's "Run", applied by /apply
// (on Windows 10 with NoRun set, when asked) before the run under test.
std::function<void(TestRig&)> AppliedFirst(const std::string& where) {
    return [=](TestRig& rig) {
        if (!where.empty()) OnWindows10WithNoRun(rig);
        ASSERT_EQ(rig.files.WriteAll("C:\\p.reg", Profile("\"SwapMouseButtons\"=\"1\"\r\n[HKEY_CURRENT_USER\\" + kAdvanced +
                                                           "]\r\n\"Start_ShowRun\"=dword:1\r\n")),
                  0);
        App first(rig.services);
        ASSERT_EQ(RunUnattended(first, ParseSwitches({"/apply", "C:\\p.reg"})), 0);
    };
}

TEST(Unattended, EachRunEndsWithItsExitCodeAndLogLines) {
    struct Case {
        const char* name;
        std::string commandLine;
        std::function<void(TestRig&)> setUp;
        int exitCode;
        std::vector<std::string> logged;  // in order, each within its own line
        std::string swapMouseButtons;     // afterwards
        bool backup;
        std::string sensitivity = "10";   // MouseSensitivity afterwards, seeded 10
    };
    const std::string logTo = " /log C:\\run.log";
    auto profile = [](const std::string& lines) {
        return [=](TestRig& rig) { ASSERT_EQ(rig.files.WriteAll("C:\\p.reg", Profile(lines)), 0); };
    };
    auto folder = [](TestRig& rig) {
        ASSERT_EQ(rig.files.CreateFolders("C:\\Folder"), 0);
        ASSERT_EQ(rig.files.WriteAll("C:\\Folder\\kept.txt", "kept"), 0);
    };
    const std::vector<Case> cases = {
        {"apply", "/apply C:\\p.reg" + logTo,
         profile("\"SwapMouseButtons\"=\"1\"\r\n[HKEY_CURRENT_USER\\" + kAdvanced + "]\r\n\"Start_ShowRun\"=dword:1\r\n"), 0,
         {"/apply \"C:\\p.reg\": All changes applied. Most changes will not be applied until you log off of Windows. "
          "Backup: \"" + kBackups + "\\Settings 2004-05-01 12-00-00.reg\"."},
         "1", true},
        {"an ignored value", "/apply C:\\p.reg" + logTo, profile("\"SwapMouseButtons\"=\"1\"\r\n\"Other\"=\"x\"\r\n"), 1,
         {"HKEY_CURRENT_USER\\Control Panel\\Mouse \"Other\": not a setting Vantrel manages", "All changes applied."},
         "1", true},
        {"refused writes", "/apply C:\\p.reg" + logTo,
         [&](TestRig& rig) {
             profile("\"SwapMouseButtons\"=\"1\"\r\n")(rig);
             rig.registry.SetReadOnly(reg::kLocalMachine, true);
         },
         1, {"Explorer - Enable Net Send: the registry refused the write", "Some Changes Were Not Applied: 6 settings "},
         "1", true},
        {"malformed profile", "/apply C:\\p.reg" + logTo, profile("\"SwapMouseButtons\"=oops\r\n"), 2,
         {"\"C:\\p.reg\" is not a registry file Vantrel can read (line 4: "}, "0", false},
        {"missing profile", "/apply C:\\none.reg" + logTo, nullptr, 2, {"Vantrel could not read \"C:\\none.reg\". Error 2"},
         "0", false},
        {"blank personal folder", "/apply C:\\p.reg" + logTo,
         [&](TestRig& rig) {
             profile("\"SwapMouseButtons\"=\"1\"\r\n")(rig);
             rig.registry.PutString(reg::kCurrentUser, PersonalFolderRows()[2].loadKey, "Favorites", "");
         },
         2, {"Personal Folders: - Favorites:: You Cannot save into a blank directory", "Nothing was written."}, "0", false},
        {"values the file deletes or the page cannot show are kept", "/apply C:\\p.reg" + logTo,
         [](TestRig& rig) {
             ASSERT_EQ(rig.files.WriteAll("C:\\p.reg", "REGEDIT4\r\n[-HKEY_CURRENT_USER\\" + kMouse + "]\r\n[HKEY_CURRENT_USER\\" +
                                                           kAdvanced + "]\r\n\"Hidden\"=dword:5\r\n"),
                       0);
         },
         1,
         {"Mouse - Mouse Sensitivity:: not applied: the file deletes its key",
          "Explorer - Show Hidden Files and Folders: not applied: the page cannot show the file's value 5 (REG_DWORD)",
          "Mouse pointer - Mouse acceleration:: not applied: the file deletes its key",
          "Some Changes Were Not Applied: 6 settings were not saved."},
         "0", true},
        {"every write refused", "/apply C:\\p.reg" + logTo,
         [&](TestRig& rig) {
             profile("\"SwapMouseButtons\"=\"1\"\r\n")(rig);
             rig.registry.SetReadOnly(reg::kLocalMachine, true);
             rig.registry.SetReadOnly(reg::kCurrentUser, true);
         },
         2, {"Explorer - Enable Net Send: the registry refused the write", "Nothing was written: every write was refused."},
         "0", true},
        {"backup not saved", "/apply C:\\p.reg" + logTo,
         [&](TestRig& rig) {
             profile("\"SwapMouseButtons\"=\"1\"\r\n")(rig);
             rig.files.RefusePath(kBackups);
         },
         2, {"could not save a backup", "Nothing was written."}, "0", false},
        {"export", "/export C:\\out.reg" + logTo, nullptr, 0, {"/export \"C:\\out.reg\": Settings exported to"}, "0", false},
        {"export past an empty folder box", "/export C:\\out.reg" + logTo,
         [](TestRig& rig) { rig.registry.PutString(reg::kCurrentUser, PersonalFolderRows()[0].loadKey, "AppData", ""); },
         1, {"Personal Folders: - AppData:: You Cannot save into a blank directory", "1 setting was not exported."}, "0",
         false},
        {"export to a folder that is not there", "/export C:\\No\\out.reg" + logTo, nullptr, 2,
         {"Vantrel could not write \"C:\\No\\out.reg\". Error 3"}, "0", false},
        {"bad arguments", "/apply" + logTo, nullptr, 2, {"Bad arguments: /apply needs a file name."}, "0", false},
        // On Windows 10 with NoRun set: both settings are logged, neither changes the exit code.
        {"apply with settings that do not take effect", "/apply C:\\p.reg" + logTo,
         [&](TestRig& rig) {
             profile("\"SwapMouseButtons\"=\"1\"\r\n")(rig);
             OnWindows10WithNoRun(rig);
         },
         0,
         {"General Options - Run: Set by policy: HKEY_CURRENT_USER\\" + kPolicies + "\\NoRun = 1.",
          "Not written: Explorer - Enable Net Send: Not used by Windows Vista and later.", "All changes applied."},
         "1", true},
        // /check: a dry run of /apply; after /apply it settles at 0, or at 3 where a setting of the file does not
        // take effect.
        {"check: something would change", "/check C:\\p.reg" + logTo, profile("\"SwapMouseButtons\"=\"1\"\r\n"), 1,
         {"Would change: Mouse - Mouse Hand:: HKCU\\Control Panel\\Mouse : SwapMouseButtons is \"0\" (REG_SZ), would "
          "be \"1\" (REG_SZ)",
          "differ"},
         "0", false},
        {"check after apply", "/check C:\\p.reg" + logTo, AppliedFirst(""), 0,
         {"Nothing would change, and every setting takes effect on this Windows."}, "1", true},
        {"check after apply, on Windows 10", "/check C:\\p.reg" + logTo, AppliedFirst("OnWindows10"), 3,
         {"Does not take effect: General Options - Run: Set by policy:", "1 setting of the file does not take effect"},
         "1", true},
        {"check of a malformed profile", "/check C:\\p.reg" + logTo, profile("\"SwapMouseButtons\"=oops\r\n"), 2,
         {"is not a registry file Vantrel can read"}, "0", false},
        {"report", "/report C:\\status.csv" + logTo, nullptr, 0, {"Settings status written to \"C:\\status.csv\""}, "0",
         false},
        // A folder is never the target of a whole-file write.
        {"export onto a folder", "/export C:\\Folder" + logTo, folder, 2,
         {"Vantrel could not write \"C:\\Folder\". It is a folder, not a file. Nothing was written."}, "0", false},
        {"report onto a folder", "/report C:\\Folder" + logTo, folder, 2,
         {"Vantrel could not write \"C:\\Folder\". It is a folder, not a file. Nothing was written."}, "0", false},
        {"text with a NUL inside is kept", "/apply C:\\p.reg" + logTo,
         profile("\"SwapMouseButtons\"=hex(1):31,00,00,00,39,00,00,00\r\n"), 1,
         {"Mouse - Mouse Hand:: not applied: the page cannot show the file's value \"1\", \"9\" (REG_SZ, text after a NUL)",
          "Some Changes Were Not Applied: 1 setting was not saved."},
         "0", true},
        {"report to a folder that is not there", "/report C:\\No\\status.csv" + logTo, nullptr, 2,
         {"Vantrel could not write \"C:\\No\\status.csv\". Error 3"}, "0", false},
    };
    for (const Case& c : cases) {
        TestRig rig;
        SeedFolders(rig.registry);
        rig.registry.PutString(reg::kCurrentUser, kMouse, "SwapMouseButtons", "0");
        rig.registry.PutString(reg::kCurrentUser, kMouse, "MouseSensitivity", "10");
        ASSERT_EQ(rig.files.WriteAll("C:\\run.log", "earlier line\r\n"), 0);
        if (c.setUp) c.setUp(rig);

        EXPECT_EQ(RunUnattended(*rig.app, ParseSwitches(SplitCommandLine(c.commandLine))), c.exitCode) << c.name;

        std::string log;
        ASSERT_EQ(rig.files.ReadAll("C:\\run.log", &log, false), 0);
        EXPECT_EQ(log.rfind("earlier line\r\n2004-05-01 12:00:00  ", 0), 0u) << c.name << ": appended, stamped\n" << log;
        std::size_t at = 0;
        for (const std::string& text : c.logged) {
            at = log.find(text, at);
            ASSERT_NE(at, std::string::npos) << c.name << ": " << text << "\n" << log;
            EXPECT_EQ(log.find('\n', log.rfind('\n', at) + 1), log.find("\r\n", at) + 1) << c.name << ": one line";
        }
        EXPECT_EQ(GetString(rig.registry, reg::kCurrentUser, kMouse, "SwapMouseButtons"), c.swapMouseButtons) << c.name;
        EXPECT_EQ(GetString(rig.registry, reg::kCurrentUser, kMouse, "MouseSensitivity"), c.sensitivity) << c.name;
        EXPECT_EQ(rig.files.Exists(kBackups), c.backup) << c.name;
        EXPECT_TRUE(rig.dialogs.shown.empty()) << c.name << ": no window";
        if (c.commandLine.find("C:\\Folder") != std::string::npos) EXPECT_TRUE(rig.files.Exists("C:\\Folder\\kept.txt"));
    }
}

// A log that was asked for and cannot be written stops the run before it
// reads or writes anything.
TEST(Unattended, ALogThatCannotBeOpenedStopsTheRunFirst) {
    const struct {
        const char* log;
        std::function<void(TestRig&)> setUp;
    } cases[] = {
        {"C:\\Logs", [](TestRig& rig) { ASSERT_EQ(rig.files.CreateFolders("C:\\Logs"), 0); }},
        {"C:\\Missing\\run.log", [](TestRig&) {}},
        {"C:\\run.log", [](TestRig& rig) { rig.files.RefusePath("C:\\run.log"); }},
    };
    for (const auto& c : cases) {
        TestRig rig;
        SeedFolders(rig.registry);
        ASSERT_EQ(rig.files.WriteAll("C:\\p.reg", Profile("\"SwapMouseButtons\"=\"1\"\r\n")), 0);
        c.setUp(rig);
        const std::string before = rig.registry.ExportRegFile(RegFormat::Version5);
        EXPECT_EQ(RunUnattended(*rig.app, ParseSwitches({"/apply", "C:\\p.reg", "/log", c.log})), 2) << c.log;
        EXPECT_EQ(rig.registry.ExportRegFile(RegFormat::Version5), before) << c.log;
        EXPECT_FALSE(rig.files.Exists(kBackups)) << c.log;
        EXPECT_EQ(rig.app->journal().writes(), std::vector<std::string>{}) << c.log;
    }
}

TEST(Unattended, UsageIsAShortMessageAndExitCodeTwo) {
    TestRig rig;
    rig.dialogs.ExpectMessage("Vantrel", mb::kAnswerOk, kUsage, mb::kInformation);
    EXPECT_EQ(RunUnattended(*rig.app, ParseSwitches({"/?"})), 2);
}

}  // namespace
TEST(Unattended, ReportIsCsvWithOneLinePerSetting) {
    TestRig rig;
    SeedFolders(rig.registry);
    // A policy's text, read in the system's code page, goes into the file as UTF-8.
    rig.registry.PutString(reg::kCurrentUser, R"(Software\Policies\Microsoft\Internet Explorer\Main)", "Start Page",
                           "http://intra/caf\xE9");
    rig.registry.PutDword(reg::kCurrentUser, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel)",
                          "HomePage", 1);
    rig.registry.PutString(reg::kLocalMachine, R"(Software\Microsoft\Internet Explorer)", "Version", "7.0.5730.13");
    ASSERT_EQ(RunUnattended(*rig.app, ParseSwitches({"/report", "C:\\status.csv"})), 0);
    std::string csv;
    ASSERT_EQ(rig.files.ReadAll("C:\\status.csv", &csv, false), 0);
    EXPECT_EQ(csv.rfind("\xEF\xBB\xBFPage,Setting,Stored value,Standing,Takes effect,Source\r\n", 0), 0u);
    EXPECT_EQ(static_cast<std::size_t>(std::count(csv.begin(), csv.end(), '\n')),
              1 + CatalogueRows().size() + ToolSubjects().size());
    EXPECT_NE(csv.find("\r\nPersonal Folders,AppData:,\"\"\"C:\\Folders\\AppData\"\" (REG_SZ)\",unknown (assumed in effect),"
                       "unknown,unknown\r\n"),
              std::string::npos)
        << csv;
    EXPECT_NE(csv.find("\r\nExplorer,Enable Net Send,(absent),takes effect later: after a restart,after a restart,"
                       "\"NetMessageBufferSend function (lmmsg.h)"),
              std::string::npos);
    EXPECT_NE(csv.find("http://intra/caf\xC3\xA9"), std::string::npos) << csv;
    EXPECT_EQ(csv.find("caf\xE9"), std::string::npos) << "no byte of the code page";
}

}  // namespace vantrel::testing

namespace vantrel::testing {
namespace {

// The services of a rig, each able to throw at a chosen call: the Nth value
// set, the first key opened, the Nth append, the first read or new file, the
// Nth clock reading.
struct Throwing {
    explicit Throwing(TestRig& rig) : rig(rig) {}
    TestRig& rig;
    int setValuesBeforeThrow = -1, appendsBeforeThrow = -1, nowsBeforeThrow = -1;
    bool throwOnOpen = false, throwOnRead = false, throwOnNewFile = false;

    static bool Due(int& left) { return left >= 0 && left-- == 0; }

    struct Reg : ForwardingRegistry {
        Reg(Registry& inner, Throwing& t) : ForwardingRegistry(inner), t(t) {}
        Throwing& t;
        long OpenKey(RegKey parent, const std::string& sub, RegKey* out) override {
            if (t.throwOnOpen) throw std::bad_alloc();
            return ForwardingRegistry::OpenKey(parent, sub, out);
        }
        long SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                      std::uint32_t size) override {
            if (Due(t.setValuesBeforeThrow)) throw std::bad_alloc();
            return ForwardingRegistry::SetValue(key, name, type, data, size);
        }
    } reg{rig.view, *this};

    struct Files : ForwardingFileSystem {
        Files(FileSystem& inner, Throwing& t) : ForwardingFileSystem(inner), t(t) {}
        Throwing& t;
        long ReadAll(const std::string& p, std::string* b, bool c) override {
            if (t.throwOnRead) throw std::bad_alloc();
            return inner_.ReadAll(p, b, c);
        }
        long CreateUnique(const std::string& f, const std::string& pre, const std::string& b, std::string* p) override {
            if (t.throwOnNewFile) throw std::bad_alloc();
            return inner_.CreateUnique(f, pre, b, p);
        }
        long Append(const std::string& p, const std::string& b) override {
            if (Due(t.appendsBeforeThrow)) throw std::bad_alloc();
            return inner_.Append(p, b);
        }
    } files{rig.files, *this};

    struct Clock : PortableEnvironment {
        explicit Clock(Throwing& t) : t(t) {}
        Throwing& t;
        std::tm Now() override {
            if (Due(t.nowsBeforeThrow)) throw std::bad_alloc();
            return PortableEnvironment::Now();
        }
    } environment{*this};

    Services services{reg, files, rig.shell, rig.browser, rig.dialogs, environment, [] {}};
};

TEST(Unattended, AFailureAtAnyStepEndsWithTheCodeOfWhatWasWritten) {
    const struct {
        const char* name;
        const char* mode;
        std::function<void(Throwing&)> arm;
        int exitCode;
        const char* logged;  // "" for no log line at all
    } cases[] = {
        {"opening the log", "/apply", [](Throwing& t) { t.appendsBeforeThrow = 0; }, 2, ""},
        {"the log's first line", "/apply", [](Throwing& t) { t.nowsBeforeThrow = 0; }, 2, ""},
        {"reading the profile", "/apply", [](Throwing& t) { t.throwOnRead = true; }, 2, "The run stopped"},
        {"the load pass", "/check", [](Throwing& t) { t.throwOnOpen = true; }, 2, "The run stopped"},
        {"the backup", "/apply", [](Throwing& t) { t.throwOnNewFile = true; }, 2, "The run stopped"},
        {"the apply pass half way", "/apply", [](Throwing& t) { t.setValuesBeforeThrow = 3; }, 1,
         "written before the run stopped"},
        {"the failure's own log line", "/apply",
         [](Throwing& t) {
             t.setValuesBeforeThrow = 3;
             t.nowsBeforeThrow = 2;  // the log's first line and the backup's name, then no more
         },
         1, ""},
        {"the closing log line", "/apply", [](Throwing& t) { t.appendsBeforeThrow = 1; }, 1, ""},
        {"writing an export", "/export", [](Throwing& t) { t.throwOnNewFile = true; }, 2, "The run stopped"},
    };
    for (const auto& c : cases) {
        TestRig rig;
        SeedFolders(rig.registry);
        ASSERT_EQ(rig.files.WriteAll("C:\\p.reg", Profile("\"SwapMouseButtons\"=\"1\"\r\n")), 0);
        Throwing throwing(rig);
        c.arm(throwing);
        App app(throwing.services);
        EXPECT_EQ(RunUnattended(app, ParseSwitches({c.mode, "C:\\p.reg", "/log", "C:\\run.log"})), c.exitCode)
            << c.name;
        std::string log;
        rig.files.ReadAll("C:\\run.log", &log, false);
        if (*c.logged) {
            EXPECT_NE(log.find(c.logged), std::string::npos) << c.name << "\n" << log;
        }
    }
}

}  // namespace
}  // namespace vantrel::testing
