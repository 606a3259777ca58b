// Export Settings, Import Settings and Export for Group Policy over the
// in-memory registry: a profile carries every page to a fresh start, an
// import takes only Vantrel's values, and the Group Policy files read back
// through Samba's own parser.
#include "app/Profile.h"
#include "app/Report.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>

#include "app/Unattended.h"
#include "registry/RegFile.h"
#include "settings/SettingsTestSupport.h"
#include "support/FileCheckers.h"
#include "registry/PolicyFile.h"
#include "support/TestRig.h"

namespace vantrel::testing {
namespace {

using catalogue_test::SetStateOf;
using catalogue_test::StateOf;

const std::string kExplorer = R"(HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer)";

// A value on every page, so that each control starts from a known state.
const std::string kSeed = "REGEDIT4\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Accessibility\\Utility Manager\\Narrator]\r\n"
    "\"Start with Windows\"=\"1\"\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n\"RegisteredOwner\"=\"Seeded Owner\"\r\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Services\\Messenger]\r\n\"Start\"=dword:00000002\r\n"
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main]\r\n\"FullScreen\"=\"no\"\r\n"
    "\"Start Page\"=\"http://home.example/\"\r\n"
    "[HKEY_CURRENT_USER\\Control Panel\\Keyboard]\r\n\"KeyboardDelay\"=\"2\"\r\n\"KeyboardSpeed\"=dword:0000000f\r\n"
    "[HKEY_CURRENT_USER\\Control Panel\\Mouse]\r\n\"SwapMouseButtons\"=\"1\"\r\n\"MouseTrails\"=\"4\"\r\n"
    "\"MouseSensitivity\"=\"12\"\r\n" +
    ("[" + kExplorer + "\\Advanced]\r\n\"Hidden\"=dword:00000001\r\n\"Start_ShowRun\"=dword:00000001\r\n") +
    ("[" + kExplorer + "\\Desktop\\CleanupWiz]\r\n\"Days between clean up\"=dword:0000001e\r\n") +
    ("[" + kExplorer + "\\Shell Folders]\r\n\"AppData\"=\"C:\\\\A\"\r\n\"Desktop\"=\"C:\\\\D\"\r\n"
     "\"Favorites\"=\"C:\\\\F\"\r\n\"My Pictures\"=\"C:\\\\P\"\r\n\"Programs\"=\"C:\\\\G\"\r\n\"Recent\"=\"C:\\\\R\"\r\n"
     "\"SendTo\"=\"C:\\\\S\"\r\n\"Start Menu\"=\"C:\\\\M\"\r\n\"Startup\"=\"C:\\\\U\"\r\n");

std::vector<std::string> SettingControls() {
    std::vector<std::string> controls;
    for (const TweakRow* row : CatalogueRows()) {
        if (row->apply != ApplyForm::None) controls.push_back(row->control);
    }
    return controls;
}

bool IsText(Form& f, const std::string& control) {
    return f.has(control) && f.control(control).kind() == ControlKind::TextBox;
}

std::string Shown(Form& f, const std::string& control) {
    return IsText(f, control) ? f.text(control).text() : std::to_string(StateOf(f, control));
}

// Puts a control into another state that an apply writes (Mouse Trails at
// position 7 and the grayed state write nothing; the days box must stay a number).
void Change(Form& f, const std::string& control) {
    if (control == "Text1") return f.text(control).setText("7");
    if (IsText(f, control)) return f.text(control).setText(f.text(control).text() + " Changed");
    if (control == "Option1|Option2") return SetStateOf(f, control, StateOf(f, control) == 1 ? 2 : 1);
    if (control == "Slider1") return SetStateOf(f, control, (StateOf(f, control) + 1) % 7);
    if (f.has(control) && f.control(control).kind() == ControlKind::Slider) {
        return SetStateOf(f, control, StateOf(f, control) + 1);
    }
    SetStateOf(f, control, StateOf(f, control) == 1 ? 0 : 1);
}

std::unique_ptr<TestRig> Started() {
    auto rig = std::make_unique<TestRig>();
    EXPECT_EQ(rig->registry.LoadRegFile(kSeed), "");
    rig->app->Form_Load();
    return rig;
}

TEST(ExportImport, ExportThenImportOnAFreshStartGivesTheSamePages) {
    auto from = Started();
    for (const std::string& control : SettingControls()) Change(from->form1(), control);
    const SettingsProfile profile = ExportProfile(from->form1(), from->registry, from->environment.ProfileFolder());
    EXPECT_TRUE(profile.skipped.empty());
    const std::string file = ExportFile(profile).bytes;
    EXPECT_EQ(file.substr(0, 4), std::string("\xFF\xFE" "W\0", 4)) << "a version 5 file";

    auto to = Started();
    const std::string before = to->registry.ExportRegFile(RegFormat::Regedit4);
    const ImportedSettings imported = ImportSettings(to->form1(), file);
    EXPECT_EQ(imported.error, "");
    EXPECT_TRUE(imported.ignored.empty());
    EXPECT_EQ(imported.settings, static_cast<int>(SettingControls().size()));
    for (const std::string& control : SettingControls()) {
        EXPECT_EQ(Shown(to->form1(), control), Shown(from->form1(), control)) << control;
    }
    // "Hidden" unticked is exported as 0, which its load rule leaves alone:
    // the box takes the state of a fresh start, unticked, not the seeded tick.
    EXPECT_EQ(to->form1().check("Check4").value(), 0);
    EXPECT_EQ(to->form1().text("Label19").text(), "Seeded Owner") << "the machine's information stays";
    EXPECT_EQ(to->registry.ExportRegFile(RegFormat::Regedit4), before) << "an import writes nothing";
}

TEST(ExportImport, ImportTakesOnlyVantrelsValues) {
    struct Case {
        const char* name;
        std::string file;
        std::vector<std::pair<std::string, std::string>> shown;  // control, what it shows afterwards
        int settings;
        std::vector<std::string> ignored;
        std::string error;
        std::vector<std::string> kept{};  // not set, and an apply leaves them as stored
    };
    const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n";
    const std::vector<Case> cases = {
        {"other keys and values are listed, not taken",
         header + "[HKEY_CURRENT_USER\\Software\\Other]\r\n\"Name\"=\"x\"\r\n@=\"y\"\r\n[-HKEY_CURRENT_USER\\Software\\Gone]\r\n" +
             "[" + kExplorer + "\\Advanced]\r\n\"ShowSuperHidden\"=dword:1\r\n",
         {{"Check4", "1"}},
         0,
         {R"(HKEY_CURRENT_USER\Software\Other "Name": not a setting Vantrel manages)",
          R"(HKEY_CURRENT_USER\Software\Other (Default): not a setting Vantrel manages)",
          R"(HKEY_CURRENT_USER\Software\Gone (the whole key): not a setting Vantrel manages)",
          kExplorer + R"(\Advanced "ShowSuperHidden": not a setting Vantrel manages)"},
         ""},
        {"a malformed line sets nothing",
         header + "[" + kExplorer + "\\Advanced]\r\n\"Hidden\"=dword:0\r\n\"Broken\"\r\n", {{"Check4", "1"}}, 0, {},
         "line 5: expected '=' after value name"},
        {"keys and names match without regard to case or a trailing backslash",
         header + "[hkey_current_user\\control panel\\MOUSE\\]\r\n\"swapmousebuttons\"=\"0\"\r\n", {{"Option1|Option2", "2"}},
         1, {}, ""},
        {"a value the file deletes or holds in a form the page cannot show is kept, not made a default",
         header + "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main]\r\n\"FullScreen\"=-\r\n" +
             "[-HKEY_CURRENT_USER\\Control Panel\\Mouse]\r\n[" + kExplorer + "\\Advanced]\r\n\"Hidden\"=dword:5\r\n" +
             "\"HideFileExt\"=hex(2):31,00,00,00\r\n[" + kExplorer + "\\Desktop\\CleanupWiz]\r\n\"Days between clean up\"=-\r\n" +
             "[HKEY_CURRENT_USER\\Control Panel\\Keyboard]\r\n\"KeyboardDelay\"=\"1\"\r\n",
         {{"Check11", "0"}, {"Slider2", "12"}, {"Check4", "1"}, {"Text1", "30"}, {"Slider3", "1"}},
         1, {}, "",
         {"Internet Options - Enable/Disable Full Screen on Startup: not applied: the file deletes it",
          "Mouse - Enable Mouse Snapping: not applied: the file deletes its key",
          "Mouse - Mouse Hand:: not applied: the file deletes its key",
          "Mouse - Mouse Trails:: not applied: the file deletes its key",
          "Mouse - Mouse Sensitivity:: not applied: the file deletes its key",
          "Explorer - Show Hidden Files and Folders: not applied: the page cannot show the file's value 5 (REG_DWORD)",
          "Explorer - Hide file extension of known file types: not applied: the page cannot show the file's value "
          "\"1\" (REG_EXPAND_SZ)",
          "Explorer - days between desktop cleanup: not applied: the file deletes it",
          "Mouse pointer - Mouse acceleration:: not applied: the file deletes its key"}},
        {"a folder found only where the apply writes it, the owner into the Explorer page only",
         header + "[" + kExplorer + "\\User Shell Folders]\r\n\"Recent\"=\"C:\\\\Elsewhere\"\r\n" +
             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n\"RegisteredOwner\"=\"New\"\r\n",
         {{"Text12", "C:\\Elsewhere"}, {"Text19", "New"}, {"Label19", "Seeded Owner"}},
         2, {}, ""},
    };
    for (const Case& c : cases) {
        auto rig = Started();
        const ImportedSettings imported = ImportSettings(rig->form1(), c.file);
        EXPECT_EQ(imported.error, c.error) << c.name;
        EXPECT_EQ(imported.settings, c.settings) << c.name;
        EXPECT_EQ(imported.ignored, c.ignored) << c.name;
        EXPECT_EQ(SkippedLines(imported.kept), c.kept) << c.name;
        for (const auto& [control, shown] : c.shown) {
            const std::string now =
                rig->form1().has(control) && rig->form1().control(control).kind() == ControlKind::Label
                    ? rig->form1().text(control).text()
                    : Shown(rig->form1(), control);
            EXPECT_EQ(now, shown) << c.name << ": " << control;
        }
    }
}

// The File menu: Export Settings to a file, a page changed, Import Settings
// from that file puts the page back and says what it did; a file that is
// not a .reg is refused with the line at fault.
TEST(ExportImport, FileMenuExportsAndImportsThroughItsDialogs) {
    auto rig = Started();
    rig->dialogs.ExpectFileToSave("C:\\Profile.reg").ExpectMessage("Export Settings", mb::kAnswerOk, "", mb::kInformation);
    rig->app->Menu("export");
    EXPECT_EQ(rig->dialogs.choices.at(0).fileName, "Vantrel Settings.reg");
    // Values absent here are listed, not exported; that is no fault (the icon above).
    EXPECT_EQ(rig->dialogs.shown.back().prompt.rfind("Settings exported to \"C:\\Profile.reg\".\n\n", 0), 0u);
    EXPECT_NE(rig->dialogs.shown.back().prompt.find("\nInternet Options - Search Page: not set on this computer\n"),
              std::string::npos);

    rig->form1().check("Check4").setValue(0);
    rig->dialogs.ExpectFileToOpen("C:\\Profile.reg").ExpectMessage("Import Settings", mb::kAnswerOk, "", mb::kInformation);
    rig->app->Menu("import");
    EXPECT_EQ(rig->form1().check("Check4").value(), 1);
    EXPECT_NE(rig->dialogs.shown.back().prompt.find("press \"Apply Changes\""), std::string::npos);

    ASSERT_EQ(rig->files.WriteAll("C:\\Notes.reg", "hello\r\n"), 0);
    rig->dialogs.ExpectFileToOpen("C:\\Notes.reg").ExpectMessage("Import Settings", mb::kAnswerOk, "", mb::kExclamation);
    rig->app->Menu("import");
    EXPECT_NE(rig->dialogs.shown.back().prompt.find("(line 1: expected \"REGEDIT4\""), std::string::npos);
}

// Names and errors arrive in UTF-8 (a file's root key, a value's name) and
// are shown through the system's code page, Windows-1252 here ("\xDC" is
// "\xC3\x9C" in UTF-8); a profile a .reg file cannot hold is not written.
TEST(ExportImport, WhatAFileCannotHoldIsToldInTheSystemsCodePage) {
    const std::string bad = "C:\\Bad.reg";
    const std::string rootError = "unknown root key \"HKEY_C\xDCRRENT_USER\"";
    const struct {
        const char* name;
        std::function<std::string(TestRig&)> run;  // what the user is told
        std::string says;
    } cases[] = {
        {"Import Settings",
         [&](TestRig& rig) {
             rig.dialogs.ExpectFileToOpen(bad).ExpectMessage("Import Settings");
             rig.app->Menu("import");
             return rig.dialogs.shown.back().prompt;
         },
         "(line 2: " + rootError + "). No setting was changed."},
        {"Restore Backup",
         [&](TestRig& rig) {
             rig.dialogs.ExpectFileToOpen(bad).ExpectMessage("Restore Backup");
             rig.app->Menu("restore");
             return rig.dialogs.shown.back().prompt;
         },
         "line 2: " + rootError + "\n\nNothing was restored."},
        {"/apply",
         [&](TestRig& rig) {
             EXPECT_EQ(RunUnattended(*rig.app, ParseSwitches({"/apply", bad, "/log", "C:\\run.log"})), 2);
             std::string log;
             EXPECT_EQ(rig.files.ReadAll("C:\\run.log", &log, false), 0);
             return log;
         },
         "(line 2: " + rootError + "). No setting was changed."},
        {"a profile with a line break in a name",
         [](TestRig& rig) {
             SettingsProfile profile;
             profile.blocks = {{reg::kCurrentUser, "Software\\X", false, {RegStringValue("\xC3\x9C\nB", "x")}}};
             auto entries = [&] { return std::distance(std::filesystem::directory_iterator(rig.files.root()), {}); };
             const auto before = entries();
             std::string leftBehind;
             const std::string told = WriteExport(rig.services, "C:\\Out.reg", profile, &leftBehind);
             EXPECT_EQ(entries(), before) << "nothing written";
             return told;
         },
         "Vantrel could not write \"C:\\Out.reg\" as a registry file: the value \"\xDC\nB\" of "
         "\"HKEY_CURRENT_USER\\Software\\X\" has a line break or a NUL in its name. Nothing was written."},
    };
    for (const auto& c : cases) {
        auto rig = Started();
        ASSERT_EQ(rig->files.WriteAll(bad, "REGEDIT4\r\n[HKEY_C\xDCRRENT_USER\\X]\r\n"), 0);
        const std::string told = c.run(*rig);
        EXPECT_NE(told.find(c.says), std::string::npos) << c.name << ": " << told;
    }
}

// Export for Group Policy's choice as Registry.pol files in the folder, every setting ticked.
std::function<void(ExportChoice&)> RegistryPol(const std::string& folder) {
    return [folder](ExportChoice& choice) {
        choice.form = 1;
        choice.folder = folder;
        choice.checked.assign(choice.checked.size(), true);
    };
}

// The two files of a Group Policy object change together: every new file is
// written before either takes its place, and a file replaced before a later
// failure is named.
TEST(ExportImport, GroupPolicyFilesAreReplacedOnlyWhenBothAreWritten) {
    const std::string machine = "C:\\GPO\\Machine\\Registry.pol", user = "C:\\GPO\\User\\Registry.pol";
    const struct {
        const char* name;
        std::function<void(PortableFileSystem&)> inject;
        std::string starts;
        bool machineReplaced;
    } cases[] = {
        {"the user folder refuses", [](PortableFileSystem& f) { f.RefusePath("C:\\GPO\\User"); },
         "Vantrel could not write \"C:\\GPO\\User\". Error 5: ", false},
        {"the user file cannot take its place",
         [&](PortableFileSystem& f) { f.FailOn(PortableFileSystem::Op::Replace, user, 32); },
         "Vantrel could not write \"" + user + "\". Error 32: ", true},
    };
    const std::string replaced = " \"" + machine + "\" was replaced already.";
    const std::string oldMachine = WritePolicyFile({{reg::kLocalMachine, "Software\\Old", false, {RegDwordValue("M", 1)}}});
    const std::string oldUser = WritePolicyFile({{reg::kCurrentUser, "Software\\Old", false, {RegDwordValue("U", 1)}}});
    for (const auto& c : cases) {
        auto rig = Started();
        for (const char* folder : {"C:\\GPO\\Machine", "C:\\GPO\\User"}) ASSERT_EQ(rig->files.CreateFolders(folder), 0);
        ASSERT_EQ(rig->files.WriteAll(machine, oldMachine), 0);
        ASSERT_EQ(rig->files.WriteAll(user, oldUser), 0);
        c.inject(rig->files);
        rig->dialogs.ExpectExportChoice(RegistryPol("C:\\GPO"))
            .ExpectMessage("Export for Group Policy", mb::kAnswerYes)
            .ExpectMessage("Export for Group Policy", mb::kAnswerOk, "", mb::kExclamation);
        rig->app->Menu("gpexport");
        rig->dialogs.Verify();
        rig->files.ClearFailures();
        const std::string& told = rig->dialogs.shown.back().prompt;
        EXPECT_EQ(told.rfind(c.starts, 0), 0u) << c.name << ": " << told;
        EXPECT_EQ(told.size() > replaced.size() && told.compare(told.size() - replaced.size(), replaced.size(), replaced) == 0,
                  c.machineReplaced)
            << c.name << ": " << told;
        std::string bytes;
        ASSERT_EQ(rig->files.ReadAll(machine, &bytes, false), 0);
        EXPECT_EQ(bytes != oldMachine, c.machineReplaced) << c.name;
        ASSERT_EQ(rig->files.ReadAll(user, &bytes, false), 0);
        EXPECT_EQ(bytes, oldUser) << c.name;
        for (const char* folder : {"C:\\GPO\\Machine", "C:\\GPO\\User"}) {
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(rig->files.HostPath(folder)), {}), 1)
                << c.name << ": no new file left in " << folder;
        }
    }
}

std::string Hex(const std::string& bytes) {
    std::string out;
    char two[3];
    for (unsigned char c : bytes) {
        std::snprintf(two, sizeof two, "%02x", c);
        out += two;
    }
    return out;
}

TEST(ExportImport, GroupPolicyFilesHoldTheExportedValues) {
    auto rig = Started();
    rig->form1().text("Text19").setText("Ow\xE9ner");  // a letter beyond ASCII
    rig->form1().check("Check28").setValue(1);         // a policy, Enabled
    rig->dialogs.ExpectExportChoice(RegistryPol("C:\\GPO"))
        .ExpectMessage("Export for Group Policy", mb::kAnswerOk, "", mb::kInformation);
    rig->app->Menu("gpexport");

    for (const auto& [root, sub] : {std::pair{reg::kLocalMachine, "Machine"}, std::pair{reg::kCurrentUser, "User"}}) {
        std::string expected;
        for (const RegKeyBlock& block : ExportProfile(rig->form1(), rig->registry, rig->environment.ProfileFolder()).blocks) {
            if (block.root != root) continue;
            for (const RegValueEntry& v : block.values) {
                std::string data;
                if (v.type == reg::kDword) {
                    data = std::to_string(v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) | (v.data[3] << 24));
                } else {
                    data = Hex(std::string(v.data.begin(), v.data.end() - 2));  // UTF-16 as stored, without its NUL
                }
                expected += block.path + "|" + v.name + "|" + std::to_string(v.type) + "|" + data + "\n";
            }
        }
        // Samba's parser: "key|value|type|data", strings as UTF-16LE hex, numbers in decimal.
        EXPECT_EQ(RunChecker("preg_entries.py", rig->files.HostPath(std::string("C:\\GPO\\") + sub + "\\Registry.pol")), expected)
            << sub;
        const std::string policy = "Software\\Policies\\Microsoft\\Windows\\Explorer|DisableSearchBoxSuggestions|4|1\n";
        EXPECT_EQ(expected.find(policy) != std::string::npos, root == reg::kCurrentUser) << sub;
    }

}

// An export into a policy object that holds files already: nothing changes
// without a Yes, and then every entry Vantrel does not write stays as it was,
// first; a file that is not a Registry.pol is refused and nothing is written.
TEST(ExportImport, GroupPolicyExportMergesIntoTheFilesThere) {
    const std::string user = "C:\\GPO\\User\\Registry.pol", machine = "C:\\GPO\\Machine\\Registry.pol";
    const std::string advanced = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced)";
    const RegKeyBlock others{reg::kCurrentUser, "Software\\Theirs", false, {RegStringValue("T", "t"), RegRemovedValue("Gone")}};
    const std::string theirs = WritePolicyFile({others, {reg::kCurrentUser, advanced, false, {RegDwordValue("Hidden", 7)}}});
    const std::string othersEntries = WritePolicyFile({others}).substr(8);
    const struct {
        const char* name;
        std::string existing;
        int answer;
        bool userOnly;  // only user settings ticked
        std::string message;
        bool merged;
    } cases[] = {
        {"No leaves the file", theirs, mb::kAnswerNo, false, "", false},
        {"Yes merges", theirs, mb::kAnswerYes, false, "\"" + user + "\": 2 entries kept, 1 replaced, ", true},
        {"user settings alone leave the computer's file unwritten", theirs, mb::kAnswerYes, true,
         "Settings exported for Group Policy:\n\n\"" + user + "\": 2 entries kept, 1 replaced, ", true},
        {"a file that is not a Registry.pol", "kept", mb::kAnswerOk, false,
         "Vantrel could not read \"" + user + "\" as a Registry.pol file: it does not start with the signature PReg and "
         "the version 1. Nothing was written.",
         false},
    };
    for (const auto& c : cases) {
        auto rig = Started();
        ASSERT_EQ(rig->files.CreateFolders("C:\\GPO\\User"), 0);
        ASSERT_EQ(rig->files.WriteAll(user, c.existing), 0);
        rig->dialogs.ExpectExportChoice([&](ExportChoice& choice) {
            RegistryPol("C:\\GPO")(choice);
            for (std::size_t i = 0; i < choice.checked.size(); ++i) {
                choice.checked[i] = !c.userOnly || choice.list.rows[i].cells[3] == "User";
            }
        });
        rig->dialogs.ExpectMessage("Export for Group Policy", c.answer);
        if (c.answer == mb::kAnswerYes) rig->dialogs.ExpectMessage("Export for Group Policy");
        rig->app->Menu("gpexport");
        rig->dialogs.Verify();
        std::string bytes;
        ASSERT_EQ(rig->files.ReadAll(user, &bytes, false), 0);
        EXPECT_EQ(bytes != c.existing, c.merged) << c.name;
        if (c.merged) {
            EXPECT_EQ(bytes.find(othersEntries), 8u) << c.name << ": theirs first, as they were";
        }
        EXPECT_EQ(rig->files.Exists(machine), c.merged && !c.userOnly) << c.name;
        EXPECT_NE(rig->dialogs.shown.back().prompt.find(c.message), std::string::npos)
            << c.name << ": " << rig->dialogs.shown.back().prompt;
    }
}

// An export carries a value only when it is present here or its control was
// changed since the last load or import; the others are listed, in the
// message and in /export's log, without changing its exit code.
TEST(ExportImport, ExportCarriesOnlyValuesSetHereOrChangedSinceTheLoad) {
    const std::string main = R"(Software\Microsoft\Internet Explorer\Main)";
    const std::string advanced = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\AutoComplete)";
    const struct {
        const char* name;
        std::function<void(TestRig&)> act;
        std::string key, value;
        bool carried;
    } cases[] = {
        {"present, untouched", [](TestRig&) {}, main, "Start Page", true},
        {"absent, untouched", [](TestRig&) {}, main, "Search Page", false},
        {"absent, typed", [](TestRig& r) { r.form1().text("Text17").setText("http://s/"); }, main, "Search Page", true},
        {"absent, ticked and unticked again",
         [](TestRig& r) {
             r.form1().check("Check2").setValue(1);
             r.form1().check("Check2").setValue(0);
         },
         advanced, "AutoSuggest", false},
        {"absent, then applied",
         [](TestRig& r) {
             r.dialogs.ExpectMessage("Changes Applied");
             r.app->apply_Click();
         },
         main, "Search Page", true},
        {"absent here, set by an import",
         [&](TestRig& r) {
             ImportSettings(r.form1(), "REGEDIT4\r\n[HKEY_CURRENT_USER\\" + main + "]\r\n\"Search Page\"=\"http://s/\"\r\n");
         },
         main, "Search Page", true},
    };
    for (const auto& c : cases) {
        auto rig = Started();
        c.act(*rig);
        bool exported = false;
        for (const RegKeyBlock& b : ExportProfile(rig->form1(), rig->registry, "").blocks) {
            for (const RegValueEntry& v : b.values) exported = exported || (b.path == c.key && v.name == c.value);
        }
        EXPECT_EQ(exported, c.carried) << c.name;
    }

    auto rig = Started();
    EXPECT_EQ(RunUnattended(*rig->app, ParseSwitches({"/export", "C:\\Out.reg", "/log", "C:\\Out.log"})), 0);
    std::string log;
    ASSERT_EQ(rig->files.ReadAll("C:\\Out.log", &log, false), 0);
    EXPECT_NE(log.find("  Internet Options - Search Page: not set on this computer\r\n"), std::string::npos) << log;
}

// A personal folder in the exporting user's profile travels relative to it
// and lands in the profile of the user who applies it; any other folder
// travels as it is.
TEST(ExportImport, FoldersInTheProfileTravelRelativeToIt) {
    const std::string profile = R"(C:\Documents and Settings\User)";
    const struct {
        std::string path, profile;
        std::optional<std::string> relative;
    } paths[] = {
        {profile + R"(\Desktop)", profile, R"(%USERPROFILE%\Desktop)"},
        {R"(c:\DOCUMENTS and settings\user\Start Menu\Programs)", profile, R"(%USERPROFILE%\Start Menu\Programs)"},
        {profile, profile, "%USERPROFILE%"},
        {profile + R"(\Desktop)", profile + "\\", R"(%USERPROFILE%\Desktop)"},
        {R"(C:\Documents and Settings\User2\Desktop)", profile, std::nullopt},
        {R"(C:\Documents and Settings\UserDesktop)", profile, std::nullopt},
        {R"(C:\Documents and Settings)", profile, std::nullopt},
        {R"(D:\Data\Desktop)", profile, std::nullopt},
        {profile + R"(\Desktop)", "", std::nullopt},
    };
    for (const auto& p : paths) {
        EXPECT_EQ(RelativeToProfile(p.path, p.profile), p.relative) << p.path << " in " << p.profile;
    }
    for (const std::u16string kept : {u"%USERPROFILEX%\\A", u"%SystemRoot%\\A", u"C:\\%USERPROFILE%"}) {
        EXPECT_EQ(ExpandProfile(kept, u"D:\\P"), kept);
    }

    // Exported from one user's pages, applied by another user elsewhere (an
    // exported "Shell Folders" twin would win the import with the first path).
    auto from = Started();
    from->form1().text("Text7").setText(profile + R"(\Desktop)");
    const std::string file = ExportFile(ExportProfile(from->form1(), from->registry, profile)).bytes;
    auto to = Started();
    to->environment.setProfileFolder(R"(D:\Profiles\Other)");
    ASSERT_EQ(to->files.WriteAll("C:\\Profile.reg", file), 0);
    EXPECT_EQ(RunUnattended(*to->app, ParseSwitches({"/apply", "C:\\Profile.reg"})), 0);
    const std::string folders = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\)";
    for (const char* key : {"User Shell Folders", "Shell Folders"}) {
        EXPECT_EQ(to->registry.Raw(reg::kCurrentUser, folders + key, "Desktop"),
                  catalogue_test::Sz(R"(D:\Profiles\Other\Desktop)"))
            << key;
    }
}

}  // namespace
}  // namespace vantrel::testing
