// Writes that do not hold: a value Windows refuses or changes at once while
// the write reports success is read back right after the apply and reported
// as not applied, with its key, in the window, in /apply's log and exit code,
// and in Review Changes.
#include <functional>

#include "app/Unattended.h"
#include "registry/ForwardingRegistry.h"
#include "registry/RegistryRoutines.h"
#include "support/TestRig.h"

namespace vantrel::testing {
namespace {

const std::string kMouse = "Control Panel\\Mouse";

// A registry that takes every write to one value and then keeps, or puts
// there, what it chooses: `undo` gives the data it holds after the write
// (nothing: the write is dropped).
class Undoing : public ForwardingRegistry {
public:
    Undoing(Registry& inner, std::function<void(Registry&, RegKey)> undo) : ForwardingRegistry(inner), undo_(undo) {}
    long SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                  std::uint32_t size) override {
        if (name != "SwapMouseButtons") return inner_.SetValue(key, name, type, data, size);
        undo_(inner_, key);
        return reg::kSuccess;
    }

private:
    std::function<void(Registry&, RegKey)> undo_;
};

TEST(ReadBack, AWriteThatDoesNotHoldIsNamedWithItsKey) {
    const auto putBack = [](const char* text) {
        return [text](Registry& reg, RegKey key) {
            const std::string data = std::string(text) + '\0';
            reg.SetValue(key, "SwapMouseButtons", reg::kSz, reinterpret_cast<const std::uint8_t*>(data.data()),
                         static_cast<std::uint32_t>(data.size()));
        };
    };
    const struct {
        const char* name;
        std::function<void(Registry&, RegKey)> undo;
        std::string said;
    } cases[] = {
        {"dropped", [](Registry&, RegKey) {}, "reads back \"0\""},
        {"changed at once", putBack("7"), "reads back \"7\""},
        {"taken away", [](Registry& reg, RegKey key) { reg.DeleteValue(key, "SwapMouseButtons"); }, "is absent"},
    };
    const std::string where = "Mouse - Mouse Hand:: the write did not hold: HKEY_CURRENT_USER\\" + kMouse +
                              " \"SwapMouseButtons\" ";
    for (const auto& c : cases) {
        TestRig rig;
        SeedFolders(rig.registry);
        rig.registry.PutString(reg::kCurrentUser, kMouse, "SwapMouseButtons", "0");
        ASSERT_EQ(rig.files.WriteAll("C:\\p.reg", "REGEDIT4\r\n[HKEY_CURRENT_USER\\" + kMouse +
                                                      "]\r\n\"SwapMouseButtons\"=\"1\"\r\n"),
                  0);
        Undoing undoing(rig.view, c.undo);
        Services services{undoing, rig.files, rig.shell, rig.browser, rig.dialogs, rig.environment, [] {}};

        App unattended(services);
        EXPECT_EQ(RunUnattended(unattended, ParseSwitches({"/apply", "C:\\p.reg", "/log", "C:\\run.log"})), 1) << c.name;
        std::string log;
        ASSERT_EQ(rig.files.ReadAll("C:\\run.log", &log, false), 0);
        EXPECT_NE(log.find(where + c.said), std::string::npos) << c.name << "\n" << log;

        // The window: the apply's message names it, and Review Changes marks it afterwards.
        App window(services);
        window.Form_Load();
        window.form1().option("Option1").setValue(true);  // left-handed: "1"
        rig.dialogs.ExpectMessage("Some Changes Were Not Applied", mb::kAnswerOk, "", mb::kExclamation);
        window.apply_Click();
        EXPECT_NE(rig.dialogs.shown.back().prompt.find(where + c.said), std::string::npos)
            << c.name << "\n" << rig.dialogs.shown.back().prompt;
        rig.dialogs.ExpectReview("Review Changes", false);
        window.Menu("review");
        ASSERT_FALSE(rig.dialogs.reviews.empty()) << c.name;
        bool marked = false;
        for (const ReviewList::Row& row : rig.dialogs.reviews.back().rows) {
            marked = marked || (row.marked && row.cells[4].find("at the last apply, the write did not hold") != std::string::npos);
        }
        EXPECT_TRUE(marked) << c.name;
    }
}

}  // namespace
}  // namespace vantrel::testing
