// Vantrel.exe: the Win32 services, the application and its windows. Start-up
// runs before the main window is made, beside the loading of the window
// libraries; the window appears afterwards with no page visible and the focus
// on the navigation tree. Given switches,
// it runs unattended instead and ends with an exit code.
#include "platform/win32/WindowsApi.h"

#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

#include "app/App.h"
#include "app/Unattended.h"
#include "ui/win32/Renderer.h"
#include "ui/win32/StartupTrace.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Hives.h"
#include "platform/win32/Win32LiveSettings.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/NativeFileSystem.h"
#include "registry/KeptKeys.h"
#include "registry/NativeView.h"

namespace {

// A start-up step failed: the error's number and description, then the end.
[[noreturn]] void FailStartup(int number, const std::string& description) {
    const std::string text = "Run-time error '" + std::to_string(number) + "':\n\n" + description;
    MessageBoxA(nullptr, text.c_str(), "Vantrel", MB_OK | MB_ICONERROR);
    ExitProcess(1);
}

// Runs start-up (App::Form_Load) on a thread of its own; Wait() returns when
// it has ended and throws what it threw. Where no thread can be made, start-up
// runs at once on the calling thread.
//
// The constructor returns once the thread runs: a thread starts by taking
// the loader's lock (for the libraries' thread notices), which loading the
// window libraries holds throughout, so a thread started just before that
// would wait for it. Start-up's reads themselves load no library.
class StartupReads {
public:
    explicit StartupReads(vantrel::App& app) : app_(app) {
        running_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (running_) thread_ = CreateThread(nullptr, 0, &StartupReads::Run, this, 0, nullptr);
        if (thread_) {
            const HANDLE either[] = {running_, thread_};
            WaitForMultipleObjects(2, either, FALSE, INFINITE);
        } else {
            Run(this);
        }
    }
    ~StartupReads() {
        if (thread_) {
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
        }
        if (running_) CloseHandle(running_);
    }
    StartupReads(const StartupReads&) = delete;
    StartupReads& operator=(const StartupReads&) = delete;

    void Wait() {
        if (thread_) WaitForSingleObject(thread_, INFINITE);
        if (failure_) std::rethrow_exception(failure_);
    }

private:
    static DWORD WINAPI Run(void* self) {
        auto& reads = *static_cast<StartupReads*>(self);
        if (reads.running_) SetEvent(reads.running_);
        try {
            reads.app_.Form_Load();
        } catch (...) {
            reads.failure_ = std::current_exception();
        }
        return 0;
    }

    vantrel::App& app_;
    HANDLE running_ = nullptr;
    HANDLE thread_ = nullptr;
    std::exception_ptr failure_;
};

}  // namespace

// An exception that nothing catches ends the program through the C++
// runtime's terminate handler. The runtime's own one first writes the
// exception's demangled type name to the standard error stream, which a
// windowed program does not have, and its demangler is a tenth of the exe.
// This one ends the program the same way, without the text.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    // The file system first: the trace appends through it (making it costs nothing).
    vantrel::Win32FileSystem files;
    vantrel::win32::StartupTrace trace(files);
    const vantrel::Switches switches = vantrel::ParseSwitches(vantrel::SplitCommandLine(commandLine ? commandLine : ""));
    trace.Mark("switches read");

    HWND mainWindow = nullptr;
    auto owner = [&mainWindow] { return mainWindow; };
    vantrel::Win32Environment environment;
    // On 64-bit Windows the registry and the files Windows itself uses, not
    // those WOW64 shows a 32-bit program.
    vantrel::Win32Registry win32Registry;
    vantrel::NativeViewRegistry registry(win32Registry, environment.RunsUnderWow64());
    const auto nativeFiles = vantrel::NativeFileSystem(files, environment.RunsUnderWow64());
    vantrel::Win32CommandShell shell;
    vantrel::Win32Browser browser(owner);
    vantrel::Win32Dialogs dialogs(owner);
    // An unattended run keeps the keys it opens open until it ends.
    const bool unattended = switches.mode != vantrel::Switches::Mode::Window;
    vantrel::KeptKeysRegistry keptKeys(registry);
    vantrel::Registry& settings = unattended ? static_cast<vantrel::Registry&>(keptKeys) : registry;
    // The registry is the running user's own: what Windows reads live is handed to it.
    vantrel::Win32LiveSettings live;
    // Other users' profiles, the Default profile and an offline Windows are
    // opened through the registry as the system holds it, under no kept keys:
    // a key kept open in a loaded hive would keep it from unloading.
    vantrel::Win32Hives hives;
    vantrel::Services services{settings, *nativeFiles, shell,   browser, dialogs, environment, [] { ExitProcess(0); },
                               &live,    &hives,       &registry};

    // An unattended run that cannot even build the forms' models has written
    // nothing: it ends with 2, as any run that fails before a write.
    std::unique_ptr<vantrel::App> made;
    try {
        made = std::make_unique<vantrel::App>(services);
    } catch (...) {
        if (unattended) return vantrel::exitcode::kFailed;
        throw;
    }
    vantrel::App& app = *made;
    trace.Mark("forms' models built");
    if (trace.on()) app.setStepObserver([&trace](const char* step) { trace.Mark(step); });
    // With switches Vantrel runs unattended: no window is made at all, and
    // the window libraries (loaded on first use) are never loaded, but for
    // the usage message.
    if (unattended) {
        const int code = vantrel::RunUnattended(app, switches);
        trace.Mark("run ended, log written");
        return code;
    }

    // Start-up's reads (the settings, boot.ini, the Run keys, the Start menu
    // marks, in their order) run on a thread of their own while this one
    // loads the window libraries, which under Wine takes longer than all of
    // them. The windows are then made from the loaded model; nothing is shown
    // before that, and the splash window, loaded and unloaded within
    // start-up, is never made.
    environment.WindowsVersion();  // looked up here, where the loader is free
    environment.WindowsEdition();
    StartupReads reads(app);
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&icc);
    trace.Mark("common controls");
    try {
        reads.Wait();
    } catch (const vantrel::RunTimeError& e) {
        FailStartup(e.number, e.what());
    } catch (const std::exception& e) {
        FailStartup(0, e.what());
    }

    vantrel::win32::Renderer renderer(instance, app);
    mainWindow = renderer.mainWindow();
    trace.Mark("main window made");

    renderer.ShowMain();
    trace.Mark("main window shown and painted");
    trace.Write();
    return renderer.Run();
}
