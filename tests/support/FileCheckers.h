// The checkers the native tests run over files the product wrote: Python
// scripts in tests/registry, run with Debian's own Python (its Samba module
// loads only there). Each prints what it read, one line per entry.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace vantrel::testing {

// The script's output for the file; a failing script fails the test.
inline std::string RunChecker(const std::string& script, const std::filesystem::path& file) {
    const std::string command = "PYTHONIOENCODING=utf-8 /usr/bin/python3 " VANTREL_TESTS_DIR "/registry/" + script +
                                " '" + file.string() + "' 2>&1";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
        EXPECT_EQ(pclose(pipe), 0) << script << ": " << out;
    }
    return out;
}

}  // namespace vantrel::testing
