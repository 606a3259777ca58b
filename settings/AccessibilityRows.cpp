// The "Accessibility Options:" page: whether the Utility Manager starts the
// Magnifier, the Narrator and the On-Screen Keyboard with Windows.
#include "settings/TweakRow.h"

namespace vantrel {
namespace {

constexpr RowDef StartWithWindows(const char* control, const char* caption, const char* key) {
    return {.control = control, .page = "Accessibility Options:", .caption = caption, .root = reg::kLocalMachine,
            .loadKey = key, .applyKey = key, .value = "Start with Windows", .writer = Writer::String,
            .load = LoadForm::Direct, .apply = ApplyForm::Direct};
}

constexpr RowDef kRows[] = {
    StartWithWindows("Check21", "Run Magnifier with Windows startup",
                     R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\Accessibility\Utility Manager\Magnifier)"),
    StartWithWindows("Check22", "Run Narrator with Windows startup",
                     R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\Accessibility\Utility Manager\Narrator)"),
    StartWithWindows(
        "Check23", "Run On-Screen Keyboard with Windows Startup",
        R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\Accessibility\Utility Manager\On-Screen Keyboard)"),
};

}  // namespace

const std::vector<TweakRow>& AccessibilityRows() {
    static const std::vector<TweakRow> rows = RowsOf(kRows);
    return rows;
}

}  // namespace vantrel
