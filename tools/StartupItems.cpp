// The startup items manager: the two Run keys listed in List3 (current user)
// and List2 (local machine), read straight through the registry's
// enumeration calls while the splash window loads; entries added with
// SaveString and removed with DelSetting.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "registry/RegistryRoutines.h"
#include "tools/Tools.h"

namespace vantrel {

namespace {

constexpr char kRunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr std::uint32_t kBufferSize = 255;

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

// Opens the Run key, or prints the error line and gives 0.
RegKey OpenRunKey(Registry& registry, Form& form2, RegKey root) {
    RegKey key = 0;
    if (registry.OpenKey(root, kRunKeyPath, &key) != reg::kSuccess || key == 0) {
        form2.Print(" Error while calling RegOpenKey");
        return 0;
    }
    return key;
}

void SubkeyPass(Registry& registry, Form& form2, RegKey root, ListBox& list) {
    RegKey key = OpenRunKey(registry, form2, root);
    if (!key) return;
    for (std::int32_t index = 0; index < std::numeric_limits<std::int32_t>::max(); ++index) {
        char name[kBufferSize];
        std::fill(name, name + kBufferSize, ' ');
        std::uint32_t nameLen = kBufferSize;
        long result = registry.EnumKey(key, static_cast<std::uint32_t>(index), name, &nameLen);
        if (!NamesEntry(result)) break;
        if (NameFits(result, nameLen)) list.AddItem(NameFrom(name, nameLen));
    }
    registry.CloseKey(key);
}

void ValuePass(Registry& registry, Form& form2, RegKey root, ListBox& list) {
    RegKey key = OpenRunKey(registry, form2, root);
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
        if (dataLen > 0 && NameFits(result, nameLen)) list.AddItem(NameFrom(name, nameLen));
    }
    registry.CloseKey(key);
}

void ListRoot(Registry& registry, Form& form2, RegKey root, ListBox& list) {
    form2.autoRedraw = true;
    form2.Print("RegEnumKeyEx");
    SubkeyPass(registry, form2, root, list);
    form2.Print("");
    form2.Print("RegEnumValue");
    ValuePass(registry, form2, root, list);
}

}  // namespace

void LoadStartupItems(Form& form1, Form& form2, Services& services) {
    ListBox& currentUser = ListOf(form1, false);
    ListBox& localMachine = ListOf(form1, true);
    currentUser.Clear();
    localMachine.Clear();
    ListRoot(services.registry, form2, reg::kCurrentUser, currentUser);
    ListRoot(services.registry, form2, reg::kLocalMachine, localMachine);
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
    // Both steps run whatever the registry answers: the entry leaves the list.
    DelSetting(services.registry, RootOf(localMachine), kRunKeyPath, list.List(index));
    list.RemoveItem(index);
}

}  // namespace vantrel
