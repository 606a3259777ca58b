// Times each registry routine per call against the raw registry calls it
// makes, on this tree's backend (in-memory natively, advapi32 on Windows,
// under a scratch key of HKEY_CURRENT_USER removed afterwards). The routines
// should cost nothing measurable over the calls themselves.
//
// Usage: registry_bench [calls per round]
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "registry/RegistryRoutines.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/Win32Registry.h"
#else
#include "platform/portable/MemoryRegistry.h"
#endif

namespace vantrel {
namespace {

constexpr RegKey kRoot = reg::kCurrentUser;
constexpr int kRounds = 40;  // alternating batches per side

#ifdef _WIN32
using Backend = Win32Registry;
constexpr const char* kBackendName = "advapi32";
constexpr long kDefaultCalls = 2000;
std::string ScratchPath() {
    return "Software\\VantrelTest\\Bench-" + std::to_string(GetCurrentProcessId());
}
void RemoveScratch(Backend& reg, const std::string& path) {
    reg.DeleteKeyTree(kRoot, path);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VantrelTest");  // only when empty
}
#else
using Backend = MemoryRegistry;
constexpr const char* kBackendName = "in-memory";
constexpr long kDefaultCalls = 20000;
std::string ScratchPath() {
    return "Software\\VantrelTest\\Bench";
}
void RemoveScratch(Backend& reg, const std::string& path) {
    reg.DeleteKeyTree(kRoot, path);
}
#endif

volatile std::size_t g_sink = 0;  // keeps results alive

// Time per call of one batch, in nanoseconds.
double TimeBatch(long calls, const std::function<void()>& body) {
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < calls; ++i) body();
    const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / static_cast<double>(calls);
}

// Best time per call of each side over many alternating batches, so that
// both see the same machine load; the minimum filters out interruptions.
std::pair<double, double> TimePair(long calls, const std::function<void()>& a, const std::function<void()>& b) {
    double bestA = 1e300;
    double bestB = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        bestA = std::min(bestA, TimeBatch(calls, a));
        bestB = std::min(bestB, TimeBatch(calls, b));
    }
    return {bestA, bestB};
}

struct Case {
    const char* name;
    std::function<void()> routine;
    std::function<void()> raw;
};

int Run(long calls) {
    Backend reg;
    const std::string scratch = ScratchPath();
    const std::string path = scratch + "\\Control Panel\\Keyboard\\";
    RemoveScratch(reg, scratch);
    SaveString(reg, kRoot, path, "KeyboardDelay", "1");
    SaveStringLong(reg, kRoot, path, "Hidden", "1");

    RegKey open = 0;
    reg.OpenKey(kRoot, path, &open);

    const std::array<std::uint8_t, 2> textBytes{'1', 0};
    const std::array<std::uint8_t, 4> dwordBytes{1, 0, 0, 0};

    // The calls GetString makes, with a buffer on the stack.
    const auto rawRead = [&](RegKey key, const std::string& name) {
        std::uint32_t type = 0;
        std::uint32_t size = 0;
        if (reg.QueryValue(key, name, &type, nullptr, &size) != reg::kSuccess) return;
        std::array<std::uint8_t, 64> buffer{};
        size = std::min<std::uint32_t>(size, buffer.size());
        reg.QueryValue(key, name, &type, buffer.data(), &size);
        g_sink = g_sink + buffer[0];
    };

    const std::vector<Case> cases = {
        {"GetString (REG_SZ)", [&] { g_sink = g_sink + GetString(reg, kRoot, path, "KeyboardDelay").size(); },
         [&] {
             RegKey key = 0;
             reg.OpenKey(kRoot, path, &key);
             rawRead(key, "KeyboardDelay");
             reg.CloseKey(key);
         }},
        {"GetString (REG_DWORD)", [&] { g_sink = g_sink + GetString(reg, kRoot, path, "Hidden").size(); },
         [&] {
             RegKey key = 0;
             reg.OpenKey(kRoot, path, &key);
             rawRead(key, "Hidden");
             reg.CloseKey(key);
         }},
        {"GetString (missing key)", [&] { g_sink = g_sink + GetString(reg, kRoot, scratch + "\\None", "X").size(); },
         [&] {
             RegKey key = 0;
             reg.OpenKey(kRoot, scratch + "\\None", &key);
             rawRead(key, "X");
             reg.CloseKey(key);
         }},
        {"RegQueryStringValue", [&] { g_sink = g_sink + RegQueryStringValue(reg, open, "KeyboardDelay").size(); },
         [&] { rawRead(open, "KeyboardDelay"); }},
        {"SaveString", [&] { SaveString(reg, kRoot, path, "KeyboardDelay", "1"); },
         [&] {
             RegKey key = 0;
             reg.CreateKey(kRoot, path, &key);
             reg.SetValue(key, "KeyboardDelay", reg::kSz, textBytes.data(), textBytes.size());
             reg.CloseKey(key);
         }},
        {"SaveStringLong", [&] { SaveStringLong(reg, kRoot, path, "Hidden", "1"); },
         [&] {
             RegKey key = 0;
             reg.CreateKey(kRoot, path, &key);
             reg.SetValue(key, "Hidden", reg::kDword, dwordBytes.data(), dwordBytes.size());
             reg.CloseKey(key);
         }},
        {"DelSetting (absent value)", [&] { DelSetting(reg, kRoot, path, "Absent"); },
         [&] {
             RegKey key = 0;
             reg.CreateKey(kRoot, path, &key);
             reg.DeleteValue(key, "Absent");
             reg.CloseKey(key);
         }},
    };

    std::printf("registry_bench: %s backend, best batch of %ld calls out of %d per side\n\n", kBackendName,
                calls, kRounds);
    std::printf("%-28s %14s %14s %10s\n", "routine", "ns per call", "raw ns/call", "overhead");
    for (const Case& c : cases) {
        const auto [routine, raw] = TimePair(calls, c.routine, c.raw);
        std::printf("%-28s %14.1f %14.1f %9.1f%%\n", c.name, routine, raw, (routine - raw) / raw * 100.0);
    }

    reg.CloseKey(open);
    RemoveScratch(reg, scratch);
    return 0;
}

}  // namespace
}  // namespace vantrel

int main(int argc, char** argv) {
    const long calls = argc > 1 ? std::atol(argv[1]) : vantrel::kDefaultCalls;
    return vantrel::Run(calls > 0 ? calls : vantrel::kDefaultCalls);
}
