#include <cstring>

#include "registry/NativeView.h"
#include "tools/ToolsFixture.h"
#include "tools/Tools.h"

namespace vantrel::testing {
namespace {

constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

class StartupItemsTest : public ToolsTest {
protected:
    std::vector<std::string> CurrentUser() { return form1.list("List3").items(); }
    std::vector<std::string> LocalMachine() { return form1.list("List2").items(); }
    void Load() { LoadStartupItems(form1, form2, services); }
};

TEST_F(StartupItemsTest, ListsSubkeysThenValuesWithDataOfEachRoot) {
    registry.PutString(reg::kCurrentUser, kRun, "ctfmon.exe", "C:\\WINDOWS\\system32\\ctfmon.exe");
    registry.Put(reg::kCurrentUser, kRun, "NoData", reg::kSz, {});
    registry.PutString(reg::kCurrentUser, kRun, "EmptyText", "");  // one byte: its NUL
    registry.PutString(reg::kCurrentUser, kRun, "Long", std::string(600, 'x'));
    registry.Put(reg::kCurrentUser, kRun, "Binary", reg::kBinary, {1, 2, 3});
    registry.PutString(reg::kCurrentUser, kRun, std::string(300, 'n'), "C:\\long.exe");  // name too long to list
    registry.Put(reg::kCurrentUser, std::string(kRun) + "\\Sub", "", reg::kSz, Bytes("x"));
    registry.PutString(reg::kLocalMachine, kRun, "SoundMan", "SOUNDMAN.EXE");
    registry.Put(reg::kLocalMachine, std::string(kRun) + "\\OptionalComponents", "", reg::kSz, Bytes("x"));
    Load();
    EXPECT_EQ(CurrentUser(), (std::vector<std::string>{"Sub", "ctfmon.exe", "EmptyText", "Long", "Binary"}));
    EXPECT_EQ(LocalMachine(), (std::vector<std::string>{"OptionalComponents", "SoundMan"}));
    EXPECT_EQ(form2.printed(), (std::vector<std::string>{"RegEnumKeyEx", "", "RegEnumValue", "RegEnumKeyEx", "",
                                                         "RegEnumValue"}));
    EXPECT_TRUE(form2.autoRedraw);
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(StartupItemsTest, MissingKeyPrintsAnErrorLineForEachPass) {
    registry.PutString(reg::kLocalMachine, kRun, "SoundMan", "SOUNDMAN.EXE");
    Load();
    EXPECT_TRUE(CurrentUser().empty());
    EXPECT_EQ(LocalMachine(), std::vector<std::string>{"SoundMan"});
    EXPECT_EQ(form2.printed(),
              (std::vector<std::string>{"RegEnumKeyEx", " Error while calling RegOpenKey", "", "RegEnumValue",
                                        " Error while calling RegOpenKey", "RegEnumKeyEx", "", "RegEnumValue"}));
}

TEST_F(StartupItemsTest, RunningTwiceDoesNotListEntriesTwice) {
    registry.PutString(reg::kCurrentUser, kRun, "A", "a.exe");
    registry.PutString(reg::kLocalMachine, kRun, "B", "b.exe");
    Load();
    Load();
    EXPECT_EQ(CurrentUser(), std::vector<std::string>{"A"});
    EXPECT_EQ(LocalMachine(), std::vector<std::string>{"B"});
}

// A Run key whose enumeration names `good` entries and then fails with
// `failure` for every further index, as a key deleted while it is read does.
class FailingEnumeration : public Registry {
public:
    FailingEnumeration(std::uint32_t good, long failure) : good_(good), failure_(failure) {}
    long OpenKey(RegKey, const std::string&, RegKey* out) override {
        *out = 42;
        ++opened;
        return 0;
    }
    long CreateKey(RegKey, const std::string&, RegKey*) override { return 5; }
    long MayWrite(RegKey, const std::string&) override { return 5; }
    long QueryValue(RegKey, const std::string&, std::uint32_t*, std::uint8_t*, std::uint32_t*) override { return 2; }
    long SetValue(RegKey, const std::string&, std::uint32_t, const std::uint8_t*, std::uint32_t) override { return 5; }
    long DeleteValue(RegKey, const std::string&) override { return 5; }
    long EnumKey(RegKey, std::uint32_t index, char* name, std::uint32_t* nameLen) override {
        ++calls;
        return Entry(index, name, nameLen);
    }
    long EnumValue(RegKey, std::uint32_t index, char* name, std::uint32_t* nameLen, std::uint32_t*, std::uint8_t*,
                   std::uint32_t* dataLen) override {
        ++calls;
        *dataLen = 1;
        return Entry(index, name, nameLen);
    }
    long CloseKey(RegKey) override {
        ++closed;
        return 0;
    }
    long QueryValueW(RegKey, const std::u16string&, std::uint32_t*, std::uint8_t*, std::uint32_t*) override { return 2; }
    long SetValueW(RegKey, const std::u16string&, std::uint32_t, const std::uint8_t*, std::uint32_t) override { return 5; }
    long DeleteValueW(RegKey, const std::u16string&) override { return 5; }
    long EnumValueW(RegKey, std::uint32_t, char16_t*, std::uint32_t*, std::uint32_t*, std::uint8_t*,
                    std::uint32_t*) override {
        return 5;
    }
    const CodePage& codePage() override { return Windows1252(); }
    int opened = 0, closed = 0, calls = 0;

private:
    long Entry(std::uint32_t index, char* name, std::uint32_t* nameLen) {
        if (index >= good_) return failure_;
        std::memcpy(name, "entry", 5);
        *nameLen = 5;
        return 0;
    }
    std::uint32_t good_;
    long failure_;
};

TEST_F(StartupItemsTest, EnumerationThatKeepsFailingEnds) {
    for (long failure : {1018L, 6L, 1L}) {
        FailingEnumeration broken(1, failure);
        Services brokenServices{broken, files, shell, browser, dialogs, environment, [] {}};
        LoadStartupItems(form1, form2, brokenServices);
        EXPECT_EQ(CurrentUser(), (std::vector<std::string>{"entry", "entry"})) << failure;
        EXPECT_EQ(broken.calls, 8) << failure;  // one entry and one failure per pass
        EXPECT_EQ(broken.closed, broken.opened) << failure;
    }
}

TEST_F(StartupItemsTest, AddStoresTheValueAndListsIt) {
    dialogs.ExpectOpen("C:\\Program Files\\Tool\\tool.exe", "tool.exe");
    AddStartupItem(form1, services, false);
    dialogs.ExpectOpen("C:\\Other\\agent.exe", "agent.exe");
    AddStartupItem(form1, services, true);
    EXPECT_EQ(CurrentUser(), std::vector<std::string>{"tool.exe"});
    EXPECT_EQ(LocalMachine(), std::vector<std::string>{"agent.exe"});
    auto stored = registry.Raw(reg::kCurrentUser, kRun, "tool.exe");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, reg::kSz);
    EXPECT_EQ(stored->data, Bytes(std::string("C:\\Program Files\\Tool\\tool.exe") + std::string(1, '\0')));
    EXPECT_TRUE(registry.Raw(reg::kLocalMachine, kRun, "agent.exe"));
}

TEST_F(StartupItemsTest, CancelledAddAddsNothing) {
    dialogs.ExpectOpenCancelled();
    AddStartupItem(form1, services, false);
    EXPECT_TRUE(CurrentUser().empty());
    EXPECT_FALSE(registry.HasKey(reg::kCurrentUser, kRun));
}

TEST_F(StartupItemsTest, RefusedWriteIsReportedAndNotListed) {
    registry.SetReadOnly(reg::kLocalMachine, true);
    dialogs.ExpectOpen("C:\\Tools\\agent.exe", "agent.exe").ExpectMessage("Error", mb::kAnswerOk, {}, 48);
    AddStartupItem(form1, services, true);
    EXPECT_TRUE(LocalMachine().empty());
    EXPECT_FALSE(registry.Raw(reg::kLocalMachine, kRun, "agent.exe"));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].prompt.find("agent.exe"), std::string::npos);
}

TEST_F(StartupItemsTest, RemoveDeletesOnlyTheSelectedEntry) {
    registry.PutString(reg::kCurrentUser, kRun, "A", "a.exe");
    registry.PutString(reg::kCurrentUser, kRun, "B", "b.exe");
    Load();
    ListBox& list = form1.list("List3");

    RemoveStartupItem(form1, services, false);  // nothing selected
    EXPECT_EQ(CurrentUser(), (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(registry.Raw(reg::kCurrentUser, kRun, "A"));
    EXPECT_TRUE(registry.Raw(reg::kCurrentUser, kRun, "B"));

    list.setListIndex(1);
    RemoveStartupItem(form1, services, false);
    EXPECT_EQ(CurrentUser(), std::vector<std::string>{"A"});
    EXPECT_TRUE(registry.Raw(reg::kCurrentUser, kRun, "A"));
    EXPECT_FALSE(registry.Raw(reg::kCurrentUser, kRun, "B"));
}

// Under WOW64 the machine has a Run key in each view: both are listed, the
// 32-bit entries marked; a removal goes to the entry's own key, whatever its
// name says, and an added entry to the 64-bit key.
TEST_F(StartupItemsTest, UnderWow64ListsAndChangesBothViewsOfTheMachineKey) {
    const std::string run32 = "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
    registry.SetWow64(true);
    environment.setRunsUnderWow64(true);
    NativeViewRegistry view(registry, true);
    Services wow64{view, files, shell, browser, dialogs, environment, [] {}};
    registry.PutString(reg::kCurrentUser, kRun, "Mine", "mine.exe");
    registry.PutString(reg::kLocalMachine, kRun, "Agent", "agent64.exe");
    registry.PutString(reg::kLocalMachine, kRun, "Tool (32-bit)", "tool64.exe");
    registry.PutString(reg::kLocalMachine, run32, "Agent", "agent32.exe");
    registry.PutString(reg::kLocalMachine, run32, "Tool", "tool32.exe");
    LoadStartupItems(form1, form2, wow64);
    EXPECT_EQ(LocalMachine(), (std::vector<std::string>{"Agent", "Tool (32-bit)", "Agent (32-bit)", "Tool (32-bit)"}));
    EXPECT_EQ(form2.printed().size(), 6u);  // the splash shows the passes of the two keys it always showed

    ListBox& list = form1.list("List2");
    for (int index : {2, 1}) {  // the 32-bit "Agent", then the 64-bit "Tool (32-bit)"
        list.setListIndex(index);
        RemoveStartupItem(form1, wow64, true);
    }
    EXPECT_EQ(LocalMachine(), (std::vector<std::string>{"Agent", "Tool (32-bit)"}));
    EXPECT_TRUE(registry.Raw(reg::kLocalMachine, kRun, "Agent"));
    EXPECT_FALSE(registry.Raw(reg::kLocalMachine, run32, "Agent"));
    EXPECT_FALSE(registry.Raw(reg::kLocalMachine, kRun, "Tool (32-bit)"));
    EXPECT_TRUE(registry.Raw(reg::kLocalMachine, run32, "Tool"));

    dialogs.ExpectOpen("C:\\Tools\\new.exe", "new.exe");
    AddStartupItem(form1, wow64, true);
    EXPECT_TRUE(registry.Raw(reg::kLocalMachine, kRun, "new.exe"));
    EXPECT_FALSE(registry.Raw(reg::kLocalMachine, run32, "new.exe"));
}

}  // namespace
}  // namespace vantrel::testing
