// The unattended runs' key-keeping layer: every read and write comes out as
// without it, while each key is opened once and closed once, when the run ends.
#include "registry/KeptKeys.h"

#include <gtest/gtest.h>

#include "platform/portable/MemoryRegistry.h"
#include "registry/RegistryRoutines.h"

namespace vantrel::testing {
namespace {

// Counts the opens, makes and closes that reach the store.
class CountingRegistry : public ForwardingRegistry {
public:
    using ForwardingRegistry::ForwardingRegistry;
    long OpenKey(RegKey parent, const std::string& subKey, RegKey* out) override {
        ++opened;
        return inner_.OpenKey(parent, subKey, out);
    }
    long CreateKey(RegKey parent, const std::string& subKey, RegKey* out) override {
        ++made;
        return inner_.CreateKey(parent, subKey, out);
    }
    long CloseKey(RegKey key) override {
        if (key != 0 && key < reg::kClassesRoot) ++closed;
        return inner_.CloseKey(key);
    }
    int opened = 0, made = 0, closed = 0;
};

TEST(KeptKeys, EachKeyIsOpenedOnceAndTheValuesAreTheSame) {
    const std::string mouse = R"(Control Panel\Mouse)";
    MemoryRegistry store;
    store.PutString(reg::kCurrentUser, mouse, "MouseTrails", "3");
    CountingRegistry counted(store);
    {
        KeptKeysRegistry kept(counted);
        const struct {
            const char* step;
            std::function<void()> run;
            int opened, made;  // reaching the store so far
        } steps[] = {
            {"a read", [&] { EXPECT_EQ(GetString(kept, reg::kCurrentUser, mouse, "MouseTrails"), "3"); }, 1, 0},
            {"the same key, other case and a trailing backslash",
             [&] { EXPECT_EQ(GetString(kept, reg::kCurrentUser, R"(control panel\MOUSE\)", "MouseTrails"), "3"); }, 1, 0},
            {"a missing key is asked for each time",
             [&] { EXPECT_EQ(GetString(kept, reg::kCurrentUser, "Software\\New", "Value"), ""); }, 2, 0},
            {"a write makes it", [&] { SaveString(kept, reg::kCurrentUser, "Software\\New", "Value", "x"); }, 2, 1},
            {"a second write keeps the made key",
             [&] { SaveString(kept, reg::kCurrentUser, "Software\\New", "Other", "y"); }, 2, 1},
            {"and now it opens", [&] { EXPECT_EQ(GetString(kept, reg::kCurrentUser, "Software\\New", "Value"), "x"); }, 3, 1},
        };
        for (const auto& s : steps) {
            s.run();
            EXPECT_EQ(counted.opened, s.opened) << s.step;
            EXPECT_EQ(counted.made, s.made) << s.step;
            EXPECT_EQ(counted.closed, 0) << s.step << ": a kept key was closed before the run ended";
        }
    }
    EXPECT_EQ(counted.closed, 3);  // the mouse key opened, Software\New made and opened
    EXPECT_EQ(GetString(store, reg::kCurrentUser, "Software\\New", "Other"), "y");
}

}  // namespace
}  // namespace vantrel::testing
