// A registry that hands every call to another one: the base of layers that
// watch or change a few of the calls and pass the rest through.
#pragma once

#include "registry/Registry.h"

namespace vantrel {

class ForwardingRegistry : public Registry {
public:
    explicit ForwardingRegistry(Registry& inner) : inner_(inner) {}

    long OpenKey(RegKey parent, const std::string& subKey, RegKey* out) override {
        return inner_.OpenKey(parent, subKey, out);
    }
    long CreateKey(RegKey parent, const std::string& subKey, RegKey* out) override {
        return inner_.CreateKey(parent, subKey, out);
    }
    long MayWrite(RegKey parent, const std::string& subKey) override { return inner_.MayWrite(parent, subKey); }
    long QueryValue(RegKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override {
        return inner_.QueryValue(key, name, type, data, size);
    }
    long SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                  std::uint32_t size) override {
        return inner_.SetValue(key, name, type, data, size);
    }
    long DeleteValue(RegKey key, const std::string& name) override { return inner_.DeleteValue(key, name); }
    long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen) override {
        return inner_.EnumKey(key, index, name, nameLen);
    }
    long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen, std::uint32_t* type,
                   std::uint8_t* data, std::uint32_t* dataLen) override {
        return inner_.EnumValue(key, index, name, nameLen, type, data, dataLen);
    }
    long CloseKey(RegKey key) override { return inner_.CloseKey(key); }
    long QueryValueW(RegKey key, const std::u16string& name, std::uint32_t* type, std::uint8_t* data,
                     std::uint32_t* size) override {
        return inner_.QueryValueW(key, name, type, data, size);
    }
    long SetValueW(RegKey key, const std::u16string& name, std::uint32_t type, const std::uint8_t* data,
                   std::uint32_t size) override {
        return inner_.SetValueW(key, name, type, data, size);
    }
    long DeleteValueW(RegKey key, const std::u16string& name) override { return inner_.DeleteValueW(key, name); }
    long EnumValueW(RegKey key, std::uint32_t index, char16_t* name, std::uint32_t* nameLen, std::uint32_t* type,
                    std::uint8_t* data, std::uint32_t* dataLen) override {
        return inner_.EnumValueW(key, index, name, nameLen, type, data, dataLen);
    }
    const CodePage& codePage() override { return inner_.codePage(); }

protected:
    Registry& inner_;
};

}  // namespace vantrel
