// Export for Group Policy as preference items: the choice it offers, and the
// Registry.xml files read back through Python's XML parser.
#include <regex>

#include "app/Profile.h"
#include "registry/PreferenceFile.h"
#include "support/FileCheckers.h"
#include "support/TestRig.h"

namespace vantrel::testing {
namespace {

const std::string kTitle = "Export for Group Policy";
const std::string kMachineXml = "\\Machine\\Preferences\\Registry\\Registry.xml";
const std::string kUserXml = "\\User\\Preferences\\Registry\\Registry.xml";

std::string Read(TestRig& rig, const std::string& path) {
    std::string bytes;
    EXPECT_EQ(rig.files.ReadAll(path, &bytes, false), 0) << path;
    return bytes;
}

// Exports every offered setting, ticked or not, as preference items into the folder.
void ExportAll(TestRig& rig, const std::string& folder) {
    rig.dialogs
        .ExpectExportChoice([folder](ExportChoice& c) {
            c.folder = folder;
            c.checked.assign(c.checked.size(), true);
        })
        .ExpectMessage(kTitle, mb::kAnswerOk, "", mb::kInformation);
    rig.app->Menu("gpexport");
}

TEST(GroupPolicyExport, PreferenceItemsCarryEachTypeAsTheExportHoldsIt) {
    TestRig rig;
    SeedFolders(rig.registry);
    std::tm utc = rig.environment.Now();  // local time is two hours ahead
    utc.tm_hour -= 2;
    rig.environment.setNowUtc(utc);
    rig.app->Form_Load();
    Form& f = rig.form1();
    f.check("Check4").setValue(1);
    f.text("Text1").setText("30");
    f.text("Text16").setText("http://h/?a=1&b=<2>\"\xE9");  // markup and a letter beyond ASCII
    f.text("Text19").setText("Ow\xE9ner");
    f.text("Text7").setText("C:\\Documents and Settings\\User\\Desktop");
    ExportAll(rig, "C:\\GPO");
    const std::string machine = RunChecker("gppref_items.py", rig.files.HostPath("C:\\GPO" + kMachineXml));
    const std::string user = RunChecker("gppref_items.py", rig.files.HostPath("C:\\GPO" + kUserXml));

    const std::string explorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
    const struct {
        const char* type;
        const std::string& items;
        std::string item;  // hive|key|name|type|value|desc
    } cases[] = {
        {"REG_DWORD", user,
         "HKEY_CURRENT_USER|" + explorer + "Advanced|Hidden|REG_DWORD|00000001|Vantrel: Explorer - Show Hidden Files "
                                           "and Folders"},
        {"REG_DWORD, hexadecimal", user,
         "HKEY_CURRENT_USER|" + explorer + "Desktop\\CleanupWiz|Days between clean up|REG_DWORD|0000001E|Vantrel: "
                                           "Explorer - days between desktop cleanup"},
        {"REG_SZ", user,
         "HKEY_CURRENT_USER|Software\\Microsoft\\Internet Explorer\\Main|Start Page|REG_SZ|http://h/?a=1&b=<2>\""
         "\xC3\xA9|Vantrel: Internet Options - Home Page"},
        {"REG_SZ, a computer setting", machine,
         "HKEY_LOCAL_MACHINE|SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion|RegisteredOwner|REG_SZ|Ow\xC3\xA9ner|"
         "Vantrel: Explorer - Registered To"},
        {"REG_EXPAND_SZ", user,
         "HKEY_CURRENT_USER|" + explorer + "User Shell Folders|Desktop|REG_EXPAND_SZ|%USERPROFILE%\\Desktop|Vantrel: "
                                           "Personal Folders - Desktop"},
    };
    for (const auto& c : cases) EXPECT_NE(c.items.find(c.item + "\n"), std::string::npos) << c.type << "\n" << c.items;

    // One item for each value the export holds, and nothing else: the
    // folder's "Shell Folders" twin is left out, and so are the values not
    // set on this computer.
    const SettingsProfile profile = ExportProfile(f, rig.registry, rig.environment.ProfileFolder());
    for (const auto& [root, items] : {std::pair{reg::kLocalMachine, machine}, std::pair{reg::kCurrentUser, user}}) {
        std::size_t values = 0;
        for (const RegKeyBlock& b : profile.blocks) {
            if (b.root != root) continue;
            values += b.values.size();
            for (const RegValueEntry& v : b.values) {
                EXPECT_NE(items.find("|" + b.path + "|" + v.name + "|"), std::string::npos) << b.path << " " << v.name;
            }
        }
        EXPECT_EQ(static_cast<std::size_t>(std::count(items.begin(), items.end(), '\n')), values) << items;
    }

    EXPECT_NE(Read(rig, "C:\\GPO" + kUserXml).find(" changed=\"2004-05-01 10:00:00\" "), std::string::npos) << "in UTC";

    // The same settings again: the same file but each item's uid.
    ExportAll(rig, "C:\\GPO2");
    const std::regex uid("uid=\"\\{[0-9A-F-]+\\}\"");
    EXPECT_EQ(std::regex_replace(Read(rig, "C:\\GPO2" + kUserXml), uid, ""),
              std::regex_replace(Read(rig, "C:\\GPO" + kUserXml), uid, ""));
    EXPECT_NE(Read(rig, "C:\\GPO2" + kUserXml), Read(rig, "C:\\GPO" + kUserXml));
}

TEST(GroupPolicyExport, ChoiceStartsWithSharedSettingsTickedAndWritesOnlyOnOk) {
    TestRig rig;
    SeedFolders(rig.registry);  // "C:\Folders\...": outside the profile
    rig.registry.PutString(reg::kLocalMachine, R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion)", "RegisteredOwner", "O");
    rig.registry.PutString(reg::kLocalMachine, R"(SYSTEM\ControlSet001\Services\Messenger)", "Start", "2");
    rig.registry.PutString(reg::kCurrentUser, R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders)",
                           "Desktop", R"(C:\Documents and Settings\User\Desktop)");
    rig.registry.PutString(reg::kCurrentUser, R"(Software\Microsoft\Internet Explorer)", "Download Directory",
                           R"(C:\Documents and Settings\User\My Documents\Downloads)");
    rig.app->Form_Load();

    rig.dialogs.ExpectExportChoice({}, false);
    rig.app->Menu("gpexport");
    const ExportChoice& offered = rig.dialogs.exportChoices.at(0);
    EXPECT_EQ(offered.form, 0) << "preference items first";
    const struct {
        const char* setting;
        bool ticked;
    } rows[] = {{"Enable Net Send", false}, {"Registered To:", false}, {"AppData:", false}, {"Desktop:", true},
                {"Download Dir", false}};
    for (const auto& r : rows) {
        auto row = std::find_if(offered.list.rows.begin(), offered.list.rows.end(),
                                [&](const ReviewList::Row& x) { return x.cells.at(1) == r.setting; });
        ASSERT_NE(row, offered.list.rows.end()) << r.setting;
        const auto i = static_cast<std::size_t>(row - offered.list.rows.begin());
        EXPECT_EQ(offered.checked.at(i), r.ticked) << r.setting;
    }
    EXPECT_FALSE(rig.files.Exists("C:\\GPO")) << "Cancel writes nothing";

    // Nothing ticked, then no folder: each is said and the choice comes back as it was left.
    rig.dialogs
        .ExpectExportChoice([](ExportChoice& c) {
            c.checked.assign(c.checked.size(), false);
            c.folder = "C:\\GPO\\";
        })
        .ExpectMessage(kTitle, mb::kAnswerOk, "No setting is ticked. Tick the settings to export.")
        .ExpectExportChoice([](ExportChoice& c) {
            EXPECT_EQ(c.folder, "C:\\GPO\\");
            c.checked[0] = true;
            c.folder = " ";
        })
        .ExpectMessage(kTitle, mb::kAnswerOk, "Type the folder of a Group Policy object, or choose one with \"Browse...\".")
        .ExpectExportChoice([](ExportChoice& c) { c.folder = "C:\\GPO\\"; })
        .ExpectMessage(kTitle, mb::kAnswerOk, "", mb::kInformation);
    rig.app->Menu("gpexport");
    // Only one user setting (a folder, written to two keys): the computer's half is not written at all.
    EXPECT_NE(rig.dialogs.shown.back().prompt.find("Settings exported for Group Policy:\n\n\"C:\\GPO" + kUserXml +
                                                   "\": 0 entries kept, 0 replaced, 2 added."),
              std::string::npos)
        << rig.dialogs.shown.back().prompt;
    EXPECT_FALSE(rig.files.Exists("C:\\GPO" + kMachineXml));
    EXPECT_NE(RunChecker("gppref_items.py", rig.files.HostPath("C:\\GPO" + kUserXml)), "");
}

TEST(GroupPolicyExport, PreferenceFileRefusesWhatXmlCannotCarry) {
    const auto text = [](std::u16string wide) { return RegValueEntry{"N", false, reg::kSz, Utf16LeBytes(wide + u'\0')}; };
    for (const RegValueEntry& value : {text(u"a\x01" "b"), text(std::u16string(1, char16_t(0xD800))),
                                       text(std::u16string(u"a\0b", 3)), RegValueEntry{"N", false, reg::kBinary, {1}},
                                       RegRemovedValue("N")}) {
        const RegWriteResult file = WritePreferenceFile({{reg::kCurrentUser, "K", value, "d", "{0}"}}, "");
        EXPECT_TRUE(!file.ok() && file.bytes.empty()) << Utf16ToUtf8(FromUtf16LeBytes(value.data));
    }
}

}  // namespace
}  // namespace vantrel::testing
