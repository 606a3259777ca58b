// The standing rules over the dependency table: a setting with no effect on
// this Windows has no effect whatever else holds; otherwise a policy that
// overrides it decides; otherwise it takes effect, now or later.
#include "settings/Standing.h"

#include <algorithm>

#include "model/Controls.h"
#include "registry/KeyNames.h"
#include "registry/RegistryRoutines.h"
#include "settings/TweakRow.h"

namespace vantrel {

namespace {

std::string RootName(RegKey root) {
    return root == reg::kLocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

bool Inside(const VersionSpan& span, WindowsVersion version) {
    return !span.known || (span.from <= version && version < span.before);
}

// A version as a span names it: "Windows 10", or "Windows 10 build 15063"
// for a build after the first of its name.
std::string SpanEnd(WindowsVersion v) {
    const std::string name = VersionName(v);
    if (v.build == 0 || VersionName({v.major, v.minor, v.build - 1}) != name) return name;
    return name + " build " + std::to_string(v.build);
}

// Why a setting outside its versions has no effect here.
std::string OutsideWords(const VersionSpan& span, WindowsVersion version) {
    if (version < span.from) return "Not used before " + SpanEnd(span.from) + ".";
    return "Not used by " + VersionName(span.before) + " and later.";
}

bool Used(const PolicyPlace& place) {
    return place.root != 0;
}

bool Used(const PolicyTest& test) {
    return Used(test.places[0]);
}

// The place of a test that decides it: the first holding the value.
const PolicyPlace* Deciding(const PolicyTest& test, const PolicyValues& policies, const std::string** data) {
    for (const PolicyPlace& place : test.places) {
        if (Used(place) && (*data = policies.Find(place)) != nullptr) return &place;
    }
    return nullptr;
}

bool Holds(const PolicyTest& test, const PolicyValues& policies) {
    const std::string* data = nullptr;
    return Deciding(test, policies, &data) != nullptr && (test.data == nullptr || *data == test.data);
}

}  // namespace

std::vector<const PolicyPlace*> PolicyPlaces() {
    std::vector<const PolicyPlace*> places;
    for (const Dependency& d : Dependencies()) {
        for (const PolicyTest& test : d.policy.tests) {
            for (const PolicyPlace& place : test.places) {
                if (Used(place)) places.push_back(&place);
            }
        }
    }
    return places;
}

PolicyValues PolicyValues::Read(Registry& reg) {
    PolicyValues values;
    const std::vector<const PolicyPlace*> places = PolicyPlaces();
    // Each key is opened once, for all the values the table names in it.
    std::vector<std::pair<RegKey, std::string>> keys;
    for (const PolicyPlace* place : places) {
        const auto key = std::make_pair(place->root, KeyIdentity(place->key));
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
    }
    for (const auto& [root, identity] : keys) {
        RegKey handle = 0;
        if (reg.OpenKey(root, identity, &handle) != reg::kSuccess) continue;
        for (const PolicyPlace* place : places) {
            if (place->root != root || KeyIdentity(place->key) != identity || values.Find(*place)) continue;
            std::uint32_t type = 0, size = 0;
            if (reg.QueryValue(handle, place->value, &type, nullptr, &size) != reg::kSuccess) continue;
            values.entries_.push_back(
                {root, identity, FoldCase(place->value), RegQueryStringValue(reg, handle, place->value)});
        }
        reg.CloseKey(handle);
    }
    return values;
}

const std::string* PolicyValues::Find(const PolicyPlace& place) const {
    for (const Entry& e : entries_) {
        if (e.root == place.root && e.key == KeyIdentity(place.key) && e.value == FoldCase(place.value)) return &e.data;
    }
    return nullptr;
}

Standing StandingOf(const std::string& subject, WindowsVersion version, const PolicyValues& policies) {
    Standing standing;
    const Dependency* d = DependencyOf(subject);
    if (d == nullptr) return standing;
    standing.timing = d->timing;
    if (!Inside(d->versions, version)) {
        standing.kind = StandingKind::NoEffect;
        standing.why = OutsideWords(d->versions, version);
        return standing;
    }
    const PolicyTest* tests = d->policy.tests;
    if (Used(tests[0]) && Holds(tests[0], policies) && (!Used(tests[1]) || Holds(tests[1], policies))) {
        const std::string* data = nullptr;
        const PolicyPlace* place = Deciding(tests[0], policies, &data);
        standing.kind = StandingKind::SetByPolicy;
        standing.policy = RootName(place->root) + "\\" + place->key + "\\" + place->value;
        standing.data = *data;
        return standing;
    }
    const bool later = d->timing != Timing::Unknown && d->timing != Timing::AtOnce && d->timing != Timing::ReadOnly;
    if (later) standing.kind = StandingKind::Later;
    return standing;
}

Standings::Standings(WindowsVersion version, Registry& reg)
    : version_(version), policies_(PolicyValues::Read(reg)), judged_(true) {}

Standing Standings::Of(const std::string& subject) const {
    if (!judged_) return {};
    return StandingOf(subject, version_, policies_);
}

bool Standings::Writes(const TweakRow& row) const {
    return Of(row.control).kind != StandingKind::NoEffect;
}

void MarkPages(Form& form1, const Standings& standings) {
    auto markOf = [](const Standing& s) {
        switch (s.kind) {
        case StandingKind::SetByPolicy: return Mark{MarkKind::Policy, StandingWords(s)};
        case StandingKind::NoEffect: return Mark{MarkKind::NoEffect, StandingWords(s)};
        default: return Mark{};
        }
    };
    // Each control a control string names: "Option1|Option2" both buttons.
    auto each = [&](const std::string& controls, const Mark& mark, bool disable) {
        for (std::size_t start = 0; start < controls.size();) {
            const std::size_t bar = std::min(controls.find('|', start), controls.size());
            Control& c = form1.control(controls.substr(start, bar - start));
            c.setMark(mark);
            if (disable) c.setEnabled(mark.kind != MarkKind::NoEffect);
            start = bar + 1;
        }
    };
    for (const TweakRow* row : CatalogueRows()) {
        const Mark mark = markOf(standings.Of(row->control));
        if (const auto open = row->control.find('['); open != std::string::npos) {
            form1.list(row->control.substr(0, open)).setItemMark(std::stoi(row->control.substr(open + 1)), mark);
        } else {
            each(row->control, mark, true);
        }
    }
    for (const ToolSubject& tool : ToolSubjects()) each(tool.controls, markOf(standings.Of(tool.subject)), false);
}

std::string VersionName(WindowsVersion v) {
    // "Operating System Version" (Windows documentation); Windows 11 is
    // version 10.0 from build 22000 ("Windows 11, version 21H2
    // [10.0.22000]", Policy CSP reference).
    struct Name {
        WindowsVersion from;
        const char* name;
    };
    static const Name kNames[] = {
        {{10, 0, 22000}, "Windows 11"}, {{10, 0, 0}, "Windows 10"},         {{6, 3, 0}, "Windows 8.1"},
        {{6, 2, 0}, "Windows 8"},       {{6, 1, 0}, "Windows 7"},           {{6, 0, 0}, "Windows Vista"},
        {{5, 2, 0}, "Windows Server 2003"}, {{5, 1, 0}, "Windows XP"}, {{5, 0, 0}, "Windows 2000"},
    };
    for (const Name& n : kNames) {
        if (n.from <= v) return n.name;
    }
    return "Windows " + std::to_string(v.major) + "." + std::to_string(v.minor);
}

std::string TimingWords(Timing timing) {
    switch (timing) {
    case Timing::AtOnce: return "at once";
    case Timing::NewExplorerWindows: return "in new Explorer windows";
    case Timing::ExplorerRestart: return "after Explorer restarts";
    case Timing::NextLogon: return "at the next logon";
    case Timing::Restart: return "after a restart";
    case Timing::ReadOnly: return "read only";
    case Timing::Unknown: break;
    }
    return "unknown";
}

std::string StandingWords(const Standing& s) {
    switch (s.kind) {
    case StandingKind::SetByPolicy:
        return "Set by policy: " + s.policy + " = " + s.data +
               ". Your choice is saved but has no effect while the policy is set.";
    case StandingKind::NoEffect: return s.why;
    case StandingKind::Later: return "Takes effect " + TimingWords(s.timing) + ".";
    case StandingKind::InEffect: break;
    }
    return "In effect.";
}

std::string StandingSummary(const Standing& s) {
    switch (s.kind) {
    case StandingKind::SetByPolicy: return "set by policy: " + s.policy + " = " + s.data;
    case StandingKind::NoEffect: return "no effect on this Windows: " + s.why;
    case StandingKind::Later: return "takes effect later: " + TimingWords(s.timing);
    case StandingKind::InEffect: break;
    }
    return "in effect";
}

std::string TakesEffect(const Standing& s) {
    switch (s.kind) {
    case StandingKind::SetByPolicy: return "not while the policy is set: " + s.policy + " = " + s.data;
    case StandingKind::NoEffect: return "never here: " + s.why;
    case StandingKind::Later:
    case StandingKind::InEffect: break;
    }
    return TimingWords(s.timing);
}

}  // namespace vantrel
