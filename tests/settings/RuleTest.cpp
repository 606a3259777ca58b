// Load and apply rules of single rows on the main window: each rule form, the
// odd rows, and what a failed step leaves behind.
#include <gtest/gtest.h>

#include "model/Forms.h"
#include "settings/SettingsTestSupport.h"

namespace vantrel::catalogue_test {
namespace {

struct RuleTest : ::testing::Test {
    MemoryRegistry reg;
    Form form{Form1Def()};
    std::vector<SkippedWrite> skipped;
    RuleTest() { FillStartMenuList(form); }
};

// A stored value (none: absent) loaded into a control that held `before`.
struct LoadCase {
    const char* control;
    std::optional<Raw> stored;
    int before, after;
};

TEST_F(RuleTest, LoadSetsTheStateByTheRowsRule) {
    const LoadCase cases[] = {
        // Numeric match: a text that is not a number takes the first pair.
        {"Check1", Dword(2), 0, 1}, {"Check1", Dword(4), 1, 0}, {"Check1", Dword(3), 1, 1},
        {"Check1", std::nullopt, 1, 0}, {"Check1", Sz("off"), 1, 0}, {"Check1", Sz(" 2.0 "), 0, 1},
        {"Check1", Sz("2.5"), 0, 0},
        // Text match: exact and case-sensitive.
        {"Check2", Sz("yes"), 0, 1}, {"Check2", Sz("Yes"), 0, 0}, {"Check2", Sz("no"), 1, 0},
        {"Check2", std::nullopt, 1, 1},
        {"Check4", Dword(1), 0, 1}, {"Check4", Sz("2"), 1, 0}, {"Check4", Dword(0), 1, 1},
        {"Check4", std::nullopt, 1, 1},
        // Direct into a check box: 16-bit, halves to even, only 0 to 2 accepted.
        {"Check3", Dword(2), 0, 2}, {"Check3", Sz(" 1 "), 0, 1}, {"Check3", Sz("1.5"), 0, 2},
        {"Check3", Sz("0.5"), 1, 0}, {"Check3", Sz("7"), 1, 1}, {"Check3", Sz("abc"), 1, 1},
        {"Check3", Sz("70000"), 1, 1}, {"Check3", std::nullopt, 1, 1}, {"Check6", Dword(1), 0, 1},
        // Only "no" unchecks an Internet Explorer box.
        {"Check11", Sz("no"), 1, 0}, {"Check11", Sz("No"), 0, 1}, {"Check11", Sz("no "), 0, 1},
        {"Check11", Dword(0), 0, 1}, {"Check11", std::nullopt, 0, 1},
        // Sliders take 32-bit numbers, clamped to their range.
        {"Slider3", Sz("2"), 0, 2}, {"Slider4", Sz("31"), 0, 20}, {"Slider4", Sz("-5"), 4, 0},
        {"Slider4", Sz("fast"), 4, 4}, {"Slider2", Dword(10), 0, 10},
        // Mouse trails: "0" and "2" to "7" map to positions 0 to 6.
        {"Slider1", Sz("0"), 3, 0}, {"Slider1", Sz("2"), 0, 1}, {"Slider1", Sz("7"), 0, 6},
        {"Slider1", Sz("1"), 3, 3}, {"Slider1", Sz("8"), 3, 3}, {"Slider1", std::nullopt, 3, 3},
        {"Option1|Option2", Sz("1"), 2, 1}, {"Option1|Option2", Sz("0"), 1, 2},
        {"Option1|Option2", std::nullopt, 1, 1}, {"Option1|Option2", Sz("2"), 2, 2},
        // Start menu items: only 1 checks; anything else leaves them unchecked.
        {"List1[1]", Dword(1), 0, 1}, {"List1[1]", Sz("1"), 0, 1}, {"List1[1]", Dword(2), 0, 0},
        {"List1[1]", Dword(0), 1, 0}, {"List1[1]", Sz("abc"), 0, 0}, {"List1[1]", std::nullopt, 0, 0},
    };
    for (const LoadCase& c : cases) {
        const TweakRow& row = RowOf(c.control);
        MemoryRegistry store;
        Seed(store, row.root, row.loadKey, row.value, c.stored);
        SetStateOf(form, c.control, c.before);
        LoadRow(form, store, row);
        EXPECT_EQ(StateOf(form, c.control), c.after)
            << c.control << " from " << (c.stored ? std::string(c.stored->data.begin(), c.stored->data.end())
                                                  : std::string("(absent)"));
    }
}

TEST_F(RuleTest, LoadPassGoesOnAfterAFailedStep) {
    const std::string adv = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced)";
    reg.PutString(reg::kCurrentUser, adv, "EnableBalloonTips", "on");
    reg.PutDword(reg::kCurrentUser, adv, "HideFileExt", 9);
    reg.PutDword(reg::kCurrentUser, adv, "Hidden", 1);
    reg.PutString(reg::kCurrentUser, R"(Software\Microsoft\Windows\CurrentVersion\Explorer)", "SearchHidden", "1");
    form.check("Check3").setValue(1);
    form.check("Check5").setValue(2);
    LoadSettings(form, reg);
    EXPECT_EQ(form.check("Check3").value(), 1);
    EXPECT_EQ(form.check("Check5").value(), 2);
    EXPECT_EQ(form.check("Check4").value(), 1);
    EXPECT_EQ(form.check("Check8").value(), 1);
}

// A control in `state` (or holding `text`) applied over an old value "old".
struct ApplyCase {
    const char* control;
    int state;
    const char* text;
    std::optional<Raw> written;  // none: nothing written, "old" stays
};

TEST_F(RuleTest, ApplyWritesByTheRowsRule) {
    const ApplyCase cases[] = {
        {"Check1", 1, nullptr, Dword(2)}, {"Check1", 0, nullptr, Dword(4)}, {"Check1", 2, nullptr, std::nullopt},
        {"Check2", 0, nullptr, Sz("no")}, {"Check2", 1, nullptr, Sz("yes")}, {"Check2", 2, nullptr, std::nullopt},
        {"Check4", 0, nullptr, Dword(0)}, {"Check4", 2, nullptr, Dword(2)}, {"Check6", 1, nullptr, Sz("1")},
        {"Check11", 1, nullptr, Sz("yes")}, {"Check11", 0, nullptr, Sz("no")},
        {"Check11", 2, nullptr, std::nullopt}, {"Check22", 2, nullptr, Sz("2")},
        {"Slider1", 0, nullptr, Sz("0")}, {"Slider1", 1, nullptr, Sz("2")}, {"Slider1", 6, nullptr, Sz("7")},
        {"Slider1", 7, nullptr, std::nullopt}, {"Slider3", 4, nullptr, Sz("4")},
        {"Option1|Option2", 2, nullptr, Sz("0")}, {"Option1|Option2", 1, nullptr, Sz("1")},
        {"Option1|Option2", 0, nullptr, std::nullopt},
        {"List1[11]", 1, nullptr, Dword(1)}, {"List1[11]", 0, nullptr, Dword(0)},
        {"Text1", 0, "30", Dword(30)}, {"Text1", 0, " 29.5 ", Dword(30)}, {"Text1", 0, "30 days", std::nullopt},
        {"Text1", 0, "", std::nullopt},
        {"Text19", 0, "", Sz("")}, {"Text16", 0, " http://a ", Sz(" http://a ")},
    };
    for (const ApplyCase& c : cases) {
        const TweakRow& row = RowOf(c.control);
        MemoryRegistry store;
        store.PutString(row.root, row.applyKey, row.value, "old");
        if (c.text) {
            form.text(c.control).setText(c.text);
        } else {
            SetStateOf(form, c.control, c.state);
        }
        ApplyRow(form, store, row, skipped);
        EXPECT_EQ(store.Raw(row.root, row.applyKey, row.value), c.written.value_or(Sz("old")))
            << c.control << " " << c.state << " " << (c.text ? c.text : "");
    }
    ASSERT_EQ(skipped.size(), 1u) << "only the non-empty text that is not a number is reported";
    EXPECT_EQ(skipped[0].page, "Explorer");
    EXPECT_EQ(skipped[0].caption, "days between desktop cleanup");
    EXPECT_EQ(skipped[0].reason, "not a whole number in range");
}

}  // namespace
}  // namespace vantrel::catalogue_test
