// Times the load pass and the apply pass over the whole catalogue, and the
// share of that time spent inside the registry backend, so that the
// catalogue engine's own overhead shows. Natively it runs on the in-memory
// registry; in the Windows tree on the real registry (under Wine), where it
// applies what it loaded and puts every target value back as it found it.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/Controls.h"
#include "app/Forms.h"
#include "settings/TweakRow.h"

#ifdef _WIN32
#include "platform/win32/Win32Registry.h"
#else
#include "platform/portable/MemoryRegistry.h"
#endif

namespace vantrel {
namespace {

using Clock = std::chrono::steady_clock;

// Forwards every call and sums the time spent inside the backend.
class TimingRegistry : public Registry {
public:
    explicit TimingRegistry(Registry& inner) : inner_(inner) {}
    Clock::duration spent{};
    std::uint64_t calls = 0;

    long OpenKey(RegKey p, const std::string& s, RegKey* out) override {
        return Time([&] { return inner_.OpenKey(p, s, out); });
    }
    long CreateKey(RegKey p, const std::string& s, RegKey* out) override {
        return Time([&] { return inner_.CreateKey(p, s, out); });
    }
    long QueryValue(RegKey k, const std::string& n, std::uint32_t* t, std::uint8_t* d, std::uint32_t* s) override {
        return Time([&] { return inner_.QueryValue(k, n, t, d, s); });
    }
    long SetValue(RegKey k, const std::string& n, std::uint32_t t, const std::uint8_t* d, std::uint32_t s) override {
        return Time([&] { return inner_.SetValue(k, n, t, d, s); });
    }
    long DeleteValue(RegKey k, const std::string& n) override {
        return Time([&] { return inner_.DeleteValue(k, n); });
    }
    long EnumKey(RegKey k, std::uint32_t i, char* n, std::uint32_t* l) override {
        return Time([&] { return inner_.EnumKey(k, i, n, l); });
    }
    long EnumValue(RegKey k, std::uint32_t i, char* n, std::uint32_t* l, std::uint32_t* t, std::uint8_t* d,
                   std::uint32_t* dl) override {
        return Time([&] { return inner_.EnumValue(k, i, n, l, t, d, dl); });
    }
    long CloseKey(RegKey k) override {
        return Time([&] { return inner_.CloseKey(k); });
    }

private:
    template <class F> long Time(F f) {
        auto start = Clock::now();
        long rc = f();
        spent += Clock::now() - start;
        ++calls;
        return rc;
    }
    Registry& inner_;
};

#ifdef _WIN32
// One target value as it was before the run: its type and bytes, or absent.
struct Saved {
    ValueRef ref;
    std::optional<std::uint32_t> type;
    std::vector<std::uint8_t> data;
};

std::vector<Saved> Snapshot(Registry& reg) {
    std::vector<Saved> saved;
    for (const ValueRef& ref : ApplyTargets()) {
        Saved s{ref, std::nullopt, {}};
        RegKey key = 0;
        reg.OpenKey(ref.root, ref.key, &key);
        std::uint32_t type = 0, size = 0;
        if (key && reg.QueryValue(key, ref.value, &type, nullptr, &size) == reg::kSuccess) {
            s.data.resize(size);
            if (reg.QueryValue(key, ref.value, &type, s.data.data(), &size) == reg::kSuccess) {
                s.type = type;
                s.data.resize(size);
            }
        }
        reg.CloseKey(key);
        saved.push_back(std::move(s));
    }
    return saved;
}

void Restore(Registry& reg, const std::vector<Saved>& saved) {
    for (const Saved& s : saved) {
        RegKey key = 0;
        reg.CreateKey(s.ref.root, s.ref.key, &key);
        if (s.type) {
            reg.SetValue(key, s.ref.value, *s.type, s.data.data(), static_cast<std::uint32_t>(s.data.size()));
        } else {
            reg.DeleteValue(key, s.ref.value);
        }
        reg.CloseKey(key);
    }
}

#else
// A store holding what a typical installation holds for every row.
void SeedTypicalValues(MemoryRegistry& store) {
    Form form(Form1Def());
    FillStartMenuList(form);
    for (const std::string& box : PersonalFolderBoxes()) {
        form.text(box).setText(R"(C:\Documents and Settings\user\)" + box);
    }
    form.text("Text1").setText("60");
    form.text("Text19").setText("user");
    form.text("Text21").setText("home");
    form.text("Text16").setText("http://www.example.com/");
    form.option("Option2").setValue(true);
    form.slider("Slider2").setValue(10);
    for (int i = 0; i < 14; ++i) form.list("List1").setSelected(i, i % 3 != 0);
    ApplySettings(form, store);
    const char* key = R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion)";
    store.PutString(reg::kLocalMachine, key, "PathName", R"(C:\WINDOWS)");
    store.PutString(reg::kLocalMachine, key, "ProductName", "Microsoft Windows XP");
    store.PutString(reg::kLocalMachine, key, "CurrentVersion", "5.1");
    store.PutString(reg::kLocalMachine, key, "SystemRoot", R"(C:\WINDOWS)");
    store.PutString(reg::kLocalMachine, key, "CurrentBuildNumber", "2600");
    store.PutString(reg::kLocalMachine, key, "CSDVersion", "Service Pack 1");
}
#endif

struct PassTimes {
    Clock::duration total{};
    Clock::duration registry{};
    std::uint64_t calls = 0;
};

template <class F> void Measure(TimingRegistry& timed, PassTimes& times, F pass) {
    Clock::duration before = timed.spent;
    std::uint64_t callsBefore = timed.calls;
    auto start = Clock::now();
    pass();
    times.total += Clock::now() - start;
    times.registry += timed.spent - before;
    times.calls += timed.calls - callsBefore;
}

// What one pair of clock reads costs, to tell the decorator's own cost apart.
double ClockPairNanoseconds() {
    constexpr int kReads = 200000;
    auto start = Clock::now();
    Clock::time_point sink{};
    for (int i = 0; i < kReads; ++i) sink = std::max(sink, Clock::now());
    double total = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    return 2.0 * total / kReads;
}

void Report(const char* name, const PassTimes& t, int runs, double clockPair) {
    using Us = std::chrono::duration<double, std::micro>;
    double total = Us(t.total).count() / runs;
    double registry = Us(t.registry).count() / runs;
    double calls = static_cast<double>(t.calls) / runs;
    // Each timed call adds one clock pair, roughly half of it outside the sum.
    double decorator = calls * clockPair / 2000.0;
    double engine = total - registry - decorator;
    std::printf("%-11s %10.2f us per pass, registry %10.2f us (%5.0f calls), engine %8.2f us = %5.1f%% of registry\n",
                name, total, registry, calls, engine, registry > 0 ? 100.0 * engine / registry : 0.0);
}

int Run(Registry& backend, int runs) {
    TimingRegistry timed(backend);
    Form form(Form1Def());
    FillStartMenuList(form);
    PassTimes load, apply;
    std::size_t skippedWrites = 0;
    for (int i = 0; i < runs; ++i) {
        Measure(timed, load, [&] {
            LoadSettings(form, timed);
            LoadStartMenuChecks(form, timed);
        });
        Measure(timed, apply, [&] { skippedWrites += ApplySettings(form, timed).size(); });
    }
    double clockPair = ClockPairNanoseconds();
    std::printf("pass_bench: %d runs of each pass over %zu written values; clock pair %.1f ns\n", runs,
                ApplyTargets().size(), clockPair);
    Report("load pass", load, runs, clockPair);
    Report("apply pass", apply, runs, clockPair);
    if (skippedWrites) std::printf("writes skipped or refused per apply: %zu\n", skippedWrites / runs);
    return 0;
}

}  // namespace
}  // namespace vantrel

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 0;
#ifdef _WIN32
    if (runs <= 0) runs = 200;
    vantrel::Win32Registry backend;
    auto saved = vantrel::Snapshot(backend);
    int rc = vantrel::Run(backend, runs);
    vantrel::Restore(backend, saved);
    return rc;
#else
    if (runs <= 0) runs = 5000;
    vantrel::MemoryRegistry backend;
    vantrel::SeedTypicalValues(backend);
    return vantrel::Run(backend, runs);
#endif
}
