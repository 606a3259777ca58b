// A registry that reads through to another one and keeps every write to
// itself: run the apply pass over it and it tells what the pass would change,
// with nothing changed underneath. Reads see the writes made so far, as the
// pass would see them in the real registry.
//
// Whether the registry underneath would refuse a write is asked without
// writing anything (Refusals::AskUnderneath): its MayWrite tells, for each
// key created here and each value deleted, and a refused key is refused here
// with the same code. With Refusals::None every write is taken, as on a
// machine where the user may write everywhere (what an exported profile
// needs).
//
// The layer keeps names as the A functions give them and data as the
// registry holds it (string types in UTF-16LE). Through the wide functions,
// a name the code page cannot carry is not found and cannot be written.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "registry/Registry.h"

namespace vantrel {

class RecordingRegistry : public Registry {
public:
    enum class Refusals { AskUnderneath, None };

    // One write, in the order it was made, in the terms of a .reg file's key
    // blocks (RegFile.h): path and name in UTF-8, data as stored.
    struct Write {
        RegKey root = 0;
        std::string path;  // below the root, no trailing backslash, as first written
        std::string name;
        bool remove = false;  // a deleted value
        std::uint32_t type = reg::kNone;
        std::vector<std::uint8_t> data;
    };

    explicit RecordingRegistry(Registry& under, Refusals refusals = Refusals::AskUnderneath);

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
    const CodePage& codePage() override { return under_.codePage(); }

    // Every write made through this layer, in order (a value written twice appears twice).
    const std::vector<Write>& writes() const { return writes_; }

private:
    using KeyId = std::pair<RegKey, std::string>;                     // root, upper-cased path
    using ValueId = std::tuple<RegKey, std::string, std::string>;     // root, upper-cased path and name
    struct Open {
        RegKey root;
        std::string path;  // normalised, original case
    };
    struct Kept {
        std::string name;  // as written
        bool removed = false;
        std::uint32_t type = reg::kNone;
        std::vector<std::uint8_t> data;  // as stored
    };

    // The root and normalised path a handle and a sub-key name stand for.
    long Locate(RegKey parent, const std::string& subKey, Open* where) const;
    long Resolve(RegKey key, Open* where) const;
    bool ExistsUnderneath(RegKey root, const std::string& path);
    bool Exists(RegKey root, const std::string& path);
    long MayWriteAt(const Open& where);
    RegKey NewHandle(const Open& where);
    long Query(RegKey key, const std::string& name, bool wide, std::uint32_t* type, std::uint8_t* data,
               std::uint32_t* size);
    long Keep(RegKey key, const std::string& name, std::uint32_t type, std::vector<std::uint8_t> stored);
    long Remove(RegKey key, const std::string& name);
    bool AnsiName(const std::u16string& wide, std::string* name);
    long ValueAt(RegKey key, std::uint32_t index, Kept* value);
    // The values of a key as a reader of this layer sees them, in enumeration order.
    std::vector<Kept> ValuesOf(const Open& where);

    Registry& under_;
    Refusals refusals_;
    std::map<RegKey, Open> handles_;
    RegKey nextHandle_ = 0x1000;
    std::map<KeyId, std::string> created_;  // keys made here: identity to path as written
    std::map<ValueId, Kept> values_;
    std::vector<ValueId> order_;            // values first written here, in order
    std::vector<Write> writes_;
};

}  // namespace vantrel
