#include "app/App.h"

#include <functional>
#include <exception>
#include <map>
#include <new>

#include "app/Commands.h"
#include "model/Forms.h"
#include "app/Report.h"
#include "settings/TweakRow.h"
#include "tools/Tools.h"

namespace vantrel {

namespace {

// The navigation tree, in the order start-up adds the nodes.
struct NodeDef {
    const char* key;
    const char* text;
    const char* parent;
};
const NodeDef kNodes[] = {
    {"General", "General", ""},
    {"Input", "Input", ""},
    {"Folders", "Folders", ""},
    {"Taskbar", "Taskbar", ""},
    {"Internet", "Internet", ""},
    {"Logon", "Logon", ""},
    {"Accessibility", "Accessibility", ""},
    {"About", "About", ""},
    {"Windows10", "Windows 10 and 11", ""},
    {"Root1Child1", "Windows Information", "General"},
    {"Root1Child2", "Explorer", "General"},
    {"Root1Child3", "Startup", "General"},
    {"Root2Child1", "Mouse", "Input"},
    {"Root2Child2", "Keyboard", "Input"},
    {"Root3Child1", "Personal Folders", "Folders"},
    {"Root4Child1", "General Options", "Taskbar"},
    {"Root5Child1", "Internet Options", "Internet"},
    {"Root5Child2", "Caching", "Internet"},
    {"Root6Child2", "Startup Items", "Logon"},
    {"Root7Child1", "Accessibility Options", "Accessibility"},
    {"Root9Child1", "Search and Start", "Windows10"},
    {"Root9Child2", "Privacy and suggestions", "Windows10"},
    {"Root9Child3", "Widgets and spotlight", "Windows10"},
    {"Root9Child4", "Mouse pointer", "Windows10"},
};

// The page frames navigation switches: Frame2 to Frame26 but the e-mail
// page, Frame21, which no route shows.
constexpr int kFirstPage = 2, kLastPage = 26, kEmailPage = 21;

constexpr int kTreeStyle = 7;      // tree lines, plus/minus boxes, pictures and text
constexpr int kTreeLineStyle = 1;  // lines also join the root nodes
constexpr int kChild = 4;          // node relationship: last child of the relative

}  // namespace

const std::vector<PageRoute>& PageRoutes() {
    static const std::vector<PageRoute> routes = {
        {"General", "Frame3", "home", "Command2", ""},
        {"Root1Child1", "Frame4", "wi", "", "Root1Child1"},
        {"Root1Child2", "Frame5", "exp", "", "Root1Child2"},
        {"Root1Child3", "Frame2", "start", "", "Root1Child3"},
        {"Input", "Frame6", "input", "Command3", ""},
        {"Root2Child1", "Frame7", "mouse", "", "Root2Child1"},
        {"Root2Child2", "Frame8", "key", "", "Root2Child2"},
        {"Folders", "Frame9", "", "Command4", ""},
        {"Root3Child1", "Frame10", "pf", "", ""},
        {"Taskbar", "Frame12", "task", "Command8", ""},
        {"Root4Child1", "Frame11", "go", "", ""},
        {"Internet", "Frame13", "", "Command1", ""},
        {"Root5Child1", "Frame14", "io", "", ""},
        {"Root5Child2", "Frame15", "ch", "", ""},
        {"Logon", "Frame16", "", "Command5", ""},
        {"Root6Child2", "Frame17", "si", "", ""},
        {"Accessibility", "Frame18", "access", "Command6", ""},
        {"Root7Child1", "Frame19", "ao", "", ""},
        {"About", "Frame20", "about", "Command7", ""},
        // The Windows 10 and 11 section: a ninth root, no section button.
        {"Windows10", "Frame22", "", "", ""},
        {"Root9Child1", "Frame23", "w10search", "", "Root9Child1"},
        {"Root9Child2", "Frame24", "w10privacy", "", "Root9Child2"},
        {"Root9Child3", "Frame25", "w10spotlight", "", "Root9Child3"},
        {"Root9Child4", "Frame26", "w10mouse", "", "Root9Child4"},
    };
    return routes;
}

App::App(Services& services)
    : journal_(services.registry, services.files),
      services_{journal_.registry(), journal_.files(),    services.shell,      services.browser,
                services.dialogs,    services.environment, services.endProcess, services.live,
                services.hives,      services.machine},
      form1_(std::make_unique<Form>(Form1Def())),
      form2_(std::make_unique<Form>(Form2Def())) {}

// ---- start-up ----

void App::Form_Load() {
    Form& f = *form1_;
    JudgeStandings();
    StepDone("Windows version and policies read");
    // Where the computer does not start from boot.ini, start-up does not make one.
    bootIni_ = LoadBootIni(f, services_, ToolRefusal("tool:bootini").empty());
    StepDone("boot.ini read");
    LoadSettings(f, services_.registry);
    MarkChoices(f, standings_);
    StepDone("settings loaded");
    ShowSplash();
    StepDone("splash loaded and shown");
    form2_->setLoaded(false);  // unloaded at once: its timer never ticks during start-up
    StepDone("splash unloaded");

    TreeView& tree = f.tree("TreeView1");
    tree.setStyle(kTreeStyle, kTreeLineStyle);
    // On a second run the first node is refused (its key is held already),
    // which ends start-up here and leaves the tree and both lists as they are.
    for (const NodeDef& n : kNodes) {
        if (*n.parent) tree.Add(n.parent, kChild, n.key, n.text);
        else tree.Add("", 0, n.key, n.text);
    }
    StepDone("tree filled");
    FillStartMenuList(f);
    FillZoneList(f);
    StepDone("Start menu and zone lists filled");
    LoadStartMenuChecks(f, services_.registry);
    StepDone("Start menu check marks read");
}

void App::JudgeStandings() {
    Environment& environment = services_.environment;
    standings_ =
        Standings(RunningWindows{environment.WindowsVersion(), environment.WindowsEdition()}, services_.registry);
    MarkPages(*form1_, standings_);
    // The Startup page says why its tools do nothing here.
    if (!ToolRefusal("tool:bootini").empty()) {
        form1_->text("Label35").setText(
            "This computer starts from its boot configuration store, not from boot.ini, and Windows protects its "
            "system files ntoskrnl.exe and logonui.exe. On Windows Vista and later Vantrel changes neither boot.ini "
            "nor the boot and logon screens.");
    }
}

std::string App::ToolRefusal(const std::string& tool) const {
    const Standing standing = standings_.Of(tool);
    if (standing.kind != StandingKind::NoEffect) return {};
    if (tool == "tool:bootini") {
        return standing.why + " This computer starts from its boot configuration store, not from \"C:\\boot.ini\". "
                              "The file was not changed.";
    }
    // Windows Resource Protection keeps the system files from being replaced.
    return standing.why + " On this Windows ntoskrnl.exe and logonui.exe are protected system files, and replacing "
                          "them can leave Windows unable to start. Nothing was changed.";
}

void App::ShowSplash() {
    Form& s = *form2_;
    s.setLoaded(true);
    s.progress("ProgressBar1").setValue(0.0f);
    s.get<Timer>("Timer1").enabled = true;
    LoadStartupItems(*form1_, s, services_);
    s.setShown(true);
}

void App::Timer1_Timer() {
    ProgressBar& bar = form2_->progress("ProgressBar1");
    const float v = bar.value();
    if (v < 100.0f) bar.setValue(v + 1.0f);
    else if (v == 100.0f) bar.setValue(0.0f);
}

void App::EndProgram() {
    // Ends at once: nothing is asked and nothing is written.
    if (services_.endProcess) services_.endProcess();
}

// ---- navigation ----

void App::ShowPage(const std::string& frame) {
    for (int i = kFirstPage; i <= kLastPage; ++i) {
        if (i == kEmailPage) continue;
        const std::string name = "Frame" + std::to_string(i);
        form1_->control(name).setVisible(name == frame);
    }
}

std::string App::VisiblePage() {
    for (int i = kFirstPage; i <= kLastPage; ++i) {
        const std::string name = "Frame" + std::to_string(i);
        if (form1_->control(name).visible()) return name;
    }
    return {};
}

namespace {

void RunPageRoutine(App& app, const PageRoute& route) {
    app.ShowPage(route.frame);
    if (*route.reveals) {
        // Reveals the node without selecting it; nothing to report if it fails.
        try {
            app.form1().tree("TreeView1").EnsureVisible(route.reveals);
        } catch (const RunTimeError&) {
        }
    }
}

}  // namespace

void App::NodeClick(const std::string& key) {
    for (const PageRoute& r : PageRoutes()) {
        if (key == r.nodeKey) {
            RunPageRoutine(*this, r);
            return;
        }
    }
}

void App::Menu(const std::string& item) {
    for (const MenuCommand& c : MenuCommands()) {
        if (item == c.menu) return c.run(*this);
    }
    for (const PageRoute& r : PageRoutes()) {
        if (item == r.menuItem) return RunPageRoutine(*this, r);
    }
}

void App::Click(const std::string& control) {
    using Handler = std::function<void(App&)>;
    static const std::map<std::string, Handler> handlers = {
        {"apply", [](App& a) { a.apply_Click(); }},
        {"Command21", [](App& a) { a.EndProgram(); }},
        {"Command9", [](App& a) { BrowseScreen(a.form1(), a.services(), Screen::Boot); }},
        {"Command11", [](App& a) { BrowseScreen(a.form1(), a.services(), Screen::Logon); }},
        {"Command10",
         [](App& a) { ChangeScreen(a.form1(), a.services(), Screen::Boot, a.ToolRefusal("tool:screens")); }},
        {"Command12",
         [](App& a) { ChangeScreen(a.form1(), a.services(), Screen::Logon, a.ToolRefusal("tool:screens")); }},
        {"Command13",
         [](App& a) { SaveBootIniClicked(a.form1(), a.services(), a.bootIni_, a.ToolRefusal("tool:bootini")); }},
        {"Command14", [](App& a) { ClearCache(a.services(), CacheFolder::History); }},
        {"Command15", [](App& a) { ClearCache(a.services(), CacheFolder::Cookies); }},
        {"Command16", [](App& a) { ClearCache(a.services(), CacheFolder::TemporaryInternetFiles); }},
        {"Command19", [](App& a) { AddStartupItem(a.form1(), a.services(), false); }},
        {"Command17", [](App& a) { AddStartupItem(a.form1(), a.services(), true); }},
        {"Command18", [](App& a) { RemoveStartupItem(a.form1(), a.services(), false); }},
        {"Command20", [](App& a) { RemoveStartupItem(a.form1(), a.services(), true); }},
        {"Check20", [](App& a) { EmailCheckClicked(a.form1(), "Check20"); }},
        {"Check24", [](App& a) { EmailCheckClicked(a.form1(), "Check24"); }},
        // "Check All" / "Uncheck All": only the boxes change; the next apply writes them.
        {"Option3", [](App& a) { for (auto n : {"Check23", "Check22", "Check21"}) a.form1().check(n).setValue(1); }},
        {"Option4", [](App& a) { for (auto n : {"Check23", "Check22", "Check21"}) a.form1().check(n).setValue(0); }},
    };
    if (auto it = handlers.find(control); it != handlers.end()) return it->second(*this);
    // Section buttons.
    for (const PageRoute& r : PageRoutes()) {
        if (control == r.button) return RunPageRoutine(*this, r);
    }
}

// ---- handlers that fail ----

namespace {

// What an event's name stands for in the window's words: a menu item's or
// control's caption, or a node's text.
std::string CaptionOf(const FormDef& def, const std::string& name) {
    for (const MenuDef& m : def.menus) {
        if (name == m.name) return m.caption;
    }
    for (const ControlDef& c : def.controls) {
        if (name == c.name && *c.caption) return c.caption;
    }
    for (const NodeDef& n : kNodes) {
        if (name == n.key) return n.text;
    }
    return name;
}

}  // namespace

std::string FailureText(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return "there was not enough memory";
    } catch (const RunTimeError& e) {
        return "run-time error " + std::to_string(e.number) + " (" + e.what() + ")";
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "an unexpected error";
    }
}

void App::Handle(const std::string& name, const std::function<void()>& handler) {
    // A handler that runs inside another's modal loop (a timer tick under a
    // message box) adds to the record of the one it interrupts.
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(d) { ++depth; }
        ~Depth() { --depth; }
    } depth(handling_);
    if (handling_ == 1) journal_.Clear();
    std::exception_ptr failure;
    try {
        handler();
        return;
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        const std::vector<std::string>& writes = journal_.writes();
        services_.dialogs.MessageBox(
            Quoted(CaptionOf(form1_->def(), name)) + " could not be finished: " + FailureText(failure) + "." +
                (writes.empty() ? "\n\nNothing had been written when it stopped."
                                : ListedLines("These writes had been made when it stopped:", writes)),
            "Vantrel", mb::kExclamation);
    } catch (...) {
        // Not even the message could be made: the window stays all the same.
    }
}

// ---- the apply pass ----

std::vector<SkippedWrite> App::ApplyPages(const std::vector<SkippedWrite>& keep) {
    Registry& reg = services_.registry;
    const std::vector<std::string> before = services_.live ? LiveValues(reg) : std::vector<std::string>();
    std::vector<SkippedWrite> skipped = ApplySettings(*form1_, reg, keep, &standings_);
    if (services_.live) ApplyLive(reg, *services_.live, before);
    return skipped;
}

bool App::FoldersFilled() {
    if (BlankFolders(*form1_).empty()) return true;
    services_.dialogs.MessageBox(kBlankFolderMessage, kBlankFolderTitle, mb::kExclamation);
    // Start-up again puts the stored values back into every control.
    // Its second run stops at the tree, which already holds its nodes.
    try {
        Form_Load();
    } catch (const RunTimeError&) {
    }
    return false;
}

void App::apply_Click() {
    Form& f = *form1_;
    Dialogs& dialogs = services_.dialogs;
    if (!FoldersFilled()) return;
    if (!WriteBackup()) return;

    const std::vector<SkippedWrite> skipped = Worded(ApplyPages({}), services_.files);
    MarkStored(f, services_.registry);  // what was absent is stored now, for the next export
    notHeld_.clear();
    for (const SkippedWrite& s : skipped) {
        if (s.notHeld) notHeld_.push_back(s);
    }
    const std::string leftBehind = backupLeftBehind_.empty() ? std::string() : "\n\n" + backupLeftBehind_;
    if (skipped.empty()) {
        dialogs.MessageBox(kAppliedMessage + leftBehind, "Changes Applied", mb::kInformation);
        return;
    }
    dialogs.MessageBox(PartlyAppliedMessage(skipped) + leftBehind, kPartlyAppliedTitle, mb::kExclamation);
}

}  // namespace vantrel
