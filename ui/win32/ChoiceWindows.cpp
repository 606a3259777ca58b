// Check boxes and option buttons. The model decides each click: a check box
// takes the next state of its cycle (CheckBox::Clicked: a policy's box also
// goes through grayed, "Not configured"); an option button clears the others
// of its container.
#include "ui/win32/ControlWindow.h"

#include <cstring>

namespace vantrel::win32 {

namespace {

class CheckBoxWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;
    void OnCommand(int code) override {
        if (code != BN_CLICKED) return;
        auto& box = static_cast<CheckBox&>(model());
        {
            Form::Silence quiet(host_.form);
            box.setValue(box.Clicked());
        }
        SyncValue();
        host_.Raise(host_.events.click, box.name());
    }

protected:
    // Three states so that a grayed value can be shown.
    WindowStyle Style() const override { return {"BUTTON", BS_3STATE, 0, true}; }
    void ShowValue() override {
        static const WPARAM states[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
        const int v = static_cast<CheckBox&>(model()).value();
        SendMessageA(hwnd(), BM_SETCHECK, states[v >= 0 && v <= 2 ? v : 0], 0);
    }
};

class OptionButtonWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;
    void OnCommand(int code) override {
        if (code != BN_CLICKED || host_.focusingOption) return;
        {
            Form::Silence quiet(host_.form);
            static_cast<OptionButton&>(model()).setValue(true);
        }
        SyncGroup();
        host_.Raise(host_.events.click, model().name());
    }

protected:
    WindowStyle Style() const override { return {"BUTTON", BS_AUTORADIOBUTTON, 0, true}; }
    void OnCreated() override { Subclass(); }
    void ShowValue() override {
        SendMessageA(hwnd(), BM_SETCHECK, static_cast<OptionButton&>(model()).value() ? BST_CHECKED : BST_UNCHECKED,
                     0);
    }
    bool OnOwnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override {
        if (msg != WM_SETFOCUS) return false;
        // A radio button that gets the focus from the keyboard (Tab) reports
        // itself clicked; that is no choice of the user's, and "Check All" /
        // "Uncheck All" or a mouse hand must not change by it.
        const bool was = host_.focusingOption;
        host_.focusingOption = true;
        *result = CallClass(msg, wp, lp);
        host_.focusingOption = was;
        SyncGroup();
        return true;
    }

private:
    // The model's marks on every option button of this one's container.
    void SyncGroup() {
        for (const auto& c : host_.controls) {
            if (c->model().kind() == ControlKind::OptionButton &&
                std::strcmp(c->model().def().container, model().def().container) == 0)
                c->SyncValue();
        }
    }
};

}  // namespace

std::span<const KindWindow> ChoiceKinds() {
    static constexpr KindWindow kinds[] = {
        {ControlKind::CheckBox, MakeWindow<CheckBoxWindow>},
        {ControlKind::OptionButton, MakeWindow<OptionButtonWindow>},
    };
    return kinds;
}

}  // namespace vantrel::win32
