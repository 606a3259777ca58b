// Backups hold values as the registry stores them (UTF-16), so that restoring
// one puts every value back exactly, also on a system whose ANSI code page
// has characters with 0x5C, the backslash, as second byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <utility>

#include "app/App.h"
#include "app/Backup.h"
#include "settings/TweakRow.h"
#include "support/ShiftJisSample.h"
#include "support/TestRig.h"

namespace vantrel::testing {
namespace {

using namespace std::string_view_literals;
using Bytes = std::vector<std::uint8_t>;

const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

Bytes WideText(std::u16string_view text) {
    Bytes bytes = Utf16LeBytes(text);
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

TEST(Backup, RestoresEveryValueExactlyOnAJapaneseSystem) {
    ShiftJisSample japanese;
    TestRig rig(japanese);
    // Katakana "so" and the kanji "table" end in 0x5C in the code page; the
    // accented e is not in it at all, so the A functions turn it into '?'.
    const std::u16string folder = u"C:\\\u30BD\u30D5\u30C8\\\u8868\\caf\u00E9\\";
    for (const char* name : {"AppData", "Desktop", "Favorites", "My Pictures", "Programs", "Recent", "SendTo",
                             "Start Menu", "Startup"}) {
        rig.registry.PutStored(reg::kCurrentUser, kShellFolders, name, reg::kSz,
                               WideText(folder + Utf8ToUtf16(name)));
    }
    rig.registry.PutStored(reg::kLocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "RegisteredOwner",
                           reg::kSz, WideText(u"\u8868\u30BD\u30D5\u30C8"));
    std::vector<std::pair<ValueRef, std::optional<MemoryRegistry::RawValue>>> before;
    for (const ValueRef& v : ApplyTargets()) before.push_back({v, rig.registry.RawStored(v.root, v.key, v.value)});
    // The same values as a REGEDIT4 backup read through the A functions gave them.
    std::vector<RegKeyBlock> ansiBlocks = BackupBlocks(rig.registry);
    for (RegKeyBlock& block : ansiBlocks) {
        for (RegValueEntry& value : block.values) {
            const Bytes ansi = StoredDataToAnsi(japanese, value.type, value.data);
            value.data = AnsiDataToStored(japanese, value.type, ansi.data(), ansi.size());
        }
    }
    const RegWriteResult oldBackup = WriteRegFile(ansiBlocks, RegFormat::Regedit4, japanese);
    ASSERT_TRUE(oldBackup.ok()) << oldBackup.error;

    rig.app->Form_Load();
    rig.dialogs.ExpectMessage("Changes Applied");
    rig.app->apply_Click();
    const auto desktop = [&] { return rig.registry.RawStored(reg::kCurrentUser, kShellFolders, "Desktop"); };
    EXPECT_EQ(desktop()->data, WideText(u"C:\\\u30BD\u30D5\u30C8\\\u8868\\caf?\\Desktop"));  // the apply's loss

    std::string bytes;
    ASSERT_EQ(rig.files.ReadAll(rig.app->lastBackup(), &bytes, false), 0);
    EXPECT_EQ(bytes.substr(0, 4), "\xFF\xFEW\0"sv);
    ASSERT_EQ(rig.registry.LoadRegFile(bytes), "");
    for (const auto& [v, stored] : before)
        EXPECT_EQ(rig.registry.RawStored(v.root, v.key, v.value), stored) << v.key << "\\" << v.value;

    // An earlier REGEDIT4 backup still restores what it holds, its escaped
    // 0x5C second bytes included; what the A functions lost it cannot hold.
    rig.registry.PutStored(reg::kCurrentUser, kShellFolders, "Desktop", reg::kSz, WideText(u"elsewhere"));
    ASSERT_EQ(rig.registry.LoadRegFile(oldBackup.bytes), "");
    EXPECT_EQ(desktop()->data, WideText(u"C:\\\u30BD\u30D5\u30C8\\\u8868\\caf?\\Desktop"));
}

// Two applies at once (two windows, or a window and /apply): the second
// saves its whole backup while the first is between writing its file and
// naming it. Both backups stay, each with what was stored when it was taken.
TEST(Backup, TwoAppliesAtOnceLeaveTwoBackups) {
    struct Interleaved : PortableFileSystem {
        using PortableFileSystem::PortableFileSystem;
        std::function<void()> meanwhile;
        long CreateUnique(const std::string& folder, const std::string& prefix, const std::string& bytes,
                          std::string* path) override {
            const long rc = PortableFileSystem::CreateUnique(folder, prefix, bytes, path);
            if (auto other = std::exchange(meanwhile, nullptr)) other();
            return rc;
        }
    };
    TempFolder drive;
    MemoryRegistry registry;
    Interleaved files(drive.path());
    RecordingShell shell;
    RecordingBrowser browser;
    ScriptedDialogs dialogs;
    PortableEnvironment environment;
    Services services{registry, files, shell, browser, dialogs, environment, [] {}};
    const char* const mouse = "Control Panel\\Mouse";
    registry.PutString(reg::kCurrentUser, mouse, "MouseTrails", "1");
    std::string second;
    files.meanwhile = [&] {
        registry.PutString(reg::kCurrentUser, mouse, "MouseTrails", "2");
        second = SaveBackup(services).path;
    };
    const BackupSaved first = SaveBackup(services);
    ASSERT_EQ(first.error, 0);
    EXPECT_NE(first.path, second);
    for (const auto& [path, trails] : {std::pair{first.path, u"1"}, std::pair{second, u"2"}}) {
        std::string bytes;
        ASSERT_EQ(files.ReadAll(path, &bytes, false), 0) << path;
        MemoryRegistry restored;
        ASSERT_EQ(restored.LoadRegFile(bytes), "");
        EXPECT_EQ(restored.RawStored(reg::kCurrentUser, mouse, "MouseTrails")->data, WideText(trails)) << path;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(files.HostPath(BackupFolder(environment))), {}), 2);
}

}  // namespace
}  // namespace vantrel::testing
