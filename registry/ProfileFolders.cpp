#include "registry/ProfileFolders.h"

#include "registry/KeyNames.h"

#include <algorithm>

#include "registry/RegistryRoutines.h"

namespace vantrel {

const char* const kProfileVariable = "%USERPROFILE%";

namespace {
constexpr std::string_view kUserShellFolders = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders)";
constexpr std::string_view kShellFolders = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders)";

// String data up to its first NUL.
std::string TextOf(const std::uint8_t* data, std::uint32_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    return text.substr(0, text.find('\0'));
}
}  // namespace

std::optional<std::string> RelativeToProfile(const std::string& path, const std::string& profileFolder) {
    const std::string_view profile = WithoutTrailingBackslash(profileFolder);
    if (profile.empty() || path.size() < profile.size() || !SameName(path.substr(0, profile.size()), profile)) {
        return std::nullopt;
    }
    if (path.size() > profile.size() && path[profile.size()] != '\\') return std::nullopt;
    return kProfileVariable + path.substr(profile.size());
}

ProfileFoldersRegistry::ProfileFoldersRegistry(Registry& inner, std::vector<std::string> profileFolders)
    : KeyPlacesRegistry(inner), profileFolders_(std::move(profileFolders)) {}

ProfileFoldersRegistry::Folders ProfileFoldersRegistry::KindOf(RegKey key) const {
    const KeyPlace place = PlaceOf(key);
    if (place.root != reg::kCurrentUser) return Folders::None;
    if (SameKey(place.path, kUserShellFolders)) return Folders::User;
    if (SameKey(place.path, kShellFolders)) return Folders::Shell;
    return Folders::None;
}

std::optional<std::string> ProfileFoldersRegistry::Relative(std::uint32_t type, const std::string& text) const {
    if (type != reg::kSz && type != reg::kExpandSz) return std::nullopt;
    for (const std::string& folder : profileFolders_) {
        if (auto relative = RelativeToProfile(text, folder)) return relative;
    }
    return std::nullopt;
}

long ProfileFoldersRegistry::NotWritten(RegKey key, const std::string& name) {
    adjusted_.push_back({Adjusted::Kind::NotWritten, PlaceOf(key).path, name, {}});
    return reg::kSuccess;
}

long ProfileFoldersRegistry::SetRelative(RegKey key, const std::string& name, const std::string& relative) {
    const long status = inner_.SetValue(key, name, reg::kExpandSz, reinterpret_cast<const std::uint8_t*>(relative.c_str()),
                                        static_cast<std::uint32_t>(relative.size() + 1));
    if (status == reg::kSuccess) adjusted_.push_back({Adjusted::Kind::Relative, PlaceOf(key).path, name, relative});
    return status;
}

long ProfileFoldersRegistry::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                                      const std::uint8_t* data, std::uint32_t size) {
    const Folders kind = KindOf(key);
    if (kind == Folders::Shell) return NotWritten(key, name);
    if (kind == Folders::User && data != nullptr) {
        if (const auto relative = Relative(type, TextOf(data, size))) return SetRelative(key, name, *relative);
    }
    return inner_.SetValue(key, name, type, data, size);
}

// Names and text the code page cannot carry are no profile folder of an A
// path: they pass unchanged. A relative folder is written through the A
// function, as the apply writes it.
long ProfileFoldersRegistry::SetValueW(RegKey key, const std::u16string& name, std::uint32_t type,
                                       const std::uint8_t* data, std::uint32_t size) {
    const Folders kind = KindOf(key);
    if (kind == Folders::Shell) return NotWritten(key, codePage().ToAnsi(name));
    if (kind == Folders::User && data != nullptr && FitsCodePage(codePage(), name)) {
        std::u16string wide(size / 2, u'\0');
        for (std::size_t i = 0; i < wide.size(); ++i) wide[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
        wide.resize(wide.find(u'\0') == std::u16string::npos ? wide.size() : wide.find(u'\0'));
        if (FitsCodePage(codePage(), wide)) {
            if (const auto relative = Relative(type, codePage().ToAnsi(wide))) {
                return SetRelative(key, codePage().ToAnsi(name), *relative);
            }
        }
    }
    return inner_.SetValueW(key, name, type, data, size);
}

long ProfileFoldersRegistry::DeleteValue(RegKey key, const std::string& name) {
    return KindOf(key) == Folders::Shell ? NotWritten(key, name) : inner_.DeleteValue(key, name);
}

long ProfileFoldersRegistry::DeleteValueW(RegKey key, const std::u16string& name) {
    return KindOf(key) == Folders::Shell ? NotWritten(key, codePage().ToAnsi(name)) : inner_.DeleteValueW(key, name);
}

std::optional<std::u16string> ProfileFoldersRegistry::Shown(RegKey key, const std::u16string& name) {
    const Folders kind = KindOf(key);
    if (kind == Folders::None || profileFolders_.empty()) return std::nullopt;
    RegKey user = key;
    if (kind == Folders::Shell && inner_.OpenKey(reg::kCurrentUser, std::string(kUserShellFolders), &user) != reg::kSuccess)
        return std::nullopt;
    std::uint32_t type = reg::kNone;
    std::vector<std::uint8_t> data;
    const bool read = QueryStoredValue(inner_, user, name, &type, &data);
    if (user != key) inner_.CloseKey(user);
    if (!read || (type != reg::kSz && type != reg::kExpandSz)) return std::nullopt;
    std::u16string text = FromUtf16LeBytes(data);
    text.resize(std::min(text.size(), text.find(u'\0')));
    const std::u16string variable = Utf8ToUtf16(kProfileVariable);
    const bool relative = text.size() >= variable.size() && SameName(Utf16ToUtf8(text.substr(0, variable.size())), kProfileVariable) &&
                          (text.size() == variable.size() || text[variable.size()] == u'\\');
    if (relative) return codePage().ToWide(profileFolders_.front()) + text.substr(variable.size());
    return kind == Folders::Shell ? std::optional<std::u16string>(text) : std::nullopt;
}

namespace {
// Data as a query gives it: the size first, then the bytes when they fit.
long Answer(const std::vector<std::uint8_t>& bytes, std::uint32_t* type, std::uint8_t* data, std::uint32_t* size) {
    if (type) *type = reg::kSz;
    const std::uint32_t needed = static_cast<std::uint32_t>(bytes.size());
    const std::uint32_t room = size ? *size : 0;
    if (size) *size = needed;
    if (data == nullptr) return reg::kSuccess;
    if (room < needed) return reg::kMoreData;
    std::copy(bytes.begin(), bytes.end(), data);
    return reg::kSuccess;
}
}  // namespace

long ProfileFoldersRegistry::QueryValue(RegKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                                        std::uint32_t* size) {
    const auto shown = KindOf(key) == Folders::None ? std::nullopt : Shown(key, codePage().ToWide(name));
    if (!shown || !FitsCodePage(codePage(), *shown)) return inner_.QueryValue(key, name, type, data, size);
    const std::string text = codePage().ToAnsi(*shown);
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return Answer(bytes, type, data, size);
}

long ProfileFoldersRegistry::QueryValueW(RegKey key, const std::u16string& name, std::uint32_t* type,
                                         std::uint8_t* data, std::uint32_t* size) {
    const auto shown = KindOf(key) == Folders::None ? std::nullopt : Shown(key, name);
    if (!shown) return inner_.QueryValueW(key, name, type, data, size);
    return Answer(Utf16LeBytes(*shown + u'\0'), type, data, size);
}

}  // namespace vantrel
