#include "app/WriteJournal.h"

#include <algorithm>

#include "platform/Wording.h"
#include "registry/KeyNames.h"
#include "registry/RegFile.h"

namespace vantrel {

WriteJournal::WriteJournal(Registry& registry, FileSystem& files) : registry_(registry, *this), files_(files, *this) {}

long WriteJournal::Values::Wrote(long status, RegKey key, const std::string& name, const char* what) {
    if (status != reg::kSuccess) return status;
    const KeyPlace place = PlaceOf(key);
    const std::string where = place.root == 0 ? std::string("?")
                              : place.path.empty() ? std::string(RegRootShortName(place.root))
                                                   : std::string(RegRootShortName(place.root)) + "\\" + place.path;
    journal_.writes_.push_back(where + " : " + (name.empty() ? std::string("(Default)") : name) + " (" + what + ")");
    ++journal_.values_;
    return status;
}

long WriteJournal::Values::SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                                    std::uint32_t size) {
    return Wrote(inner_.SetValue(key, name, type, data, size), key, name, "set");
}

long WriteJournal::Values::DeleteValue(RegKey key, const std::string& name) {
    return Wrote(inner_.DeleteValue(key, name), key, name, "deleted");
}

long WriteJournal::Values::SetValueW(RegKey key, const std::u16string& name, std::uint32_t type,
                                     const std::uint8_t* data, std::uint32_t size) {
    return Wrote(inner_.SetValueW(key, name, type, data, size), key, codePage().ToAnsi(name), "set");
}

long WriteJournal::Values::DeleteValueW(RegKey key, const std::u16string& name) {
    return Wrote(inner_.DeleteValueW(key, name), key, codePage().ToAnsi(name), "deleted");
}

long WriteJournal::Files::Wrote(long status, const std::string& path, const char* what) {
    if (status == 0) journal_.writes_.push_back(Quoted(path) + " (" + what + ")");
    return status;
}

bool WriteJournal::Files::Forget(const std::string& path) {
    auto& writes = journal_.writes_;
    const auto made = std::find(writes.begin(), writes.end(), Quoted(path) + " (written)");
    if (made == writes.end()) return false;
    writes.erase(made);
    return true;
}

long WriteJournal::Files::ReadAll(const std::string& path, std::string* bytes, bool createIfMissing) {
    const bool made = createIfMissing && !inner_.Exists(path);
    const long status = inner_.ReadAll(path, bytes, createIfMissing);
    return made ? Wrote(status, path, "created") : status;
}

long WriteJournal::Files::WriteAll(const std::string& path, const std::string& bytes) {
    return Wrote(inner_.WriteAll(path, bytes), path, "written");
}

long WriteJournal::Files::CreateUnique(const std::string& folder, const std::string& prefix, const std::string& bytes,
                                       std::string* path) {
    const std::string before = *path;
    const long status = inner_.CreateUnique(folder, prefix, bytes, path);
    if (!path->empty() && *path != before) Wrote(0, *path, "written");
    return status;
}

long WriteJournal::Files::Append(const std::string& path, const std::string& bytes) {
    const long status = inner_.Append(path, bytes);
    return bytes.empty() ? status : Wrote(status, path, "appended to");
}

long WriteJournal::Files::SetAttributes(const std::string& path, std::uint32_t attributes) {
    return Wrote(inner_.SetAttributes(path, attributes), path, "attributes set");
}

long WriteJournal::Files::Copy(const std::string& source, const std::string& target, bool failIfExists) {
    return Wrote(inner_.Copy(source, target, failIfExists), target, "written");
}

// A new file of this handler that takes a name, or goes again, counts as
// the write of that name, or as none.
long WriteJournal::Files::Replace(const std::string& source, const std::string& target, const std::string& backup) {
    const long status = inner_.Replace(source, target, backup);
    if (status == 0) Forget(source);
    return Wrote(status, target, "replaced");
}

long WriteJournal::Files::Move(const std::string& source, const std::string& target) {
    const long status = inner_.Move(source, target);
    if (status == 0) Forget(source);
    return Wrote(status, target, "written");
}

long WriteJournal::Files::Delete(const std::string& path) {
    const long status = inner_.Delete(path);
    return status == 0 && Forget(path) ? status : Wrote(status, path, "removed");
}

long WriteJournal::Files::CreateFolders(const std::string& path) {
    const bool made = !inner_.Exists(path);
    const long status = inner_.CreateFolders(path);
    return made ? Wrote(status, path, "folder made") : status;
}

}  // namespace vantrel
