#include "ui/win32/FormMenus.h"

#include <cstring>
#include <set>
#include <vector>

#include "ui/win32/ControlWindow.h"

namespace vantrel::win32 {

int MenuId(const FormDef& def, const std::string& name) {
    for (size_t i = 0; i < def.menus.size(); ++i)
        if (name == def.menus[i].name) return kFirstMenuId + static_cast<int>(i);
    return -1;
}

bool ParseShortcut(const std::string& shortcut, ACCEL* accel) {
    const std::string prefix = "Ctrl+";
    if (shortcut.size() != prefix.size() + 1 || shortcut.compare(0, prefix.size(), prefix) != 0) return false;
    const char key = shortcut.back();
    if (!((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))) return false;
    accel->fVirt = FVIRTKEY | FCONTROL;
    accel->key = static_cast<WORD>(key);
    return true;
}

FormMenus::FormMenus(const FormDef& def) : def_(def) {
    const auto& menus = def.menus;
    if (menus.empty()) return;
    std::set<std::string> parents;
    for (const MenuDef& m : menus)
        if (*m.parent) parents.insert(m.parent);

    bar_ = CreateMenu();
    popups_[""] = bar_;
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

FormMenus::~FormMenus() {
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
}

HMENU FormMenus::popup(const std::string& name) const {
    auto it = popups_.find(name);
    return it == popups_.end() ? nullptr : it->second;
}

std::string FormMenus::PopupName(HMENU popup) const {
    auto it = popupNames_.find(popup);
    return it == popupNames_.end() ? std::string() : it->second;
}

const MenuDef* FormMenus::Item(int id) const {
    const int row = id - kFirstMenuId;
    if (row < 0 || row >= static_cast<int>(def_.menus.size())) return nullptr;
    return &def_.menus[static_cast<size_t>(row)];
}

}  // namespace vantrel::win32
