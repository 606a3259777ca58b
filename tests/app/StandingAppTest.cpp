// What the user sees of each setting's standing: the marks on the pages, the
// apply that leaves out what has no effect, Review Changes' "Takes effect",
// the Settings Status list, and the Startup page's tools on Windows Vista
// and later; and that Windows XP without policies sees none of it but the
// Windows 10 and 11 pages.
#include <algorithm>

#include <gtest/gtest.h>

#include "registry/RegistryRoutines.h"
#include "settings/TweakRow.h"
#include "support/TestRig.h"

namespace vantrel::testing {
namespace {

const char* const kMessenger = R"(SYSTEM\ControlSet001\Services\Messenger)";
const char* const kAdvanced = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced)";
const char* const kPolicies = R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)";
const char* const kNotUsed = "Not used by Windows Vista and later.";

const ReviewList::Row* RowOf(const ReviewList& list, const std::string& setting) {
    for (const ReviewList::Row& row : list.rows) {
        if (row.cells[1] == setting) return &row;
    }
    return nullptr;
}

TEST(Standings, OnWindows10OlderSettingsAreMarkedLeftOutAndSaid) {
    TestRig rig;
    rig.environment.setWindowsVersion({10, 0, 19045});
    SeedFolders(rig.registry);
    rig.registry.PutDword(reg::kLocalMachine, kMessenger, "Start", 4);
    rig.registry.PutDword(reg::kCurrentUser, kPolicies, "NoRun", 1);
    rig.app->Form_Load();
    Form& f = rig.form1();
    EXPECT_FALSE(rig.files.Exists("C:\\boot.ini")) << "start-up makes no boot.ini";
    EXPECT_EQ(f.text("Label35").text().rfind("This computer starts from its boot configuration store", 0), 0u);

    // Marks: no effect (disabled), a policy (enabled), a tool (enabled, refuses).
    EXPECT_EQ(f.control("Check1").mark(), (Mark{MarkKind::NoEffect, kNotUsed}));
    EXPECT_FALSE(f.control("Check1").enabled());
    EXPECT_EQ(f.list("List1").itemMark(11).kind, MarkKind::Policy);
    EXPECT_EQ(f.list("List1").itemMark(12).kind, MarkKind::NoEffect);
    EXPECT_EQ(f.list("List1").itemMark(1).kind, MarkKind::None);
    EXPECT_EQ(f.control("Command13").mark().kind, MarkKind::NoEffect);
    EXPECT_TRUE(f.control("Command13").enabled());
    EXPECT_TRUE(f.control("Check5").enabled());

    f.check("Check1").setValue(1);
    f.check("Check5").setValue(1);
    rig.dialogs.ExpectReview("Review Changes", false);
    rig.app->Menu("review");
    const ReviewList& review = rig.dialogs.reviews.back();
    ASSERT_GE(review.rows.size(), 2u);
    const ReviewList::Row& last = review.rows.back();  // what has no effect comes last, marked
    EXPECT_EQ(last.cells[1], "Enable Net Send");
    EXPECT_TRUE(last.marked);
    EXPECT_EQ(last.cells[5], std::string("never here: ") + kNotUsed);
    EXPECT_EQ(RowOf(review, "Hide file extension of known file types")->cells[5], "unknown");

    rig.dialogs.ExpectMessage("Changes Applied");
    rig.app->apply_Click();
    EXPECT_EQ(GetString(rig.registry, reg::kLocalMachine, kMessenger, "Start"), "4") << "not written";
    EXPECT_EQ(GetString(rig.registry, reg::kCurrentUser, kAdvanced, "HideFileExt"), "1");
    EXPECT_EQ(GetString(rig.registry, reg::kCurrentUser, kAdvanced, "Start_ShowRun"), "0") << "set by policy: written";

    // The Startup page's tools refuse and touch nothing.
    f.text("Text2").setText("C:\\boot.exe");
    ASSERT_EQ(rig.files.WriteAll("C:\\boot.exe", "MZ"), 0);
    rig.dialogs.shown.clear();
    rig.dialogs.ExpectMessage("Error").ExpectMessage("Error");
    rig.app->Click("Command13");
    rig.app->Click("Command10");
    rig.dialogs.Verify();
    for (const auto& shown : rig.dialogs.shown) EXPECT_EQ(shown.prompt.rfind(kNotUsed, 0), 0u) << shown.prompt;
    EXPECT_FALSE(rig.files.Exists("C:\\boot.ini"));
    EXPECT_FALSE(rig.files.Exists("C:\\ntoskrnl.exe"));

    rig.dialogs.ExpectReview("Settings Status", false);
    rig.app->Menu("status");
    const ReviewList& status = rig.dialogs.reviews.back();
    EXPECT_TRUE(status.act.empty());
    EXPECT_EQ(status.copy, "Copy");
    EXPECT_TRUE(status.sortable);
    EXPECT_EQ(status.rows.size(), CatalogueRows().size() + ToolSubjects().size());
    const ReviewList::Row* run = RowOf(status, "Run");
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run->cells[2], "0 (REG_DWORD)");
    EXPECT_EQ(run->cells[3], std::string("set by policy: HKEY_CURRENT_USER\\") + kPolicies + "\\NoRun = 1");
    EXPECT_TRUE(run->marked);
}

TEST(Standings, OnWindowsXpWithoutPoliciesOnlyTheWindows10PoliciesAreMarked) {
    TestRig rig;
    SeedFolders(rig.registry);
    rig.app->Form_Load();
    Form& f = rig.form1();
    EXPECT_TRUE(rig.files.Exists("C:\\boot.ini"));
    for (const auto& c : f.controls()) {
        // Every policy of the Windows 10 and 11 pages, and nothing else.
        const bool modern = std::any_of(ModernWindowsRows().begin(), ModernWindowsRows().end(), [&](const TweakRow& row) {
            return row.control == c->name() && row.notConfigured >= 0;
        });
        EXPECT_EQ(c->mark().kind, modern ? MarkKind::NoEffect : MarkKind::None) << c->name();
        EXPECT_EQ(c->enabled(), !modern) << c->name();
        if (modern) EXPECT_EQ(c->mark().words.rfind("Not used before Windows 1", 0), 0u) << c->mark().words;
    }
    for (int i = 0; i < f.list("List1").ListCount(); ++i) EXPECT_EQ(f.list("List1").itemMark(i).kind, MarkKind::None);
    f.check("Check1").setValue(1);
    rig.dialogs.ExpectMessage("Changes Applied");
    rig.app->apply_Click();
    EXPECT_EQ(GetString(rig.registry, reg::kLocalMachine, kMessenger, "Start"), "2");
}

}  // namespace
}  // namespace vantrel::testing
