// The standing rules over the dependency table: a setting with no effect on
// this Windows has no effect whatever else holds; otherwise a policy that
// overrides it decides; otherwise it takes effect, now or later.
#include "settings/Standing.h"

#include <algorithm>
#include <iterator>

#include "model/Controls.h"
#include "registry/KeyNames.h"
#include "registry/RegistryRoutines.h"
#include "settings/TweakRow.h"

namespace vantrel {

namespace {

std::string RootName(RegKey root) {
    return root == reg::kLocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

std::string PlaceName(const PolicyPlace& place) {
    return RootName(place.root) + "\\" + place.key + "\\" + place.value;
}

// A version as a fact's end names it: "Windows 10", or "Windows 10 build
// 15063" for a build after the first of its name.
std::string SpanEnd(WindowsVersion v) {
    const std::string name = VersionName(v);
    if (v.build == 0 || VersionName({v.major, v.minor, v.build - 1}) != name) return name;
    return name + " build " + std::to_string(v.build);
}

bool Used(const PolicyPlace& place) {
    return place.root != 0;
}

bool Used(const ValueTest& test) {
    return Used(test.places[0]);
}

bool Used(const VersionFact& fact) {
    return fact.source != nullptr;
}

// The whole number a text starts with; -1 when it starts with none.
long LeadingNumber(const char* text) {
    if (text == nullptr || *text < '0' || *text > '9') return -1;
    long n = 0;
    for (; *text >= '0' && *text <= '9' && n < 100000; ++text) n = n * 10 + (*text - '0');
    return n;
}

bool DataHolds(const ValueTest& test, const std::string& data) {
    switch (test.holds) {
    case Holds::Any: return true;
    case Holds::Equals: return test.data == nullptr || data == test.data;
    case Holds::Differs: return test.data != nullptr && data != test.data;
    case Holds::AtLeast: {
        const long number = LeadingNumber(data.c_str());
        return number >= 0 && number >= LeadingNumber(test.data);
    }
    }
    return false;
}

// The place whose value makes the test hold, with its data; nullptr when the
// test does not hold.
const PolicyPlace* Holding(const ValueTest& test, const PolicyValues& values, const std::string** data) {
    for (const PolicyPlace& place : test.places) {
        if (!Used(place)) continue;
        const std::string* found = values.Find(place);
        if (found == nullptr) continue;
        const bool holds = DataHolds(test, *found);
        if (holds) *data = found;
        if (holds) return &place;
        if (!test.either) return nullptr;  // the first place holding a value decides
    }
    return nullptr;
}

std::string SourceName(const Source& source) {
    return *source.address ? std::string(source.title) + ", " + source.address : std::string(source.title);
}

// The version fact that settles the running Windows; nullptr when none does
// (also when a fact holds for some editions only and the edition is not known).
const VersionFact* Settling(const Dependency& d, const RunningWindows& windows) {
    const unsigned edition = EditionOf(windows.edition, windows.version);
    for (const VersionFact& fact : d.versions) {
        if (!Used(fact) || windows.version < fact.from || !(windows.version < fact.before)) continue;
        if (fact.editions == edition::kEvery) return &fact;
        if (edition == 0) return nullptr;
        if (fact.editions & edition) return &fact;
    }
    return nullptr;
}

// Why a setting with no effect on these versions is not used.
std::string NotUsedWords(const VersionFact& fact) {
    if (*fact.why) return fact.why;
    if (fact.from == WindowsVersion{}) return "Not used before " + SpanEnd(fact.before) + ".";
    if (fact.before == VersionFact{}.before) return "Not used by " + VersionName(fact.from) + " and later.";
    return "Not used by " + VersionName(fact.from) + " to " + VersionName(fact.before) + ".";
}

}  // namespace

unsigned EditionOf(const WindowsEdition& e, WindowsVersion version) {
    // wProductType: 1 a workstation, 2 a domain controller, 3 a server
    // ("OSVERSIONINFOEXA structure (winnt.h)").
    if (e.productType > 1) return edition::kServer;
    if (version.major >= 6) {
        // GetProductInfo's types ("GetProductInfo function (sysinfoapi.h)",
        // learn.microsoft.com/windows/win32/api/sysinfoapi/nf-sysinfoapi-getproductinfo).
        // Only the workstation editions that page names count: a type it does
        // not name (a later edition) is not known, so no fact held by
        // edition decides for it. Wine always gives 0x1C, Ultimate N.
        static const unsigned kHomes[] = {0x02, 0x03, 0x05, 0x1A, 0x43, 0x44,  // Home Basic, Home Premium (N, E)
                                          0x62, 0x63, 0x64, 0x65};              // Windows 10 Home (N, China, SL)
        static const unsigned kLongTerm[] = {0x7D, 0x7E, 0x81, 0x82};           // Enterprise 2015 LTSB (N, evaluation)
        static const unsigned kEnterprises[] = {0x04, 0x1B, 0x46, 0x48, 0x54,   // Enterprise (N, E, evaluation)
                                                0x79, 0x7A};                    // Education (N)
        static const unsigned kOthers[] = {0x01, 0x1C, 0x47,                    // Ultimate (N, E)
                                           0x06, 0x10,                          // Business (N)
                                           0x30, 0x31, 0x45, 0x67, 0xA1, 0xA2,  // Pro (N, E, WMC, Workstations)
                                           0x0B, 0x2F, 0x42};                   // Starter (N, E)
        auto in = [&](const auto& types) {
            return std::find(std::begin(types), std::end(types), e.product) != std::end(types);
        };
        if (in(kHomes)) return edition::kHome;
        if (in(kLongTerm)) return edition::kLtsc;
        if (in(kEnterprises)) return edition::kEnterprise;
        if (in(kOthers)) return edition::kClient;
        return 0;
    }
    if (e.productType == 0) return 0;
    // VER_SUITE_PERSONAL: "Windows XP Home Edition" (same structure).
    return (e.suite & 0x200) ? edition::kHome : edition::kClient;
}

std::vector<const PolicyPlace*> PolicyPlaces() {
    std::vector<const PolicyPlace*> places;
    auto add = [&](const ValueTest& test) {
        for (const PolicyPlace& place : test.places) {
            if (Used(place)) places.push_back(&place);
        }
    };
    for (const Dependency& d : Dependencies()) {
        if (d.policy) {
            for (const ValueTest& test : d.policy->tests) add(test);
        }
        if (d.noEffectWhile) add(d.noEffectWhile->test);
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

Standing StandingOf(const std::string& subject, const RunningWindows& windows, const PolicyValues& policies) {
    Standing standing;
    const Dependency* d = DependencyOf(subject);
    if (d == nullptr) return standing;
    standing.timing = d->timing;
    // A version that could not be read settles no version fact.
    const bool unread = windows.version == WindowsVersion{};
    const VersionFact* fact = unread ? nullptr : Settling(*d, windows);
    standing.versionUnread = unread && Used(d->versions[0]);
    if (fact != nullptr && !fact->effect) {
        standing.kind = StandingKind::NoEffect;
        standing.why = NotUsedWords(*fact);
        standing.assumed = false;
        standing.source = SourceName(*fact->source);
        return standing;
    }
    const std::string* data = nullptr;
    if (const StoredCondition* condition = d->noEffectWhile; condition && Used(condition->test)) {
        if (const PolicyPlace* place = Holding(condition->test, policies, &data)) {
            standing.kind = StandingKind::NoEffect;
            standing.why = std::string(condition->why) + " (" + PlaceName(*place) + " = " + *data + ")";
            standing.assumed = false;
            standing.source = SourceName(*condition->source);
            return standing;
        }
    }
    bool policySet = d->policy && Used(d->policy->tests[0]);
    if (policySet) {
        for (const ValueTest& test : d->policy->tests) {
            policySet = policySet && (!Used(test) || Holding(test, policies, &data) != nullptr);
        }
    }
    if (policySet) {
        const PolicyPlace* place = Holding(d->policy->tests[0], policies, &data);
        standing.kind = StandingKind::SetByPolicy;
        standing.policy = PlaceName(*place);
        standing.data = *data;
        standing.assumed = false;
        standing.source = SourceName(*d->policy->source);
        return standing;
    }
    const bool later = d->timing != Timing::Unknown && d->timing != Timing::AtOnce && d->timing != Timing::ReadOnly;
    if (later) standing.kind = StandingKind::Later;
    standing.assumed = fact == nullptr && d->timing != Timing::ReadOnly;
    std::string source = fact ? SourceName(*fact->source) : std::string();
    if (d->timingSource != nullptr) {
        const std::string timing = SourceName(*d->timingSource);
        if (source.empty() && standing.assumed) source = "unknown; when it takes effect: " + timing;
        else if (source.find(timing) == std::string::npos) source += (source.empty() ? "" : "; ") + timing;
    }
    standing.source = source;
    return standing;
}

Standings::Standings(RunningWindows windows, Registry& reg)
    : windows_(windows), policies_(PolicyValues::Read(reg)), judged_(true) {}

Standing Standings::Of(const std::string& subject) const {
    if (!judged_) return {};
    return StandingOf(subject, windows_, policies_);
}

std::string Standings::Unhonoured(const std::string& subject, const std::string& text) const {
    const Dependency* d = DependencyOf(subject);
    if (!judged_ || d == nullptr || d->unhonoured.data == nullptr || text != d->unhonoured.data) return {};
    if (!(EditionOf(windows_.edition, windows_.version) & d->unhonoured.editions)) return {};
    const Source* source = d->unhonoured.source;
    return "This edition does not honour " + text + ": Windows takes " + d->unhonoured.instead + " instead." +
           (source ? " Source: " + std::string(source->title) + ", " + source->address + "." : std::string());
}

bool Standings::Writes(const TweakRow& row) const {
    return Of(row.control).kind != StandingKind::NoEffect;
}

void MarkPages(Form& form1, const Standings& standings) {
    auto markOf = [](const Standing& s) {
        switch (s.kind) {
        case StandingKind::SetByPolicy: return Mark{MarkKind::Policy, StandingWords(s) + " Source: " + SourceWords(s)};
        case StandingKind::NoEffect: return Mark{MarkKind::NoEffect, StandingWords(s) + " Source: " + SourceWords(s)};
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

void MarkChoices(Form& form1, const Standings& standings) {
    for (const TweakRow* row : ApplyRows()) {
        const Dependency* d = DependencyOf(row->control);
        if (d == nullptr || d->unhonoured.data == nullptr) continue;
        const std::optional<std::string> text = ApplyText(form1, *row);
        const std::string unhonoured = text ? standings.Unhonoured(row->control, *text) : std::string();
        Control& c = form1.control(row->control);
        if (!unhonoured.empty()) c.setMark({MarkKind::NoEffect, unhonoured});
        else if (const StandingKind kind = standings.Of(row->control).kind;
                 kind != StandingKind::SetByPolicy && kind != StandingKind::NoEffect)
            c.setMark({});
    }
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
    if (v == WindowsVersion{}) return "Windows (its version could not be read)";
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
    case StandingKind::Later:
    case StandingKind::InEffect: break;
    }
    const std::string later = s.kind == StandingKind::Later ? "takes effect later: " + TimingWords(s.timing) : "";
    if (!s.assumed) return later.empty() ? "in effect" : later;
    std::string words = "unknown (assumed in effect)";
    if (s.versionUnread) words += ": the Windows version could not be read";
    return later.empty() ? words : words + "; " + later;
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

std::string SourceWords(const Standing& s) {
    return s.source.empty() ? "unknown" : s.source;
}

std::string PageName(const std::string& caption) {
    return !caption.empty() && caption.back() == ':' ? caption.substr(0, caption.size() - 1) : caption;
}

}  // namespace vantrel
