#include "ui/win32/StartupTrace.h"

namespace vantrel::win32 {

namespace {

double FileTimeMs(const FILETIME& t) {
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    return static_cast<double>(v.QuadPart) / 10000.0;
}

}  // namespace

StartupTrace::StartupTrace(FileSystem& files) : files_(files) {
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

StartupTrace::~StartupTrace() { Write(); }

double StartupTrace::Now() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return originSinceCreation_ +
           1000.0 * static_cast<double>(now.QuadPart - origin_.QuadPart) / static_cast<double>(frequency_.QuadPart);
}

void StartupTrace::Mark(const char* step) {
    if (on() && !written_) steps_.push_back({step, Now()});
}

void StartupTrace::Write() {
    if (!on() || written_) return;
    written_ = true;
    // Plain Win32 calls and whole tenths of a millisecond: no C runtime
    // formatting is linked in for this.
    std::string text;
    double last = 0;
    for (const Step& s : steps_) {
        char line[200];
        const long at = static_cast<long>(s.sinceCreation * 10.0 + 0.5);
        const long took = static_cast<long>((s.sinceCreation - last) * 10.0 + 0.5);
        wsprintfA(line, "%6ld.%ld %6ld.%ld  ", at / 10, at % 10, took / 10, took % 10);
        text += line;
        text += s.name;
        text += "\r\n";
        last = s.sinceCreation;
    }
    text += "\r\n";
    files_.Append(path_, text);
}

}  // namespace vantrel::win32
