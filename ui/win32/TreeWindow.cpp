// The navigation tree. Nodes are added to the window as the model gains
// them (the model never removes one); expansion and the selection follow the
// model, and the user's choices go back into it. A node chosen by mouse or
// keyboard raises a node click, and so does a click on the node already
// selected.
#include "ui/win32/ControlWindow.h"

#include <map>
#include <set>

namespace vantrel::win32 {

namespace {

class TreeWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;
    LRESULT OnNotify(NMHDR& header) override;

protected:
    WindowStyle Style() const override { return {WC_TREEVIEWA, TVS_DISABLEDRAGDROP, WS_EX_CLIENTEDGE, true}; }
    void OnCreated() override { Subclass(); }
    void ShowValue() override;
    bool OnOwnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT*) override {
        if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
            // Where the click landed, for the click notification that follows.
            click_.x = static_cast<short>(LOWORD(lp));
            click_.y = static_cast<short>(HIWORD(lp));
            clickRaised_ = false;
        }
        return false;
    }

private:
    TreeView& tree() const { return static_cast<TreeView&>(model()); }
    std::string KeyOf(HTREEITEM item) const {
        auto it = keys_.find(item);
        return it == keys_.end() ? std::string() : it->second;
    }
    bool IsExpanded(HTREEITEM item) const {
        return (SendMessageA(hwnd(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
                TVIS_EXPANDED) != 0;
    }
    void ShowLines();
    void AddNewNodes();
    void ShowExpansion();

    std::map<std::string, HTREEITEM> items_;  // node key to item
    std::map<HTREEITEM, std::string> keys_;
    // Items the tree was last seen or told to hold expanded. Asking a tree
    // control for an item's state costs a search of all its items, so the
    // items collapsed both here and in the model are not asked about.
    std::set<HTREEITEM> expanded_;
    POINT click_{-1, -1};       // where the last button press landed
    bool clickRaised_ = false;  // that press already raised a node click
};

void TreeWindow::ShowValue() {
    ShowLines();
    AddNewNodes();
    ShowExpansion();
    HTREEITEM wanted = nullptr;
    if (auto it = items_.find(tree().selectedKey()); it != items_.end()) wanted = it->second;
    auto current = reinterpret_cast<HTREEITEM>(SendMessageA(hwnd(), TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (current != wanted) SendMessageA(hwnd(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(wanted));
    // A revealed node is scrolled into view too; expanding its parent is not enough.
    if (auto it = items_.find(tree().takeReveal()); it != items_.end())
        SendMessageA(hwnd(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(it->second));
}

void TreeWindow::ShowLines() {
    // Style: 4 and above draw tree lines, bit 2 the plus/minus boxes; line
    // style 1 joins the root nodes too.
    const LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE);
    LONG_PTR want = style & ~static_cast<LONG_PTR>(TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT);
    if (tree().style >= 4) want |= TVS_HASLINES;
    if (tree().style & 2) want |= TVS_HASBUTTONS;
    if (tree().lineStyle == 1) want |= TVS_LINESATROOT;
    if (want != style) {
        SetWindowLongPtrA(hwnd(), GWL_STYLE, want);
        InvalidateRect(hwnd(), nullptr, TRUE);
    }
}

void TreeWindow::AddNewNodes() {
    for (const TreeNode& node : tree().nodes()) {
        if (items_.count(node.key)) continue;
        TVINSERTSTRUCTA ins{};
        auto parent = items_.find(node.parentKey);
        ins.hParent = node.parentKey.empty() || parent == items_.end() ? TVI_ROOT : parent->second;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT;
        ins.item.pszText = const_cast<char*>(node.text.c_str());
        auto item =
            reinterpret_cast<HTREEITEM>(SendMessageA(hwnd(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
        if (!item) continue;
        items_[node.key] = item;
        keys_[item] = node.key;
    }
}

void TreeWindow::ShowExpansion() {
    for (const TreeNode& node : tree().nodes()) {
        auto it = items_.find(node.key);
        if (it == items_.end() || (!node.expanded && !expanded_.count(it->second))) continue;
        if (IsExpanded(it->second) != node.expanded)
            SendMessageA(hwnd(), TVM_EXPAND, node.expanded ? TVE_EXPAND : TVE_COLLAPSE,
                         reinterpret_cast<LPARAM>(it->second));
        if (node.expanded) expanded_.insert(it->second);
        else expanded_.erase(it->second);
    }
}

LRESULT TreeWindow::OnNotify(NMHDR& header) {
    switch (header.code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: {
        auto* nm = reinterpret_cast<NMTREEVIEWA*>(&header);
        const std::string key = KeyOf(nm->itemNew.hItem);
        {
            Form::Silence quiet(host_.form);
            tree().setSelectedKey(key);
        }
        // Only the user's choice is a node click; selections the program or
        // the control makes on its own are not.
        if (!key.empty() && (nm->action == TVC_BYMOUSE || nm->action == TVC_BYKEYBOARD)) {
            if (nm->action == TVC_BYMOUSE) clickRaised_ = true;
            host_.Raise(host_.events.nodeClick, key);
        }
        break;
    }
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW: {
        auto* nm = reinterpret_cast<NMTREEVIEWA*>(&header);
        const std::string key = KeyOf(nm->itemNew.hItem);
        if (key.empty()) break;
        const bool expanded = IsExpanded(nm->itemNew.hItem);
        if (expanded) expanded_.insert(nm->itemNew.hItem);
        else expanded_.erase(nm->itemNew.hItem);
        Form::Silence quiet(host_.form);
        tree().setExpanded(key, expanded);
        break;
    }
    case NM_CLICK: {
        // A click on the node that is already selected changes no selection,
        // so it is reported here; a click on another node is reported when
        // the selection moves to it (before or after this notification).
        if (clickRaised_) break;
        TVHITTESTINFO hit{};
        hit.pt = click_;
        SendMessageA(hwnd(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        auto selected = reinterpret_cast<HTREEITEM>(SendMessageA(hwnd(), TVM_GETNEXTITEM, TVGN_CARET, 0));
        if (hit.hItem && (hit.flags & TVHT_ONITEM) && hit.hItem == selected) {
            const std::string key = KeyOf(hit.hItem);
            if (!key.empty()) host_.Raise(host_.events.nodeClick, key);
        }
        break;
    }
    default:
        break;
    }
    return 0;
}

}  // namespace

std::span<const KindWindow> TreeKinds() {
    static constexpr KindWindow kinds[] = {{ControlKind::TreeView, MakeWindow<TreeWindow>}};
    return kinds;
}

}  // namespace vantrel::win32
