// Review Changes and Restore Backup: what would change is shown value by
// value before anything is written, and a restore writes only the values
// Vantrel manages, after a backup of its own.
#include <gtest/gtest.h>

#include "app/Review.h"
#include "registry/RegFile.h"
#include "settings/TweakRow.h"
#include "support/TestRig.h"

namespace vantrel::testing {
namespace {

constexpr RegKey kHkcu = reg::kCurrentUser;
constexpr RegKey kHklm = reg::kLocalMachine;
const char* const kAdvanced = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const char* const kVersion = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const char* const kMouse = "Control Panel\\Mouse";

const ReviewList::Row* RowFor(const ReviewList& list, const std::string& value) {
    for (const ReviewList::Row& row : list.rows) {
        if (row.cells.size() == 6 && row.cells[2] == value) return &row;
    }
    return nullptr;
}

struct ExpectedRow {
    const char* value;
    const char* setting;
    const char* now;
    const char* written;
    bool marked;
};

void ExpectRows(const ReviewList& list, const std::vector<ExpectedRow>& rows, const std::vector<std::string>& absent) {
    for (const ExpectedRow& e : rows) {
        const ReviewList::Row* row = RowFor(list, e.value);
        ASSERT_NE(row, nullptr) << e.value;
        EXPECT_EQ(row->cells[1], e.setting) << e.value;
        EXPECT_EQ(row->cells[3], e.now) << e.value;
        EXPECT_EQ(row->cells[4], e.written) << e.value;
        EXPECT_EQ(row->marked, e.marked) << e.value;
    }
    for (const std::string& value : absent) EXPECT_EQ(RowFor(list, value), nullptr) << value;
}

TEST(ReviewChanges, ListsWhatTheApplyWouldChangeWithoutWriting) {
    TestRig rig;
    SeedFolders(rig.registry);
    rig.registry.PutDword(kHkcu, kAdvanced, "Hidden", 2);
    rig.registry.PutString(kHklm, kVersion, "RegisteredOwner", "Old Owner");
    rig.registry.PutString(kHklm, kVersion, "RegisteredOrganization", "Org");
    rig.registry.SetReadOnly(kHklm, true);
    rig.app->Form_Load();
    rig.form1().text("Text19").setText("New Owner");
    rig.form1().text("Text1").setText("abc");
    rig.form1().check("Check5").setValue(1);
    const std::string before = rig.registry.ExportRegFile(RegFormat::Version5);

    rig.dialogs.ExpectReview("Review Changes", false);
    rig.app->Menu("review");
    rig.dialogs.Verify();
    EXPECT_EQ(rig.registry.ExportRegFile(RegFormat::Version5), before);
    EXPECT_EQ(rig.registry.OpenHandleCount(), 0u);
    ASSERT_EQ(rig.dialogs.reviews.size(), 1u);
    const ReviewList& list = rig.dialogs.reviews[0];
    EXPECT_EQ(list.columns,
              (std::vector<std::string>{"Page", "Setting", "Key and value name", "Stored now", "Would be written",
                                        "Takes effect"}));
    EXPECT_EQ(list.act, "Apply Changes");
    EXPECT_EQ(list.close, "Close");
    ExpectRows(list,
               {
                   // Stored as 2, loaded unticked: the apply writes 0 though nobody touched it.
                   {"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced : Hidden",
                    "Show Hidden Files and Folders", "2 (REG_DWORD)", "0 (REG_DWORD)", false},
                   {"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced : HideFileExt",
                    "Hide file extension of known file types", "(absent)", "1 (REG_DWORD)", false},
                   {"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders : Desktop",
                    "Desktop:", "(absent)", "\"C:\\Folders\\Desktop\" (REG_SZ)", false},
                   {"HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion : RegisteredOwner", "Registered To:",
                    "\"Old Owner\" (REG_SZ)",
                    "\"New Owner\" (REG_SZ) - not saved: the registry refused the write: Access is denied.", true},
                   {"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\CleanupWiz : Days between "
                    "clean up",
                    "days between desktop cleanup", "(absent)", "not saved: \"abc\" is not a whole number in range",
                    true},
               },
               // Written unchanged, and refused but unchanged.
               {"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders : Desktop",
                "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion : RegisteredOrganization"});

    // "Apply Changes" in the list runs the apply, with its backup and report.
    rig.form1().text("Text1").setText("30");
    rig.dialogs.ExpectReview("Review Changes", true).ExpectMessage("Some Changes Were Not Applied");
    rig.app->Menu("review");
    rig.dialogs.Verify();
    EXPECT_FALSE(rig.app->lastBackup().empty());
    EXPECT_EQ(rig.registry.Raw(kHkcu, kAdvanced, "Hidden")->data, (std::vector<std::uint8_t>{0, 0, 0, 0}));

    // Once everything is written, nothing would change.
    rig.registry.SetReadOnly(kHklm, false);
    rig.dialogs.ExpectMessage("Changes Applied");
    rig.app->apply_Click();
    rig.dialogs.ExpectMessage("Review Changes", mb::kAnswerOk, "No setting would change.", mb::kInformation);
    rig.app->Menu("review");
}

TEST(ReviewChanges, BlankFolderStopsItAsItStopsTheApplyButKeepsTheEdits) {
    TestRig rig;
    SeedFolders(rig.registry);
    rig.app->Form_Load();
    rig.form1().text("Text7").setText("");
    rig.form1().check("Check4").setValue(1);
    rig.dialogs.ExpectMessage("Blank Directory", mb::kAnswerOk, "You Cannot save into a blank directory");
    rig.app->Menu("review");
    EXPECT_EQ(rig.form1().text("Text7").text(), "");  // nothing read again: the edits stay
    EXPECT_EQ(rig.form1().check("Check4").value(), 1);
    EXPECT_TRUE(rig.dialogs.reviews.empty());
}

// An apply, then Restore Backup of the backup it took: every value as it was.
TEST(RestoreBackup, PutsBackEveryValueTheApplyChanged) {
    TestRig rig;
    SeedFolders(rig.registry);
    rig.registry.PutDword(kHkcu, kAdvanced, "Hidden", 2);
    rig.registry.Put(kHkcu, kMouse, "MouseSensitivity", reg::kSz, {'1', '0'});  // no NUL
    std::vector<std::pair<ValueRef, std::optional<MemoryRegistry::RawValue>>> before;
    for (const ValueRef& v : ApplyTargets()) before.push_back({v, rig.registry.RawStored(v.root, v.key, v.value)});
    rig.app->Form_Load();
    rig.form1().check("Check4").setValue(1);
    rig.dialogs.ExpectMessage("Changes Applied");
    rig.app->apply_Click();
    const std::string backup = rig.app->lastBackup();

    rig.dialogs.ExpectFileToOpen(backup).ExpectReview("Restore Backup", true).ExpectMessage("Backup Restored");
    rig.app->Menu("restore");
    rig.dialogs.Verify();
    for (const auto& [v, stored] : before)
        EXPECT_EQ(rig.registry.RawStored(v.root, v.key, v.value), stored) << v.key << "\\" << v.value;
    EXPECT_EQ(rig.dialogs.choices.back().folder, "C:\\Documents and Settings\\User\\Application Data\\Vantrel\\Backups");
    EXPECT_NE(rig.app->lastBackup(), backup);  // the restore took a backup of its own
    EXPECT_TRUE(rig.files.Exists(rig.app->lastBackup()));
    EXPECT_EQ(rig.form1().check("Check4").value(), 0);  // the pages show the stored values again
    const ReviewList::Row* hidden =
        RowFor(rig.dialogs.reviews.back(), "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced : Hidden");
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(hidden->cells[3], "1 (REG_DWORD)");
    EXPECT_EQ(hidden->cells[4], "2 (REG_DWORD)");
}

TEST(RestoreBackup, WritesOnlyManagedValuesAndNothingFromABadFile) {
    const std::string file =
        "REGEDIT4\r\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced]\r\n"
        "\"Hidden\"=dword:00000001\r\n"
        "\"NotASetting\"=\"x\"\r\n"
        "[HKEY_CURRENT_USER\\Control Panel\\Mouse]\r\n"
        "\"MouseTrails\"=-\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
        "\"RegisteredOwner\"=\"Restored Owner\"\r\n"
        "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
        "\"Name\"=\"y\"\r\n"
        "[-HKEY_CURRENT_USER\\Software\\Gone]\r\n";
    const struct {
        const char* what;
        std::string text;
        int review;  // -1 none, 0 closed, 1 acted on
        const char* title;
        const char* says;
    } cases[] = {
        {"malformed", "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n\"a\"\"1\"\r\n", -1, "Restore Backup",
         "line 3: expected '=' after value name\n\nNothing was restored."},
        {"closed", file, 0, "", ""},
        {"restored", file, 1, "Some Settings Were Not Restored",
         "Registered To:: the registry refused the write: Access is denied."},
    };
    for (const auto& c : cases) {
        TestRig rig;
        SeedFolders(rig.registry);
        rig.registry.PutDword(kHkcu, kAdvanced, "Hidden", 2);
        rig.registry.PutString(kHkcu, kMouse, "MouseTrails", "3");
        rig.registry.PutString(kHkcu, "Software\\Gone", "Kept", "z");
        rig.registry.SetReadOnly(kHklm, true);
        rig.app->Form_Load();
        const std::string path = "C:\\restore.reg";
        ASSERT_EQ(rig.files.WriteAll(path, c.text), 0);
        const std::string before = rig.registry.ExportRegFile(RegFormat::Version5);

        rig.dialogs.ExpectFileToOpen(path);
        if (c.review >= 0) rig.dialogs.ExpectReview("Restore Backup", c.review == 1);
        if (*c.title) rig.dialogs.ExpectMessage(c.title);
        rig.app->Menu("restore");
        rig.dialogs.Verify();
        if (*c.title) {
            EXPECT_NE(rig.dialogs.shown.back().prompt.find(c.says), std::string::npos)
                << c.what << ": " << rig.dialogs.shown.back().prompt;
        }
        if (c.review != 1) {
            EXPECT_EQ(rig.registry.ExportRegFile(RegFormat::Version5), before) << c.what;
            EXPECT_TRUE(rig.app->lastBackup().empty()) << c.what;
            continue;
        }
        EXPECT_EQ(rig.registry.Raw(kHkcu, kAdvanced, "Hidden")->data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
        EXPECT_FALSE(rig.registry.Raw(kHkcu, kMouse, "MouseTrails"));
        EXPECT_FALSE(rig.registry.Raw(kHkcu, kAdvanced, "NotASetting"));
        EXPECT_FALSE(rig.registry.HasKey(kHkcu, "Software\\Other"));
        EXPECT_TRUE(rig.registry.Raw(kHkcu, "Software\\Gone", "Kept"));
        const std::string& report = rig.dialogs.shown.back().prompt;
        for (const char* other : {"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced : NotASetting",
                                  "HKCU\\Software\\Other : Name", "HKCU\\Software\\Gone (the whole key, to delete)"})
            EXPECT_NE(report.find(other), std::string::npos) << other << " in " << report;
        const ReviewList& list = rig.dialogs.reviews.back();
        ExpectRows(list,
                   {{"HKCU\\Control Panel\\Mouse : MouseTrails", "Mouse Trails:", "\"3\" (REG_SZ)", "(deleted)", false},
                    {"HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion : RegisteredOwner", "Registered To:",
                     "(absent)",
                     "\"Restored Owner\" (REG_SZ) - not saved: the registry refused the write: Access is denied.", true}},
                   {"HKCU\\Software\\Other : Name"});
    }
}

// Windows-1252 with best-fit mappings, as WideCharToMultiByte converts
// without WC_NO_BEST_FIT_CHARS: fullwidth Latin letters become their ASCII
// look-alikes (which characters a real code page maps so: unknown).
class BestFit1252 : public CodePage {
public:
    std::u16string ToWide(std::string_view ansi) const override { return Windows1252().ToWide(ansi); }
    std::string ToAnsi(std::u16string_view wide) const override {
        std::string ansi;
        for (const char16_t unit : wide) {
            if (unit >= u'\uFF21' && unit <= u'\uFF5A') ansi.push_back(static_cast<char>(unit - 0xFF21 + 'A'));
            else ansi += Windows1252().ToAnsi(std::u16string_view(&unit, 1));
        }
        return ansi;
    }
};

// A name that reaches a managed one only through a look-alike character is
// not managed: neither a restore nor an import takes it, and nothing is written.
TEST(ManagedNames, ALookAlikeOfAManagedNameIsNotManaged) {
    const std::string fullwidthH = "\xEF\xBC\xA8", fullwidthM = "\xEF\xBC\xAD";  // U+FF28, U+FF2D
    RegKeyBlock advanced{kHkcu, kAdvanced, false, {RegDwordValue(fullwidthH + "idden", 1)}};
    RegKeyBlock mouse{kHkcu, "Control Panel\\" + fullwidthM + "ouse", true, {}};
    const RegWriteResult file = WriteRegFile({advanced, mouse}, RegFormat::Version5);
    ASSERT_TRUE(file.ok()) << file.error;
    const struct {
        const char* menu;
        const char* title;
        const char* says;
    } cases[] = {
        {"restore", "Restore Backup", "No setting would change."},
        {"import", "Import Settings", "holds no setting that Vantrel manages"},
    };
    for (const auto& c : cases) {
        BestFit1252 bestFit;
        TestRig rig(bestFit);
        SeedFolders(rig.registry);
        rig.registry.PutDword(kHkcu, kAdvanced, "Hidden", 2);
        rig.registry.PutString(kHkcu, kMouse, "MouseTrails", "3");
        rig.app->Form_Load();
        ASSERT_EQ(rig.files.WriteAll("C:\\names.reg", file.bytes), 0);
        const std::string before = rig.registry.ExportRegFile(RegFormat::Version5);
        const int trails = rig.form1().slider("Slider1").value();
        rig.dialogs.ExpectFileToOpen("C:\\names.reg").ExpectMessage(c.title);
        rig.app->Menu(c.menu);
        rig.dialogs.Verify();
        EXPECT_NE(rig.dialogs.shown.back().prompt.find(c.says), std::string::npos) << rig.dialogs.shown.back().prompt;
        EXPECT_EQ(rig.registry.ExportRegFile(RegFormat::Version5), before) << c.menu;
        EXPECT_EQ(rig.form1().check("Check4").value(), 0) << c.menu;
        EXPECT_EQ(rig.form1().slider("Slider1").value(), trails) << c.menu;
    }
}

}  // namespace
}  // namespace vantrel::testing
