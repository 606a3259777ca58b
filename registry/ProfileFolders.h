// Personal folders as Windows keeps them in a profile, for a hive other than
// the running user's (another user's, the Default profile's).
//
// Windows keeps a user's folders under "User Shell Folders", relative to the
// profile: REG_EXPAND_SZ "%USERPROFILE%\Application Data" by default,
// %USERPROFILE% standing for the profile folder (Windows 2000 Registry
// Reference, "AppData", learn.microsoft.com cc962614). "Shell Folders" is not
// where they are kept: it is "just a shadow of the 'real' data stored
// elsewhere ('User Shell Folders')", left for a few old programs (Raymond
// Chen, "The long and sad story of the Shell Folders key", The Old New Thing,
// devblogs.microsoft.com/oldnewthing/20031103-00/?p=41973; "The Sad Story of
// the Shell Folders Key", TechNet Magazine, learn.microsoft.com/en-us/
// previous-versions/technet-magazine/cc160778(v=msdn.10)).
//
// So, over another target's registry, this layer writes a folder value of
// "User Shell Folders" that lies inside the target's profile folder as
// "%USERPROFILE%\..." REG_EXPAND_SZ, and makes no write to "Shell Folders":
// the running user's absolute paths never reach another user's hive, and the
// Default profile, which has no user of its own, keeps folders every new user
// can take. A write not made is answered with success (it is no refusal: the
// registry was not asked) and listed in adjusted(), with each folder written
// relatively, so that the caller can list them and a read-back can expect
// what was written. The key "Shell Folders" itself is made where it is
// missing, empty, as the write's RegCreateKey would make it.
// The running user's own apply does not go through this layer.
//
// Reads see the folders as the passes write them, so that a load, a
// read-back, a backup and a dry run over this layer agree with what they
// wrote: a "User Shell Folders" value that starts with "%USERPROFILE%" reads
// as REG_SZ with the profile folder in its place, and a "Shell Folders"
// value reads as its "User Shell Folders" twin so read, where that twin is
// present (it is the shadow Windows rebuilds from it, as above).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "registry/ForwardingRegistry.h"
#include "registry/KeyPaths.h"

namespace vantrel {

// How a folder value names the profile folder: "%USERPROFILE%".
extern const char* const kProfileVariable;

// A folder path as a profile keeps it when it lies in the profile folder:
// "%USERPROFILE%" and what follows the profile's path; nothing for any other
// path. Paths compare without regard to ASCII letter case, and the profile
// must end at a backslash of the path ("C:\Documents and Settings\User2" is
// not inside "C:\Documents and Settings\User").
std::optional<std::string> RelativeToProfile(const std::string& path, const std::string& profileFolder);

class ProfileFoldersRegistry : public KeyPlacesRegistry {
public:
    // One write this layer changed.
    struct Adjusted {
        enum class Kind {
            Relative,    // written to "User Shell Folders" as REG_EXPAND_SZ `written`
            NotWritten,  // a write to "Shell Folders", not made
        };
        Kind kind;
        std::string path;     // below HKEY_CURRENT_USER
        std::string name;
        std::string written;  // Relative: the text written, "%USERPROFILE%\Desktop"
        bool operator==(const Adjusted&) const = default;
    };

    // `profileFolders`: the target's profile folder, in each spelling a
    // folder value may use for it (an offline Windows's profile seen from
    // here and as its own Windows names it).
    ProfileFoldersRegistry(Registry& inner, std::vector<std::string> profileFolders);
    long SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                  std::uint32_t size) override;
    long DeleteValue(RegKey key, const std::string& name) override;
    long SetValueW(RegKey key, const std::u16string& name, std::uint32_t type, const std::uint8_t* data,
                   std::uint32_t size) override;
    long DeleteValueW(RegKey key, const std::u16string& name) override;
    long QueryValue(RegKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override;
    long QueryValueW(RegKey key, const std::u16string& name, std::uint32_t* type, std::uint8_t* data,
                     std::uint32_t* size) override;

    // Every write this layer changed, in order.
    const std::vector<Adjusted>& adjusted() const { return adjusted_; }

private:
    enum class Folders { None, User, Shell };
    Folders KindOf(RegKey key) const;
    // The relative form of an absolute folder text, when it lies in the profile.
    std::optional<std::string> Relative(std::uint32_t type, const std::string& text) const;
    long NotWritten(RegKey key, const std::string& name);
    long SetRelative(RegKey key, const std::string& name, const std::string& relative);
    // The folder a value of either key reads as (UTF-16, its NUL kept off),
    // when the view changes it; nothing when the value reads as stored.
    std::optional<std::u16string> Shown(RegKey key, const std::u16string& name);

    std::vector<std::string> profileFolders_;
    std::vector<Adjusted> adjusted_;
};

}  // namespace vantrel
