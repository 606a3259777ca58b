#include "ui/win32/FormWindow.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "resources/resource.h"

namespace vantrel::win32 {

namespace {

constexpr char kWindowClass[] = "VantrelForm";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

void RegisterWindowClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, kWindowClass, &existing)) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VANTREL));
    if (!wc.hIcon) wc.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_VANTREL), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    RegisterClassExA(&wc);
}

// Kinds drawn on their container's surface rather than as windows of their own.
bool IsSurfaceKind(ControlKind k) {
    return k == ControlKind::Label || k == ControlKind::HeadingLabel || k == ControlKind::Line ||
           k == ControlKind::Image;
}

// Stacking, top to bottom: the windowed controls, then the kinds drawn on
// their container's surface (labels, rules, the logo), then the frames, and
// the band lowest of all; table order within each layer. So a text box that
// meets a label's box keeps its border, and a frame never paints over what it
// holds. Table order among the windowed controls is also the tab order.
int StackLayer(ControlKind k) {
    if (k == ControlKind::Band) return 3;
    if (k == ControlKind::Frame) return 2;
    return IsSurfaceKind(k) ? 1 : 0;
}

}  // namespace

int ControlId(const FormDef& def, const std::string& name) {
    for (size_t i = 0; i < def.controls.size(); ++i)
        if (name == def.controls[i].name) return kFirstControlId + static_cast<int>(i);
    return -1;
}

int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

// ---- construction ----

FormWindow::FormWindow(HINSTANCE instance, Form& form, FormEvents events, bool focusFirst)
    : host_(instance, form, std::move(events)), menus_(form.def()) {
    RegisterWindowClass(instance, WindowProc);
    CreateMainWindow();
    marks_ = std::make_unique<Marks>(host_.window, instance, host_.font, host_.checkSize);
    host_.marks = marks_.get();
    CreateControls(focusFirst);
    SyncAll();
}

FormWindow::~FormWindow() {
    if (host_.window) {
        SetWindowLongPtrA(host_.window, GWLP_USERDATA, 0);
        DestroyWindow(host_.window);  // destroys the menu bar with it
    }
}

void FormWindow::CreateMainWindow() {
    const FormDef& def = host_.form.def();
    RECT r{0, 0, TwipsToPixels(def.clientWidth, host_.dpi), TwipsToPixels(def.clientHeight, host_.dpi)};
    AdjustWindowRectEx(&r, kWindowStyle, menus_.bar() != nullptr, 0);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    // Centred on the screen.
    const int x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    const int y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
    host_.window = CreateWindowExA(0, kWindowClass, host_.form.caption().c_str(), kWindowStyle, x, y, width, height,
                                   nullptr, menus_.bar(), host_.instance, this);
}

void FormWindow::CreateControls(bool focusFirst) {
    Form& form = host_.form;
    const auto& defs = form.def().controls;
    host_.controls.reserve(defs.size());
    pageOf_.assign(defs.size(), -1);
    std::vector<size_t> rows;
    for (size_t i = 0; i < defs.size(); ++i) {
        host_.controls.push_back(MakeControlWindow(host_, form.control(defs[i].name)));
        // The page is the outermost frame above the control (or the control
        // itself) when that frame sits on the form and the table hides it.
        const ControlDef* top = &defs[i];
        while (*top->container) top = &form.control(top->container).def();
        if (top->kind == ControlKind::Frame && !top->visible) pageOf_[i] = static_cast<int>(top - defs.data());
        else rows.push_back(i);
    }
    if (focusFirst) {
        // Made now: the first control that takes the focus, which the shown
        // window gives it (the navigation tree). Every other control, each a
        // window to make, waits for MakeLater.
        const auto first = std::find_if(rows.begin(), rows.end(), [this](size_t i) {
            return host_.controls[i]->TakesFocus();
        });
        if (first != rows.end()) {
            const size_t focus = *first;
            for (size_t r : rows) pageOf_[r] = r == focus ? -1 : kLater;
            rows = {focus};
        }
    }
    MakeRows(rows);
}

void FormWindow::MakeRows(std::vector<size_t> rows) {
    // Made in stacking order: a new child window starts at the bottom, so
    // each lands in its place without being moved when nothing lies below it.
    const auto& defs = host_.form.def().controls;
    std::sort(rows.begin(), rows.end(), [&defs](size_t a, size_t b) {
        return std::make_pair(StackLayer(defs[a].kind), a) < std::make_pair(StackLayer(defs[b].kind), b);
    });
    for (size_t i : rows) MakeRow(i);
}

void FormWindow::MakeRow(size_t i) {
    const auto& defs = host_.form.def().controls;
    const ControlDef& d = defs[i];
    // Option buttons of one container form one keyboard group.
    const bool continuesGroup = i > 0 && d.kind == ControlKind::OptionButton &&
                                defs[i - 1].kind == ControlKind::OptionButton &&
                                std::strcmp(defs[i - 1].container, d.container) == 0;
    ControlWindow& c = *host_.controls[i];
    c.Create(kFirstControlId + static_cast<int>(i), Bounds(d), !continuesGroup);
    if (c.hwnd()) Stack(i);
}

void FormWindow::Stack(size_t index) {
    // Right below the window that comes just before it in the stacking
    // order, or on top when none does.
    const auto& defs = host_.form.def().controls;
    const auto key = [&defs](size_t i) { return std::make_pair(StackLayer(defs[i].kind), i); };
    HWND above = HWND_TOP;
    std::pair<int, size_t> best{-1, 0};
    for (size_t i = 0; i < host_.controls.size(); ++i) {
        HWND h = host_.controls[i]->hwnd();
        if (i == index || !h || key(i) > key(index)) continue;
        if (key(i) > best) {
            best = key(i);
            above = h;
        }
    }
    HWND h = host_.controls[index]->hwnd();
    if (above == HWND_TOP ? GetWindow(host_.window, GW_CHILD) == h : GetWindow(above, GW_HWNDNEXT) == h) return;
    SetWindowPos(h, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void FormWindow::MakePage(int page) {
    std::vector<size_t> rows;
    for (size_t i = 0; i < host_.controls.size(); ++i)
        if (pageOf_[i] == page && !host_.controls[i]->made()) rows.push_back(i);
    MakeRows(rows);
    // Then the model's state: values first, so the page appears filled in;
    // the frame brings its contents along.
    for (size_t i : rows) host_.controls[i]->SyncValue();
    if (page != kLater) SyncVisibility(host_.controls[static_cast<size_t>(page)]->model());
    else for (size_t i : rows) SyncVisibility(host_.controls[i]->model());
}

void FormWindow::MakeLater() {
    if (std::find(pageOf_.begin(), pageOf_.end(), kLater) == pageOf_.end()) return;
    MakePage(kLater);
    std::replace(pageOf_.begin(), pageOf_.end(), kLater, -1);
}

bool FormWindow::Ready(size_t row) {
    if (host_.controls[row]->made()) return true;
    const int page = pageOf_[row];
    if (page == kLater) {
        MakeLater();
        return true;
    }
    if (!EffectiveVisible(host_.controls[static_cast<size_t>(page)]->model())) return false;
    MakePage(page);
    return true;
}

HWND FormWindow::MakeControl(const std::string& name) {
    const int row = Row(name);
    if (row < 0) return nullptr;
    ControlWindow& c = *host_.controls[static_cast<size_t>(row)];
    const int page = pageOf_[static_cast<size_t>(row)];
    if (!c.made() && page == kLater) MakeLater();
    else if (!c.made()) MakePage(page);
    return c.hwnd();
}

RECT FormWindow::Bounds(const ControlDef& def) const {
    // Frames are not real parents: a control sits at its container's origin
    // plus its own offset, all in the window's client area.
    int left = def.left, top = def.top;
    for (std::string c = def.container; !c.empty();) {
        const ControlDef& parent = host_.form.control(c).def();
        left += parent.left;
        top += parent.top;
        c = parent.container;
    }
    const int dpi = host_.dpi;
    return RECT{TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), TwipsToPixels(left + def.width, dpi),
                TwipsToPixels(top + def.height, dpi)};
}

// ---- lookups ----

int FormWindow::Row(const std::string& name) const {
    const int id = ControlId(host_.form.def(), name);
    return id < 0 ? -1 : id - kFirstControlId;
}

int FormWindow::Row(Control& control) const {
    // The form's controls keep their rows of its table.
    if (&control.form() != &host_.form) return -1;
    const std::ptrdiff_t row = &control.def() - host_.form.def().controls.data();
    if (row < 0 || row >= static_cast<std::ptrdiff_t>(host_.controls.size())) return -1;
    return static_cast<int>(row);
}

ControlWindow* FormWindow::From(HWND child) const {
    ControlWindow* c = host_.ById(GetDlgCtrlID(child));
    return c && c->hwnd() == child ? c : nullptr;
}

HWND FormWindow::control(const std::string& name) const {
    const int row = Row(name);
    return row < 0 ? nullptr : host_.controls[static_cast<size_t>(row)]->hwnd();
}

HWND FormWindow::FirstTabStop() const {
    for (const auto& c : host_.controls) {
        HWND h = c->hwnd();
        if (h && (GetWindowLongPtrA(h, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(h) && IsWindowEnabled(h)) return h;
    }
    return nullptr;
}

void FormWindow::FocusFirstTabStop() {
    if (HWND first = FirstTabStop()) SetFocus(first);
}

// ---- model to window ----

void FormWindow::SyncAll() {
    for (size_t i = 0; i < host_.controls.size(); ++i) {
        ControlWindow& c = *host_.controls[i];
        if (!c.made()) {
            // A page the model shows is made, and synced, at its frame's row.
            if (pageOf_[i] == static_cast<int>(i)) Ready(i);
            continue;
        }
        SyncVisibility(c.model());
        c.SyncValue();
    }
    SyncWindow();
}

void FormWindow::SyncWindow() {
    HWND hwnd = host_.window;
    if (!hwnd) return;
    const Form& form = host_.form;
    if (form.caption() != WindowText(hwnd)) SetWindowTextA(hwnd, form.caption().c_str());
    const bool visible = IsWindowVisible(hwnd) != FALSE;
    if (form.shown() && !visible) {
        // Shown, and painted by the event loop, which start-up enters right
        // away: the window answers the user first and paints a moment later,
        // rather than making the user wait for a paint of every control.
        ShowWindow(hwnd, SW_SHOW);
        SetForegroundWindow(hwnd);
        FocusFirstTabStop();
        return;
    }
    if (!form.shown() && visible) ShowWindow(hwnd, SW_HIDE);
    if (form.shown()) {
        // A change while shown (the splash window's lines) may come while
        // no event loop runs, so it is painted now rather than later.
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}

bool FormWindow::EffectiveVisible(const Control& control) const {
    if (!control.visible()) return false;
    std::string c = control.def().container;
    while (!c.empty()) {
        Control& parent = host_.form.control(c);
        if (!parent.visible()) return false;
        c = parent.def().container;
    }
    return true;
}

void FormWindow::SyncVisibility(Control& control) {
    const int row = Row(control);
    if (row >= 0) {
        ControlWindow& c = *host_.controls[static_cast<size_t>(row)];
        // A window hidden while it had the keyboard focus hands it on.
        if (c.hwnd() && c.SetShown(EffectiveVisible(control))) FocusFirstTabStop();
    }
    if (control.kind() != ControlKind::Frame) return;
    for (const auto& child : host_.controls) {
        if (child->model().def().container == control.name()) SyncVisibility(child->model());
    }
}

void FormWindow::SyncControl(Control& control) {
    const int row = Row(control);
    // A control of a page not made yet takes the model's state when its page is first shown.
    if (row >= 0 && !host_.controls[static_cast<size_t>(row)]->made()) {
        Ready(static_cast<size_t>(row));
        return;
    }
    SyncVisibility(control);
    if (row >= 0) host_.controls[static_cast<size_t>(row)]->SyncValue();
}

}  // namespace vantrel::win32
