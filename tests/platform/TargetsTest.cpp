// Finding the targets of a request: which ProfileList entries are users,
// which are reported, where the Default profile is when the system cannot
// say, and how an offline Windows's paths reach its own volume.
#include <gtest/gtest.h>

#include <functional>

#include "platform/Targets.h"
#include "registry/RecordingRegistry.h"
#include "registry/RegistryRoutines.h"
#include "tests/platform/TargetWorld.h"

namespace vantrel::testing {
namespace {

constexpr const char* kAnn = "S-1-5-21-9-9-9-1001";
constexpr const char* kBob = "S-1-5-21-9-9-9-1002";
constexpr const char* kCarol = "S-1-5-21-9-9-9-1003";
constexpr const char* kOffline = R"(C:\Offline\WINDOWS)";
constexpr const char* kCurrentVersion = R"(hive\Microsoft\Windows NT\CurrentVersion)";

// This computer: ann logged on, bob's hive on disk, carol's folder gone, the
// system's accounts and a .bak copy beside them. And an offline Windows 10
// under C:\Offline whose C: drive that is.
void LayOut(TargetWorld& w) {
    const std::string list = kProfileListKey;
    for (const char* system : {"S-1-5-18", "S-1-5-19", "S-1-5-20"}) {
        w.AddProfile(list, system, R"(%SystemRoot%\system32\config\systemprofile)", R"(C:\WINDOWS\system32\config\systemprofile)");
    }
    w.AddProfile(list, kAnn, R"(%SystemDrive%\Documents and Settings\ann)", R"(C:\Documents and Settings\ann)");
    w.AddProfile(list, std::string(kAnn) + ".bak", R"(%SystemDrive%\Documents and Settings\ann)", "");
    w.AddProfile(list, kBob, R"(C:\Documents and Settings\bob)", R"(C:\Documents and Settings\bob)");
    w.AddProfile(list, kCarol, R"(C:\Documents and Settings\carol)", "");
    w.registry.PutString(reg::kLocalMachine, list, "ProfilesDirectory", R"(%SystemDrive%\Documents and Settings)");
    w.registry.PutString(reg::kLocalMachine, list, "DefaultUserProfile", "Default User");
    w.files.CreateFolders(R"(C:\Documents and Settings\Default User)");
    w.registry.PutString(reg::kUsers, kAnn, "seed", "");
    w.hives.AddAccount("PC", "ann", kAnn);
    w.hives.AddAccount("PC", "bob", kBob);

    MemoryRegistry software;
    const std::string offlineList = R"(hive\Microsoft\Windows NT\CurrentVersion\ProfileList)";
    const auto profile = [&](const char* sid, const char* path) {
        software.PutString(reg::kCurrentUser, offlineList + "\\" + sid, "ProfileImagePath", path);
    };
    profile("S-1-5-21-5-5-5-1001", R"(%SystemDrive%\Documents and Settings\dan)");
    profile("S-1-5-21-5-5-5-1002", R"(C:\Users\eve)");
    profile("S-1-5-21-5-5-5-1003", R"(D:\Users\far)");  // another drive of that Windows: out of reach
    software.PutString(reg::kCurrentUser, offlineList, "Default", R"(%SystemDrive%\Users\Default)");
    software.PutString(reg::kCurrentUser, kCurrentVersion, "CurrentVersion", "6.3");
    software.PutDword(reg::kCurrentUser, kCurrentVersion, "CurrentMajorVersionNumber", 10);
    software.PutDword(reg::kCurrentUser, kCurrentVersion, "CurrentMinorVersionNumber", 0);
    software.PutString(reg::kCurrentUser, kCurrentVersion, "CurrentBuildNumber", "19045");
    software.PutString(reg::kCurrentUser, kCurrentVersion, "EditionID", "Professional");
    software.PutString(reg::kCurrentUser, kCurrentVersion, "SystemRoot", R"(C:\Windows)");
    w.SaveHive(software, std::string(kOffline) + R"(\System32\config\SOFTWARE)");
    MemoryRegistry system;
    system.PutDword(reg::kCurrentUser, R"(hive\Select)", "Current", 2);
    system.PutString(reg::kCurrentUser, R"(hive\ControlSet002\Control)", "SystemBootDevice", "disk2");
    w.SaveHive(system, std::string(kOffline) + R"(\System32\config\SYSTEM)");
    for (const char* folder : {R"(C:\Offline\Documents and Settings\dan)", R"(C:\Offline\Users\eve)", R"(C:\Offline\Users\Default)"}) {
        w.files.CreateFolders(folder);
    }
    w.WriteHive(R"(C:\Offline\Users\eve\NTUSER.DAT)");
}

TargetRequest Ask(TargetRequest::Mode mode, std::string user = {}) {
    TargetRequest request;
    request.mode = mode;
    request.user = std::move(user);
    return request;
}

struct Find {
    const char* name;
    bool offline;
    TargetRequest request;
    std::function<void(TargetWorld&)> arrange;
    std::vector<std::string> labels;
    std::vector<std::string> folders;  // profileFolder of each target
    std::vector<std::string> skipped;  // a part of each skipped line
    std::string refused{};             // a part of the refusal
};

TEST(Targets, FindsTheProfilesARequestNames) {
    using Mode = TargetRequest::Mode;
    const auto none = [](TargetWorld&) {};
    const std::string ann = std::string("user ") + kAnn + " (PC\\ann)", bob = std::string("user ") + kBob + " (PC\\bob)";
    const std::string annFolder = R"(C:\Documents and Settings\ann)", bobFolder = R"(C:\Documents and Settings\bob)";
    const std::string defaultFolder = R"(C:\Documents and Settings\Default User)";
    const std::string off = std::string("offline ") + kOffline + ", ";
    const Find finds[] = {
        {"all: system accounts and .bak skipped, a missing folder reported", false, Ask(Mode::All), none,
         {ann, bob, "Default profile"}, {annFolder, bobFolder, defaultFolder}, {std::string(kCarol) + " skipped: its folder"}},
        {"the Default profile from the system", false, Ask(Mode::Default), none, {"Default profile"}, {defaultFolder}, {}},
        {"the Default profile when the system cannot say: Windows XP's values", false, Ask(Mode::Default),
         [](TargetWorld& w) { w.hives.defaultProfileError = 126; }, {"Default profile"}, {defaultFolder},
         {"GetDefaultUserProfileDirectory failed (error 126)"}},
        {"the Default profile when the system cannot say: Windows Vista's value", false, Ask(Mode::Default),
         [](TargetWorld& w) {
             w.hives.defaultProfileError = 126;
             w.registry.PutString(reg::kLocalMachine, kProfileListKey, "Default", R"(%SystemDrive%\Users\Default)");
             w.files.CreateFolders(R"(C:\Users\Default)");
         },
         {"Default profile"}, {R"(C:\Users\Default)"}, {"error 126"}},
        {"no Default profile folder", false, Ask(Mode::Default),
         [](TargetWorld& w) { w.hives.defaultProfile = R"(C:\Nowhere)"; }, {}, {}, {"Default profile skipped"}, "missing"},
        {"a user by name", false, Ask(Mode::User, "ann"), none, {ann}, {annFolder}, {}},
        {"a user by domain and name", false, Ask(Mode::User, "PC\\bob"), none, {bob}, {bobFolder}, {}},
        {"a user by SID", false, Ask(Mode::User, kBob), none, {bob}, {bobFolder}, {}},
        {"an unknown name", false, Ask(Mode::User, "zed"), none, {}, {}, {}, "no account named zed"},
        {"a user whose folder is missing", false, Ask(Mode::User, kCarol), none, {}, {}, {"skipped"}, "is missing"},
        {"a system account", false, Ask(Mode::User, "S-1-5-18"), none, {}, {}, {}, "has no profile"},
        {"offline: every profile mapped to its volume", true, Ask(Mode::All), none,
         {off + "user S-1-5-21-5-5-5-1001 (dan)", off + "user S-1-5-21-5-5-5-1002 (eve)", off + "Default profile"},
         {R"(C:\Offline\Documents and Settings\dan)", R"(C:\Offline\Users\eve)", R"(C:\Offline\Users\Default)"},
         {"S-1-5-21-5-5-5-1003 skipped: its folder D:\\Users\\far is missing"}},
        {"offline: a user by profile folder name", true, Ask(Mode::User, "eve"), none, {off + "user S-1-5-21-5-5-5-1002 (eve)"},
         {R"(C:\Offline\Users\eve)"}, {}},
        {"offline: no account lookup", true, Ask(Mode::User, "PC\\ann"), none, {}, {}, {}, "has no profile on the offline Windows"},
        {"offline: no current user", true, Ask(Mode::Current), none, {}, {}, {}, "needs /to:default"},
    };
    for (const Find& f : finds) {
        SCOPED_TRACE(f.name);
        TargetWorld world;
        LayOut(world);
        f.arrange(world);
        std::vector<HiveEvent> events;
        std::optional<OfflineWindows> offline;
        if (f.offline) offline.emplace(kOffline, world.registry, world.files, world.hives, events);
        const FoundTargets found = f.offline ? offline->FindTargets(f.request)
                                             : FindTargets(f.request, world.registry, world.files, world.hives);
        std::vector<std::string> labels, folders;
        for (const Target& t : found.targets) {
            labels.push_back(t.label);
            folders.push_back(t.profileFolder);
            EXPECT_EQ(t.hiveFile, t.profileFolder + "\\NTUSER.DAT");
            EXPECT_EQ(t.loaded, t.sid == kAnn);
        }
        EXPECT_EQ(labels, f.labels);
        EXPECT_EQ(folders, f.folders);
        ASSERT_EQ(found.skipped.size(), f.skipped.size());
        for (std::size_t i = 0; i < f.skipped.size(); ++i) EXPECT_NE(found.skipped[i].find(f.skipped[i]), std::string::npos) << found.skipped[i];
        EXPECT_EQ(found.refused.empty(), f.refused.empty()) << found.refused;
        EXPECT_NE(found.refused.find(f.refused), std::string::npos) << found.refused;
    }
}

TEST(Targets, AnOfflineWindowsIsReadAndWrittenThroughItsOwnHives) {
    TargetWorld world;
    LayOut(world);
    std::vector<HiveEvent> events;
    {
        OfflineWindows offline(kOffline, world.registry, world.files, world.hives, events);
        ASSERT_EQ(offline.problem(), "");
        EXPECT_EQ(offline.volume(), R"(C:\Offline)");
        const OfflineFacts& facts = offline.facts();
        EXPECT_EQ(facts.version, (WindowsVersion{10, 0, 19045}));
        EXPECT_EQ(facts.edition, "Professional");
        EXPECT_EQ(facts.controlSet, "ControlSet002");
        const FoundTargets found = offline.FindTargets({TargetRequest::Mode::User, "S-1-5-21-5-5-5-1002"});
        ASSERT_EQ(found.targets.size(), 1u);
        EXPECT_EQ(found.targets[0].ownProfileFolder, R"(C:\Users\eve)");
        OpenedTarget eve(found.targets[0], world.registry, world.hives, events, &offline);
        ASSERT_TRUE(eve.ok()) << eve.problem();
        Registry& reg = eve.registry();
        EXPECT_EQ(GetString(reg, reg::kLocalMachine, R"(SYSTEM\CurrentControlSet\Control)", "SystemBootDevice"), "disk2");
        EXPECT_EQ(GetString(reg, reg::kLocalMachine, R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion)", "EditionID"),
                  "Professional");
        const std::string folders = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders)";
        EXPECT_EQ(SaveString(reg, reg::kCurrentUser, folders, "Desktop", R"(C:\Users\eve\Desktop)"), WriteResult::Stored);
        EXPECT_EQ(SaveString(reg, reg::kCurrentUser, kMouse, "MouseTrails", "3"), WriteResult::Stored);
        ASSERT_EQ(eve.adjusted().size(), 1u);
        EXPECT_EQ(eve.adjusted()[0].written, R"(%USERPROFILE%\Desktop)");
        // A dry run between the mapping and the rule records what the rule writes.
        RecordingRegistry recording(eve.mapped());
        ProfileFoldersRegistry dryRun(recording, eve.profileFolders());
        EXPECT_EQ(SaveString(dryRun, reg::kCurrentUser, folders, "Favorites", R"(C:\Offline\Users\eve\Favorites)"),
                  WriteResult::Stored);
        ASSERT_EQ(recording.writes().size(), 1u);
        EXPECT_EQ(recording.writes()[0].type, reg::kExpandSz);
    }
    EXPECT_TRUE(world.registry.MountedHives().empty());
    EXPECT_EQ(world.TrailsInFile(R"(C:\Offline\Users\eve\NTUSER.DAT)"), "3");
    EXPECT_EQ(events.size(), 6u);  // SOFTWARE, SYSTEM and eve's hive: each loaded and unloaded
}

}  // namespace
}  // namespace vantrel::testing
