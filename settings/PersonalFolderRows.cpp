// The "Personal Folders:" page: nine folder boxes, read from "Shell Folders"
// and written to "User Shell Folders" and then to "Shell Folders".
#include "settings/TweakRow.h"

namespace vantrel {
namespace {

constexpr const char* kShellFolders = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders)";
constexpr const char* kUserShellFolders = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders)";

constexpr RowDef Folder(const char* box, const char* caption, const char* value) {
    return {.control = box, .page = "Personal Folders:", .caption = caption, .root = reg::kCurrentUser,
            .loadKey = kShellFolders, .applyKey = kUserShellFolders, .value = value, .writer = Writer::String,
            .load = LoadForm::Direct, .apply = ApplyForm::Direct, .applyKey2 = kShellFolders};
}

constexpr RowDef kRows[] = {
    Folder("Text5", "AppData:", "AppData"),
    Folder("Text7", "Desktop:", "Desktop"),
    Folder("Text8", "Favorites:", "Favorites"),
    Folder("Text10", "My Pictures:", "My Pictures"),
    Folder("Text11", "Programs:", "Programs"),
    Folder("Text12", "Recent:", "Recent"),
    Folder("Text13", "Send To:", "SendTo"),
    Folder("Text14", "Start Menu:", "Start Menu"),
    Folder("Text15", "Startup:", "Startup"),
};

}  // namespace

const std::vector<TweakRow>& PersonalFolderRows() {
    static const std::vector<TweakRow> rows = RowsOf(kRows);
    return rows;
}

const std::vector<std::string>& PersonalFolderBoxes() {
    static const std::vector<std::string> boxes = [] {
        std::vector<std::string> names;
        for (const TweakRow& row : PersonalFolderRows()) names.push_back(row.control);
        return names;
    }();
    return boxes;
}

}  // namespace vantrel
