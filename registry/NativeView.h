// The registry as Windows itself reads it. A 32-bit program on 64-bit Windows
// (under WOW64) sees HKEY_LOCAL_MACHINE\SOFTWARE through the 32-bit registry
// view, redirected to SOFTWARE\Wow6432Node, while Windows and its 64-bit
// programs read the 64-bit view ("Registry Redirector", learn.microsoft.com/
// windows/win32/winprog64/registry-redirector). Under WOW64 this layer opens
// and creates every key of HKEY_LOCAL_MACHINE in the 64-bit view, so that the
// settings, the recording layer over them, the backups and Restore all read
// and write the values Windows uses. Shared keys are the same in both views,
// and HKEY_CURRENT_USER\Software is shared but for parts of its Classes key,
// which Vantrel does not touch ("Registry Keys Affected by WOW64",
// .../winprog64/shared-registry-keys): the current user's keys are left as
// they are.
// Elsewhere it passes every call through unchanged.
#pragma once

#include "registry/ForwardingRegistry.h"

namespace vantrel {

class NativeViewRegistry : public ForwardingRegistry {
public:
    NativeViewRegistry(Registry& inner, bool wow64) : ForwardingRegistry(inner), wow64_(wow64) {}

    long OpenKey(RegKey parent, const std::string& subKey, RegKey* out) override {
        return inner_.OpenKey(View(parent), subKey, out);
    }
    long CreateKey(RegKey parent, const std::string& subKey, RegKey* out) override {
        return inner_.CreateKey(View(parent), subKey, out);
    }
    long MayWrite(RegKey parent, const std::string& subKey) override { return inner_.MayWrite(View(parent), subKey); }

private:
    RegKey View(RegKey parent) const { return wow64_ && parent == reg::kLocalMachine ? reg::kLocalMachine64 : parent; }

    bool wow64_;
};

}  // namespace vantrel
