#include "platform/win32/Win32Dialogs.h"

#include <vector>

#include "platform/win32/SystemFunction.h"

namespace vantrel {

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

}  // namespace vantrel
