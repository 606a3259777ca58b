// The log of an unattended run. Its first line, that the run started, is
// appended before anything else is done: a log that cannot be written stops
// the run before it does anything, and a run that ends unexpectedly still
// leaves a record. The rest is appended at the end in one go, so that it
// stays together in a shared file.
#pragma once

#include <string>

#include "model/Services.h"
#include "platform/Wording.h"

namespace vantrel {

class RunLog {
public:
    RunLog(Services& services, std::string path) : services_(services), path_(std::move(path)) {}

    // 0, or the file system's code when the log cannot be appended to.
    long Open(const std::string& command) {
        Line(command + "started.");
        return Flush();
    }

    void Line(const std::string& text) {
        const std::tm now = services_.environment.Now();
        std::string line = Stamp(now) + "  ";
        for (const char c : text) line.push_back(c == '\r' || c == '\n' ? ' ' : c);
        lines_ += line + "\r\n";
    }

    // The closing summary, then everything goes to the file.
    int Close(const std::string& summary, int code) {
        Line(summary);
        Flush();
        return code;
    }

private:
    long Flush() {
        const long error = path_.empty() ? 0 : services_.files.Append(path_, lines_);
        lines_.clear();
        return error;
    }

    Services& services_;
    std::string path_;
    std::string lines_;
};

}  // namespace vantrel
