// A whole-file write, whatever step fails and however, keeps a complete copy
// of the old or the new bytes, deletes nothing a half-done replace left, and
// says where each is and names every file it leaves.
#include <filesystem>

#include "platform/WholeFile.h"
#include "tools/ToolsFixture.h"

namespace vantrel::testing {
namespace {

using Op = PortableFileSystem::Op;
using WholeFileTest = ToolsTest;

TEST_F(WholeFileTest, EveryOutcomeKeepsACopyAndSaysWhereItIs) {
    const std::string folder = "C:\\Exports", path = folder + "\\Profile.reg";
    const struct {
        const char* name;
        std::function<void(PortableFileSystem&)> inject;
        const char* target;  // what the target holds afterwards: "old", "new" or "" (missing)
        const char* says;    // in the message
        std::size_t files;   // in the folder afterwards
    } cases[] = {
        {"replaced", [](PortableFileSystem&) {}, "new", "", 1},
        {"1175", [&](PortableFileSystem& f) { f.FailOn(Op::Replace, path, 1175); }, "old",
         "still holds the old data; the new data is in", 2},
        {"1176", [&](PortableFileSystem& f) { f.FailOn(Op::Replace, path, 1176); }, "old",
         "still holds the old data; the new data is in", 2},
        {"1177, old bytes moved back", [&](PortableFileSystem& f) { f.FailOn(Op::Replace, path, 1177); }, "old",
         "still holds the old data; the new data is in", 2},
        {"1177, old bytes stuck under the other name",
         [&](PortableFileSystem& f) { f.FailOn(Op::Replace, path, 1177), f.FailOn(Op::Move, "", 5); }, "",
         "is missing now: the old data is in", 2},
        {"access denied", [&](PortableFileSystem& f) { f.FailOn(Op::Replace, path, 5); }, "old", "still holds the old data; the new data was not kept.", 1},
        {"sharing violation, new file not removable",
         [&](PortableFileSystem& f) { f.FailOn(Op::Replace, path, 32), f.FailOn(Op::Delete, "", 5); }, "old",
         "still holds the old data; the new data is in", 2},
        {"disk full", [](PortableFileSystem& f) { f.FailWriteAfter("", 3); }, "old", "still holds the old data; the new data was not kept.", 1},
        {"disk full, unfinished file not removable",
         [](PortableFileSystem& f) { f.FailWriteAfter("", 3), f.FailOn(Op::Delete, "", 5); }, "old",
         "could not be removed; you can delete it.", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        files.ClearFailures();
        std::filesystem::remove_all(files.HostPath(folder));
        Put(path, "old");
        c.inject(files);
        const WholeFilesWritten written = WriteWholeFile(files, path, "new");
        files.ClearFailures();
        const std::string said = WhereTheDataIs(written);
        EXPECT_EQ(written.error == 0, std::string(c.target) == "new");
        EXPECT_EQ(files.Exists(path) ? Content(path) : "", c.target);
        if (*c.says) EXPECT_NE(said.find(c.says), std::string::npos) << said;
        else EXPECT_EQ(said, "");
        // Every other file is named, and holds a whole copy unless said to be unfinished.
        const std::vector<std::string> names = Listing(folder);
        EXPECT_EQ(names.size(), c.files);
        bool oldKept = std::string(c.target) == "old";
        for (const std::string& name : names) {
            if (name == "Profile.reg") continue;
            EXPECT_NE(said.find(Quoted(folder + "\\" + name)), std::string::npos) << name << ": " << said;
            oldKept = oldKept || Content(folder + "\\" + name) == "old";
        }
        EXPECT_TRUE(oldKept || written.error == 0);
    }
}

}  // namespace
}  // namespace vantrel::testing
