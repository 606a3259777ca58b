// Registry.pol, the file in which a Group Policy object carries registry
// values ([MS-GPREG] Group Policy: Registry Extension Encoding, 2.1 "Registry
// Policy File Format"): the signature "PReg", the version 1 (a little-endian
// 32-bit number), then one or more entries, [key;value;type;size;data],
// where the brackets, semicolons, key and value name are UTF-16LE (names
// followed by a NUL), type and size are little-endian 32-bit numbers and data
// is the value's bytes (string data in UTF-16LE with its NUL). The file's
// place says the root: Machine\Registry.pol for HKEY_LOCAL_MACHINE,
// User\Registry.pol for HKEY_CURRENT_USER; keys carry no root name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "registry/MergedFile.h"
#include "registry/RegFile.h"

namespace vantrel {

// The file for key blocks of one root (names in UTF-8, data as stored, as
// RegFile.h gives them). A value deletion is written as the value
// "**del.<name>", a key deletion as "**DeleteKeys" on its parent key, as
// Group Policy reads them. Blocks without an entry give a file of the header
// alone, which is not a whole Registry.pol: write at least one entry.
std::string WritePolicyFile(const std::vector<RegKeyBlock>& blocks);

// One entry of a file: key and value name in UTF-8, the data as stored, and
// the entry's bytes as the file holds them.
struct PolicyEntry {
    std::string key;
    std::string name;  // "**del.X" and the other special names as they stand
    std::uint32_t type = reg::kNone;
    std::string data;
    std::string bytes;
};

// Reads a file's entries; false with *error (UTF-8) for bytes that are not
// of the format, or have bytes after the last entry. A file of the header
// alone holds no entry.
bool ReadPolicyFile(std::string_view bytes, std::vector<PolicyEntry>* entries, std::string* error);

// The blocks' entries merged into an existing file's bytes ("" for no file,
// or a file of the header alone). An entry of the existing file stands for
// the value its name names, or for <name> when it is "**del.<name>" (keys
// and names compare without regard to case); the other special entries
// ("**delvals.", "**DeleteValues", "**DeleteKeys", ...) stand for no value
// and are kept. A file that is not of this format, or has bytes after its
// last entry, gives an error.
MergedFile MergePolicyFile(std::string_view existing, const std::vector<RegKeyBlock>& blocks);

}  // namespace vantrel
