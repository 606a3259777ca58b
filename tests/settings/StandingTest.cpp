// Each setting's standing: the rules over the dependency table, for chosen
// rows on chosen Windows versions with chosen policy values stored.
#include <gtest/gtest.h>

#include "platform/portable/MemoryRegistry.h"
#include "settings/Standing.h"
#include "settings/TweakRow.h"

namespace vantrel {
namespace {

constexpr WindowsVersion kWindows2000{5, 0, 2195}, kXp{5, 1, 2600}, kWindows7{6, 1, 7601}, kWindows8{6, 2, 9200},
    kWindows10{10, 0, 19045};
const char* const kExplorer = R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)";
const char* const kIeMain = R"(Software\Policies\Microsoft\Internet Explorer\Main)";
const char* const kIePanel = R"(Software\Policies\Microsoft\Internet Explorer\Control Panel)";

struct Stored {
    RegKey root;
    const char* key;
    const char* value;
    std::uint32_t dword;  // stored as REG_DWORD, or as text when `text` is given
    const char* text = nullptr;
};

TEST(Standing, FollowsTheVersionThenThePolicyThenTheTiming) {
    struct Case {
        const char* subject;
        WindowsVersion version;
        std::vector<Stored> stored;
        StandingKind kind;
        std::string words;  // the mark's or the status's words
    };
    const Case cases[] = {
        // Messenger: gone from Windows Vista on; on Windows XP a change waits for a restart.
        {"Check1", kXp, {}, StandingKind::Later, "Takes effect after a restart."},
        {"Check1", kWindows10, {}, StandingKind::NoEffect, "Not used by Windows Vista and later."},
        // "Run" in the Start menu: NoRun hides it whatever the item says; 0 is no restriction.
        {"List1[11]", kXp, {{reg::kCurrentUser, kExplorer, "NoRun", 1}}, StandingKind::SetByPolicy,
         "Set by policy: HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\NoRun "
         "= 1. Your choice is saved but has no effect while the policy is set."},
        {"List1[11]", kXp, {{reg::kCurrentUser, kExplorer, "NoRun", 0}}, StandingKind::InEffect, "In effect."},
        // A policy stored under the other root than the table names does not count.
        {"List1[11]", kXp, {{reg::kLocalMachine, kExplorer, "NoRun", 1}}, StandingKind::InEffect, "In effect."},
        // "Search": Windows XP and Server 2003 only; no effect beats a policy.
        {"List1[12]", kWindows2000, {}, StandingKind::NoEffect, "Not used before Windows XP."},
        {"List1[12]", kWindows7, {{reg::kCurrentUser, kExplorer, "NoFind", 1}}, StandingKind::NoEffect,
         "Not used by Windows Vista and later."},
        {"List1[5]", kWindows7, {}, StandingKind::InEffect, "In effect."},
        {"List1[5]", kWindows8, {}, StandingKind::NoEffect, "Not used by Windows 8 and later."},
        // The machine's startup list: the machine's value, when present, decides over the user's.
        {"tool:runmachine", kXp,
         {{reg::kLocalMachine, kExplorer, "DisableLocalMachineRun", 0},
          {reg::kCurrentUser, kExplorer, "DisableLocalMachineRun", 1}},
         StandingKind::Later, "Takes effect at the next logon."},
        {"tool:runmachine", kXp, {{reg::kCurrentUser, kExplorer, "DisableLocalMachineRun", 1}},
         StandingKind::SetByPolicy,
         "set by policy: HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\"
         "DisableLocalMachineRun = 1"},
        // The home page: the policy's page counts only while changing it is disabled.
        {"Text16", kXp, {{reg::kCurrentUser, kIeMain, "Start Page", 0, "http://intranet/"}}, StandingKind::InEffect,
         "In effect."},
        {"Text16", kXp,
         {{reg::kCurrentUser, kIeMain, "Start Page", 0, "http://intranet/"},
          {reg::kCurrentUser, kIePanel, "HomePage", 1}},
         StandingKind::SetByPolicy,
         "set by policy: HKEY_CURRENT_USER\\Software\\Policies\\Microsoft\\Internet Explorer\\Main\\Start Page = "
         "http://intranet/"},
        // What no source settles is in effect, at an unknown time.
        {"Check4", kWindows10, {}, StandingKind::InEffect, "in effect"},
        {"tool:bootini", kWindows10, {}, StandingKind::NoEffect, "Not used by Windows Vista and later."},
        // The Windows 10 and 11 pages: no policy before Windows 10, or before the build it names.
        {"Check27", kXp, {}, StandingKind::NoEffect, "Not used before Windows 10."},
        {"Combo3", kXp, {}, StandingKind::InEffect, "in effect"},
        {"Check32", {10, 0, 14393}, {}, StandingKind::NoEffect, "Not used before Windows 10 build 15063."},
        {"Check32", {10, 0, 15063}, {}, StandingKind::InEffect, "In effect."},
        {"Check29", kWindows10, {}, StandingKind::NoEffect, "Not used before Windows 11."},
    };
    for (const Case& c : cases) {
        MemoryRegistry reg;
        for (const Stored& s : c.stored) {
            if (s.text) reg.PutString(s.root, s.key, s.value, s.text);
            else reg.PutDword(s.root, s.key, s.value, s.dword);
        }
        const Standings standings(c.version, reg);
        const Standing standing = standings.Of(c.subject);
        const std::string where = std::string(c.subject) + " on " + VersionName(c.version);
        EXPECT_EQ(standing.kind, c.kind) << where;
        const bool summary = c.words.front() >= 'a' && c.words.front() <= 'z';
        EXPECT_EQ(summary ? StandingSummary(standing) : StandingWords(standing), c.words) << where;
    }
}

// The table names only what exists: its subjects are rows and tools, its
// policy values live under the policy keys of the two roots.
TEST(Standing, TheTableNamesRowsToolsAndPolicyKeys) {
    for (const Dependency& d : Dependencies()) {
        const std::string subject = d.subject;
        bool known = false;
        for (const TweakRow* row : CatalogueRows()) known = known || row->control == subject;
        for (const ToolSubject& tool : ToolSubjects()) known = known || subject == tool.subject;
        EXPECT_TRUE(known) << subject;
        EXPECT_TRUE(!d.versions.known || d.versions.from < d.versions.before) << subject;
    }
    for (const PolicyPlace* place : PolicyPlaces()) {
        const std::string key = place->key;
        EXPECT_TRUE(place->root == reg::kCurrentUser || place->root == reg::kLocalMachine) << key;
        EXPECT_TRUE(key.rfind("Software\\Policies\\", 0) == 0 ||
                    key.rfind("Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\", 0) == 0)
            << key;
    }
}

}  // namespace
}  // namespace vantrel
