// Backups on a Japanese system, through advapi32 itself: this suite runs in a
// process whose ANSI code page is Shift-JIS (its CTest entry starts Wine with
// a Japanese locale). A character whose second byte is 0x5C, the backslash,
// and one the code page lacks must both come back exactly.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/Win32Registry.h"
#include "registry/RegFile.h"
#include "registry/RegistryRoutines.h"

namespace vantrel::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class ScratchKey {
public:
    explicit ScratchKey(Win32Registry& reg)
        : reg_(reg), path_("Software\\VantrelTest\\Japanese-" + std::to_string(GetCurrentProcessId())) {
        reg_.DeleteKeyTree(reg::kCurrentUser, path_);
    }
    ~ScratchKey() {
        reg_.DeleteKeyTree(reg::kCurrentUser, path_);
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VantrelTest");  // only once it is empty
    }
    const std::string& path() const { return path_; }

private:
    Win32Registry& reg_;
    std::string path_;
};

Bytes ReadWide(Registry& reg, const std::string& path, const std::u16string& name) {
    RegKey key = 0;
    if (reg.OpenKey(reg::kCurrentUser, path, &key) != reg::kSuccess) return {};
    std::uint32_t type = 0, size = 0;
    Bytes data;
    if (reg.QueryValueW(key, name, &type, nullptr, &size) == reg::kSuccess) {
        data.resize(size);
        reg.QueryValueW(key, name, &type, data.data(), &size);
        data.resize(size);
    }
    reg.CloseKey(key);
    return data;
}

TEST(JapaneseCodePage, BackupsRestoreEveryValueExactly) {
    ASSERT_EQ(GetACP(), 932u) << "this suite is meant to run with a Japanese locale (LC_ALL=ja_JP.UTF-8)";
    Win32Registry reg;
    ScratchKey scratch(reg);
    const std::u16string folder = u"C:\\\u30BD\u30D5\u30C8\\\u8868\\caf\u00E9";
    Bytes original = Utf16LeBytes(folder);
    original.insert(original.end(), {0, 0});
    RegKey key = 0;
    ASSERT_EQ(reg.CreateKey(reg::kCurrentUser, scratch.path(), &key), reg::kSuccess);
    ASSERT_EQ(reg.SetValueW(key, u"Folder", reg::kSz, original.data(), static_cast<std::uint32_t>(original.size())),
              reg::kSuccess);
    reg.CloseKey(key);

    // The A functions give Shift-JIS: katakana "so" is 0x83 0x5C.
    const std::string ansi = GetString(reg, reg::kCurrentUser, scratch.path(), "Folder");
    EXPECT_EQ(ansi.substr(0, 5), "C:\\\x83\x5C");
    const std::vector<RegKeyBlock> blocks = ReadKeyTree(reg, reg::kCurrentUser, scratch.path());
    const RegWriteResult backup = WriteRegFile(blocks, RegFormat::Version5);
    ASSERT_TRUE(backup.ok()) << backup.error;
    // A REGEDIT4 backup of what the A functions read, escaped byte by byte.
    std::vector<RegKeyBlock> ansiBlocks = {{reg::kCurrentUser, blocks[0].path, false, {}}};
    ansiBlocks[0].values.push_back({"Folder", false, reg::kSz, Utf16LeBytes(reg.codePage().ToWide(ansi + '\0'))});
    const RegWriteResult oldBackup = WriteRegFile(ansiBlocks, RegFormat::Regedit4, reg.codePage());
    ASSERT_TRUE(oldBackup.ok()) << oldBackup.error;

    // Written back through the A functions the value loses its accented e.
    SaveString(reg, reg::kCurrentUser, scratch.path(), "Folder", ansi);
    EXPECT_NE(ReadWide(reg, scratch.path(), u"Folder"), original);

    const RegParseResult restore = ParseRegFile(backup.bytes, reg.codePage());
    ASSERT_TRUE(restore.ok()) << restore.error;
    EXPECT_TRUE(ApplyRegOps(reg, restore.ops).ok());
    EXPECT_EQ(ReadWide(reg, scratch.path(), u"Folder"), original);

    // The REGEDIT4 backup brings back what it holds, the 0x5C second bytes included.
    const RegParseResult old = ParseRegFile(oldBackup.bytes, reg.codePage());
    ASSERT_TRUE(old.ok()) << old.error;
    EXPECT_TRUE(ApplyRegOps(reg, old.ops).ok());
    const std::u16string back = FromUtf16LeBytes(ReadWide(reg, scratch.path(), u"Folder"));
    EXPECT_EQ(back.substr(0, 9), folder.substr(0, 9));
}

}  // namespace
}  // namespace vantrel::test
