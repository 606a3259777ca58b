#include <fstream>

#include "tools/ToolsFixture.h"

namespace vantrel::testing {
namespace {

namespace fs = std::filesystem;
using Op = PortableFileSystem::Op;

class PortableFilesTest : public ::testing::Test {
protected:
    PortableFilesTest() : files(drive.path() / "c") { fs::create_directory(drive.path() / "c"); }
    std::string Read(const std::string& path) {
        std::string bytes;
        EXPECT_EQ(files.ReadAll(path, &bytes, false), 0) << path;
        return bytes;
    }
    std::uint32_t Bits(const std::string& path) {
        std::uint32_t bits = 0;
        EXPECT_EQ(files.GetAttributes(path, &bits), 0) << path;
        return bits;
    }
    TempFolder drive;  // the store's folder is drive/c, so drive/outside is outside it
    PortableFileSystem files;
};

TEST_F(PortableFilesTest, ComponentsMatchWithoutRegardToCase) {
    ASSERT_EQ(files.CreateFolders("C:\\WINDOWS\\System32"), 0);
    ASSERT_EQ(files.WriteAll("C:\\WINDOWS\\System32\\NtOsKrnl.exe", "MZ"), 0);
    EXPECT_EQ(Read("c:\\windows\\SYSTEM32\\ntoskrnl.EXE"), "MZ");
    EXPECT_EQ(Read("C:/Windows//system32/./ntoskrnl.exe."), "MZ");
    EXPECT_EQ(Read("C:\\Temp\\..\\windows\\system32\\ntoskrnl.exe"), "MZ");
    EXPECT_EQ(files.HostPath("C:\\windows\\system32\\NTOSKRNL.EXE"),
              drive.path() / "c" / "WINDOWS" / "System32" / "NtOsKrnl.exe");
    // Writing through another spelling replaces the same host file.
    ASSERT_EQ(files.WriteAll("c:\\windows\\system32\\NTOSKRNL.EXE", "MZ2"), 0);
    EXPECT_EQ(fs::directory_iterator(drive.path() / "c" / "WINDOWS" / "System32")->path().filename(), "NtOsKrnl.exe");
    EXPECT_EQ(Read("C:\\WINDOWS\\System32\\NtOsKrnl.exe"), "MZ2");
}

TEST_F(PortableFilesTest, PathsOffTheDriveAreRefused) {
    std::ofstream(drive.path() / "outside.txt") << "secret";
    fs::create_directory_symlink(drive.path(), drive.path() / "c" / "link");
    const char* const refused[] = {
        "D:\\boot.ini", "\\\\server\\share\\boot.ini", "boot.ini", "\\boot.ini", "C:boot.ini",
        "C:\\..\\outside.txt", "C:\\a\\..\\..\\outside.txt", "C:\\link\\outside.txt", "C:\\bad|name",
    };
    for (const char* path : refused) {
        std::string bytes;
        EXPECT_NE(files.ReadAll(path, &bytes, true), 0) << path;
        EXPECT_NE(files.WriteAll(path, "x"), 0) << path;
        EXPECT_NE(files.Delete(path), 0) << path;
        EXPECT_FALSE(files.Exists(path)) << path;
    }
    std::string bytes;
    std::ifstream(drive.path() / "outside.txt") >> bytes;
    EXPECT_EQ(bytes, "secret");
    EXPECT_FALSE(fs::exists(drive.path() / "boot.ini"));
}

TEST_F(PortableFilesTest, MissingFilesAndFolders) {
    std::string bytes = "left";
    EXPECT_EQ(files.ReadAll("C:\\none.txt", &bytes, false), 2);
    EXPECT_EQ(files.ReadAll("C:\\No Folder\\none.txt", &bytes, true), 3);
    EXPECT_EQ(files.WriteAll("C:\\No Folder\\none.txt", "x"), 3);
    EXPECT_EQ(files.ReadAll("C:\\new.txt", &bytes, true), 0);
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(Bits("C:\\new.txt"), fileattr::kArchive);
    EXPECT_EQ(files.CreateFolders("C:\\new.txt\\sub"), 183);
    EXPECT_EQ(files.CreateFolders("C:\\a\\b\\c"), 0);
    EXPECT_EQ(files.CreateFolders("C:\\A\\B"), 0);
    EXPECT_EQ(Bits("C:\\a\\b"), fileattr::kDirectory);
}

TEST_F(PortableFilesTest, AttributesGuardFilesAsWindowsDoes) {
    ASSERT_EQ(files.WriteAll("C:\\f.txt", "old"), 0);
    ASSERT_EQ(files.WriteAll("C:\\g.txt", "other"), 0);
    EXPECT_EQ(files.SetAttributes("C:\\f.txt", 0), 0);
    EXPECT_EQ(Bits("C:\\f.txt"), fileattr::kNormal);

    ASSERT_EQ(files.SetAttributes("C:\\f.txt", fileattr::kReadOnly), 0);
    EXPECT_EQ(files.WriteAll("C:\\f.txt", "new"), 5);
    EXPECT_EQ(files.Delete("C:\\f.txt"), 5);
    EXPECT_EQ(files.Replace("C:\\g.txt", "C:\\f.txt"), 5);
    EXPECT_EQ(files.Copy("C:\\g.txt", "C:\\f.txt", false), 5);
    EXPECT_EQ(Read("C:\\f.txt"), "old");

    // A hidden or system file cannot be recreated by a plain write, but can be replaced.
    for (std::uint32_t bit : {fileattr::kHidden, fileattr::kSystem}) {
        ASSERT_EQ(files.SetAttributes("C:\\f.txt", bit), 0);
        EXPECT_EQ(files.WriteAll("C:\\f.txt", "new"), 5);
    }
    ASSERT_EQ(files.SetAttributes("C:\\g.txt", fileattr::kReadOnly | fileattr::kArchive), 0);
    EXPECT_EQ(files.Replace("C:\\g.txt", "C:\\f.txt"), 0);
    EXPECT_EQ(Read("C:\\f.txt"), "other");
    EXPECT_EQ(Bits("C:\\f.txt"), fileattr::kReadOnly | fileattr::kArchive);  // the source's bits travel with it
    EXPECT_FALSE(files.Exists("C:\\g.txt"));

    EXPECT_EQ(files.Copy("C:\\f.txt", "C:\\copy.txt", true), 0);
    EXPECT_EQ(Bits("C:\\copy.txt"), fileattr::kReadOnly | fileattr::kArchive);
    EXPECT_EQ(files.Copy("C:\\f.txt", "C:\\copy.txt", true), 80);
}

TEST_F(PortableFilesTest, InjectedFailures) {
    ASSERT_EQ(files.WriteAll("C:\\f.txt", "old"), 0);

    files.FailWriteAfter("C:\\F.TXT", 3);
    EXPECT_EQ(files.WriteAll("C:\\f.txt", "abcdef"), 112);
    EXPECT_EQ(files.WriteAll("C:\\g.txt", "abcdef"), 0);  // another path writes whole
    files.ClearFailures();
    EXPECT_EQ(Read("C:\\f.txt"), "abc");

    files.FailOn(Op::Replace, "C:\\f.txt", 32);
    EXPECT_EQ(files.Replace("C:\\g.txt", "C:\\f.txt"), 32);
    EXPECT_EQ(Read("C:\\f.txt"), "abc");
    EXPECT_EQ(Read("C:\\g.txt"), "abcdef");
    files.ClearFailures();

    files.RefusePath("C:\\g.txt");
    std::string bytes;
    EXPECT_EQ(files.ReadAll("C:\\g.txt", &bytes, false), 5);
    EXPECT_EQ(files.Copy("C:\\g.txt", "C:\\h.txt", false), 5);
    EXPECT_FALSE(files.Exists("C:\\g.txt"));
    EXPECT_EQ(files.ReadAll("C:\\f.txt", &bytes, false), 0);

    files.FailOn(Op::Write, "", 29);
    EXPECT_EQ(files.WriteAll("C:\\any.txt", "x"), 29);
    files.ClearFailures();
    EXPECT_EQ(files.WriteAll("C:\\any.txt", "x"), 0);
}

}  // namespace
}  // namespace vantrel::testing
