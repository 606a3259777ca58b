// Everything besides the registry that the logic reaches outside itself:
// files, the command interpreter, the browser, message boxes and the Open
// dialog, and a few facts about the user's environment. Win32 backends call
// the real functions; portable backends work on a folder standing for drive
// C: and record what they are asked to do. Tests answer dialogs from a script.
#pragma once

#include <compare>
#include <cstdint>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

namespace vantrel {

namespace fileattr {
constexpr std::uint32_t kReadOnly = 1;
constexpr std::uint32_t kHidden = 2;
constexpr std::uint32_t kSystem = 4;
constexpr std::uint32_t kDirectory = 16;
constexpr std::uint32_t kArchive = 32;
constexpr std::uint32_t kDevice = 64;
constexpr std::uint32_t kReparsePoint = 1024;  // a link or junction
constexpr std::uint32_t kNormal = 128;  // what Win32 reports for a file with no other bit
}  // namespace fileattr

// File operations. Paths are Windows paths ("C:\boot.ini"). Every operation
// returns 0 or a Win32 error code (2 not found, 3 path not found, 5 access
// denied, 32 sharing violation, ...); ErrorText describes a code in the
// system's words, for these and for the registry's codes alike.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual bool Exists(const std::string& path) = 0;
    // Opens for reading without changing attributes; when createIfMissing and
    // the file does not exist, an empty file is created and "" is read.
    virtual long ReadAll(const std::string& path, std::string* bytes, bool createIfMissing) = 0;
    // Creates the file or cuts it to zero length, then writes the bytes.
    virtual long WriteAll(const std::string& path, const std::string& bytes) = 0;
    // Creates a file that did not exist before, in the folder, named by the
    // prefix, a part unique to this call and ".tmp", and writes the bytes. An
    // existing file is never opened: its name is passed over. *path names the
    // file once it exists, also when writing into it then failed.
    virtual long CreateUnique(const std::string& folder, const std::string& prefix, const std::string& bytes,
                              std::string* path) = 0;
    // Adds the bytes at the end of the file in one write, creating it when
    // missing; other writers may have it open and append too.
    virtual long Append(const std::string& path, const std::string& bytes) = 0;
    // Attribute bits as Win32 reports them (kNormal for a plain file).
    virtual long GetAttributes(const std::string& path, std::uint32_t* attributes) = 0;
    virtual long SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
    // Copies bytes; with failIfExists an existing target is an error (80).
    virtual long Copy(const std::string& source, const std::string& target, bool failIfExists) = 0;
    // Moves source over target in one step, replacing target when it exists.
    // An existing target keeps its own security descriptor and owner. Given
    // a backup name (a file that does not exist), the target's old bytes end
    // there instead of being dropped; a failed replace then leaves the files
    // as ReplaceFile's documentation gives for each code (1175: both keep
    // their names; 1176: both keep their names; 1177: the old bytes are under
    // the backup name, the new ones still in source; any other code: both
    // keep their names and there is no backup file).
    virtual long Replace(const std::string& source, const std::string& target, const std::string& backup = {}) = 0;
    // Gives source the name target in one step, and fails (80 or 183) when
    // target exists: a name claimed this way is never taken from anyone.
    virtual long Move(const std::string& source, const std::string& target) = 0;
    virtual long Delete(const std::string& path) = 0;
    // Creates a folder and every missing folder above it; an existing folder is fine.
    virtual long CreateFolders(const std::string& path) = 0;
    virtual std::string ErrorText(long code) = 0;
};

// The command interpreter: starts the system's own interpreter (the cmd.exe
// of the system folder, never one found along the search path) with a
// command line whose first word names it ("cmd ..."), with a window style
// (0 hidden, 2 minimized with focus), and does not wait for it.
class CommandShell {
public:
    virtual ~CommandShell() = default;
    virtual void Run(const std::string& commandLine, int windowStyle) = 0;
};

// Opens a web address in the default browser (ShellExecuteA, SW_SHOWNORMAL).
class Browser {
public:
    virtual ~Browser() = default;
    virtual void Open(const std::string& address) = 0;
};

// Message box styles and answers as the program uses them.
namespace mb {
constexpr int kOk = 0;
constexpr int kYesNo = 4;
constexpr int kCritical = 16;
constexpr int kQuestion = 32;
constexpr int kExclamation = 48;
constexpr int kInformation = 64;
constexpr int kDefaultButton2 = 256;
constexpr int kAnswerOk = 1;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;
}  // namespace mb

// What a file chooser shows: its title, the folder it starts in ("" for the
// one used last), its filters as (description, pattern) pairs, the name it
// proposes, and the extension added to a name typed without one.
struct FileChoice {
    std::string title;
    std::string folder;
    std::vector<std::pair<std::string, std::string>> filters;  // {"Registration Files (*.reg)", "*.reg"}
    std::string fileName;
    std::string defaultExtension;  // "reg"
};

// A list to look over before acting on it: rows of texts under column
// headers, a row marked where something needs the user's eye, and two
// buttons: one that acts (none when empty) and one that closes without
// acting. A sortable list sorts by the column whose header is clicked; a
// list with a copy button puts its rows, as shown, on the clipboard as
// tab-separated text. Texts are UTF-8.
struct ReviewList {
    struct Row {
        std::vector<std::string> cells;  // one per column
        bool marked = false;
    };
    std::string title;
    std::string intro;  // a line above the list
    std::vector<std::string> columns;
    std::vector<Row> rows;
    std::string act;    // "Apply Changes"
    std::string close;  // "Close"
    bool sortable = false;
    std::string copy{};  // "Copy"; "" for no copy button
};

// A review list to choose from before an export: a check box on each row, a
// choice of form (each with a line saying what it does, and a line under
// them all) and the folder to write to, typed or browsed for. The dialog
// takes every field as it finds it and gives back the ticks, the form and
// the folder. Texts are UTF-8, but the folder, a path in the system's code
// page as the file system takes it.
struct ExportChoice {
    ReviewList list;              // title, intro, columns, rows, act ("OK"), close ("Cancel")
    std::vector<bool> checked;    // one per row
    std::string formHeading;      // "Form:"
    std::vector<std::string> forms;      // the choices' captions
    std::vector<std::string> formNotes;  // one per form: what it does
    std::string note;             // under the forms: what they share
    int form = 0;                 // the chosen one
    std::string folderLabel;      // "Folder:"
    std::string folder;
    std::string folderPrompt;     // the folder chooser's line, for its "Browse..." button
};

// Modal dialogs of the main window.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows a message box; returns the button pressed (1 OK, 6 Yes, 7 No).
    virtual int MessageBox(const std::string& prompt, const std::string& title, int style) = 0;
    // The common Open dialog, no filter and no title. Returns false when the
    // user cancels; otherwise the full path and the name without the folder.
    virtual bool ShowOpen(std::string* fileName, std::string* fileTitle) = 0;
    // Choosers for the commands that read or write a file the user names:
    // false when the user cancels, otherwise the full path. The open chooser
    // takes only an existing file; the save chooser asks before replacing one.
    // Neither changes the program's current folder.
    virtual bool ChooseFileToOpen(const FileChoice& choice, std::string* path) = 0;
    virtual bool ChooseFileToSave(const FileChoice& choice, std::string* path) = 0;
    // A folder chooser with a line of explanation; false when the user cancels.
    virtual bool ChooseFolder(const std::string& prompt, std::string* folder) = 0;
    // Shows the list in a resizable window until the user picks a button;
    // true for the one that acts.
    virtual bool ShowReviewList(const ReviewList& list) = 0;
    // Shows the choice in a resizable window; true, with the choice as the
    // user left it, for the button that acts; false (choice untouched) for
    // the other.
    virtual bool ChooseExport(ExportChoice& choice) = 0;
};

// The running Windows as RtlGetVersion reports it: major and minor version
// and build number (5.1.2600 is Windows XP). A compatibility mode the user
// chose for the program changes what it reports; a manifest does not.
struct WindowsVersion {
    unsigned major = 0, minor = 0, build = 0;
    friend auto operator<=>(const WindowsVersion&, const WindowsVersion&) = default;
};

// The edition of the running Windows, as the system reports it. Read at
// start; what a field cannot tell is 0.
struct WindowsEdition {
    // GetProductInfo's product type, Windows Vista and later ("GetProductInfo
    // function (sysinfoapi.h)", learn.microsoft.com/windows/win32/api/sysinfoapi/nf-sysinfoapi-getproductinfo):
    // 0x65 "Windows 10 Home", 0x7D "Windows 10 Enterprise 2015 LTSB", ...
    unsigned product = 0;
    // GetVersionEx's wSuiteMask and wProductType ("OSVERSIONINFOEXA structure
    // (winnt.h)", learn.microsoft.com/windows/win32/api/winnt/ns-winnt-osversioninfoexa):
    // VER_SUITE_PERSONAL (0x200) is Windows XP Home Edition; the product type
    // is 1 for a workstation, 2 for a domain controller, 3 for a server.
    unsigned suite = 0;
    unsigned productType = 0;
    friend bool operator==(const WindowsEdition&, const WindowsEdition&) = default;
};

// Settings that Windows reads live, handed to it at once for the user running
// the program once the registry holds them. The registry write is the
// record: these calls pass SPIF_SENDCHANGE (broadcast WM_SETTINGCHANGE) and
// never SPIF_UPDATEINIFILE ("Writes the new system-wide parameter setting to
// the user profile"; SystemParametersInfoA function, winuser.h,
// learn.microsoft.com/windows/win32/api/winuser/nf-winuser-systemparametersinfoa).
class LiveSettings {
public:
    virtual ~LiveSettings() = default;
    // SPI_GETMOUSE, then SPI_SETMOUSE with the mouse acceleration (the third
    // of its three integers) replaced: the two thresholds stay as they are.
    // False when either call fails.
    virtual bool SetMouseAcceleration(int acceleration) = 0;
};

// Facts about the user running the program.
class Environment {
public:
    virtual ~Environment() = default;
    // The user's application-data folder ("C:\Documents and Settings\<user>\Application Data"),
    // "" when it is not known.
    virtual std::string AppDataFolder() = 0;
    // The user's profile folder ("C:\Documents and Settings\<user>").
    virtual std::string ProfileFolder() = 0;
    // Local time now.
    virtual std::tm Now() = 0;
    // Coordinated Universal Time now.
    virtual std::tm NowUtc() = 0;
    // Whether this 32-bit program runs on 64-bit Windows, under WOW64.
    virtual bool RunsUnderWow64() = 0;
    // A new globally unique identifier as the registry writes one,
    // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case; "" when none can be made.
    virtual std::string NewGuid() = 0;
    // The Windows the program runs on; all zero when it cannot be told.
    virtual vantrel::WindowsVersion WindowsVersion() = 0;
    // The edition of that Windows; zero fields where it cannot be told.
    virtual vantrel::WindowsEdition WindowsEdition() = 0;
};

}  // namespace vantrel
