// A registry that keeps each key it opens open until it is itself destroyed:
// for the short unattended runs, which read every value the apply writes
// (the load pass), read them again (the backup) and then write them, each
// through a routine that opens its key, does one thing and closes it. Under
// Wine every open and close is a call to the server; with the keys kept, a
// key of the catalogue is opened once per run. The values read and written
// are the same. Only keys below a predefined root are kept; a key that could
// not be opened is asked for again next time (it may have been made since).
// Not for the window, which lives long enough for other programs to delete
// and make keys under it.
#pragma once

#include <map>
#include <string>
#include <tuple>

#include "registry/ForwardingRegistry.h"
#include "registry/KeyNames.h"

namespace vantrel {

class KeptKeysRegistry : public ForwardingRegistry {
public:
    explicit KeptKeysRegistry(Registry& inner) : ForwardingRegistry(inner) {}
    KeptKeysRegistry(const KeptKeysRegistry&) = delete;
    KeptKeysRegistry& operator=(const KeptKeysRegistry&) = delete;
    ~KeptKeysRegistry() override {
        for (const auto& [where, key] : kept_) inner_.CloseKey(key);
    }

    // A key opened and a key made are kept apart: which access each asks
    // for is not documented (unknown), so each serves only its own kind of call.
    long OpenKey(RegKey parent, const std::string& subKey, RegKey* out) override {
        return Keep(false, parent, subKey, out, [&](RegKey* key) { return inner_.OpenKey(parent, subKey, key); });
    }
    long CreateKey(RegKey parent, const std::string& subKey, RegKey* out) override {
        return Keep(true, parent, subKey, out, [&](RegKey* key) { return inner_.CreateKey(parent, subKey, key); });
    }
    long CloseKey(RegKey key) override {
        for (const auto& [where, kept] : kept_) {
            if (kept == key) return reg::kSuccess;  // closed when the run ends
        }
        return inner_.CloseKey(key);
    }

private:
    static bool IsRoot(RegKey key) { return key >= reg::kClassesRoot; }

    template <class Open>
    long Keep(bool made, RegKey parent, const std::string& subKey, RegKey* out, Open open) {
        if (!IsRoot(parent)) return open(out);
        const Where where{made, parent, KeyIdentity(subKey)};
        if (auto it = kept_.find(where); it != kept_.end()) {
            *out = it->second;
            return reg::kSuccess;
        }
        RegKey key = 0;
        const long status = open(&key);
        if (status != reg::kSuccess) return status;
        kept_.emplace(where, key);
        *out = key;
        return status;
    }

    using Where = std::tuple<bool, RegKey, std::string>;  // made, root, key identity
    std::map<Where, RegKey> kept_;
};

}  // namespace vantrel
