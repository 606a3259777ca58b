// The registry contract run against advapi32 (under Wine in the test run),
// below a fresh scratch key of HKEY_CURRENT_USER removed after each test.
#include <windows.h>

#include "registry/RegistryContract.h"
#include "platform/win32/Win32Registry.h"

namespace vantrel::test {
namespace {

constexpr const char* kParent = "Software\\VantrelTest";

class Win32Backend : public RegistryBackend {
public:
    Win32Backend() {
        static unsigned counter = 0;
        scratch_ = std::string(kParent) + "\\" + std::to_string(GetCurrentProcessId()) + "-" +
                   std::to_string(GetTickCount()) + "-" + std::to_string(++counter);
        registry_.DeleteKeyTree(reg::kCurrentUser, scratch_);
    }
    ~Win32Backend() override {
        registry_.DeleteKeyTree(reg::kCurrentUser, scratch_);
        RegDeleteKeyA(HKEY_CURRENT_USER, kParent);  // only succeeds once it is empty
    }
    Registry& Reg() override { return registry_; }
    std::string Scratch() const override { return scratch_; }
    bool ValuesInCreationOrder() const override { return false; }

private:
    Win32Registry registry_;
    std::string scratch_;
};

INSTANTIATE_TEST_SUITE_P(Win32, RegistryContract,
                         ::testing::Values(RegistryBackendFactory{
                             "Win32Registry", [] { return std::make_unique<Win32Backend>(); }}),
                         RegistryContractName);

TEST(Win32RegistryTest, DeleteKeyTreeRemovesNestedKeys) {
    Win32Backend backend;
    Win32Registry& reg = static_cast<Win32Registry&>(backend.Reg());
    RegKey key = 0;
    ASSERT_EQ(reg.CreateKey(reg::kCurrentUser, backend.Scratch() + "\\A\\B\\C", &key), reg::kSuccess);
    reg.CloseKey(key);
    ASSERT_EQ(reg.CreateKey(reg::kCurrentUser, backend.Scratch() + "\\A\\D", &key), reg::kSuccess);
    reg.CloseKey(key);
    EXPECT_EQ(reg.DeleteKeyTree(reg::kCurrentUser, backend.Scratch() + "\\A"), reg::kSuccess);
    key = 0;
    EXPECT_EQ(reg.OpenKey(reg::kCurrentUser, backend.Scratch() + "\\A", &key), reg::kFileNotFound);
    EXPECT_EQ(reg.DeleteKeyTree(reg::kCurrentUser, backend.Scratch() + "\\A"), reg::kSuccess);
}

// A character the code page lacks is written as the default character, never
// as the letter it looks like: a fullwidth "H" does not make "Hidden".
TEST(Win32RegistryTest, TheCodePageWritesNoLookAlikes) {
    EXPECT_NE(SystemCodePage().ToAnsi(u"\uFF28idden"), "Hidden");
    EXPECT_EQ(SystemCodePage().ToAnsi(u"Hidden"), "Hidden");
}

}  // namespace
}  // namespace vantrel::test
