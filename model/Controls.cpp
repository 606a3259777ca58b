#include "model/Controls.h"

#include <algorithm>
#include <string_view>

namespace vantrel {

namespace {

[[noreturn]] void InvalidProperty() { throw RunTimeError(errnum::kInvalidProperty, "Invalid property value"); }
[[noreturn]] void InvalidCall() { throw RunTimeError(errnum::kInvalidCall, "Invalid procedure call or argument"); }

std::unique_ptr<Control> MakeControl(Form& form, const ControlDef& def) {
    switch (def.kind) {
    case ControlKind::Label:
    case ControlKind::HeadingLabel:
    case ControlKind::TextBox:
    case ControlKind::MultiLineText:
        return std::make_unique<TextControl>(form, def);
    case ControlKind::CheckBox:
        return std::make_unique<CheckBox>(form, def);
    case ControlKind::OptionButton:
        return std::make_unique<OptionButton>(form, def);
    case ControlKind::Slider:
        return std::make_unique<Slider>(form, def);
    case ControlKind::ListBox:
    case ControlKind::CheckListBox:
    case ControlKind::ComboBox:
        return std::make_unique<ListBox>(form, def);
    case ControlKind::TreeView:
        return std::make_unique<TreeView>(form, def);
    case ControlKind::ProgressBar:
        return std::make_unique<ProgressBar>(form, def);
    case ControlKind::Timer:
        return std::make_unique<Timer>(form, def);
    default:
        return std::make_unique<PlainControl>(form, def);
    }
}

}  // namespace

// ---- Control ----

Control::Control(Form& form, const ControlDef& def)
    : form_(form), def_(def), name_(def.name), visible_(def.visible) {}

void Control::setVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    changed();
}

void Control::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    changed();
}

void Control::setMark(Mark mark) {
    if (mark_ == mark) return;
    mark_ = std::move(mark);
    changed();
}

void Control::changed() { form_.notify(this); }

// ---- TextControl ----

TextControl::TextControl(Form& form, const ControlDef& def) : Control(form, def) {
    // Labels show their design caption; text boxes start empty.
    if (def.kind == ControlKind::Label || def.kind == ControlKind::HeadingLabel) text_ = def.caption;
}

void TextControl::setText(const std::string& text) {
    if (text_ == text) return;
    text_ = text;
    changed();
}

// ---- CheckBox ----

void CheckBox::setValue(int value) {
    if (value < 0 || value > 2) InvalidProperty();
    if (value_ == value) return;
    value_ = value;
    changed();
}

int CheckBox::Clicked() const {
    switch (def().max) {
    case kPolicyCycle: return value_ == 2 ? 1 : (value_ == 1 ? 0 : 2);
    case kEnablingCycle: return value_ == 1 ? 2 : 1;
    default: return value_ == 1 ? 0 : 1;
    }
}

// ---- OptionButton ----

void OptionButton::setValue(bool value) {
    if (value) {
        // Option buttons of one container form a group: selecting one clears the others.
        for (auto& c : form().controls()) {
            auto* other = OptionButton::Holds(c->kind()) ? static_cast<OptionButton*>(c.get()) : nullptr;
            if (other && other != this && other->value_ &&
                std::string(other->def().container) == def().container) {
                other->value_ = false;
                form().notify(other);
            }
        }
    }
    if (value_ == value) return;
    value_ = value;
    changed();
}

// ---- Slider ----

void Slider::setValue(long long value) {
    const long long clamped = std::clamp<long long>(value, min(), max());
    if (value_ == clamped) return;
    value_ = static_cast<int>(clamped);
    changed();
}

// ---- ListBox ----

ListBox::ListBox(Form& form, const ControlDef& def) : Control(form, def) {
    if (def.kind != ControlKind::ComboBox) return;
    for (std::string_view items = def.caption; !items.empty();) {
        const std::size_t end = std::min(items.find('\n'), items.size());
        AddItem(std::string(items.substr(0, end)));
        items.remove_prefix(std::min(end + 1, items.size()));
    }
}

void ListBox::checkIndex(int index) const {
    if (index < 0 || index >= ListCount()) InvalidCall();
}

void ListBox::AddItem(const std::string& item) {
    items_.push_back(item);
    checks_.push_back(false);
    itemData_.push_back(0);
    changed();
}

void ListBox::RemoveItem(int index) {
    checkIndex(index);
    items_.erase(items_.begin() + index);
    checks_.erase(checks_.begin() + index);
    itemData_.erase(itemData_.begin() + index);
    std::map<int, Mark> shifted;  // the marks stay with their items
    for (auto& [i, mark] : itemMarks_) {
        if (i != index) shifted[i > index ? i - 1 : i] = std::move(mark);
    }
    itemMarks_ = std::move(shifted);
    if (listIndex_ == index) listIndex_ = -1;
    else if (listIndex_ > index) --listIndex_;
    changed();
}

void ListBox::Clear() {
    if (items_.empty() && listIndex_ == -1) return;
    items_.clear();
    checks_.clear();
    itemData_.clear();
    itemMarks_.clear();
    listIndex_ = -1;
    changed();
}

const Mark& ListBox::itemMark(int index) const {
    static const Mark kNone;
    const auto it = itemMarks_.find(index);
    return it == itemMarks_.end() ? kNone : it->second;
}

void ListBox::setItemMark(int index, Mark mark) {
    if (itemMark(index) == mark) return;
    itemMarks_[index] = std::move(mark);
    changed();
}

const std::string& ListBox::List(int index) const {
    checkIndex(index);
    return items_[index];
}

long ListBox::ItemData(int index) const {
    checkIndex(index);
    return itemData_[index];
}

void ListBox::setItemData(int index, long data) {
    checkIndex(index);
    itemData_[index] = data;
}

void ListBox::setListIndex(int index) {
    if (index < -1 || index >= ListCount()) InvalidProperty();
    if (listIndex_ == index) return;
    listIndex_ = index;
    changed();
}

std::string ListBox::Text() const { return listIndex_ < 0 ? std::string() : items_[listIndex_]; }

bool ListBox::Selected(int index) const {
    checkIndex(index);
    return kind() == ControlKind::CheckListBox ? checks_[index] : index == listIndex_;
}

void ListBox::setSelected(int index, bool selected) {
    checkIndex(index);
    if (kind() == ControlKind::CheckListBox) {
        if (checks_[index] == selected) return;
        checks_[index] = selected;
        changed();
    } else if (selected) {
        setListIndex(index);
    } else if (listIndex_ == index) {
        setListIndex(-1);
    }
}

// ---- TreeView ----

void TreeView::setStyle(int newStyle, int newLineStyle) {
    style = newStyle;
    lineStyle = newLineStyle;
    changed();
}

void TreeView::Add(const std::string& relative, int relationship, const std::string& key, const std::string& text) {
    if (Has(key)) throw RunTimeError(errnum::kKeyNotUnique, "Key is not unique in collection");
    TreeNode node{key, text, {}, false};
    if (!relative.empty()) {
        if (!Has(relative)) throw RunTimeError(errnum::kElementNotFound, "Element not found");
        if (relationship != 4) InvalidCall();  // only "child" is used
        node.parentKey = relative;
    }
    nodes_.push_back(std::move(node));
    changed();
}

bool TreeView::Has(const std::string& key) const {
    return std::any_of(nodes_.begin(), nodes_.end(), [&](const TreeNode& n) { return n.key == key; });
}

TreeNode& TreeView::find(const std::string& key) {
    for (auto& n : nodes_)
        if (n.key == key) return n;
    throw RunTimeError(errnum::kElementNotFound, "Element not found");
}

const TreeNode& TreeView::Node(const std::string& key) const { return const_cast<TreeView*>(this)->find(key); }

void TreeView::EnsureVisible(const std::string& key) {
    std::string parent = find(key).parentKey;
    while (!parent.empty()) {
        TreeNode& p = find(parent);
        p.expanded = true;
        parent = p.parentKey;
    }
    // Scrolling is the window's part, needed even when nothing had to open.
    reveal_ = key;
    changed();
}

void TreeView::setExpanded(const std::string& key, bool expanded) {
    TreeNode& n = find(key);
    if (n.expanded == expanded) return;
    n.expanded = expanded;
    changed();
}

void TreeView::setSelectedKey(const std::string& key) {
    if (!key.empty()) find(key);
    if (selected_ == key) return;
    selected_ = key;
    changed();
}

// ---- ProgressBar ----

void ProgressBar::setValue(float value) {
    if (value < static_cast<float>(def().min) || value > static_cast<float>(def().max)) InvalidProperty();
    if (value_ == value) return;
    value_ = value;
    changed();
}

// ---- Form ----

Form::Form(const FormDef& def) : def_(def), caption_(def.caption) {
    controls_.reserve(def.controls.size());
    for (const ControlDef& cd : def.controls) {
        controls_.push_back(MakeControl(*this, cd));
        byName_[cd.name] = controls_.back().get();
    }
}

Control& Form::control(const std::string& name) {
    auto it = byName_.find(name);
    if (it == byName_.end()) throw Fault("no control named " + name + " on " + def_.name);
    return *it->second;
}

bool Form::has(const std::string& name) const { return byName_.count(name) != 0; }

void Form::setLoaded(bool loaded) {
    if (loaded_ == loaded) return;
    loaded_ = loaded;
    if (loaded) printed_.clear();  // a window loaded anew starts with a blank surface
    else shown_ = false;
    notify(nullptr);
}

void Form::setShown(bool shown) {
    if (shown_ == shown) return;
    shown_ = shown;
    if (shown) loaded_ = true;
    notify(nullptr);
}

void Form::Print(const std::string& line) {
    printed_.push_back(line);
    notify(nullptr);
}

void Form::notify(Control* control) {
    if (!silent_ && observer_) observer_(*this, control);
}

}  // namespace vantrel
