// The recording layer behaves as a registry to its readers (the contract
// suite), keeps its writes from the registry underneath, and learns from it
// which writes would be refused.
#include "registry/RecordingRegistry.h"

#include "platform/portable/MemoryRegistry.h"
#include "registry/RegistryContract.h"
#include "registry/RegistryRoutines.h"

namespace vantrel::test {
namespace {

class RecordingBackend : public RegistryBackend {
public:
    Registry& Reg() override { return layer_; }
    std::string Scratch() const override { return "Software\\VantrelTest\\Contract"; }
    bool ValuesInCreationOrder() const override { return true; }

private:
    MemoryRegistry store_;
    RecordingRegistry layer_{store_};
};

INSTANTIATE_TEST_SUITE_P(Recording, RegistryContract,
                         ::testing::Values(RegistryBackendFactory{
                             "RecordingRegistry", [] { return std::make_unique<RecordingBackend>(); }}),
                         RegistryContractName);

constexpr char kKey[] = "Control Panel\\Mouse";

TEST(RecordingRegistry, WritesStayInTheLayerAndReadersSeeThem) {
    MemoryRegistry store;
    store.PutString(reg::kCurrentUser, kKey, "MouseTrails", "2");
    store.PutString(reg::kCurrentUser, kKey, "SwapMouseButtons", "0");
    RecordingRegistry layer(store);

    EXPECT_EQ(SaveString(layer, reg::kCurrentUser, "Control Panel\\Mouse\\", "MouseTrails", "7"), WriteResult::Stored);
    EXPECT_EQ(SaveStringLong(layer, reg::kCurrentUser, "Software\\New\\Deep", "Days", "30"), WriteResult::Stored);
    EXPECT_EQ(DelSetting(layer, reg::kCurrentUser, kKey, "SwapMouseButtons"), WriteResult::Stored);

    // Through the layer: the writes. Underneath: nothing changed, no key made.
    EXPECT_EQ(GetString(layer, reg::kCurrentUser, kKey, "MouseTrails"), "7");
    EXPECT_EQ(GetString(layer, reg::kCurrentUser, "Software\\New\\Deep", "Days"), "30");
    EXPECT_EQ(GetString(layer, reg::kCurrentUser, kKey, "SwapMouseButtons"), "");
    EXPECT_EQ(GetString(store, reg::kCurrentUser, kKey, "MouseTrails"), "2");
    EXPECT_EQ(GetString(store, reg::kCurrentUser, kKey, "SwapMouseButtons"), "0");
    EXPECT_FALSE(store.HasKey(reg::kCurrentUser, "Software\\New"));
    EXPECT_EQ(store.OpenHandleCount(), 0u);

    const auto& writes = layer.writes();
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0].path, kKey);  // the trailing backslash is not part of the key's name
    EXPECT_EQ(writes[0].type, reg::kSz);
    EXPECT_EQ(writes[0].data, Utf16LeBytes(std::u16string_view(u"7\0", 2)));  // as stored: UTF-16
    EXPECT_EQ(writes[1].type, reg::kDword);
    EXPECT_TRUE(writes[2].remove);
}

TEST(RecordingRegistry, RefusalsComeFromUnderneathUnlessToldOtherwise) {
    MemoryRegistry store;
    store.PutString(reg::kLocalMachine, "SOFTWARE\\Existing", "Value", "old");
    store.SetReadOnly(reg::kLocalMachine, true);

    RecordingRegistry asking(store);
    EXPECT_EQ(SaveString(asking, reg::kLocalMachine, "SOFTWARE\\Existing", "Value", "new"), WriteResult::Refused);
    EXPECT_EQ(SaveString(asking, reg::kLocalMachine, "SOFTWARE\\Missing\\Below", "Value", "new"), WriteResult::Refused);
    EXPECT_EQ(SaveString(asking, reg::kCurrentUser, "Software\\Missing", "Value", "new"), WriteResult::Stored);
    EXPECT_EQ(asking.writes().size(), 1u);

    RecordingRegistry taking(store, RecordingRegistry::Refusals::None);
    EXPECT_EQ(SaveString(taking, reg::kLocalMachine, "SOFTWARE\\Existing", "Value", "new"), WriteResult::Stored);
    EXPECT_EQ(GetString(store, reg::kLocalMachine, "SOFTWARE\\Existing", "Value"), "old");
}

}  // namespace
}  // namespace vantrel::test
