// The command interpreter and the browser through the Windows shell.
#pragma once

#include <functional>

#include "platform/Platform.h"

namespace vantrel {

// Starts the system folder's cmd.exe (%SystemRoot%\system32) with the command
// line (CreateProcessA, the window style as the show command) and does not
// wait for it. No cmd.exe found along the search path is ever started.
class Win32CommandShell : public CommandShell {
public:
    void Run(const std::string& commandLine, int windowStyle) override;
};

// Opens an address with ShellExecuteA and SW_SHOWNORMAL, the main window as
// the owner of anything the shell shows.
class Win32Browser : public Browser {
public:
    // The owner (an HWND) is asked for at each call, so the browser can be
    // made before the main window exists.
    using OwnerGetter = std::function<void*()>;
    explicit Win32Browser(OwnerGetter owner = {}) : owner_(std::move(owner)) {}
    void setOwner(OwnerGetter owner) { owner_ = std::move(owner); }
    void Open(const std::string& address) override;

private:
    OwnerGetter owner_;
};

}  // namespace vantrel
