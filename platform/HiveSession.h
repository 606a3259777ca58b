// A hive file loaded for the length of one piece of work, and always
// unloaded: the session loads it when made and, when ended (End, or at the
// latest when destroyed, an exception unwinding included), writes it to its
// file and unloads it. Each step is reported, so that the caller can log
// what was done to which key, and a key that could not be unloaded is
// named.
//
// Loading needs the backup and restore privileges, enabled first. A hive
// that is in use by something else, a load that fails and missing
// privileges leave nothing loaded: the session reports it and the caller
// writes nothing. Before the unload RegFlushKey writes the hive to its file:
// "returns only when all the data for the hive that contains the specified
// key has been written to the registry store on disk" ("RegFlushKey
// function (winreg.h)", learn.microsoft.com/windows/win32/api/winreg/
// nf-winreg-regflushkey). A flush that fails is reported and the hive is
// unloaded all the same. Every handle opened in the hive must be closed
// before the unload: an unload fails "because an application has an open
// key in the hive" ("More on User Profile Service functionality",
// learn.microsoft.com/archive/blogs/dsnotes/more-on-user-profile-service-functionality).
#pragma once

#include <string>
#include <vector>

#include "platform/Hives.h"

namespace vantrel {

// One step of a session, as a log gives it.
struct HiveEvent {
    enum class Kind {
        Loaded,        // the file is loaded under the key
        NoPrivilege,   // the privileges could not be enabled: nothing loaded
        InUse,         // something else holds the file: nothing loaded
        LoadFailed,    // RegLoadKey failed otherwise: nothing loaded
        FlushFailed,   // RegFlushKey failed: the file may lack this session's writes
        Unloaded,      // the key is gone, the file closed
        UnloadFailed,  // the key stays loaded: it must be unloaded by hand
    };
    Kind kind;
    std::string key;   // "HKEY_USERS\Vantrel-S-1-5-21-...-1001"
    std::string file;
    long code = 0;     // the Win32 code of a failure
    bool operator==(const HiveEvent&) const = default;
};

// The event as a log line: "hive C:\...\NTUSER.DAT is in use by another
// program (error 32): nothing written to it".
std::string DescribeHiveEvent(const HiveEvent& event);

class HiveSession {
public:
    // Loads `file` as the key `name` directly under root (reg::kUsers or
    // reg::kLocalMachine). The events go to `events`, which must outlive
    // the session.
    HiveSession(Hives& hives, RegKey root, std::string name, std::string file, std::vector<HiveEvent>& events);
    ~HiveSession();
    HiveSession(const HiveSession&) = delete;
    HiveSession& operator=(const HiveSession&) = delete;

    bool loaded() const { return loaded_; }
    // 0 when loaded, else the code that kept it from loading.
    long status() const { return status_; }
    RegKey root() const { return root_; }
    const std::string& name() const { return name_; }
    // "HKEY_USERS\name"
    std::string key() const;

    // Flushes and unloads the hive, once: 0, or the unload's code (then
    // reported as UnloadFailed with the key's name). Nothing when it was
    // never loaded.
    long End();

private:
    Hives& hives_;
    RegKey root_;
    std::string name_;
    std::string file_;
    std::vector<HiveEvent>& events_;
    bool loaded_ = false;
    long status_ = 0;
};

}  // namespace vantrel
