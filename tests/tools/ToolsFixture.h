// A main window, a splash window and the whole portable platform over a fresh
// folder standing for drive C:, for the tools' tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <filesystem>
#include <string>
#include <vector>

#include "model/Forms.h"
#include "model/Services.h"
#include "platform/portable/MemoryRegistry.h"
#include "platform/portable/PortableFiles.h"
#include "platform/portable/PortablePlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/TestRig.h"  // TempFolder

namespace vantrel::testing {

class ToolsTest : public ::testing::Test {
protected:
    ToolsTest()
        : files(drive.path()),
          services{registry, files, shell, browser, dialogs, environment, [] {}},
          form1(Form1Def()),
          form2(Form2Def()) {}

    // Writes a file through the store (folders above it created), then gives it
    // the attribute bits.
    void Put(const std::string& path, const std::string& bytes, std::uint32_t attributes = 0) {
        std::string folder = path.substr(0, path.find_last_of('\\'));
        if (folder.size() > 2) {
            ASSERT_EQ(files.CreateFolders(folder), 0) << folder;
        }
        ASSERT_EQ(files.WriteAll(path, bytes), 0) << path;
        ASSERT_EQ(files.SetAttributes(path, attributes), 0) << path;
    }
    std::string Content(const std::string& path) {
        std::string bytes;
        EXPECT_EQ(files.ReadAll(path, &bytes, false), 0) << path;
        return bytes;
    }
    std::uint32_t Attributes(const std::string& path) {
        std::uint32_t bits = 0;
        EXPECT_EQ(files.GetAttributes(path, &bits), 0) << path;
        return bits;
    }
    // Names of the host files in a folder of drive C:, sorted.
    std::vector<std::string> Listing(const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(files.HostPath(folder))) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder drive;
    PortableFileSystem files;
    MemoryRegistry registry;
    RecordingShell shell;
    RecordingBrowser browser;
    ScriptedDialogs dialogs;
    PortableEnvironment environment;
    Services services;
    Form form1;
    Form form2;
};

}  // namespace vantrel::testing
