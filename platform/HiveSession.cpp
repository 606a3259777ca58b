#include "platform/HiveSession.h"

#include "registry/Digits.h"

namespace vantrel {

namespace {

std::string RootName(RegKey root) {
    return root == reg::kLocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_USERS";
}

std::string Code(long code) { return " (error " + Digits(static_cast<unsigned long>(code), 1, 10) + ")"; }

}  // namespace

std::string DescribeHiveEvent(const HiveEvent& e) {
    switch (e.kind) {
    case HiveEvent::Kind::Loaded:
        return "hive " + e.file + " loaded as " + e.key;
    case HiveEvent::Kind::NoPrivilege:
        return "hive " + e.file + " not loaded: the backup and restore privileges could not be enabled" +
               Code(e.code) + "; nothing written to it";
    case HiveEvent::Kind::InUse:
        return "hive " + e.file + " is in use by another program" + Code(e.code) + ": nothing written to it";
    case HiveEvent::Kind::LoadFailed:
        return "hive " + e.file + " could not be loaded" + Code(e.code) + ": nothing written to it";
    case HiveEvent::Kind::FlushFailed:
        return "hive " + e.key + " could not be written to " + e.file + Code(e.code);
    case HiveEvent::Kind::Unloaded:
        return "hive " + e.key + " unloaded";
    case HiveEvent::Kind::UnloadFailed:
        return "hive " + e.key + " could not be unloaded" + Code(e.code) + ": it stays loaded until it is unloaded by hand";
    }
    return {};
}

HiveSession::HiveSession(Hives& hives, RegKey root, std::string name, std::string file,
                         std::vector<HiveEvent>& events)
    : hives_(hives), root_(root), name_(std::move(name)), file_(std::move(file)), events_(events) {
    if (const long privileges = hives_.EnableBackupAndRestore(); privileges != 0) {
        status_ = privileges;
        events_.push_back({HiveEvent::Kind::NoPrivilege, key(), file_, privileges});
        return;
    }
    status_ = hives_.Load(root_, name_, file_);
    if (status_ != 0) {
        const auto kind = HiveInUse(status_)                     ? HiveEvent::Kind::InUse
                          : status_ == hiveerror::kPrivilegeNotHeld ? HiveEvent::Kind::NoPrivilege
                                                                    : HiveEvent::Kind::LoadFailed;
        events_.push_back({kind, key(), file_, status_});
        return;
    }
    loaded_ = true;
    events_.push_back({HiveEvent::Kind::Loaded, key(), file_, 0});
}

HiveSession::~HiveSession() { End(); }

std::string HiveSession::key() const { return RootName(root_) + "\\" + name_; }

long HiveSession::End() {
    if (!loaded_) return 0;
    loaded_ = false;
    if (const long flushed = hives_.Flush(root_, name_); flushed != 0) {
        events_.push_back({HiveEvent::Kind::FlushFailed, key(), file_, flushed});
    }
    const long unloaded = hives_.Unload(root_, name_);
    events_.push_back({unloaded == 0 ? HiveEvent::Kind::Unloaded : HiveEvent::Kind::UnloadFailed, key(), file_, unloaded});
    return unloaded;
}

}  // namespace vantrel
