// Whether a setting takes effect on this Windows: one table says, for every
// catalogue row and every system tool, on which Windows versions it has an
// effect, which policy values override it and when a change takes effect
// (Dependencies.cpp, each entry with its source), for which editions and
// builds a fact holds. The rules below turn that table, the running Windows
// (version and edition) and the values it names into each setting's
// standing. An entry the sources do not settle is unknown: it counts as in
// effect, and the lists say it is assumed. A Windows whose version could not
// be read makes every version fact unknown.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "registry/Registry.h"

namespace vantrel {

class Form;
struct TweakRow;

// When a written value takes effect.
enum class Timing { Unknown, AtOnce, NewExplorerWindows, ExplorerRestart, NextLogon, Restart, ReadOnly };

// The public page a fact comes from: its title and its address ("" where
// only the title is known).
struct Source {
    const char* title = "";
    const char* address = "";
};

// The editions a fact holds for, as a set; none named: every edition.
namespace edition {
constexpr unsigned kHome = 1;    // Windows XP Home Edition, the Home editions of Vista and later
constexpr unsigned kLtsc = 2;    // the long-term servicing editions of Windows 10 and 11
constexpr unsigned kServer = 4;  // a server or domain controller
constexpr unsigned kClient = 8;  // any other workstation edition (Pro, Ultimate, Business, Starter)
constexpr unsigned kEnterprise = 16;  // the Enterprise and Education editions (but the long-term ones)
constexpr unsigned kEvery = 0;
}  // namespace edition

// Whether a setting has an effect on the Windows versions from `from` up to,
// not including, `before` (builds told apart), on the editions named.
struct VersionFact {
    WindowsVersion from{};
    WindowsVersion before{~0u, ~0u, ~0u};
    unsigned editions = edition::kEvery;
    bool effect = true;
    // No effect: the sentence that says why ("" gives "Not used by Windows
    // Vista and later.").
    const char* why = "";
    const Source* source = nullptr;  // nullptr: no fact in this place
};

// Where a value the standing depends on may be set.
struct PolicyPlace {
    RegKey root = 0;
    const char* key = "";
    const char* value = "";
};

// How a stored value is tested: equal to the data, different from it (an
// absent value never is), any data at all, or a version at least the data's
// leading whole number ("9.11.19041.0" is at least 7).
enum class Holds { Equals, Differs, Any, AtLeast };

// A value holding given data. By default the first of its places that holds
// the value decides (the places are in the order the system gives
// precedence); `either`: any place whose value holds counts, the first such
// is named. A place without a root is none.
struct ValueTest {
    PolicyPlace places[2]{};
    const char* data = nullptr;
    Holds holds = Holds::Equals;
    bool either = false;
};

// A policy that overrides a setting when every test holds (a test without a
// place is none; a rule without one, no policy); the value of the first test
// is the one named to the user.
struct PolicyRule {
    ValueTest tests[3]{};
    const Source* source = nullptr;
};

// A stored value that keeps a setting from taking effect while it holds.
struct StoredCondition {
    ValueTest test{};
    const char* why = "";
    const Source* source = nullptr;
};

// What a setting depends on. The subject is a catalogue row's control string
// ("Check1", "List1[11]") or a system tool's name ("tool:bootini"). Version
// facts are looked at in order; the first whose versions hold the running
// Windows and whose editions hold its edition decides; none: unknown.
// One value of a setting that some editions do not honour: they behave as
// with another value instead. The setting stays in effect and is written; a
// choice of that value is marked where it is shown.
struct UnhonouredValue {
    const char* data = nullptr;  // the text the apply writes for the choice ("0"); nullptr: none
    unsigned editions = 0;       // the editions that do not honour it
    const char* instead = "";    // the value they take instead ("1")
    const Source* source = nullptr;
};

struct Dependency {
    const char* subject = "";
    VersionFact versions[3]{};
    const PolicyRule* policy = nullptr;                // nullptr: none
    const StoredCondition* noEffectWhile = nullptr;  // nullptr: none
    Timing timing = Timing::Unknown;
    const Source* timingSource = nullptr;
    UnhonouredValue unhonoured{};
};

// The system tools, with the page and the heading they stand under, and the
// controls that carry a tool's mark ("Command10|Command12").
struct ToolSubject {
    const char* subject;
    const char* page;
    const char* caption;
    const char* controls;
};

std::span<const Dependency> Dependencies();
// Every place of a value the table names.
std::vector<const PolicyPlace*> PolicyPlaces();
const std::vector<ToolSubject>& ToolSubjects();
// The entry for a subject; nullptr when the table has none (unknown).
const Dependency* DependencyOf(const std::string& subject);

// The editions of edition:: that a reading of the system belongs to; 0 when
// it cannot be told.
unsigned EditionOf(const WindowsEdition& edition, WindowsVersion version);

enum class StandingKind { InEffect, SetByPolicy, NoEffect, Later };

struct Standing {
    StandingKind kind = StandingKind::InEffect;
    Timing timing = Timing::Unknown;
    std::string policy;  // SetByPolicy: "HKEY_CURRENT_USER\Software\...\Policies\Explorer\NoRun"
    std::string data;    // SetByPolicy: the data it holds, as text ("1")
    std::string why;     // NoEffect: "Not used by Windows Vista and later."
    // No source settles whether it has an effect here: it counts as in
    // effect, and every list says it is assumed.
    bool assumed = true;
    bool versionUnread = false;  // assumed because the Windows version could not be read
    std::string source;          // the sources of what decides, "Title, address; ..."; "" unknown
};

// The values the table names, as they are stored now: read once, so that
// every standing is judged against the same reading.
class PolicyValues {
public:
    PolicyValues() = default;
    static PolicyValues Read(Registry& reg);
    // The data at a place as text (a number in decimal); nullptr when absent.
    const std::string* Find(const PolicyPlace& place) const;

private:
    struct Entry {
        RegKey root;
        std::string key, value, data;
    };
    std::vector<Entry> entries_;
};

// The running Windows as the standings see it.
struct RunningWindows {
    WindowsVersion version{};  // all zero: it could not be read
    WindowsEdition edition{};
};

// The standing of a subject on this Windows with these stored values.
Standing StandingOf(const std::string& subject, const RunningWindows& windows, const PolicyValues& policies);

// Every subject's standing, worked out once at load.
class Standings {
public:
    // Everything assumed in effect: what a run that has not looked yet assumes.
    Standings() = default;
    Standings(RunningWindows windows, Registry& reg);
    Standings(WindowsVersion version, Registry& reg) : Standings(RunningWindows{version, {}}, reg) {}
    WindowsVersion version() const { return windows_.version; }
    Standing Of(const std::string& subject) const;
    // Whether the apply pass writes the row: not when it has no effect here.
    bool Writes(const TweakRow& row) const;
    // When this Windows's edition does not honour the text a row would write
    // for the subject: what it does instead, in words ("This edition does not
    // honour 0: Windows takes 1 instead. Source: ..."); else "".
    std::string Unhonoured(const std::string& subject, const std::string& text) const;

private:
    RunningWindows windows_{};
    PolicyValues policies_;
    bool judged_ = false;
};

// Puts on the main window's controls the marks of the settings and tools
// that are set by a policy or have no effect here; a setting with no effect
// is also shown disabled (a tool stays enabled and says why it refuses).
void MarkPages(Form& form1, const Standings& standings);
// Marks each control that holds a choice this edition does not honour (and
// clears that mark where it no longer does), the control left enabled: after
// every load of the pages.
void MarkChoices(Form& form1, const Standings& standings);

// Words for the user.
std::string VersionName(WindowsVersion version);      // "Windows Vista"
std::string TimingWords(Timing timing);               // "after a restart", "unknown"
std::string StandingWords(const Standing& standing);  // the sentence a page's mark shows, its source last
std::string StandingSummary(const Standing& standing);  // the status list's "Standing" column
std::string TakesEffect(const Standing& standing);      // Review Changes' "Takes effect" column
std::string SourceWords(const Standing& standing);      // the "Source" column: "Title, address" or "unknown"
// A page's name as the lists give it: its caption without a trailing colon
// ("Personal Folders:" is "Personal Folders").
std::string PageName(const std::string& caption);

}  // namespace vantrel
