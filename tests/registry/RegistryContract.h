// The behaviour every registry backend must show, written once and run
// against each: the in-memory store (both trees) and advapi32 (Windows tree,
// under Wine). Each test works below a scratch key of HKEY_CURRENT_USER that
// the backend removes again when the test ends.
//
// RegistryContract.cpp holds the tests; each backend instantiates them with
// INSTANTIATE_TEST_SUITE_P(Name, RegistryContract, ::testing::Values(factory),
// RegistryContractName).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "registry/Registry.h"

namespace vantrel::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ToBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

inline Bytes Dword(std::uint32_t n) {
    return {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n >> 16),
            static_cast<std::uint8_t>(n >> 24)};
}

// A value as read back: result code, type and exact bytes.
struct Stored {
    long status = -1;
    std::uint32_t type = 0;
    Bytes data;
};

class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;  // removes the scratch key
    virtual Registry& Reg() = 0;
    // A key path below HKEY_CURRENT_USER that does not exist yet.
    virtual std::string Scratch() const = 0;
    // advapi32 under Wine lists values alphabetically; Windows and the
    // in-memory store list them in the order they were first set.
    virtual bool ValuesInCreationOrder() const = 0;
};

struct RegistryBackendFactory {
    std::string name;
    std::function<std::unique_ptr<RegistryBackend>()> make;
};

inline std::string RegistryContractName(const ::testing::TestParamInfo<RegistryBackendFactory>& info) {
    return info.param.name;
}

class RegistryContract : public ::testing::TestWithParam<RegistryBackendFactory> {
protected:
    void SetUp() override {
        backend_ = GetParam().make();
        scratch_ = backend_->Scratch();
    }
    void TearDown() override { backend_.reset(); }

    Registry& reg() { return backend_->Reg(); }
    // A path below the scratch key ("" gives the scratch key itself).
    std::string Path(const std::string& below = "") const { return below.empty() ? scratch_ : scratch_ + "\\" + below; }
    bool ValuesInCreationOrder() const { return backend_->ValuesInCreationOrder(); }

    static constexpr RegKey kRoot = reg::kCurrentUser;

    RegKey Create(const std::string& path) {
        RegKey key = 0;
        EXPECT_EQ(reg().CreateKey(kRoot, path, &key), reg::kSuccess) << path;
        return key;
    }
    bool KeyExists(const std::string& path) {
        RegKey key = 0;
        const long status = reg().OpenKey(kRoot, path, &key);
        reg().CloseKey(key);
        return status == reg::kSuccess;
    }
    // Stores exactly these bytes. RegSetValueExA on Windows NT counts one
    // byte more when string data lacks its NUL and the byte after the counted
    // ones is a NUL, so the buffer carries a non-NUL byte past the end.
    void Put(const std::string& path, const std::string& name, std::uint32_t type, const Bytes& data) {
        Bytes padded = data;
        padded.push_back('X');
        const RegKey key = Create(path);
        EXPECT_EQ(reg().SetValue(key, name, type, padded.data(), static_cast<std::uint32_t>(data.size())),
                  reg::kSuccess);
        reg().CloseKey(key);
    }
    // Reads a value's type and exact bytes: a size query, then a read into a
    // buffer of that size.
    Stored Get(const std::string& path, const std::string& name) {
        Stored out;
        RegKey key = 0;
        out.status = reg().OpenKey(kRoot, path, &key);
        if (out.status != reg::kSuccess) return out;
        std::uint32_t size = 0;
        out.status = reg().QueryValue(key, name, &out.type, nullptr, &size);
        if (out.status == reg::kSuccess) {
            out.data.assign(size, 0xCC);
            out.status = reg().QueryValue(key, name, &out.type, out.data.data(), &size);
            out.data.resize(size);
        }
        reg().CloseKey(key);
        return out;
    }
    std::vector<std::string> SubKeys(const std::string& path) {
        std::vector<std::string> names;
        RegKey key = 0;
        EXPECT_EQ(reg().OpenKey(kRoot, path, &key), reg::kSuccess);
        char name[256];
        for (std::uint32_t i = 0;; ++i) {
            std::uint32_t len = sizeof name;
            const long status = reg().EnumKey(key, i, name, &len);
            if (status != reg::kSuccess) {
                EXPECT_EQ(status, reg::kNoMoreItems);
                break;
            }
            names.emplace_back(name, len);
        }
        reg().CloseKey(key);
        return names;
    }
    std::vector<std::string> ValueNames(const std::string& path) {
        std::vector<std::string> names;
        RegKey key = 0;
        EXPECT_EQ(reg().OpenKey(kRoot, path, &key), reg::kSuccess);
        char name[256];
        for (std::uint32_t i = 0;; ++i) {
            std::uint32_t len = sizeof name;
            const long status = reg().EnumValue(key, i, name, &len, nullptr, nullptr, nullptr);
            if (status != reg::kSuccess) {
                EXPECT_EQ(status, reg::kNoMoreItems);
                break;
            }
            names.emplace_back(name, len);
        }
        reg().CloseKey(key);
        return names;
    }

private:
    std::unique_ptr<RegistryBackend> backend_;
    std::string scratch_;
};

}  // namespace vantrel::test
