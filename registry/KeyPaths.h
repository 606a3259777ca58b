// The keys a layer has open: each handle with the root and path it stands
// for, so that a layer over the registry can tell where a call reads or
// writes (a handle opened from another is followed down from it).
// KeyPlacesRegistry is that layer's base: it follows every open, create and
// close on its way through.
#pragma once

#include <map>
#include <string>

#include "registry/ForwardingRegistry.h"
#include "registry/KeyNames.h"
#include "registry/Registry.h"

namespace vantrel {

struct KeyPlace {
    RegKey root = 0;   // the plain root (no registry view)
    std::string path;  // below it, without a trailing backslash; "" for the root itself
};

class KeyPaths {
public:
    // After an open or a create: when it succeeded, *out stands for the
    // sub-key of parent (a root, or a handle known here). Returns status.
    long Opened(long status, RegKey parent, const std::string& subKey, const RegKey* out) {
        if (status != reg::kSuccess || out == nullptr) return status;
        const std::string sub(WithoutTrailingBackslash(subKey));
        if (reg::IsRoot(parent)) {
            open_[*out] = {reg::PlainRoot(parent), sub};
        } else if (const auto it = open_.find(parent); it != open_.end()) {
            const KeyPlace& above = it->second;
            open_[*out] = {above.root, above.path.empty() ? sub : sub.empty() ? above.path : above.path + "\\" + sub};
        }
        return status;
    }
    void Closed(RegKey key) { open_.erase(key); }
    // Where a handle stands: a root for itself; root 0 for a handle not known here.
    KeyPlace Find(RegKey key) const {
        if (reg::IsRoot(key)) return {reg::PlainRoot(key), {}};
        const auto it = open_.find(key);
        return it == open_.end() ? KeyPlace{} : it->second;
    }

private:
    std::map<RegKey, KeyPlace> open_;
};

class KeyPlacesRegistry : public ForwardingRegistry {
public:
    using ForwardingRegistry::ForwardingRegistry;

    long OpenKey(RegKey parent, const std::string& subKey, RegKey* out) override {
        return places_.Opened(inner_.OpenKey(parent, subKey, out), parent, subKey, out);
    }
    long CreateKey(RegKey parent, const std::string& subKey, RegKey* out) override {
        return places_.Opened(inner_.CreateKey(parent, subKey, out), parent, subKey, out);
    }
    long CloseKey(RegKey key) override {
        places_.Closed(key);
        return inner_.CloseKey(key);
    }

protected:
    // Where a handle this layer passed on stands (root 0: not known here).
    KeyPlace PlaceOf(RegKey key) const { return places_.Find(key); }

private:
    KeyPaths places_;
};

}  // namespace vantrel
