// Checks of the window tables that catch slips in transcription: duplicate or
// dangling names, pages out of place, controls outside their frame, menus in
// the wrong order, and the texts whose odd spelling must be kept.
#include "model/Forms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantrel {
namespace {

const ControlDef* findControl(const FormDef& form, const std::string& name)
{
    for (const auto& c : form.controls)
        if (name == c.name) return &c;
    return nullptr;
}

const ControlDef& controlOf(const FormDef& form, const std::string& name)
{
    const ControlDef* c = findControl(form, name);
    if (!c) throw std::out_of_range("no control " + name);
    return *c;
}

std::vector<std::string> menuCaptions(const FormDef& form, const std::string& parent)
{
    std::vector<std::string> captions;
    for (const auto& m : form.menus)
        if (parent == m.parent) captions.push_back(m.caption);
    return captions;
}

std::vector<std::string> pageFrameNames()
{
    std::vector<std::string> names;
    for (int i = 2; i <= 26; ++i) names.push_back("Frame" + std::to_string(i));
    return names;
}

bool takesFocus(ControlKind kind)
{
    switch (kind) {
    case ControlKind::TextBox:
    case ControlKind::MultiLineText:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
    case ControlKind::Button:
    case ControlKind::ListBox:
    case ControlKind::CheckListBox:
    case ControlKind::ComboBox:
    case ControlKind::Slider:
    case ControlKind::TreeView:
        return true;
    default:
        return false;
    }
}

TEST(FormsTest, NamesAreUniqueAcrossControlsAndMenus)
{
    for (const FormDef* form : {&Form1Def(), &Form2Def()}) {
        std::set<std::string> seen;
        for (const auto& c : form->controls)
            EXPECT_TRUE(seen.insert(c.name).second) << form->name << ": duplicate " << c.name;
        for (const auto& m : form->menus)
            EXPECT_TRUE(seen.insert(m.name).second) << form->name << ": duplicate " << m.name;
    }
}

TEST(FormsTest, ContainersAreFramesListedBeforeTheirControls)
{
    // The renderer creates windows in table order, so a frame must come
    // before anything it holds.
    std::set<std::string> framesSoFar;
    for (const auto& c : Form1Def().controls) {
        std::string container = c.container;
        if (!container.empty()) {
            EXPECT_TRUE(framesSoFar.count(container)) << c.name << " is in " << container;
        }
        if (c.kind == ControlKind::Frame) {
            EXPECT_EQ(container, "") << c.name;
            framesSoFar.insert(c.name);
        }
    }
    std::set<std::string> expectedFrames{"Frame1"};
    for (const auto& name : pageFrameNames()) expectedFrames.insert(name);
    EXPECT_EQ(framesSoFar, expectedFrames);
}

TEST(FormsTest, PageFramesShareOneHiddenRectangle)
{
    const FormDef& form = Form1Def();
    for (const auto& name : pageFrameNames()) {
        const ControlDef& f = controlOf(form, name);
        EXPECT_EQ(f.kind, ControlKind::Frame) << name;
        EXPECT_FALSE(f.visible) << name;
        EXPECT_EQ(f.left, 2880) << name;
        EXPECT_EQ(f.top, 600) << name;
        EXPECT_EQ(f.width, 6855) << name;
        EXPECT_EQ(f.height, 6015) << name;
    }
}

TEST(FormsTest, OnlyPagesTheVersionLineAndTheDialogStartHidden)
{
    std::set<std::string> hidden;
    for (const auto& c : Form1Def().controls)
        if (!c.visible) hidden.insert(c.name);
    std::set<std::string> expected{"Label97", "CommonDialog1"};
    for (const auto& name : pageFrameNames()) expected.insert(name);
    EXPECT_EQ(hidden, expected);
}

TEST(FormsTest, EveryControlLiesInsideItsContainer)
{
    const FormDef& form = Form1Def();
    for (const auto& c : form.controls) {
        int width = form.clientWidth, height = form.clientHeight;
        if (*c.container) {
            const ControlDef& frame = controlOf(form, c.container);
            width = frame.width;
            height = frame.height;
        }
        int right = c.left + c.width;
        // The white band is one pixel wider than the client area.
        if (std::string(c.name) == "Label2") right -= 15;
        EXPECT_GE(c.left, 0) << c.name;
        EXPECT_GE(c.top, 0) << c.name;
        EXPECT_LE(right, width) << c.name;
        EXPECT_LE(c.top + c.height, height) << c.name;
    }
}

TEST(FormsTest, SectionButtonsReadLeftToRight)
{
    std::vector<const ControlDef*> buttons;
    for (const auto& c : Form1Def().controls)
        if (c.kind == ControlKind::Button && !*c.container && c.top == 120) buttons.push_back(&c);
    std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->left < b->left; });
    std::vector<std::string> captions;
    for (auto* b : buttons) captions.push_back(b->caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"General", "Input", "Folders", "Taskbar", "Internet",
                                                  "Logon", "Accessibility", "About"}));
}

TEST(FormsTest, TreeTakesTheFocusFirst)
{
    const auto& controls = Form1Def().controls;
    auto first = std::find_if(controls.begin(), controls.end(), [](const ControlDef& c) { return takesFocus(c.kind); });
    ASSERT_NE(first, controls.end());
    EXPECT_STREQ(first->name, "TreeView1");
    EXPECT_STREQ(first->container, "Frame1");
}

TEST(FormsTest, MenusReadInOrder)
{
    const FormDef& form = Form1Def();
    EXPECT_EQ(menuCaptions(form, ""), (std::vector<std::string>{"File", "View", "Vantrel"}));
    EXPECT_EQ(menuCaptions(form, "file"), (std::vector<std::string>{"Home", "-", "Save Changes", "-", "Review Changes...",
                                                                    "Restore Backup...", "Export Settings...",
                                                                    "Import Settings...", "Export for Group Policy...", "Apply to Other Users...",
                                                                    "-", "Exit"}));
    EXPECT_EQ(menuCaptions(form, "view"), (std::vector<std::string>{"General", "Input", "Folders", "Taskbar",
                                                                    "Internet", "Logon", "Accessibility", "About",
                                                                    "Windows 10 and 11", "-", "Settings Status..."}));
    EXPECT_EQ(menuCaptions(form, "w10"), (std::vector<std::string>{"Search and Start", "Privacy and suggestions",
                                                                   "Widgets and spotlight",
                                                                   "Mouse pointer"}));
    EXPECT_EQ(menuCaptions(form, "vnt"), (std::vector<std::string>{"Visit Corvane", "Check For Vantrel Update"}));
}

TEST(FormsTest, MenuParentsComeFirstAndShortcutsAreUnique)
{
    std::set<std::string> menusSoFar;
    std::map<std::string, std::string> shortcuts;
    for (const auto& m : Form1Def().menus) {
        std::string parent = m.parent;
        if (!parent.empty()) {
            EXPECT_TRUE(menusSoFar.count(parent)) << m.name;
        }
        menusSoFar.insert(m.name);
        std::string shortcut = m.shortcut;
        if (shortcut.empty()) continue;
        EXPECT_EQ(shortcut.rfind("Ctrl+", 0), 0u) << m.name;
        EXPECT_NE(std::string(m.caption), "-") << m.name;
        auto [it, fresh] = shortcuts.emplace(shortcut, m.name);
        EXPECT_TRUE(fresh) << shortcut << " on " << it->second << " and " << m.name;
    }
    EXPECT_EQ(shortcuts.size(), 14u);
}

TEST(FormsTest, KindsWithSpecialBehaviour)
{
    struct Row {
        const char* name;
        ControlKind kind;
        int min, max;
    };
    const Row rows[] = {
        {"Slider1", ControlKind::Slider, 0, 7},   {"Slider2", ControlKind::Slider, 0, 20},
        {"Slider3", ControlKind::Slider, 0, 4},   {"Slider4", ControlKind::Slider, 0, 20},
        {"Text4", ControlKind::MultiLineText, 0, 0}, {"List1", ControlKind::CheckListBox, 0, 0},
        {"List2", ControlKind::ListBox, 0, 0},    {"List3", ControlKind::ListBox, 0, 0},
        {"Combo1", ControlKind::ComboBox, 0, 0},  {"Label2", ControlKind::Band, 0, 0},
    };
    for (const auto& row : rows) {
        const ControlDef& c = controlOf(Form1Def(), row.name);
        EXPECT_EQ(c.kind, row.kind) << row.name;
        EXPECT_EQ(c.min, row.min) << row.name;
        EXPECT_EQ(c.max, row.max) << row.name;
    }
}

TEST(FormsTest, TextsKeepTheirSpelling)
{
    const FormDef& form = Form1Def();
    const std::pair<const char*, const char*> fragments[] = {
        {"Label3", "your instalation of Windows XP"},
        {"Label74", "change the ammount of Start Menu items"},
        {"Check20", "(Outlook 2002 onlu)"},
        {"Label35", "a copy of the file \"ntoskrnl.exe\" is put on your C:\\ drive."},
        {"Label87", "the site.anymore, you"},
        {"Label70", "customize wheather scripts"},
        {"Frame12", "Taskbar:"},
        {"apply", "Apply Changes"},
    };
    for (const auto& [name, fragment] : fragments)
        EXPECT_NE(std::string(controlOf(form, name).caption).find(fragment), std::string::npos) << name;
    // Value fields carry their own name until the load fills them.
    EXPECT_STREQ(controlOf(form, "Label13").caption, "Label13");
    EXPECT_STREQ(controlOf(form, "Check26").caption, "Check26");
    EXPECT_STREQ(form.caption, "Vantrel - Version 2.0 -A");
}

TEST(FormsTest, SplashWindowHoldsBarAndTimer)
{
    const FormDef& form = Form2Def();
    ASSERT_EQ(form.controls.size(), 2u);
    const ControlDef& bar = controlOf(form, "ProgressBar1");
    EXPECT_EQ(bar.kind, ControlKind::ProgressBar);
    EXPECT_EQ(bar.max, 100);
    EXPECT_LE(bar.left + bar.width, form.clientWidth);
    const ControlDef& timer = controlOf(form, "Timer1");
    EXPECT_EQ(timer.kind, ControlKind::Timer);
    EXPECT_EQ(timer.max, 1);
    EXPECT_FALSE(timer.visible);
    EXPECT_TRUE(form.menus.empty());
}

}  // namespace
}  // namespace vantrel
