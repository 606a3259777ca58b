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
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/Controls.h"
#include "model/Forms.h"
#include "registry/ForwardingRegistry.h"
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
class TimingRegistry : public ForwardingRegistry {
public:
    explicit TimingRegistry(Registry& inner) : ForwardingRegistry(inner) {}
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

// Records the backend calls of one pass so that the same calls can be timed
// again without the engine and without a clock read per call. Handles that
// the pass opened are replaced by those the replay opens.
class CallRecorder : public ForwardingRegistry {
public:
    explicit CallRecorder(Registry& inner) : ForwardingRegistry(inner) {}

    long OpenKey(RegKey p, const std::string& s, RegKey* out) override {
        return Open(Op::Open, p, s, out, inner_.OpenKey(p, s, out));
    }
    long CreateKey(RegKey p, const std::string& s, RegKey* out) override {
        return Open(Op::Create, p, s, out, inner_.CreateKey(p, s, out));
    }
    long QueryValue(RegKey k, const std::string& n, std::uint32_t* t, std::uint8_t* d, std::uint32_t* s) override {
        calls_.push_back({Op::Query, Ref(k), n, 0, {}, s ? *s : 0, d != nullptr, -1});
        return inner_.QueryValue(k, n, t, d, s);
    }
    long SetValue(RegKey k, const std::string& n, std::uint32_t t, const std::uint8_t* d, std::uint32_t s) override {
        calls_.push_back({Op::Set, Ref(k), n, t, {d, d + s}, s, true, -1});
        return inner_.SetValue(k, n, t, d, s);
    }
    long DeleteValue(RegKey k, const std::string& n) override {
        calls_.push_back({Op::Delete, Ref(k), n, 0, {}, 0, false, -1});
        return inner_.DeleteValue(k, n);
    }
    long CloseKey(RegKey k) override {
        calls_.push_back({Op::Close, Ref(k), {}, 0, {}, 0, false, -1});
        return inner_.CloseKey(k);
    }

    // Runs the recorded calls on a backend once.
    void Replay(Registry& reg) {
        std::uint32_t type = 0;
        for (const Call& c : calls_) {
            RegKey key = c.key.opened >= 0 ? handles_[c.key.opened] : c.key.literal;
            switch (c.op) {
            case Op::Open:
                handles_[c.opens] = 0;
                reg.OpenKey(key, c.text, &handles_[c.opens]);
                break;
            case Op::Create:
                handles_[c.opens] = 0;
                reg.CreateKey(key, c.text, &handles_[c.opens]);
                break;
            case Op::Query: {
                std::uint32_t size = c.size;
                if (scratch_.size() < size) scratch_.resize(size);
                reg.QueryValue(key, c.text, &type, c.buffer ? scratch_.data() : nullptr, &size);
                break;
            }
            case Op::Set: reg.SetValue(key, c.text, c.type, c.data.data(), c.size); break;
            case Op::Delete: reg.DeleteValue(key, c.text); break;
            case Op::Close: reg.CloseKey(key); break;
            }
        }
    }

private:
    enum class Op { Open, Create, Query, Set, Delete, Close };
    struct KeyRef {
        RegKey literal = 0;  // a root or 0
        int opened = -1;     // else: the handle produced by this earlier open
    };
    struct Call {
        Op op;
        KeyRef key;
        std::string text;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
        std::uint32_t size;
        bool buffer;
        int opens;
    };

    KeyRef Ref(RegKey k) const {
        for (auto it = live_.rbegin(); it != live_.rend(); ++it) {
            if (it->first == k) return {0, it->second};
        }
        return {k, -1};
    }
    long Open(Op op, RegKey p, const std::string& s, RegKey* out, long rc) {
        int index = static_cast<int>(handles_.size());
        handles_.push_back(0);
        calls_.push_back({op, Ref(p), s, 0, {}, 0, false, index});
        if (rc == reg::kSuccess) live_.emplace_back(*out, index);
        return rc;
    }

    std::vector<Call> calls_;
    std::vector<std::pair<RegKey, int>> live_;
    std::vector<RegKey> handles_;
    std::vector<std::uint8_t> scratch_;
};

using Micros = std::chrono::duration<double, std::micro>;

// The fastest mean, over several blocks, of one measured step: the other
// processes of the machine only ever add time.
template <class Step> double BestMean(int runs, Step step) {
    constexpr int kBlocks = 20;
    const int perBlock = std::max(1, runs / kBlocks);
    double best = 1e300;
    for (int b = 0; b < kBlocks; ++b) {
        Clock::duration sum{};
        for (int i = 0; i < perBlock; ++i) sum += step();
        best = std::min(best, Micros(sum).count() / perBlock);
    }
    return best;
}

// One pass: its own time, the registry time the decorator sums, and the time
// of the same backend calls replayed without the engine.
void Measure(const char* name, Registry& backend, int runs, const std::function<void(Registry&)>& pass) {
    auto timeOf = [](auto&& f) {
        auto start = Clock::now();
        f();
        return Clock::now() - start;
    };
    double plain = BestMean(runs, [&] { return timeOf([&] { pass(backend); }); });
    TimingRegistry timed(backend);
    double decorated = BestMean(runs, [&] {
        Clock::duration before = timed.spent;
        pass(timed);
        return timed.spent - before;
    });
    CallRecorder recorder(backend);
    pass(recorder);
    double replay = BestMean(runs, [&] { return timeOf([&] { recorder.Replay(backend); }); });
    TimingRegistry counter(backend);
    pass(counter);

    auto share = [&](double registry) { return registry > 0 ? 100.0 * (plain - registry) / registry : 0.0; };
    std::printf("%s: %.2f us per pass, %llu registry calls\n", name, plain,
                static_cast<unsigned long long>(counter.calls));
    std::printf("  registry time, timing decorator: %8.2f us; engine %7.2f us = %5.1f%% of it\n", decorated,
                plain - decorated, share(decorated));
    std::printf("  registry time, replayed calls:   %8.2f us; engine %7.2f us = %5.1f%% of it\n", replay,
                plain - replay, share(replay));
}

// The load pass (with the Start menu check marks) and the apply pass of what
// it loaded.
int Run(Registry& backend, int runs) {
    Form form(Form1Def());
    FillStartMenuList(form);
    auto load = [&](Registry& reg) {
        LoadSettings(form, reg);
        LoadStartMenuChecks(form, reg);
    };
    std::size_t skipped = 0;
    auto apply = [&](Registry& reg) { skipped = ApplySettings(form, reg).size(); };
    load(backend);
    std::printf("pass_bench: best of 20 blocks of %d runs, %zu values written per apply\n", std::max(1, runs / 20),
                ApplyTargets().size());
    Measure("load pass", backend, runs, load);
    Measure("apply pass", backend, runs, apply);
    if (skipped) std::printf("writes skipped or refused per apply: %zu\n", skipped);
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
