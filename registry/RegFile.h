// Registry export files (.reg) in the two formats regedit reads and writes:
// "REGEDIT4" (ANSI text, string bytes as they are) and "Windows Registry
// Editor Version 5.00" (UTF-16LE with a byte order mark; string data in hex
// form is UTF-16LE too). Values cross this module as the ANSI side sees them
// (the A registry functions); the UTF-16 side is mapped to it through
// Windows-1252, with the five unassigned bytes mapped to the control
// characters of the same number, so that every byte survives a round trip.
//
// Parsing is pure (bytes in, operations out); applying operations to a
// registry and writing files are separate steps.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "registry/Registry.h"

namespace vantrel {

enum class RegFormat {
    Regedit4,  // "REGEDIT4", ANSI
    Version5,  // "Windows Registry Editor Version 5.00", UTF-16LE with BOM
};

// One value line of a key block: a value to set, or "name"=- to delete it.
// The empty name is the key's default value (written as @).
struct RegValueEntry {
    std::string name;
    bool remove = false;
    std::uint32_t type = reg::kSz;
    std::vector<std::uint8_t> data;
};

// One [key] section, or a [-key] deletion of the key and everything below it.
struct RegKeyBlock {
    RegKey root = reg::kCurrentUser;
    std::string path;  // below the root, no leading or trailing backslash
    bool remove = false;
    std::vector<RegValueEntry> values;
};

// Convenience builders for value entries.
RegValueEntry RegStringValue(std::string name, std::string_view text);  // REG_SZ, text plus NUL
RegValueEntry RegDwordValue(std::string name, std::uint32_t number);
RegValueEntry RegRemovedValue(std::string name);

// Turns key blocks into file bytes: REGEDIT4 as ANSI text, version 5 as
// UTF-16LE with BOM. Lines end with CR LF. REG_SZ data that is a text with
// exactly one NUL at its end is written quoted; any other REG_SZ data is
// written as hex(1): so that reading the file back gives the same bytes.
std::string WriteRegFile(const std::vector<RegKeyBlock>& blocks, RegFormat format);

// Reads a key and everything below it through the registry interface, as key
// blocks in the order a file lists them (each key before its subkeys). A key
// that does not exist gives no blocks.
std::vector<RegKeyBlock> ReadKeyTree(Registry& reg, RegKey root, const std::string& path);

enum class RegOpKind { CreateKey, SetValue, DeleteValue, DeleteKey };

// One step of a parsed file, with the line it came from (1-based).
struct RegOp {
    RegOpKind kind = RegOpKind::CreateKey;
    RegKey root = reg::kCurrentUser;
    std::string path;
    std::string name;  // SetValue, DeleteValue
    std::uint32_t type = reg::kNone;
    std::vector<std::uint8_t> data;
    int line = 0;
};

struct RegParseResult {
    RegFormat format = RegFormat::Regedit4;
    std::vector<RegOp> ops;  // empty when error is set
    std::string error;       // "line 7: expected '=' after value name"
    bool ok() const { return error.empty(); }
};

// Parses file bytes. A UTF-16LE file must start with its BOM; anything else
// is read as ANSI. Any malformed line gives an error naming it and no ops.
RegParseResult ParseRegFile(std::string_view bytes);

// Removes a key and everything below it; returns a Win32 result code, 0 also
// when the key did not exist.
using RegKeyDeleter = std::function<long(RegKey root, const std::string& path)>;

struct RegApplyResult {
    int applied = 0;                    // operations that took effect
    std::vector<std::string> failures;  // "line 4: error 5", one per failed operation
    bool ok() const { return failures.empty(); }
};

// Applies operations in order, going on after a failure. Deleting a value or
// a key that is not there counts as done. Without a deleter every key
// deletion is reported as a failure ("key deletion not supported").
RegApplyResult ApplyRegOps(Registry& reg, const std::vector<RegOp>& ops, const RegKeyDeleter& deleter = {});

// ANSI text to UTF-16LE bytes, as version 5 files hold it.
std::string AnsiToUtf16Le(std::string_view text);

// Root names as files write them ("HKEY_CURRENT_USER"); "" for other handles.
std::string_view RegRootName(RegKey root);

}  // namespace vantrel
