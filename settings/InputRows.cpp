// The "Keyboard" and "Mouse" pages: repeat delay and rate, mouse snapping,
// the mouse hand, pointer trails and pointer speed. Every value is read from
// its key with a trailing backslash and written to the key without it, always
// as text.
#include "settings/TweakRow.h"

namespace vantrel {
namespace {

constexpr const char* kKeyboardSlash = R"(Control Panel\Keyboard\)";
constexpr const char* kKeyboard = R"(Control Panel\Keyboard)";
constexpr const char* kMouseSlash = R"(Control Panel\Mouse\)";
constexpr const char* kMouse = R"(Control Panel\Mouse)";

constexpr RowDef Direct(const char* control, const char* page, const char* caption, const char* loadKey,
                        const char* applyKey, const char* value) {
    return {.control = control, .page = page, .caption = caption, .root = reg::kCurrentUser, .loadKey = loadKey,
            .applyKey = applyKey, .value = value, .writer = Writer::String, .load = LoadForm::Direct,
            .apply = ApplyForm::Direct};
}

// Slider1's positions stand for trail lengths: 0 is "0" (off), 1 to 6 are "2"
// to "7". The same pairs map both ways; position 7 has no value and writes
// nothing, and a stored "1" or any other text leaves the slider where it is.
constexpr PairDef kTrailPairs[] = {{"0", 0}, {"2", 1}, {"3", 2}, {"4", 3}, {"5", 4}, {"6", 5}, {"7", 6}};

// "1" is the left-handed layout (Option1), "0" the right-handed one
// (Option2); the apply tests "Right Handed" first.
constexpr PairDef kHandLoad[] = {{"1", 1}, {"0", 2}};
constexpr PairDef kHandApply[] = {{"0", 2}, {"1", 1}};

constexpr RowDef kRows[] = {
    Direct("Slider3", "Keyboard", "Repeat Delay:", kKeyboardSlash, kKeyboard, "KeyboardDelay"),
    Direct("Slider4", "Keyboard", "Repeat Rate:", kKeyboardSlash, kKeyboard, "KeyboardSpeed"),
    Direct("Check10", "Mouse", "Enable Mouse Snapping", kMouseSlash, kMouse, "SnapToDefaultButton"),
    {.control = "Option1|Option2", .page = "Mouse", .caption = "Mouse Hand:", .root = reg::kCurrentUser,
     .loadKey = kMouseSlash, .applyKey = kMouse, .value = "SwapMouseButtons", .writer = Writer::String,
     .load = LoadForm::MatchText, .loadPairs = kHandLoad,
     .apply = ApplyForm::Chosen, .applyPairs = kHandApply},
    {.control = "Slider1", .page = "Mouse", .caption = "Mouse Trails:", .root = reg::kCurrentUser,
     .loadKey = kMouseSlash, .applyKey = kMouse, .value = "MouseTrails", .writer = Writer::String,
     .load = LoadForm::MatchText, .loadPairs = kTrailPairs, .apply = ApplyForm::Chosen,
     .applyPairs = kTrailPairs},
    Direct("Slider2", "Mouse", "Mouse Sensitivity:", kMouseSlash, kMouse, "MouseSensitivity"),
};

}  // namespace

const std::vector<TweakRow>& InputRows() {
    static const std::vector<TweakRow> rows = RowsOf(kRows);
    return rows;
}

}  // namespace vantrel
