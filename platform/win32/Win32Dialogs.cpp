#include "platform/win32/Win32Dialogs.h"

#include <shlobj.h>

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
    using Open = BOOL(WINAPI*)(OPENFILENAMEA*);
    static const auto open = SystemFunction<Open>("comdlg32.dll", "GetOpenFileNameA");
    if (!open || !open(&ofn)) return false;  // cancelled (or the dialog failed)
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
    if (!(save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn))) return false;
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

bool Win32Dialogs::ChooseFolder(const std::string& prompt, std::string* folder) {
    // The dialog with an edit box and a "Make New Folder" button needs COM.
    const HRESULT com = OleInitialize(nullptr);
    BROWSEINFOA info{};
    info.hwndOwner = owner();
    info.lpszTitle = prompt.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
    bool chosen = false;
    if (LPITEMIDLIST item = SHBrowseForFolderA(&info)) {
        char path[MAX_PATH] = {};
        chosen = SHGetPathFromIDListA(item, path) && path[0] != '\0';
        if (chosen) *folder = path;
        CoTaskMemFree(item);
    }
    if (SUCCEEDED(com)) OleUninitialize();
    return chosen;
}

}  // namespace vantrel
