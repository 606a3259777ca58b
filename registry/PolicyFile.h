// Registry.pol, the file in which a Group Policy object carries registry
// values: the signature "PReg", the version 1 (a little-endian 32-bit
// number), then one entry per value, [key;value;type;size;data], where the
// brackets, semicolons, key and value name are UTF-16LE (names followed by a
// NUL), type and size are little-endian 32-bit numbers and data is the
// value's bytes (string data in UTF-16LE with its NUL). The file's place says
// the root: Machine\Registry.pol for HKEY_LOCAL_MACHINE, User\Registry.pol
// for HKEY_CURRENT_USER; keys carry no root name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "registry/RegFile.h"

namespace vantrel {

// The file for key blocks of one root (names in UTF-8, data as stored, as
// RegFile.h gives them). A value deletion is written as the value
// "**del.<name>", a key deletion as "**DeleteKeys" on its parent key, as
// Group Policy reads them.
std::string WritePolicyFile(const std::vector<RegKeyBlock>& blocks);

}  // namespace vantrel
