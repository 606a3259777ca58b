// The slider and the progress bar: a position within the range the form
// table gives. The slider copies the user's moves back into the model.
#include "ui/win32/ControlWindow.h"

namespace vantrel::win32 {

namespace {

class SliderWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;
    void OnScroll() override {
        const auto pos = SendMessageA(hwnd(), TBM_GETPOS, 0, 0);
        Form::Silence quiet(host_.form);
        static_cast<Slider&>(model()).setValue(pos);
    }

protected:
    WindowStyle Style() const override { return {TRACKBAR_CLASSA, TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS, 0, true}; }
    // A tick at every position; the arrow keys move one step, Page Up and Page Down five.
    void OnCreated() override {
        SendMessageA(hwnd(), TBM_SETRANGEMIN, FALSE, model().def().min);
        SendMessageA(hwnd(), TBM_SETRANGEMAX, FALSE, model().def().max);
        SendMessageA(hwnd(), TBM_SETTICFREQ, 1, 0);
        SendMessageA(hwnd(), TBM_SETLINESIZE, 0, 1);
        SendMessageA(hwnd(), TBM_SETPAGESIZE, 0, 5);
    }
    void ShowValue() override {
        const int value = static_cast<Slider&>(model()).value();
        if (SendMessageA(hwnd(), TBM_GETPOS, 0, 0) != value) SendMessageA(hwnd(), TBM_SETPOS, TRUE, value);
    }
};

class ProgressBarWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;

protected:
    WindowStyle Style() const override { return {PROGRESS_CLASSA, 0, 0, false}; }
    void OnCreated() override {
        SendMessageA(hwnd(), PBM_SETRANGE32, static_cast<WPARAM>(model().def().min), model().def().max);
    }
    void ShowValue() override {
        const auto value = static_cast<int>(static_cast<ProgressBar&>(model()).value());
        SendMessageA(hwnd(), PBM_SETPOS, static_cast<WPARAM>(value), 0);
    }
};

}  // namespace

std::span<const KindWindow> RangeKinds() {
    static constexpr KindWindow kinds[] = {
        {ControlKind::Slider, MakeWindow<SliderWindow>},
        {ControlKind::ProgressBar, MakeWindow<ProgressBarWindow>},
    };
    return kinds;
}

}  // namespace vantrel::win32
