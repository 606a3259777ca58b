// Boot and logon screens: the system program that draws the screen is backed
// up to the root of drive C: (once: the first original stays safe) and then
// replaced by a program file the user picks. Only a program file at the
// backup path counts as that backup; anything else there stops the change. The replacement goes through a
// file beside the system file and one-step replace, so a failed copy never
// leaves a cut system file.
#include "platform/WholeFile.h"
#include "tools/Tools.h"

namespace vantrel {

namespace {

struct ScreenRow {
    const char* box;         // the path box
    const char* systemFile;  // the program that draws the screen
    const char* backup;      // where the original is kept
};

const ScreenRow& RowOf(Screen screen) {
    static const ScreenRow kBoot{"Text2", "C:\\WINDOWS\\system32\\ntoskrnl.exe", "C:\\ntoskrnl.exe"};
    static const ScreenRow kLogon{"Text3", "C:\\WINDOWS\\system32\\logonui.exe", "C:\\logonui.exe"};
    return screen == Screen::Boot ? kBoot : kLogon;
}

void Report(Services& services, const std::string& prompt) {
    services.dialogs.MessageBox(prompt, "Error", mb::kExclamation);
}

// Reads the chosen file and checks that it is a Windows program.
bool ReadProgram(Services& services, const std::string& path, std::string* bytes) {
    if (long rc = services.files.ReadAll(path, bytes, false)) {
        Report(services, Quoted(path) + " could not be read. Nothing was changed.\r\n\r\n" +
                             FileErrorReason(services.files, rc));
        return false;
    }
    if (bytes->size() < 2 || bytes->compare(0, 2, "MZ") != 0) {
        Report(services, Quoted(path) +
                             " is not a Windows program file, so it cannot replace the screen. Nothing was changed.");
        return false;
    }
    return true;
}

// Whether what stands at the backup path is a real backup: a regular file
// that starts as every Windows program does. Anything else (a folder, an
// empty or foreign file, an entry that cannot be read) is reported, and then
// no copy of the system file would be kept: false.
bool BackupIsProgram(Services& services, const ScreenRow& row) {
    FileSystem& files = services.files;
    std::uint32_t attributes = 0;
    std::string bytes;
    std::string what;
    long rc = files.GetAttributes(row.backup, &attributes);
    if (rc == 0 && (attributes & fileattr::kDirectory)) {
        what = "a folder";
    } else if (rc == 0 && (rc = files.ReadAll(row.backup, &bytes, false)) == 0 && bytes.compare(0, 2, "MZ") != 0) {
        what = "not a Windows program file";
    }
    if (rc == 0 && what.empty()) return true;
    std::string prompt = "The original " + Quoted(row.systemFile) + " is kept at " + Quoted(row.backup) + ", but ";
    prompt += rc ? "what is there cannot be read" : "what is there is " + what;
    prompt += ", so no copy of the original would be kept. Nothing was changed: move it away and try again.";
    if (rc) prompt += "\r\n\r\n" + FileErrorReason(files, rc);
    Report(services, prompt);
    return false;
}

// Copies the system file to the backup path unless a real backup is already
// there. The copy is written whole and claims the path only when nothing is
// there: a cut copy never stands as the original.
bool KeepBackup(Services& services, const ScreenRow& row) {
    FileSystem& files = services.files;
    if (files.Exists(row.backup)) return BackupIsProgram(services, row);
    std::string original;
    long rc = files.ReadAll(row.systemFile, &original, false);
    std::string where;
    if (rc == 0) {
        const std::string backup = row.backup;
        const std::size_t cut = backup.find_last_of('\\');
        const WholeFilesWritten written = WriteNewFile(
            files, backup.substr(0, cut), [&](int n) { return n == 1 ? backup.substr(cut + 1) : std::string(); },
            original);
        rc = written.error;
        where = WhereTheDataIs(written);
    }
    if (rc == 0) return true;
    if (rc == 80 || rc == 183) return BackupIsProgram(services, row);  // something appeared there meanwhile
    Report(services, "The backup copy of " + Quoted(row.systemFile) + " could not be made at " + Quoted(row.backup) +
                         ". Nothing was changed.\r\n\r\n" + FileErrorReason(files, rc) +
                         (where.empty() ? "" : "\r\n\r\n" + where));
    return false;
}

void ReplaceSystemFile(Services& services, const ScreenRow& row, const std::string& chosen, const std::string& bytes) {
    FileSystem& files = services.files;
    const WholeFilesWritten written = WriteWholeFile(files, row.systemFile, bytes);
    const std::string where = WhereTheDataIs(written);
    if (written.error == 0) {
        if (!where.empty()) services.dialogs.MessageBox(where, "Note:", mb::kInformation);
        return;
    }
    Report(services, Quoted(row.systemFile) + " could not be replaced by " + Quoted(chosen) + ". " + where +
                         "\r\n\r\n" + FileErrorReason(files, written.error));
}

}  // namespace

void BrowseScreen(Form& form1, Services& services, Screen screen) {
    std::string fileName, fileTitle;
    if (!services.dialogs.ShowOpen(&fileName, &fileTitle)) return;
    form1.text(RowOf(screen).box).setText(fileName);
}

void ChangeScreen(Form& form1, Services& services, Screen screen, const std::string& refusal) {
    if (!refusal.empty()) {
        Report(services, refusal);
        return;
    }
    const ScreenRow& row = RowOf(screen);
    const std::string chosen = form1.text(row.box).text();
    if (chosen.empty()) {
        services.dialogs.MessageBox("No file specified", "Error", mb::kExclamation);
        return;
    }
    services.dialogs.MessageBox(
        "NOTE: You must be in Safe Mode to do this, otherwise Windows will just boot with the normal screen.", "Note:",
        mb::kInformation);
    std::string bytes;
    if (!ReadProgram(services, chosen, &bytes)) return;
    if (!KeepBackup(services, row)) return;
    ReplaceSystemFile(services, row, chosen, bytes);
}

}  // namespace vantrel
