// The whole catalogue over the main window: every row's keys, and a load of
// stored values followed by an apply into an empty store.
#include <gtest/gtest.h>

#include <algorithm>

#include "model/Forms.h"
#include "settings/SettingsTestSupport.h"

namespace vantrel::catalogue_test {
namespace {

constexpr RegKey HKCU = reg::kCurrentUser;
constexpr RegKey HKLM = reg::kLocalMachine;

const std::string kAdv = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced)";
const std::string kExp = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\)";
const std::string kVer = R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion)";
const std::string kIe = R"(Software\Microsoft\Internet Explorer\Main)";
const std::string kUtil = R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\Accessibility\Utility Manager\)";
const std::string kShell = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders)";
const std::string kUserShell = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders)";

// One written row: its keys exactly as each pass uses them, a stored value
// and what an apply right after the load writes.
struct Case {
    RegKey root;
    std::string loadKey, applyKey, value;
    Raw stored, written;
};

std::vector<Case> Cases() {
    const std::string kbd = R"(Control Panel\Keyboard)", mouse = R"(Control Panel\Mouse)";
    const std::string messenger = R"(SYSTEM\ControlSet001\Services\Messenger)";
    const std::string ie = R"(Software\Microsoft\Internet Explorer)";
    std::vector<Case> cases = {
        {HKLM, messenger, messenger, "Start", Dword(2), Dword(2)},
        {HKCU, kExp + "AutoComplete", kExp + "AutoComplete", "AutoSuggest", Sz("yes"), Sz("yes")},
        {HKCU, kAdv + "\\", kAdv, "EnableBalloonTips", Dword(2), Dword(2)},
        {HKCU, kAdv + "\\", kAdv + "\\", "Hidden", Dword(1), Dword(1)},
        {HKCU, kAdv + "\\", kAdv + "\\", "HideFileExt", Dword(1), Dword(1)},
        {HKCU, kExp + R"(Desktop\CleanupWiz)", kExp + R"(Desktop\CleanupWiz)", "Days between clean up",
         Dword(30), Dword(30)},
        {HKLM, kVer + "\\", kVer, "RegisteredOrganization", Sz("Corvane Ltd"), Sz("Corvane Ltd")},
        {HKLM, kVer + "\\", kVer, "RegisteredOwner", Sz("Ann"), Sz("Ann")},
        {HKCU, kExp, kExp, "CaseSensitive", Dword(1), Sz("1")},
        {HKCU, kExp, kExp, "IncludeSubFolders", Sz("2"), Sz("2")},
        {HKCU, kExp, kExp, "SearchHidden", Sz("1"), Sz("1")},
        {HKCU, kExp, kExp, "SearchSystemDirs", Sz("1"), Sz("1")},
        {HKCU, kbd + "\\", kbd, "KeyboardDelay", Sz("2"), Sz("2")},
        {HKCU, kbd + "\\", kbd, "KeyboardSpeed", Sz("31"), Sz("20")},
        {HKCU, mouse + "\\", mouse, "SnapToDefaultButton", Dword(1), Sz("1")},
        {HKCU, mouse + "\\", mouse, "SwapMouseButtons", Sz("1"), Sz("1")},
        {HKCU, mouse + "\\", mouse, "MouseTrails", Sz("5"), Sz("5")},
        {HKCU, mouse + "\\", mouse, "MouseSensitivity", Sz("10"), Sz("10")},
        {HKCU, kIe, kIe, "FullScreen", Sz("no"), Sz("no")},
        {HKCU, kIe, kIe, "Use Search Asst", Dword(0), Sz("yes")},
        {HKCU, kIe, kIe, "Disable Script Debugger", Sz("no"), Sz("no")},
        {HKCU, kIe, kIe, "Enable AutoImageResize", Sz("No"), Sz("yes")},
        {HKCU, kIe, kIe, "Use FormSuggest", Sz("no"), Sz("no")},
        {HKCU, kIe, kIe, "NotifyDownloadComplete", Sz("yes"), Sz("yes")},
        {HKCU, kIe, kIe, "Play_Animations", Sz("no"), Sz("no")},
        {HKCU, kIe, kIe, "Print_Background", Sz(""), Sz("yes")},
        {HKCU, kIe, kIe, "ShowGoButton", Sz("no"), Sz("no")},
        {HKCU, kIe, kIe, "Start Page", Sz("http://home/"), Sz("http://home/")},
        {HKCU, kIe, kIe, "Search Page", Sz(""), Sz("")},
        {HKCU, ie, ie, "Download Directory", Sz(R"(D:\Downloads)"), Sz(R"(D:\Downloads)")},
        {HKLM, kUtil + "Magnifier", kUtil + "Magnifier", "Start with Windows", Sz("1"), Sz("1")},
        {HKLM, kUtil + "Narrator", kUtil + "Narrator", "Start with Windows", Dword(2), Sz("2")},
        {HKLM, kUtil + "On-Screen Keyboard", kUtil + "On-Screen Keyboard", "Start with Windows", Sz("1"),
         Sz("1")},
    };
    const char* startMenu[] = {"Start_AdminToolsRoot", "Start_ShowControlPanel", "Start_ShowHelp",
                               "Start_ShowMyComputer", "Start_ShowMyDocs",       "Start_ShowMyMusic",
                               "Start_ShowMyPics",     "Start_ShowNetConn",      "Start_ShowNetPlaces",
                               "Start_ShowPrinters",   "Start_ShowRecentDocs",   "Start_ShowRun",
                               "Start_ShowSearch",     "StartMenuFavorites"};
    for (int i = 0; i < 14; ++i) {
        Raw stored = i == 3 ? Sz("1") : Dword(i % 2);  // a text "1" is rewritten as a number
        cases.push_back({HKCU, kAdv, kAdv, startMenu[i], stored, Dword(i == 3 ? 1 : i % 2)});
    }
    for (const char* folder : {"AppData", "Desktop", "Favorites", "My Pictures", "Programs", "Recent", "SendTo",
                               "Start Menu", "Startup"}) {
        std::string path = std::string(R"(E:\Users\ann\)") + folder;
        cases.push_back({HKCU, kShell, kUserShell, folder, Sz(path), Sz(path)});
    }
    return cases;
}

struct CatalogueTest : ::testing::Test {
    MemoryRegistry source, target;
    Form form{Form1Def()};

    void LoadAll(Registry& reg) {
        FillStartMenuList(form);
        LoadSettings(form, reg);
        LoadStartMenuChecks(form, reg);
    }
};

// The Windows 10 and 11 rows: their keys are their sources' (ModernWindowsRows.cpp);
// what they write is in ModernWindowsTest.
bool IsModern(const std::string& control) {
    const std::vector<TweakRow>& rows = ModernWindowsRows();
    return std::any_of(rows.begin(), rows.end(), [&](const TweakRow& row) { return row.control == control; });
}

TEST_F(CatalogueTest, EveryWrittenRowUsesTheKeysOfItsCase) {
    std::vector<Case> cases = Cases();
    int written = 0;
    for (const TweakRow* row : AllRows()) {
        if (row->apply == ApplyForm::None || IsModern(row->control)) continue;
        ++written;
        auto it = std::find_if(cases.begin(), cases.end(), [&](const Case& c) {
            return c.root == row->root && c.value == row->value && c.applyKey == row->applyKey;
        });
        ASSERT_NE(it, cases.end()) << row->control << " writes " << row->applyKey << " " << row->value;
        if (row->load != LoadForm::None) {
            EXPECT_EQ(row->loadKey, it->loadKey) << row->control;
        }
        if (row->value == "RegisteredOwner" || row->value == "RegisteredOrganization") {
            EXPECT_EQ(row->load, LoadForm::None) << "filled through the Windows information rows";
        }
        EXPECT_EQ(row->applyKey2, row->page == "Personal Folders:" ? kShell : "") << row->control;
    }
    EXPECT_EQ(written, static_cast<int>(cases.size()));
}

TEST_F(CatalogueTest, LoadThenApplyWritesEveryValueWithItsType) {
    for (const Case& c : Cases()) Seed(source, c.root, c.loadKey, c.value, c.stored);
    LoadAll(source);
    std::vector<SkippedWrite> skipped = ApplySettings(form, target);
    EXPECT_TRUE(skipped.empty());

    std::size_t values = 0;
    for (const RegKeyBlock& block : target.ExportBlocks()) values += block.values.size();
    const std::size_t older = static_cast<std::size_t>(std::count_if(
        ApplyTargets().begin(), ApplyTargets().end(), [](const ValueRef& t) { return !IsModern(t.control); }));
    EXPECT_EQ(values, older) << "nothing is written beyond the targets (a policy absent stays absent)";
    for (const Case& c : Cases()) {
        EXPECT_EQ(target.Raw(c.root, c.applyKey, c.value), c.written) << c.applyKey << " " << c.value;
        if (c.applyKey == kUserShell) {
            EXPECT_EQ(target.Raw(c.root, kShell, c.value), c.written) << c.value;
        }
    }
}

TEST_F(CatalogueTest, ApplyWritesTheTargetsInOrderFoldersToBothKeys) {
    LoadAll(source);
    for (const std::string& box : PersonalFolderBoxes()) form.text(box).setText("C:\\x");
    form.text("Text1").setText("7");
    form.option("Option2").setValue(true);
    for (const TweakRow& row : ModernWindowsRows()) SetStateOf(form, row.control, 1);
    RecordingRegistry recorder(target);
    ApplySettings(form, recorder);

    std::vector<ValueRef> targets = ApplyTargets();
    ASSERT_EQ(recorder.writes.size(), targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        EXPECT_EQ(recorder.writes[i], std::make_pair(targets[i].key, targets[i].value)) << i;
    }
    EXPECT_EQ(recorder.writes[0], std::make_pair(kUserShell, std::string("AppData")));
    EXPECT_EQ(recorder.writes[1], std::make_pair(kShell, std::string("AppData")));
    // Groups: folders, accessibility, Internet Explorer, Start menu, keyboard
    // and mouse, Explorer, the Windows 10 and 11 pages.
    std::vector<std::size_t> firsts;
    for (const char* value : {"Start with Windows", "FullScreen", "Start_AdminToolsRoot", "KeyboardDelay", "Start",
                              "ConnectedSearchUseWeb"}) {
        auto it = std::find_if(recorder.writes.begin(), recorder.writes.end(),
                               [&](const auto& write) { return write.second == value; });
        firsts.push_back(static_cast<std::size_t>(it - recorder.writes.begin()));
    }
    EXPECT_EQ(firsts, (std::vector<std::size_t>{18, 21, 33, 47, 53, 65})) << "group order";
    EXPECT_EQ(recorder.writes[64], std::make_pair(kExp, std::string("SearchSystemDirs")));
}

TEST_F(CatalogueTest, WindowsInformationFillsLabelsAndTheOwnerBoxes) {
    const std::string key = kVer + "\\";
    const char* names[] = {"PathName", "ProductName", "RegisteredOrganization", "RegisteredOwner",
                           "CurrentVersion", "SystemRoot", "CurrentBuildNumber", "CSDVersion"};
    for (const char* name : names) source.PutString(HKLM, kVer, name, std::string("v-") + name);
    source.PutDword(HKLM, kVer, "CurrentBuildNumber", 2600);
    source.Put(HKLM, kVer, "SystemRoot", reg::kExpandSz, Sz("%windir%").data);
    LoadAll(source);

    const char* labels[] = {"Label13", "Label15", "Label17", "Label19", "Label21", "Label23", "Label25", "Label27"};
    const char* expected[] = {"v-PathName",       "v-ProductName", "v-RegisteredOrganization", "v-RegisteredOwner",
                              "v-CurrentVersion", "",              "2600",                     "v-CSDVersion"};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(form.text(labels[i]).text(), expected[i]) << labels[i];
    EXPECT_EQ(form.text("Text21").text(), "v-RegisteredOrganization");
    EXPECT_EQ(form.text("Text19").text(), "v-RegisteredOwner");
}

TEST_F(CatalogueTest, ReadOnlyMachineRootReportsRefusedWritesAndWritesTheUserValues) {
    LoadAll(source);
    for (const std::string& box : PersonalFolderBoxes()) form.text(box).setText("C:\\x");
    form.text("Text1").setText("7");
    target.SetReadOnly(HKLM, true);
    std::vector<SkippedWrite> skipped = ApplySettings(form, target);

    std::vector<std::pair<std::string, std::string>> where;
    for (const SkippedWrite& s : skipped) {
        where.emplace_back(s.page, s.caption);
        EXPECT_NE(s.reason.find("refused"), std::string::npos) << s.reason;
    }
    std::vector<std::pair<std::string, std::string>> expected = {
        {"Accessibility Options:", "Run Magnifier with Windows startup"},
        {"Accessibility Options:", "Run Narrator with Windows startup"},
        {"Accessibility Options:", "Run On-Screen Keyboard with Windows Startup"},
        {"Explorer", "Enable Net Send"},
        {"Explorer", "Organization:"},
        {"Explorer", "Registered To:"},
    };
    EXPECT_EQ(where, expected);
    EXPECT_EQ(target.Raw(HKCU, kExp, "SearchSystemDirs"), Sz("0"));
    EXPECT_EQ(target.Raw(HKCU, kShell, "Startup"), Sz("C:\\x"));
}

// Which value each check box and Start menu check mark reads and writes, set
// down apart from the catalogue, with a stored text that moves the control
// off the state an absent value leaves it in.
struct Binding {
    std::string control;
    RegKey root;
    std::string key, value, moves;
};

std::vector<Binding> Bindings() {
    const std::string exp = R"(Software\Microsoft\Windows\CurrentVersion\Explorer)", adv = exp + R"(\Advanced)";
    const std::string util = kUtil;
    std::vector<Binding> b = {
        {"Check1", HKLM, R"(SYSTEM\ControlSet001\Services\Messenger)", "Start", "2"},
        {"Check2", HKCU, exp + R"(\AutoComplete)", "AutoSuggest", "yes"},
        {"Check3", HKCU, adv, "EnableBalloonTips", "1"},
        {"Check4", HKCU, adv, "Hidden", "1"},
        {"Check5", HKCU, adv, "HideFileExt", "1"},
        {"Check6", HKCU, exp, "CaseSensitive", "1"},
        {"Check7", HKCU, exp, "IncludeSubFolders", "1"},
        {"Check8", HKCU, exp, "SearchHidden", "1"},
        {"Check9", HKCU, exp, "SearchSystemDirs", "1"},
        {"Check10", HKCU, R"(Control Panel\Mouse)", "SnapToDefaultButton", "1"},
        {"Check21", HKLM, util + "Magnifier", "Start with Windows", "1"},
        {"Check22", HKLM, util + "Narrator", "Start with Windows", "1"},
        {"Check23", HKLM, util + "On-Screen Keyboard", "Start with Windows", "1"},
    };
    const char* ie[] = {"FullScreen",      "Use Search Asst",        "Disable Script Debugger",
                        "Enable AutoImageResize", "Use FormSuggest", "NotifyDownloadComplete",
                        "Play_Animations", "Print_Background",       "ShowGoButton"};
    for (int i = 0; i < 9; ++i) b.push_back({"Check" + std::to_string(11 + i), HKCU, kIe, ie[i], "no"});
    const char* start[] = {"Start_AdminToolsRoot", "Start_ShowControlPanel", "Start_ShowHelp",  "Start_ShowMyComputer",
                           "Start_ShowMyDocs",     "Start_ShowMyMusic",      "Start_ShowMyPics", "Start_ShowNetConn",
                           "Start_ShowNetPlaces",  "Start_ShowPrinters",     "Start_ShowRecentDocs",
                           "Start_ShowRun",        "Start_ShowSearch",       "StartMenuFavorites"};
    for (int i = 0; i < 14; ++i) b.push_back({"List1[" + std::to_string(i) + "]", HKCU, adv, start[i], "1"});
    return b;
}

std::unique_ptr<Form> Loaded(Registry& reg) {
    auto form = std::make_unique<Form>(Form1Def());
    FillStartMenuList(*form);
    LoadSettings(*form, reg);
    LoadStartMenuChecks(*form, reg);
    return form;
}

TEST_F(CatalogueTest, EveryCheckBoxReadsAndWritesItsOwnValue) {
    const std::vector<Binding> bindings = Bindings();
    MemoryRegistry empty, baseWrites;
    std::unique_ptr<Form> base = Loaded(empty);
    ApplySettings(*base, baseWrites);
    for (const Binding& b : bindings) {
        MemoryRegistry stored, writes;
        stored.PutString(b.root, b.key, b.value, b.moves);
        std::unique_ptr<Form> read = Loaded(stored);
        const int state = StateOf(*base, b.control);
        SetStateOf(*base, b.control, 1 - state);
        ApplySettings(*base, writes);
        SetStateOf(*base, b.control, state);
        for (const Binding& o : bindings) {
            const bool self = &o == &b;
            EXPECT_EQ(StateOf(*read, o.control) != StateOf(*base, o.control), self) << b.value << " read by "
                                                                                     << o.control;
            EXPECT_EQ(writes.Raw(o.root, o.key, o.value) != baseWrites.Raw(o.root, o.key, o.value), self)
                << b.control << " writes " << o.value;
        }
    }
}

TEST_F(CatalogueTest, DownloadDirectoryIsWrittenWhereItIsRead) {
    LoadAll(source);
    form.text("Text18").setText(R"(F:\Incoming)");
    ApplySettings(form, source);
    EXPECT_FALSE(source.Raw(HKCU, kIe, "Download Directory").has_value());

    Form again(Form1Def());
    LoadSettings(again, source);
    EXPECT_EQ(again.text("Text18").text(), R"(F:\Incoming)");
}

}  // namespace
}  // namespace vantrel::catalogue_test
