#include "tools/ToolsFixture.h"
#include "tools/Tools.h"

namespace vantrel::testing {
namespace {

constexpr char kBootIni[] = "C:\\boot.ini";
constexpr char kQuestion[] = "Are you sure you want to apply changes to your Boot.ini file?";
constexpr char kQuestionTitle[] = "Apply Changes to Boot.ini?";
constexpr std::uint32_t kReadOnlyHiddenSystem = fileattr::kReadOnly | fileattr::kHidden | fileattr::kSystem;

const std::string kSample =
    "[boot loader]\r\ntimeout=30\r\ndefault=multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS\r\n"
    "[operating systems]\r\nmulti(0)disk(0)rdisk(0)partition(1)\\WINDOWS=\"Microsoft Windows XP\" /fastdetect\r\n";

class BootIniTest : public ToolsTest {
protected:
    void SaveWithYes() {
        dialogs.ExpectMessage(kQuestionTitle, mb::kAnswerYes, kQuestion, 36);
        SaveBootIniClicked(form1, services);
    }
    std::string Box() { return form1.text("Text4").text(); }
};

TEST_F(BootIniTest, LoadPutsTheBytesInTheBoxAndChangesNoAttribute) {
    const std::string bytes = "a\nb\r\nc\rd\x80\xff" + std::string(1, '\0') + "end";
    Put(kBootIni, bytes, kReadOnlyHiddenSystem);
    LoadBootIni(form1, services);
    EXPECT_EQ(Box(), bytes);
    EXPECT_EQ(Attributes(kBootIni), kReadOnlyHiddenSystem);
}

TEST_F(BootIniTest, MissingFileIsCreatedEmptyAndGivesAnEmptyBox) {
    form1.text("Text4").setText("left over");
    LoadBootIni(form1, services);
    EXPECT_EQ(Box(), "");
    EXPECT_TRUE(files.Exists(kBootIni));
    EXPECT_EQ(Content(kBootIni), "");
}

TEST_F(BootIniTest, UnreadableFileEmptiesTheBoxAndSaysWhy) {
    Put(kBootIni, kSample);
    form1.text("Text4").setText("left over");
    files.FailOn(PortableFileSystem::Op::Read, kBootIni, 32);
    dialogs.ExpectMessage("Error");
    EXPECT_NO_THROW(LoadBootIni(form1, services));
    EXPECT_EQ(Box(), "");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    const std::string& prompt = dialogs.shown[0].prompt;
    EXPECT_NE(prompt.find("\"C:\\boot.ini\" could not be read"), std::string::npos) << prompt;
    EXPECT_NE(prompt.find("32"), std::string::npos) << prompt;
    EXPECT_NE(prompt.find(files.ErrorText(32)), std::string::npos) << prompt;
}

TEST_F(BootIniTest, SavingWithoutEditKeepsTextAndEveryAttributeCombination) {
    for (std::uint32_t bits = 0; bits < 16; ++bits) {
        // read-only 1, hidden 2, system 4, archive 32
        const std::uint32_t attributes = (bits & 7) | (bits & 8 ? fileattr::kArchive : 0);
        SCOPED_TRACE(attributes);
        Put(kBootIni, kSample);
        ASSERT_EQ(files.SetAttributes(kBootIni, attributes), 0);
        LoadBootIni(form1, services);
        SaveWithYes();
        EXPECT_TRUE(dialogs.shown.size() == 1) << dialogs.shown.back().prompt;
        dialogs.shown.clear();
        EXPECT_EQ(Content(kBootIni), kSample);
        EXPECT_EQ(Attributes(kBootIni), attributes ? attributes : fileattr::kNormal);
        EXPECT_EQ(Listing("C:\\"), std::vector<std::string>{"boot.ini"});
        ASSERT_EQ(files.SetAttributes(kBootIni, 0), 0);
    }
}

TEST_F(BootIniTest, LineBreakIsAddedOnlyWhenTheTextLacksOne) {
    struct Case {
        std::string box, file;
    };
    const Case cases[] = {
        {"", "\r\n"},
        {"timeout=30", "timeout=30\r\n"},
        {"a\r\nb", "a\r\nb\r\n"},
        {"a\r\n", "a\r\n"},
        {"a\n", "a\n"},  // the file's own line breaks stay as they are
        {"a\r", "a\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        Put(kBootIni, "old");
        form1.text("Text4").setText(c.box);
        SaveWithYes();
        EXPECT_EQ(Content(kBootIni), c.file);
        EXPECT_EQ(Box(), c.box);  // a save does not change the box
    }
}

TEST_F(BootIniTest, NoLeavesFileAttributesAndBoxAlone) {
    Put(kBootIni, kSample, kReadOnlyHiddenSystem);
    form1.text("Text4").setText("edited");
    dialogs.ExpectMessage(kQuestionTitle, mb::kAnswerNo, kQuestion, 36);
    SaveBootIniClicked(form1, services);
    EXPECT_EQ(Content(kBootIni), kSample);
    EXPECT_EQ(Attributes(kBootIni), kReadOnlyHiddenSystem);
    EXPECT_EQ(Box(), "edited");
}

TEST_F(BootIniTest, FailedSaveKeepsTheOldFileAndItsAttributes) {
    using Op = PortableFileSystem::Op;
    struct Case {
        const char* what;
        std::function<void(PortableFileSystem&)> inject;
        long code;
    };
    const Case cases[] = {
        {"write cut short", [](PortableFileSystem& f) { f.FailWriteAfter("", 5, 112); }, 112},
        {"write refused", [](PortableFileSystem& f) { f.FailOn(Op::Write, "", 5); }, 5},
        {"replace refused", [](PortableFileSystem& f) { f.FailOn(Op::Replace, kBootIni, 32); }, 32},
        {"attributes not cleared", [](PortableFileSystem& f) { f.FailOn(Op::SetAttributes, kBootIni, 5); }, 5},
    };
    const std::uint32_t attributes = kReadOnlyHiddenSystem | fileattr::kArchive;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Put(kBootIni, kSample, attributes);
        form1.text("Text4").setText("[boot loader]\r\n");
        c.inject(files);
        dialogs.ExpectMessage(kQuestionTitle, mb::kAnswerYes).ExpectMessage("Error", mb::kAnswerOk, {}, 48);
        SaveBootIniClicked(form1, services);
        files.ClearFailures();
        EXPECT_EQ(Content(kBootIni), kSample);
        EXPECT_EQ(Attributes(kBootIni), attributes);
        EXPECT_EQ(Listing("C:\\"), std::vector<std::string>{"boot.ini"});
        ASSERT_EQ(dialogs.shown.size(), 2u);
        const std::string& prompt = dialogs.shown[1].prompt;
        EXPECT_NE(prompt.find("C:\\boot.ini"), std::string::npos) << prompt;
        EXPECT_NE(prompt.find(files.ErrorText(c.code)), std::string::npos) << prompt;
        dialogs.shown.clear();
        ASSERT_EQ(files.SetAttributes(kBootIni, 0), 0);
    }
}

// The store, recording the steps of a save.
struct StepFiles : PortableFileSystem {
    using PortableFileSystem::PortableFileSystem;
    std::vector<std::string> steps;
    long CreateUnique(const std::string& folder, const std::string& prefix, const std::string& bytes,
                      std::string* path) override {
        steps.push_back("write");
        return PortableFileSystem::CreateUnique(folder, prefix, bytes, path);
    }
    long SetAttributes(const std::string& path, std::uint32_t bits) override {
        steps.push_back(bits ? "restore" : "clear");
        return PortableFileSystem::SetAttributes(path, bits);
    }
    long Replace(const std::string& source, const std::string& target, const std::string& backup) override {
        steps.push_back("replace");
        return PortableFileSystem::Replace(source, target, backup);
    }
};

// The new text goes to a file of its own (files already beside boot.ini are
// never used), the bits are off only for the replace, and what a failed save
// leaves behind is named.
TEST_F(BootIniTest, SaveGoesThroughAFileOfItsOwnAndNamesWhatItLeaves) {
    struct Case {
        const char* what;
        std::function<void(StepFiles&)> inject;
        const char* note;  // in the message; "" for a save that works
        std::size_t files;
    };
    const Case cases[] = {
        {"saved", [](StepFiles&) {}, "", 3},
        {"temporary file kept", [](StepFiles& f) { f.FailOn(PortableFileSystem::Op::Replace, kBootIni, 32),
                                                   f.FailOn(PortableFileSystem::Op::Delete, "", 5); },
         "still holds the old data; the new data is in", 4},
        {"old file stuck under another name",
         [](StepFiles& f) { f.FailOn(PortableFileSystem::Op::Replace, kBootIni, 1177),
                            f.FailOn(PortableFileSystem::Op::Move, "", 5); },
         "Rename one of them to \"boot.ini\"", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder drive;
        StepFiles store(drive.path());
        Services over{registry, store, shell, browser, dialogs, environment, [] {}};
        const char* const planted[] = {"C:\\boot.ini.vantrel-new", "C:\\boot.ini.00000001.tmp"};
        for (const char* path : planted) ASSERT_EQ(store.WriteAll(path, "someone else's"), 0);
        ASSERT_EQ(store.WriteAll(kBootIni, kSample), 0);
        store.SetAttributes(kBootIni, kReadOnlyHiddenSystem);
        store.steps.clear();
        c.inject(store);
        form1.text("Text4").setText("new");
        dialogs.ExpectMessage(kQuestionTitle, mb::kAnswerYes);
        if (*c.note) dialogs.ExpectMessage("Error");
        SaveBootIniClicked(form1, over);
        EXPECT_EQ(store.steps, (std::vector<std::string>{"write", "clear", "replace", "restore"}));
        EXPECT_EQ(static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(drive.path()), {})),
                  c.files);
        for (const char* path : planted) {
            std::string bytes;
            EXPECT_EQ(store.ReadAll(path, &bytes, false), 0);
            EXPECT_EQ(bytes, "someone else's") << path;
        }
        if (*c.note) {
            const std::string& prompt = dialogs.shown.back().prompt;
            EXPECT_NE(prompt.find(c.note), std::string::npos) << prompt;
            EXPECT_NE(prompt.find("C:\\boot.ini.00000002.tmp"), std::string::npos) << prompt;
        }
        dialogs.shown.clear();
    }
}

TEST_F(BootIniTest, SavingWhenTheFileIsGoneReportsAndCreatesNothing) {
    form1.text("Text4").setText("text");
    dialogs.ExpectMessage(kQuestionTitle, mb::kAnswerYes).ExpectMessage("Error");
    SaveBootIniClicked(form1, services);
    EXPECT_FALSE(files.Exists(kBootIni));
}

}  // namespace
}  // namespace vantrel::testing
