// Each setting's standing: the rules over the dependency table, for chosen
// rows on chosen Windows versions and editions with chosen values stored.
#include <gtest/gtest.h>

#include "platform/portable/MemoryRegistry.h"
#include "settings/Standing.h"
#include "settings/TweakRow.h"

namespace vantrel {
namespace {

constexpr WindowsVersion kUnread{}, kXp{5, 1, 2600}, kWindows7{6, 1, 7601}, kWindows10v2004{10, 0, 19041},
    kWindows10{10, 0, 19045}, kWindows11{10, 0, 22631};
// GetProductInfo's types: Professional (0x30), Enterprise LTSB (0x7D), one
// its documentation does not name (0xBF); a server by its product type.
constexpr WindowsEdition kPro{0x30, 0, 1}, kLtsc{0x7D, 0, 1}, kServer{0x07, 0x110, 3}, kUnknownEdition{0xBF, 0, 1}, kHome{0x65, 0, 1};
const char* const kExplorer = R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)";
const char* const kIeMain = R"(Software\Policies\Microsoft\Internet Explorer\Main)";
const char* const kIePanel = R"(Software\Policies\Microsoft\Internet Explorer\Control Panel)";
const char* const kIe = R"(Software\Microsoft\Internet Explorer)";
const char* const kUnknown = "unknown (assumed in effect)";

struct Stored {
    RegKey root;
    const char* key;
    const char* value;
    std::uint32_t dword;  // stored as REG_DWORD, or as text when `text` is given
    const char* text = nullptr;
};

const Stored kHomePagePolicy[] = {{reg::kCurrentUser, kIeMain, "Start Page", 0, "http://intranet/"},
                                  {reg::kCurrentUser, kIePanel, "HomePage", 1}};

TEST(Standing, FollowsTheVersionEditionStoredValuesAndTiming) {
    struct Case {
        const char* name;
        const char* subject;
        WindowsVersion version;
        WindowsEdition edition;
        std::vector<Stored> stored;
        StandingKind kind;
        std::string words;  // the mark's sentence, or (lower case first) the status list's
    };
    auto with = [](std::vector<Stored> a, const Stored& b) {
        a.push_back(b);
        return a;
    };
    const std::vector<Stored> homePage(std::begin(kHomePagePolicy), std::end(kHomePagePolicy));
    const Case cases[] = {
        {"Messenger on XP waits for a restart", "Check1", kXp, kPro, {}, StandingKind::Later,
         "takes effect later: after a restart"},
        {"no Messenger from Vista on", "Check1", kWindows10, kPro, {}, StandingKind::NoEffect,
         "Not used by Windows Vista and later."},
        {"Messenger written to a control set the next start does not use", "Check1", kXp, kPro,
         {{reg::kLocalMachine, R"(SYSTEM\Select)", "Default", 2}}, StandingKind::NoEffect,
         "The next start uses another control set than ControlSet001, which this setting writes "
         "(HKEY_LOCAL_MACHINE\\SYSTEM\\Select\\Default = 2)"},
        {"Messenger with the first control set next", "Check1", kXp, kPro,
         {{reg::kLocalMachine, R"(SYSTEM\Select)", "Default", 1}}, StandingKind::Later,
         "takes effect later: after a restart"},
        // The Start menu's items and the Folder Options values: mapped by [MS-GPPREF]'s elements, for Windows XP
        // to 11 and every edition; before XP or past the products it lists, unknown.
        {"Search on Windows 7 is written", "List1[12]", kWindows7, kPro, {}, StandingKind::InEffect, "in effect"},
        {"Search on Windows 11 LTSC", "List1[12]", kWindows11, kLtsc, {}, StandingKind::InEffect, "in effect"},
        {"Run, mapped by the Vista element alone, on Windows 11", "List1[11]", kWindows11, kHome, {},
         StandingKind::InEffect, "in effect"},
        {"hidden files on Windows 10 Pro", "Check4", kWindows10, kPro, {}, StandingKind::InEffect, "in effect"},
        {"file extensions on a server", "Check5", kWindows10, kServer, {}, StandingKind::InEffect, "in effect"},
        {"file extensions on Windows 2000", "Check5", {5, 0, 2195}, kPro, {}, StandingKind::InEffect, kUnknown},
        {"file extensions past the listed products", "Check5", {11, 0, 0}, kPro, {}, StandingKind::InEffect,
         kUnknown},
        // Values only the Internet Explorer 10 and 11 element maps: where Internet Explorer 11 is part of Windows.
        {"AutoSuggest on Windows 8.1", "Check2", {6, 3, 9600}, kServer, {}, StandingKind::InEffect, "in effect"},
        {"AutoSuggest on Windows 7", "Check2", kWindows7, kPro, {}, StandingKind::InEffect, kUnknown},
        {"FormSuggest on Windows 10 LTSC", "Check15", kWindows10, kLtsc, {}, StandingKind::InEffect, "in effect"},
        {"download notice on Windows Server 2022", "Check16", {10, 0, 20348}, kServer, {}, StandingKind::InEffect,
         kUnknown},
        {"download notice on Windows 11", "Check16", kWindows11, kPro, {}, StandingKind::InEffect, kUnknown},
        {"Run: the user's NoRun", "List1[11]", kXp, kPro, {{reg::kCurrentUser, kExplorer, "NoRun", 1}},
         StandingKind::SetByPolicy,
         "Set by policy: HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\NoRun "
         "= 1. Your choice is saved but has no effect while the policy is set."},
        {"Run: the computer's NoRun", "List1[11]", kWindows10, kPro, {{reg::kLocalMachine, kExplorer, "NoRun", 1}},
         StandingKind::SetByPolicy,
         "set by policy: HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\NoRun "
         "= 1"},
        {"Run: the user's NoRun counts beside the computer's 0", "List1[11]", kXp, kPro,
         {{reg::kLocalMachine, kExplorer, "NoRun", 0}, {reg::kCurrentUser, kExplorer, "NoRun", 1}},
         StandingKind::SetByPolicy,
         "set by policy: HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\NoRun "
         "= 1"},
        {"Run: NoRun 0 is no restriction", "List1[11]", kXp, kPro, {{reg::kCurrentUser, kExplorer, "NoRun", 0}},
         StandingKind::InEffect, "in effect"},
        {"Control Panel item removed by NoControlPanel", "List1[1]", kWindows7, kPro,
         {{reg::kCurrentUser, kExplorer, "NoControlPanel", 1}}, StandingKind::SetByPolicy,
         "set by policy: HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\"
         "NoControlPanel = 1"},
        {"balloon tips turned off by policy", "Check3", kWindows10, kPro,
         {{reg::kCurrentUser, kExplorer, "TaskbarNoNotification", 1}}, StandingKind::SetByPolicy,
         "set by policy: HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\"
         "TaskbarNoNotification = 1"},
        {"desktop cleanup removed by policy on XP", "Text1", kXp, kPro,
         {{reg::kCurrentUser, kExplorer, "NoDesktopCleanupWizard", 1}}, StandingKind::SetByPolicy,
         "set by policy: HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\"
         "NoDesktopCleanupWizard = 1"},
        {"no effect beats a policy", "Text1", kWindows7, kPro,
         {{reg::kCurrentUser, kExplorer, "NoDesktopCleanupWizard", 1}}, StandingKind::NoEffect,
         "Not used by Windows Vista and later."},
        {"the machine's startup list: its own value decides over the user's", "tool:runmachine", kXp, kPro,
         {{reg::kLocalMachine, kExplorer, "DisableLocalMachineRun", 0},
          {reg::kCurrentUser, kExplorer, "DisableLocalMachineRun", 1}},
         StandingKind::Later, "takes effect later: at the next logon"},
        // The home page policy counts while changing it is disabled, from Internet Explorer 7 on.
        {"home page policy with Internet Explorer 6", "Text16", kXp, kPro,
         with(homePage, {reg::kLocalMachine, kIe, "Version", 0, "6.0.2900.2180"}), StandingKind::InEffect, kUnknown},
        {"home page policy with Internet Explorer 11", "Text16", kWindows7, kPro,
         with(homePage, {reg::kLocalMachine, kIe, "Version", 0, "9.11.9600.17843"}), StandingKind::SetByPolicy,
         "set by policy: HKEY_CURRENT_USER\\Software\\Policies\\Microsoft\\Internet Explorer\\Main\\Start Page = "
         "http://intranet/"},
        {"home page policy without the disabling one", "Text16", kWindows7, kPro,
         {kHomePagePolicy[0], {reg::kLocalMachine, kIe, "Version", 0, "8.0.7601.17514"}}, StandingKind::InEffect,
         kUnknown},
        // The Internet Explorer desktop window: retired by edition and build, missing from Windows 11.
        {"Go button on Windows 10 2004", "Check19", kWindows10v2004, kPro, {}, StandingKind::InEffect, kUnknown},
        {"Go button on Windows 10 22H2 Pro", "Check19", kWindows10, kPro, {}, StandingKind::NoEffect,
         "Not used on this edition of Windows 10 from version 20H2 (build 19042): its Internet Explorer 11 desktop "
         "application, the only reader of this setting, is retired there and opens Microsoft Edge."},
        {"Go button on Windows 10 LTSC", "Check19", kWindows10, kLtsc, {}, StandingKind::InEffect, kUnknown},
        {"Go button on a server", "Check19", kWindows10, kServer, {}, StandingKind::InEffect, kUnknown},
        {"Go button where the edition is not known", "Check19", kWindows10, kUnknownEdition, {},
         StandingKind::InEffect, kUnknown},
        {"Go button on Windows 11", "Check11", kWindows11, kLtsc, {}, StandingKind::NoEffect,
         "Not used by Windows 11: it has no Internet Explorer 11 desktop application, the only reader of this "
         "setting."},
        {"script debugger on Windows 11: MSHTML stays", "Check13", kWindows11, kPro, {}, StandingKind::InEffect,
         kUnknown},
        // The screens: Windows File Protection on XP, where the tool does its work.
        {"screens on XP", "tool:screens", kXp, kPro, {}, StandingKind::InEffect, "in effect"},
        {"screens on Vista and later", "tool:screens", kWindows10, kPro, {}, StandingKind::NoEffect,
         "Not used by Windows Vista and later."},
        // A version that could not be read judges nothing.
        {"Messenger, version unread", "Check1", kUnread, kPro, {}, StandingKind::Later,
         std::string(kUnknown) + ": the Windows version could not be read; takes effect later: after a restart"},
        {"boot.ini, version unread", "tool:bootini", kUnread, kPro, {}, StandingKind::Later,
         std::string(kUnknown) + ": the Windows version could not be read; takes effect later: after a restart"},
        {"My Music, version unread", "List1[5]", kUnread, kPro, {}, StandingKind::InEffect,
         std::string(kUnknown) + ": the Windows version could not be read"},
        {"policies still count, version unread", "List1[11]", kUnread, kPro,
         {{reg::kCurrentUser, kExplorer, "NoRun", 1}}, StandingKind::SetByPolicy,
         "set by policy: HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\NoRun "
         "= 1"},
        // The Windows 10 and 11 pages: no policy before Windows 10, or before the build it names; some only on
        // the Enterprise and Education editions.
        {"web results on XP", "Check27", kXp, kPro, {}, StandingKind::NoEffect, "Not used before Windows 10."},
        {"web results on Windows 10 Pro", "Check27", kWindows10, kPro, {}, StandingKind::NoEffect,
         "No effect on this edition: the policy applies only to the Enterprise and Education editions."},
        {"web results on Windows 10 LTSC", "Check27", kWindows10, kLtsc, {}, StandingKind::InEffect, "in effect"},
        {"third-party suggestions on Home: unknown", "Check37", kWindows10, kHome, {}, StandingKind::InEffect, kUnknown},
        {"mouse acceleration on XP", "Combo3", kXp, kPro, {}, StandingKind::InEffect, "In effect."},
        {"tailored experiences before 1703", "Check32", {10, 0, 14393}, kPro, {}, StandingKind::NoEffect,
         "Not used before Windows 10 build 15063."},
        {"Recommended section on Windows 10", "Check29", kWindows10, kPro, {}, StandingKind::NoEffect,
         "Not used before Windows 11."},
    };
    for (const Case& c : cases) {
        MemoryRegistry reg;
        for (const Stored& s : c.stored) {
            if (s.text) reg.PutString(s.root, s.key, s.value, s.text);
            else reg.PutDword(s.root, s.key, s.value, s.dword);
        }
        const Standings standings(RunningWindows{c.version, c.edition}, reg);
        const Standing standing = standings.Of(c.subject);
        EXPECT_EQ(standing.kind, c.kind) << c.name;
        const bool summary = c.words.front() >= 'a' && c.words.front() <= 'z';
        EXPECT_EQ(summary ? StandingSummary(standing) : StandingWords(standing), c.words) << c.name;
        EXPECT_EQ(SourceWords(standing) == "unknown", standing.assumed && standing.timing == Timing::Unknown)
            << c.name << ": " << SourceWords(standing);
    }
}

// A guard over the table: it names every row and tool once, and every fact
// in it names its source; policies live under the policy keys.
TEST(Standing, EveryFactOfTheTableNamesItsSource) {
    std::vector<std::string> subjects;
    for (const TweakRow* row : CatalogueRows()) subjects.push_back(row->control);
    for (const ToolSubject& tool : ToolSubjects()) subjects.push_back(tool.subject);
    for (const std::string& subject : subjects) EXPECT_NE(DependencyOf(subject), nullptr) << subject;
    EXPECT_EQ(Dependencies().size(), subjects.size()) << "a row of the table names no subject, or one twice";
    auto named = [](const Source* s) { return s != nullptr && *s->title; };
    for (const Dependency& d : Dependencies()) {
        const std::string subject = d.subject;
        for (const VersionFact& fact : d.versions) {
            if (fact.source == nullptr) continue;
            EXPECT_TRUE(named(fact.source)) << subject;
            EXPECT_TRUE(fact.from < fact.before) << subject;
        }
        if (d.policy != nullptr) {
            EXPECT_NE(d.policy->tests[0].places[0].root, 0u) << subject;
            EXPECT_TRUE(named(d.policy->source)) << subject;
            const std::string key = d.policy->tests[0].places[0].key;
            EXPECT_TRUE(key.rfind("Software\\Policies\\", 0) == 0 ||
                        key.rfind("Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\", 0) == 0)
                << subject << ": " << key;
        }
        if (d.noEffectWhile != nullptr) EXPECT_TRUE(named(d.noEffectWhile->source)) << subject;
        EXPECT_EQ(d.timing == Timing::Unknown, d.timingSource == nullptr) << subject;
    }
}

}  // namespace
}  // namespace vantrel
