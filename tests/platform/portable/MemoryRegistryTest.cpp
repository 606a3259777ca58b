// What only the in-memory store offers: read-only roots, key tree removal,
// direct seeding, and a few orderings and path forms the contract does not
// pin down for every backend.
#include <gtest/gtest.h>

#include "registry/RegistryContract.h"
#include "platform/portable/MemoryRegistry.h"
#include "registry/RegistryRoutines.h"

namespace vantrel::test {
namespace {

using namespace std::string_view_literals;

constexpr RegKey kHklm = reg::kLocalMachine;
const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

TEST(MemoryRegistryTest, ReadOnlyRootRefusesWritesButServesReads) {
    MemoryRegistry store;
    store.PutString(kHklm, kRun, "Tool", "C:\\tool.exe");
    store.SetReadOnly(kHklm, true);

    RegKey key = 0;
    EXPECT_EQ(store.CreateKey(kHklm, "Software\\New", &key), reg::kAccessDenied);
    EXPECT_EQ(store.CreateKey(kHklm, kRun, &key), reg::kAccessDenied);  // existing key: full access asked
    EXPECT_EQ(key, 0u);
    EXPECT_FALSE(store.HasKey(kHklm, "Software\\New"));

    ASSERT_EQ(store.OpenKey(kHklm, kRun, &key), reg::kSuccess);
    const std::uint8_t byte = 0;
    EXPECT_EQ(store.SetValue(key, "Other", reg::kSz, &byte, 1), reg::kAccessDenied);
    EXPECT_EQ(store.DeleteValue(key, "Tool"), reg::kAccessDenied);
    store.CloseKey(key);

    EXPECT_EQ(GetString(store, kHklm, kRun, "Tool"), "C:\\tool.exe");
    EXPECT_EQ(SaveString(store, kHklm, kRun, "Tool", "x"), WriteResult::Refused);
    EXPECT_EQ(SaveStringLong(store, kHklm, kRun, "N", "1"), WriteResult::Refused);
    EXPECT_EQ(SaveStringLong(store, kHklm, kRun, "N", "abc"), WriteResult::NotANumber);
    EXPECT_EQ(DelSetting(store, kHklm, kRun, "Tool"), WriteResult::Refused);
    EXPECT_EQ(DelSetting(store, kHklm, "Software\\Missing", "Tool"), WriteResult::Refused);
    EXPECT_EQ(store.Raw(kHklm, kRun, "Tool")->data, ToBytes("C:\\tool.exe\0"sv));

    // The other root is unaffected, and the flag can be lifted.
    EXPECT_EQ(SaveString(store, reg::kCurrentUser, kRun, "Tool", "x"), WriteResult::Stored);
    store.SetReadOnly(kHklm, false);
    EXPECT_EQ(SaveString(store, kHklm, kRun, "Tool", "y"), WriteResult::Stored);
}

TEST(MemoryRegistryTest, StringDataWithoutNulKeepsItsExactSize) {
    MemoryRegistry store;
    store.Put(reg::kCurrentUser, "K", "Bare", reg::kSz, ToBytes("abc"sv));
    RegKey key = 0;
    ASSERT_EQ(store.OpenKey(reg::kCurrentUser, "K", &key), reg::kSuccess);
    std::uint32_t size = 0;
    ASSERT_EQ(store.QueryValue(key, "Bare", nullptr, nullptr, &size), reg::kSuccess);
    EXPECT_EQ(size, 3u);
    std::uint8_t exact[3];
    EXPECT_EQ(store.QueryValue(key, "Bare", nullptr, exact, &size), reg::kSuccess);
    EXPECT_EQ(Bytes(exact, exact + 3), ToBytes("abc"sv));
    store.CloseKey(key);
}

TEST(MemoryRegistryTest, RoutinesCloseEveryHandleTheyOpen) {
    MemoryRegistry store;
    SaveString(store, reg::kCurrentUser, "A\\B", "S", "text");
    SaveStringLong(store, reg::kCurrentUser, "A\\B", "N", "5");
    GetString(store, reg::kCurrentUser, "A\\B", "S");
    GetString(store, reg::kCurrentUser, "Missing", "S");
    DelSetting(store, reg::kCurrentUser, "A\\B", "N");
    EXPECT_EQ(store.OpenHandleCount(), 0u);
}

TEST(MemoryRegistryTest, SubkeysSortByUpperCasedBytes) {
    MemoryRegistry store;
    // Upper-cased, '_' (0x5F) sorts after the letters; lower-cased it would not.
    for (const char* name : {"_tail", "zed", "Abc", "a_b", "ab"}) store.PutDword(reg::kCurrentUser, std::string("K\\") + name, "", 0);
    std::vector<std::string> names;
    RegKey key = 0;
    ASSERT_EQ(store.OpenKey(reg::kCurrentUser, "K", &key), reg::kSuccess);
    char name[32];
    for (std::uint32_t len = sizeof name, i = 0; store.EnumKey(key, i, name, &len) == reg::kSuccess; ++i, len = sizeof name) {
        names.emplace_back(name);
    }
    store.CloseKey(key);
    EXPECT_EQ(names, (std::vector<std::string>{"ab", "Abc", "a_b", "zed", "_tail"}));
}

TEST(MemoryRegistryTest, MalformedPathsAndHandleNumbers) {
    MemoryRegistry store;
    RegKey key = 0;
    EXPECT_EQ(store.CreateKey(reg::kCurrentUser, "\\Leading", &key), reg::kBadPathname);
    EXPECT_EQ(store.CreateKey(reg::kCurrentUser, "Double\\\\Slash", &key), reg::kBadPathname);
    EXPECT_EQ(store.CreateKey(reg::kCurrentUser, "Two\\\\", &key), reg::kBadPathname);
    EXPECT_EQ(key, 0u);
    EXPECT_FALSE(store.HasKey(reg::kCurrentUser, "Double"));

    ASSERT_EQ(store.CreateKey(reg::kCurrentUser, "", &key), reg::kSuccess);  // the root itself
    EXPECT_NE(key, 0u);
    EXPECT_NE(key, reg::kCurrentUser);
    EXPECT_EQ(store.CloseKey(key), reg::kSuccess);
    EXPECT_EQ(store.CloseKey(key), reg::kInvalidHandle);
    EXPECT_EQ(store.CloseKey(reg::kLocalMachine), reg::kSuccess);
}

TEST(MemoryRegistryTest, DeleteKeyTreeRemovesSubtreeAndStalesItsHandles) {
    MemoryRegistry store;
    store.PutString(reg::kCurrentUser, "Top\\Mid\\Leaf", "v", "1");
    store.PutString(reg::kCurrentUser, "Top\\Other", "v", "2");
    RegKey leaf = 0;
    ASSERT_EQ(store.OpenKey(reg::kCurrentUser, "Top\\Mid\\Leaf", &leaf), reg::kSuccess);

    EXPECT_EQ(store.DeleteKeyTree(reg::kCurrentUser, "TOP\\mid\\"), reg::kSuccess);
    EXPECT_FALSE(store.HasKey(reg::kCurrentUser, "Top\\Mid"));
    EXPECT_TRUE(store.HasKey(reg::kCurrentUser, "Top\\Other"));
    std::uint32_t size = 0;
    EXPECT_EQ(store.QueryValue(leaf, "v", nullptr, nullptr, &size), 1018);  // ERROR_KEY_DELETED
    EXPECT_EQ(store.CloseKey(leaf), reg::kSuccess);

    EXPECT_EQ(store.DeleteKeyTree(reg::kCurrentUser, "Top\\Mid"), reg::kSuccess);  // already gone
    EXPECT_EQ(store.DeleteKeyTree(reg::kCurrentUser, ""), reg::kAccessDenied);
}

TEST(MemoryRegistryTest, DeletingAValueKeepsTheOrderOfTheRest) {
    MemoryRegistry store;
    for (const char* name : {"c", "a", "d", "b"}) store.PutString(reg::kCurrentUser, "K", name, name);
    RegKey key = 0;
    ASSERT_EQ(store.OpenKey(reg::kCurrentUser, "K", &key), reg::kSuccess);
    EXPECT_EQ(store.DeleteValue(key, "A"), reg::kSuccess);
    store.PutString(reg::kCurrentUser, "K", "a", "again");  // comes back at the end
    std::string order;
    char name[8];
    for (std::uint32_t len = sizeof name, i = 0; store.EnumValue(key, i, name, &len, nullptr, nullptr, nullptr) == 0;
         ++i, len = sizeof name) {
        order += name;
    }
    store.CloseKey(key);
    EXPECT_EQ(order, "cdba");
    EXPECT_EQ(GetString(store, reg::kCurrentUser, "K", "B"), "b");
}

}  // namespace
}  // namespace vantrel::test
