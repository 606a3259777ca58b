// Vantrel.exe from the outside, driven as a user drives it: the registry of
// the test prefix is seeded with known values for every settings page, the
// program is started, its controls are read and changed through their window
// messages, "Apply Changes" is pressed and the stored values are compared with
// what each page writes. The seeded values are put back afterwards, keys the
// run created are removed, and so are the backup files the apply left.
#include "platform/win32/WindowsApi.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "model/Forms.h"
#include "app/Review.h"
#include "ui/win32/FormWindow.h"
#include "platform/win32/Win32ExportChoice.h"
#include "platform/win32/Win32Registry.h"
#include "settings/TweakRow.h"
#include "ui/win32/PrefixGuards.h"
#include "ui/win32/RegistrySnapshot.h"
#include "ui/win32/RunningExe.h"
#include "ui/win32/WineVersion.h"

namespace vantrel::test {
namespace {

constexpr char kAppliedMessage[] =
    "All changes applied. Most changes will not be applied until you log off of Windows.";

constexpr RegKey kHkcu = reg::kCurrentUser;
constexpr RegKey kHklm = reg::kLocalMachine;

const std::string kUtilityManager = R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\Accessibility\Utility Manager\)";
const std::string kVersion = R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion)";
const std::string kMessenger = R"(SYSTEM\ControlSet001\Services\Messenger)";
const std::string kIe = R"(Software\Microsoft\Internet Explorer)";
const std::string kIeMain = kIe + R"(\Main)";
const std::string kKeyboard = R"(Control Panel\Keyboard)";
const std::string kMouse = R"(Control Panel\Mouse)";
const std::string kExplorer = R"(Software\Microsoft\Windows\CurrentVersion\Explorer)";
const std::string kAdvanced = kExplorer + R"(\Advanced)";
const std::string kAutoComplete = kExplorer + R"(\AutoComplete)";
const std::string kCleanupWiz = kExplorer + R"(\Desktop\CleanupWiz)";
const std::string kShellFolders = kExplorer + R"(\Shell Folders)";
const std::string kUserShellFolders = kExplorer + R"(\User Shell Folders)";

// ---- registry values as the test states them ----

// A value as text: REG_SZ text, or a REG_DWORD in decimal; type kNone is an absent value.
struct Value {
    RegKey root;
    std::string key;
    std::string name;
    std::uint32_t type;
    std::string text;
};

Value Sz(RegKey root, const std::string& key, const std::string& name, const std::string& text) {
    return {root, key, name, reg::kSz, text};
}
Value Dword(RegKey root, const std::string& key, const std::string& name, std::uint32_t number) {
    return {root, key, name, reg::kDword, std::to_string(number)};
}
Value Absent(RegKey root, const std::string& key, const std::string& name) { return {root, key, name, reg::kNone, ""}; }

StoredValue ToStored(const Value& v) {
    StoredValue s{v.root, v.key, v.name, v.type != reg::kNone, v.type, {}};
    if (v.type == reg::kDword) {
        const auto n = static_cast<std::uint32_t>(std::stoul(v.text));
        for (int i = 0; i < 4; ++i) s.data.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
    } else if (v.type == reg::kSz) {
        s.data.assign(v.text.begin(), v.text.end());
        s.data.push_back(0);
    }
    return s;
}

// A stored value in words, so that a mismatch says what is there.
std::string Describe(const StoredValue& v) {
    if (!v.present) return "absent";
    if (v.type == reg::kDword && v.data.size() == 4) {
        const std::uint32_t n = v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) |
                                (static_cast<std::uint32_t>(v.data[3]) << 24);
        return "REG_DWORD " + std::to_string(n);
    }
    if ((v.type == reg::kSz || v.type == reg::kExpandSz) && !v.data.empty() && v.data.back() == 0) {
        const std::string text(v.data.begin(), v.data.end() - 1);
        return (v.type == reg::kSz ? "REG_SZ \"" : "REG_EXPAND_SZ \"") + text + "\"";
    }
    return "type " + std::to_string(v.type) + ", " + std::to_string(v.data.size()) + " bytes";
}

std::string Where(const Value& v) {
    return std::string(v.root == kHklm ? "HKLM\\" : "HKCU\\") + v.key + " : \"" + v.name + "\"";
}

// ---- the running program ----

// The program's process and its windows. Ending the object ends a process
// that is still running.
class RunningVantrel {
public:
    RunningVantrel() = default;
    ~RunningVantrel() {
        if (!pi_.hProcess) return;
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(pi_.hProcess, 99);
            WaitForSingleObject(pi_.hProcess, 5000);
        }
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    RunningVantrel(const RunningVantrel&) = delete;
    RunningVantrel& operator=(const RunningVantrel&) = delete;

    bool Start(const std::string& exe) { return StartProgram(exe, &pi_); }
    bool Running() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }
    HANDLE process() const { return pi_.hProcess; }

    // Polls until ready() holds, the time is up or the process has ended.
    bool WaitUntil(DWORD milliseconds, const std::function<bool()>& ready) const {
        const DWORD start = GetTickCount();
        while (!ready()) {
            if (GetTickCount() - start >= milliseconds || !Running()) return ready();
            Sleep(50);
        }
        return true;
    }

    // A visible top-level window of the process, by class and caption (empty: any).
    HWND FindWindowOf(const std::string& windowClass, const std::string& caption) const {
        return FindShownWindow(pi_.dwProcessId, windowClass, caption);
    }
    HWND Dialog() const { return FindWindowOf("#32770", ""); }

    void SetMain(HWND main) { main_ = main; }
    HWND main() const { return main_; }

    // Every message goes through a bounded send: a program that stops
    // answering fails the test instead of hanging it.
    LRESULT Send(HWND to, UINT msg, WPARAM wp, LPARAM lp) const {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(to, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result))
            ADD_FAILURE() << "message 0x" << std::hex << msg << " to a window of Vantrel.exe not answered within 5 s";
        return static_cast<LRESULT>(result);
    }
    std::string Text(HWND hwnd) const {
        char text[1024] = {};
        Send(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }

    // Wine hands a list item to an ANSI caller of another process in UTF-16,
    // so the item is asked for in UTF-16 and converted here.
    std::string ListItem(HWND list, int index) const {
        const auto length = Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length < 0 || length > 255) return "(no item " + std::to_string(index) + ")";
        wchar_t wide[256] = {};
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide),
                                 SMTO_ABORTIFHUNG, 5000, &result))
            ADD_FAILURE() << "LB_GETTEXT not answered within 5 s";
        char text[512] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        return text;
    }

    HWND Control(const std::string& name) const {
        const int id = win32::ControlId(Form1Def(), name);
        HWND hwnd = id < 0 ? nullptr : GetDlgItem(main_, id);
        if (!hwnd) ADD_FAILURE() << "no window for the control " << name;
        return hwnd;
    }
    // A command of the View menu, as the menu delivers it.
    void Menu(const std::string& name) const {
        const int id = win32::MenuId(Form1Def(), name);
        ASSERT_GE(id, 0) << name;
        Send(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }

    LRESULT CheckState(const std::string& box) const { return Send(Control(box), BM_GETCHECK, 0, 0); }
    LRESULT Position(const std::string& slider) const { return Send(Control(slider), TBM_GETPOS, 0, 0); }
    std::string Text(const std::string& control) const { return Text(Control(control)); }

    void Click(const std::string& button) const { Send(Control(button), BM_CLICK, 0, 0); }
    void Type(const std::string& box, const std::string& text) const {
        Send(Control(box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // The slider moved to a position, and the notification a trackbar sends its parent when a drag ends.
    void Slide(const std::string& slider, int position) const {
        HWND bar = Control(slider);
        Send(bar, TBM_SETPOS, TRUE, position);
        Send(main_, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(bar));
        Send(main_, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(bar));
    }
    // A mouse click on the check box in front of a list item.
    void ClickListBox(const std::string& list, int index) const {
        HWND box = Control(list);
        const auto height = static_cast<int>(Send(box, LB_GETITEMHEIGHT, 0, 0));
        const auto top = static_cast<int>(Send(box, LB_GETTOPINDEX, 0, 0));
        const LPARAM at = MAKELPARAM(6, (index - top) * height + height / 2);
        Send(box, WM_LBUTTONDOWN, MK_LBUTTON, at);
        Send(box, WM_LBUTTONUP, 0, at);
    }

    // The caption and the texts of a dialog's static controls.
    std::vector<std::string> DialogTexts(HWND dialog) const {
        std::vector<std::string> texts;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            std::string windowClass = WindowClass(child);
            std::transform(windowClass.begin(), windowClass.end(), windowClass.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (windowClass == "static") {
                const std::string text = Text(child);
                if (!text.empty()) texts.push_back(text);
            }
        }
        return texts;
    }

private:
    PROCESS_INFORMATION pi_{};
    HWND main_ = nullptr;
};

std::string Joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const std::string& t : texts) all += (all.empty() ? "" : " | ") + t;
    return all;
}

// ---- what the run seeds and what it expects afterwards ----

struct Folder {
    const char* box;
    const char* value;
    std::string seeded;
};

std::vector<Folder> Folders(const std::string& appData) {
    return {{"Text5", "AppData", appData},
            {"Text7", "Desktop", R"(C:\E2E\Desktop)"},
            {"Text8", "Favorites", R"(C:\E2E\Favorites)"},
            {"Text10", "My Pictures", R"(C:\E2E\Pictures)"},
            {"Text11", "Programs", R"(C:\E2E\Programs)"},
            {"Text12", "Recent", R"(C:\E2E\Recent)"},
            {"Text13", "SendTo", R"(C:\E2E\SendTo)"},
            {"Text14", "Start Menu", R"(C:\E2E\Start Menu)"},
            {"Text15", "Startup", R"(C:\E2E\Startup)"}};
}

// The fourteen Start menu values in list order, with their seeded marks. The
// first is stored as the text "1".
struct StartItem {
    const char* value;
    bool checked;
};
constexpr StartItem kStartItems[] = {
    {"Start_AdminToolsRoot", true},  {"Start_ShowControlPanel", true}, {"Start_ShowHelp", false},
    {"Start_ShowMyComputer", true},  {"Start_ShowMyDocs", true},       {"Start_ShowMyMusic", false},
    {"Start_ShowMyPics", true},      {"Start_ShowNetConn", false},     {"Start_ShowNetPlaces", true},
    {"Start_ShowPrinters", false},   {"Start_ShowRecentDocs", true},   {"Start_ShowRun", false},
    {"Start_ShowSearch", true},      {"StartMenuFavorites", false},
};
constexpr int kToggledItem = 3;  // "My Computer"

// The eight Windows information values with the labels that show them. The
// version values are those the prefix holds, so that Wine's own reading of
// them does not change.
struct Info {
    const char* label;
    const char* value;
    const char* seeded;
};
constexpr Info kInfo[] = {
    {"Label13", "PathName", R"(C:\WINDOWS)"},
    {"Label15", "ProductName", "Microsoft Windows XP Professional"},
    {"Label17", "RegisteredOrganization", "Vantrel Test Organisation"},
    {"Label19", "RegisteredOwner", "Vantrel Test Owner"},
    {"Label21", "CurrentVersion", "5.2"},
    {"Label23", "SystemRoot", R"(C:\windows)"},
    {"Label25", "CurrentBuildNumber", "3790"},
    {"Label27", "CSDVersion", "Service Pack 2"},
};

const char* const kIeYesNo[][2] = {
    {"FullScreen", "no"},
    {"Use Search Asst", "yes"},
    {"Disable Script Debugger", "no"},
    {"Enable AutoImageResize", "yes"},
    {"Use FormSuggest", "no"},
    {"NotifyDownloadComplete", "yes"},
    {"Play_Animations", "yes"},
    {"Print_Background", "no"},
    {"ShowGoButton", "yes"},
};

const std::string kNewOwner = "E2E Changed Owner";
const std::string kNewDownloads = R"(C:\E2E\Incoming)";
const std::string kNewPictures = R"(C:\E2E\Pictures Moved)";

std::vector<Value> Seeds(const std::string& appData) {
    std::vector<Value> seeds = {
        // Accessibility Options: checked, unchecked, and grayed stored as a number.
        Sz(kHklm, kUtilityManager + "Magnifier", "Start with Windows", "1"),
        Sz(kHklm, kUtilityManager + "Narrator", "Start with Windows", "0"),
        Dword(kHklm, kUtilityManager + "On-Screen Keyboard", "Start with Windows", 2),
        // Internet Options.
        Sz(kHkcu, kIeMain, "Start Page", "http://home.example/"),
        Sz(kHkcu, kIeMain, "Search Page", "http://search.example/"),
        Sz(kHkcu, kIe, "Download Directory", R"(C:\E2E\Downloads)"),
        Absent(kHkcu, kIeMain, "Download Directory"),
        // Keyboard and Mouse.
        Dword(kHkcu, kKeyboard, "KeyboardDelay", 3),
        Sz(kHkcu, kKeyboard, "KeyboardSpeed", "17"),
        Sz(kHkcu, kMouse, "SnapToDefaultButton", "1"),
        Sz(kHkcu, kMouse, "SwapMouseButtons", "1"),
        Sz(kHkcu, kMouse, "MouseTrails", "3"),
        Sz(kHkcu, kMouse, "MouseSensitivity", "15"),
        // Explorer.
        Dword(kHklm, kMessenger, "Start", 2),
        Sz(kHkcu, kAutoComplete, "AutoSuggest", "no"),
        Sz(kHkcu, kAdvanced, "EnableBalloonTips", "1"),
        Dword(kHkcu, kAdvanced, "Hidden", 2),
        Dword(kHkcu, kAdvanced, "HideFileExt", 1),
        Dword(kHkcu, kCleanupWiz, "Days between clean up", 45),
        Sz(kHkcu, kExplorer, "CaseSensitive", "1"),
        Dword(kHkcu, kExplorer, "IncludeSubFolders", 1),
        Sz(kHkcu, kExplorer, "SearchHidden", "0"),
        Sz(kHkcu, kExplorer, "SearchSystemDirs", "0"),
    };
    for (const auto& yesNo : kIeYesNo) seeds.push_back(Sz(kHkcu, kIeMain, yesNo[0], yesNo[1]));
    for (const Info& info : kInfo) seeds.push_back(Sz(kHklm, kVersion, info.value, info.seeded));
    for (const Folder& f : Folders(appData)) seeds.push_back(Sz(kHkcu, kShellFolders, f.value, f.seeded));
    for (std::size_t i = 0; i < std::size(kStartItems); ++i) {
        const StartItem& item = kStartItems[i];
        if (i == 0) seeds.push_back(Sz(kHkcu, kAdvanced, item.value, item.checked ? "1" : "0"));
        else seeds.push_back(Dword(kHkcu, kAdvanced, item.value, item.checked ? 1 : 0));
    }
    return seeds;
}

// After the run's changes and one apply: the changed values and the
// unchanged ones rewritten with the type their page stores.
std::vector<Value> Expected(const std::string& appData) {
    std::vector<Value> expected = {
        Sz(kHklm, kUtilityManager + "Magnifier", "Start with Windows", "1"),
        Sz(kHklm, kUtilityManager + "Narrator", "Start with Windows", "1"),            // ticked
        Sz(kHklm, kUtilityManager + "On-Screen Keyboard", "Start with Windows", "2"),  // number became text
        Sz(kHkcu, kIeMain, "Start Page", "http://home.example/"),
        Sz(kHkcu, kIeMain, "Search Page", "http://search.example/"),
        Sz(kHkcu, kIe, "Download Directory", kNewDownloads),  // typed, and written where it is read
        Absent(kHkcu, kIeMain, "Download Directory"),
        Sz(kHkcu, kKeyboard, "KeyboardDelay", "3"),  // number became text
        Sz(kHkcu, kKeyboard, "KeyboardSpeed", "8"),  // slid
        Sz(kHkcu, kMouse, "SnapToDefaultButton", "1"),
        Sz(kHkcu, kMouse, "SwapMouseButtons", "0"),  // "Right Handed" chosen
        Sz(kHkcu, kMouse, "MouseTrails", "3"),
        Sz(kHkcu, kMouse, "MouseSensitivity", "15"),
        Dword(kHklm, kMessenger, "Start", 4),  // "Enable Net Send" unticked
        Sz(kHkcu, kAutoComplete, "AutoSuggest", "no"),
        Dword(kHkcu, kAdvanced, "EnableBalloonTips", 1),  // text became a number
        Dword(kHkcu, kAdvanced, "Hidden", 0),             // "2" loads unticked, which stores 0
        Dword(kHkcu, kAdvanced, "HideFileExt", 1),
        Dword(kHkcu, kCleanupWiz, "Days between clean up", 45),
        Sz(kHklm, kVersion, "RegisteredOrganization", "Vantrel Test Organisation"),
        Sz(kHklm, kVersion, "RegisteredOwner", kNewOwner),  // typed
        Sz(kHkcu, kExplorer, "CaseSensitive", "1"),
        Sz(kHkcu, kExplorer, "IncludeSubFolders", "1"),  // number became text
        Sz(kHkcu, kExplorer, "SearchHidden", "0"),
        Sz(kHkcu, kExplorer, "SearchSystemDirs", "0"),
    };
    for (const auto& yesNo : kIeYesNo) {
        const bool fullScreen = std::string(yesNo[0]) == "FullScreen";  // ticked
        expected.push_back(Sz(kHkcu, kIeMain, yesNo[0], fullScreen ? "yes" : yesNo[1]));
    }
    // Windows information is never written.
    for (const Info& info : kInfo) {
        if (std::string(info.value).rfind("Registered", 0) != 0)
            expected.push_back(Sz(kHklm, kVersion, info.value, info.seeded));
    }
    for (const Folder& f : Folders(appData)) {
        const std::string path = std::string(f.value) == "My Pictures" ? kNewPictures : f.seeded;
        expected.push_back(Sz(kHkcu, kUserShellFolders, f.value, path));
        expected.push_back(Sz(kHkcu, kShellFolders, f.value, path));
    }
    for (int i = 0; i < static_cast<int>(std::size(kStartItems)); ++i) {
        const bool checked = kStartItems[i].checked != (i == kToggledItem);
        expected.push_back(Dword(kHkcu, kAdvanced, kStartItems[i].value, checked ? 1 : 0));
    }
    return expected;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A backup's text: UTF-16 with a byte order mark, here in UTF-8.
std::string BackupText(const std::string& path) {
    const std::string bytes = ReadWholeFile(path);
    if (bytes.size() < 2 || bytes.compare(0, 2, "\xFF\xFE") != 0) return "(not UTF-16 with a byte order mark)";
    return Utf16ToUtf8(FromUtf16LeBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 2, bytes.size() - 2));
}

TEST(EndToEnd, EverySettingsPageShowsChangesAndAppliesItsValues) {
    const std::string exe = VantrelExePath();
    ASSERT_NE(GetFileAttributesA(exe.c_str()), INVALID_FILE_ATTRIBUTES) << exe;
    // Taken before any folder value is seeded: the program saves its backup here.
    const std::string appData = AppDataFolder();
    ASSERT_FALSE(appData.empty());

    Win32Registry registry;
    const std::vector<Value> seeds = Seeds(appData);
    const std::vector<Value> expected = Expected(appData);
    std::vector<ValueRef> touched = ApplyTargets();
    for (const std::vector<Value>* list : {&seeds, &expected})
        for (const Value& v : *list) touched.push_back({v.root, v.key, v.name});
    RegistryGuard restoreRegistry(registry, touched);
    BackupFolderGuard backups(appData);

    for (const Value& v : seeds) WriteStored(registry, ToStored(v));
    for (const Value& v : seeds)
        ASSERT_EQ(Describe(ReadStored(registry, v.root, v.key, v.name)), Describe(ToStored(v)))
            << "seeding " << Where(v);

    RunningVantrel vantrel;
    ASSERT_TRUE(vantrel.Start(exe)) << "CreateProcess failed, error " << GetLastError();
    HWND main = nullptr;
    vantrel.WaitUntil(30000, [&] {
        return (main = vantrel.FindWindowOf("", kMainCaption)) != nullptr || vantrel.Dialog() != nullptr;
    });
    if (!main) {
        HWND box = vantrel.Dialog();
        FAIL() << "no visible window \"" << kMainCaption << "\" within 30 s"
               << (box ? "; a message box instead: " + Joined(vantrel.DialogTexts(box)) : std::string());
    }
    vantrel.SetMain(main);

    // Windows Information: all eight labels.
    vantrel.Menu("wi");
    EXPECT_TRUE(IsWindowVisible(vantrel.Control("Label13")));
    for (const Info& info : kInfo) EXPECT_EQ(vantrel.Text(info.label), info.seeded) << info.label;

    // Explorer: the Messenger start type, balloon tips stored as text, the
    // interval stored as a number, owner and organisation; then "Enable Net
    // Send" is unticked and a new owner typed.
    vantrel.Menu("exp");
    EXPECT_TRUE(IsWindowVisible(vantrel.Control("Check1")));
    EXPECT_EQ(vantrel.CheckState("Check1"), BST_CHECKED);
    EXPECT_EQ(vantrel.CheckState("Check2"), BST_UNCHECKED);
    EXPECT_EQ(vantrel.CheckState("Check3"), BST_CHECKED);
    EXPECT_EQ(vantrel.CheckState("Check4"), BST_UNCHECKED);
    EXPECT_EQ(vantrel.CheckState("Check5"), BST_CHECKED);
    EXPECT_EQ(vantrel.Text("Text1"), "45");
    EXPECT_EQ(vantrel.Text("Text19"), "Vantrel Test Owner");
    EXPECT_EQ(vantrel.Text("Text21"), "Vantrel Test Organisation");
    EXPECT_EQ(vantrel.CheckState("Check6"), BST_CHECKED);
    EXPECT_EQ(vantrel.CheckState("Check7"), BST_CHECKED);
    vantrel.Click("Check1");
    EXPECT_EQ(vantrel.CheckState("Check1"), BST_UNCHECKED);
    vantrel.Type("Text19", kNewOwner);
    EXPECT_EQ(vantrel.Text("Text19"), kNewOwner);

    // Mouse: left-handed, snapping, trails "3" at position 2; then "Right Handed".
    vantrel.Menu("mouse");
    EXPECT_EQ(vantrel.CheckState("Option1"), BST_CHECKED);
    EXPECT_EQ(vantrel.CheckState("Option2"), BST_UNCHECKED);
    EXPECT_EQ(vantrel.CheckState("Check10"), BST_CHECKED);
    EXPECT_EQ(vantrel.Position("Slider1"), 2);
    EXPECT_EQ(vantrel.Position("Slider2"), 15);
    vantrel.Click("Option2");
    EXPECT_EQ(vantrel.CheckState("Option2"), BST_CHECKED);
    EXPECT_EQ(vantrel.CheckState("Option1"), BST_UNCHECKED);

    // Keyboard: the delay stored as a number, the rate as text; then the rate slid to 8.
    vantrel.Menu("key");
    EXPECT_EQ(vantrel.Position("Slider3"), 3);
    EXPECT_EQ(vantrel.Position("Slider4"), 17);
    vantrel.Slide("Slider4", 8);
    EXPECT_EQ(vantrel.Position("Slider4"), 8);

    // Personal Folders: all nine boxes; then "My Pictures" retyped.
    vantrel.Menu("pf");
    for (const Folder& f : Folders(appData)) EXPECT_EQ(vantrel.Text(f.box), f.seeded) << f.box;
    vantrel.Type("Text10", kNewPictures);
    EXPECT_EQ(vantrel.Text("Text10"), kNewPictures);

    // General Options: the fourteen items with their seeded marks, which
    // each item's data mirrors (1 checked, 0 not); then "My Computer" is
    // unticked by a click on its box.
    vantrel.Menu("go");
    HWND list = vantrel.Control("List1");
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_EQ(vantrel.Send(list, LB_GETCOUNT, 0, 0), 14);
    for (int i = 0; i < static_cast<int>(std::size(kStartItems)); ++i)
        EXPECT_EQ(vantrel.Send(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0), kStartItems[i].checked ? 1 : 0)
            << kStartItems[i].value;
    EXPECT_EQ(vantrel.ListItem(list, kToggledItem), "My Computer");
    vantrel.ClickListBox("List1", kToggledItem);
    EXPECT_EQ(vantrel.Send(list, LB_GETCURSEL, 0, 0), kToggledItem) << "the click did not land on the item";

    // Internet Options: "no", "yes", the three texts; then full screen ticked
    // and a new download folder typed.
    vantrel.Menu("io");
    EXPECT_EQ(vantrel.CheckState("Check11"), BST_UNCHECKED);
    EXPECT_EQ(vantrel.CheckState("Check12"), BST_CHECKED);
    EXPECT_EQ(vantrel.Text("Text16"), "http://home.example/");
    EXPECT_EQ(vantrel.Text("Text17"), "http://search.example/");
    EXPECT_EQ(vantrel.Text("Text18"), R"(C:\E2E\Downloads)");
    vantrel.Click("Check11");
    EXPECT_EQ(vantrel.CheckState("Check11"), BST_CHECKED);
    vantrel.Type("Text18", kNewDownloads);

    // Accessibility Options: ticked, unticked, grayed; then the Narrator ticked.
    vantrel.Menu("ao");
    EXPECT_EQ(vantrel.CheckState("Check21"), BST_CHECKED);
    EXPECT_EQ(vantrel.CheckState("Check22"), BST_UNCHECKED);
    EXPECT_EQ(vantrel.CheckState("Check23"), BST_INDETERMINATE);
    vantrel.Click("Check22");
    EXPECT_EQ(vantrel.CheckState("Check22"), BST_CHECKED);

    // "Apply Changes": the pass holds its message box open, so the click is posted.
    ASSERT_TRUE(PostMessageA(vantrel.Control("apply"), BM_CLICK, 0, 0));
    HWND box = nullptr;
    vantrel.WaitUntil(20000, [&] { return (box = vantrel.Dialog()) != nullptr; });
    ASSERT_NE(box, nullptr) << "no message box within 20 s of \"Apply Changes\"";
    const std::string title = [&] {
        char text[128] = {};
        GetWindowTextA(box, text, sizeof text);
        return std::string(text);
    }();
    const std::vector<std::string> texts = vantrel.DialogTexts(box);
    EXPECT_EQ(title, "Changes Applied") << Joined(texts);
    EXPECT_NE(std::find(texts.begin(), texts.end(), kAppliedMessage), texts.end()) << Joined(texts);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(vantrel.WaitUntil(10000, [&] { return !IsWindow(box); })) << "the message box did not close";

    for (const Value& v : expected)
        EXPECT_EQ(Describe(ReadStored(registry, v.root, v.key, v.name)), Describe(ToStored(v))) << Where(v);

    // One backup, taken before the writes: it holds the seeded values.
    const std::vector<std::string> added = backups.NewFiles();
    ASSERT_EQ(added.size(), 1u) << "backup files added to " << backups.folder();
    const std::string backup = BackupText(backups.folder() + "\\" + added[0]);
    EXPECT_EQ(backup.rfind("Windows Registry Editor Version 5.00", 0), 0u) << added[0];
    EXPECT_NE(backup.find("[HKEY_CURRENT_USER\\" + kAdvanced + "]"), std::string::npos);
    EXPECT_NE(backup.find("\"Start_AdminToolsRoot\"=\"1\""), std::string::npos);
    EXPECT_NE(backup.find("\"Hidden\"=dword:00000002"), std::string::npos);
    EXPECT_NE(backup.find("\"SwapMouseButtons\"=\"1\""), std::string::npos);

    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(vantrel.process(), 15000), WAIT_OBJECT_0) << "the process did not end";
    DWORD code = 99;
    GetExitCodeProcess(vantrel.process(), &code);
    EXPECT_EQ(code, 0u);
}

// The first visible descendant of a window of this class.
struct DescendantSearch {
    const std::string* windowClass;
    HWND found;
};

BOOL CALLBACK MatchDescendant(HWND child, LPARAM data) {
    auto* s = reinterpret_cast<DescendantSearch*>(data);
    if (!IsWindowVisible(child) || WindowClass(child) != *s->windowClass) return TRUE;
    s->found = child;
    return FALSE;
}

HWND FindDescendant(HWND parent, const std::string& windowClass) {
    DescendantSearch search{&windowClass, nullptr};
    EnumChildWindows(parent, MatchDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Title(HWND window) {
    char text[128] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Every value the apply pass writes, as stored (read with the wide functions).
std::vector<std::optional<StoredData>> ManagedValues(Win32Registry& registry) {
    std::vector<std::optional<StoredData>> values;
    for (const ValueRef& v : ApplyTargets()) values.push_back(StoredNow(registry, v.root, v.key, v.value));
    return values;
}

// "/apply profile.reg" takes a backup; File > "Restore Backup..." with it puts
// every value the apply wrote back as it was, absent ones included.
TEST(EndToEnd, RestoreBackupPutsBackEveryValueTheApplyChanged) {
    const std::string exe = VantrelExePath();
    ASSERT_NE(GetFileAttributesA(exe.c_str()), INVALID_FILE_ATTRIBUTES) << exe;
    const std::string appData = AppDataFolder();
    ASSERT_FALSE(appData.empty());

    Win32Registry registry;
    // The prefix's own folders stay (the file chooser needs a desktop that
    // exists); two of them the apply will write where there was no value.
    std::vector<Value> seeds;
    for (const Value& v : Seeds(appData)) {
        if (v.key != kShellFolders) seeds.push_back(v);
    }
    seeds.push_back(Absent(kHkcu, kUserShellFolders, "Favorites"));
    seeds.push_back(Absent(kHkcu, kUserShellFolders, "Recent"));
    std::vector<ValueRef> touched = ApplyTargets();
    for (const Value& v : seeds) touched.push_back({v.root, v.key, v.name});
    RegistryGuard restoreRegistry(registry, touched);
    BackupFolderGuard backups(appData);
    for (const Value& v : seeds) WriteStored(registry, ToStored(v));
    const std::vector<std::optional<StoredData>> before = ManagedValues(registry);

    // A deployment tool applies a profile; every page is rewritten, two
    // values with new data.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string profile = std::string(temp) + "vantrel-restore-profile.reg";
    std::ofstream(profile, std::ios::binary)
        << "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\" << kVersion << "]\r\n\"RegisteredOwner\"=\"" << kNewOwner
        << "\"\r\n\r\n[HKEY_CURRENT_USER\\" << kMouse << "]\r\n\"MouseTrails\"=\"5\"\r\n";
    bool shown = false;
    ASSERT_EQ(RunToEnd("/apply \"" + profile + "\"", &shown), 0);
    DeleteFileA(profile.c_str());
    EXPECT_FALSE(shown) << "/apply showed a window";
    ASSERT_NE(ManagedValues(registry), before) << "the apply changed nothing";
    ASSERT_EQ(backups.NewFiles().size(), 1u);
    const std::string backup = backups.folder() + "\\" + backups.NewFiles()[0];

    RunningVantrel vantrel;
    ASSERT_TRUE(vantrel.Start(exe)) << "CreateProcess failed, error " << GetLastError();
    HWND main = nullptr;
    vantrel.WaitUntil(30000, [&] { return (main = vantrel.FindWindowOf("", kMainCaption)) != nullptr; });
    ASSERT_NE(main, nullptr) << "no main window within 30 s";
    vantrel.SetMain(main);
    vantrel.Menu("exp");
    EXPECT_EQ(vantrel.Text("Text19"), kNewOwner) << "the profile's owner was applied";

    // The modal steps are posted; each window is waited for.
    const auto waitFor = [&](const std::string& windowClass, const std::string& title) {
        HWND found = nullptr;
        vantrel.WaitUntil(20000, [&] { return (found = vantrel.FindWindowOf(windowClass, title)) != nullptr; });
        return found;
    };
    const auto answer = [&](HWND box, int button) {
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        EXPECT_TRUE(vantrel.WaitUntil(10000, [&] { return !IsWindow(box); })) << Title(box) << " did not close";
    };
    ASSERT_TRUE(PostMessageA(main, WM_COMMAND, MAKEWPARAM(win32::MenuId(Form1Def(), "restore"), 0), 0));
    HWND chooser = waitFor("#32770", "Restore Backup");
    ASSERT_NE(chooser, nullptr) << "no file chooser within 20 s";
    HWND name = FindDescendant(chooser, "Edit");
    ASSERT_NE(name, nullptr) << "no file name box in the chooser";
    vantrel.Send(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(backup.c_str()));
    answer(chooser, IDOK);

    HWND review = waitFor("#32770", "Restore Backup");
    ASSERT_NE(review, nullptr) << "no review list within 20 s";
    EXPECT_GT(vantrel.Send(GetDlgItem(review, 101), LVM_GETITEMCOUNT, 0, 0), 0);
    answer(review, IDOK);  // "Apply Changes"
    HWND box = waitFor("#32770", "Backup Restored");
    ASSERT_NE(box, nullptr) << "no \"Backup Restored\" within 20 s"
                            << (vantrel.Dialog() ? ": " + Joined(vantrel.DialogTexts(vantrel.Dialog())) : "");
    answer(box, IDOK);

    const std::vector<std::optional<StoredData>> after = ManagedValues(registry);
    const std::vector<ValueRef> targets = ApplyTargets();
    ASSERT_EQ(after.size(), targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        EXPECT_EQ(DescribeStored(after[i]), DescribeStored(before[i])) << targets[i].key << " : " << targets[i].value;
        EXPECT_TRUE(after[i] == before[i]) << targets[i].key << " : " << targets[i].value;
    }
    EXPECT_EQ(backups.NewFiles().size(), 2u) << "the restore takes a backup of its own";
    EXPECT_EQ(vantrel.Text("Text19"), "Vantrel Test Owner");  // the pages were read again

    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(vantrel.process(), 15000), WAIT_OBJECT_0) << "the process did not end";
}

// File > "Export for Group Policy...": the choice as the keyboard and a typed
// folder leave it, through to the two Registry.xml files. The first row is
// unticked with Space; the owner stays unticked as offered.
TEST(EndToEnd, GroupPolicyChoiceWritesTheTickedSettingsAsPreferenceItems) {
    const std::string exe = VantrelExePath();
    Win32Registry registry;
    const std::vector<Value> seeds = {Sz(kHklm, kUtilityManager + "Narrator", "Start with Windows", "1"),
                                      Sz(kHklm, kVersion, "RegisteredOwner", "E2E Owner"),
                                      Sz(kHkcu, kIeMain, "Start Page", "http://e2e.example/?a=1&b=2")};
    std::vector<ValueRef> touched;
    for (const Value& v : seeds) touched.push_back({v.root, v.key, v.name});
    RegistryGuard restoreRegistry(registry, touched);
    for (const Value& v : seeds) WriteStored(registry, ToStored(v));
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "vantrel-gp-e2e";
    const std::string machine = folder + "\\Machine\\Preferences\\Registry\\Registry.xml";
    const std::string user = folder + "\\User\\Preferences\\Registry\\Registry.xml";

    RunningVantrel vantrel;
    ASSERT_TRUE(vantrel.Start(exe)) << "CreateProcess failed, error " << GetLastError();
    HWND main = nullptr;
    vantrel.WaitUntil(30000, [&] { return (main = vantrel.FindWindowOf("", kMainCaption)) != nullptr; });
    ASSERT_NE(main, nullptr) << "no main window within 30 s";
    ASSERT_TRUE(PostMessageA(main, WM_COMMAND, MAKEWPARAM(win32::MenuId(Form1Def(), "gpexport"), 0), 0));
    HWND choice = nullptr;
    vantrel.WaitUntil(20000, [&] { return (choice = vantrel.FindWindowOf("#32770", "Export for Group Policy")) != nullptr; });
    ASSERT_NE(choice, nullptr) << "no choice within 20 s";
    HWND list = GetDlgItem(choice, exportchoice::kListId);
    const auto ticked = [&](int row) {
        return (vantrel.Send(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) >> 12) == 2;
    };
    ASSERT_TRUE(ticked(0));
    PostMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageA(list, WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(vantrel.WaitUntil(5000, [&] { return !ticked(0); })) << "Space did not untick the focused row";
    vantrel.Send(GetDlgItem(choice, exportchoice::kFolderId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    PostMessageA(choice, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(vantrel.WaitUntil(10000, [&] { return !IsWindow(choice); })) << "OK did not close the choice";

    HWND box = nullptr;
    vantrel.WaitUntil(20000, [&] { return (box = vantrel.FindWindowOf("#32770", "Export for Group Policy")) != nullptr; });
    ASSERT_NE(box, nullptr) << "no message within 20 s";
    const std::string told = Joined(vantrel.DialogTexts(box));
    EXPECT_NE(told.find("Settings exported for Group Policy:"), std::string::npos) << told;
    EXPECT_NE(told.find("\"" + machine + "\": 0 entries kept, 0 replaced, "), std::string::npos) << told;
    EXPECT_NE(told.find("\"" + user + "\": 0 entries kept, 0 replaced, "), std::string::npos)
        << told;
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(vantrel.WaitUntil(10000, [&] { return !IsWindow(box); }));

    const std::string machineXml = ReadWholeFile(machine), userXml = ReadWholeFile(user);
    for (const std::string* xml : {&machineXml, &userXml}) {
        EXPECT_EQ(xml->rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<RegistrySettings ", 0), 0u) << *xml;
    }
    EXPECT_NE(machineXml.find("key=\"" + kUtilityManager + "Narrator\" name=\"Start with Windows\" type=\"REG_SZ\" "
                              "value=\"1\""),
              std::string::npos)
        << machineXml;
    EXPECT_EQ(machineXml.find("RegisteredOwner"), std::string::npos) << "the owner is not ticked at first";
    EXPECT_NE(userXml.find("name=\"Start Page\" type=\"REG_SZ\" value=\"http://e2e.example/?a=1&amp;b=2\""),
              std::string::npos)
        << userXml;
    EXPECT_EQ(userXml.find("name=\"AppData\""), std::string::npos) << "the unticked first row";

    const std::string from = folder + '\0';  // a list of paths, ended by an empty one
    SHFILEOPSTRUCTA remove{};
    remove.wFunc = FO_DELETE;
    remove.pFrom = from.c_str();
    remove.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationA(&remove);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(vantrel.process(), 15000), WAIT_OBJECT_0) << "the process did not end";
}

}  // namespace
// The prefix set to Windows 10 with winecfg: start-up makes no C:\boot.ini,
// "Enable Net Send" shows disabled, and "Change Boot Screen" says why it
// refuses and changes no file.
TEST(EndToEnd, OnWindows10BootIniIsNotMadeAndTheScreenIsRefused) {
    const std::string exe = VantrelExePath();
    const std::string bootIni = "C:\\boot.ini", aside = "C:\\boot.ini.vantrel-aside", backup = "C:\\ntoskrnl.exe";
    const bool hadBackup = GetFileAttributesA(backup.c_str()) != INVALID_FILE_ATTRIBUTES;
    Win32Registry registry;
    WineVersionGuard prefix(registry, {});
    // The prefix's boot.ini is kept aside and put back, whatever happens.
    struct PutBack {
        const std::string &from, &to;
        ~PutBack() { MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING); }
    } putBack{aside, bootIni};
    ASSERT_TRUE(MoveFileExA(bootIni.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING)) << GetLastError();
    ASSERT_TRUE(prefix.Set("win10"));

    RunningVantrel vantrel;
    ASSERT_TRUE(vantrel.Start(exe)) << "CreateProcess failed, error " << GetLastError();
    HWND main = nullptr;
    vantrel.WaitUntil(30000, [&] { return (main = vantrel.FindWindowOf("", kMainCaption)) != nullptr; });
    ASSERT_NE(main, nullptr) << "no main window within 30 s"
                             << (vantrel.Dialog() ? ": " + Joined(vantrel.DialogTexts(vantrel.Dialog())) : "");
    vantrel.SetMain(main);
    EXPECT_EQ(GetFileAttributesA(bootIni.c_str()), INVALID_FILE_ATTRIBUTES) << "start-up made boot.ini";
    vantrel.Menu("exp");
    EXPECT_FALSE(IsWindowEnabled(vantrel.Control("Check1")));
    EXPECT_TRUE(IsWindowEnabled(vantrel.Control("Check2")));

    vantrel.Menu("start");
    PostMessageA(vantrel.Control("Command10"), BM_CLICK, 0, 0);  // the refusal is modal: posted
    HWND box = nullptr;
    vantrel.WaitUntil(20000, [&] { return (box = vantrel.FindWindowOf("#32770", "Error")) != nullptr; });
    ASSERT_NE(box, nullptr) << "no refusal within 20 s";
    EXPECT_NE(Joined(vantrel.DialogTexts(box)).find("Not used by Windows Vista and later."), std::string::npos)
        << Joined(vantrel.DialogTexts(box));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(vantrel.WaitUntil(10000, [&] { return !IsWindow(box); }));
    EXPECT_EQ(GetFileAttributesA(backup.c_str()) != INVALID_FILE_ATTRIBUTES, hadBackup) << "no backup was made";

    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(vantrel.process(), 15000), WAIT_OBJECT_0) << "the process did not end";
}

}  // namespace vantrel::test
