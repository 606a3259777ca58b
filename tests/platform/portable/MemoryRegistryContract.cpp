// The registry contract run against the in-memory store.
#include "registry/RegistryContract.h"

#include "platform/portable/MemoryRegistry.h"

namespace vantrel::test {
namespace {

class MemoryBackend : public RegistryBackend {
public:
    Registry& Reg() override { return store_; }
    std::string Scratch() const override { return "Software\\VantrelTest\\Contract"; }
    bool ValuesInCreationOrder() const override { return true; }

private:
    MemoryRegistry store_;
};

INSTANTIATE_TEST_SUITE_P(Memory, RegistryContract,
                         ::testing::Values(RegistryBackendFactory{
                             "MemoryRegistry", [] { return std::make_unique<MemoryBackend>(); }}),
                         RegistryContractName);

}  // namespace
}  // namespace vantrel::test
