#include <algorithm>
#include <new>

#include <gtest/gtest.h>

#include "registry/ForwardingRegistry.h"
#include "registry/RegistryRoutines.h"
#include "settings/TweakRow.h"
#include "support/TestRig.h"

namespace vantrel::testing {
namespace {

const char* const kAdvanced = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const kApplied = "All changes applied. Most changes will not be applied until you log off of Windows.";

std::vector<std::string> Roots(const TreeView& tree) {
    std::vector<std::string> roots;
    for (const TreeNode& n : tree.nodes())
        if (n.parentKey.empty()) roots.push_back(n.text);
    return roots;
}

TEST(StartUp, BuildsTreeListsAndShowsNoPage) {
    TestRig rig;
    rig.app->Form_Load();
    Form& f = rig.form1();
    const TreeView& tree = f.tree("TreeView1");
    EXPECT_EQ(tree.nodes().size(), 24u);
    EXPECT_EQ(Roots(tree), (std::vector<std::string>{"General", "Input", "Folders", "Taskbar", "Internet", "Logon",
                                                      "Accessibility", "About", "Windows 10 and 11"}));
    for (const TreeNode& n : tree.nodes()) EXPECT_FALSE(n.expanded) << n.key;
    EXPECT_EQ(tree.selectedKey(), "");
    EXPECT_EQ(tree.Node("Root6Child2").parentKey, "Logon");
    EXPECT_EQ(tree.style, 7);
    EXPECT_EQ(tree.lineStyle, 1);
    EXPECT_EQ(f.list("List1").ListCount(), 14);
    EXPECT_EQ(f.list("Combo1").ListCount(), 2);
    EXPECT_EQ(f.list("Combo1").ListIndex(), -1);
    EXPECT_EQ(rig.app->VisiblePage(), "");
    // The splash window was shown and unloaded inside start-up.
    EXPECT_FALSE(rig.app->form2().loaded());
    EXPECT_EQ(rig.endCalls, 0);
}

// The steps of start-up, seen through the order in which they change the
// main window: boot.ini, the load pass (accessibility first, personal
// folders last), the splash window's Run lists, the tree, the Start menu
// list, the zone list, and last the Start menu check marks.
TEST(StartUp, RunsItsStepsInOrder) {
    TestRig rig;
    ASSERT_EQ(rig.files.WriteAll("C:\\boot.ini", "[boot loader]\r\n"), 0);
    rig.registry.PutString(reg::kLocalMachine,
                           "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Accessibility\\Utility Manager\\Magnifier",
                           "Start with Windows", "1");
    SeedFolders(rig.registry);
    rig.registry.PutString(reg::kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "ctfmon.exe",
                           "ctfmon.exe");
    rig.registry.PutDword(reg::kCurrentUser, kAdvanced, "Start_ShowRun", 1);
    std::vector<std::string> changes;
    rig.form1().setObserver([&](Form&, Control* c) {
        if (c) changes.push_back(c->name());
    });
    rig.app->Form_Load();
    auto first = [&](const std::string& name) {
        return std::find(changes.begin(), changes.end(), name) - changes.begin();
    };
    auto last = [&](const std::string& name) {
        return changes.rend() - std::find(changes.rbegin(), changes.rend(), name);
    };
    const std::vector<std::string> order = {"Text4", "Check21", "Text15", "List3", "TreeView1", "List1", "Combo1"};
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        ASSERT_LT(first(order[i]), static_cast<long>(changes.size())) << order[i] << " never changed";
        EXPECT_LT(first(order[i]), first(order[i + 1])) << order[i] << " before " << order[i + 1];
    }
    EXPECT_GT(last("List1"), first("Combo1")) << "check marks are read after the zone list is filled";
}

TEST(StartUp, ReadsStartMenuChecksAfterFillingTheList) {
    TestRig rig;
    rig.registry.PutDword(reg::kCurrentUser, kAdvanced, "Start_ShowRun", 1);
    rig.registry.PutString(reg::kCurrentUser, kAdvanced, "Start_ShowHelp", "1");
    rig.registry.PutDword(reg::kCurrentUser, kAdvanced, "Start_ShowControlPanel", 2);
    rig.app->Form_Load();
    ListBox& list = rig.form1().list("List1");
    EXPECT_EQ(list.List(11), "Run");
    EXPECT_TRUE(list.Selected(11));
    EXPECT_TRUE(list.Selected(2));
    EXPECT_FALSE(list.Selected(1));
    EXPECT_FALSE(list.Selected(0));  // absent
}

TEST(Splash, ProgressFillsToHundredThenStartsAgain) {
    TestRig rig;
    ProgressBar& bar = rig.app->form2().progress("ProgressBar1");
    bar.setValue(99.0f);
    rig.app->Timer1_Timer();
    EXPECT_EQ(bar.value(), 100.0f);
    rig.app->Timer1_Timer();
    EXPECT_EQ(bar.value(), 0.0f);
    for (int i = 0; i < 250; ++i) {
        rig.app->Timer1_Timer();
        EXPECT_LE(bar.value(), 100.0f);
    }
}

TEST(Shutdown, EveryWayOutEndsAtOnceWritingNothing) {
    for (const std::string way : {"Command21", "exit"}) {
        TestRig rig;
        SeedFolders(rig.registry);
        rig.app->Form_Load();
        const std::string before = rig.registry.ExportRegFile(RegFormat::Regedit4);
        rig.form1().check("Check4").setValue(1);  // a pending edit is dropped
        if (way == "exit") rig.app->Menu(way);
        else rig.app->Click(way);
        EXPECT_EQ(rig.endCalls, 1) << way;
        EXPECT_EQ(rig.registry.ExportRegFile(RegFormat::Regedit4), before) << way;
        EXPECT_TRUE(rig.dialogs.shown.empty()) << way;
    }
}

// Every route of the navigation table shows its own page and hides the rest.
TEST(Navigation, EveryRouteShowsItsPageOnly) {
    TestRig rig;
    rig.app->Form_Load();
    Form& f = rig.form1();
    TreeView& tree = f.tree("TreeView1");
    auto checkOnly = [&](const std::string& frame, const std::string& how) {
        for (int i = 2; i <= 26; ++i) {
            const std::string name = "Frame" + std::to_string(i);
            EXPECT_EQ(f.control(name).visible(), name == frame) << how << " -> " << name;
        }
    };
    int routes = 0;
    for (const PageRoute& r : PageRoutes()) {
        rig.app->NodeClick(r.nodeKey);
        checkOnly(r.frame, std::string("node ") + r.nodeKey);
        ++routes;
        if (*r.menuItem) {
            rig.app->ShowPage("Frame20");
            rig.app->Menu(r.menuItem);
            checkOnly(r.frame, std::string("menu ") + r.menuItem);
        }
        if (*r.button) {
            rig.app->ShowPage("Frame20");
            rig.app->Click(r.button);
            checkOnly(r.frame, std::string("button ") + r.button);
        }
    }
    EXPECT_EQ(routes, 24);
    EXPECT_EQ(tree.selectedKey(), "");  // navigation never selects a node itself
    rig.app->NodeClick("general");      // keys compare case-sensitively
    checkOnly(PageRoutes().back().frame, "unknown key");
}

TEST(Navigation, MenuRevealsNodeWithoutSelectingIt) {
    TestRig rig;
    rig.app->Form_Load();
    TreeView& tree = rig.form1().tree("TreeView1");
    tree.setSelectedKey("About");
    rig.app->Menu("exp");
    EXPECT_EQ(rig.app->VisiblePage(), "Frame5");
    EXPECT_TRUE(tree.Node("General").expanded);
    EXPECT_EQ(tree.selectedKey(), "About");
    // Personal Folders does not reveal its node.
    rig.app->Menu("pf");
    EXPECT_EQ(rig.app->VisiblePage(), "Frame10");
    EXPECT_FALSE(tree.Node("Folders").expanded);
    // Opening the "Input" submenu shows the Input page; its items reveal their nodes.
    rig.app->Menu("input");
    EXPECT_EQ(rig.app->VisiblePage(), "Frame6");
    EXPECT_FALSE(tree.Node("Input").expanded);
    rig.app->Menu("key");
    EXPECT_TRUE(tree.Node("Input").expanded);
}

TEST(ApplyPass, BlankFolderWarnsReloadsAndWritesNothing) {
    TestRig rig;
    SeedFolders(rig.registry);
    rig.registry.PutDword(reg::kCurrentUser, kAdvanced, "Hidden", 2);
    rig.app->Form_Load();
    Form& f = rig.form1();
    const std::string before = rig.registry.ExportRegFile(RegFormat::Regedit4);

    f.check("Check4").setValue(1);
    f.list("List1").setSelected(11, true);  // the Start menu marks are not read again
    f.text("Text15").setText("");
    rig.dialogs.ExpectMessage("Blank Directory", mb::kAnswerOk, "You Cannot save into a blank directory",
                              mb::kExclamation);
    rig.app->apply_Click();
    rig.dialogs.Verify();

    EXPECT_EQ(rig.registry.ExportRegFile(RegFormat::Regedit4), before);
    EXPECT_EQ(f.check("Check4").value(), 0);             // reloaded from the registry
    EXPECT_EQ(f.text("Text15").text(), "C:\\Folders\\Startup");
    EXPECT_EQ(f.tree("TreeView1").nodes().size(), 24u);  // second start-up stopped at the tree
    EXPECT_EQ(f.list("List1").ListCount(), 14);
    EXPECT_EQ(f.list("Combo1").ListCount(), 2);
    EXPECT_TRUE(f.list("List1").Selected(11));
    EXPECT_TRUE(rig.app->lastBackup().empty());
}

TEST(ApplyPass, BlankOfOneSpacePassesAndIsStored) {
    TestRig rig;
    SeedFolders(rig.registry);
    rig.app->Form_Load();
    rig.form1().text("Text5").setText(" ");
    rig.dialogs.ExpectMessage("Changes Applied", mb::kAnswerOk, kApplied, mb::kInformation);
    rig.app->apply_Click();
    EXPECT_EQ(GetString(rig.registry, reg::kCurrentUser, kShellFolders, "AppData"), " ");
}

TEST(ApplyPass, SaveChangesMenuIsTheSameAsTheButton) {
    TestRig rig;
    SeedFolders(rig.registry);
    rig.app->Form_Load();
    rig.form1().check("Check4").setValue(1);
    rig.dialogs.ExpectMessage("Changes Applied", mb::kAnswerOk, kApplied, mb::kInformation);
    rig.app->Menu("sc");
    rig.dialogs.Verify();
    auto hidden = rig.registry.Raw(reg::kCurrentUser, kAdvanced, "Hidden");
    ASSERT_TRUE(hidden);
    EXPECT_EQ(hidden->type, reg::kDword);
    EXPECT_EQ(hidden->data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
}

TEST(ApplyPass, RefusedWritesAreNamedInsteadOfClaimingSuccess) {
    TestRig rig;
    SeedFolders(rig.registry);
    rig.app->Form_Load();
    rig.registry.SetReadOnly(reg::kLocalMachine, true);
    rig.form1().text("Text1").setText("30 days");
    rig.form1().check("Check4").setValue(1);
    rig.dialogs.ExpectMessage("Some Changes Were Not Applied", mb::kAnswerOk, "", mb::kExclamation);
    rig.app->apply_Click();
    rig.dialogs.Verify();
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    const std::string& text = rig.dialogs.shown[0].prompt;
    EXPECT_NE(text.find("Enable Net Send"), std::string::npos) << text;
    EXPECT_NE(text.find("Run Magnifier with Windows startup"), std::string::npos) << text;
    EXPECT_NE(text.find("days between desktop cleanup"), std::string::npos) << text;
    EXPECT_NE(text.find("All other changes were applied"), std::string::npos) << text;
    EXPECT_EQ(text.find(kApplied), std::string::npos);
    // The current user's settings were still written.
    EXPECT_TRUE(rig.registry.Raw(reg::kCurrentUser, kAdvanced, "Hidden"));
}

// The reason is the system's text for the registry's own code (the key's
// creation was refused), and a folder refused on both of its keys is one line.
TEST(ApplyPass, RefusedWriteGivesTheSystemsReasonOncePerSetting) {
    TestRig rig;
    SeedFolders(rig.registry);
    rig.app->Form_Load();
    rig.registry.SetReadOnly(reg::kCurrentUser, true);
    rig.dialogs.ExpectMessage("Some Changes Were Not Applied");
    rig.app->apply_Click();
    const std::string& text = rig.dialogs.shown.at(0).prompt;
    const std::string line = "Personal Folders: - AppData:: the registry refused the write: " + rig.files.ErrorText(5);
    EXPECT_NE(text.find(line), std::string::npos) << text;
    EXPECT_EQ(text.find("AppData::", text.find(line) + line.size()), std::string::npos) << text;
}

TEST(ApplyPass, BackupRestoresThePreviousValuesExactly) {
    TestRig rig;
    SeedFolders(rig.registry);
    rig.registry.PutDword(reg::kCurrentUser, kAdvanced, "Hidden", 2);
    rig.registry.Put(reg::kCurrentUser, "Control Panel\\Mouse", "MouseSensitivity", reg::kSz, {'1', '0'});  // no NUL
    rig.app->Form_Load();
    std::vector<std::pair<ValueRef, std::optional<MemoryRegistry::RawValue>>> before;
    for (const ValueRef& v : ApplyTargets()) before.push_back({v, rig.registry.Raw(v.root, v.key, v.value)});

    rig.form1().check("Check4").setValue(1);
    rig.dialogs.ExpectMessage("Changes Applied", mb::kAnswerOk, kApplied);
    rig.app->apply_Click();
    rig.dialogs.Verify();
    const std::string backup = rig.app->lastBackup();
    EXPECT_EQ(backup, "C:\\Documents and Settings\\User\\Application Data\\Vantrel\\Backups\\"
                      "Settings 2004-05-01 12-00-00.reg");

    std::string bytes;
    ASSERT_EQ(rig.files.ReadAll(backup, &bytes, false), 0);
    ASSERT_EQ(rig.registry.LoadRegFile(bytes), "");
    for (const auto& [v, raw] : before)
        EXPECT_EQ(rig.registry.Raw(v.root, v.key, v.value), raw) << v.key << "\\" << v.value;

    // A second apply in the same second keeps the first backup.
    rig.dialogs.ExpectMessage("Changes Applied", mb::kAnswerOk, kApplied);
    rig.app->apply_Click();
    EXPECT_NE(rig.app->lastBackup(), backup);
    EXPECT_TRUE(rig.files.Exists(backup));
}

TEST(ApplyPass, UnwritableBackupAsksAndNoWritesNothing) {
    for (int answer : {mb::kAnswerNo, mb::kAnswerYes}) {
        TestRig rig;
        SeedFolders(rig.registry);
        rig.app->Form_Load();
        rig.files.RefusePath("C:\\Documents and Settings\\User\\Application Data\\Vantrel\\Backups");
        const std::string before = rig.registry.ExportRegFile(RegFormat::Regedit4);
        rig.form1().check("Check4").setValue(1);
        rig.dialogs.ExpectMessage("Backup Not Saved", answer, "", mb::kYesNo | mb::kQuestion | mb::kDefaultButton2);
        if (answer == mb::kAnswerYes) rig.dialogs.ExpectMessage("Changes Applied", mb::kAnswerOk, kApplied);
        rig.app->apply_Click();
        rig.dialogs.Verify();
        if (answer == mb::kAnswerNo) EXPECT_EQ(rig.registry.ExportRegFile(RegFormat::Regedit4), before);
        else EXPECT_TRUE(rig.registry.Raw(reg::kCurrentUser, kAdvanced, "Hidden"));
    }
}

// The editor does not hold the whole file: a save would replace it with less.
TEST(BootIni, FileTheEditorCannotHoldIsNeverOverwritten) {
    const std::string nul("[boot loader]\r\n\0timeout=30\r\n", 29);
    for (const bool unreadable : {true, false}) {
        TestRig rig;
        const std::string bytes = unreadable ? "[boot loader]\r\ntimeout=30\r\n" : nul;
        ASSERT_EQ(rig.files.WriteAll("C:\\boot.ini", bytes), 0);
        if (unreadable) {
            rig.files.FailOn(PortableFileSystem::Op::Read, "C:\\boot.ini", 32);
            rig.dialogs.ExpectMessage("Error");  // could not be read; start-up goes on
        }
        rig.app->Form_Load();
        if (unreadable) EXPECT_EQ(rig.form1().text("Text4").text(), "");
        rig.dialogs.ExpectMessage("Error");  // the save is refused, before any question
        rig.app->Click("Command13");
        rig.dialogs.Verify();
        EXPECT_NE(rig.dialogs.shown.back().prompt.find(unreadable ? "could not be read" : "NUL"), std::string::npos);
        rig.files.ClearFailures();
        std::string stored;
        ASSERT_EQ(rig.files.ReadAll("C:\\boot.ini", &stored, false), 0);
        EXPECT_EQ(stored, bytes);
    }
}

TEST(ApplyPass, NoKnownApplicationDataFolderAsksBeforeApplying) {
    TestRig rig;
    SeedFolders(rig.registry);
    rig.environment.setAppDataFolder("");
    rig.app->Form_Load();
    const std::string before = rig.registry.ExportRegFile(RegFormat::Regedit4);
    rig.dialogs.ExpectMessage("Backup Not Saved", mb::kAnswerNo);
    rig.app->apply_Click();
    rig.dialogs.Verify();
    EXPECT_EQ(rig.registry.ExportRegFile(RegFormat::Regedit4), before);
    EXPECT_FALSE(rig.files.Exists("C:\\Vantrel"));
    EXPECT_EQ(rig.dialogs.shown[0].prompt.find("\\Vantrel"), std::string::npos) << "a path made from nothing";
}

TEST(Accessibility, CheckAllAndUncheckAllOnlyChangeTheBoxes) {
    TestRig rig;
    rig.app->Form_Load();
    const std::string before = rig.registry.ExportRegFile(RegFormat::Regedit4);
    Form& f = rig.form1();
    rig.app->Click("Option3");
    for (auto n : {"Check21", "Check22", "Check23"}) EXPECT_EQ(f.check(n).value(), 1) << n;
    rig.app->Click("Option4");
    for (auto n : {"Check21", "Check22", "Check23"}) EXPECT_EQ(f.check(n).value(), 0) << n;
    EXPECT_EQ(rig.registry.ExportRegFile(RegFormat::Regedit4), before);
}

}  // namespace
}  // namespace vantrel::testing

namespace vantrel::testing {
namespace {

// A store that runs out of memory at a chosen moment: reading one file, or
// setting a value after so many have been set.
struct Exhausted : ForwardingRegistry {
    using ForwardingRegistry::ForwardingRegistry;
    int setsLeft = -1;
    long SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                  std::uint32_t size) override {
        if (setsLeft-- == 0) throw std::bad_alloc();
        return inner_.SetValue(key, name, type, data, size);
    }
};
struct ExhaustedFiles : PortableFileSystem {
    using PortableFileSystem::PortableFileSystem;
    std::string huge;
    long ReadAll(const std::string& path, std::string* bytes, bool createIfMissing) override {
        if (path == huge) throw std::bad_alloc();
        return PortableFileSystem::ReadAll(path, bytes, createIfMissing);
    }
};

// A handler that fails says what failed and which writes it had made; the
// window and the program go on.
TEST(FailingHandler, SaysWhatFailedAndWhatWasWrittenAndGoesOn) {
    const std::string backups = "\"C:\\Documents and Settings\\User\\Application Data\\Vantrel\\Backups";
    const struct {
        const char* name;
        const char* menu;
        int setsLeft;
        std::vector<std::string> says;
    } cases[] = {
        {"a huge file to import", "import", -1,
         {"\"Import Settings...\" could not be finished: there was not enough memory.",
          "Nothing had been written when it stopped."}},
        {"a huge file to restore", "restore", -1,
         {"\"Restore Backup...\" could not be finished", "Nothing had been written when it stopped."}},
        {"an apply that stops after two values", "sc", 2,
         {"\"Save Changes\" could not be finished: there was not enough memory.\n\n"
          "These writes had been made when it stopped:\n\n" +
          backups + "\" (folder made)\n" + backups + "\\Settings 2004-05-01 12-00-00.reg\" (written)\n"
          "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders : AppData (set)\n"
          "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders : AppData (set)\n"}},
    };
    for (const auto& c : cases) {
        TempFolder drive;
        MemoryRegistry memory;
        Exhausted registry(memory);
        ExhaustedFiles files(drive.path());
        RecordingShell shell;
        RecordingBrowser browser;
        ScriptedDialogs dialogs;
        PortableEnvironment environment;
        int ends = 0;
        Services services{registry, files, shell, browser, dialogs, environment, [&] { ++ends; }};
        App app(services);
        SeedFolders(memory);
        app.Form_Load();
        files.huge = "C:\\huge.reg";
        registry.setsLeft = c.setsLeft;
        if (c.setsLeft < 0) dialogs.ExpectFileToOpen(files.huge);
        dialogs.ExpectMessage("Vantrel", mb::kAnswerOk, "", mb::kExclamation);
        app.Handle(c.menu, [&] { app.Menu(c.menu); });
        dialogs.Verify();
        ASSERT_FALSE(dialogs.shown.empty()) << c.name;
        for (const std::string& text : c.says)
            EXPECT_NE(dialogs.shown.back().prompt.find(text), std::string::npos) << c.name << ": " << text << "\n"
                                                                                << dialogs.shown.back().prompt;
        // The window goes on: the next command runs as ever.
        app.Handle("about", [&] { app.Menu("about"); });
        EXPECT_EQ(app.VisiblePage(), "Frame20") << c.name;
        EXPECT_EQ(ends, 0) << c.name;
    }
}

}  // namespace
}  // namespace vantrel::testing
