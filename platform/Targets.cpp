#include "platform/Targets.h"

#include <algorithm>

#include "platform/Wording.h"
#include "registry/KeyNames.h"
#include "registry/RegistryRoutines.h"

namespace vantrel {

namespace {

constexpr const char* kProfileList = R"(Microsoft\Windows NT\CurrentVersion\ProfileList)";
constexpr const char* kCurrentVersion = R"(Microsoft\Windows NT\CurrentVersion)";
constexpr const char* kNotAdministrator =
    "administrator rights are needed to reach other users, the Default profile or an offline Windows";

// A text value (REG_SZ or REG_EXPAND_SZ, not expanded) up to its first NUL;
// "" when it is missing or not text.
std::string ReadText(Registry& reg, const std::string& path, const char* name) {
    RegKey key = 0;
    if (reg.OpenKey(reg::kLocalMachine, path, &key) != reg::kSuccess) return {};
    std::uint32_t type = 0, size = 0;
    std::string text;
    if (reg.QueryValue(key, name, &type, nullptr, &size) == reg::kSuccess && (type == reg::kSz || type == reg::kExpandSz)) {
        text.resize(size);
        if (reg.QueryValue(key, name, &type, reinterpret_cast<std::uint8_t*>(text.data()), &size) != reg::kSuccess) size = 0;
        text.resize(std::min<std::size_t>(size, text.find('\0')));
    }
    reg.CloseKey(key);
    return text;
}

// A REG_DWORD value; `missing` when it is missing or of another type.
std::uint32_t ReadDword(Registry& reg, const std::string& path, const char* name, std::uint32_t missing) {
    RegKey key = 0;
    if (reg.OpenKey(reg::kLocalMachine, path, &key) != reg::kSuccess) return missing;
    std::uint32_t type = 0, size = 4;
    std::uint8_t data[4] = {};
    const bool read = reg.QueryValue(key, name, &type, data, &size) == reg::kSuccess && type == reg::kDword && size == 4;
    reg.CloseKey(key);
    return read ? reg::DwordOf(data) : missing;
}

std::vector<std::string> SubKeys(Registry& reg, const std::string& path) {
    std::vector<std::string> names;
    RegKey key = 0;
    if (reg.OpenKey(reg::kLocalMachine, path, &key) != reg::kSuccess) return names;
    char name[256];
    for (std::uint32_t i = 0;; ++i) {
        std::uint32_t len = sizeof name;
        if (reg.EnumKey(key, i, name, &len) != reg::kSuccess) break;
        names.emplace_back(name, len);
    }
    reg.CloseKey(key);
    return names;
}

bool KeyExists(Registry& reg, RegKey root, const std::string& path) {
    RegKey key = 0;
    if (reg.OpenKey(root, path, &key) != reg::kSuccess) return false;
    reg.CloseKey(key);
    return true;
}

bool IsFolder(FileSystem& files, const std::string& path) {
    std::uint32_t attributes = 0;
    return !path.empty() && files.GetAttributes(path, &attributes) == 0 && (attributes & fileattr::kDirectory);
}

std::string LastComponent(const std::string& path) {
    const std::string_view trimmed = WithoutTrailingBackslash(path);
    const std::size_t cut = trimmed.rfind('\\');
    return std::string(cut == std::string_view::npos ? trimmed : trimmed.substr(cut + 1));
}

bool StartsWith(const std::string& text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameName(std::string_view(text).substr(0, prefix.size()), prefix);
}

bool EndsWith(const std::string& text, std::string_view suffix) {
    return text.size() >= suffix.size() && SameName(std::string_view(text).substr(text.size() - suffix.size()), suffix);
}

bool LooksLikeSid(const std::string& text) { return StartsWith(text, "S-1-"); }

// The system's own accounts: Local System, Local Service, Network Service.
bool IsSystemAccount(const std::string& sid) {
    return SameName(sid, "S-1-5-18") || SameName(sid, "S-1-5-19") || SameName(sid, "S-1-5-20");
}

// "1.2" -> 1; the number before the first non-digit.
unsigned Leading(const std::string& text, std::size_t* end = nullptr) {
    unsigned value = 0;
    std::size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + static_cast<unsigned>(text[i] - '0');
    if (end != nullptr) *end = i;
    return value;
}

// A key name under root that nothing holds yet: `base`, else base-2, base-3, ...
std::string FreeName(Registry& reg, RegKey root, const std::string& base) {
    std::string name = base;
    for (unsigned n = 2; KeyExists(reg, root, name); ++n) name = Joined({base, "-", Digits(n, 1)});
    return name;
}

// Where ProfileList lies (under HKEY_LOCAL_MACHINE) and how its paths are
// read: the running system's, or an offline one's.
struct Source {
    Registry& reg;
    std::string profileList;
    FileSystem& files;
    Hives& hives;
    const OfflineWindows* offline;  // null for the running system
    std::string labelPrefix;        // "offline D:\Windows, "
    std::string apiDefault;         // the Default profile folder the system gave, if any
};

// A path as that Windows writes it, reached from here.
std::string Reach(const Source& s, const std::string& path) {
    return s.offline != nullptr ? s.offline->Reach(path) : s.hives.Expand(path);
}

// The same path as that Windows itself names it ("" for the running system).
std::string Own(const Source& s, const std::string& path) {
    return s.offline != nullptr ? s.offline->Own(path) : std::string();
}

// A profile entry, or why it is skipped.
struct Entry {
    Target target;
    std::string skip;
};

Entry ProfileEntry(const Source& s, const std::string& sid) {
    Entry entry;
    Target& t = entry.target;
    t.kind = Target::Kind::Profile;
    t.sid = sid;
    const std::string raw = ReadText(s.reg, Joined({s.profileList, "\\", sid}), "ProfileImagePath");
    t.profileFolder = Reach(s, raw);
    t.ownProfileFolder = Own(s, raw);
    if (!IsFolder(s.files, t.profileFolder)) {
        entry.skip = raw.empty() ? Joined({"profile ", sid, " skipped: its entry names no profile folder"})
                                 : Joined({"profile ", sid, " skipped: its folder ",
                                           t.profileFolder.empty() ? raw : t.profileFolder, " is missing"});
        return entry;
    }
    t.hiveFile = Joined({t.profileFolder, "\\NTUSER.DAT"});
    t.loaded = s.offline == nullptr && KeyExists(s.reg, reg::kUsers, sid);
    if (s.offline != nullptr || s.hives.AccountName(sid, &t.account) != 0) t.account = LastComponent(t.profileFolder);
    t.label = Joined({s.labelPrefix, "user ", sid, " (", t.account, ")"});
    return entry;
}

// Every user's profile entry, in ProfileList's order.
std::vector<Entry> ProfileEntries(const Source& s) {
    std::vector<Entry> entries;
    for (const std::string& name : SubKeys(s.reg, s.profileList)) {
        if (IsSystemAccount(name) || EndsWith(name, ".bak")) continue;
        entries.push_back(ProfileEntry(s, name));
    }
    return entries;
}

Entry DefaultEntry(const Source& s) {
    Entry entry;
    Target& t = entry.target;
    t.kind = Target::Kind::DefaultProfile;
    t.label = Joined({s.labelPrefix, "Default profile"});
    std::string raw = ReadText(s.reg, s.profileList, "Default");  // from Windows Vista on
    if (raw.empty()) {                                             // Windows XP and Server 2003
        const std::string folders = ReadText(s.reg, s.profileList, "ProfilesDirectory");
        const std::string name = ReadText(s.reg, s.profileList, "DefaultUserProfile");
        if (!folders.empty() && !name.empty()) raw = Joined({folders, "\\", name});
    }
    t.profileFolder = !s.apiDefault.empty() ? s.apiDefault : Reach(s, raw);
    t.ownProfileFolder = s.apiDefault.empty() ? Own(s, raw) : std::string();
    if (!IsFolder(s.files, t.profileFolder)) {
        const std::string& named = t.profileFolder.empty() ? raw : t.profileFolder;
        entry.skip = named.empty() ? "Default profile skipped: ProfileList names no Default profile folder"
                                   : Joined({"Default profile skipped: its folder ", named, " is missing"});
        return entry;
    }
    t.hiveFile = Joined({t.profileFolder, "\\NTUSER.DAT"});
    return entry;
}

void Add(Entry entry, FoundTargets& found) {
    if (entry.skip.empty()) {
        found.targets.push_back(std::move(entry.target));
    } else {
        found.skipped.push_back(std::move(entry.skip));
    }
}

// The targets a request names, from one Windows's ProfileList.
FoundTargets Collect(const TargetRequest& request, const Source& s) {
    FoundTargets found;
    switch (request.mode) {
    case TargetRequest::Mode::Current:
        break;
    case TargetRequest::Mode::All:
        for (Entry& entry : ProfileEntries(s)) Add(std::move(entry), found);
        Add(DefaultEntry(s), found);
        break;
    case TargetRequest::Mode::Default: {
        Entry entry = DefaultEntry(s);
        if (!entry.skip.empty()) found.refused = entry.skip;
        Add(std::move(entry), found);
        break;
    }
    case TargetRequest::Mode::User: {
        std::string sid = LooksLikeSid(request.user) ? request.user : std::string();
        if (sid.empty() && s.offline == nullptr) {
            if (const long status = s.hives.AccountSid(request.user, &sid); status != 0) {
                found.refused = Joined({"no account named ", request.user, ErrorCode(status)});
                return found;
            }
        }
        for (Entry& entry : ProfileEntries(s)) {
            const bool named = sid.empty() ? SameName(LastComponent(entry.target.profileFolder), request.user)
                                           : SameName(entry.target.sid, sid);
            if (!named) continue;
            if (!entry.skip.empty()) found.refused = entry.skip;
            Add(std::move(entry), found);
            return found;
        }
        found.refused = Joined({"user ", request.user, " has no profile on ",
                                s.offline != nullptr ? "the offline Windows" : "this computer"});
        break;
    }
    }
    return found;
}

}  // namespace

FoundTargets FindTargets(const TargetRequest& request, Registry& registry, FileSystem& files, Hives& hives) {
    FoundTargets found;
    if (request.mode == TargetRequest::Mode::Current) {
        Target current;
        current.label = "current user";
        found.targets.push_back(current);
        return found;
    }
    if (!hives.RunsAsAdministrator()) {
        found.refused = kNotAdministrator;
        return found;
    }
    Source source{registry, Joined({"SOFTWARE\\", kProfileList}), files, hives, nullptr, {}, {}};
    std::string folder;
    const long api = request.mode == TargetRequest::Mode::User ? 0 : hives.DefaultProfileFolder(&folder);
    if (api == 0) source.apiDefault = folder;
    found = Collect(request, source);
    if (api != 0) {
        found.skipped.insert(found.skipped.begin(), Joined({"GetDefaultUserProfileDirectory failed", ErrorCode(api),
                                                            ": the Default profile folder is read from ProfileList"}));
    }
    return found;
}

OfflineWindows::OfflineWindows(std::string windowsFolder, Registry& registry, FileSystem& files, Hives& hives,
                               std::vector<HiveEvent>& events)
    : windowsFolder_(WithoutTrailingBackslash(windowsFolder)), registry_(registry), files_(files), hives_(hives) {
    const std::size_t cut = windowsFolder_.rfind('\\');
    if (cut == std::string::npos || cut == 0) {
        problem_ = Joined({windowsFolder_, " is not a Windows folder (for example D:\\Windows)"});
        return;
    }
    volume_ = windowsFolder_.substr(0, cut);
    if (!hives_.RunsAsAdministrator()) {
        problem_ = kNotAdministrator;
        return;
    }
    for (auto [session, hive] : {std::pair{&software_, "SOFTWARE"}, std::pair{&system_, "SYSTEM"}}) {
        *session = std::make_unique<HiveSession>(hives_, reg::kLocalMachine,
                                                 FreeName(registry_, reg::kLocalMachine, Joined({"Vantrel-", hive})),
                                                 Joined({windowsFolder_, "\\System32\\config\\", hive}), events);
        if (!(*session)->loaded()) {
            problem_ = DescribeHiveEvent(events.back());
            End();
            return;
        }
    }
    const std::string version = Joined({software_->name(), "\\", kCurrentVersion});
    facts_.currentVersion = ReadText(registry_, version, "CurrentVersion");
    facts_.build = ReadText(registry_, version, "CurrentBuildNumber");
    if (facts_.build.empty()) facts_.build = ReadText(registry_, version, "CurrentBuild");
    facts_.edition = ReadText(registry_, version, "EditionID");
    facts_.productName = ReadText(registry_, version, "ProductName");
    facts_.systemRoot = ReadText(registry_, version, "SystemRoot");
    std::size_t dot = 0;
    facts_.version.major = Leading(facts_.currentVersion, &dot);
    facts_.version.minor = dot < facts_.currentVersion.size() ? Leading(facts_.currentVersion.substr(dot + 1)) : 0;
    constexpr std::uint32_t kMissing = ~0u;
    if (const std::uint32_t major = ReadDword(registry_, version, "CurrentMajorVersionNumber", kMissing); major != kMissing) {
        facts_.version.major = major;
        facts_.version.minor = ReadDword(registry_, version, "CurrentMinorVersionNumber", 0);
    }
    facts_.version.build = Leading(facts_.build);
    facts_.controlSetNumber = ReadDword(registry_, Joined({system_->name(), "\\Select"}), "Current", 0);
    if (facts_.controlSetNumber == 0) {
        problem_ = "the offline Windows's SYSTEM hive names no current control set (Select\\Current)";
        End();
        return;
    }
    facts_.controlSet = Joined({"ControlSet", Digits(facts_.controlSetNumber, 3)});
}

OfflineWindows::~OfflineWindows() { End(); }

void OfflineWindows::End() {
    if (system_) system_->End();
    if (software_) software_->End();
}

TargetPlaces OfflineWindows::MachinePlaces() const {
    if (!problem_.empty()) return {};
    return {{}, {reg::kLocalMachine, software_->name()}, {reg::kLocalMachine, system_->name()}, facts_.controlSet};
}

std::string OfflineWindows::Reach(const std::string& path) const {
    static constexpr std::string_view kDrive = "%SystemDrive%", kRoot = "%SystemRoot%";
    if (StartsWith(path, kDrive)) return Joined({volume_, std::string_view(path).substr(kDrive.size())});
    if (StartsWith(path, kRoot)) return Joined({windowsFolder_, std::string_view(path).substr(kRoot.size())});
    const bool onSystemDrive = path.size() >= 2 && path[1] == ':' && facts_.systemRoot.size() >= 2 &&
                               SameName(path.substr(0, 2), facts_.systemRoot.substr(0, 2));
    return onSystemDrive && path.find('%') == std::string::npos ? Joined({volume_, std::string_view(path).substr(2)})
                                                                 : std::string();
}

std::string OfflineWindows::Own(const std::string& path) const {
    static constexpr std::string_view kDrive = "%SystemDrive%", kRoot = "%SystemRoot%";
    const std::string drive = facts_.systemRoot.size() >= 2 ? facts_.systemRoot.substr(0, 2) : std::string();
    if (StartsWith(path, kDrive)) return drive.empty() ? std::string() : Joined({drive, std::string_view(path).substr(kDrive.size())});
    if (StartsWith(path, kRoot)) {
        return facts_.systemRoot.empty() ? std::string() : Joined({facts_.systemRoot, std::string_view(path).substr(kRoot.size())});
    }
    return path.find('%') == std::string::npos ? path : std::string();
}

FoundTargets OfflineWindows::FindTargets(const TargetRequest& request) {
    FoundTargets found;
    if (!problem_.empty()) {
        found.refused = problem_;
        return found;
    }
    if (request.mode == TargetRequest::Mode::Current) {
        found.refused = "an offline Windows needs /to:default, /to:all or /to:user= with a SID or a profile folder's name";
        return found;
    }
    const Source source{registry_, Joined({software_->name(), "\\", kProfileList}), files_, hives_, this,
                        Joined({"offline ", windowsFolder_, ", "}), {}};
    return Collect(request, source);
}

OpenedTarget::OpenedTarget(const Target& target, Registry& underneath, Hives& hives, std::vector<HiveEvent>& events,
                           const OfflineWindows* offline)
    : target_(target), underneath_(underneath) {
    if (target_.kind == Target::Kind::CurrentUser) {
        if (offline != nullptr) problem_ = "an offline Windows has no current user";
        return;
    }
    if (offline != nullptr && !offline->problem().empty()) {
        problem_ = offline->problem();
        return;
    }
    TargetPlaces places = offline != nullptr ? offline->MachinePlaces() : TargetPlaces{};
    if (target_.loaded) {
        places.user = {reg::kUsers, target_.sid};
    } else {
        const std::string base = Joined({"Vantrel-", target_.sid.empty() ? std::string_view("Default") : target_.sid});
        hive_ = std::make_unique<HiveSession>(hives, reg::kUsers, FreeName(underneath_, reg::kUsers, base),
                                              target_.hiveFile, events);
        if (!hive_->loaded()) {
            problem_ = DescribeHiveEvent(events.back());
            return;
        }
        places.user = {reg::kUsers, hive_->name()};
    }
    mapped_ = std::make_unique<TargetRegistry>(underneath_, places);
    if (mapped_->status() != 0) {
        problem_ = Joined({target_.label, ": HKEY_USERS\\", places.user.path, " could not be opened",
                           ErrorCode(mapped_->status())});
        Close();
        return;
    }
    folders_ = std::make_unique<ProfileFoldersRegistry>(*mapped_, profileFolders());
}

std::vector<std::string> OpenedTarget::profileFolders() const {
    std::vector<std::string> folders{target_.profileFolder};
    if (!target_.ownProfileFolder.empty()) folders.push_back(target_.ownProfileFolder);
    return folders;
}

Registry& OpenedTarget::mapped() {
    return mapped_ ? static_cast<Registry&>(*mapped_) : underneath_;
}

OpenedTarget::~OpenedTarget() { Close(); }

Registry& OpenedTarget::registry() {
    return folders_ ? static_cast<Registry&>(*folders_) : underneath_;
}

std::vector<ProfileFoldersRegistry::Adjusted> OpenedTarget::adjusted() const {
    return folders_ ? folders_->adjusted() : std::vector<ProfileFoldersRegistry::Adjusted>{};
}

void OpenedTarget::Close() {
    if (mapped_) mapped_->Close();
    if (hive_) hive_->End();
}

}  // namespace vantrel
