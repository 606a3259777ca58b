// The real windows, driven in-process: the application over the Win32
// registry of the test prefix, files in a scratch folder standing for drive C:,
// scripted dialogs and an end of the process that is only recorded.
#include "platform/win32/WindowsApi.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <cstring>

#include <gtest/gtest.h>

#include "app/App.h"
#include "model/Forms.h"
#include "platform/portable/PortableFiles.h"
#include "platform/portable/PortablePlatform.h"
#include "ui/win32/Renderer.h"
#include "platform/win32/Win32Registry.h"
#include "settings/TweakRow.h"
#include "support/ScriptedDialogs.h"
#include "ui/win32/RegistrySnapshot.h"
#include "ui/win32/RunningExe.h"

namespace vantrel::test {
namespace {

constexpr char kCaption[] = "Vantrel - Version 2.0 -A";
constexpr char kAdvanced[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr char kCleanupWiz[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\CleanupWiz";

// ---- tree helpers (the control's own view, not the model's) ----

std::string ItemText(HWND tree, HTREEITEM item) {
    char buffer[260] = {};
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = buffer;
    tv.cchTextMax = sizeof buffer;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return buffer;
}

HTREEITEM Next(HWND tree, HTREEITEM item, UINT how) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

std::vector<HTREEITEM> Roots(HWND tree) {
    std::vector<HTREEITEM> roots;
    for (HTREEITEM i = Next(tree, nullptr, TVGN_ROOT); i; i = Next(tree, i, TVGN_NEXT)) roots.push_back(i);
    return roots;
}

HTREEITEM FindItem(HWND tree, const std::string& text) {
    for (HTREEITEM root : Roots(tree)) {
        if (ItemText(tree, root) == text) return root;
        for (HTREEITEM c = Next(tree, root, TVGN_CHILD); c; c = Next(tree, c, TVGN_NEXT))
            if (ItemText(tree, c) == text) return c;
    }
    return nullptr;
}

bool Expanded(HWND tree, HTREEITEM item) {
    return (SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

std::string MenuText(HMENU menu, int position) {
    char buffer[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), buffer, sizeof buffer, MF_BYPOSITION);
    return buffer;
}

// ---- the main window's children as another program sees them ----

// A child window in words: its control, place in the client area, the styles
// that decide showing and the keyboard, its text and its value.
std::string ChildState(HWND main, HWND child) {
    const int row = GetDlgCtrlID(child) - win32::kFirstControlId;
    const auto& controls = Form1Def().controls;
    std::string state = row >= 0 && row < static_cast<int>(controls.size()) ? controls[static_cast<size_t>(row)].name
                                                                              : "(unknown)";
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
    const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
    char text[512] = {};
    GetWindowTextA(child, text, sizeof text);
    state += " " + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
             std::to_string(r.bottom) + ((style & WS_VISIBLE) ? " visible" : "") +
             ((style & WS_TABSTOP) ? " tab" : "") + ((style & WS_GROUP) ? " group" : "") + " \"" + text + "\"";
    const std::string kind = WindowClass(child);
    LRESULT value = 0;
    if (kind == "Button") value = SendMessageA(child, BM_GETCHECK, 0, 0);
    else if (kind == TRACKBAR_CLASSA) value = SendMessageA(child, TBM_GETPOS, 0, 0);
    else if (kind == "ListBox") value = SendMessageA(child, LB_GETCOUNT, 0, 0) * 100 + SendMessageA(child, LB_GETCURSEL, 0, 0);
    else if (kind == "ComboBox") value = SendMessageA(child, CB_GETCOUNT, 0, 0);
    else if (kind == WC_TREEVIEWA) value = SendMessageA(child, TVM_GETCOUNT, 0, 0);
    return state + " = " + std::to_string(value);
}

// Top to bottom: the stacking order, which is also the tab order.
std::vector<std::string> Children(HWND main) {
    std::vector<std::string> states;
    for (HWND c = GetWindow(main, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) states.push_back(ChildState(main, c));
    return states;
}

// The program's own top-level windows made on this thread while one lives.
class TopLevelWindowsMade {
public:
    TopLevelWindowsMade() {
        count_ = 0;
        hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    ~TopLevelWindowsMade() { UnhookWindowsHookEx(hook_); }
    int count() const { return count_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
        if (code == HCBT_CREATEWND) {
            const CREATESTRUCTA& cs = *reinterpret_cast<CBT_CREATEWNDA*>(lp)->lpcs;
            const bool named = HIWORD(reinterpret_cast<UINT_PTR>(cs.lpszClass)) != 0;
            if (!(cs.style & WS_CHILD) && named && std::strcmp(cs.lpszClass, "VantrelForm") == 0) ++count_;
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static inline int count_ = 0;
    HHOOK hook_;
};

class FrontEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                                 ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
    }

    void SetUp() override {
        snapshot_.Take(registry_, ApplyTargets());
        drive_ = std::filesystem::temp_directory_path() /
                 ("vantrel-frontend-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()));
        std::filesystem::create_directories(drive_);
        files_ = std::make_unique<PortableFileSystem>(drive_);
        services_ = std::make_unique<Services>(
            Services{registry_, *files_, shell_, browser_, dialogs_, environment_, [this] { ++ended_; }});
    }

    // Start-up as the program runs it: the load, then the window made from
    // the loaded model, shown, and the event loop.
    void Start() {
        MakeAndShow();
        Pump();
    }
    void MakeAndShow() {
        app_ = std::make_unique<App>(*services_);
        app_->Form_Load();
        renderer_ = std::make_unique<win32::Renderer>(GetModuleHandleA(nullptr), *app_);
        ASSERT_FALSE(IsWindowVisible(renderer_->mainWindow()));
        renderer_->ShowMain();
    }

    void TearDown() override {
        renderer_.reset();
        app_.reset();
        dialogs_.Verify();
        snapshot_.Restore(registry_);
        std::error_code ignored;
        std::filesystem::remove_all(drive_, ignored);
    }

    void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (renderer_->PreTranslate(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    HWND Control(const std::string& name) { return renderer_->control(name); }
    HWND Main() { return renderer_->mainWindow(); }
    void Command(const std::string& menu) {
        SendMessageA(Main(), WM_COMMAND, MAKEWPARAM(renderer_->menuId(menu), 0), 0);
    }
    void Press(const std::string& button) { SendMessageA(Control(button), BM_CLICK, 0, 0); }

    // A left click in the middle of a node's text, as the mouse delivers it.
    void ClickNode(const std::string& text) {
        HWND tree = Control("TreeView1");
        HTREEITEM item = FindItem(tree, text);
        ASSERT_NE(item, nullptr) << text;
        RECT r{};
        std::memcpy(&r, &item, sizeof item);  // TVM_GETITEMRECT takes the item in the rectangle
        ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) << text << " not in view";
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(tree, WM_LBUTTONUP, 0, at);
        Pump();
    }

    // The page frames on screen.
    std::vector<std::string> VisiblePages() {
        std::vector<std::string> pages;
        for (int i = 2; i <= 26; ++i) {
            const std::string name = "Frame" + std::to_string(i);
            if (IsWindowVisible(Control(name))) pages.push_back(name);
        }
        return pages;
    }

    Win32Registry registry_;
    RegistrySnapshot snapshot_;
    std::filesystem::path drive_;
    std::unique_ptr<PortableFileSystem> files_;
    RecordingShell shell_;
    RecordingBrowser browser_;
    PortableEnvironment environment_;
    testing::ScriptedDialogs dialogs_;
    int ended_ = 0;
    std::unique_ptr<Services> services_;
    std::unique_ptr<App> app_;
    std::unique_ptr<win32::Renderer> renderer_;
};

TEST_F(FrontEnd, WindowOpensWithTheTreeCollapsedAndNoPage) {
    Start();
    HWND main = Main();
    char caption[128] = {};
    GetWindowTextA(main, caption, sizeof caption);
    EXPECT_STREQ(caption, kCaption);
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_EQ(IsWindow(renderer_->splashWindow()), FALSE) << "the splash window is gone after start-up";

    HWND tree = Control("TreeView1");
    EXPECT_EQ(GetFocus(), tree);
    EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 24);
    std::vector<std::string> roots;
    for (HTREEITEM r : Roots(tree)) {
        roots.push_back(ItemText(tree, r));
        EXPECT_FALSE(Expanded(tree, r)) << roots.back();
    }
    EXPECT_EQ(roots, (std::vector<std::string>{"General", "Input", "Folders", "Taskbar", "Internet", "Logon",
                                               "Accessibility", "About", "Windows 10 and 11"}));
    const LONG_PTR style = GetWindowLongPtrA(tree, GWL_STYLE);
    EXPECT_EQ(style & (TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT), TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT);

    EXPECT_TRUE(VisiblePages().empty());
    EXPECT_TRUE(IsWindowVisible(Control("Frame1")));
}

TEST_F(FrontEnd, MenusSectionButtonsAndShortcutsAreBuiltFromTheTables) {
    Start();
    HMENU bar = GetMenu(Main());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(MenuText(bar, 0), "File");
    EXPECT_EQ(MenuText(bar, 1), "View");
    EXPECT_EQ(MenuText(bar, 2), "Vantrel");
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(file), 12);
    EXPECT_EQ(MenuText(file, 0), "Home\tCtrl+H");
    EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(MenuText(file, 2), "Save Changes\tCtrl+S");
    EXPECT_EQ(GetMenuState(file, 3, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(MenuText(file, 4), "Review Changes...");
    EXPECT_EQ(MenuText(file, 8), "Export for Group Policy...");
    EXPECT_EQ(MenuText(file, 9), "Apply to Other Users...");
    EXPECT_EQ(GetMenuState(file, 10, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(MenuText(file, 11), "Exit\tCtrl+E");

    // Fourteen shortcuts, each on its menu command.
    ACCEL keys[32];
    const int count = CopyAcceleratorTableA(renderer_->accelerators(), keys, 32);
    EXPECT_EQ(count, 14);
    const struct { char key; const char* menu; } expected[] = {{'H', "home"}, {'X', "exp"}, {'R', "si"}, {'U', "ao"}};
    for (const auto& e : expected) {
        bool found = false;
        for (int i = 0; i < count; ++i) {
            if (keys[i].key == e.key) {
                found = true;
                EXPECT_EQ(keys[i].cmd, renderer_->menuId(e.menu)) << e.key;
                EXPECT_EQ(keys[i].fVirt & (FCONTROL | FVIRTKEY), FCONTROL | FVIRTKEY) << e.key;
            }
        }
        EXPECT_TRUE(found) << "Ctrl+" << e.key;
    }

    // Section buttons left to right.
    const char* const buttons[] = {"Command2", "Command3", "Command4", "Command8",
                                   "Command1", "Command5", "Command6", "Command7"};
    const char* const captions[] = {"General", "Input", "Folders", "Taskbar", "Internet", "Logon", "Accessibility", "About"};
    LONG lastLeft = -1;
    for (int i = 0; i < 8; ++i) {
        char text[64] = {};
        GetWindowTextA(Control(buttons[i]), text, sizeof text);
        EXPECT_STREQ(text, captions[i]);
        RECT r;
        GetWindowRect(Control(buttons[i]), &r);
        EXPECT_GT(r.left, lastLeft) << buttons[i];
        lastLeft = r.left;
    }
}

TEST_F(FrontEnd, EveryPageFillsTheSamePageArea) {
    Start();
    // Each page as navigation shows it; the e-mail page, which nothing shows, made as it is.
    for (const PageRoute& route : PageRoutes()) app_->ShowPage(route.frame);
    renderer_->makeControl("Frame21");
    RECT first;
    GetWindowRect(Control("Frame2"), &first);
    EXPECT_GT(first.right - first.left, 400);
    for (int i = 3; i <= 21; ++i) {
        RECT r;
        GetWindowRect(Control("Frame" + std::to_string(i)), &r);
        EXPECT_TRUE(EqualRect(&r, &first)) << "Frame" << i;
    }
    // A page's controls lie inside its frame.
    app_->ShowPage("Frame5");
    RECT box;
    GetWindowRect(Control("Check4"), &box);
    EXPECT_TRUE(box.left > first.left && box.right < first.right && box.top > first.top && box.bottom < first.bottom);
}

TEST_F(FrontEnd, ShownWindowMakesAllButTheTreeAtTheLoopsFirstMessage) {
    MakeAndShow();
    EXPECT_EQ(GetFocus(), Control("TreeView1"));
    const char* later[] = {"Label2", "Frame1", "Command2", "Command7", "Command21", "apply"};
    for (const char* name : later) EXPECT_EQ(Control(name), nullptr) << name;
    app_->form1().control("Command21").setEnabled(false);  // reaches the button once it is made

    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_NE(msg.message, static_cast<UINT>(WM_PAINT)) << "made before the window's first paint";
    renderer_->PreTranslate(msg);
    for (const char* name : later) EXPECT_TRUE(IsWindowVisible(Control(name))) << name;
    EXPECT_FALSE(IsWindowEnabled(Control("Command21")));
    EXPECT_EQ(GetFocus(), Control("TreeView1"));
}

TEST_F(FrontEnd, PagesAreMadeWhenFirstShownAsTheyWouldBeUpFront) {
    {
        TopLevelWindowsMade made;
        Start();
        EXPECT_EQ(made.count(), 1) << "the main window only: no splash window for a splash loaded and unloaded at once";
    }
    for (const PageRoute& route : PageRoutes()) EXPECT_EQ(Control(route.frame), nullptr) << route.frame;
    EXPECT_EQ(Control("Check4"), nullptr);
    EXPECT_NE(Control("Command21"), nullptr);

    // The same start-up with every page made up front, hidden.
    App upFrontApp(*services_);
    win32::Renderer upFront(GetModuleHandleA(nullptr), upFrontApp);
    upFrontApp.Form_Load();
    for (const ControlDef& d : Form1Def().controls) upFront.makeControl(d.name);

    // Changes to controls whose windows do not exist yet show once they do.
    for (App* app : {app_.get(), &upFrontApp}) {
        Form& f = app->form1();
        f.check("Check4").setValue(2);
        f.text("Text19").setText("Owner While Hidden");
        f.slider("Slider2").setValue(7);
        f.list("List3").AddItem("added while hidden");
        f.option("Option4").setValue(true);
    }
    const std::vector<PageRoute>& routes = PageRoutes();
    for (auto r = routes.rbegin(); r != routes.rend(); ++r) app_->ShowPage(r->frame);
    renderer_->makeControl("Combo1");
    upFrontApp.ShowPage(routes.front().frame);
    // The marks' icons (the Windows 10 and 11 pages' on this Windows) sit
    // above every control, in the order their pages were made: compared as a set.
    auto marksSorted = [](std::vector<std::string> states) {
        const auto controls = std::stable_partition(states.begin(), states.end(),
                                                    [](const std::string& s) { return s.rfind("(unknown) ", 0) == 0; });
        std::sort(states.begin(), controls);
        return states;
    };
    EXPECT_EQ(marksSorted(Children(Main())), marksSorted(Children(upFront.mainWindow())));
}

TEST_F(FrontEnd, EachRouteShowsItsPage) {
    Start();
    struct Step {
        const char* how;     // node, menu, button, submenu
        const char* target;  // node text, menu name, button name, popup name
        const char* page;    // visible frame afterwards
    };
    const Step steps[] = {
        {"node", "General", "Frame3"},        {"menu", "exp", "Frame5"},      {"node", "Explorer", "Frame5"},
        {"button", "Command6", "Frame18"},    {"menu", "home", "Frame3"},     {"submenu", "input", "Frame6"},
        {"submenu", "gen", "Frame6"},         {"menu", "about", "Frame20"},   {"button", "Command1", "Frame13"},
        {"menu", "si", "Frame17"},            {"node", "Logon", "Frame16"},   {"button", "Command2", "Frame3"},
        {"menu", "w10privacy", "Frame24"},    {"node", "Windows 10 and 11", "Frame22"},
    };
    for (const Step& s : steps) {
        const std::string how = s.how;
        if (how == "node") ClickNode(s.target);
        else if (how == "menu") Command(s.target);
        else if (how == "button") Press(s.target);
        else SendMessageA(Main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(renderer_->popup(s.target)), 0);
        EXPECT_EQ(VisiblePages(), std::vector<std::string>{s.page}) << how << " " << s.target;
        EXPECT_EQ(app_->VisiblePage(), s.page) << how << " " << s.target;
    }
    // A page's controls come and go with their frame; design-hidden ones stay hidden.
    Command("exp");
    EXPECT_TRUE(IsWindowVisible(Control("Check4")));
    Command("about");
    EXPECT_FALSE(IsWindowVisible(Control("Check4")));
    EXPECT_TRUE(IsWindowVisible(Control("Label96")));
    EXPECT_FALSE(IsWindowVisible(Control("Label97")));
}

TEST_F(FrontEnd, MenuRoutesRevealNodesWithoutMovingTheSelection) {
    Start();
    HWND tree = Control("TreeView1");
    ClickNode("About");
    HTREEITEM selected = Next(tree, nullptr, TVGN_CARET);
    ASSERT_EQ(ItemText(tree, selected), "About");

    Command("exp");  // reveals "Explorer": its parent opens
    EXPECT_TRUE(Expanded(tree, FindItem(tree, "General")));
    EXPECT_EQ(Next(tree, nullptr, TVGN_CARET), selected);

    Command("pf");  // reveals nothing
    EXPECT_FALSE(Expanded(tree, FindItem(tree, "Folders")));
    EXPECT_EQ(VisiblePages(), std::vector<std::string>{"Frame10"});

    // A child node becomes clickable once its parent is open.
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(FindItem(tree, "Logon")));
    EXPECT_TRUE(app_->form1().tree("TreeView1").Node("Logon").expanded) << "the model follows the user's expand";
    ClickNode("Startup Items");
    EXPECT_EQ(VisiblePages(), std::vector<std::string>{"Frame17"});
    EXPECT_EQ(app_->form1().tree("TreeView1").selectedKey(), "Root6Child2");

    // Clicking the node that is already selected shows its page again.
    Command("home");
    ClickNode("Startup Items");
    EXPECT_EQ(VisiblePages(), std::vector<std::string>{"Frame17"});

    // Moving the selection with the keyboard is a node click too.
    SendMessageA(tree, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(app_->form1().tree("TreeView1").selectedKey(), "Logon");
    EXPECT_EQ(VisiblePages(), std::vector<std::string>{"Frame16"});
}

// A revealed node is scrolled into view, also when its parent is open already.
TEST_F(FrontEnd, RevealedNodeIsScrolledIntoView) {
    Start();
    HWND tree = Control("TreeView1");
    RECT area;
    GetClientRect(tree, &area);
    SetWindowPos(tree, nullptr, 0, 0, area.right, area.bottom / 4, SWP_NOMOVE | SWP_NOZORDER);  // a few rows
    for (HTREEITEM root : Roots(tree)) SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    const std::pair<const char*, const char*> reveals[] = {
        {"wi", "Windows Information"}, {"exp", "Explorer"}, {"start", "Startup"}, {"mouse", "Mouse"},
        {"key", "Keyboard"}};
    for (const auto& [menu, node] : reveals) {
        SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(FindItem(tree, "Accessibility Options")));
        Command(menu);
        RECT r{}, visible;
        GetClientRect(tree, &visible);
        HTREEITEM item = FindItem(tree, node);
        std::memcpy(&r, &item, sizeof item);
        ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) << node;
        EXPECT_TRUE(r.top >= 0 && r.bottom <= visible.bottom) << menu << ": " << node << " at " << r.top;
    }
}

TEST_F(FrontEnd, UserEditsReachTheModelAndModelChangesReachTheControls) {
    Start();
    Form& f = app_->form1();
    Command("exp");

    // Text box typing and a program-set text.
    SetWindowTextA(Control("Text19"), "Jo Owner");
    EXPECT_EQ(f.text("Text19").text(), "Jo Owner");
    f.text("Text21").setText("Acme");
    char text[64] = {};
    GetWindowTextA(Control("Text21"), text, sizeof text);
    EXPECT_STREQ(text, "Acme");

    // Check boxes: a click toggles, a grayed value shows as grayed.
    const int before = f.check("Check1").value() == 1 ? 1 : 0;
    Press("Check1");
    EXPECT_EQ(f.check("Check1").value(), 1 - before);
    EXPECT_EQ(SendMessageA(Control("Check1"), BM_GETCHECK, 0, 0), 1 - before);
    f.check("Check2").setValue(2);
    EXPECT_EQ(SendMessageA(Control("Check2"), BM_GETCHECK, 0, 0), BST_INDETERMINATE);

    // Option buttons of one frame exclude each other both ways.
    Command("mouse");
    Press("Option1");
    EXPECT_TRUE(f.option("Option1").value());
    EXPECT_FALSE(f.option("Option2").value());
    f.option("Option2").setValue(true);
    EXPECT_EQ(SendMessageA(Control("Option1"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(Control("Option2"), BM_GETCHECK, 0, 0), BST_CHECKED);

    // Sliders: arrow keys step by 1, page keys by 5, the range is the model's.
    HWND slider = Control("Slider2");
    EXPECT_EQ(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0), 20);
    f.slider("Slider2").setValue(10);
    EXPECT_EQ(SendMessageA(slider, TBM_GETPOS, 0, 0), 10);
    SendMessageA(slider, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(f.slider("Slider2").value(), 11);
    SendMessageA(slider, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(f.slider("Slider2").value(), 16);

    // "Check All" is a click the application answers by ticking three boxes.
    Command("ao");
    Press("Option3");
    for (const char* box : {"Check21", "Check22", "Check23"})
        EXPECT_EQ(SendMessageA(Control(box), BM_GETCHECK, 0, 0), BST_CHECKED) << box;
}

// On Windows 10 (the policies are disabled before it): a policy's box goes
// through its states click by click, the box showing each; the diagnostic
// data list starts at "Not configured" and takes the arrow keys.
TEST_F(FrontEnd, OnWindows10APolicysBoxCyclesThroughItsStatesAndItsListTakesTheArrowKeys) {
    environment_.setWindowsVersion({10, 0, 19045});
    Start();
    Form& f = app_->form1();
    Command("w10search");
    const struct {
        const char* box;
        std::vector<int> states;  // after each of three clicks, from grayed (the value absent)
    } boxes[] = {{"Check28", {1, 0, 2}}, {"Check27", {1, 2, 1}}};
    const LRESULT shown[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
    for (const auto& b : boxes) {
        ASSERT_TRUE(IsWindowEnabled(Control(b.box))) << b.box;
        EXPECT_EQ(SendMessageA(Control(b.box), BM_GETCHECK, 0, 0), BST_INDETERMINATE) << b.box;
        std::vector<int> states;
        for (int i = 0; i < 3; ++i) {
            Press(b.box);
            states.push_back(f.check(b.box).value());
            EXPECT_EQ(SendMessageA(Control(b.box), BM_GETCHECK, 0, 0), shown[states.back()]) << b.box;
        }
        EXPECT_EQ(states, b.states) << b.box;
    }
    Command("w10privacy");
    HWND level = Control("Combo2");
    EXPECT_EQ(SendMessageA(level, CB_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(f.list("Combo2").ListIndex(), 0);
    SendMessageA(level, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(f.list("Combo2").ListIndex(), 1);
}

TEST_F(FrontEnd, StartMenuListShowsAndTogglesCheckMarks) {
    Start();
    Command("go");
    ListBox& list = app_->form1().list("List1");
    HWND box = Control("List1");
    ASSERT_EQ(SendMessageA(box, LB_GETCOUNT, 0, 0), 14);
    char item[128] = {};
    SendMessageA(box, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(list.List(0), item);

    // A click on an item's box toggles its mark; a click on its text selects only.
    RECT r{};
    SendMessageA(box, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
    const bool mark = list.Selected(2);
    const LPARAM onBox = MAKELPARAM(r.left + 6, (r.top + r.bottom) / 2);
    SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, onBox);
    SendMessageA(box, WM_LBUTTONUP, 0, onBox);
    EXPECT_EQ(list.Selected(2), !mark);
    EXPECT_EQ(list.ListIndex(), 2);
    const LPARAM onText = MAKELPARAM(r.left + 60, (r.top + r.bottom) / 2);
    SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, onText);
    SendMessageA(box, WM_LBUTTONUP, 0, onText);
    EXPECT_EQ(list.Selected(2), !mark);

    // The space bar toggles the selected item.
    SendMessageA(box, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(list.Selected(2), mark);
}

// Each control's own messages reach it: the user's choice in a list box or
// the drop-down list reaches the model, the boot.ini box holds a text longer
// than an edit box's default limit both ways, a double click anywhere on a
// check-list item toggles it, the band and the logo stand on white, and the
// focused control keeps the focus across a switch to another window and back.
TEST_F(FrontEnd, EachControlAnswersItsOwnMessages) {
    Start();
    Form& f = app_->form1();
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"a click on a startup item", [&] {
             Command("si");
             f.list("List3").AddItem("first");
             f.list("List3").AddItem("second");
             RECT r{};
             SendMessageA(Control("List3"), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
             const LPARAM at = MAKELPARAM(r.left + 10, (r.top + r.bottom) / 2);
             SendMessageA(Control("List3"), WM_LBUTTONDOWN, MK_LBUTTON, at);
             SendMessageA(Control("List3"), WM_LBUTTONUP, 0, at);
             EXPECT_EQ(f.list("List3").ListIndex(), 1);
         }},
        {"the down arrow on the e-mail zone list", [&] {
             HWND zones = renderer_->makeControl("Combo1");
             f.list("Combo1").setListIndex(0);
             SendMessageA(zones, WM_KEYDOWN, VK_DOWN, 0);
             EXPECT_EQ(f.list("Combo1").ListIndex(), 1);
         }},
        {"a long boot.ini", [&] {
             Command("start");
             f.text("Text4").setText(std::string(40000, 'x'));
             EXPECT_EQ(GetWindowTextLengthA(Control("Text4")), 40000);
             SendMessageA(Control("Text4"), EM_SETSEL, 40000, 40000);  // a paste at the end
             SendMessageA(Control("Text4"), EM_REPLACESEL, TRUE,
                          reinterpret_cast<LPARAM>(std::string(10000, 'y').c_str()));
             EXPECT_EQ(f.text("Text4").text().size(), 50000u);
         }},
        {"double click on a Start menu item's text", [&] {
             Command("go");
             HWND box = Control("List1");
             RECT r{};
             SendMessageA(box, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&r));
             const bool mark = f.list("List1").Selected(3);
             SendMessageA(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(r.left + 60, (r.top + r.bottom) / 2));
             EXPECT_EQ(f.list("List1").Selected(3), !mark);
             EXPECT_EQ(SendMessageA(box, LB_GETITEMDATA, 3, 0), mark ? 0 : 1);
         }},
        {"the band, the logo and a label", [&] {
             Command("home");
             HDC dc = GetDC(Main());
             const auto brush = [&](const char* name) {
                 return SendMessageA(Main(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(Control(name)));
             };
             const auto white = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
             EXPECT_EQ(brush("Label2"), white);
             EXPECT_EQ(brush("Image1"), white);
             EXPECT_NE(brush("Label3"), white);
             ReleaseDC(Main(), dc);
         }},
        {"a switch to another window and back", [&] {
             Command("exp");
             SetFocus(Control("Text19"));
             SendMessageA(Main(), WM_ACTIVATE, WA_INACTIVE, 0);
             SetFocus(Control("TreeView1"));
             SendMessageA(Main(), WM_ACTIVATE, WA_ACTIVE, 0);
             EXPECT_EQ(GetFocus(), Control("Text19"));
         }},
    };
    for (const auto& [what, run] : cases) {
        SCOPED_TRACE(what);
        run();
    }
}

TEST_F(FrontEnd, SplashWindowLivesWhileItsFormIsLoadedAndItsTimerTicks) {
    Start();
    Form& splash = app_->form2();
    splash.setLoaded(true);
    splash.setShown(true);
    HWND window = renderer_->splashWindow();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowVisible(window));
    char caption[32] = {};
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "Form2");

    // Ticks arrive only through the event loop.
    const DWORD until = GetTickCount() + 3000;
    while (splash.progress("ProgressBar1").value() < 3.0f && GetTickCount() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        Pump();
    }
    EXPECT_GE(splash.progress("ProgressBar1").value(), 3.0f);
    HWND bar = GetWindow(window, GW_CHILD);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), static_cast<int>(splash.progress("ProgressBar1").value()));

    splash.setLoaded(false);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(FrontEnd, ApplyStoresTheTickedHiddenFilesBox) {
    SeedDword(registry_, reg::kCurrentUser, kAdvanced, "Hidden", 2);
    SeedDword(registry_, reg::kCurrentUser, kCleanupWiz, "Days between clean up", 60);
    Start();
    Command("exp");
    ASSERT_EQ(app_->form1().check("Check4").value(), 0);
    Press("Check4");
    EXPECT_EQ(SendMessageA(Control("Check4"), BM_GETCHECK, 0, 0), BST_CHECKED);

    dialogs_.ExpectMessage("Changes Applied", mb::kAnswerOk);
    Press("apply");
    dialogs_.Verify();
    EXPECT_EQ(ReadDword(registry_, reg::kCurrentUser, kAdvanced, "Hidden"), 1u);
}

TEST_F(FrontEnd, EveryWayOutEndsWithoutWriting) {
    Start();
    // Pending edits that an apply would write.
    Command("exp");
    Press("Check4");
    SetWindowTextA(Control("Text19"), "Not Saved");
    const RegistrySnapshot before = RegistrySnapshot::Of(registry_, ApplyTargets());

    Press("Command21");
    EXPECT_EQ(ended_, 1) << "Exit Vantrel";
    Command("exit");
    EXPECT_EQ(ended_, 2) << "File > Exit";
    SendMessageA(Main(), WM_CLOSE, 0, 0);
    EXPECT_EQ(ended_, 3) << "close box";
    // Enter on the focused "Exit Vantrel" presses it, as Space does.
    SetFocus(Control("Command21"));
    PostMessageA(Control("Command21"), WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_EQ(ended_, 4) << "Enter on Exit Vantrel";
    EXPECT_TRUE(dialogs_.shown.empty()) << "nothing is asked";
    EXPECT_EQ(RegistrySnapshot::Of(registry_, ApplyTargets()), before);
}

}  // namespace
}  // namespace vantrel::test
