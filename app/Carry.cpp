#include "app/Carry.h"

#include <algorithm>
#include <set>

#include "app/Report.h"
#include "registry/PolicyFile.h"
#include "registry/RecordingRegistry.h"
#include "registry/RegFile.h"
#include "tools/Tools.h"

namespace vantrel {

namespace {

// A registry with nothing in it: what an imported file's values are laid
// over. Its A functions convert through the system's code page, as the
// registry's do.
class EmptyRegistry : public Registry {
public:
    explicit EmptyRegistry(const CodePage& ansi) : ansi_(ansi) {}
    long OpenKey(RegKey, const std::string&, RegKey*) override { return reg::kFileNotFound; }
    long CreateKey(RegKey, const std::string&, RegKey*) override { return reg::kAccessDenied; }
    long MayWrite(RegKey, const std::string&) override { return reg::kAccessDenied; }
    long QueryValue(RegKey, const std::string&, std::uint32_t*, std::uint8_t*, std::uint32_t*) override {
        return reg::kFileNotFound;
    }
    long SetValue(RegKey, const std::string&, std::uint32_t, const std::uint8_t*, std::uint32_t) override {
        return reg::kAccessDenied;
    }
    long DeleteValue(RegKey, const std::string&) override { return reg::kFileNotFound; }
    long EnumKey(RegKey, std::uint32_t, char*, std::uint32_t*) override { return reg::kNoMoreItems; }
    long EnumValue(RegKey, std::uint32_t, char*, std::uint32_t*, std::uint32_t*, std::uint8_t*,
                   std::uint32_t*) override {
        return reg::kNoMoreItems;
    }
    long CloseKey(RegKey) override { return reg::kSuccess; }
    long QueryValueW(RegKey, const std::u16string&, std::uint32_t*, std::uint8_t*, std::uint32_t*) override {
        return reg::kFileNotFound;
    }
    long SetValueW(RegKey, const std::u16string&, std::uint32_t, const std::uint8_t*, std::uint32_t) override {
        return reg::kAccessDenied;
    }
    long DeleteValueW(RegKey, const std::u16string&) override { return reg::kFileNotFound; }
    long EnumValueW(RegKey, std::uint32_t, char16_t*, std::uint32_t*, std::uint32_t*, std::uint8_t*,
                    std::uint32_t*) override {
        return reg::kNoMoreItems;
    }
    const CodePage& codePage() override { return ansi_; }

private:
    const CodePage& ansi_;
};

void RemoveValue(std::vector<RegKeyBlock>& blocks, const ValueRef& ref) {
    for (RegKeyBlock& block : blocks) {
        auto& values = block.values;
        values.erase(std::remove_if(values.begin(), values.end(),
                                    [&](const RegValueEntry& v) {
                                        return SameValue({block.root, block.path, v.name}, ref);
                                    }),
                     values.end());
    }
    blocks.erase(std::remove_if(blocks.begin(), blocks.end(),
                                [](const RegKeyBlock& b) { return !b.remove && b.values.empty(); }),
                 blocks.end());
}

// The position in ApplyTargets() of the managed value a reference names, or npos.
std::size_t TargetIndex(const ValueRef& ref) {
    const ValueRef* target = FindTarget(ref);
    return target == nullptr ? std::string::npos : static_cast<std::size_t>(target - ApplyTargets().data());
}

bool IsBelow(const std::string& key, const std::string& top) {
    const std::string k = KeyIdentity(key), t = KeyIdentity(top);
    return k == t || (k.size() > t.size() && k.compare(0, t.size(), t) == 0 && k[t.size()] == '\\');
}

// The controls the apply pass writes: the only ones an import sets.
const std::set<std::string>& SettingControls() {
    static const std::set<std::string> controls = [] {
        std::set<std::string> names;
        for (const TweakRow* row : CatalogueRows()) {
            if (row->apply != ApplyForm::None && row->writer != Writer::None) names.insert(row->control);
        }
        return names;
    }();
    return controls;
}

// The settings control a row's load sets: its own, or the editable box its
// read also fills (the organisation and owner of the Explorer page); "" for
// a row that fills labels only.
std::string SettingControl(const TweakRow& row) {
    if (row.load == LoadForm::None) return {};
    if (SettingControls().count(row.control)) return row.control;
    if (SettingControls().count(row.alsoControl)) return row.alsoControl;
    return {};
}

std::vector<std::string> SkippedLines(const std::vector<SkippedWrite>& skipped) {
    std::vector<std::string> lines;
    for (const SkippedWrite& s : skipped) lines.push_back(SkippedLine(s));
    return lines;
}

FileChoice RegFileChoice(const std::string& title, const std::string& name) {
    return {title, "", {{"Registration Files (*.reg)", "*.reg"}, {"All Files (*.*)", "*.*"}}, name, "reg"};
}

}  // namespace

SettingsProfile ExportProfile(Form& form1, Registry& reg) {
    SettingsProfile profile = ProfileFromPages(form1, reg);
    std::vector<SkippedWrite> skipped = BlankFolders(form1);
    for (const TweakRow& row : PersonalFolderRows()) {
        if (!form1.text(row.control).text().empty()) continue;
        RemoveValue(profile.blocks, {row.root, row.applyKey, row.value});
        if (!row.applyKey2.empty()) RemoveValue(profile.blocks, {row.root, row.applyKey2, row.value});
    }
    // The folders come first, as the apply writes them first.
    skipped.insert(skipped.end(), profile.skipped.begin(), profile.skipped.end());
    profile.skipped = std::move(skipped);
    return profile;
}

RegWriteResult ExportFile(const SettingsProfile& profile) {
    return WriteRegFile(profile.blocks, RegFormat::Version5);
}

std::string WriteExport(Services& services, const std::string& path, const SettingsProfile& profile) {
    const RegWriteResult file = ExportFile(profile);
    if (!file.ok()) {
        return "Vantrel could not write " + Quoted(path) + " as a registry file: " +
               Utf8ToAnsi(services.registry.codePage(), file.error) + ". Nothing was written.";
    }
    if (const long error = WriteWholeFile(services.files, path, file.bytes)) {
        return CannotWriteMessage(services, path, error);
    }
    return {};
}

std::string IgnoredLine(RegKey root, const std::string& path, const std::string* name) {
    std::string line = std::string(RegRootName(root)) + (path.empty() ? "" : "\\" + path);
    if (!name) line += " (the whole key)";
    else if (name->empty()) line += " (Default)";
    else line += " \"" + *name + "\"";
    return line + ": not a setting Vantrel manages";
}

ImportedSettings ImportSettings(Form& form1, std::string_view bytes, const CodePage& ansi) {
    ImportedSettings result;
    const RegParseResult parsed = ParseRegFile(bytes, ansi);
    if (!parsed.ok()) {
        result.error = parsed.error;
        return result;
    }

    // What the file leaves of each managed value: named or not, and the
    // operation that set it last (none: deleted).
    const std::vector<ValueRef>& targets = ApplyTargets();
    std::vector<bool> named(targets.size(), false);
    std::vector<const RegOp*> last(targets.size(), nullptr);
    for (const RegOp& op : parsed.ops) {
        // The file's names in UTF-8, as the catalogue names values.
        const std::string path = Utf8ToAnsi(ansi, op.path), name = Utf8ToAnsi(ansi, op.name);
        if (op.kind == RegOpKind::SetValue || op.kind == RegOpKind::DeleteValue) {
            const std::size_t i = TargetIndex({op.root, path, name});
            if (i == std::string::npos) {
                result.ignored.push_back(IgnoredLine(op.root, path, &name));
                continue;
            }
            named[i] = true;
            last[i] = op.kind == RegOpKind::SetValue ? &op : nullptr;
        } else if (op.kind == RegOpKind::DeleteKey) {
            bool covers = false;
            for (std::size_t i = 0; i < targets.size(); ++i) {
                if (targets[i].root != op.root || !IsBelow(targets[i].key, path)) continue;
                named[i] = true;
                last[i] = nullptr;
                covers = true;
            }
            if (!covers) result.ignored.push_back(IgnoredLine(op.root, path, nullptr));
        }
    }

    // The file's values as a store, read by the load rules of a window as
    // it is built; each control set there is then copied to the pages.
    EmptyRegistry empty(ansi);
    RecordingRegistry store(empty, RecordingRegistry::Refusals::None);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (!last[i]) continue;
        RegKey key = 0;
        store.CreateKey(targets[i].root, targets[i].key, &key);
        store.SetValueW(key, ansi.ToWide(targets[i].value), last[i]->type, last[i]->data.data(),
                        static_cast<std::uint32_t>(last[i]->data.size()));
        store.CloseKey(key);
    }
    Form fresh(form1.def());
    FillStartMenuList(fresh);
    for (const TweakRow* row : CatalogueRows()) {
        const std::string control = SettingControl(*row);
        if (control.empty()) continue;
        const std::string* from = nullptr;
        for (const std::string* key : {&row->loadKey, &row->applyKey, &row->applyKey2}) {
            const std::size_t i = key->empty() ? std::string::npos : TargetIndex({row->root, *key, row->value});
            if (i != std::string::npos && named[i]) {
                from = key;
                break;
            }
        }
        if (!from) continue;
        TweakRow load = *row;
        load.control = control;
        load.alsoControl.clear();
        load.loadKey = *from;
        LoadRow(fresh, store, load);
        CopyControl(fresh, form1, control);
        ++result.settings;
    }
    return result;
}

// ---- messages ----

std::string CannotReadMessage(Services& services, const std::string& path, long error) {
    return "Vantrel could not read " + Quoted(path) + ". " + FileErrorReason(services.files, error);
}

std::string CannotWriteMessage(Services& services, const std::string& path, long error) {
    return "Vantrel could not write " + Quoted(path) + ". " + FileErrorReason(services.files, error);
}

std::string MalformedMessage(const CodePage& ansi, const std::string& path, const std::string& error,
                             const std::string& outcome, bool paragraphs) {
    const std::string text = Quoted(path) + " is not a registry file Vantrel can read";
    const std::string shown = Utf8ToAnsi(ansi, error);
    return paragraphs ? text + ":\n\n" + shown + "\n\n" + outcome : text + " (" + shown + "). " + outcome;
}

std::string ExportedMessage(const std::string& path) {
    return "Settings exported to " + Quoted(path) + ".";
}

// ---- the File menu's commands ----

void ExportSettingsCommand(Form& form1, Services& services) {
    const char* const title = "Export Settings";
    std::string path;
    if (!services.dialogs.ChooseFileToSave(RegFileChoice(title, "Vantrel Settings.reg"), &path)) return;
    const SettingsProfile profile = ExportProfile(form1, services.registry);
    if (const std::string failure = WriteExport(services, path, profile); !failure.empty()) {
        services.dialogs.MessageBox(failure, title, mb::kExclamation);
        return;
    }
    std::string text = ExportedMessage(path);
    if (!profile.skipped.empty()) text += ListedLines("These settings were not exported:", SkippedLines(profile.skipped));
    services.dialogs.MessageBox(text, title, profile.skipped.empty() ? mb::kInformation : mb::kExclamation);
}

void ImportSettingsCommand(Form& form1, Services& services) {
    const char* const title = "Import Settings";
    std::string path;
    if (!services.dialogs.ChooseFileToOpen(RegFileChoice(title, ""), &path)) return;
    std::string bytes;
    if (const long error = services.files.ReadAll(path, &bytes, false)) {
        services.dialogs.MessageBox(CannotReadMessage(services, path, error), title, mb::kExclamation);
        return;
    }
    const ImportedSettings imported = ImportSettings(form1, bytes, services.registry.codePage());
    if (!imported.error.empty()) {
        services.dialogs.MessageBox(MalformedMessage(services.registry.codePage(), path, imported.error), title,
                                    mb::kExclamation);
        return;
    }
    std::string text =
        imported.settings == 0
            ? Quoted(path) + " holds no setting that Vantrel manages. No setting was changed."
            : SettingsCount(static_cast<std::size_t>(imported.settings)) + " set from " + Quoted(path) +
                  ". Nothing is written yet: review the pages, then press \"Apply Changes\".";
    if (!imported.ignored.empty()) text += ListedLines("These entries of the file were ignored:", imported.ignored);
    const bool clean = imported.settings > 0 && imported.ignored.empty();
    services.dialogs.MessageBox(text, title, clean ? mb::kInformation : mb::kExclamation);
}

void GroupPolicyCommand(Form& form1, Services& services) {
    const char* const title = "Export for Group Policy";
    std::string folder;
    if (!services.dialogs.ChooseFolder("Choose the folder of a Group Policy object. Vantrel writes the computer "
                                       "settings to Machine\\Registry.pol and the user settings to "
                                       "User\\Registry.pol in it.",
                                       &folder)) {
        return;
    }
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    struct Part {
        RegKey root;
        std::string folder;
        std::string file;
    };
    const std::vector<Part> parts = {{reg::kLocalMachine, folder + "\\Machine", folder + "\\Machine\\Registry.pol"},
                                     {reg::kCurrentUser, folder + "\\User", folder + "\\User\\Registry.pol"}};

    std::vector<std::string> existing;
    for (const Part& part : parts) {
        if (services.files.Exists(part.file)) existing.push_back(part.file);
    }
    if (!existing.empty()) {
        std::string question;
        for (const std::string& file : existing) question += Quoted(file) + "\n";
        question += existing.size() == 1 ? "\nalready exists. Replace it? The policy settings it holds now will be lost."
                                         : "\nalready exist. Replace them? The policy settings they hold now will be lost.";
        if (services.dialogs.MessageBox(question, title, mb::kYesNo | mb::kExclamation | mb::kDefaultButton2) !=
            mb::kAnswerYes) {
            return;
        }
    }

    // Both files are written beside their targets before either takes its
    // place: a failed write leaves the object's two files as they were, and
    // a replace that fails after the other file's is said to have.
    const SettingsProfile profile = ExportProfile(form1, services.registry);
    std::vector<WholeFile> files;
    for (const Part& part : parts) {
        if (const long error = services.files.CreateFolders(part.folder)) {
            services.dialogs.MessageBox(CannotWriteMessage(services, part.folder, error), title, mb::kExclamation);
            return;
        }
        std::vector<RegKeyBlock> blocks;
        std::copy_if(profile.blocks.begin(), profile.blocks.end(), std::back_inserter(blocks),
                     [&](const RegKeyBlock& b) { return b.root == part.root; });
        files.push_back({part.file, WritePolicyFile(blocks)});
    }
    const WholeFilesWritten written = WriteWholeFiles(services.files, files);
    if (written.error != 0) {
        std::string text = CannotWriteMessage(services, written.failed, written.error);
        for (const std::string& file : written.replaced) text += " " + Quoted(file) + " was replaced already.";
        services.dialogs.MessageBox(text, title, mb::kExclamation);
        return;
    }
    std::string text = "Settings exported for Group Policy to " + Quoted(parts[0].file) + " and " +
                       Quoted(parts[1].file) + ".";
    if (!profile.skipped.empty()) text += ListedLines("These settings were not exported:", SkippedLines(profile.skipped));
    services.dialogs.MessageBox(text, title, profile.skipped.empty() ? mb::kInformation : mb::kExclamation);
}

}  // namespace vantrel
