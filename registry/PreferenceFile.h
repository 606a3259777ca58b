// Registry.xml, the file in which a Group Policy object carries registry
// preference items ([MS-GPPREF] Group Policy: Preferences Extension Data
// Structure, learn.microsoft.com/openspecs/windows_protocols/ms-gppref):
// <gpo path>\Machine\Preferences\Registry\Registry.xml for the computer,
// <gpo path>\User\Preferences\Registry\Registry.xml for the user (2.2.1,
// 3.2.5.1.1). Unlike Registry.pol entries, preference items show in the Group
// Policy Management Console, where they can be edited and targeted.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "registry/MergedFile.h"
#include "registry/RegFile.h"

namespace vantrel {

// One value to set on every computer (or for every user) the policy reaches.
struct PreferenceItem {
    RegKey root = reg::kCurrentUser;  // HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER
    std::string key;                  // UTF-8, below the root
    RegValueEntry value;              // REG_SZ, REG_EXPAND_SZ or REG_DWORD, data as stored
    std::string description;          // UTF-8, shown with the item
    std::string uid;                  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", new for each item
};

// The file, UTF-8: one Registry element per item, in order, each updating its
// value ("U"), carrying its description and going on past an item that fails;
// an item of HKEY_CURRENT_USER runs in the logged-on user's context.
// `changed` is the time the items were made, in UTC, "YYYY-MM-DD hh:mm:ss".
// The same items give the same bytes. Nothing is written (error set) for an
// item the format cannot carry: a deletion, another type, string data with a
// NUL inside, a character XML cannot hold (a control character other than
// tab, line feed and carriage return) or an unpaired surrogate.
RegWriteResult WritePreferenceFile(const std::vector<PreferenceItem>& items, const std::string& changed);

// The items merged into an existing Registry.xml's bytes ("" for no file):
// every Registry element, at any depth, whose Properties name the hive, key
// and value of an item is replaced where it stands by that item, keeping its
// uid; the other elements and everything else stay byte for byte; items no
// element names are added before the file's closing </RegistrySettings>. A
// file that is not well-formed XML with a RegistrySettings root gives an
// error, and the same error comes for an item the format cannot carry.
MergedFile MergePreferenceFile(std::string_view existing, const std::vector<PreferenceItem>& items,
                               const std::string& changed);

}  // namespace vantrel
