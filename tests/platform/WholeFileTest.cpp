// A whole-file write that fails at any step leaves the file as it was and no
// temporary file behind, or names the one it could not remove.
#include <filesystem>

#include "platform/WholeFile.h"
#include "tools/ToolsFixture.h"


namespace vantrel::testing {
namespace {

using Op = PortableFileSystem::Op;

using WholeFileTest = ToolsTest;

TEST_F(WholeFileTest, AFailedStepKeepsTheOldFile) {
    const std::string path = "C:\\Exports\\Profile.reg";
    const struct {
        const char* name;
        std::function<void(PortableFileSystem&)> inject;
        bool leftBehind;
    } cases[] = {
        {"disk full while writing", [](PortableFileSystem& f) { f.FailWriteAfter("", 3); }, false},
        {"replace refused", [&](PortableFileSystem& f) { f.FailOn(Op::Replace, path, 32); }, false},
        {"replace and removal refused",
         [&](PortableFileSystem& f) {
             f.FailOn(Op::Replace, path, 32);
             f.FailOn(Op::Delete, "", 5);
         },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        files.ClearFailures();
        Put(path, "old text");
        for (const std::string& name : Listing("C:\\Exports")) {
            if (name != "Profile.reg") std::filesystem::remove(files.HostPath("C:\\Exports\\" + name));
        }
        c.inject(files);
        std::string leftBehind;
        EXPECT_NE(WriteWholeFile(files, path, "new text, longer than the old", &leftBehind), 0);
        files.ClearFailures();
        std::string bytes;
        ASSERT_EQ(files.ReadAll(path, &bytes, false), 0);
        EXPECT_EQ(bytes, "old text");
        EXPECT_EQ(leftBehind.empty(), !c.leftBehind) << leftBehind;
        EXPECT_EQ(Listing("C:\\Exports").size(), c.leftBehind ? 2u : 1u);
    }

    // And without a failure, the new text takes the name.
    EXPECT_EQ(WriteWholeFile(files, "C:\\Exports\\New.reg", "fresh"), 0);
    std::string bytes;
    ASSERT_EQ(files.ReadAll("C:\\Exports\\New.reg", &bytes, false), 0);
    EXPECT_EQ(bytes, "fresh");
}

}  // namespace
}  // namespace vantrel::testing
