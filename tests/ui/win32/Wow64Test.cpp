// Vantrel on 64-bit Windows: run by the wow64_under_wine group in a 64-bit
// prefix of its own, set to Windows XP x64, where the exe and this test (both
// 32-bit) run under WOW64. /apply writes the owner Windows reads, the startup
// items list shows the machine's Run keys of both views, and the screen tool
// replaces the real system folder's file, not the 32-bit copy.
#include "platform/win32/WindowsApi.h"

#include <fstream>

#include <gtest/gtest.h>

#include "model/Forms.h"
#include "platform/portable/PortablePlatform.h"
#include "platform/win32/NativeFileSystem.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Registry.h"
#include "registry/NativeView.h"
#include "settings/TweakRow.h"
#include "support/ScriptedDialogs.h"
#include "tools/Tools.h"
#include "ui/win32/RunningExe.h"

namespace vantrel::test {
namespace {

const char* const kVersion = R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion)";
const char* const kRun = R"(SOFTWARE\Microsoft\Windows\CurrentVersion\Run)";

TEST(Wow64Wine, ApplyStartupItemsAndScreensReachWhatWindowsUses) {
    Win32Environment environment;
    ASSERT_TRUE(environment.RunsUnderWow64()) << "a 64-bit prefix is needed (the wow64_under_wine group)";
    Win32Registry registry;
    Win32FileSystem plainFiles;
    NativeViewRegistry view(registry, true);
    const auto nativeFiles = NativeFileSystem(plainFiles, true);
    FileSystem& files = *nativeFiles;
    RecordingShell shell;
    RecordingBrowser browser;
    testing::ScriptedDialogs dialogs;
    Services services{view, files, shell, browser, dialogs, environment, [] {}};

    for (const TweakRow& row : PersonalFolderRows()) {
        ASSERT_EQ(SaveString(registry, reg::kCurrentUser, row.loadKey, row.value, "C:\\Folders\\" + row.value),
                  WriteResult::Stored);
    }
    SaveString(registry, reg::kLocalMachine64, kVersion, "RegisteredOwner", "Owner 64");
    SaveString(registry, reg::kLocalMachine32, kVersion, "RegisteredOwner", "Owner 32");
    const std::string profile = "C:\\wow64-profile.reg";
    std::ofstream(profile, std::ios::binary) << "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\" << kVersion
                                             << "]\r\n\"RegisteredOwner\"=\"New Owner\"\r\n";
    bool shown = false;
    EXPECT_EQ(RunToEnd("/apply \"" + profile + "\"", &shown), 0);
    EXPECT_FALSE(shown);
    EXPECT_EQ(GetString(registry, reg::kLocalMachine64, kVersion, "RegisteredOwner"), "New Owner");
    EXPECT_EQ(GetString(registry, reg::kLocalMachine32, kVersion, "RegisteredOwner"), "Owner 32");

    SaveString(registry, reg::kLocalMachine64, kRun, "Agent64", "agent64.exe");
    SaveString(registry, reg::kLocalMachine32, kRun, "Agent32", "agent32.exe");
    Form form1(Form1Def()), form2(Form2Def());
    LoadStartupItems(form1, form2, services);
    for (const char* entry : {"Agent64", "Agent32 (32-bit)"}) {
        const std::vector<std::string>& listed = form1.list("List2").items();
        EXPECT_NE(std::find(listed.begin(), listed.end(), entry), listed.end()) << entry;
    }

    auto read = [](FileSystem& from, const std::string& path) {
        std::string bytes;
        EXPECT_EQ(from.ReadAll(path, &bytes, false), 0) << path;
        return bytes;
    };
    const std::string system = "C:\\WINDOWS\\system32\\ntoskrnl.exe", copy32 = "C:\\WINDOWS\\syswow64\\ntoskrnl.exe";
    const std::string original = read(files, system), original32 = read(plainFiles, copy32);
    ASSERT_TRUE(original != original32) << "the real file and the 32-bit copy are told apart";
    ASSERT_EQ(plainFiles.WriteAll("C:\\screen.exe", "MZ boot screen"), 0);
    form1.text("Text2").setText("C:\\screen.exe");
    dialogs.ExpectMessage("Note:");
    ChangeScreen(form1, services, Screen::Boot);
    dialogs.Verify();
    EXPECT_EQ(read(files, system), "MZ boot screen");
    EXPECT_TRUE(read(plainFiles, copy32) == original32) << "the 32-bit copy is left alone";
    EXPECT_TRUE(read(plainFiles, "C:\\ntoskrnl.exe") == original) << "the backup is the real file";
}

}  // namespace
}  // namespace vantrel::test
