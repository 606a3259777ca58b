// On 64-bit Windows the program reads and writes the machine's settings where
// Windows reads them, the 64-bit registry view, through every path that
// reaches the registry: the load, Review Changes, the apply, its backup and
// Restore Backup. On 32-bit Windows there is one view and nothing changes.
#include <gtest/gtest.h>

#include <algorithm>

#include "settings/SettingsTestSupport.h"
#include "support/TestRig.h"

namespace vantrel::testing {
namespace {

TEST(RegistryView, MachineSettingsGoWhereWindowsReadsThem) {
    struct Case {
        const char* control;
        bool wow64;
        bool separate;  // whether the 32-bit view holds a copy of its own
        const char* stored64;
        const char* stored32;
        const char* edited;  // the text typed, or the check box's new state
    };
    const Case cases[] = {
        {"Text19", true, true, "Owner 64", "Owner 32", "New Owner"},
        {"Text19", false, false, "Owner 64", "Owner 32", "New Owner"},
        {"Check21", true, true, "1", "x", "0"},
        {"Check21", false, false, "1", "x", "0"},
        {"Check1", true, false, "2", "3", "0"},  // HKLM\SYSTEM: shared by the views
        {"Check3", true, false, "1", "0", "0"},  // HKCU\Software: shared
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.control) + (c.wow64 ? " under WOW64" : " on 32-bit Windows"));
        TestRig rig(TestRig::Wow64{c.wow64});
        SeedFolders(rig.registry);
        const TweakRow& row = catalogue_test::RowOf(c.control);
        const bool machine = row.root == reg::kLocalMachine;
        const RegKey root64 = machine ? reg::kLocalMachine64 : row.root, root32 = machine ? reg::kLocalMachine32 : row.root;
        auto stored = [&](RegKey root) { return GetString(rig.registry, root, row.applyKey, row.value); };
        for (auto [root, text] : {std::pair{root32, c.stored32}, std::pair{root64, c.stored64}}) {
            (row.writer == Writer::Long ? SaveStringLong : SaveString)(rig.registry, root, row.applyKey, row.value, text,
                                                                      nullptr);
        }
        const std::string old32 = c.separate ? c.stored32 : c.stored64;

        rig.app->Form_Load();
        Form& form = rig.form1();
        if (form.control(c.control).kind() == ControlKind::TextBox) {
            EXPECT_EQ(form.text(c.control).text(), c.stored64);
            form.text(c.control).setText(c.edited);
        } else {
            EXPECT_EQ(form.check(c.control).value(), 1);  // every check box case stores a ticked state
            form.check(c.control).setValue(std::stoi(c.edited));
        }
        rig.dialogs.ExpectReview("Review Changes", true).ExpectMessage("Changes Applied");
        rig.app->Menu("review");
        rig.dialogs.Verify();
        const auto& reviewed = rig.dialogs.reviews.back().rows;
        EXPECT_TRUE(std::any_of(reviewed.begin(), reviewed.end(), [&](const ReviewList::Row& line) {
            return line.cells[1] == row.caption && line.cells[3].find(c.stored64) != std::string::npos;
        }));
        const std::string written = stored(root64);
        EXPECT_NE(written, c.stored64);
        EXPECT_EQ(stored(root32), c.separate ? old32 : written);

        rig.dialogs.ExpectFileToOpen(rig.app->lastBackup()).ExpectReview("Restore Backup", true).ExpectMessage(
            "Backup Restored");
        rig.app->Menu("restore");
        rig.dialogs.Verify();
        EXPECT_EQ(stored(root64), c.stored64);
        EXPECT_EQ(stored(root32), old32);
    }
}

}  // namespace
}  // namespace vantrel::testing
