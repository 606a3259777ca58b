// Message boxes and the common Open dialog, owned by the main window.
#pragma once

#include "platform/win32/WindowsApi.h"

#include <functional>
#include <string>

#include "platform/Platform.h"

namespace vantrel {

class Win32Dialogs : public Dialogs {
public:
    // The owner is asked for at each call, so the dialogs can be made before
    // the main window exists.
    explicit Win32Dialogs(std::function<HWND()> owner = {}) : owner_(std::move(owner)) {}
    void setOwner(std::function<HWND()> owner) { owner_ = std::move(owner); }

    // MessageBoxA with the style as given; returns the button pressed.
    int MessageBox(const std::string& prompt, const std::string& title, int style) override;
    // GetOpenFileNameA with no filter and no title; the file must exist.
    bool ShowOpen(std::string* fileName, std::string* fileTitle) override;
    // GetOpenFileNameA / GetSaveFileNameA with the choice's title, folder and
    // filters, keeping the current folder; SHBrowseForFolderA for folders.
    bool ChooseFileToOpen(const FileChoice& choice, std::string* path) override;
    bool ChooseFileToSave(const FileChoice& choice, std::string* path) override;
    bool ChooseFolder(const std::string& prompt, std::string* folder) override;
    // A resizable dialog with a report-view list (Win32ReviewList.h).
    bool ShowReviewList(const ReviewList& list) override;
    // The same dialog with check boxes, forms and a folder (Win32ExportChoice.h).
    bool ChooseExport(ExportChoice& choice) override;

private:
    HWND owner() const { return owner_ ? owner_() : nullptr; }
    std::function<HWND()> owner_;
};

}  // namespace vantrel
