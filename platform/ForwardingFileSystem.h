// A file system that hands every call to another one: the base of layers
// that watch or change a few of the calls and pass the rest through.
#pragma once

#include "platform/Platform.h"

namespace vantrel {

class ForwardingFileSystem : public FileSystem {
public:
    explicit ForwardingFileSystem(FileSystem& inner) : inner_(inner) {}

    bool Exists(const std::string& path) override { return inner_.Exists(path); }
    long ReadAll(const std::string& path, std::string* bytes, bool createIfMissing) override {
        return inner_.ReadAll(path, bytes, createIfMissing);
    }
    long WriteAll(const std::string& path, const std::string& bytes) override { return inner_.WriteAll(path, bytes); }
    long CreateUnique(const std::string& folder, const std::string& prefix, const std::string& bytes,
                      std::string* path) override {
        return inner_.CreateUnique(folder, prefix, bytes, path);
    }
    long Append(const std::string& path, const std::string& bytes) override { return inner_.Append(path, bytes); }
    long GetAttributes(const std::string& path, std::uint32_t* attributes) override {
        return inner_.GetAttributes(path, attributes);
    }
    long SetAttributes(const std::string& path, std::uint32_t attributes) override {
        return inner_.SetAttributes(path, attributes);
    }
    long Copy(const std::string& source, const std::string& target, bool failIfExists) override {
        return inner_.Copy(source, target, failIfExists);
    }
    long Replace(const std::string& source, const std::string& target, const std::string& backup = {}) override {
        return inner_.Replace(source, target, backup);
    }
    long Move(const std::string& source, const std::string& target) override { return inner_.Move(source, target); }
    long Delete(const std::string& path) override { return inner_.Delete(path); }
    long CreateFolders(const std::string& path) override { return inner_.CreateFolders(path); }
    std::string ErrorText(long code) override { return inner_.ErrorText(code); }

protected:
    FileSystem& inner_;
};

}  // namespace vantrel
