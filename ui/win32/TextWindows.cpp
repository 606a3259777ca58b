// Labels, heading labels, text boxes and the multi-line text box: windows
// whose text is the model's. A text box copies the user's typing back.
#include "ui/win32/ControlWindow.h"

namespace vantrel::win32 {

namespace {

class TextWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;

protected:
    WindowStyle Style() const override { return {"STATIC", SS_LEFT, 0, false}; }
    const char* InitialText() const override { return ""; }  // the model's text follows at once
    HFONT Font() const override {
        return model().kind() == ControlKind::HeadingLabel ? host_.boldFont : host_.font;
    }
    void ShowValue() override {
        const std::string& text = static_cast<TextControl&>(model()).text();
        if (WindowText(hwnd()) != text) SetWindowTextA(hwnd(), text.c_str());
    }
};

class TextBoxWindow : public TextWindow {
public:
    using TextWindow::TextWindow;
    void OnCommand(int code) override {
        if (code != EN_CHANGE) return;
        Form::Silence quiet(host_.form);
        static_cast<TextControl&>(model()).setText(WindowText(hwnd()));
    }

protected:
    WindowStyle Style() const override { return {"EDIT", ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, true}; }
};

// Both scroll bars, Enter starts a new line, and no limit on its length.
class MultiLineTextWindow : public TextBoxWindow {
public:
    using TextBoxWindow::TextBoxWindow;

protected:
    WindowStyle Style() const override {
        return {"EDIT",
                ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_HSCROLL,
                WS_EX_CLIENTEDGE, true};
    }
    void OnCreated() override { SendMessageA(hwnd(), EM_SETLIMITTEXT, 0, 0); }
};

}  // namespace

std::span<const KindWindow> TextKinds() {
    static constexpr KindWindow kinds[] = {
        {ControlKind::Label, MakeWindow<TextWindow>},
        {ControlKind::HeadingLabel, MakeWindow<TextWindow>},
        {ControlKind::TextBox, MakeWindow<TextBoxWindow>},
        {ControlKind::MultiLineText, MakeWindow<MultiLineTextWindow>},
    };
    return kinds;
}

}  // namespace vantrel::win32
