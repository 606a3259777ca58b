// Times programs from outside, the same way for each (a bench program, not a
// test): the clock is QueryPerformanceCounter, read just before
// CreateProcess.
//
//   launch_timer window EXE CAPTION [ARGUMENTS]
//       waits for a visible top-level window of the process with that
//       caption (polled about every millisecond): "shown"; then sends it
//       WM_NULL and waits for the answer, which comes only once the program's
//       message loop runs: "usable". Prints "<shown ms> <usable ms> <peak
//       working set bytes>" (the working set read when it is usable), then
//       closes the window and waits for the process to end.
//   launch_timer exit EXE [ARGUMENTS]
//       waits for the process to end. Prints "<ms> <exit code> <peak working
//       set bytes>" (the highest peak seen while it ran, read about every
//       millisecond: a process that ends within the first millisecond or
//       two may report 0).
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

double Elapsed(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Search {
    DWORD process;
    const char* caption;
    HWND found;
};

BOOL CALLBACK Match(HWND hwnd, LPARAM data) {
    auto* s = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    char text[256] = "";
    if (owner == s->process && IsWindowVisible(hwnd) && GetWindowTextA(hwnd, text, sizeof text) &&
        std::strcmp(text, s->caption) == 0) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

SIZE_T PeakWorkingSet(HANDLE process) {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    return GetProcessMemoryInfo(process, &memory, sizeof memory) ? memory.PeakWorkingSetSize : 0;
}

bool Start(const std::string& exe, const std::string& arguments, PROCESS_INFORMATION* pi, LARGE_INTEGER* start) {
    std::string line = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    QueryPerformanceCounter(start);
    return CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, pi) != 0;
}

int Window(const std::string& exe, const char* caption, const std::string& arguments) {
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER start;
    if (!Start(exe, arguments, &pi, &start)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
        return 1;
    }
    Search search{pi.dwProcessId, caption, nullptr};
    const DWORD until = GetTickCount() + 30000;
    while (EnumWindows(Match, reinterpret_cast<LPARAM>(&search)), !search.found && GetTickCount() < until) Sleep(1);
    int status = 0;
    if (search.found) {
        const double shown = Elapsed(start);
        DWORD_PTR answer = 0;
        const bool answered = SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer) != 0;
        const double usable = Elapsed(start);
        if (answered) {
            std::printf("%.1f %.1f %lu\n", shown, usable, static_cast<unsigned long>(PeakWorkingSet(pi.hProcess)));
        } else {
            std::fprintf(stderr, "\"%s\" did not answer within 30 s\n", caption);
            status = 1;
        }
        PostMessageA(search.found, WM_CLOSE, 0, 0);
    } else {
        std::fprintf(stderr, "no window \"%s\" within 30 s\n", caption);
        status = 1;
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
        status = 1;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return status;
}

int Exit(const std::string& exe, const std::string& arguments) {
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER start;
    if (!Start(exe, arguments, &pi, &start)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
        return 1;
    }
    int status = 0;
    // An ended process may no longer report its working set, so the peak is
    // read while it runs, every millisecond or so, and the highest kept.
    SIZE_T peak = 0;
    DWORD waited = WAIT_TIMEOUT;
    const DWORD until = GetTickCount() + 30000;
    while ((waited = WaitForSingleObject(pi.hProcess, 1)) == WAIT_TIMEOUT && GetTickCount() < until) {
        const SIZE_T now = PeakWorkingSet(pi.hProcess);
        if (now > peak) peak = now;
    }
    if (waited == WAIT_OBJECT_0) {
        const double ms = Elapsed(start);
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        const SIZE_T last = PeakWorkingSet(pi.hProcess);
        std::printf("%.1f %lu %lu\n", ms, code, static_cast<unsigned long>(last > peak ? last : peak));
    } else {
        std::fprintf(stderr, "%s did not end within 30 s\n", exe.c_str());
        TerminateProcess(pi.hProcess, 1);
        status = 1;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return status;
}

// The arguments from the given one on, each quoted when it holds a blank.
std::string Rest(int argc, char** argv, int from) {
    std::string line;
    for (int i = from; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!line.empty()) line += ' ';
        line += arg.find(' ') == std::string::npos ? arg : "\"" + arg + "\"";
    }
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "window" && argc >= 4) return Window(argv[2], argv[3], Rest(argc, argv, 4));
    if (mode == "exit" && argc >= 3) return Exit(argv[2], Rest(argc, argv, 3));
    std::fprintf(stderr, "usage: launch_timer window EXE CAPTION [ARGUMENTS] | exit EXE [ARGUMENTS]\n");
    return 2;
}
