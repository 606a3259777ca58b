// What the user sees of each setting's standing: the marks on the pages, the
// apply that leaves out what has no effect, Review Changes' "Takes effect",
// the Settings Status list, and the Startup page's tools on Windows Vista
// and later; and that Windows XP without policies sees none of it but the
// Windows 10 and 11 pages.
#include <algorithm>

#include <gtest/gtest.h>

#include "app/Unattended.h"
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

    // Marks: no effect (disabled), a policy (enabled), a tool (enabled,
    // refuses), each tip ending with its source; what is in effect (the
    // Start menu's Search) or no source settles is not marked.
    EXPECT_EQ(f.control("Check1").mark().kind, MarkKind::NoEffect);
    EXPECT_EQ(f.control("Check1").mark().words.rfind(std::string(kNotUsed) + " Source: NetMessageBufferSend", 0), 0u)
        << f.control("Check1").mark().words;
    EXPECT_FALSE(f.control("Check1").enabled());
    EXPECT_EQ(f.list("List1").itemMark(11).kind, MarkKind::Policy);
    EXPECT_NE(f.list("List1").itemMark(11).words.find(" Source: Policy CSP - ADMX_StartMenu, NoRun"),
              std::string::npos);
    EXPECT_EQ(f.list("List1").itemMark(12).kind, MarkKind::None);
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
    EXPECT_EQ(RowOf(review, "Hide file extension of known file types")->cells[5], "unknown") << "when: unknown";

    rig.dialogs.ExpectMessage("Changes Applied");
    rig.app->apply_Click();
    EXPECT_EQ(GetString(rig.registry, reg::kLocalMachine, kMessenger, "Start"), "4") << "not written";
    EXPECT_EQ(GetString(rig.registry, reg::kCurrentUser, kAdvanced, "HideFileExt"), "1");
    EXPECT_EQ(GetString(rig.registry, reg::kCurrentUser, kAdvanced, "Start_ShowRun"), "0") << "set by policy: written";
    EXPECT_EQ(GetString(rig.registry, reg::kCurrentUser, kAdvanced, "Start_ShowSearch"), "0") << "in effect: written";

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
    EXPECT_EQ(run->cells[5].rfind("Policy CSP - ADMX_StartMenu, NoRun", 0), 0u) << run->cells[5];
    EXPECT_TRUE(run->marked);
    const ReviewList::Row* search = RowOf(status, "Search");
    EXPECT_EQ(search->cells[3], "in effect");
    EXPECT_EQ(search->cells[5].rfind("[MS-GPPREF] 2.2.1.21.1 StartMenu", 0), 0u) << search->cells[5];
    EXPECT_FALSE(search->marked);
    const ReviewList::Row* delay = RowOf(status, "Repeat Delay:");
    EXPECT_EQ(delay->cells[3], "unknown (assumed in effect)");
    EXPECT_EQ(delay->cells[5], "unknown");
    EXPECT_FALSE(delay->marked);
    const ReviewList::Row* desktop = RowOf(status, "Desktop:");
    EXPECT_EQ(desktop->cells[0], "Personal Folders") << "page names without the caption's colon";
}

// Windows XP, and a Windows whose version could not be read: nothing is
// marked or left out but, on Windows XP, the policies of the Windows 10 and
// 11 pages; the unread version is said in the status of each setting that
// depends on it.
TEST(Standings, OnWindowsXpOrAnUnreadVersionNothingIsMarkedOrLeftOut) {
    struct Case {
        WindowsVersion version;
        const char* messenger;  // the status list's standing of "Enable Net Send"
    };
    const Case cases[] = {
        {{5, 1, 2600}, "takes effect later: after a restart"},
        {{0, 0, 0},
         "unknown (assumed in effect): the Windows version could not be read; takes effect later: after a restart"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(VersionName(c.version));
        TestRig rig;
        rig.environment.setWindowsVersion(c.version);
        SeedFolders(rig.registry);
        rig.app->Form_Load();
        Form& f = rig.form1();
        EXPECT_TRUE(rig.files.Exists("C:\\boot.ini"));
        for (const auto& control : f.controls()) {
            const bool modern = c.version.major != 0 &&
                                std::any_of(ModernWindowsRows().begin(), ModernWindowsRows().end(),
                                            [&](const TweakRow& row) {
                                                return row.control == control->name() && row.notConfigured >= 0;
                                            });
            EXPECT_EQ(control->mark().kind, modern ? MarkKind::NoEffect : MarkKind::None) << control->name();
            EXPECT_EQ(control->enabled(), !modern) << control->name();
            if (modern) EXPECT_EQ(control->mark().words.rfind("Not used before Windows 1", 0), 0u);
        }
        for (int i = 0; i < f.list("List1").ListCount(); ++i) {
            EXPECT_EQ(f.list("List1").itemMark(i).kind, MarkKind::None);
        }
        rig.dialogs.ExpectReview("Settings Status", false);
        rig.app->Menu("status");
        EXPECT_EQ(RowOf(rig.dialogs.reviews.back(), "Enable Net Send")->cells[3], c.messenger);
        f.check("Check1").setValue(1);
        f.list("List1").setSelected(12, false);
        rig.dialogs.ExpectMessage("Changes Applied");
        rig.app->apply_Click();
        EXPECT_EQ(GetString(rig.registry, reg::kLocalMachine, kMessenger, "Start"), "2");
        EXPECT_EQ(GetString(rig.registry, reg::kCurrentUser, kAdvanced, "Start_ShowSearch"), "0");
    }
}

}  // namespace
}  // namespace vantrel::testing

namespace vantrel::testing {
namespace {

// A diagnostic data level of 0 is honoured only on the Enterprise,
// Education and Server editions: elsewhere the page marks it, Review Changes
// and /check say that Windows takes 1, and /check gives 3 once it is applied.
TEST(Standings, AChoiceTheEditionDoesNotHonourIsShownWithWhatWindowsDoesInstead) {
    const struct {
        const char* name;
        WindowsEdition edition;
        bool honoured;
    } cases[] = {{"Windows 10 Pro", {0x30, 0, 1}, false}, {"Windows 10 Enterprise", {0x04, 0, 1}, true}};
    for (const auto& c : cases) {
        TestRig rig;
        SeedFolders(rig.registry);
        rig.environment.setWindowsVersion({10, 0, 19045});
        rig.environment.setWindowsEdition(c.edition);
        ASSERT_EQ(rig.files.WriteAll("C:\\p.reg", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\Policies\\Microsoft\\Windows\\"
                                                  "DataCollection]\r\n\"AllowTelemetry\"=dword:00000000\r\n"),
                  0);
        App apply(rig.services);
        ASSERT_EQ(RunUnattended(apply, ParseSwitches({"/apply", "C:\\p.reg"})), 0) << c.name;
        App check(rig.services);
        EXPECT_EQ(RunUnattended(check, ParseSwitches({"/check", "C:\\p.reg", "/log", "C:\\check.log"})),
                  c.honoured ? 0 : 3)
            << c.name;
        std::string log;
        rig.files.ReadAll("C:\\check.log", &log, false);
        EXPECT_EQ(log.find("This edition does not honour 0: Windows takes 1 instead.") != std::string::npos, !c.honoured)
            << c.name << "\n" << log;

        rig.app->Form_Load();
        EXPECT_EQ(rig.form1().control("Combo2").mark().kind, c.honoured ? MarkKind::None : MarkKind::NoEffect) << c.name;
        EXPECT_TRUE(rig.form1().control("Combo2").enabled()) << c.name;
    }
}

}  // namespace
}  // namespace vantrel::testing
