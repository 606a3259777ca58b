#include <gtest/gtest.h>

#include "model/Controls.h"

namespace vantrel {
namespace {

const FormDef& TestForm() {
    static const FormDef def{
        "Test",
        "Test",
        1000,
        1000,
        {
            {"FrameA", ControlKind::Frame, "A", "", 0, 0, 500, 500, false},
            {"FrameB", ControlKind::Frame, "B", "", 0, 0, 500, 500, false},
            {"Check1", ControlKind::CheckBox, "Box", "FrameA", 0, 0, 10, 10},
            {"Option1", ControlKind::OptionButton, "One", "FrameA", 0, 0, 10, 10},
            {"Option2", ControlKind::OptionButton, "Two", "FrameA", 0, 0, 10, 10},
            {"Option3", ControlKind::OptionButton, "Three", "FrameB", 0, 0, 10, 10},
            {"Slider1", ControlKind::Slider, "", "FrameA", 0, 0, 10, 10, true, 0, 7},
            {"List1", ControlKind::CheckListBox, "", "FrameA", 0, 0, 10, 10},
            {"List2", ControlKind::ListBox, "", "FrameA", 0, 0, 10, 10},
            {"Tree", ControlKind::TreeView, "", "", 0, 0, 10, 10},
            {"Label1", ControlKind::Label, "Label1", "FrameA", 0, 0, 10, 10},
            {"Text1", ControlKind::TextBox, "", "FrameA", 0, 0, 10, 10},
            {"Bar", ControlKind::ProgressBar, "", "", 0, 0, 10, 10, true, 0, 100},
            {"Policy", ControlKind::CheckBox, "Turn off", "FrameA", 0, 0, 10, 10, true, 0, kPolicyCycle},
            {"Enabling", ControlKind::CheckBox, "Turn on", "FrameA", 0, 0, 10, 10, true, 0, kEnablingCycle},
            {"Combo", ControlKind::ComboBox, "First\nSecond\n", "FrameA", 0, 0, 10, 10},
        },
        {}};
    return def;
}

int ErrorOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const RunTimeError& e) {
        return e.number;
    }
    return 0;
}

TEST(ControlModel, RefusedValuesThrowAndLeaveTheControlAsItWas) {
    Form f(TestForm());
    CheckBox& box = f.check("Check1");
    box.setValue(2);
    EXPECT_EQ(ErrorOf([&] { box.setValue(3); }), errnum::kInvalidProperty);
    EXPECT_EQ(ErrorOf([&] { box.setValue(-1); }), errnum::kInvalidProperty);
    EXPECT_EQ(box.value(), 2);

    ListBox& list = f.list("List2");
    list.AddItem("a");
    EXPECT_EQ(ErrorOf([&] { list.RemoveItem(1); }), errnum::kInvalidCall);
    EXPECT_EQ(ErrorOf([&] { list.RemoveItem(-1); }), errnum::kInvalidCall);
    EXPECT_EQ(ErrorOf([&] { list.setListIndex(5); }), errnum::kInvalidProperty);
    EXPECT_EQ(list.ListCount(), 1);

    ProgressBar& bar = f.progress("Bar");
    EXPECT_EQ(ErrorOf([&] { bar.setValue(101.0f); }), errnum::kInvalidProperty);
    EXPECT_EQ(bar.value(), 0.0f);
}

// Each box's click from each state: a policy's box also goes through grayed
// ("Not configured"); one without a disabled value never reaches unchecked.
TEST(ControlModel, AClickTakesTheNextStateOfTheBoxsCycle) {
    struct Case {
        const char* box;
        int from, to;
    };
    const Case cases[] = {
        {"Check1", 0, 1}, {"Check1", 1, 0}, {"Check1", 2, 1},
        {"Policy", 2, 1}, {"Policy", 1, 0}, {"Policy", 0, 2},
        {"Enabling", 2, 1}, {"Enabling", 1, 2}, {"Enabling", 0, 1},
    };
    Form f(TestForm());
    for (const Case& c : cases) {
        f.check(c.box).setValue(c.from);
        EXPECT_EQ(f.check(c.box).Clicked(), c.to) << c.box << " from " << c.from;
    }
    // A drop-down list's items come from its row, one a line, none selected.
    EXPECT_EQ(f.list("Combo").items(), (std::vector<std::string>{"First", "Second"}));
    EXPECT_EQ(f.list("Combo").ListIndex(), -1);
}

TEST(ControlModel, OptionButtonsExcludeOthersOfTheirContainerOnly) {
    Form f(TestForm());
    f.option("Option3").setValue(true);
    f.option("Option1").setValue(true);
    f.option("Option2").setValue(true);
    EXPECT_FALSE(f.option("Option1").value());
    EXPECT_TRUE(f.option("Option2").value());
    EXPECT_TRUE(f.option("Option3").value());  // another container, another group
}

TEST(ControlModel, SliderClampsToItsRange) {
    Form f(TestForm());
    Slider& s = f.slider("Slider1");
    s.setValue(31);
    EXPECT_EQ(s.value(), 7);
    s.setValue(-4);
    EXPECT_EQ(s.value(), 0);
    s.setValue(3);
    EXPECT_EQ(s.value(), 3);
}

TEST(ControlModel, ListsTrackSelectionAndCheckMarks) {
    Form f(TestForm());
    ListBox& plain = f.list("List2");
    for (auto s : {"a", "b", "c"}) plain.AddItem(s);
    EXPECT_EQ(plain.ListIndex(), -1);
    EXPECT_EQ(plain.Text(), "");
    plain.setListIndex(2);
    EXPECT_EQ(plain.Text(), "c");
    plain.RemoveItem(0);  // selection follows its item
    EXPECT_EQ(plain.ListIndex(), 1);
    EXPECT_EQ(plain.Text(), "c");
    plain.RemoveItem(1);
    EXPECT_EQ(plain.ListIndex(), -1);

    ListBox& checks = f.list("List1");
    checks.AddItem("x");
    checks.AddItem("y");
    checks.setSelected(1, true);
    EXPECT_TRUE(checks.Selected(1));
    EXPECT_FALSE(checks.Selected(0));
    EXPECT_EQ(checks.ListIndex(), -1);  // a check mark is not the selection
}

TEST(ControlModel, TreeRefusesDuplicateKeysAndRevealsWithoutSelecting) {
    Form f(TestForm());
    TreeView& t = f.tree("Tree");
    t.Add("", 0, "General", "General");
    t.Add("General", 4, "Child", "Child");
    EXPECT_EQ(ErrorOf([&] { t.Add("", 0, "General", "Again"); }), errnum::kKeyNotUnique);
    EXPECT_EQ(ErrorOf([&] { t.Add("Missing", 4, "X", "X"); }), errnum::kElementNotFound);
    EXPECT_EQ(t.nodes().size(), 2u);
    t.EnsureVisible("Child");
    EXPECT_TRUE(t.Node("General").expanded);
    EXPECT_EQ(t.selectedKey(), "");
}

TEST(ControlModel, ObserverSeesModelChangesButNotSilencedOnes) {
    Form f(TestForm());
    std::vector<std::string> seen;
    f.setObserver([&](Form&, Control* c) { seen.push_back(c ? c->name() : "<form>"); });
    f.text("Text1").setText("a");
    f.text("Text1").setText("a");  // no change, no report
    {
        Form::Silence quiet(f);
        f.check("Check1").setValue(1);
    }
    f.control("FrameA").setVisible(true);
    EXPECT_EQ(seen, (std::vector<std::string>{"Text1", "FrameA"}));
    EXPECT_EQ(f.text("Label1").text(), "Label1");  // labels start with their design caption
}

}  // namespace
}  // namespace vantrel
