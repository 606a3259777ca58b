#include "tools/ToolsFixture.h"
#include "tools/Tools.h"

namespace vantrel::testing {
namespace {

constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kProfile[] = "C:\\Documents and Settings\\Halvard";

struct Row {
    CacheFolder folder;
    const char* valueName;
    const char* xpLayout;
    int style;
};
const Row kRows[] = {
    {CacheFolder::History, "History", "\\Local Settings\\History", 0},
    {CacheFolder::Cookies, "Cookies", "\\Cookies", 0},
    {CacheFolder::TemporaryInternetFiles, "Cache", "\\Local Settings\\Temporary Internet Files", 2},
};

class CacheCleanupTest : public ToolsTest {
protected:
    CacheCleanupTest() { environment.setProfileFolder(kProfile); }
};

TEST_F(CacheCleanupTest, RemovesTheFoldersNamedUnderShellFolders) {
    registry.PutString(reg::kCurrentUser, kShellFolders, "History", "C:\\Documents and Settings\\Halvard\\H");
    registry.PutString(reg::kCurrentUser, kShellFolders, "Cookies", "c:\\documents and settings\\HALVARD\\Cookies");
    registry.PutString(reg::kCurrentUser, kShellFolders, "Cache", "C:/Documents and Settings/Halvard/TIF");
    for (const Row& row : kRows) ClearCache(services, row.folder);
    const std::vector<RecordingShell::Started> expected = {
        {"cmd /d /v:off /c  rd /s /q \"C:\\Documents and Settings\\Halvard\\H\"", 0},
        {"cmd /d /v:off /c  rd /s /q \"c:\\documents and settings\\HALVARD\\Cookies\"", 0},
        {"cmd /d /v:off /c  rd /s /q \"C:/Documents and Settings/Halvard/TIF\"", 2},
    };
    EXPECT_EQ(shell.started, expected);
}

TEST_F(CacheCleanupTest, FallsBackToTheXpLayoutUnderTheProfile) {
    for (const Row& row : kRows) {
        shell.started.clear();
        ClearCache(services, row.folder);
        ClearCache(services, row.folder);  // every press starts one more
        const std::string folder = std::string(kProfile) + row.xpLayout;
        const RecordingShell::Started once{"cmd /d /v:off /c  rd /s /q \"" + folder + "\"", row.style};
        EXPECT_EQ(shell.started, std::vector<RecordingShell::Started>(2, once)) << row.valueName;
    }
}

TEST_F(CacheCleanupTest, RefusesFoldersOutsideTheProfile) {
    const char* const refused[] = {
        "C:\\WINDOWS",
        "C:\\Documents and Settings\\Halvard",
        "C:\\Documents and Settings\\Halvard\\",
        "c:\\documents and settings\\halvard\\.",
        "C:\\Documents and Settings\\Halvard\\ ",
        "C:\\",
        "C:",
        "D:\\Documents and Settings\\Halvard\\Cookies",
        "\\\\server\\share\\Documents and Settings\\Halvard\\Cookies",
        "Documents and Settings\\Halvard\\Cookies",
        "C:\\Documents and Settings\\HalvardX\\Cookies",
        "C:\\Documents and Settings\\Halvard\\..\\Other\\Cookies",
        "C:\\Documents and Settings\\Halvard\\%SystemRoot%",
        "C:\\Documents and Settings\\Halvard\\Cookies\" & rd /s /q \"C:\\WINDOWS",
        // inside the profile, but cmd would not read these as a plain path
        "C:\\Documents and Settings\\Halvard\\!SystemRoot!",
        "C:\\Documents and Settings\\Halvard\\Cookies^",
        "C:\\Documents and Settings\\Halvard\\Cookies\r\nrd /s /q C:\\WINDOWS",
        "C:\\Documents and Settings\\Halvard\\Coo\x7fkies",
    };
    for (const char* folder : refused) {
        registry.PutString(reg::kCurrentUser, kShellFolders, "Cookies", folder);
        dialogs.ExpectMessage("Error", mb::kAnswerOk, {}, 48);
        ClearCache(services, CacheFolder::Cookies);
        ASSERT_FALSE(dialogs.shown.empty());
        EXPECT_NE(dialogs.shown.back().prompt.find(folder), std::string::npos) << folder;
    }
    EXPECT_TRUE(shell.started.empty());
}

TEST_F(CacheCleanupTest, RefusesEverythingWhenTheProfileIsADriveRootOrUnknown) {
    for (const char* profile : {"C:\\", "C:", ""}) {
        environment.setProfileFolder(profile);
        registry.PutString(reg::kCurrentUser, kShellFolders, "History", "C:\\History");
        dialogs.ExpectMessage("Error");
        ClearCache(services, CacheFolder::History);
    }
    EXPECT_TRUE(shell.started.empty());
}

}  // namespace
}  // namespace vantrel::testing
