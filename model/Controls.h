// The toolkit-independent control model. A form is built from a table of
// ControlDef rows; every control keeps its own state and enforces the rules
// its kind has on Windows (a check box holds 0, 1 or 2; option buttons of one
// container exclude each other; the tree refuses a second node with a key it
// holds). A refused operation throws RunTimeError, which the passes treat as a
// failed step. The Win32 renderer mirrors the model into real controls and
// feeds the user's changes back.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Fault.h"

namespace vantrel {

// A failed step: a number and a description, as the program reports errors.
class RunTimeError : public Fault {
public:
    RunTimeError(int number, const std::string& description) : Fault(description), number(number) {}
    int number;
};

namespace errnum {
constexpr int kInvalidCall = 5;        // "Invalid procedure call or argument"
constexpr int kOverflow = 6;           // "Overflow"
constexpr int kTypeMismatch = 13;      // "Type mismatch"
constexpr int kInvalidProperty = 380;  // "Invalid property value"
constexpr int kKeyNotUnique = 35602;   // "Key is not unique in collection"
constexpr int kElementNotFound = 35601;  // "Element not found"
}  // namespace errnum

enum class ControlKind : std::uint8_t {
    Label,         // static text
    HeadingLabel,  // static text in bold
    Band,          // the white band across the top of the main window
    Image,         // the logo
    Line,          // horizontal rule from Left to Left + Width at Top
    TextBox,
    MultiLineText, // multi-line text box with both scroll bars
    CheckBox,
    OptionButton,
    Button,
    Frame,         // group box; pages and the tree's frame
    ListBox,
    CheckListBox,  // list box with a check box per item; Selected is the check mark
    ComboBox,      // drop-down list
    Slider,
    TreeView,
    ProgressBar,
    Timer,
    FileDialog,    // the common dialog component: not visible
};

// One row of a form table. Positions and sizes are twips relative to the
// container ("" for the window's client area). The numbers are 16-bit, so
// that the tables stay small: a value out of range does not compile.
struct ControlDef {
    const char* name;
    ControlKind kind;
    const char* caption;     // caption or design text; "" when none; a drop-down list's items, one a line
    const char* container;   // "" = the form itself
    std::int16_t left, top, width, height;
    bool visible = true;
    // Slider and progress bar ranges; a timer's interval in max; a check
    // box's cycle (CheckBox).
    std::int16_t min = 0, max = 0;
};

struct MenuDef {
    const char* name;
    const char* caption;   // "-" for a separator
    const char* parent;    // "" for the menu bar
    const char* shortcut;  // "Ctrl+H" or ""
};

struct FormDef {
    const char* name;
    const char* caption;
    int clientWidth, clientHeight;  // twips
    std::vector<ControlDef> controls;
    std::vector<MenuDef> menus;
};

class Form;

// A small mark beside a control, or beside an item of a check-box list: its
// setting is set by a policy, or has no effect on this Windows. The words
// say which (shown when the mark is pointed at or the control has the focus).
enum class MarkKind { None, Policy, NoEffect };
struct Mark {
    MarkKind kind = MarkKind::None;
    std::string words;
    bool operator==(const Mark&) const = default;
};

class Control {
public:
    Control(Form& form, const ControlDef& def);
    virtual ~Control() = default;
    const ControlDef& def() const { return def_; }
    const std::string& name() const { return name_; }
    ControlKind kind() const { return def_.kind; }
    Form& form() { return form_; }

    bool visible() const { return visible_; }
    void setVisible(bool visible);
    // A control that is not enabled shows grayed and takes no input.
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    const Mark& mark() const { return mark_; }
    void setMark(Mark mark);

protected:
    void changed();  // tells the form's observer that this control's state changed

private:
    Form& form_;
    const ControlDef& def_;
    std::string name_;
    bool visible_;
    bool enabled_ = true;
    Mark mark_;
};

// Labels (Caption) and text boxes (Text).
class TextControl : public Control {
public:
    // The kinds of control this class makes (MakeControl).
    static constexpr bool Holds(ControlKind k) { return k == ControlKind::Label || k == ControlKind::HeadingLabel || k == ControlKind::TextBox ||
               k == ControlKind::MultiLineText; }
    TextControl(Form& form, const ControlDef& def);
    const std::string& text() const { return text_; }
    void setText(const std::string& text);

private:
    std::string text_;
};

// A check box of a policy shows "Not configured" grayed. Its table row's
// max says which states a click goes through:
//   kPolicyCycle       grayed (not configured) -> checked (enabled) -> unchecked (disabled) -> grayed
//   kEnablingCycle     grayed -> checked -> grayed (a policy with no disabled value)
// and any other, as every other box: checked -> unchecked, anything else -> checked.
constexpr int kPolicyCycle = 3;
constexpr int kEnablingCycle = 2;

class CheckBox : public Control {
public:
    // The kinds of control this class makes (MakeControl).
    static constexpr bool Holds(ControlKind k) { return k == ControlKind::CheckBox; }
    using Control::Control;
    int value() const { return value_; }
    // 0 unchecked, 1 checked, 2 grayed; any other value throws kInvalidProperty.
    void setValue(int value);
    // The value a click leaves (the box's cycle above).
    int Clicked() const;

private:
    int value_ = 0;
};

class OptionButton : public Control {
public:
    // The kinds of control this class makes (MakeControl).
    static constexpr bool Holds(ControlKind k) { return k == ControlKind::OptionButton; }
    using Control::Control;
    bool value() const { return value_; }
    // Selecting clears every other option button of the same container.
    void setValue(bool value);

private:
    friend class Form;
    bool value_ = false;
};

class Slider : public Control {
public:
    // The kinds of control this class makes (MakeControl).
    static constexpr bool Holds(ControlKind k) { return k == ControlKind::Slider; }
    using Control::Control;
    int min() const { return def().min; }
    int max() const { return def().max; }
    int value() const { return value_; }
    // Positions outside the range are clamped to its nearest end.
    void setValue(long long value);

private:
    int value_ = 0;
};

class ListBox : public Control {
public:
    // The kinds of control this class makes (MakeControl).
    static constexpr bool Holds(ControlKind k) { return k == ControlKind::ListBox || k == ControlKind::CheckListBox || k == ControlKind::ComboBox; }
    // A drop-down list starts with the items its table row names, one a line.
    ListBox(Form& form, const ControlDef& def);
    void AddItem(const std::string& item);
    void RemoveItem(int index);  // throws kInvalidCall for an index out of range
    void Clear();
    int ListCount() const { return static_cast<int>(items_.size()); }
    const std::string& List(int index) const;
    int ListIndex() const { return listIndex_; }
    void setListIndex(int index);  // -1 for none; out of range throws kInvalidProperty
    // The selected item's text, "" when none is selected.
    std::string Text() const;
    // Check-box lists: the item's check mark. Plain lists: whether it is the selected item.
    bool Selected(int index) const;
    void setSelected(int index, bool selected);
    const std::vector<std::string>& items() const { return items_; }
    // A number kept with each item for the program, never shown (0 when added).
    long ItemData(int index) const;
    void setItemData(int index, long data);
    // An item's mark; an item marked as having no effect takes no clicks.
    const Mark& itemMark(int index) const;
    void setItemMark(int index, Mark mark);

private:
    void checkIndex(int index) const;
    std::map<int, Mark> itemMarks_;
    std::vector<std::string> items_;
    std::vector<bool> checks_;
    std::vector<long> itemData_;
    int listIndex_ = -1;
};

struct TreeNode {
    std::string key;
    std::string text;
    std::string parentKey;  // "" for a root node
    bool expanded = false;
};

class TreeView : public Control {
public:
    // The kinds of control this class makes (MakeControl).
    static constexpr bool Holds(ControlKind k) { return k == ControlKind::TreeView; }
    using Control::Control;
    int style = 0;
    int lineStyle = 0;
    void setStyle(int style, int lineStyle);
    // relative "" appends a root node; relationship 4 adds the last child of
    // relative. A key the tree already holds throws kKeyNotUnique.
    void Add(const std::string& relative, int relationship, const std::string& key, const std::string& text);
    bool Has(const std::string& key) const;
    const TreeNode& Node(const std::string& key) const;  // throws kElementNotFound
    // Expands every ancestor of the node and asks the window to scroll it into
    // view; does not select it.
    void EnsureVisible(const std::string& key);
    // The node last asked to be scrolled into view, once ("" when none is waiting).
    std::string takeReveal() { return std::exchange(reveal_, std::string()); }
    void setExpanded(const std::string& key, bool expanded);
    const std::vector<TreeNode>& nodes() const { return nodes_; }
    const std::string& selectedKey() const { return selected_; }
    void setSelectedKey(const std::string& key);  // the user's click selects a node

private:
    TreeNode& find(const std::string& key);
    std::vector<TreeNode> nodes_;
    std::string selected_;
    std::string reveal_;
};

class ProgressBar : public Control {
public:
    // The kinds of control this class makes (MakeControl).
    static constexpr bool Holds(ControlKind k) { return k == ControlKind::ProgressBar; }
    using Control::Control;
    float value() const { return value_; }
    void setValue(float value);  // outside min..max throws kInvalidProperty

private:
    float value_ = 0.0f;
};

class Timer : public Control {
public:
    // The kinds of control this class makes (MakeControl).
    static constexpr bool Holds(ControlKind k) { return k == ControlKind::Timer; }
    using Control::Control;
    bool enabled = true;
    int interval() const { return def().max; }
};

// Buttons, frames, lines, the band, the image, the dialog component.
class PlainControl : public Control {
public:
    using Control::Control;
};

// One window of the model.
class Form {
public:
    explicit Form(const FormDef& def);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const FormDef& def() const { return def_; }
    const std::string& caption() const { return caption_; }

    Control& control(const std::string& name);  // throws Fault for an unknown name
    bool has(const std::string& name) const;
    template <class T> T& get(const std::string& name) {
        Control& c = control(name);
        if (!T::Holds(c.kind())) throw Fault("control " + name + " is not of the requested kind");
        return static_cast<T&>(c);
    }
    TextControl& text(const std::string& n) { return get<TextControl>(n); }
    CheckBox& check(const std::string& n) { return get<CheckBox>(n); }
    OptionButton& option(const std::string& n) { return get<OptionButton>(n); }
    Slider& slider(const std::string& n) { return get<Slider>(n); }
    ListBox& list(const std::string& n) { return get<ListBox>(n); }
    TreeView& tree(const std::string& n) { return get<TreeView>(n); }
    ProgressBar& progress(const std::string& n) { return get<ProgressBar>(n); }
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    // Loaded and visible state of the window itself.
    bool loaded() const { return loaded_; }
    bool shown() const { return shown_; }
    void setLoaded(bool loaded);
    void setShown(bool shown);

    // Text printed on the window's surface (the splash window's status lines).
    void Print(const std::string& line);
    const std::vector<std::string>& printed() const { return printed_; }
    bool autoRedraw = false;

    // Observer: called after a control's state (or the window's) changes
    // through the model. The renderer installs it; nullptr for a form without one.
    using Observer = std::function<void(Form&, Control*)>;
    void setObserver(Observer observer) { observer_ = std::move(observer); }
    // While a Silence object lives, changes are not reported (the renderer
    // uses it when it copies the user's input into the model).
    class Silence {
    public:
        explicit Silence(Form& f) : f_(f), was_(f.silent_) { f_.silent_ = true; }
        ~Silence() { f_.silent_ = was_; }

    private:
        Form& f_;
        bool was_;
    };
    void notify(Control* control);

    // What the last load or import set a settings control from, by the
    // control's name as a catalogue row gives it ("Check4", "List1[3]",
    // "Option1|Option2"): whether the value read was present, and what the
    // control held right after. An export compares it with what the control
    // holds now, to tell a setting the user changed from one left as loaded.
    struct LoadMark {
        bool present = false;
        std::string held;
    };
    void markLoaded(const std::string& control, LoadMark mark) {
        if (auto it = loadMarks_.find(control); it != loadMarks_.end()) it->second = std::move(mark);
        else loadMarks_.emplace(control, std::move(mark));
    }
    // nullptr for a control no load or import has set.
    const LoadMark* loadMark(const std::string& control) const {
        const auto it = loadMarks_.find(control);
        return it == loadMarks_.end() ? nullptr : &it->second;
    }

private:
    friend class OptionButton;
    const FormDef& def_;
    std::string caption_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<std::string, Control*> byName_;
    bool loaded_ = false;
    bool shown_ = false;
    bool silent_ = false;
    std::vector<std::string> printed_;
    Observer observer_;
    std::map<std::string, LoadMark> loadMarks_;
};

}  // namespace vantrel
