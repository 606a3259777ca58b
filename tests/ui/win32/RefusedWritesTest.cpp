// Review Changes over the prefix's registry: a key the user may read but not
// write (its access list denies setting values and making subkeys) opens for
// RegCreateKeyA all the same, so only asking for the write's own rights tells
// that the apply would be refused. The key's access list and values are put
// back afterwards.
#include "platform/win32/WindowsApi.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "model/Forms.h"
#include "app/Review.h"
#include "platform/win32/Win32Files.h"
#include "ui/win32/PrefixGuards.h"

namespace vantrel::test {
namespace {

const std::string kMessenger = R"(SYSTEM\ControlSet001\Services\Messenger)";

TEST(RefusedWrites, ReviewMarksAValueWhoseKeyRefusesWrites) {
    Win32Registry registry;
    Win32FileSystem files;
    RegistryGuard restoreRegistry(registry, ApplyTargets());
    SeedDword(registry, reg::kLocalMachine, kMessenger, "Start", 4);

    Form form1(Form1Def());
    LoadSettings(form1, registry);
    FillStartMenuList(form1);
    LoadStartMenuChecks(form1, registry);
    form1.check("Check1").setValue(1);  // "Enable Net Send": the apply would write 2

    DenyValueWrites deny(HKEY_LOCAL_MACHINE, kMessenger);
    ASSERT_TRUE(deny.denied());
    const struct {
        RegKey root;
        std::string path;
        long status;
    } asked[] = {
        {reg::kLocalMachine, kMessenger, reg::kAccessDenied},                       // its values
        {reg::kLocalMachine, kMessenger + "\\Missing\\Deeper", reg::kAccessDenied},  // keys made below it
        {reg::kLocalMachine, kMessenger + "\\", reg::kAccessDenied},
        {reg::kCurrentUser, R"(Control Panel\Mouse)", reg::kSuccess},
        {reg::kCurrentUser, R"(Software\Vantrel Missing\Below)", reg::kSuccess},
    };
    for (const auto& a : asked) EXPECT_EQ(registry.MayWrite(a.root, a.path), a.status) << a.path;

    const std::vector<ValueChange> changes = ChangesOfApply(form1, registry, files);
    const auto netSend = std::find_if(changes.begin(), changes.end(), [](const ValueChange& c) {
        return c.root == reg::kLocalMachine && c.key == kMessenger && c.value == "Start";
    });
    ASSERT_NE(netSend, changes.end());
    EXPECT_EQ(netSend->notWritten.rfind("the registry refused the write: ", 0), 0u) << netSend->notWritten;
    EXPECT_EQ(ReadDword(registry, reg::kLocalMachine, kMessenger, "Start"), 4u) << "a review writes nothing";
}

}  // namespace
}  // namespace vantrel::test
