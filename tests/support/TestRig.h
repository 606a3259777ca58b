// A whole application over the portable platform: an in-memory registry, a
// temporary folder standing for drive C:, recording shell and browser, dialogs
// answered from a script, live settings and an end of process that are only
// recorded.
#pragma once

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "app/App.h"
#include "platform/portable/MemoryRegistry.h"
#include "platform/portable/PortableHives.h"
#include "platform/portable/PortableFiles.h"
#include "platform/portable/PortablePlatform.h"
#include "registry/NativeView.h"
#include "support/ScriptedDialogs.h"

namespace vantrel::testing {

// A folder under the system's temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() / ("vantrel-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

struct TestRig {
    TestRig() = default;
    // A system whose ANSI code page is another than Windows-1252.
    explicit TestRig(const CodePage& codePage) : registry(codePage) {}
    // Under WOW64, on 64-bit Windows (the store redirects the 32-bit view), or not.
    struct Wow64 {
        bool on;
    };
    explicit TestRig(Wow64 wow64) : view(registry, wow64.on) {
        registry.SetWow64(wow64.on);
        environment.setRunsUnderWow64(wow64.on);
    }

    TempFolder driveC;
    MemoryRegistry registry;
    NativeViewRegistry view{registry, false};  // the registry the program is given, as the exe wires it
    PortableFileSystem files{driveC.path()};
    RecordingShell shell;
    RecordingBrowser browser;
    ScriptedDialogs dialogs;
    PortableEnvironment environment;
    RecordingLiveSettings live;
    PortableHives hives{registry, files};
    int endCalls = 0;
    Services services{view, files, shell, browser, dialogs, environment, [this] { ++endCalls; }, &live, &hives, &view};
    std::unique_ptr<App> app = std::make_unique<App>(services);

    Form& form1() { return app->form1(); }
};

// Every personal folder filled, so that an apply gets past the blank-folder
// check: "C:\Folders\<value name>".
inline void SeedFolders(MemoryRegistry& reg) {
    for (const char* name : {"AppData", "Desktop", "Favorites", "My Pictures", "Programs", "Recent", "SendTo",
                             "Start Menu", "Startup"})
        reg.PutString(reg::kCurrentUser, R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders)", name,
                      std::string("C:\\Folders\\") + name);
}

}  // namespace vantrel::testing
