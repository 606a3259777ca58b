// The boot.ini editor: the file's bytes into Text4 at start-up, and back to
// the file on request. A save never leaves the file empty or cut: the text
// goes to a file beside it that then replaces it in one step, and the file's
// attributes are put back whatever happens.
#include <initializer_list>
#include <string_view>

#include "tools/Tools.h"

namespace vantrel {

namespace {

constexpr char kBootIniPath[] = "C:\\boot.ini";
constexpr char kBootIniTemp[] = "C:\\boot.ini.vantrel-new";
constexpr std::uint32_t kKeptBits =
    fileattr::kReadOnly | fileattr::kHidden | fileattr::kSystem | fileattr::kArchive;

// Joins the parts of a message.
std::string Joined(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) text.append(part);
    return text;
}

void ReportSaveFailure(Services& services, const std::string& what, long code) {
    services.dialogs.MessageBox(Joined({"The changes could not be saved to \"", kBootIniPath, "\": ", what, ".\r\n\r\n",
                                        FileErrorReason(services.files, code)}),
                                "Error", mb::kExclamation);
}

bool EndsWithLineBreak(const std::string& text) {
    return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

// Writes the text beside the file and moves it over the file. Returns 0 or
// the code of the failed step, with `what` naming that step.
long WriteThroughTemporary(FileSystem& files, const std::string& bytes, std::string* what) {
    if (long rc = files.WriteAll(kBootIniTemp, bytes)) {
        files.Delete(kBootIniTemp);
        *what = "the new text could not be written";
        return rc;
    }
    if (long rc = files.Replace(kBootIniTemp, kBootIniPath)) {
        files.Delete(kBootIniTemp);
        *what = "the file could not be replaced";
        return rc;
    }
    return 0;
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

    std::string what;
    long rc = files.SetAttributes(kBootIniPath, 0);
    if (rc) {
        what = "its attributes could not be cleared";
    } else {
        rc = WriteThroughTemporary(files, bytes, &what);
    }
    // Put the kept bits back on whichever file now holds the name.
    long restored = files.SetAttributes(kBootIniPath, kept);
    if (rc) {
        ReportSaveFailure(services, what, rc);
    } else if (restored) {
        ReportSaveFailure(services, "its attributes could not be restored", restored);
    }
}

}  // namespace

std::string FileErrorReason(FileSystem& files, long code) {
    return Joined({"Error ", std::to_string(code), ": ", files.ErrorText(code)});
}

bool LoadBootIni(Form& form1, Services& services) {
    std::string bytes;
    long rc = services.files.ReadAll(kBootIniPath, &bytes, true);
    if (rc) {
        form1.text("Text4").setText("");
        services.dialogs.MessageBox(
            Joined({"\"", kBootIniPath, "\" could not be read.\r\n\r\n", FileErrorReason(services.files, rc)}), "Error",
            mb::kExclamation);
        return false;
    }
    form1.text("Text4").setText(bytes);
    return true;
}

void SaveBootIniClicked(Form& form1, Services& services, bool fileWasRead) {
    if (!fileWasRead) {
        services.dialogs.MessageBox(Joined({"The text of \"", kBootIniPath,
                                            "\" could not be read when Vantrel started, so the editor does not hold "
                                            "it. The file was not changed."}),
                                    "Error", mb::kExclamation);
        return;
    }
    int answer = services.dialogs.MessageBox("Are you sure you want to apply changes to your Boot.ini file?",
                                             "Apply Changes to Boot.ini?", mb::kYesNo | mb::kQuestion);
    if (answer != mb::kAnswerYes) return;
    SaveBootIni(form1, services);
}

}  // namespace vantrel
