// Helpers shared by the catalogue tests: raw values, control states by
// control string, and a registry that records the order of its writes.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/Controls.h"
#include "registry/ForwardingRegistry.h"
#include "platform/portable/MemoryRegistry.h"
#include "settings/TweakRow.h"

namespace vantrel::catalogue_test {

using Raw = MemoryRegistry::RawValue;

inline Raw Sz(const std::string& text) {
    Raw raw{reg::kSz, {text.begin(), text.end()}};
    raw.data.push_back(0);
    return raw;
}

inline Raw Dword(std::uint32_t n) {
    return {reg::kDword, {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)}};
}

inline void Seed(MemoryRegistry& reg, RegKey root, const std::string& key, const std::string& value,
                 const std::optional<Raw>& raw) {
    if (raw) reg.Put(root, key, value, raw->type, raw->data);
}

// Every catalogue row, groups in load order, then the Start menu, folders and the Windows 10 and 11 pages.
inline std::vector<const TweakRow*> AllRows() {
    std::vector<const TweakRow*> rows;
    for (auto* group : {&AccessibilityRows, &InternetExplorerRows, &InputRows, &ExplorerRows, &WindowsInfoRows,
                        &StartMenuRows, &PersonalFolderRows, &ModernWindowsRows}) {
        for (const TweakRow& row : (*group)()) rows.push_back(&row);
    }
    return rows;
}

inline const TweakRow& RowOf(const std::string& control) {
    for (const TweakRow* row : AllRows()) {
        if (row->control == control) return *row;
    }
    throw std::logic_error("no row for " + control);
}

// A control's state as the catalogue sees it ("Option1|Option2": 0, 1, 2).
inline int StateOf(Form& form, const std::string& control) {
    if (auto bar = control.find('|'); bar != std::string::npos) {
        if (form.option(control.substr(0, bar)).value()) return 1;
        return form.option(control.substr(bar + 1)).value() ? 2 : 0;
    }
    if (auto open = control.find('['); open != std::string::npos) {
        return form.list(control.substr(0, open)).Selected(std::stoi(control.substr(open + 1))) ? 1 : 0;
    }
    if (form.control(control).kind() == ControlKind::Slider) return form.slider(control).value();
    if (form.control(control).kind() == ControlKind::ComboBox) return form.list(control).ListIndex();
    return form.check(control).value();
}

inline void SetStateOf(Form& form, const std::string& control, int state) {
    if (auto bar = control.find('|'); bar != std::string::npos) {
        form.option(control.substr(0, bar)).setValue(state == 1);
        form.option(control.substr(bar + 1)).setValue(state == 2);
    } else if (auto open = control.find('['); open != std::string::npos) {
        form.list(control.substr(0, open)).setSelected(std::stoi(control.substr(open + 1)), state == 1);
    } else if (form.control(control).kind() == ControlKind::Slider) {
        form.slider(control).setValue(state);
    } else if (form.control(control).kind() == ControlKind::ComboBox) {
        form.list(control).setListIndex(state);
    } else {
        form.check(control).setValue(state);
    }
}

// Forwards to a store and records every value set, as (key path, value name).
class RecordingRegistry : public ForwardingRegistry {
public:
    explicit RecordingRegistry(Registry& inner) : ForwardingRegistry(inner) {}
    std::vector<std::pair<std::string, std::string>> writes;

    long CreateKey(RegKey p, const std::string& s, RegKey* out) override {
        long rc = inner_.CreateKey(p, s, out);
        if (rc == reg::kSuccess) lastPath_ = s;
        return rc;
    }
    long SetValue(RegKey k, const std::string& n, std::uint32_t t, const std::uint8_t* d, std::uint32_t s) override {
        writes.emplace_back(lastPath_, n);
        return inner_.SetValue(k, n, t, d, s);
    }
    long SetValueW(RegKey k, const std::u16string& n, std::uint32_t t, const std::uint8_t* d, std::uint32_t s) override {
        writes.emplace_back(lastPath_, Utf16ToUtf8(n));
        return inner_.SetValueW(k, n, t, d, s);
    }

private:
    std::string lastPath_;
};

}  // namespace vantrel::catalogue_test
