// What the logic is given to reach outside itself. The exe wires the Win32
// backends in; native tests wire the portable ones and a scripted Dialogs.
#pragma once

#include <functional>

#include "platform/Hives.h"
#include "platform/Platform.h"
#include "registry/Registry.h"

namespace vantrel {

struct Services {
    Registry& registry;
    FileSystem& files;
    CommandShell& shell;
    Browser& browser;
    Dialogs& dialogs;
    Environment& environment;
    // Ends the process at once (the three ways out). Never returns in the exe.
    std::function<void()> endProcess;
    // Windows' live settings of the user running the program; nullptr when the
    // registry is not that user's own (nothing is then handed to Windows).
    LiveSettings* live = nullptr;
    // Hive files and accounts, and the registry as the system holds it
    // (without a run's own layers), through which other users' profiles,
    // the Default profile and an offline Windows are opened; none where
    // those cannot be reached.
    Hives* hives = nullptr;
    Registry* machine = nullptr;
};

}  // namespace vantrel
