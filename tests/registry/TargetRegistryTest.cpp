// Where the target layer puts what the passes write, and how personal
// folders reach another target's hive.
#include <gtest/gtest.h>

#include <optional>

#include "platform/portable/MemoryRegistry.h"
#include "registry/ProfileFolders.h"
#include "registry/RegistryRoutines.h"
#include "registry/TargetRegistry.h"

namespace vantrel {
namespace {

constexpr const char* kUser = "S-1-5-21-1-2-3-1001";

TargetPlaces UserOnly() {
    TargetPlaces places;
    places.user = {reg::kUsers, kUser};
    return places;
}

// An offline Windows's hives loaded under HKLM, its current control set the second.
TargetPlaces Offline() {
    TargetPlaces places = UserOnly();
    places.software = {reg::kLocalMachine, "Vantrel-SOFTWARE"};
    places.system = {reg::kLocalMachine, "Vantrel-SYSTEM"};
    places.controlSet = "ControlSet002";
    return places;
}

enum class Style {
    Save,         // SaveString from the root
    RootValue,    // a value set on the predefined root itself
    KeyFromKey,   // the key opened one level at a time
};

struct Write {
    const char* name;
    TargetPlaces places;
    Style style;
    RegKey root;        // as the passes name it
    std::string path;
    std::string lands;  // where it must land underneath (same root, HKEY_USERS for HKEY_CURRENT_USER)
    long status = 0;
};

long WriteOne(Registry& reg, const Write& w) {
    const auto* one = reinterpret_cast<const std::uint8_t*>("1");
    switch (w.style) {
    case Style::Save:
        return SaveString(reg, w.root, w.path, "v", "1") == WriteResult::Stored ? 0 : 5;
    case Style::RootValue:
        return reg.SetValue(w.root, "v", reg::kSz, one, 2);
    case Style::KeyFromKey: {
        const std::size_t cut = w.path.find('\\');
        RegKey outer = 0, inner = 0;
        long status = reg.CreateKey(w.root, w.path.substr(0, cut), &outer);
        if (status == 0) status = reg.CreateKey(outer, w.path.substr(cut + 1), &inner);
        if (status == 0) status = reg.SetValue(inner, "v", reg::kSz, one, 2);
        reg.CloseKey(inner);
        reg.CloseKey(outer);
        return status;
    }
    }
    return 5;
}

TEST(TargetRegistry, WritesLandInTheMappedPlace) {
    const std::string user = kUser;
    const Write writes[] = {
        {"a user key", UserOnly(), Style::Save, reg::kCurrentUser, R"(Control Panel\Mouse)", user + R"(\Control Panel\Mouse)"},
        {"a value of the root itself", UserOnly(), Style::RootValue, reg::kCurrentUser, "", user},
        {"a key opened from a key", UserOnly(), Style::KeyFromKey, reg::kCurrentUser, R"(Control Panel\Mouse)",
         user + R"(\Control Panel\Mouse)"},
        {"the running machine, no offline Windows", UserOnly(), Style::Save, reg::kLocalMachine, R"(SOFTWARE\X)",
         R"(SOFTWARE\X)"},
        {"offline SOFTWARE", Offline(), Style::Save, reg::kLocalMachine, R"(SOFTWARE\X)", R"(Vantrel-SOFTWARE\X)"},
        {"offline current control set", Offline(), Style::Save, reg::kLocalMachine, R"(SYSTEM\CurrentControlSet\Services\M)",
         R"(Vantrel-SYSTEM\ControlSet002\Services\M)"},
        {"offline current control set below an open SYSTEM", Offline(), Style::KeyFromKey, reg::kLocalMachine,
         R"(SYSTEM\CurrentControlSet\Services\M)", R"(Vantrel-SYSTEM\ControlSet002\Services\M)"},
        {"offline, outside its two hives", Offline(), Style::Save, reg::kLocalMachine, R"(HARDWARE\X)", R"(HARDWARE\X)", 5},
    };
    for (const Write& w : writes) {
        SCOPED_TRACE(w.name);
        MemoryRegistry memory;
        memory.PutString(reg::kUsers, kUser, "seed", "");
        memory.PutDword(reg::kLocalMachine, R"(Vantrel-SYSTEM\Select)", "Current", 2);
        memory.PutString(reg::kLocalMachine, R"(Vantrel-SYSTEM\ControlSet002)", "seed", "");
        memory.PutString(reg::kLocalMachine, R"(Vantrel-SOFTWARE\Microsoft)", "seed", "");
        {
            TargetRegistry target(memory, w.places);
            ASSERT_EQ(target.status(), 0);
            EXPECT_EQ(WriteOne(target, w), w.status);
            // Read back through the layer, under the name the passes use.
            EXPECT_EQ(GetString(target, w.root, w.path, "v"), w.status == 0 ? "1" : "");
        }
        const RegKey landsUnder = w.root == reg::kCurrentUser ? reg::kUsers : w.root;
        EXPECT_EQ(memory.Raw(landsUnder, w.lands, "v").has_value(), w.status == 0);
        EXPECT_FALSE(memory.HasKey(reg::kCurrentUser, R"(Control Panel)"));
        EXPECT_EQ(memory.OpenHandleCount(), 0u);  // every key the layer opened is closed with it
    }
}

TEST(TargetRegistry, KeysAreUnusableOnceClosed) {
    MemoryRegistry memory;
    memory.PutString(reg::kUsers, kUser, "seed", "");
    TargetRegistry target(memory, UserOnly());
    RegKey key = 0;
    ASSERT_EQ(target.CreateKey(reg::kCurrentUser, "Software", &key), 0);
    target.Close();
    EXPECT_EQ(memory.OpenHandleCount(), 0u);
    EXPECT_EQ(target.SetValue(key, "v", reg::kSz, reinterpret_cast<const std::uint8_t*>("1"), 2), reg::kInvalidHandle);
    EXPECT_EQ(target.CloseKey(key), reg::kInvalidHandle);
    EXPECT_EQ(target.OpenKey(reg::kCurrentUser, "Software", &key), reg::kInvalidHandle);
}

struct Folder {
    const char* name;
    const char* key;     // under HKEY_CURRENT_USER\...\Explorer
    std::string text;    // written as REG_SZ
    bool wide;           // through SetValueW, as a restore writes
    std::optional<MemoryRegistry::RawValue> stored;  // what the hive holds afterwards
    std::vector<ProfileFoldersRegistry::Adjusted::Kind> adjusted;
};

MemoryRegistry::RawValue Text(std::uint32_t type, const std::string& text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    return {type, data};
}

TEST(ProfileFolders, FoldersInTheProfileAreKeptRelativeAndShellFoldersIsNotWritten) {
    using Kind = ProfileFoldersRegistry::Adjusted::Kind;
    const Folder folders[] = {
        {"inside the profile", "User Shell Folders", R"(C:\Users\ann\Desktop)", false,
         Text(reg::kExpandSz, R"(%USERPROFILE%\Desktop)"), {Kind::Relative}},
        {"inside, written wide", "User Shell Folders", R"(c:\users\ANN\Desktop)", true,
         Text(reg::kExpandSz, R"(%USERPROFILE%\Desktop)"), {Kind::Relative}},
        {"the offline Windows's own spelling", "User Shell Folders", R"(C:\Users\ann\Start Menu)", false,
         Text(reg::kExpandSz, R"(%USERPROFILE%\Start Menu)"), {Kind::Relative}},
        {"the profile folder itself", "User Shell Folders", R"(D:\Image\Users\ann)", false,
         Text(reg::kExpandSz, "%USERPROFILE%"), {Kind::Relative}},
        {"outside the profile", "User Shell Folders", R"(D:\Shared\Desktop)", false, Text(reg::kSz, R"(D:\Shared\Desktop)"), {}},
        {"a look-alike of the profile", "User Shell Folders", R"(C:\Users\ann2\Desktop)", false,
         Text(reg::kSz, R"(C:\Users\ann2\Desktop)"), {}},
        {"already relative", "User Shell Folders", R"(%USERPROFILE%\Desktop)", false, Text(reg::kSz, R"(%USERPROFILE%\Desktop)"), {}},
        {"Shell Folders", "Shell Folders", R"(C:\Users\ann\Desktop)", false, std::nullopt, {Kind::NotWritten}},
        {"Shell Folders, written wide", "Shell Folders", R"(C:\Users\ann\Desktop)", true, std::nullopt, {Kind::NotWritten}},
    };
    for (const Folder& f : folders) {
        SCOPED_TRACE(f.name);
        MemoryRegistry memory;
        const std::string key = std::string(R"(Software\Microsoft\Windows\CurrentVersion\Explorer\)") + f.key;
        ProfileFoldersRegistry layer(memory, {R"(D:\Image\Users\ann)", R"(C:\Users\ann)"});
        if (f.wide) {
            RegKey handle = 0;
            ASSERT_EQ(layer.CreateKey(reg::kCurrentUser, key, &handle), 0);
            std::vector<std::uint8_t> data;
            for (const char c : f.text + '\0') data.insert(data.end(), {static_cast<std::uint8_t>(c), 0});
            EXPECT_EQ(layer.SetValueW(handle, u"Desktop", reg::kSz, data.data(), static_cast<std::uint32_t>(data.size())), 0);
            layer.CloseKey(handle);
        } else {
            EXPECT_EQ(SaveString(layer, reg::kCurrentUser, key, "Desktop", f.text), WriteResult::Stored);  // never a refusal
        }
        EXPECT_EQ(memory.Raw(reg::kCurrentUser, key, "Desktop"), f.stored);
        std::vector<Kind> kinds;
        for (const auto& a : layer.adjusted()) {
            kinds.push_back(a.kind);
            EXPECT_EQ(a.path, key);
            EXPECT_EQ(a.name, "Desktop");
        }
        EXPECT_EQ(kinds, f.adjusted);
    }
}

}  // namespace
}  // namespace vantrel
