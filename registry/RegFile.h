// Registry export files (.reg) in the two formats regedit reads and writes:
// "Windows Registry Editor Version 5.00" (UTF-16LE with a byte order mark;
// string data in hex form is UTF-16LE too) and the older "REGEDIT4" (text and
// string data in the system's ANSI code page).
//
// Values cross this module as the registry holds them: key paths and value
// names in UTF-8 (see CodePage.h), the data of string types in UTF-16LE, as
// the wide registry functions read and write it. A version 5 file carries
// every value exactly; REGEDIT4 only what the code page can hold.
//
// Parsing is pure (bytes in, operations out); applying operations to a
// registry and writing files are separate steps.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "registry/CodePage.h"
#include "registry/Registry.h"

namespace vantrel {

enum class RegFormat {
    Regedit4,  // "REGEDIT4", ANSI
    Version5,  // "Windows Registry Editor Version 5.00", UTF-16LE with BOM
};

// One value line of a key block: a value to set, or "name"=- to delete it.
// The empty name is the key's default value (written as @).
struct RegValueEntry {
    std::string name;  // UTF-8
    bool remove = false;
    std::uint32_t type = reg::kSz;
    std::vector<std::uint8_t> data;  // as stored: string types in UTF-16LE
};

// One [key] section, or a [-key] deletion of the key and everything below it.
struct RegKeyBlock {
    RegKey root = reg::kCurrentUser;
    std::string path;  // UTF-8, below the root, no leading or trailing backslash
    bool remove = false;
    std::vector<RegValueEntry> values;
};

// Convenience builders for value entries.
RegValueEntry RegStringValue(std::string name, std::string_view utf8Text);  // REG_SZ, the text plus NUL
RegValueEntry RegDwordValue(std::string name, std::uint32_t number);
RegValueEntry RegRemovedValue(std::string name);

// File bytes, or why none were written (in UTF-8).
struct RegWriteResult {
    std::string bytes;
    std::string error;
    bool ok() const { return error.empty(); }
};

// Turns key blocks into file bytes: version 5 as UTF-16LE with BOM, REGEDIT4
// as text in the given code page. Lines end with CR LF. REG_SZ data that is a
// text with exactly one NUL at its end is written quoted; any other string
// data is written as hex(N): so that reading the file back gives the same
// bytes. It never writes a file that would read back otherwise: a key or
// value name with a line break (CR or LF), a key name with an empty part, a
// root a file cannot name, or (REGEDIT4) a name or text the code page cannot
// carry gives an error and no bytes.
RegWriteResult WriteRegFile(const std::vector<RegKeyBlock>& blocks, RegFormat format,
                            const CodePage& ansi = Windows1252());

// Reads a key and everything below it through the registry interface (values
// with the wide functions), as key blocks in the order a file lists them
// (each key before its subkeys). path is as the A functions take it. A key
// that does not exist gives no blocks.
std::vector<RegKeyBlock> ReadKeyTree(Registry& reg, RegKey root, const std::string& path);

enum class RegOpKind { CreateKey, SetValue, DeleteValue, DeleteKey };

// One step of a parsed file, with the line it came from (1-based). Names and
// data as in RegValueEntry.
struct RegOp {
    RegOpKind kind = RegOpKind::CreateKey;
    RegKey root = reg::kCurrentUser;
    std::string path;
    std::string name;  // SetValue, DeleteValue
    std::uint32_t type = reg::kNone;
    std::vector<std::uint8_t> data;
    int line = 0;
};

// The key blocks that parsed operations describe, for writing them out again:
// a key operation opens a block, value operations join the block of their key
// (KeyBlockFor).
std::vector<RegKeyBlock> RegBlocksOf(const std::vector<RegOp>& ops);

struct RegParseResult {
    RegFormat format = RegFormat::Regedit4;
    std::vector<RegOp> ops;  // empty when error is set
    std::string error;       // "line 7: expected '=' after value name" (UTF-8)
    bool ok() const { return error.empty(); }
};

// Parses file bytes. A UTF-16LE file must start with its BOM; anything else
// is ANSI text in the given code page, read byte by byte (a backslash escapes
// the byte after it, as Vantrel's REGEDIT4 backups were written). The root
// may be any of the five, by long or short name. Any malformed line gives an
// error naming it and no ops.
RegParseResult ParseRegFile(std::string_view bytes, const CodePage& ansi = Windows1252());

// Removes a key and everything below it; returns a Win32 result code, 0 also
// when the key did not exist. The path is as the A functions take it.
using RegKeyDeleter = std::function<long(RegKey root, const std::string& path)>;

struct RegApplyResult {
    int applied = 0;                    // operations that took effect
    std::vector<std::string> failures;  // "line 4: error 5", one per failed operation
    bool ok() const { return failures.empty(); }
};

// Applies one operation and returns its Win32 result code: keys through the
// A functions (a key name the registry's code page cannot carry gives 161 and
// touches nothing), values through the wide ones. Deleting a value or a key
// that is not there counts as done; without a deleter a key deletion gives 50.
long ApplyRegOp(Registry& reg, const RegOp& op, const RegKeyDeleter& deleter = {});

// Applies operations in order, going on after a failure. Without a deleter
// every key deletion is reported as a failure ("key deletion not supported").
RegApplyResult ApplyRegOps(Registry& reg, const std::vector<RegOp>& ops, const RegKeyDeleter& deleter = {});

// The block that a value of a key joins: the last block naming the key (keys
// compare as the registry compares them), or a new one at the end when there
// is none or that one deletes the key. path is UTF-8; a new block takes it
// without a trailing backslash.
RegKeyBlock& KeyBlockFor(std::vector<RegKeyBlock>& blocks, RegKey root, std::string_view path);

// Root names as files write them ("HKEY_CURRENT_USER"), for each of the
// five roots; "" for other handles.
std::string_view RegRootName(RegKey root);
// Their short forms, as files may write them too ("HKCU").
std::string_view RegRootShortName(RegKey root);

}  // namespace vantrel
