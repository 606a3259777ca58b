// Start-up step times, for profiling. With the environment variable
// VANTREL_TRACE naming a file, each step is timed and, when start-up is over,
// one line per step is appended to that file: milliseconds since the process
// was created, milliseconds the step took, and the step's name. Without the
// variable nothing is timed or written, and start-up is the same.
#pragma once

#include "platform/win32/WindowsApi.h"

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vantrel::win32 {

class StartupTrace {
public:
    // Reads VANTREL_TRACE once; the steps are appended through `files`.
    explicit StartupTrace(FileSystem& files);
    ~StartupTrace();
    StartupTrace(const StartupTrace&) = delete;
    StartupTrace& operator=(const StartupTrace&) = delete;

    bool on() const { return !path_.empty(); }
    // The step that has just ended; start-up's reads mark theirs from a
    // thread of their own, so the steps are taken one at a time.
    void Mark(const char* step);
    // Appends the steps to the file (once; later marks are dropped).
    void Write();

private:
    struct Step {
        const char* name;
        double sinceCreation;  // ms
    };
    double Now() const;  // ms since the process was created

    FileSystem& files_;
    std::string path_;
    LARGE_INTEGER frequency_{};
    LARGE_INTEGER origin_{};   // counter when the trace began
    double originSinceCreation_ = 0;
    std::vector<Step> steps_;
    CRITICAL_SECTION lock_;
    bool written_ = false;
};

}  // namespace vantrel::win32
