// A Group Policy file Vantrel writes into another that may hold entries of
// its own: the other entries stay as they are, in their order; each entry
// for a value Vantrel writes is replaced where it stands; the rest are added
// at the end.
#pragma once

#include <cstddef>
#include <string>

namespace vantrel {

struct MergedFile {
    std::string bytes;
    // Why the existing file could not be read as its format (UTF-8); nothing
    // is to be written then.
    std::string error;
    bool unreadable = false;   // the error is the existing file's, not Vantrel's entries'

    std::size_t kept = 0;      // entries of the existing file left as they were
    std::size_t replaced = 0;  // entries of the existing file replaced by Vantrel's
    std::size_t added = 0;     // Vantrel's entries added at the end
    bool ok() const { return error.empty(); }
};

}  // namespace vantrel
