// /check is /apply without its writes: the values it says would change are
// the values /apply then writes with new data, and after /apply it settles
// at 0, or at 3 where /apply cannot make the file's values take effect.
#include "app/CheckRun.h"

#include <map>
#include <set>

#include "registry/KeyNames.h"
#include "support/TestRig.h"

namespace vantrel::testing {
namespace {

const std::string kFolders = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\)";
const std::string kAdvanced = kFolders + "Advanced";
const std::string kProfileFolder = R"(C:\Documents and Settings\User)";

// Every value the apply manages, as stored now, by its description.
std::map<std::string, std::optional<StoredData>> Stored(Registry& reg) {
    std::map<std::string, std::optional<StoredData>> stored;
    for (const ValueRef& t : ApplyTargets()) {
        const std::string key = AnsiToUtf8(reg.codePage(), WithoutTrailingBackslash(t.key));
        stored[FoldCase(DescribeValue(t.root, key, t.value))] = StoredNow(reg, t.root, key, t.value);
    }
    return stored;
}

std::string Profile(const std::string& body) {
    return "Windows Registry Editor Version 5.00\r\n\r\n" + body;
}

// "%USERPROFILE%\Desktop" as REG_EXPAND_SZ, as an export writes a folder inside the profile.
const std::string kDesktopInProfile =
    "[HKEY_CURRENT_USER\\" + kFolders + "User Shell Folders]\r\n\"Desktop\"=hex(2):25,00,55,00,53,00,45,00,52,00,"
    "50,00,52,00,4f,00,46,00,49,00,4c,00,45,00,25,00,5c,00,44,00,65,00,73,00,6b,00,74,00,6f,00,70,00,00,00\r\n";

TEST(CheckRun, ListsWhatApplyThenWritesAndSettlesAfterIt) {
    const struct {
        const char* name;
        std::function<void(TestRig&)> setUp;
        std::string profile;
        int settled;  // the second /check
    } cases[] = {
        {"a folder inside the profile",
         [](TestRig& rig) {
             rig.registry.PutStored(reg::kCurrentUser, kFolders + "User Shell Folders", "Desktop", reg::kExpandSz,
                                    Utf16LeBytes(std::u16string(u"%USERPROFILE%\\Desktop") + u'\0'));
             rig.registry.PutString(reg::kCurrentUser, kFolders + "Shell Folders", "Desktop", kProfileFolder + "\\Desktop");
         },
         kDesktopInProfile, exitcode::kDone},
        {"a folder moved outside the profile",
         [](TestRig& rig) {
             rig.registry.PutString(reg::kCurrentUser, kFolders + "User Shell Folders", "Desktop", "D:\\Elsewhere");
             rig.registry.PutString(reg::kCurrentUser, kFolders + "Shell Folders", "Desktop", "D:\\Elsewhere");
         },
         kDesktopInProfile, exitcode::kDone},
        {"a deletion", [](TestRig& rig) { rig.registry.PutDword(reg::kCurrentUser, kAdvanced, "Hidden", 2); },
         "[HKEY_CURRENT_USER\\" + kAdvanced + "]\r\n\"Hidden\"=-\r\n", exitcode::kNotInEffect},
        {"text with a NUL inside", nullptr,
         "[HKEY_CURRENT_USER\\Control Panel\\Mouse]\r\n\"SwapMouseButtons\"=hex(1):31,00,00,00,39,00,00,00\r\n",
         exitcode::kNotInEffect},
        {"a setting with no effect here", [](TestRig& rig) { rig.environment.setWindowsVersion({10, 0, 19045}); },
         "[HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Services\\Messenger]\r\n\"Start\"=dword:00000002\r\n",
         exitcode::kNotInEffect},
        {"a setting set by policy",
         [](TestRig& rig) {
             rig.registry.PutDword(reg::kCurrentUser, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)",
                                   "NoRun", 1);
         },
         "[HKEY_CURRENT_USER\\" + kAdvanced + "]\r\n\"Start_ShowRun\"=dword:00000000\r\n", exitcode::kNotInEffect},
        {"a value Vantrel does not manage", nullptr,
         "[HKEY_CURRENT_USER\\Control Panel\\Mouse]\r\n\"SwapMouseButtons\"=\"1\"\r\n\"Other\"=\"x\"\r\n",
         exitcode::kNotInEffect},
    };
    for (const auto& c : cases) {
        TestRig rig;
        SeedFolders(rig.registry);
        rig.registry.PutString(reg::kCurrentUser, "Control Panel\\Mouse", "SwapMouseButtons", "0");
        if (c.setUp) c.setUp(rig);
        ASSERT_EQ(rig.files.WriteAll("C:\\p.reg", Profile(c.profile)), 0);
        auto check = [&] {
            App run(rig.services);
            LoadForRun(run);
            return CheckProfile(run, "C:\\p.reg");
        };
        const std::string before = rig.registry.ExportRegFile(RegFormat::Version5);
        const UnattendedOutcome first = check();
        EXPECT_EQ(rig.registry.ExportRegFile(RegFormat::Version5), before) << c.name << ": /check writes nothing";
        std::set<std::string> listed;
        for (const ValueChange& v : first.changes) listed.insert(FoldCase(DescribeValue(v.root, v.key, v.value)));

        const auto stored = Stored(rig.registry);
        App apply(rig.services);
        EXPECT_NE(RunUnattended(apply, ParseSwitches({"/apply", "C:\\p.reg"})), exitcode::kFailed) << c.name;
        const auto after = Stored(rig.registry);
        std::set<std::string> changed;  // the journal's writes that gave a value new data
        for (const std::string& write : apply.journal().writes()) {
            const std::size_t cut = write.rfind(" (");
            if (cut == std::string::npos) continue;
            const std::string value = FoldCase(write.substr(0, cut));
            if (stored.count(value) && stored.at(value) != after.at(value)) changed.insert(value);
        }
        for (const auto& [value, data] : after) {
            EXPECT_TRUE(data == stored.at(value) || changed.count(value)) << c.name << ": " << value << " not journaled";
        }
        EXPECT_EQ(listed, changed) << c.name;
        EXPECT_EQ(check().code, c.settled) << c.name;
    }
}

}  // namespace
}  // namespace vantrel::testing
