// The read-only "Windows Information" page: eight value labels filled from
// the machine's version key. The organisation and owner reads also fill the
// editable boxes of the Explorer page.
#include "settings/TweakRow.h"

namespace vantrel {
namespace {

constexpr RowDef Info(const char* label, const char* caption, const char* value, const char* alsoControl = "") {
    return {.control = label, .page = "Windows Information", .caption = caption, .root = reg::kLocalMachine,
            .loadKey = R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\)", .value = value,
            .load = LoadForm::Direct, .alsoControl = alsoControl};
}

constexpr RowDef kRows[] = {
    Info("Label13", "Windows Directory:", "PathName"),
    Info("Label15", "Product Name:", "ProductName"),
    Info("Label17", "Organization:", "RegisteredOrganization", "Text21"),
    Info("Label19", "Owner:", "RegisteredOwner", "Text19"),
    Info("Label21", "Version:", "CurrentVersion"),
    Info("Label23", "System Root:", "SystemRoot"),
    Info("Label25", "Build Number:", "CurrentBuildNumber"),
    Info("Label27", "CSD Version:", "CSDVersion"),
};

}  // namespace

const std::vector<TweakRow>& WindowsInfoRows() {
    static const std::vector<TweakRow> rows = RowsOf(kRows);
    return rows;
}

}  // namespace vantrel
