#include "platform/win32/Win32Dialogs.h"

#include <shlobj.h>

#include "platform/win32/Win32ExportChoice.h"
#include "platform/win32/Win32ReviewList.h"

#include <vector>

#include "platform/win32/SystemFunction.h"

namespace vantrel {

namespace {

// "Description\0pattern\0...\0\0", as the common dialogs take filters.
std::string FilterList(const FileChoice& choice) {
    std::string list;
    for (const auto& [description, pattern] : choice.filters) {
        list.append(description).push_back('\0');
        list.append(pattern).push_back('\0');
    }
    list.push_back('\0');
    return list;
}

// The common dialogs and the folder browser, bound on first use: the
// libraries behind them cost start-up time and nothing at start-up needs them.
BOOL FileDialog(bool save, OPENFILENAMEA* ofn) {
    using Run = BOOL(WINAPI*)(OPENFILENAMEA*);
    static const auto open = SystemFunction<Run>("comdlg32.dll", "GetOpenFileNameA");
    static const auto saveAs = SystemFunction<Run>("comdlg32.dll", "GetSaveFileNameA");
    const Run run = save ? saveAs : open;
    return run ? run(ofn) : FALSE;
}

struct FolderBrowser {
    decltype(&OleInitialize) initialize = SystemFunction<decltype(&OleInitialize)>("ole32.dll", "OleInitialize");
    decltype(&OleUninitialize) uninitialize =
        SystemFunction<decltype(&OleUninitialize)>("ole32.dll", "OleUninitialize");
    decltype(&CoTaskMemFree) free = SystemFunction<decltype(&CoTaskMemFree)>("ole32.dll", "CoTaskMemFree");
    decltype(&SHBrowseForFolderA) browse =
        SystemFunction<decltype(&SHBrowseForFolderA)>("shell32.dll", "SHBrowseForFolderA");
    decltype(&SHGetPathFromIDListA) path =
        SystemFunction<decltype(&SHGetPathFromIDListA)>("shell32.dll", "SHGetPathFromIDListA");
    bool ready() const { return initialize && uninitialize && free && browse && path; }
};

}  // namespace

int Win32Dialogs::MessageBox(const std::string& prompt, const std::string& title, int style) {
    return MessageBoxA(owner(), prompt.c_str(), title.c_str(), static_cast<UINT>(style));
}

bool Win32Dialogs::ShowOpen(std::string* fileName, std::string* fileTitle) {
    std::vector<char> file(32768, '\0');
    std::vector<char> title(MAX_PATH + 1, '\0');
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrFileTitle = title.data();
    ofn.nMaxFileTitle = static_cast<DWORD>(title.size());
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!FileDialog(false, &ofn)) return false;  // cancelled (or the dialog failed)
    *fileName = file.data();
    *fileTitle = title.data();
    return true;
}

namespace {

// Runs the Open or Save dialog for a choice.
bool ChooseFile(HWND owner, const FileChoice& choice, bool save, std::string* path) {
    std::vector<char> file(32768, '\0');
    choice.fileName.copy(file.data(), file.size() - 1);
    const std::string filters = FilterList(choice);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = choice.filters.empty() ? nullptr : filters.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = choice.folder.empty() ? nullptr : choice.folder.c_str();
    ofn.lpstrTitle = choice.title.empty() ? nullptr : choice.title.c_str();
    ofn.lpstrDefExt = choice.defaultExtension.empty() ? nullptr : choice.defaultExtension.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
    ofn.Flags |= save ? OFN_OVERWRITEPROMPT | OFN_NOREADONLYRETURN : OFN_FILEMUSTEXIST;
    if (!FileDialog(save, &ofn)) return false;
    *path = file.data();
    return true;
}

}  // namespace

bool Win32Dialogs::ChooseFileToOpen(const FileChoice& choice, std::string* path) {
    return ChooseFile(owner(), choice, false, path);
}

bool Win32Dialogs::ChooseFileToSave(const FileChoice& choice, std::string* path) {
    return ChooseFile(owner(), choice, true, path);
}

namespace {

bool ChooseFolderOwnedBy(HWND owner, const std::string& prompt, std::string* folder) {
    static const FolderBrowser shell;
    if (!shell.ready()) return false;
    // The dialog with an edit box and a "Make New Folder" button needs COM.
    const HRESULT com = shell.initialize(nullptr);
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.lpszTitle = prompt.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
    bool chosen = false;
    if (LPITEMIDLIST item = shell.browse(&info)) {
        char path[MAX_PATH] = {};
        chosen = shell.path(item, path) && path[0] != '\0';
        if (chosen) *folder = path;
        shell.free(item);
    }
    if (SUCCEEDED(com)) shell.uninitialize();
    return chosen;
}

}  // namespace

bool Win32Dialogs::ChooseFolder(const std::string& prompt, std::string* folder) {
    return ChooseFolderOwnedBy(owner(), prompt, folder);
}

bool Win32Dialogs::ShowReviewList(const ReviewList& list) {
    return ShowReviewWindow(owner(), list);
}

bool Win32Dialogs::ChooseExport(ExportChoice& choice) {
    return ShowExportChoiceWindow(owner(), choice, ChooseFolderOwnedBy);
}

}  // namespace vantrel
