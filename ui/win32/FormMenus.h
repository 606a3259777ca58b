// A form's menus as real menus: the menu bar, its popups and the keyboard
// shortcuts, made from the form's menu table. An item's command id is
// kFirstMenuId plus its row in the table.
#pragma once

#include "platform/win32/WindowsApi.h"

#include <map>
#include <string>

#include "model/Controls.h"

namespace vantrel::win32 {

int MenuId(const FormDef& def, const std::string& name);  // -1 for an unknown name

// "Ctrl+H" as an accelerator key; false for anything else.
bool ParseShortcut(const std::string& shortcut, ACCEL* accel);

class FormMenus {
public:
    explicit FormMenus(const FormDef& def);  // nothing for a form without menus
    ~FormMenus();
    FormMenus(const FormMenus&) = delete;
    FormMenus& operator=(const FormMenus&) = delete;

    // The menu bar, for the window to take over (it destroys it with itself); nullptr when none.
    HMENU bar() const { return bar_; }
    HACCEL accelerators() const { return accelerators_; }
    HMENU popup(const std::string& name) const;  // a menu that holds items; nullptr otherwise
    std::string PopupName(HMENU popup) const;    // "" for any other menu
    // The item a menu command or accelerator chose; nullptr for anything else.
    const MenuDef* Item(int id) const;

private:
    const FormDef& def_;
    HMENU bar_ = nullptr;
    HACCEL accelerators_ = nullptr;
    std::map<std::string, HMENU> popups_;
    std::map<HMENU, std::string> popupNames_;
};

}  // namespace vantrel::win32
