// The read-back of an apply: Windows refuses or undoes some writes (a key it
// protects on newer versions) while the write itself reports success. The
// apply pass notes every value it sets or deletes through this layer and,
// once done, reads each back; a value that reads back otherwise did not hold.
// This catches a write refused or changed at once; one that something
// changes later is /check's to find.
#pragma once

#include <string>
#include <vector>

#include "registry/ForwardingRegistry.h"
#include "registry/KeyPaths.h"
#include "settings/TweakRow.h"

namespace vantrel {

class ReadBackRegistry : public KeyPlacesRegistry {
public:
    explicit ReadBackRegistry(Registry& inner) : KeyPlacesRegistry(inner) {}

    // The row whose writes follow (for the page and caption of what did not hold).
    void setRow(const TweakRow* row) { row_ = row; }
    long SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                  std::uint32_t size) override;
    long DeleteValue(RegKey key, const std::string& name) override;

    // Each value written that does not read back as written (the last write
    // of a value counts), as a write that was not made: its reason names the
    // key and value and what they hold now.
    std::vector<SkippedWrite> NotHeld();

private:
    struct Written {
        RegKey root;
        std::string path, name;
        bool removed;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
        const TweakRow* row;
    };
    void Note(RegKey key, const std::string& name, bool removed, std::uint32_t type, const std::uint8_t* data,
              std::uint32_t size);

    std::vector<Written> written_;
    const TweakRow* row_ = nullptr;
};

}  // namespace vantrel
