#include "ui/win32/FormWindow.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>

#include "resources/resource.h"

namespace vantrel::win32 {

namespace {

constexpr char kWindowClass[] = "VantrelForm";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kComboListHeight = 150;  // pixels of drop-down list below a combo box's field
constexpr char kOwnerProperty[] = "VantrelFormWindow";  // on subclassed controls: their FormWindow

// Class, styles and extended styles of each kind of control.
struct KindSpec {
    const char* windowClass;  // nullptr: the kind has no window
    DWORD style;
    DWORD exStyle;
    bool tabStop;
};

KindSpec SpecFor(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label:
    case ControlKind::HeadingLabel:
    case ControlKind::Band:
        return {"STATIC", SS_LEFT, 0, false};
    case ControlKind::Image:
        return {"STATIC", SS_BITMAP, 0, false};
    case ControlKind::Line:
        return {"STATIC", SS_ETCHEDHORZ, 0, false};
    case ControlKind::TextBox:
        return {"EDIT", ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, true};
    case ControlKind::MultiLineText:
        return {"EDIT",
                ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_HSCROLL,
                WS_EX_CLIENTEDGE, true};
    case ControlKind::CheckBox:
        // Three states so that a grayed value can be shown; the model decides each click.
        return {"BUTTON", BS_3STATE, 0, true};
    case ControlKind::OptionButton:
        return {"BUTTON", BS_AUTORADIOBUTTON, 0, true};
    case ControlKind::Button:
        return {"BUTTON", BS_PUSHBUTTON, 0, true};
    case ControlKind::Frame:
        return {"BUTTON", BS_GROUPBOX, 0, false};
    case ControlKind::ListBox:
        return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE, true};
    case ControlKind::CheckListBox:
        return {"LISTBOX",
                LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_VSCROLL,
                WS_EX_CLIENTEDGE, true};
    case ControlKind::ComboBox:
        return {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 0, true};
    case ControlKind::Slider:
        return {TRACKBAR_CLASSA, TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS, 0, true};
    case ControlKind::TreeView:
        return {WC_TREEVIEWA, TVS_DISABLEDRAGDROP, WS_EX_CLIENTEDGE, true};
    case ControlKind::ProgressBar:
        return {PROGRESS_CLASSA, 0, 0, false};
    case ControlKind::Timer:
    case ControlKind::FileDialog:
        break;
    }
    return {nullptr, 0, 0, false};
}

// Kinds drawn on their container's surface rather than as windows of their own.
bool IsSurfaceKind(ControlKind k) {
    return k == ControlKind::Label || k == ControlKind::HeadingLabel || k == ControlKind::Line ||
           k == ControlKind::Image;
}

bool IsText(ControlKind k) {
    return k == ControlKind::Label || k == ControlKind::HeadingLabel || k == ControlKind::TextBox ||
           k == ControlKind::MultiLineText;
}

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

HFONT MakeFont(int dpi, bool bold) {
    return CreateFontA(-MulDiv(8, dpi, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
}

// The logo, drawn for 96 dots per inch, at the window's resolution: scaled by
// the layout's own factor, smoothed.
HBITMAP LoadLogo(HINSTANCE instance, int dpi) {
    auto logo = static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(IDB_LOGO), IMAGE_BITMAP, 0, 0, 0));
    BITMAP size{};
    if (!logo || dpi == 96 || !GetObjectA(logo, sizeof size, &size)) return logo;
    const int width = MulDiv(size.bmWidth, dpi, 96);
    const int height = MulDiv(size.bmHeight, dpi, 96);
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    HBITMAP scaled = CreateCompatibleBitmap(screen, width, height);
    if (scaled) {
        HGDIOBJ oldFrom = SelectObject(from, logo);
        HGDIOBJ oldTo = SelectObject(to, scaled);
        SetStretchBltMode(to, HALFTONE);
        SetBrushOrgEx(to, 0, 0, nullptr);
        StretchBlt(to, 0, 0, width, height, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
    }
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(nullptr, screen);
    if (!scaled) return logo;
    DeleteObject(logo);
    return scaled;
}

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

}  // namespace

int ControlId(const FormDef& def, const std::string& name) {
    for (size_t i = 0; i < def.controls.size(); ++i)
        if (name == def.controls[i].name) return kFirstControlId + static_cast<int>(i);
    return -1;
}

int MenuId(const FormDef& def, const std::string& name) {
    for (size_t i = 0; i < def.menus.size(); ++i)
        if (name == def.menus[i].name) return kFirstMenuId + static_cast<int>(i);
    return -1;
}

int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

bool ParseShortcut(const std::string& shortcut, ACCEL* accel) {
    const std::string prefix = "Ctrl+";
    if (shortcut.size() != prefix.size() + 1 || shortcut.compare(0, prefix.size(), prefix) != 0) return false;
    const char key = shortcut.back();
    if (!((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))) return false;
    accel->fVirt = FVIRTKEY | FCONTROL;
    accel->key = static_cast<WORD>(key);
    return true;
}

// ---- construction ----

FormWindow::FormWindow(HINSTANCE instance, Form& form, FormEvents events)
    : instance_(instance), form_(form), events_(std::move(events)) {
    HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
    font_ = MakeFont(dpi_, false);
    boldFont_ = MakeFont(dpi_, true);
    HGDIOBJ old = SelectObject(screen, font_);
    TEXTMETRICA tm{};
    GetTextMetricsA(screen, &tm);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    lineHeight_ = tm.tmHeight;
    checkSize_ = MulDiv(13, dpi_, 96);

    RegisterWindowClass(instance_, WindowProc);
    CreateMenus();
    CreateMainWindow();
    marks_ = std::make_unique<Marks>(hwnd_, instance_, font_, checkSize_);
    CreateControls();
    SyncAll();
}

FormWindow::~FormWindow() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);  // destroys the menu bar with it
    }
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
    if (logo_) DeleteObject(logo_);
    DeleteObject(font_);
    DeleteObject(boldFont_);
}

void FormWindow::CreateMenus() {
    const auto& menus = form_.def().menus;
    if (menus.empty()) return;
    std::set<std::string> parents;
    for (const MenuDef& m : menus)
        if (*m.parent) parents.insert(m.parent);

    menuBar_ = CreateMenu();
    popups_[""] = menuBar_;
    std::vector<ACCEL> keys;
    for (size_t i = 0; i < menus.size(); ++i) {
        const MenuDef& m = menus[i];
        auto parent = popups_.find(m.parent);
        if (parent == popups_.end()) continue;
        if (parents.count(m.name)) {
            HMENU sub = CreatePopupMenu();
            AppendMenuA(parent->second, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), m.caption);
            popups_[m.name] = sub;
            popupNames_[sub] = m.name;
        } else if (std::strcmp(m.caption, "-") == 0) {
            AppendMenuA(parent->second, MF_SEPARATOR, 0, nullptr);
        } else {
            const int id = kFirstMenuId + static_cast<int>(i);
            std::string text = m.caption;
            ACCEL accel{};
            if (ParseShortcut(m.shortcut, &accel)) {
                text += std::string("\t") + m.shortcut;
                accel.cmd = static_cast<WORD>(id);
                keys.push_back(accel);
            }
            AppendMenuA(parent->second, MF_STRING, static_cast<UINT_PTR>(id), text.c_str());
        }
    }
    popups_.erase("");
    if (!keys.empty()) accelerators_ = CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size()));
}

void FormWindow::CreateMainWindow() {
    const FormDef& def = form_.def();
    RECT r{0, 0, TwipsToPixels(def.clientWidth, dpi_), TwipsToPixels(def.clientHeight, dpi_)};
    AdjustWindowRectEx(&r, kWindowStyle, menuBar_ != nullptr, 0);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    // Centred on the screen.
    const int x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    const int y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
    hwnd_ = CreateWindowExA(0, kWindowClass, form_.caption().c_str(), kWindowStyle, x, y, width, height, nullptr,
                            menuBar_, instance_, this);
}

namespace {

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

void FormWindow::CreateControls() {
    const auto& defs = form_.def().controls;
    entries_.resize(defs.size());
    for (size_t i = 0; i < defs.size(); ++i) {
        Entry& e = entries_[i];
        e.model = &form_.control(defs[i].name);
        // The page is the outermost frame above the control (or the control
        // itself) when that frame sits on the form and the table hides it.
        const ControlDef* top = &defs[i];
        while (*top->container) top = &form_.control(top->container).def();
        if (top->kind == ControlKind::Frame && !top->visible) e.page = static_cast<int>(top - defs.data());
    }
    std::vector<size_t> rows;
    for (size_t i = 0; i < defs.size(); ++i)
        if (entries_[i].page < 0) rows.push_back(i);
    MakeEntries(rows);
    for (size_t i = 0; i < defs.size(); ++i) {
        if (defs[i].kind == ControlKind::Timer)
            SetTimer(hwnd_, static_cast<UINT_PTR>(kFirstControlId + i), static_cast<UINT>(std::max(defs[i].max, 1)),
                     nullptr);
    }
}

void FormWindow::MakeEntries(std::vector<size_t> rows) {
    // Made in stacking order: a new child window starts at the bottom, so
    // each lands in its place without being moved when nothing lies below it.
    const auto& defs = form_.def().controls;
    std::sort(rows.begin(), rows.end(), [&defs](size_t a, size_t b) {
        return std::make_pair(StackLayer(defs[a].kind), a) < std::make_pair(StackLayer(defs[b].kind), b);
    });
    for (size_t i : rows) MakeEntry(i);
}

void FormWindow::MakeEntry(size_t i) {
    const auto& defs = form_.def().controls;
    const ControlDef& d = defs[i];
    // Option buttons of one container form one keyboard group.
    const bool continuesGroup = i > 0 && d.kind == ControlKind::OptionButton &&
                                defs[i - 1].kind == ControlKind::OptionButton &&
                                std::strcmp(defs[i - 1].container, d.container) == 0;
    Entry& e = entries_[i];
    e.made = true;
    e.hwnd = CreateControl(static_cast<int>(i), d, !continuesGroup);
    if (e.hwnd) Stack(i);
}

void FormWindow::Stack(size_t index) {
    // Right below the window that comes just before it in the stacking
    // order, or on top when none does.
    const auto& defs = form_.def().controls;
    const auto key = [&defs](size_t i) { return std::make_pair(StackLayer(defs[i].kind), i); };
    HWND above = HWND_TOP;
    std::pair<int, size_t> best{-1, 0};
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (i == index || !entries_[i].hwnd || key(i) > key(index)) continue;
        if (key(i) > best) {
            best = key(i);
            above = entries_[i].hwnd;
        }
    }
    HWND h = entries_[index].hwnd;
    if (above == HWND_TOP ? GetWindow(hwnd_, GW_CHILD) == h : GetWindow(above, GW_HWNDNEXT) == h) return;
    SetWindowPos(h, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void FormWindow::MakePage(int page) {
    std::vector<size_t> rows;
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].page == page && !entries_[i].made) rows.push_back(i);
    MakeEntries(rows);
    // Then the model's state: values first, so the page appears filled in;
    // the frame brings its contents along.
    for (size_t i : rows) SyncValue(entries_[i]);
    SyncVisibility(*entries_[static_cast<size_t>(page)].model);
}

bool FormWindow::Ready(Entry& e) {
    if (e.made) return true;
    if (!EffectiveVisible(*entries_[static_cast<size_t>(e.page)].model)) return false;
    MakePage(e.page);
    return true;
}

HWND FormWindow::MakeControl(const std::string& name) {
    Entry* e = EntryByName(name);
    if (!e) return nullptr;
    if (!e->made) MakePage(e->page);
    return e->hwnd;
}

RECT FormWindow::Bounds(const ControlDef& def) const {
    // Frames are not real parents: a control sits at its container's origin
    // plus its own offset, all in the window's client area.
    int left = def.left, top = def.top;
    for (std::string c = def.container; !c.empty();) {
        const ControlDef& parent = const_cast<Form&>(form_).control(c).def();
        left += parent.left;
        top += parent.top;
        c = parent.container;
    }
    RECT r;
    r.left = TwipsToPixels(left, dpi_);
    r.top = TwipsToPixels(top, dpi_);
    r.right = TwipsToPixels(left + def.width, dpi_);
    r.bottom = TwipsToPixels(top + def.height, dpi_);
    return r;
}

HWND FormWindow::CreateControl(int index, const ControlDef& def, bool groupStart) {
    const KindSpec spec = SpecFor(def.kind);
    if (!spec.windowClass) return nullptr;
    RECT r = Bounds(def);
    int height = r.bottom - r.top;
    if (def.kind == ControlKind::Line) height = 2;
    if (def.kind == ControlKind::ComboBox) height += kComboListHeight;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | spec.style;
    if (spec.tabStop) style |= WS_TABSTOP;
    if (groupStart) style |= WS_GROUP;
    const char* text = IsText(def.kind) ? "" : def.caption;  // texts come from the model
    HWND h = CreateWindowExA(spec.exStyle, spec.windowClass, text, style, r.left, r.top, r.right - r.left, height,
                             hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index)),
                             instance_, nullptr);
    if (!h) return nullptr;
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(def.kind == ControlKind::HeadingLabel ? boldFont_ : font_),
                 FALSE);
    switch (def.kind) {
    case ControlKind::Image:
        if (!logo_) logo_ = LoadLogo(instance_, dpi_);
        if (logo_) SendMessageA(h, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo_));
        break;
    case ControlKind::Slider:
        SendMessageA(h, TBM_SETRANGEMIN, FALSE, def.min);
        SendMessageA(h, TBM_SETRANGEMAX, FALSE, def.max);
        SendMessageA(h, TBM_SETTICFREQ, 1, 0);
        SendMessageA(h, TBM_SETLINESIZE, 0, 1);
        SendMessageA(h, TBM_SETPAGESIZE, 0, 5);
        break;
    case ControlKind::ProgressBar:
        SendMessageA(h, PBM_SETRANGE32, static_cast<WPARAM>(def.min), def.max);
        break;
    case ControlKind::MultiLineText:
        SendMessageA(h, EM_SETLIMITTEXT, 0, 0);
        break;
    case ControlKind::CheckListBox:
    case ControlKind::TreeView:
    case ControlKind::OptionButton:
        Subclass(h);
        break;
    default:
        break;
    }
    return h;
}

// ---- lookups ----

FormWindow::Entry* FormWindow::EntryById(int id) {
    const int i = id - kFirstControlId;
    if (i < 0 || i >= static_cast<int>(entries_.size())) return nullptr;
    return entries_[static_cast<size_t>(i)].model ? &entries_[static_cast<size_t>(i)] : nullptr;
}

FormWindow::Entry* FormWindow::EntryByName(const std::string& name) {
    return EntryById(ControlId(form_.def(), name));
}

FormWindow::Entry* FormWindow::EntryOf(Control& control) {
    // The form's controls keep their rows of its table.
    if (&control.form() != &form_) return nullptr;
    const std::ptrdiff_t row = &control.def() - form_.def().controls.data();
    if (row < 0 || row >= static_cast<std::ptrdiff_t>(entries_.size())) return nullptr;
    return &entries_[static_cast<size_t>(row)];
}

HWND FormWindow::control(const std::string& name) const {
    const int i = ControlId(form_.def(), name) - kFirstControlId;
    if (i < 0 || i >= static_cast<int>(entries_.size())) return nullptr;
    return entries_[static_cast<size_t>(i)].hwnd;
}

HMENU FormWindow::popup(const std::string& name) const {
    auto it = popups_.find(name);
    return it == popups_.end() ? nullptr : it->second;
}

HWND FormWindow::FirstTabStop() const {
    for (const Entry& e : entries_) {
        if (e.hwnd && (GetWindowLongPtrA(e.hwnd, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(e.hwnd) &&
            IsWindowEnabled(e.hwnd))
            return e.hwnd;
    }
    return nullptr;
}

// ---- model to window ----

void FormWindow::SyncAll() {
    for (size_t i = 0; i < entries_.size(); ++i) {
        Entry& e = entries_[i];
        if (!e.made) {
            // A page the model shows is made, and synced, at its frame's row.
            if (e.page == static_cast<int>(i)) Ready(e);
            continue;
        }
        SyncVisibility(*e.model);
        SyncValue(e);
    }
    SyncWindow();
}

void FormWindow::SyncWindow() {
    if (!hwnd_) return;
    if (form_.caption() != WindowText(hwnd_)) SetWindowTextA(hwnd_, form_.caption().c_str());
    const bool visible = IsWindowVisible(hwnd_) != FALSE;
    if (form_.shown() && !visible) {
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
        if (HWND first = FirstTabStop()) SetFocus(first);
    } else if (!form_.shown() && visible) {
        ShowWindow(hwnd_, SW_HIDE);
    }
    if (form_.shown()) {
        // Start-up never runs the event loop, so paint now rather than later.
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}

bool FormWindow::EffectiveVisible(const Control& control) const {
    if (!control.visible()) return false;
    std::string c = control.def().container;
    while (!c.empty()) {
        Control& parent = form_.control(c);
        if (!parent.visible()) return false;
        c = parent.def().container;
    }
    return true;
}

void FormWindow::SyncVisibility(Control& control) {
    Entry* e = EntryOf(control);
    if (e && e->hwnd) {
        const bool want = EffectiveVisible(control);
        const bool has = (GetWindowLongPtrA(e->hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
        if (want != has) {
            const bool hadFocus = GetFocus() == e->hwnd;
            ShowWindow(e->hwnd, want ? SW_SHOWNA : SW_HIDE);
            if (hadFocus && !want)
                if (HWND first = FirstTabStop()) SetFocus(first);
        }
        SyncEnabledAndMark(*e);
    }
    if (control.kind() != ControlKind::Frame) return;
    for (Entry& child : entries_) {
        if (child.model->def().container == control.name()) SyncVisibility(*child.model);
    }
}

void FormWindow::SyncEnabledAndMark(Entry& e) {
    if ((IsWindowEnabled(e.hwnd) != FALSE) != e.model->enabled()) EnableWindow(e.hwnd, e.model->enabled());
    if (marks_) marks_->Sync(*e.model, e.hwnd);
}

void FormWindow::SyncControl(Control& control) {
    Entry* e = EntryOf(control);
    // A control of a page not made yet takes the model's state when its page is first shown.
    if (e && !e->made) {
        Ready(*e);
        return;
    }
    SyncVisibility(control);
    if (e) SyncValue(*e);
}

void FormWindow::SyncValue(Entry& e) {
    Control& c = *e.model;
    HWND h = e.hwnd;
    if (!h) return;
    switch (c.kind()) {
    case ControlKind::Label:
    case ControlKind::HeadingLabel:
    case ControlKind::TextBox:
    case ControlKind::MultiLineText: {
        const std::string& text = static_cast<TextControl&>(c).text();
        if (WindowText(h) != text) SetWindowTextA(h, text.c_str());
        break;
    }
    case ControlKind::CheckBox: {
        static const WPARAM states[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
        const int v = static_cast<CheckBox&>(c).value();
        SendMessageA(h, BM_SETCHECK, states[v >= 0 && v <= 2 ? v : 0], 0);
        break;
    }
    case ControlKind::OptionButton:
        SendMessageA(h, BM_SETCHECK, static_cast<OptionButton&>(c).value() ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    case ControlKind::Slider:
        if (SendMessageA(h, TBM_GETPOS, 0, 0) != static_cast<Slider&>(c).value())
            SendMessageA(h, TBM_SETPOS, TRUE, static_cast<Slider&>(c).value());
        break;
    case ControlKind::ProgressBar:
        SendMessageA(h, PBM_SETPOS, static_cast<WPARAM>(static_cast<int>(static_cast<ProgressBar&>(c).value())), 0);
        break;
    case ControlKind::ListBox:
    case ControlKind::CheckListBox:
    case ControlKind::ComboBox:
        SyncList(e);
        break;
    case ControlKind::TreeView:
        SyncTree(e);
        break;
    default:
        break;
    }
}

void FormWindow::SyncList(Entry& e) {
    auto& list = static_cast<ListBox&>(*e.model);
    const bool combo = list.kind() == ControlKind::ComboBox;
    const UINT reset = combo ? CB_RESETCONTENT : LB_RESETCONTENT;
    const UINT add = combo ? CB_ADDSTRING : LB_ADDSTRING;
    const UINT getSel = combo ? CB_GETCURSEL : LB_GETCURSEL;
    const UINT setSel = combo ? CB_SETCURSEL : LB_SETCURSEL;
    if (e.mirror != list.items()) {
        SendMessageA(e.hwnd, WM_SETREDRAW, FALSE, 0);
        SendMessageA(e.hwnd, reset, 0, 0);
        for (const std::string& item : list.items())
            SendMessageA(e.hwnd, add, 0, reinterpret_cast<LPARAM>(item.c_str()));
        e.mirror = list.items();
        SendMessageA(e.hwnd, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(e.hwnd, nullptr, TRUE);
    }
    if (SendMessageA(e.hwnd, getSel, 0, 0) != list.ListIndex())
        SendMessageA(e.hwnd, setSel, static_cast<WPARAM>(list.ListIndex()), 0);
    if (list.kind() == ControlKind::CheckListBox) {
        // The marks live in the model; each item's data carries a copy (1
        // checked, 0 not) so that they can be read from outside the program.
        for (int i = 0; i < list.ListCount(); ++i)
            SendMessageA(e.hwnd, LB_SETITEMDATA, static_cast<WPARAM>(i), list.Selected(i) ? 1 : 0);
        InvalidateRect(e.hwnd, nullptr, FALSE);  // check marks
    }
}

void FormWindow::SyncTree(Entry& e) {
    auto& tree = static_cast<TreeView&>(*e.model);
    // Style: 4 and above draw tree lines, bit 2 the plus/minus boxes; line
    // style 1 joins the root nodes too.
    const LONG_PTR style = GetWindowLongPtrA(e.hwnd, GWL_STYLE);
    LONG_PTR want = style & ~static_cast<LONG_PTR>(TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT);
    if (tree.style >= 4) want |= TVS_HASLINES;
    if (tree.style & 2) want |= TVS_HASBUTTONS;
    if (tree.lineStyle == 1) want |= TVS_LINESATROOT;
    if (want != style) {
        SetWindowLongPtrA(e.hwnd, GWL_STYLE, want);
        InvalidateRect(e.hwnd, nullptr, TRUE);
    }

    auto& items = treeItems_[tree.name()];
    for (const TreeNode& node : tree.nodes()) {
        if (items.count(node.key)) continue;
        TVINSERTSTRUCTA ins{};
        auto parent = items.find(node.parentKey);
        ins.hParent = node.parentKey.empty() || parent == items.end() ? TVI_ROOT : parent->second;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT;
        ins.item.pszText = const_cast<char*>(node.text.c_str());
        auto item = reinterpret_cast<HTREEITEM>(SendMessageA(e.hwnd, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
        if (!item) continue;
        items[node.key] = item;
        treeKeys_[item] = node.key;
    }
    for (const TreeNode& node : tree.nodes()) {
        auto it = items.find(node.key);
        if (it == items.end() || (!node.expanded && !expandedItems_.count(it->second))) continue;
        const bool expanded =
            (SendMessageA(e.hwnd, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(it->second), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
        if (expanded != node.expanded)
            SendMessageA(e.hwnd, TVM_EXPAND, node.expanded ? TVE_EXPAND : TVE_COLLAPSE,
                         reinterpret_cast<LPARAM>(it->second));
        if (node.expanded) expandedItems_.insert(it->second);
        else expandedItems_.erase(it->second);
    }
    HTREEITEM wanted = nullptr;
    if (auto it = items.find(tree.selectedKey()); it != items.end()) wanted = it->second;
    auto current = reinterpret_cast<HTREEITEM>(SendMessageA(e.hwnd, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (current != wanted) SendMessageA(e.hwnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(wanted));
    // A revealed node is scrolled into view too; expanding its parent is not enough.
    if (auto it = items.find(tree.takeReveal()); it != items.end())
        SendMessageA(e.hwnd, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(it->second));
}

void FormWindow::SyncOptionGroup(const std::string& container) {
    for (Entry& e : entries_) {
        if (e.model->kind() == ControlKind::OptionButton && e.model->def().container == container) SyncValue(e);
    }
}

// ---- window to model ----

void FormWindow::Raise(const std::function<void(const std::string&)>& handler, const std::string& name) {
    if (handler) handler(name);
}

void FormWindow::OnCommand(int id, int code, HWND from) {
    if (!from) {
        const int i = id - kFirstMenuId;
        const auto& menus = form_.def().menus;
        if (i >= 0 && i < static_cast<int>(menus.size()) && (code == 0 || code == 1))
            Raise(events_.menu, menus[static_cast<size_t>(i)].name);
        return;
    }
    Entry* e = EntryById(id);
    if (!e || e->hwnd != from) return;
    Control& c = *e->model;
    switch (c.kind()) {
    case ControlKind::Button:
        if (code == BN_CLICKED) Raise(events_.click, c.name());
        break;
    case ControlKind::CheckBox:
        if (code == BN_CLICKED) {
            auto& box = static_cast<CheckBox&>(c);
            {
                Form::Silence quiet(form_);
                box.setValue(box.value() == 1 ? 0 : 1);
            }
            SyncValue(*e);
            Raise(events_.click, c.name());
        }
        break;
    case ControlKind::OptionButton:
        if (code == BN_CLICKED && !focusingOption_) {
            {
                Form::Silence quiet(form_);
                static_cast<OptionButton&>(c).setValue(true);
            }
            SyncOptionGroup(c.def().container);
            Raise(events_.click, c.name());
        }
        break;
    case ControlKind::TextBox:
    case ControlKind::MultiLineText:
        if (code == EN_CHANGE) {
            Form::Silence quiet(form_);
            static_cast<TextControl&>(c).setText(WindowText(from));
        }
        break;
    case ControlKind::ListBox:
    case ControlKind::CheckListBox:
    case ControlKind::ComboBox: {
        const bool combo = c.kind() == ControlKind::ComboBox;
        if ((combo && code == CBN_SELCHANGE) || (!combo && code == LBN_SELCHANGE)) {
            const auto index = static_cast<int>(SendMessageA(from, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
            auto& list = static_cast<ListBox&>(c);
            if (index >= -1 && index < list.ListCount()) {
                Form::Silence quiet(form_);
                list.setListIndex(index);
            }
        }
        break;
    }
    default:
        break;
    }
}

LRESULT FormWindow::OnNotify(NMHDR* header) {
    Entry* e = EntryById(static_cast<int>(header->idFrom));
    if (!e || e->hwnd != header->hwndFrom || e->model->kind() != ControlKind::TreeView) return 0;
    auto& tree = static_cast<TreeView&>(*e->model);
    auto keyOf = [this](HTREEITEM item) {
        auto it = treeKeys_.find(item);
        return it == treeKeys_.end() ? std::string() : it->second;
    };
    switch (header->code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: {
        auto* nm = reinterpret_cast<NMTREEVIEWA*>(header);
        const std::string key = keyOf(nm->itemNew.hItem);
        {
            Form::Silence quiet(form_);
            tree.setSelectedKey(key);
        }
        // Only the user's choice is a node click; selections the program or
        // the control makes on its own are not.
        if (!key.empty() && (nm->action == TVC_BYMOUSE || nm->action == TVC_BYKEYBOARD)) {
            if (nm->action == TVC_BYMOUSE) treeClickRaised_ = true;
            Raise(events_.nodeClick, key);
        }
        break;
    }
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW: {
        auto* nm = reinterpret_cast<NMTREEVIEWA*>(header);
        const std::string key = keyOf(nm->itemNew.hItem);
        if (key.empty()) break;
        const bool expanded = (SendMessageA(e->hwnd, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(nm->itemNew.hItem),
                                            TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
        if (expanded) expandedItems_.insert(nm->itemNew.hItem);
        else expandedItems_.erase(nm->itemNew.hItem);
        Form::Silence quiet(form_);
        tree.setExpanded(key, expanded);
        break;
    }
    case NM_CLICK: {
        // A click on the node that is already selected changes no selection,
        // so it is reported here; a click on another node is reported when
        // the selection moves to it (before or after this notification).
        if (treeClickRaised_) break;
        TVHITTESTINFO hit{};
        hit.pt = treeClick_;
        SendMessageA(e->hwnd, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        auto selected = reinterpret_cast<HTREEITEM>(SendMessageA(e->hwnd, TVM_GETNEXTITEM, TVGN_CARET, 0));
        if (hit.hItem && (hit.flags & TVHT_ONITEM) && hit.hItem == selected) {
            const std::string key = keyOf(hit.hItem);
            if (!key.empty()) Raise(events_.nodeClick, key);
        }
        break;
    }
    default:
        break;
    }
    return 0;
}

void FormWindow::OnScroll(HWND from) {
    Entry* e = EntryById(GetDlgCtrlID(from));
    if (!e || e->hwnd != from || e->model->kind() != ControlKind::Slider) return;
    const auto pos = SendMessageA(from, TBM_GETPOS, 0, 0);
    Form::Silence quiet(form_);
    static_cast<Slider&>(*e->model).setValue(pos);
}

void FormWindow::OnTimer(UINT_PTR id) {
    Entry* e = EntryById(static_cast<int>(id));
    if (!e || e->model->kind() != ControlKind::Timer) return;
    if (static_cast<Timer&>(*e->model).enabled) Raise(events_.timer, e->model->name());
}

void FormWindow::ToggleCheck(Entry& e, int index) {
    auto& list = static_cast<ListBox&>(*e.model);
    if (index < 0 || index >= list.ListCount() || list.itemMark(index).kind == MarkKind::NoEffect) return;
    {
        Form::Silence quiet(form_);
        list.setSelected(index, !list.Selected(index));
    }
    SendMessageA(e.hwnd, LB_SETITEMDATA, static_cast<WPARAM>(index), list.Selected(index) ? 1 : 0);
    RECT r;
    if (SendMessageA(e.hwnd, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(e.hwnd, &r, FALSE);
}

void FormWindow::DrawCheckItem(const DRAWITEMSTRUCT& di) {
    Entry* e = EntryById(static_cast<int>(di.CtlID));
    if (!e || e->model->kind() != ControlKind::CheckListBox) return;
    auto& list = static_cast<ListBox&>(*e->model);
    HDC dc = di.hDC;
    RECT row = di.rcItem;
    if (di.itemID == static_cast<UINT>(-1) || static_cast<int>(di.itemID) >= list.ListCount()) {
        FillRect(dc, &row, GetSysColorBrush(COLOR_WINDOW));
        if (di.itemState & ODS_FOCUS) DrawFocusRect(dc, &row);
        return;
    }
    const int index = static_cast<int>(di.itemID);
    FillRect(dc, &row, GetSysColorBrush(COLOR_WINDOW));

    RECT box;
    box.left = row.left + 2;
    box.top = row.top + (row.bottom - row.top - checkSize_) / 2;
    box.right = box.left + checkSize_;
    box.bottom = box.top + checkSize_;
    // An item with no effect here is shown disabled, its box and its text grayed.
    const Mark& itemMark = list.itemMark(index);
    const bool inactive = itemMark.kind == MarkKind::NoEffect;
    DrawFrameControl(dc, &box, DFC_BUTTON,
                     DFCS_BUTTONCHECK | DFCS_FLAT | (list.Selected(index) ? DFCS_CHECKED : 0) |
                         (inactive ? DFCS_INACTIVE : 0));

    // Only the text is highlighted, the box keeps the list's colour.
    RECT text = row;
    text.left = box.right + 3;
    const std::string& item = list.List(index);
    SIZE extent{};
    HGDIOBJ old = SelectObject(dc, font_);
    GetTextExtentPoint32A(dc, item.c_str(), static_cast<int>(item.size()), &extent);
    RECT mark = text;
    mark.right = std::min<LONG>(text.right, text.left + extent.cx + 4);
    const bool selected = (di.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &mark, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : inactive ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
    RECT label = mark;
    label.left += 2;
    DrawTextA(dc, item.c_str(), static_cast<int>(item.size()), &label, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(dc, old);
    RECT after = row;
    after.left = mark.right + 3;
    if (marks_) marks_->DrawItemMark(dc, after, itemMark);
    if (di.itemState & ODS_FOCUS) DrawFocusRect(dc, &mark);
}

void FormWindow::PaintPrinted() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    HGDIOBJ old = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    int y = 0;
    for (const std::string& line : form_.printed()) {
        TextOutA(dc, 0, y, line.c_str(), static_cast<int>(line.size()));
        y += lineHeight_;
    }
    SelectObject(dc, old);
    EndPaint(hwnd_, &ps);
}

bool FormWindow::PreTranslate(MSG& msg) {
    if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
    if (accelerators_ && TranslateAcceleratorA(hwnd_, accelerators_, &msg)) return true;
    // The window is no dialog, so it has no default button: Enter on a
    // focused push button presses it, as Space does.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
        Entry* e = EntryById(GetDlgCtrlID(msg.hwnd));
        if (e && e->hwnd == msg.hwnd && e->model->kind() == ControlKind::Button) {
            SendMessageA(msg.hwnd, BM_CLICK, 0, 0);
            return true;
        }
    }
    const bool used = IsDialogMessageA(hwnd_, &msg) != FALSE;
    if (marks_) marks_->FocusMoved(GetFocus());  // Tab moved it, or the last message did
    return used;
}

// ---- window procedures ----

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        auto* self = static_cast<FormWindow*>(cs->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    // No exception may cross the window system. An event handler that fails
    // simply ends, as the program's handlers do.
    try {
        return self->Handle(msg, wp, lp);
    } catch (...) {
        return 0;
    }
}

LRESULT FormWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
        return 0;
    case WM_NOTIFY:
        if (marks_ && marks_->TipText(reinterpret_cast<NMHDR*>(lp))) return 0;
        return OnNotify(reinterpret_cast<NMHDR*>(lp));
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lp) OnScroll(reinterpret_cast<HWND>(lp));
        return 0;
    case WM_TIMER:
        OnTimer(wp);
        return 0;
    case WM_INITMENUPOPUP:
        if (!HIWORD(lp)) {
            auto it = popupNames_.find(reinterpret_cast<HMENU>(wp));
            if (it != popupNames_.end()) Raise(events_.submenuOpened, it->second);
        }
        return 0;
    case WM_CTLCOLORSTATIC: {
        auto* from = reinterpret_cast<HWND>(lp);
        Entry* e = EntryById(GetDlgCtrlID(from));
        if (e && e->hwnd == from &&
            (e->model->kind() == ControlKind::Band || e->model->kind() == ControlKind::Image)) {
            SetBkColor(reinterpret_cast<HDC>(wp), RGB(255, 255, 255));
            return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        }
        break;
    }
    case WM_MEASUREITEM: {
        auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        if (mi->CtlType == ODT_LISTBOX) {
            mi->itemHeight = static_cast<UINT>(std::max(lineHeight_, checkSize_) + 3);
            return TRUE;
        }
        break;
    }
    case WM_DRAWITEM: {
        auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        if (di->CtlType == ODT_LISTBOX) {
            DrawCheckItem(*di);
            return TRUE;
        }
        break;
    }
    case WM_PAINT:
        if (!form_.printed().empty()) {
            PaintPrinted();
            return 0;
        }
        break;
    case WM_ACTIVATE:
        // Keep the focused control across a switch to another window and back.
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
        } else {
            HWND target = lastFocus_ && IsWindowVisible(lastFocus_) ? lastFocus_ : FirstTabStop();
            if (target) SetFocus(target);
            return 0;
        }
        break;
    case WM_SETFOCUS: {
        HWND target = lastFocus_ && IsWindowVisible(lastFocus_) ? lastFocus_ : FirstTabStop();
        if (target) SetFocus(target);
        return 0;
    }
    case WM_CLOSE:
        if (events_.close) events_.close();
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

void FormWindow::Subclass(HWND child) {
    SetPropA(child, kOwnerProperty, this);
    childProcs_[child] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ChildProc)));
}

LRESULT CALLBACK FormWindow::ChildProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<FormWindow*>(GetPropA(hwnd, kOwnerProperty));
    auto proc = self ? self->childProcs_.find(hwnd) : decltype(self->childProcs_)::iterator{};
    if (!self || proc == self->childProcs_.end()) return DefWindowProcA(hwnd, msg, wp, lp);
    const WNDPROC original = proc->second;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropA(hwnd, kOwnerProperty);
        self->childProcs_.erase(proc);
        return CallWindowProcA(original, hwnd, msg, wp, lp);
    }
    Entry* e = self->EntryById(GetDlgCtrlID(hwnd));
    if (e && e->hwnd == hwnd) {
        if (e->model->kind() == ControlKind::TreeView && (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK)) {
            // Where the click landed, for the click notification that follows.
            self->treeClick_.x = static_cast<short>(LOWORD(lp));
            self->treeClick_.y = static_cast<short>(HIWORD(lp));
            self->treeClickRaised_ = false;
        } else if (e->model->kind() == ControlKind::OptionButton && msg == WM_SETFOCUS) {
            // A radio button that gets the focus from the keyboard (Tab)
            // reports itself clicked; that is no choice of the user's, and
            // "Check All" / "Uncheck All" or a mouse hand must not change by it.
            const bool was = self->focusingOption_;
            self->focusingOption_ = true;
            const LRESULT result = CallWindowProcA(original, hwnd, msg, wp, lp);
            self->focusingOption_ = was;
            self->SyncOptionGroup(e->model->def().container);
            return result;
        } else if (e->model->kind() == ControlKind::CheckListBox) {
            LRESULT result = 0;
            try {
                if (self->CheckListMessage(*e, msg, wp, lp, &result)) return result;
            } catch (...) {
                return 0;
            }
        }
    }
    return CallWindowProcA(original, hwnd, msg, wp, lp);
}

bool FormWindow::CheckListMessage(Entry& e, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // A click on an item's box toggles it; a double click anywhere on the item too.
        *result = CallWindowProcA(childProcs_[e.hwnd], e.hwnd, msg, wp, lp);
        const auto hit = static_cast<DWORD>(SendMessageA(e.hwnd, LB_ITEMFROMPOINT, 0, lp));
        const int x = static_cast<short>(LOWORD(lp));
        if (HIWORD(hit) == 0 && (x < 2 + checkSize_ + 2 || msg == WM_LBUTTONDBLCLK))
            ToggleCheck(e, static_cast<int>(LOWORD(hit)));
        return true;
    }
    case WM_MOUSEMOVE: {
        const auto hit = static_cast<DWORD>(SendMessageA(e.hwnd, LB_ITEMFROMPOINT, 0, lp));
        if (marks_) marks_->PointerOverItem(static_cast<ListBox&>(*e.model), e.hwnd, HIWORD(hit) ? -1 : LOWORD(hit));
        return false;
    }
    case WM_KEYDOWN:
        if (wp != VK_SPACE) return false;
        ToggleCheck(e, static_cast<int>(SendMessageA(e.hwnd, LB_GETCURSEL, 0, 0)));
        *result = 0;
        return true;
    case WM_CHAR:
        *result = 0;
        return wp == ' ';  // no type-ahead search on the space that toggled
    default:
        return false;
    }
}

}  // namespace vantrel::win32
