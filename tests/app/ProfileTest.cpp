// The profile is what an apply would write from the pages, taken without
// writing anything, whatever the user may write on this machine.
#include "app/Profile.h"

#include "registry/RegistryRoutines.h"
#include "support/TestRig.h"

namespace vantrel::testing {
namespace {

const RegValueEntry* Find(const std::vector<RegKeyBlock>& blocks, RegKey root, const std::string& path,
                          const std::string& name) {
    for (const RegKeyBlock& b : blocks) {
        if (b.root != root || b.path != path) continue;
        for (const RegValueEntry& v : b.values) {
            if (v.name == name) return &v;
        }
    }
    return nullptr;
}

TEST(ProfileTest, HoldsEveryApplyWriteOnceAndWritesNothing) {
    TestRig rig;
    rig.registry.SetReadOnly(reg::kLocalMachine, true);  // a restricted user: the profile is still whole
    rig.app->Form_Load();
    rig.form1().option("Option2").setValue(true);
    rig.form1().check("Check4").setValue(1);
    rig.form1().text("Text1").setText("30");
    rig.form1().text("Text19").setText("Owner");
    for (const std::string& box : PersonalFolderBoxes()) rig.form1().text(box).setText("C:\\Folder");
    // The Windows 10 and 11 pages write when set: a checked policy, a level chosen.
    for (const TweakRow& row : ModernWindowsRows()) {
        if (rig.form1().control(row.control).kind() == ControlKind::ComboBox) rig.form1().list(row.control).setListIndex(1);
        else rig.form1().check(row.control).setValue(1);
    }

    const SettingsProfile profile = ProfileFromPages(rig.form1(), rig.registry);

    // One entry per value the apply pass writes, no repeats, nothing skipped.
    std::size_t values = 0;
    for (const RegKeyBlock& b : profile.blocks) values += b.values.size();
    EXPECT_EQ(values, ApplyTargets().size());
    EXPECT_TRUE(profile.skipped.empty());

    const RegValueEntry* hidden =
        Find(profile.blocks, reg::kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", "Hidden");
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(hidden->type, reg::kDword);
    EXPECT_EQ(hidden->data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
    const RegValueEntry* owner =
        Find(profile.blocks, reg::kLocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "RegisteredOwner");
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(owner->data, Utf16LeBytes(std::u16string_view(u"Owner\0", 6)));  // as stored: UTF-16

    EXPECT_FALSE(rig.registry.HasKey(reg::kCurrentUser, "Software"));
    EXPECT_EQ(rig.registry.OpenHandleCount(), 0u);
}

TEST(ProfileTest, BlocksGroupKeysWithoutRegardToCaseAndKeepTheLastWrite) {
    using W = RecordingRegistry::Write;
    const std::vector<W> writes = {
        {reg::kCurrentUser, "Control Panel\\Mouse", "MouseTrails", false, reg::kSz, {'2', 0}},
        {reg::kLocalMachine, "SOFTWARE\\X", "A", false, reg::kDword, {1, 0, 0, 0}},
        {reg::kCurrentUser, "control panel\\MOUSE", "mousetrails", false, reg::kSz, {'7', 0}},
        {reg::kCurrentUser, "Control Panel\\Mouse", "Gone", true, reg::kNone, {}},
    };
    const std::vector<RegKeyBlock> blocks = BlocksFromWrites(writes);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].path, "Control Panel\\Mouse");
    ASSERT_EQ(blocks[0].values.size(), 2u);
    EXPECT_EQ(blocks[0].values[0].name, "MouseTrails");
    EXPECT_EQ(blocks[0].values[0].data, (std::vector<std::uint8_t>{'7', 0}));
    EXPECT_TRUE(blocks[0].values[1].remove);
    EXPECT_EQ(blocks[1].root, reg::kLocalMachine);
}

}  // namespace
}  // namespace vantrel::testing
