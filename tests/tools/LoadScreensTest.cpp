#include "tools/ToolsFixture.h"
#include "tools/Tools.h"

namespace vantrel::testing {
namespace {

constexpr char kSafeModeNote[] =
    "NOTE: You must be in Safe Mode to do this, otherwise Windows will just boot with the normal screen.";

struct Row {
    Screen screen;
    const char* box;
    const char* systemFile;
    const char* backup;
};
void PrintTo(const Row& row, std::ostream* os) { *os << row.systemFile; }
const Row kRows[] = {
    {Screen::Boot, "Text2", "C:\\WINDOWS\\system32\\ntoskrnl.exe", "C:\\ntoskrnl.exe"},
    {Screen::Logon, "Text3", "C:\\WINDOWS\\system32\\logonui.exe", "C:\\logonui.exe"},
};

class LoadScreensTest : public ToolsTest, public ::testing::WithParamInterface<Row> {
protected:
    const Row& row() const { return GetParam(); }
    void Change(const std::string& chosen) {
        form1.text(row().box).setText(chosen);
        ChangeScreen(form1, services, row().screen);
    }
    void ExpectNote() { dialogs.ExpectMessage("Note:", mb::kAnswerOk, kSafeModeNote, 64); }
    // The last message shown, which must be an "Error" naming `path`.
    void ExpectErrorNaming(const std::string& path) {
        ASSERT_FALSE(dialogs.shown.empty());
        EXPECT_EQ(dialogs.shown.back().title, "Error");
        EXPECT_EQ(dialogs.shown.back().style, 48);
        EXPECT_NE(dialogs.shown.back().prompt.find(path), std::string::npos) << dialogs.shown.back().prompt;
    }
};

TEST_P(LoadScreensTest, EmptyBoxOnlySaysSoAndTouchesNothing) {
    Put(row().systemFile, "MZoriginal");
    dialogs.ExpectMessage("Error", mb::kAnswerOk, "No file specified", 48);
    Change("");
    EXPECT_FALSE(files.Exists(row().backup));
    EXPECT_EQ(Content(row().systemFile), "MZoriginal");
}

TEST_P(LoadScreensTest, ChangeKeepsTheFirstOriginalAsBackup) {
    Put(row().systemFile, "MZoriginal");
    Put("C:\\Screens\\first.exe", "MZfirst");
    Put("C:\\Screens\\second.exe", "MZsecond");

    ExpectNote();
    Change("C:\\Screens\\first.exe");
    EXPECT_EQ(Content(row().backup), "MZoriginal");
    EXPECT_EQ(Content(row().systemFile), "MZfirst");

    ExpectNote();
    Change("C:\\Screens\\second.exe");
    EXPECT_EQ(Content(row().backup), "MZoriginal");
    EXPECT_EQ(Content(row().systemFile), "MZsecond");
    EXPECT_EQ(Listing("C:\\WINDOWS\\system32").size(), 1u);  // no file left beside it
}

TEST_P(LoadScreensTest, FileThatIsNotAProgramIsRefused) {
    for (const std::string bytes : {"PK\x03\x04", "M", "", "mz lower case"}) {
        SCOPED_TRACE(bytes);
        Put(row().systemFile, "MZoriginal");
        Put("C:\\Screens\\picture.exe", bytes);
        ExpectNote();
        dialogs.ExpectMessage("Error");
        Change("C:\\Screens\\picture.exe");
        ExpectErrorNaming("C:\\Screens\\picture.exe");
        EXPECT_EQ(Content(row().systemFile), "MZoriginal");
        EXPECT_FALSE(files.Exists(row().backup));
    }
}

TEST_P(LoadScreensTest, FailedReplacementLeavesTheSystemFileWhole) {
    using Op = PortableFileSystem::Op;
    const std::function<void(PortableFileSystem&)> failures[] = {
        [](PortableFileSystem& f) { f.FailWriteAfter("", 3); },
        [&](PortableFileSystem& f) { f.FailOn(Op::Replace, row().systemFile, 32); },
    };
    for (const auto& inject : failures) {
        Put(row().systemFile, "MZoriginal system file");
        Put("C:\\Screens\\new.exe", "MZnew screen");
        inject(files);
        ExpectNote();
        dialogs.ExpectMessage("Error");
        Change("C:\\Screens\\new.exe");
        files.ClearFailures();
        ExpectErrorNaming(row().systemFile);
        EXPECT_EQ(Content(row().systemFile), "MZoriginal system file");
        EXPECT_EQ(Listing("C:\\WINDOWS\\system32").size(), 1u);
        // A backup copy is whole or not there: a cut one would pass for the original.
        EXPECT_TRUE(!files.Exists(row().backup) || Content(row().backup) == "MZoriginal system file");
        std::filesystem::remove(files.HostPath(row().backup));
    }
}

TEST_P(LoadScreensTest, MissingSystemFileStopsBeforeTheReplacement) {
    Put("C:\\WINDOWS\\system32\\other.dll", "MZ");
    Put("C:\\Screens\\new.exe", "MZnew");
    ExpectNote();
    dialogs.ExpectMessage("Error");
    Change("C:\\Screens\\new.exe");
    ExpectErrorNaming(row().systemFile);
    EXPECT_FALSE(files.Exists(row().systemFile));
    EXPECT_FALSE(files.Exists(row().backup));
}

TEST_P(LoadScreensTest, AnythingButAProgramAtTheBackupPathStopsTheChange) {
    const std::function<void()> stale[] = {
        [&] { ASSERT_EQ(files.CreateFolders(row().backup), 0); },
        [&] { Put(row().backup, ""); },
        [&] { Put(row().backup, "old notes"); },
        [&] { Put(row().backup, "MZ"), files.FailOn(PortableFileSystem::Op::Read, row().backup, 32); },
    };
    for (const auto& plant : stale) {
        std::filesystem::remove_all(files.HostPath(row().backup));
        Put(row().systemFile, "MZoriginal");
        Put("C:\\Screens\\new.exe", "MZnew");
        plant();
        ExpectNote();
        dialogs.ExpectMessage("Error");
        Change("C:\\Screens\\new.exe");
        ExpectErrorNaming(row().backup);
        files.ClearFailures();
        EXPECT_EQ(Content(row().systemFile), "MZoriginal");
    }
}

TEST_P(LoadScreensTest, BrowseFillsTheBoxAndACancelLeavesIt) {
    dialogs.ExpectOpen("C:\\Screens\\boot.exe", "boot.exe");
    BrowseScreen(form1, services, row().screen);
    EXPECT_EQ(form1.text(row().box).text(), "C:\\Screens\\boot.exe");
    dialogs.ExpectOpenCancelled();
    BrowseScreen(form1, services, row().screen);
    EXPECT_EQ(form1.text(row().box).text(), "C:\\Screens\\boot.exe");
}

INSTANTIATE_TEST_SUITE_P(BothScreens, LoadScreensTest, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return info.param.screen == Screen::Boot ? "Boot" : "Logon"; });

}  // namespace
}  // namespace vantrel::testing
