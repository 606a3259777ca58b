// Files as 64-bit Windows holds them. Under WOW64 the file system redirector
// sends a 32-bit program's use of %windir%\System32 to %windir%\SysWOW64
// ("File System Redirector", learn.microsoft.com/windows/win32/winprog64/
// file-system-redirector), so the screen tool would back up and replace the
// boot and logon screen programs in SysWOW64, not those of the system folder
// Windows starts from. This layer turns the redirector off for the calling thread around
// each single file call (Wow64DisableWow64FsRedirection, then
// Wow64RevertWow64FsRedirection), as that page advises: off for longer, the
// program could not load system libraries. The Sysnative alias would need no
// such care, but Windows XP x64 and Server 2003 lack it (same page).
// Elsewhere, and where the functions are missing, every call passes through.
#pragma once

#include <memory>

#include "platform/Platform.h"

namespace vantrel {

// Every call passed to `inner`; under WOW64 (wow64) with the redirector off for that call.
std::unique_ptr<FileSystem> NativeFileSystem(FileSystem& inner, bool wow64);

}  // namespace vantrel
