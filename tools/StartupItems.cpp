// The startup items manager: the two Run keys listed in List3 (current user)
// and List2 (local machine), read straight through the registry's
// enumeration calls while the splash window loads; entries added with
// SaveString and removed with DelSetting.
//
// On 64-bit Windows the local machine has a Run key in each registry view
// ("Registry Keys Affected by WOW64": HKEY_LOCAL_MACHINE\SOFTWARE is
// redirected, not shared; learn.microsoft.com/windows/win32/winprog64/
// shared-registry-keys). Under WOW64 List2 shows the 64-bit key's entries
// (the registry reaches the machine's keys in the 64-bit view), then the
// 32-bit key's, marked " (32-bit)" and remembered as such in their item data.
// A removal goes to the entry's own key; an added entry to the 64-bit one.
// The current user's Run key is shared by both views.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "registry/RegistryRoutines.h"
#include "tools/Tools.h"

namespace vantrel {

namespace {

constexpr char kRunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr std::uint32_t kBufferSize = 255;
constexpr char kMark32[] = " (32-bit)";
constexpr long kIn32BitView = 1;  // a List2 item's data: the entry lies in the 32-bit view

ListBox& ListOf(Form& form1, bool localMachine) { return form1.list(localMachine ? "List2" : "List3"); }
RegKey RootOf(bool localMachine) { return localMachine ? reg::kLocalMachine : reg::kCurrentUser; }

// An enumeration call's result that names an entry: success, or "more data"
// when the value's data did not fit the buffer.
bool NamesEntry(long result) { return result == reg::kSuccess || result == reg::kMoreData; }

// A name of 255 characters or more does not fit the buffer: the call says
// "more data" and stores no name. Such an entry is left out rather than
// listed as blanks that name nothing.
bool NameFits(long result, std::uint32_t length) { return result != reg::kMoreData || length < kBufferSize; }

// The leading characters of a name buffer, as many as the call reported
// (never more than the buffer holds, and never past a NUL).
std::string NameFrom(const char* buffer, std::uint32_t length) {
    std::string name(buffer, std::min(length, kBufferSize));
    return name.substr(0, name.find('\0'));
}

// Where a pass adds its entries: the list, and the mark and data of each.
struct Entries {
    ListBox& list;
    const char* mark = "";
    long data = 0;
    void Add(const std::string& name) const {
        list.AddItem(name + mark);
        list.setItemData(list.ListCount() - 1, data);
    }
};

// Prints a status line on the splash window, when the pass has one.
void Print(Form* splash, const char* line) {
    if (splash != nullptr) splash->Print(line);
}

// Opens the Run key, or prints the error line and gives 0.
RegKey OpenRunKey(Registry& registry, Form* splash, RegKey root) {
    RegKey key = 0;
    if (registry.OpenKey(root, kRunKeyPath, &key) != reg::kSuccess || key == 0) {
        Print(splash, " Error while calling RegOpenKey");
        return 0;
    }
    return key;
}

void SubkeyPass(Registry& registry, Form* splash, RegKey root, const Entries& list) {
    RegKey key = OpenRunKey(registry, splash, root);
    if (!key) return;
    for (std::int32_t index = 0; index < std::numeric_limits<std::int32_t>::max(); ++index) {
        char name[kBufferSize];
        std::fill(name, name + kBufferSize, ' ');
        std::uint32_t nameLen = kBufferSize;
        long result = registry.EnumKey(key, static_cast<std::uint32_t>(index), name, &nameLen);
        if (!NamesEntry(result)) break;
        if (NameFits(result, nameLen)) list.Add(NameFrom(name, nameLen));
    }
    registry.CloseKey(key);
}

void ValuePass(Registry& registry, Form* splash, RegKey root, const Entries& list) {
    RegKey key = OpenRunKey(registry, splash, root);
    if (!key) return;
    for (std::int32_t index = 0; index < std::numeric_limits<std::int32_t>::max(); ++index) {
        char name[kBufferSize];
        std::uint8_t data[kBufferSize];
        std::fill(name, name + kBufferSize, ' ');
        std::fill(data, data + kBufferSize, ' ');
        std::uint32_t nameLen = kBufferSize;
        std::uint32_t dataLen = kBufferSize;
        long result =
            registry.EnumValue(key, static_cast<std::uint32_t>(index), name, &nameLen, nullptr, data, &dataLen);
        if (!NamesEntry(result)) break;
        // a value without data is no program
        if (dataLen > 0 && NameFits(result, nameLen)) list.Add(NameFrom(name, nameLen));
    }
    registry.CloseKey(key);
}

// Lists a Run key's entries; with a splash window, its status lines too.
void ListRoot(Registry& registry, Form* splash, RegKey root, const Entries& list) {
    if (splash != nullptr) splash->autoRedraw = true;
    Print(splash, "RegEnumKeyEx");
    SubkeyPass(registry, splash, root, list);
    Print(splash, "");
    Print(splash, "RegEnumValue");
    ValuePass(registry, splash, root, list);
}

}  // namespace

void LoadStartupItems(Form& form1, Form& form2, Services& services) {
    ListBox& currentUser = ListOf(form1, false);
    ListBox& localMachine = ListOf(form1, true);
    currentUser.Clear();
    localMachine.Clear();
    ListRoot(services.registry, &form2, reg::kCurrentUser, {currentUser});
    ListRoot(services.registry, &form2, reg::kLocalMachine, {localMachine});
    // Quietly: the splash window's lines stay those of the two keys above.
    if (services.environment.RunsUnderWow64()) {
        ListRoot(services.registry, nullptr, reg::kLocalMachine32, {localMachine, kMark32, kIn32BitView});
    }
}

void AddStartupItem(Form& form1, Services& services, bool localMachine) {
    std::string fileName, fileTitle;
    if (!services.dialogs.ShowOpen(&fileName, &fileTitle) || fileTitle.empty()) return;
    long status = 0;
    WriteResult result =
        SaveString(services.registry, RootOf(localMachine), kRunKeyPath, fileTitle, fileName, &status);
    if (result != WriteResult::Stored) {
        services.dialogs.MessageBox("\"" + fileTitle +
                                        "\" could not be added to the startup items: the registry refused the change."
                                        "\r\n\r\n" + FileErrorReason(services.files, status),
                                    "Error", mb::kExclamation);
        return;
    }
    ListOf(form1, localMachine).AddItem(fileTitle);
}

void RemoveStartupItem(Form& form1, Services& services, bool localMachine) {
    ListBox& list = ListOf(form1, localMachine);
    int index = list.ListIndex();
    if (index < 0) return;
    std::string name = list.List(index);
    RegKey root = RootOf(localMachine);
    if (localMachine && list.ItemData(index) == kIn32BitView) {
        name.resize(name.size() - (sizeof kMark32 - 1));
        root = reg::kLocalMachine32;
    }
    // Both steps run whatever the registry answers: the entry leaves the list.
    DelSetting(services.registry, root, kRunKeyPath, name);
    list.RemoveItem(index);
}

}  // namespace vantrel
