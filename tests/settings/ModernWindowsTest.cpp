// The Windows 10 and 11 pages' rows: a policy's three states (its value
// absent, Enabled, Disabled) through a load and an apply, and the rows that
// are not policies.
#include <gtest/gtest.h>

#include "model/Forms.h"
#include "settings/SettingsTestSupport.h"

namespace vantrel::catalogue_test {
namespace {

// A stored value (none: absent) loaded into its control, the state then set
// (none: as loaded), and the value after an apply of that state.
struct PolicyCase {
    const char* control;
    std::optional<Raw> stored;
    int loaded;
    std::optional<int> set;
    std::optional<Raw> after;  // none: absent
    bool readOnly = false;     // the store refuses every change
    bool refused = false;      // the apply reports its change as not made
};

TEST(ModernWindowsRows, APolicyLoadsAndAppliesThePolicyEditorsStates) {
    constexpr int kNotConfigured = 2;
    const PolicyCase cases[] = {
        // Three states: grayed is the value absent, and its apply deletes a present one.
        {"Check28", std::nullopt, kNotConfigured, std::nullopt, std::nullopt},
        {"Check28", Dword(1), 1, std::nullopt, Dword(1)},
        {"Check28", Dword(0), 0, std::nullopt, Dword(0)},
        {"Check28", Dword(1), 1, kNotConfigured, std::nullopt},
        {"Check28", std::nullopt, kNotConfigured, 0, Dword(0)},
        {"Check28", Sz("1"), 1, std::nullopt, Dword(1)},
        // Data the policy never writes is left as stored until the box is changed.
        {"Check28", Dword(7), 0, std::nullopt, Dword(7)},
        {"Check28", Dword(7), 0, 1, Dword(1)},
        // Two states (no disabled data): the other data stays; grayed deletes.
        {"Check27", std::nullopt, kNotConfigured, 1, Dword(0)},
        {"Check27", Dword(1), 0, std::nullopt, Dword(1)},
        {"Check27", Dword(0), 1, kNotConfigured, std::nullopt},
        // The diagnostic data list: item 0 is "Not configured", items 1 to 4 the levels 0 to 3.
        {"Combo2", std::nullopt, 0, std::nullopt, std::nullopt},
        {"Combo2", Dword(3), 4, 0, std::nullopt},
        {"Combo2", Dword(0), 1, 2, Dword(1)},
        {"Combo2", Dword(9), -1, std::nullopt, Dword(9)},
        // The mouse's acceleration is no policy: absent, it is neither written nor deleted.
        {"Combo3", std::nullopt, -1, std::nullopt, std::nullopt},
        {"Combo3", Sz("1"), 1, 0, Sz("0")},
        // A deletion the registry refuses is reported; an absent value is not deleted at all.
        {"Check33", Dword(1), 1, kNotConfigured, Dword(1), true, true},
        {"Check33", std::nullopt, kNotConfigured, std::nullopt, std::nullopt, true},
    };
    for (const PolicyCase& c : cases) {
        const TweakRow& row = RowOf(c.control);
        const std::string what = std::string(c.control) + " from " +
                                 (c.stored ? std::string(c.stored->data.begin(), c.stored->data.end()) : "(absent)");
        Form form(Form1Def());
        MemoryRegistry store;
        Seed(store, row.root, row.loadKey, row.value, c.stored);
        store.SetReadOnly(row.root, c.readOnly);
        LoadRow(form, store, row);
        EXPECT_EQ(StateOf(form, c.control), c.loaded) << what;
        if (c.set) SetStateOf(form, c.control, *c.set);

        std::vector<SkippedWrite> skipped;
        ApplyRow(form, store, row, skipped);
        EXPECT_EQ(store.Raw(row.root, row.applyKey, row.value), c.after) << what;
        ASSERT_EQ(skipped.size(), c.refused ? 1u : 0u) << what;
        if (c.refused) {
            EXPECT_TRUE(skipped[0].remove);
            EXPECT_EQ(skipped[0].reason, "the registry refused to delete it");
        }
    }
}

}  // namespace
}  // namespace vantrel::catalogue_test
