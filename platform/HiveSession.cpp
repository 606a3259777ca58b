#include "platform/HiveSession.h"

#include "platform/Wording.h"

namespace vantrel {

namespace {

std::string RootName(RegKey root) {
    return root == reg::kLocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_USERS";
}

// Each kind's line, in the order of HiveEvent::Kind: what it names (the file or the key), then its words, the
// code where it failed, and what follows.
struct Wording {
    bool namesKey;
    const char* says;
    const char* then;
};
constexpr Wording kWordings[] = {
    {false, " loaded", ""},
    {false, " not loaded: the backup and restore privileges could not be enabled", ": nothing written to it"},
    {false, " is in use by another program", ": nothing written to it"},
    {false, " could not be loaded", ": nothing written to it"},
    {true, " could not be written to its file", ""},
    {true, " unloaded", ""},
    {true, " could not be unloaded", ": it stays loaded until it is unloaded by hand"},
};

}  // namespace

std::string DescribeHiveEvent(const HiveEvent& e) {
    const Wording& w = kWordings[static_cast<int>(e.kind)];
    const std::string code = e.code != 0 ? ErrorCode(e.code) : std::string();
    const std::string_view as = e.kind == HiveEvent::Kind::Loaded ? " as " : "";
    const std::string_view key = e.kind == HiveEvent::Kind::Loaded ? std::string_view(e.key) : "";
    return Joined({"hive ", w.namesKey ? e.key : e.file, w.says, as, key, code, w.then});
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

std::string HiveSession::key() const { return Joined({RootName(root_), "\\", name_}); }

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
