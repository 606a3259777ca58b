#include "ui/win32/StartupTrace.h"

namespace vantrel::win32 {

namespace {

// Tenths of a millisecond as "   123.4", right-aligned in six places before
// the point (formatted here: the window library's wsprintf is not loaded in
// an unattended run, and the C runtime's formatting is not linked in).
std::string Tenths(double ms) {
    long tenths = static_cast<long>(ms * 10.0 + (ms < 0 ? -0.5 : 0.5));
    const bool negative = tenths < 0;
    if (negative) tenths = -tenths;
    std::string digits = std::to_string(tenths / 10);
    if (negative) digits.insert(0, "-");
    if (digits.size() < 6) digits.insert(0, 6 - digits.size(), ' ');
    return digits + "." + std::to_string(tenths % 10);
}

double FileTimeMs(const FILETIME& t) {
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    return static_cast<double>(v.QuadPart) / 10000.0;
}

}  // namespace

StartupTrace::StartupTrace(FileSystem& files) : files_(files) {
    InitializeCriticalSection(&lock_);
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("VANTREL_TRACE", path, sizeof path);
    if (length == 0 || length >= sizeof path) return;
    path_ = path;
    QueryPerformanceFrequency(&frequency_);
    QueryPerformanceCounter(&origin_);
    // The process's creation time and the wall clock share one scale; the
    // counter measures the steps from here on.
    FILETIME creation, exit, kernel, user, now;
    GetSystemTimeAsFileTime(&now);
    if (GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user))
        originSinceCreation_ = FileTimeMs(now) - FileTimeMs(creation);
    steps_.reserve(32);
    steps_.push_back({"process created to first instruction of WinMain", originSinceCreation_});
}

StartupTrace::~StartupTrace() {
    Write();
    DeleteCriticalSection(&lock_);
}

double StartupTrace::Now() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return originSinceCreation_ +
           1000.0 * static_cast<double>(now.QuadPart - origin_.QuadPart) / static_cast<double>(frequency_.QuadPart);
}

void StartupTrace::Mark(const char* step) {
    if (!on()) return;
    EnterCriticalSection(&lock_);
    if (!written_) steps_.push_back({step, Now()});
    LeaveCriticalSection(&lock_);
}

void StartupTrace::Write() {
    if (!on() || written_) return;
    written_ = true;
    std::string text;
    double last = 0;
    for (const Step& s : steps_) {
        text += Tenths(s.sinceCreation) + " " + Tenths(s.sinceCreation - last) + "  ";
        text += s.name;
        text += "\r\n";
        last = s.sinceCreation;
    }
    text += "\r\n";
    files_.Append(path_, text);
}

}  // namespace vantrel::win32
