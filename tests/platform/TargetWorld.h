// A computer for the target tests: the in-memory registry, a folder standing
// for drive C: and the portable hive service over both, with helpers that
// lay out profiles, hive files and an offline Windows.
#pragma once

#include <string>

#include "platform/portable/PortableHives.h"
#include "support/TestRig.h"

namespace vantrel::testing {

constexpr const char* kProfileListKey = R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\ProfileList)";
constexpr const char* kMouse = R"(Control Panel\Mouse)";

struct TargetWorld {
    TempFolder driveC;
    MemoryRegistry registry;
    PortableFileSystem files{driveC.path()};
    PortableHives hives{registry, files};

    // A hive file of HKEY_CURRENT_USER\hive in `scratch`, as RegSaveKey would write it.
    void SaveHive(const MemoryRegistry& scratch, const std::string& file) {
        files.CreateFolders(file.substr(0, file.rfind('\\')));
        files.WriteAll(file, scratch.SaveHive(reg::kCurrentUser, "hive"));
    }
    // A hive file holding Control Panel\Mouse "MouseTrails" = `trails`.
    void WriteHive(const std::string& file, const std::string& trails = "0") {
        MemoryRegistry scratch;
        scratch.PutString(reg::kCurrentUser, std::string("hive\\") + kMouse, "MouseTrails", trails);
        SaveHive(scratch, file);
    }
    // A ProfileList entry under `profileList` (of HKLM) whose folder exists
    // (`folder` as the registry holds it; `made` as reached from here, "" for none).
    void AddProfile(const std::string& profileList, const std::string& sid, const std::string& folder,
                    const std::string& made) {
        std::vector<std::uint8_t> text(folder.begin(), folder.end());
        text.push_back(0);
        registry.Put(reg::kLocalMachine, profileList + "\\" + sid, "ProfileImagePath", reg::kExpandSz, text);
        if (!made.empty()) files.CreateFolders(made);
    }
    // MouseTrails as a hive file holds it; "" when the file or value is missing.
    std::string TrailsInFile(const std::string& file) {
        std::string bytes;
        if (files.ReadAll(file, &bytes, false) != 0) return {};
        MemoryRegistry reader;
        if (reader.MountHive(reg::kUsers, "h", bytes) != 0) return {};
        const auto value = reader.Raw(reg::kUsers, std::string("h\\") + kMouse, "MouseTrails");
        return value ? std::string(value->data.begin(), value->data.end() - 1) : std::string();
    }
};

}  // namespace vantrel::testing
