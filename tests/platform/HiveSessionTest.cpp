// The load, write and unload sequence of a profile whose hive is not loaded,
// and every way it can fail: each case checks what reached the hive file,
// what was reported, and that nothing stays loaded unless the report names it.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "platform/Targets.h"
#include "registry/RegistryRoutines.h"
#include "tests/platform/TargetWorld.h"

namespace vantrel::testing {
namespace {

constexpr const char* kSid = "S-1-5-21-7-7-7-1003";
constexpr const char* kHive = R"(C:\Documents and Settings\bob\NTUSER.DAT)";
constexpr const char* kKey = R"(HKEY_USERS\Vantrel-S-1-5-21-7-7-7-1003)";

using Kind = HiveEvent::Kind;

enum class Work {
    Write,          // writes MouseTrails = 7 and closes
    WriteAndThrow,  // writes, then the pass throws before the target is closed
    WriteLeaveOpen, // writes through a key it never closes
};

struct Case {
    const char* name;
    std::function<void(PortableHives&)> arrange;
    Work work;
    bool opens;                  // the target can be written
    std::vector<Kind> events;
    std::string inFile;          // MouseTrails in the hive file afterwards
    bool staysLoaded = false;    // the unload failed: the key stays (and is named)
};

TEST(HiveSession, LoadWriteAndUnloadInEveryCase) {
    const Case cases[] = {
        {"written, flushed and unloaded", [](PortableHives&) {}, Work::Write, true, {Kind::Loaded, Kind::Unloaded}, "7"},
        {"no backup and restore privileges", [](PortableHives& h) { h.privileges = 1300; }, Work::Write, false,
         {Kind::NoPrivilege}, "0"},
        {"hive in use by another program", [](PortableHives& h) { h.loadFails[kHive] = 32; }, Work::Write, false,
         {Kind::InUse}, "0"},
        {"load refused: privilege not held", [](PortableHives& h) { h.loadFails[kHive] = 1314; }, Work::Write, false,
         {Kind::NoPrivilege}, "0"},
        {"load fails", [](PortableHives& h) { h.loadFails[kHive] = 1009; }, Work::Write, false, {Kind::LoadFailed}, "0"},
        {"flush fails: unloaded all the same", [](PortableHives& h) { h.flushFails["Vantrel-S-1-5-21-7-7-7-1003"] = 5; },
         Work::Write, true, {Kind::Loaded, Kind::FlushFailed, Kind::Unloaded}, "0"},
        {"unload fails: the key is named", [](PortableHives& h) { h.unloadFails["Vantrel-S-1-5-21-7-7-7-1003"] = 5; },
         Work::Write, true, {Kind::Loaded, Kind::UnloadFailed}, "7", true},
        {"exception between load and unload", [](PortableHives&) {}, Work::WriteAndThrow, true,
         {Kind::Loaded, Kind::Unloaded}, "7"},
        {"a key left open by the pass", [](PortableHives&) {}, Work::WriteLeaveOpen, true,
         {Kind::Loaded, Kind::Unloaded}, "7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TargetWorld world;
        world.WriteHive(kHive);
        world.AddProfile(kProfileListKey, kSid, R"(%SystemDrive%\Documents and Settings\bob)", R"(C:\Documents and Settings\bob)");
        c.arrange(world.hives);
        const FoundTargets found = FindTargets({TargetRequest::Mode::User, kSid}, world.registry, world.files, world.hives);
        ASSERT_EQ(found.targets.size(), 1u);
        ASSERT_FALSE(found.targets[0].loaded);
        std::vector<HiveEvent> events;
        try {
            OpenedTarget target(found.targets[0], world.registry, world.hives, events);
            ASSERT_EQ(target.ok(), c.opens) << target.problem();
            if (target.ok()) {
                Registry& reg = target.registry();
                EXPECT_EQ(SaveString(reg, reg::kCurrentUser, kMouse, "MouseTrails", "7"), WriteResult::Stored);
                EXPECT_EQ(GetString(reg, reg::kCurrentUser, kMouse, "MouseTrails"), "7");  // read back before the unload
                RegKey leaked = 0;
                if (c.work == Work::WriteLeaveOpen) {
                    EXPECT_EQ(reg.OpenKey(reg::kCurrentUser, kMouse, &leaked), 0);
                }
                if (c.work == Work::WriteAndThrow) throw std::runtime_error("pass failed");
            }
        } catch (const std::runtime_error&) {
        }
        std::vector<Kind> kinds;
        for (const HiveEvent& e : events) kinds.push_back(e.kind);
        EXPECT_EQ(kinds, c.events);
        EXPECT_EQ(world.TrailsInFile(kHive), c.inFile);
        for (const HiveEvent& e : events) {
            EXPECT_EQ(e.file, kHive);
            EXPECT_EQ(e.code != 0, e.kind != Kind::Loaded && e.kind != Kind::Unloaded);
        }
        if (c.staysLoaded) {
            EXPECT_EQ(events.back().key, kKey);
            EXPECT_NE(DescribeHiveEvent(events.back()).find(kKey), std::string::npos);
            EXPECT_EQ(world.registry.MountedHives(), std::vector<std::string>{kKey});
        } else {
            EXPECT_TRUE(world.registry.MountedHives().empty());
        }
        EXPECT_EQ(world.registry.OpenHandleCount(), 0u);
    }
}

// Wine runs every program as an administrator: the refusal is shown here only.
TEST(HiveSession, NoTargetButTheCurrentUserWithoutAdministratorRights) {
    TargetWorld world;
    world.WriteHive(kHive);
    world.AddProfile(kProfileListKey, kSid, R"(C:\Documents and Settings\bob)", R"(C:\Documents and Settings\bob)");
    world.hives.administrator = false;
    for (const TargetRequest::Mode mode : {TargetRequest::Mode::User, TargetRequest::Mode::Default, TargetRequest::Mode::All}) {
        const FoundTargets found = FindTargets({mode, kSid}, world.registry, world.files, world.hives);
        EXPECT_TRUE(found.targets.empty());
        EXPECT_NE(found.refused.find("administrator"), std::string::npos);
    }
    std::vector<HiveEvent> events;
    const OfflineWindows offline(R"(C:\Offline\WINDOWS)", world.registry, world.files, world.hives, events);
    EXPECT_NE(offline.problem().find("administrator"), std::string::npos);
    EXPECT_TRUE(world.hives.calls.empty());  // nothing was loaded
    EXPECT_EQ(FindTargets({}, world.registry, world.files, world.hives).targets.size(), 1u);
}

}  // namespace
}  // namespace vantrel::testing
