// The Win32 file, shell and environment backends, and the tools over them,
// against the real system calls (under Wine in the test run).
#include <windows.h>
#include <sddl.h>
#undef MessageBox  // the dialogs' method, not the Win32 macro

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/Forms.h"
#include "model/Services.h"
#include "platform/portable/PortablePlatform.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "registry/RegistryRoutines.h"
#include "support/ScriptedDialogs.h"
#include "tools/Tools.h"
#include "ui/win32/RegistrySnapshot.h"

namespace vantrel::testing {
namespace {

constexpr char kBootIni[] = "C:\\boot.ini";
constexpr std::uint32_t kKeptBits =
    fileattr::kReadOnly | fileattr::kHidden | fileattr::kSystem | fileattr::kArchive;

bool FolderExists(const std::string& path) {
    DWORD bits = GetFileAttributesA(path.c_str());
    return bits != INVALID_FILE_ATTRIBUTES && (bits & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ThisProgram() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    return self;
}

// A copy of this program started under the name cmd.exe stands for a cmd.exe
// planted where the search path looks first: it leaves a mark beside itself
// and ends before any test runs.
[[maybe_unused]] const bool kPlantedCmd = [] {
    const std::string self = ThisProgram();
    if (self.size() < 8 || lstrcmpiA(self.c_str() + self.size() - 8, "\\cmd.exe") != 0) return false;
    CloseHandle(CreateFileA((self.substr(0, self.size() - 7) + "planted-ran").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr));
    ExitProcess(0);
}();

// The owner and access list of a file, as text.
std::string Protection(const std::string& path) {
    const SECURITY_INFORMATION what = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    DWORD size = 0;
    GetFileSecurityA(path.c_str(), what, nullptr, 0, &size);
    std::vector<char> sd(size);
    char* text = nullptr;
    if (!size || !GetFileSecurityA(path.c_str(), what, sd.data(), size, &size) ||
        !ConvertSecurityDescriptorToStringSecurityDescriptorA(sd.data(), SDDL_REVISION_1, what, &text, nullptr))
        return "unreadable";
    std::string result = text;
    LocalFree(text);
    return result;
}

// A fresh folder in the user's temporary folder, removed at the end.
class ScratchFolder {
public:
    ScratchFolder() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "vantrel-tools-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount());
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { Remove(path_); }
    const std::string& path() const { return path_; }

private:
    static void Remove(const std::string& folder) {
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::string name = found.cFileName;
                if (name == "." || name == "..") continue;
                std::string path = folder + "\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    Remove(path);
                } else {
                    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileA(path.c_str());
                }
            } while (FindNextFileA(h, &found));
            FindClose(h);
        }
        RemoveDirectoryA(folder.c_str());
    }
    std::string path_;
};

class ToolsWine : public ::testing::Test {
protected:
    ToolsWine() : services{registry, files, shell, browser, dialogs, environment, [] {}} {}

    Win32FileSystem files;
    Win32Registry registry;
    Win32CommandShell shell;
    RecordingBrowser browser;
    ScriptedDialogs dialogs;
    Win32Environment environment;
    Services services;
    Form form1{Form1Def()};
    Form form2{Form2Def()};
};

TEST_F(ToolsWine, FileBackendGivesTheCodesTheToolsRelyOn) {
    ScratchFolder scratch;
    const std::string file = scratch.path() + "\\a.txt";
    std::string bytes = "left";
    EXPECT_EQ(files.ReadAll(file, &bytes, false), 2);
    EXPECT_EQ(files.ReadAll(file, &bytes, true), 0);
    EXPECT_EQ(bytes, "");
    EXPECT_TRUE(files.Exists(file));

    const std::string content("MZ\0\r\n\x80\xff", 7);
    ASSERT_EQ(files.WriteAll(file, content), 0);
    ASSERT_EQ(files.ReadAll(file, &bytes, false), 0);
    EXPECT_EQ(bytes, content);

    ASSERT_EQ(files.SetAttributes(file, fileattr::kReadOnly), 0);
    std::uint32_t bits = 0;
    ASSERT_EQ(files.GetAttributes(file, &bits), 0);
    EXPECT_TRUE(bits & fileattr::kReadOnly);
    EXPECT_EQ(files.ReadAll(file, &bytes, false), 0);  // a read-only file still reads
    EXPECT_EQ(files.SetAttributes(file, 0), 0);
    ASSERT_EQ(files.GetAttributes(file, &bits), 0);
    EXPECT_FALSE(bits & fileattr::kReadOnly);

    const std::string copy = scratch.path() + "\\b.txt";
    EXPECT_EQ(files.Copy(file, copy, true), 0);
    EXPECT_EQ(files.Copy(file, copy, true), 80);
    ASSERT_EQ(files.WriteAll(copy, "new"), 0);
    EXPECT_EQ(files.Replace(copy, file), 0);
    EXPECT_FALSE(files.Exists(copy));
    ASSERT_EQ(files.ReadAll(file, &bytes, false), 0);
    EXPECT_EQ(bytes, "new");
    // Replaced with a backup name, the old bytes end there; a move never takes a name that exists.
    const std::string old = scratch.path() + "\\a.old";
    ASSERT_EQ(files.WriteAll(copy, "newer"), 0);
    EXPECT_EQ(files.Replace(copy, file, old), 0);
    ASSERT_EQ(files.ReadAll(old, &bytes, false), 0);
    EXPECT_EQ(bytes, "new");
    const long taken = files.Move(old, file);
    EXPECT_TRUE(taken == 80 || taken == 183) << taken;
    EXPECT_EQ(files.Move(old, copy), 0);
    EXPECT_FALSE(files.Exists(old));
    EXPECT_EQ(files.Delete(copy), 0);
    EXPECT_EQ(files.Delete(file), 0);
    EXPECT_EQ(files.Delete(file), 2);

    std::string first, second;  // names nobody holds, one per call
    ASSERT_EQ(files.CreateUnique(scratch.path(), "t.", "one", &first), 0);
    ASSERT_EQ(files.CreateUnique(scratch.path() + "\\", "t.", "two", &second), 0);
    EXPECT_NE(first, second);
    EXPECT_EQ(first.rfind(scratch.path() + "\\t.", 0), 0u) << first;
    ASSERT_EQ(files.ReadAll(second, &bytes, false), 0);
    EXPECT_EQ(bytes, "two");

    EXPECT_EQ(files.CreateFolders(scratch.path() + "\\x\\y\\z"), 0);
    EXPECT_TRUE(FolderExists(scratch.path() + "\\x\\y\\z"));
    EXPECT_EQ(files.CreateFolders(scratch.path() + "\\x\\y"), 0);

    const std::string text = files.ErrorText(2);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
}

// Puts C:\boot.ini back as it was, bytes and attributes, or removes it.
class BootIniGuard {
public:
    explicit BootIniGuard(FileSystem& files) : files_(files) {
        existed_ = files.ReadAll(kBootIni, &bytes_, false) == 0;
        if (existed_) files.GetAttributes(kBootIni, &attributes_);
    }
    ~BootIniGuard() {
        files_.SetAttributes(kBootIni, 0);
        if (existed_) {
            files_.WriteAll(kBootIni, bytes_);
            files_.SetAttributes(kBootIni, attributes_ & kKeptBits);
        } else {
            files_.Delete(kBootIni);
        }
    }

private:
    FileSystem& files_;
    bool existed_ = false;
    std::string bytes_;
    std::uint32_t attributes_ = 0;
};

TEST_F(ToolsWine, BootIniSaveKeepsItsTextAttributesAndProtection) {
    BootIniGuard guard(files);
    const std::string sample = "[boot loader]\r\ntimeout=30\r\n[operating systems]\r\n";
    files.SetAttributes(kBootIni, 0);
    ASSERT_EQ(files.WriteAll(kBootIni, sample), 0);
    // Only the system and the owner may use it, unlike a file newly made beside it.
    const std::string made = Protection(kBootIni);
    const std::string owner = made.substr(2, made.find("D:") - 2);
    PSECURITY_DESCRIPTOR closed = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
        ("D:P(A;;FA;;;SY)(A;;FA;;;" + owner + ")").c_str(), SDDL_REVISION_1, &closed, nullptr));
    ASSERT_TRUE(SetFileSecurityA(kBootIni, DACL_SECURITY_INFORMATION, closed));
    LocalFree(closed);
    ASSERT_EQ(files.SetAttributes(kBootIni, fileattr::kReadOnly | fileattr::kHidden | fileattr::kSystem), 0);
    const std::string protection = Protection(kBootIni);
    ASSERT_NE(protection, made);
    std::uint32_t before = 0;
    ASSERT_EQ(files.GetAttributes(kBootIni, &before), 0);
    ASSERT_TRUE(before & fileattr::kReadOnly);

    LoadBootIni(form1, services);
    EXPECT_EQ(form1.text("Text4").text(), sample);
    dialogs.ExpectMessage("Apply Changes to Boot.ini?", mb::kAnswerYes);
    SaveBootIniClicked(form1, services);

    std::string bytes;
    ASSERT_EQ(files.ReadAll(kBootIni, &bytes, false), 0);
    EXPECT_EQ(bytes, sample);
    std::uint32_t after = 0;
    ASSERT_EQ(files.GetAttributes(kBootIni, &after), 0);
    EXPECT_EQ(after & kKeptBits, before & kKeptBits);

    form1.text("Text4").setText("[boot loader]");
    dialogs.ExpectMessage("Apply Changes to Boot.ini?", mb::kAnswerYes);
    SaveBootIniClicked(form1, services);
    ASSERT_EQ(files.ReadAll(kBootIni, &bytes, false), 0);
    EXPECT_EQ(bytes, "[boot loader]\r\n");
    ASSERT_EQ(files.GetAttributes(kBootIni, &after), 0);
    EXPECT_EQ(after & kKeptBits, before & kKeptBits);
    EXPECT_TRUE(dialogs.shown.size() == 2) << dialogs.shown.back().prompt;
    EXPECT_EQ(Protection(kBootIni), protection);
    WIN32_FIND_DATAA found;
    HANDLE left = FindFirstFileA("C:\\boot.ini?*", &found);
    EXPECT_EQ(left, INVALID_HANDLE_VALUE) << "left beside it: " << found.cFileName;
    if (left != INVALID_HANDLE_VALUE) FindClose(left);
}

TEST_F(ToolsWine, StartupItemIsAddedToAndRemovedFromTheRunKey) {
    constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::string title = "vantrel-wine-test-" + std::to_string(GetCurrentProcessId()) + ".exe";
    const std::string path = "C:\\VantrelTest\\" + title;
    struct Cleanup {
        Registry& registry;
        std::string name;
        ~Cleanup() { DelSetting(registry, reg::kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", name); }
    } cleanup{registry, title};

    dialogs.ExpectOpen(path, title);
    AddStartupItem(form1, services, false);
    EXPECT_EQ(GetString(registry, reg::kCurrentUser, kRun, title), path);

    LoadStartupItems(form1, form2, services);
    const auto& items = form1.list("List3").items();
    auto found = std::find(items.begin(), items.end(), title);
    ASSERT_NE(found, items.end());
    EXPECT_EQ(std::count(items.begin(), items.end(), title), 1);

    form1.list("List3").setListIndex(static_cast<int>(found - items.begin()));
    RemoveStartupItem(form1, services, false);
    EXPECT_EQ(std::count(form1.list("List3").items().begin(), form1.list("List3").items().end(), title), 0);
    std::uint32_t size = 0;
    RegKey key = 0;
    ASSERT_EQ(registry.OpenKey(reg::kCurrentUser, kRun, &key), 0);
    EXPECT_EQ(registry.QueryValue(key, title, nullptr, nullptr, &size), reg::kFileNotFound);
    registry.CloseKey(key);
}

TEST_F(ToolsWine, DeleteCookiesRemovesTheUsersCookieFolder) {
    const std::string profile = environment.ProfileFolder();
    ASSERT_FALSE(profile.empty());
    std::string folder = GetString(registry, reg::kCurrentUser,
                                   "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Cookies");
    if (folder.empty()) folder = profile + "\\Cookies";
    ASSERT_EQ(files.CreateFolders(folder + "\\sub"), 0) << folder;
    ASSERT_EQ(files.WriteAll(folder + "\\sub\\cookie.txt", "user@example"), 0);

    ClearCache(services, CacheFolder::Cookies);
    for (int waited = 0; waited < 200 && FolderExists(folder); ++waited) Sleep(100);
    EXPECT_FALSE(FolderExists(folder)) << folder;
    files.CreateFolders(folder);  // leave the prefix with an empty cookie folder
}

TEST_F(ToolsWine, InterpreterIsTheSystemsWhateverTheCurrentFolderHolds) {
    ScratchFolder scratch;
    ASSERT_TRUE(CopyFileA(ThisProgram().c_str(), (scratch.path() + "\\cmd.exe").c_str(), FALSE));
    const std::string cache = scratch.path() + "\\cache", planted = scratch.path() + "\\planted-ran";
    ASSERT_EQ(files.CreateFolders(cache + "\\sub"), 0);
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    SetCurrentDirectoryA(scratch.path().c_str());  // where the Open dialog may leave it
    shell.Run("cmd /d /v:off /c  rd /s /q \"" + cache + "\"", 0);
    SetCurrentDirectoryA(before);
    for (int waited = 0; waited < 200 && FolderExists(cache) && !files.Exists(planted); ++waited) Sleep(100);
    EXPECT_FALSE(files.Exists(planted)) << "the cmd.exe of the current folder ran";
    EXPECT_FALSE(FolderExists(cache));
}

// Where the application-data folder is looked for: created when the user
// moved it and it does not exist yet, else under the profile, else unknown.
TEST_F(ToolsWine, ApplicationDataFolderIsCreatedOrFoundUnderTheProfile) {
    const std::string explorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
    const test::StoredValue saved[] = {
        test::ReadStored(registry, reg::kCurrentUser, explorer + "User Shell Folders", "AppData"),
        test::ReadStored(registry, reg::kCurrentUser, explorer + "Shell Folders", "AppData")};
    const std::string profile = environment.ProfileFolder();
    const std::string moved = profile + "\\Moved AppData " + std::to_string(GetCurrentProcessId());
    const std::string cases[][3] = {  // stored, USERPROFILE, found
        {moved, profile, moved},
        {"Q:\\nowhere\\AppData", profile, profile + "\\Application Data"},
        {"Q:\\nowhere\\AppData", "", ""},
    };
    for (const auto& [stored, variable, found] : cases) {
        for (const test::StoredValue& v : saved) SaveString(registry, v.root, v.key, "AppData", stored);
        SetEnvironmentVariableA("USERPROFILE", variable.empty() ? nullptr : variable.c_str());
        EXPECT_EQ(environment.AppDataFolder(), found) << stored;
    }
    SetEnvironmentVariableA("USERPROFILE", profile.c_str());
    for (const test::StoredValue& v : saved) test::WriteStored(registry, v);
    EXPECT_TRUE(FolderExists(moved));
    RemoveDirectoryA(moved.c_str());
}

TEST_F(ToolsWine, EnvironmentNamesTheUsersFoldersAndTheTime) {
    const std::string profile = environment.ProfileFolder();
    EXPECT_TRUE(FolderExists(profile)) << profile;
    EXPECT_TRUE(FolderExists(environment.AppDataFolder())) << environment.AppDataFolder();
    std::tm now = environment.Now();
    EXPECT_GE(now.tm_year, 100);
    EXPECT_GE(now.tm_mon, 0);
    EXPECT_LE(now.tm_mon, 11);
}

}  // namespace
}  // namespace vantrel::testing
