// Seeing what a write would change before it happens. "Review Changes" runs
// the apply pass over a recording layer; "Restore Backup" looks at the values
// of a .reg file that Vantrel manages. Both end in one review list, value by
// value: what is stored now and what would be written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/Controls.h"
#include "platform/Platform.h"
#include "registry/RegFile.h"
#include "registry/Registry.h"
#include "settings/Standing.h"
#include "settings/TweakRow.h"

namespace vantrel {

// A value's type and data as the registry holds them (string types in UTF-16LE).
struct StoredData {
    std::uint32_t type = reg::kNone;
    std::vector<std::uint8_t> data;
    bool operator==(const StoredData&) const = default;
};

// One value a write would change.
struct ValueChange {
    std::string page;     // the page's caption ("Explorer")
    std::string setting;  // the caption of the control
    RegKey root = 0;
    std::string key;    // as the catalogue names it
    std::string value;  // the value name
    std::optional<StoredData> now{};      // nothing: the value is absent
    std::optional<StoredData> written{};  // nothing: the value is deleted
    std::string notWritten{};             // why the write would not be made; "" when it would
    std::string control{};                // the catalogue row's control string
    bool noEffect = false;                // not written: the setting has no effect on this Windows
};

// The value as stored now, read with the wide functions; nothing when absent.
std::optional<StoredData> StoredNow(Registry& reg, RegKey root, const std::string& key, const std::string& value);

// What "Apply Changes" would change from the pages as they are now: the
// apply pass over a recording layer that asks the registry underneath which
// writes it would refuse (nothing is written). In the order the apply writes.
// Values written unchanged are left out; so are writes that would be refused
// but would not have changed anything. Writes the pass would skip are kept,
// with the reason (a registry's code in the system's words, from `errors`).
// Values of settings with no effect on this Windows, which the apply does not
// write, come last, as a group, when they would have changed. The rows that
// write a value named in `keep` are not written, as ApplySettings leaves them.
std::vector<ValueChange> ChangesOfApply(Form& form1, Registry& reg, FileSystem& errors,
                                        const Standings& standings = {}, const std::vector<SkippedWrite>& keep = {});

// A .reg file's operations, split into those on values Vantrel manages (the
// values the apply pass writes) and every other key or value it holds.
struct ManagedOps {
    std::vector<RegOp> ops;           // value sets and deletions, in file order
    std::vector<std::string> others;  // "HKCU\Software\Other : Name", "[-HKCU\Software\Old]" (UTF-8)
};
ManagedOps SplitManaged(const std::vector<RegOp>& ops, const CodePage& ansi);

// What writing these operations would change, in the order of the file (a
// value set twice counts once, as last set). A write the registry would
// refuse is kept with the reason, as the system describes the error.
std::vector<ValueChange> ChangesOfOps(Registry& reg, const std::vector<RegOp>& ops, FileSystem& errors);

// The review list for changes, its title and its line of introduction; its
// "Takes effect" column gives each setting's standing (policy data, read in
// the system's code page `ansi`, shown in UTF-8 as every list text is).
ReviewList ReviewListOf(const std::vector<ValueChange>& changes, const std::string& title, const std::string& intro,
                        const Standings& standings, const CodePage& ansi);

// View > "Settings Status...": one row for every setting and every system
// tool, with its page, its caption, the value stored now, its standing on
// this Windows and when a change takes effect. Rows that are set by a policy
// or have no effect here are marked.
ReviewList SettingsStatusList(Registry& reg, const Standings& standings);

// Data as the text a row writes: a REG_DWORD's number, a string up to its NUL
// (UTF-8); "" for nothing.
std::string WrittenText(const std::optional<StoredData>& written);
// A stored value in words: "2 (REG_DWORD)", "\"C:\\Data\" (REG_SZ)",
// "(absent)" (UTF-8).
std::string DescribeStored(const std::optional<StoredData>& stored);
// "HKCU\Control Panel\Mouse : MouseTrails"; "(Default)" for the unnamed value.
std::string DescribeValue(RegKey root, const std::string& key, const std::string& value);

}  // namespace vantrel
