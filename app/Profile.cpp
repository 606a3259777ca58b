#include "app/Profile.h"

#include <algorithm>
#include <set>

#include "app/Report.h"
#include "app/Review.h"
#include "platform/WholeFile.h"
#include "registry/KeyNames.h"
#include "registry/RecordingRegistry.h"
#include "registry/RegFile.h"
#include "registry/RegistryRoutines.h"

namespace vantrel {

const char* const kNotSetReason = "not set on this computer";

SettingsProfile ProfileFromPages(Form& form1, Registry& reg) {
    RecordingRegistry layer(reg, RecordingRegistry::Refusals::None);
    SettingsProfile profile;
    // Row by row, as ApplySettings goes, so that each value is known by its setting.
    for (const TweakRow* row : ApplyRows()) {
        const std::size_t before = layer.writes().size();
        ApplyRow(form1, layer, *row, profile.skipped);
        ProfileSetting setting;
        setting.row = row;
        for (std::size_t i = before; i < layer.writes().size(); ++i) {
            const RecordingRegistry::Write& w = layer.writes()[i];
            setting.values.push_back({w.root, w.path, w.name, row->page, row->caption});
        }
        if (!setting.values.empty()) profile.settings.push_back(std::move(setting));
    }
    profile.blocks = BlocksFromWrites(layer.writes());
    return profile;
}

std::vector<RegKeyBlock> BlocksFromWrites(const std::vector<RecordingRegistry::Write>& writes) {
    std::vector<RegKeyBlock> blocks;
    for (const RecordingRegistry::Write& w : writes) {
        std::vector<RegValueEntry>& values = KeyBlockFor(blocks, w.root, w.path).values;
        RegValueEntry entry = w.remove ? RegRemovedValue(w.name) : RegValueEntry{w.name, false, w.type, w.data};
        auto value = std::find_if(values.begin(), values.end(),
                                  [&](const RegValueEntry& v) { return SameName(v.name, w.name); });
        if (value == values.end()) {
            values.push_back(std::move(entry));
        } else {
            entry.name = value->name;
            *value = std::move(entry);
        }
    }
    return blocks;
}

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

// The row that writes a settings control.
const TweakRow* ApplyRowOf(const std::string& control) {
    for (const TweakRow* row : CatalogueRows()) {
        if (row->control == control && row->apply != ApplyForm::None && row->writer != Writer::None) return row;
    }
    return nullptr;
}

bool IsFolderRow(const TweakRow& row) {
    const std::vector<TweakRow>& folders = PersonalFolderRows();
    return &row >= folders.data() && &row < folders.data() + folders.size();
}

RegValueEntry* FindValue(std::vector<RegKeyBlock>& blocks, const ValueRef& ref) {
    for (RegKeyBlock& block : blocks) {
        for (RegValueEntry& v : block.values) {
            if (SameValue({block.root, block.path, v.name}, ref)) return &v;
        }
    }
    return nullptr;
}

// Whether string data (UTF-16LE) holds more text after a NUL.
bool HoldsNulInside(const std::vector<std::uint8_t>& data) {
    const std::u16string text = FromUtf16LeBytes(data);
    const std::size_t nul = text.find(u'\0');
    return nul != std::u16string::npos && text.find_first_not_of(u'\0', nul) != std::u16string::npos;
}

// Why the apply could not write a row's values as the file holds them, with
// its control as the file's values set it: the file deletes one (but a
// policy's, which is its "Not configured"), holds one
// in a type the page does not read, or holds one the control cannot take
// (the apply would write another value). "" when it writes them as they are.
std::string NotApplied(Form& fresh, const TweakRow& apply, Registry& store, const std::vector<ValueRef>& targets,
                       const std::vector<std::size_t>& inFile, const std::vector<const RegOp*>& last,
                       const std::vector<bool>& keyDeleted, const std::vector<std::uint32_t>& types) {
    const std::optional<std::string> written = ApplyText(fresh, apply);
    for (const std::size_t i : inFile) {
        // A policy the file deletes is "Not configured", which its control
        // shows and its apply writes (a deletion): set as any other value.
        if (last[i] == nullptr && ClearsValue(fresh, apply)) continue;
        if (last[i] == nullptr) return keyDeleted[i] ? "the file deletes its key" : "the file deletes it";
        const RegOp& op = *last[i];
        // Text with a NUL inside: the page would show, and the apply write,
        // only what stands before it.
        if (IsStringType(op.type) && HoldsNulInside(op.data)) {
            return "the page cannot show the file's value " +
                   Utf8ToAnsi(store.codePage(), DescribeStored(StoredData{op.type, op.data}));
        }
        const std::string read = GetString(store, targets[i].root, targets[i].key, targets[i].value);
        const bool same = apply.writer == Writer::Long ? written && TextToLong(read) && TextToLong(read) == TextToLong(*written)
                                                       : written && read == *written;
        // The type as the store holds it: a folder kept relative to a profile is expanded to REG_SZ.
        if ((types[i] != reg::kSz && types[i] != reg::kDword) || !same) {
            return "the page cannot show the file's value " +
                   Utf8ToAnsi(store.codePage(), DescribeStored(StoredData{op.type, op.data}));
        }
    }
    return {};
}

// A folder inside the profile: REG_EXPAND_SZ under the first key the row
// writes ("User Shell Folders"), nothing under the second.
void StoreRelative(SettingsProfile& profile, ProfileSetting& setting, const std::string& relative,
                   const CodePage& ansi) {
    const TweakRow& row = *setting.row;
    if (RegValueEntry* entry = FindValue(profile.blocks, {row.root, row.applyKey, row.value})) {
        entry->type = reg::kExpandSz;
        entry->data = Utf16LeBytes(ansi.ToWide(relative) + u'\0');
    }
    if (row.applyKey2.empty()) return;
    const ValueRef second{row.root, row.applyKey2, row.value};
    RemoveValue(profile.blocks, second);
    std::erase_if(setting.values, [&](const ValueRef& v) { return SameValue(v, second); });
}

// Imported folder values kept relative to a profile, expanded for this user.
void ExpandFolderValue(const ValueRef& target, const std::string& profileFolder, const CodePage& ansi,
                       std::uint32_t* type, std::vector<std::uint8_t>* data) {
    if (*type != reg::kExpandSz || profileFolder.empty()) return;
    const auto folder = [&](const TweakRow& row) {
        return SameValue(target, {row.root, row.applyKey, row.value}) ||
               SameValue(target, {row.root, row.applyKey2, row.value}) ||
               SameValue(target, {row.root, row.loadKey, row.value});
    };
    const std::vector<TweakRow>& rows = PersonalFolderRows();
    if (std::none_of(rows.begin(), rows.end(), folder)) return;
    std::u16string text = FromUtf16LeBytes(*data);
    text = text.substr(0, text.find(u'\0'));
    const std::u16string expanded = ExpandProfile(text, ansi.ToWide(profileFolder));
    if (expanded == text) return;
    *type = reg::kSz;
    *data = Utf16LeBytes(expanded + u'\0');
}

}  // namespace

SettingsProfile ExportProfile(Form& form1, Registry& reg, const std::string& profileFolder) {
    SettingsProfile profile = ProfileFromPages(form1, reg);
    // The folders come first, as the apply writes them first.
    std::vector<SkippedWrite> skipped = BlankFolders(form1);
    skipped.insert(skipped.end(), profile.skipped.begin(), profile.skipped.end());
    profile.skipped = std::move(skipped);

    std::vector<ProfileSetting> kept;
    for (const TweakRow* row : ApplyRows()) {
        const bool folder = IsFolderRow(*row);
        const bool blank = folder && form1.text(row->control).text().empty();  // listed as skipped already
        const bool set = ValueIsSet(form1, *row);
        if (!blank && !set) profile.unset.push_back({row->page, row->caption, kNotSetReason});
        auto setting = std::find_if(profile.settings.begin(), profile.settings.end(),
                                    [&](const ProfileSetting& s) { return s.row == row; });
        if (setting == profile.settings.end()) continue;
        if (blank || !set) {
            for (const ValueRef& v : setting->values) RemoveValue(profile.blocks, v);
            continue;
        }
        setting->local = row->localOnly;
        if (folder) {
            const auto relative = RelativeToProfile(form1.text(row->control).text(), profileFolder);
            if (relative) StoreRelative(profile, *setting, *relative, reg.codePage());
            else setting->local = true;
        }
        kept.push_back(std::move(*setting));
    }
    profile.settings = std::move(kept);
    return profile;
}

SettingsProfile ChosenSettings(const SettingsProfile& profile, const std::vector<bool>& chosen) {
    SettingsProfile only = profile;
    only.settings.clear();
    for (std::size_t i = 0; i < profile.settings.size(); ++i) {
        if (i < chosen.size() && chosen[i]) {
            only.settings.push_back(profile.settings[i]);
        } else {
            for (const ValueRef& v : profile.settings[i].values) RemoveValue(only.blocks, v);
        }
    }
    return only;
}


std::u16string ExpandProfile(const std::u16string& path, const std::u16string& profileFolder) {
    const std::string_view name = kProfileVariable;
    const std::u16string variable(name.begin(), name.end());
    if (path.size() < variable.size() || (path.size() > variable.size() && path[variable.size()] != u'\\')) {
        return path;
    }
    for (std::size_t i = 0; i < variable.size(); ++i) {
        const char16_t c = path[i];
        const char16_t folded = c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
        if (folded != variable[i]) return path;
    }
    return profileFolder + path.substr(variable.size());
}

RegWriteResult ExportFile(const SettingsProfile& profile) {
    return WriteRegFile(profile.blocks, RegFormat::Version5);
}

std::string WriteExport(Services& services, const std::string& path, const SettingsProfile& profile,
                        std::string* leftBehind) {
    const RegWriteResult file = ExportFile(profile);
    if (!file.ok()) {
        return "Vantrel could not write " + Quoted(path) + " as a registry file: " +
               Utf8ToAnsi(services.registry.codePage(), file.error) + ". Nothing was written.";
    }
    const WholeFilesWritten written = WriteWholeFile(services.files, path, file.bytes);
    if (written.error != 0) return CannotWriteMessage(services, path, written.error) + " " + WhereTheDataIs(written);
    *leftBehind = WhereTheDataIs(written);
    return {};
}

std::vector<std::string> LeftOutLines(const SettingsProfile& profile) {
    std::vector<std::string> lines = SkippedLines(profile.skipped);
    for (const std::string& line : SkippedLines(profile.unset)) lines.push_back(line);
    return lines;
}

void ShowExported(Services& services, const std::string& title, const std::string& done,
                  const SettingsProfile& profile) {
    const std::vector<std::string> leftOut = LeftOutLines(profile);
    const std::string text = leftOut.empty() ? done : done + ListedLines("These settings were not exported:", leftOut);
    services.dialogs.MessageBox(text, title, profile.skipped.empty() ? mb::kInformation : mb::kExclamation);
}

std::string IgnoredLine(RegKey root, const std::string& path, const std::string* name) {
    std::string line = std::string(RegRootName(root)) + (path.empty() ? "" : "\\" + path);
    if (!name) line += " (the whole key)";
    else if (name->empty()) line += " (Default)";
    else line += " \"" + *name + "\"";
    return line + ": not a setting Vantrel manages";
}

std::string ImportProfileFile(Form& form1, Services& services, const std::string& path, ImportedSettings* imported,
                              const std::string* given) {
    std::string bytes;
    if (given) {
        bytes = *given;
    } else if (const long error = services.files.ReadAll(path, &bytes, false)) {
        return CannotReadMessage(services, path, error);
    }
    const CodePage& ansi = services.registry.codePage();
    *imported = ImportSettings(form1, bytes, ansi, services.environment.ProfileFolder());
    if (!imported->error.empty()) return MalformedMessage(ansi, path, imported->error);
    return {};
}

ImportedSettings ImportSettings(Form& form1, std::string_view bytes, const CodePage& ansi,
                                const std::string& profileFolder) {
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
    std::vector<bool> keyDeleted(targets.size(), false);
    for (const RegOp& op : parsed.ops) {
        // The file's names in the system's code page, as messages show them;
        // a name counts as managed only when it converts exactly.
        const std::string path = Utf8ToAnsi(ansi, op.path), name = Utf8ToAnsi(ansi, op.name);
        if (op.kind == RegOpKind::SetValue || op.kind == RegOpKind::DeleteValue) {
            const ValueRef* target = FindTarget(ansi, op.root, op.path, op.name);
            const std::size_t i = target == nullptr ? std::string::npos : TargetIndex(*target);
            if (i == std::string::npos) {
                result.ignored.push_back(IgnoredLine(op.root, path, &name));
                continue;
            }
            named[i] = true;
            if (std::find(result.namedControls.begin(), result.namedControls.end(), targets[i].control) == result.namedControls.end())
                result.namedControls.push_back(targets[i].control);
            last[i] = op.kind == RegOpKind::SetValue ? &op : nullptr;
            keyDeleted[i] = false;
        } else if (op.kind == RegOpKind::DeleteKey) {
            std::string exactPath;
            bool covers = false;
            for (std::size_t i = 0; i < targets.size() && Utf8ToAnsiExactly(ansi, op.path, &exactPath); ++i) {
                if (targets[i].root != op.root || !IsBelow(targets[i].key, exactPath)) continue;
                named[i] = true;
                last[i] = nullptr;
                keyDeleted[i] = true;
                covers = true;
            }
            if (!covers) result.ignored.push_back(IgnoredLine(op.root, path, nullptr));
        }
    }

    // The file's values as a store, read by the load rules of a window as
    // it is built; each control set there is then copied to the pages.
    EmptyRegistry empty(ansi);
    RecordingRegistry store(empty, RecordingRegistry::Refusals::None);
    std::vector<std::uint32_t> types(targets.size(), reg::kNone);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (!last[i]) continue;
        std::uint32_t type = last[i]->type;
        std::vector<std::uint8_t> data = last[i]->data;
        ExpandFolderValue(targets[i], profileFolder, ansi, &type, &data);
        types[i] = type;
        RegKey key = 0;
        store.CreateKey(targets[i].root, targets[i].key, &key);
        store.SetValueW(key, ansi.ToWide(targets[i].value), type, data.data(), static_cast<std::uint32_t>(data.size()));
        store.CloseKey(key);
    }
    Form fresh(form1.def());
    FillStartMenuList(fresh);
    for (const TweakRow* row : CatalogueRows()) {
        const std::string control = SettingControl(*row);
        if (control.empty()) continue;
        // The row's values the file names, in the order its control is read from them.
        std::vector<std::size_t> inFile;
        for (const std::string* key : {&row->loadKey, &row->applyKey, &row->applyKey2}) {
            const std::size_t i = key->empty() ? std::string::npos : TargetIndex({row->root, *key, row->value});
            if (i != std::string::npos && named[i] &&
                std::find(inFile.begin(), inFile.end(), i) == inFile.end()) {
                inFile.push_back(i);
            }
        }
        if (inFile.empty()) continue;
        TweakRow load = *row;
        load.control = control;
        load.alsoControl.clear();
        load.loadKey = targets[inFile.front()].key;
        LoadRow(fresh, store, load);
        const std::string reason = NotApplied(fresh, *ApplyRowOf(control), store, targets, inFile, last, keyDeleted, types);
        if (!reason.empty()) {
            // Not set and not to be written: the setting keeps its stored value.
            const ValueRef& target = targets[inFile.front()];
            result.kept.push_back({target.page, target.caption, "not applied: " + reason, 0, target.root, target.key,
                                   target.value});
            continue;
        }
        CopyControl(fresh, form1, control);
        if (const Form::LoadMark* mark = fresh.loadMark(control)) form1.markLoaded(control, *mark);
        ++result.settings;
    }
    return result;
}

}  // namespace vantrel
