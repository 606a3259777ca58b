// The boot.ini editor: the file's bytes into Text4 at start-up, and back to
// the file on request. A save never leaves the file empty or cut: the text
// goes to a new file of its own beside it (a name nobody else holds, created
// for this save) that then replaces it in one step, keeping boot.ini's own
// security descriptor and owner. The read-only, hidden and system bits are
// cleared only for that step and put back whatever happens.
#include <initializer_list>
#include <string_view>

#include "platform/WholeFile.h"
#include "tools/Tools.h"

namespace vantrel {

namespace {

constexpr char kBootIniPath[] = "C:\\boot.ini";
constexpr std::uint32_t kKeptBits =
    fileattr::kReadOnly | fileattr::kHidden | fileattr::kSystem | fileattr::kArchive;

void ReportSaveFailure(Services& services, const std::string& what, long code, const std::string& note = {}) {
    std::string prompt = Joined({"The changes could not be saved to \"", kBootIniPath, "\": ", what, ".\r\n\r\n",
                                 FileErrorReason(services.files, code)});
    if (!note.empty()) prompt += "\r\n\r\n" + note;
    services.dialogs.MessageBox(prompt, "Error", mb::kExclamation);
}

bool EndsWithLineBreak(const std::string& text) {
    return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

void SaveBootIni(Form& form1, Services& services) {
    FileSystem& files = services.files;
    std::uint32_t attributes = 0;
    if (long rc = files.GetAttributes(kBootIniPath, &attributes)) {
        ReportSaveFailure(services, "its attributes could not be read", rc);
        return;
    }
    const std::uint32_t kept = attributes & kKeptBits;

    std::string bytes = form1.text("Text4").text();
    if (!EndsWithLineBreak(bytes)) bytes += "\r\n";

    // A read-only file cannot be replaced: the bits are off for that step only.
    const WholeFilesWritten written = WriteWholeFiles(
        files, {{kBootIniPath, bytes}}, [&](const std::string& target) { return files.SetAttributes(target, 0); });
    // Put the kept bits back on whichever file now holds the name.
    const long restored = files.SetAttributes(kBootIniPath, kept);
    const std::string where = WhereTheDataIs(written);
    if (written.error == 0) {
        if (restored) ReportSaveFailure(services, "its attributes could not be restored", restored, where);
        else if (!where.empty()) services.dialogs.MessageBox(where, "Note:", mb::kInformation);
        return;
    }
    const char* what = written.step == WholeFilesWritten::Step::Write     ? "the new text could not be written"
                       : written.step == WholeFilesWritten::Step::Prepare ? "its attributes could not be cleared"
                                                                          : "the file could not be replaced";
    ReportSaveFailure(services, what, written.error, where);
}

}  // namespace

BootIniText LoadBootIni(Form& form1, Services& services, bool create) {
    std::string bytes;
    long rc = services.files.ReadAll(kBootIniPath, &bytes, create);
    if (rc && !create && !services.files.Exists(kBootIniPath)) {
        form1.text("Text4").setText("");
        return BootIniText::Unreadable;
    }
    if (rc) {
        form1.text("Text4").setText("");
        services.dialogs.MessageBox(
            Joined({"\"", kBootIniPath, "\" could not be read.\r\n\r\n", FileErrorReason(services.files, rc)}), "Error",
            mb::kExclamation);
        return BootIniText::Unreadable;
    }
    form1.text("Text4").setText(bytes);
    return bytes.find('\0') == std::string::npos ? BootIniText::Read : BootIniText::HeldNul;
}

void SaveBootIniClicked(Form& form1, Services& services, BootIniText loaded, const std::string& refusal) {
    if (!refusal.empty()) {
        services.dialogs.MessageBox(refusal, "Error", mb::kExclamation);
        return;
    }
    if (loaded != BootIniText::Read) {
        const char* why =
            loaded == BootIniText::HeldNul
                ? "\" held NUL bytes when Vantrel read it. The editor cannot hold the text from the first of them on, "
                  "so a save would cut the file short. The file was not changed."
                : "\" could not be read when Vantrel started, so the editor does not hold it. The file was not "
                  "changed.";
        services.dialogs.MessageBox(Joined({"The text of \"", kBootIniPath, why}), "Error", mb::kExclamation);
        return;
    }
    int answer = services.dialogs.MessageBox("Are you sure you want to apply changes to your Boot.ini file?",
                                             "Apply Changes to Boot.ini?", mb::kYesNo | mb::kQuestion);
    if (answer != mb::kAnswerYes) return;
    SaveBootIni(form1, services);
}

}  // namespace vantrel
