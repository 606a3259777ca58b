// The registry of another target: another user's profile, the Default
// profile, or a Windows installation that is not running. HKEY_CURRENT_USER
// is mapped onto the target's user hive, a key under HKEY_USERS (the user's
// SID for a user who is logged on, or the name the hive file was loaded
// under); for a Windows that is not running, HKEY_LOCAL_MACHINE\SOFTWARE and
// \SYSTEM are mapped onto its own hives, loaded under HKEY_LOCAL_MACHINE.
// Everything else passes through: without those places HKEY_LOCAL_MACHINE is
// the running machine's as it is.
//
// Keys opened through the layer stay in the mapped place (they are keys of
// the registry underneath, below the place), and the predefined roots used
// directly (a value queried on HKEY_CURRENT_USER itself, its subkeys
// enumerated) reach the place too. The passes above never learn where they
// write.
//
// A hive file of a Windows that is not running holds no CurrentControlSet:
// Windows makes it when it starts, from the control set that SYSTEM\Select's
// "Current" names ("Identifies the control set from which the
// CurrentControlSet subkey is derived. If this value is 0x1, for example, the
// subkey producing the CurrentControlSet is ControlSet001": "REG:
// ControlSet\Select Subkey Entries", Microsoft Knowledge Base 102984). The
// layer maps SYSTEM\CurrentControlSet onto that control set. Other keys of
// such a machine's HKEY_LOCAL_MACHINE are not there (opening one fails with
// 2, making one with 5): nothing of the running machine is touched.
//
// Every key the layer opened is closed by Close (or when the layer is
// destroyed), so that the hives can then be unloaded; a handle used after
// that fails with 6, never reaching the registry underneath.
#pragma once

#include <set>
#include <string>

#include "registry/ForwardingRegistry.h"

namespace vantrel {

// A key of the registry underneath: a root and a path below it.
struct RegPlace {
    RegKey root = 0;
    std::string path;
    bool empty() const { return root == 0; }
};

struct TargetPlaces {
    RegPlace user;          // HKEY_CURRENT_USER's place; empty: HKEY_CURRENT_USER as it is
    RegPlace software;      // a Windows not running: its SOFTWARE hive's place
    RegPlace system;        // and its SYSTEM hive's place
    std::string controlSet;  // "ControlSet001": what SYSTEM\CurrentControlSet stands for there
    bool offline() const { return !software.empty(); }
};

class TargetRegistry : public ForwardingRegistry {
public:
    // Opens the places; status() tells whether all of them opened.
    TargetRegistry(Registry& inner, TargetPlaces places);
    ~TargetRegistry() override;
    TargetRegistry(const TargetRegistry&) = delete;
    TargetRegistry& operator=(const TargetRegistry&) = delete;

    // 0 when every place opened, else the first failure's code.
    long status() const { return status_; }
    // Closes every key opened through the layer and the places themselves.
    void Close();

    long OpenKey(RegKey parent, const std::string& subKey, RegKey* out) override;
    long CreateKey(RegKey parent, const std::string& subKey, RegKey* out) override;
    long MayWrite(RegKey parent, const std::string& subKey) override;
    long QueryValue(RegKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override;
    long SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                  std::uint32_t size) override;
    long DeleteValue(RegKey key, const std::string& name) override;
    long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen) override;
    long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen, std::uint32_t* type,
                   std::uint8_t* data, std::uint32_t* dataLen) override;
    long CloseKey(RegKey key) override;
    long QueryValueW(RegKey key, const std::u16string& name, std::uint32_t* type, std::uint8_t* data,
                     std::uint32_t* size) override;
    long SetValueW(RegKey key, const std::u16string& name, std::uint32_t type, const std::uint8_t* data,
                   std::uint32_t size) override;
    long DeleteValueW(RegKey key, const std::u16string& name) override;
    long EnumValueW(RegKey key, std::uint32_t index, char16_t* name, std::uint32_t* nameLen, std::uint32_t* type,
                    std::uint8_t* data, std::uint32_t* dataLen) override;

private:
    // A key and sub-key of the registry underneath, or the code the call meets.
    struct Mapped {
        long status = 0;
        RegKey parent = 0;
        std::string subKey;
        bool systemRoot = false;  // the key opened stands for the SYSTEM hive's root
    };
    // `refused` is the code a key outside the mapped hives meets (2 to open, 5 to write).
    Mapped Map(RegKey parent, const std::string& subKey, long refused) const;
    // The key underneath that a handle of a value call stands for; 0 with *status set when none.
    RegKey Handle(RegKey key, long refused, long* status) const;
    long Opened(long status, const Mapped& mapped, RegKey key, RegKey* out);
    std::string ControlSet(const std::string& path) const;

    TargetPlaces places_;
    RegKey user_ = 0, software_ = 0, system_ = 0;
    long status_ = 0;
    bool closed_ = false;
    std::set<RegKey> open_;         // keys opened through the layer, not yet closed
    std::set<RegKey> systemRoots_;  // those that stand for the SYSTEM hive's root
};

}  // namespace vantrel
