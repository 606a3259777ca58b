// Whether a setting takes effect on this Windows: one table says, for every
// catalogue row and every system tool, on which Windows versions it has an
// effect, which policy values override it and when a change takes effect
// (Dependencies.cpp, each entry with its source). The rules below turn that
// table, the running Windows and the policy values it names into each
// setting's standing. An entry the sources do not settle is unknown, and an
// unknown entry counts as in effect.
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

// The Windows versions on which a setting has an effect: from `from` up to,
// not including, `before`. Unknown when no source says.
struct VersionSpan {
    bool known = false;
    WindowsVersion from{};
    WindowsVersion before{~0u, ~0u, ~0u};
};

// Where a policy value may be set.
struct PolicyPlace {
    RegKey root = 0;
    const char* key = "";
    const char* value = "";
};

// A policy value holding given data: the first of its places that holds the
// value decides (the places are in the order the system gives precedence; a
// place without a root is none). Data nullptr: any data at all.
struct PolicyTest {
    PolicyPlace places[2]{};
    const char* data = nullptr;
};

// A policy that overrides a setting when every test holds (a test without a
// place is none; a rule without one, no policy); the value of the first test
// is the one named to the user.
struct PolicyRule {
    PolicyTest tests[2]{};
};

// What a setting depends on. The subject is a catalogue row's control string
// ("Check1", "List1[11]") or a system tool's name ("tool:bootini").
struct Dependency {
    const char* subject = "";
    VersionSpan versions{};
    PolicyRule policy{};
    Timing timing = Timing::Unknown;
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
// Every place of a policy value the table names.
std::vector<const PolicyPlace*> PolicyPlaces();
const std::vector<ToolSubject>& ToolSubjects();
// The entry for a subject; nullptr when the table has none (unknown).
const Dependency* DependencyOf(const std::string& subject);

enum class StandingKind { InEffect, SetByPolicy, NoEffect, Later };

struct Standing {
    StandingKind kind = StandingKind::InEffect;
    Timing timing = Timing::Unknown;
    std::string policy;  // SetByPolicy: "HKEY_CURRENT_USER\Software\...\Policies\Explorer\NoRun"
    std::string data;    // SetByPolicy: the data it holds, as text ("1")
    std::string why;     // NoEffect: "Not used by Windows Vista and later."
};

// The policy values the table names, as they are stored now: read once, so
// that every standing is judged against the same reading.
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

// The standing of a subject on this Windows with these policy values.
Standing StandingOf(const std::string& subject, WindowsVersion version, const PolicyValues& policies);

// Every subject's standing, worked out once at load.
class Standings {
public:
    // Everything in effect: what a run that has not looked yet assumes.
    Standings() = default;
    Standings(WindowsVersion version, Registry& reg);
    WindowsVersion version() const { return version_; }
    Standing Of(const std::string& subject) const;
    // Whether the apply pass writes the row: not when it has no effect here.
    bool Writes(const TweakRow& row) const;

private:
    WindowsVersion version_{};
    PolicyValues policies_;
    bool judged_ = false;
};

// Puts on the main window's controls the marks of the settings and tools
// that are set by a policy or have no effect here; a setting with no effect
// is also shown disabled (a tool stays enabled and says why it refuses).
void MarkPages(Form& form1, const Standings& standings);

// Words for the user.
std::string VersionName(WindowsVersion version);      // "Windows Vista"
std::string TimingWords(Timing timing);               // "after a restart", "unknown"
std::string StandingWords(const Standing& standing);  // the sentence a page's mark shows
std::string StandingSummary(const Standing& standing);  // the status list's "Standing" column
std::string TakesEffect(const Standing& standing);      // Review Changes' "Takes effect" column

}  // namespace vantrel
