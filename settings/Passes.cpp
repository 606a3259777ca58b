// The load and apply passes: the fixed order in which they visit the groups.
#include <algorithm>

#include "model/Controls.h"
#include "platform/Platform.h"
#include "settings/ReadBack.h"
#include "settings/Standing.h"
#include "settings/TweakRow.h"

namespace vantrel {
namespace {

using Group = const std::vector<TweakRow>& (*)();

// Explorer comes before Windows information: the owner and organisation boxes
// are filled by the Windows information rows, not by their own rows.
// The Windows 10 and 11 rows come last in both, after every older page's.
constexpr Group kLoadOrder[] = {AccessibilityRows, InternetExplorerRows, InputRows, ExplorerRows,
                                WindowsInfoRows,   ModernWindowsRows};

constexpr Group kApplyOrder[] = {PersonalFolderRows, AccessibilityRows, InternetExplorerRows, StartMenuRows,
                                 InputRows,          ExplorerRows,      ModernWindowsRows};

void AddTarget(std::vector<ValueRef>& targets, ValueRef ref) {
    auto same = [&](const ValueRef& other) { return SameValue(other, ref); };
    if (std::none_of(targets.begin(), targets.end(), same)) targets.push_back(std::move(ref));
}

std::vector<RulePair> PairsOf(std::span<const PairDef> defs) {
    std::vector<RulePair> pairs;
    for (const PairDef& def : defs) pairs.push_back({def.text, def.state});
    return pairs;
}

TweakRow RowOf(const RowDef& def) {
    return {.control = def.control, .page = def.page, .caption = def.caption, .root = def.root,
            .loadKey = def.loadKey, .applyKey = def.applyKey, .value = def.value, .writer = def.writer,
            .load = def.load, .loadPairs = PairsOf(def.loadPairs), .hasOtherwise = def.hasOtherwise,
            .otherwise = def.otherwise, .apply = def.apply, .applyPairs = PairsOf(def.applyPairs),
            .alsoControl = def.alsoControl, .applyKey2 = def.applyKey2, .localOnly = def.localOnly,
            .notConfigured = def.notConfigured, .live = def.live};
}

}  // namespace

std::vector<TweakRow> RowsOf(std::span<const RowDef> defs) {
    std::vector<TweakRow> rows;
    for (const RowDef& def : defs) rows.push_back(RowOf(def));
    return rows;
}

bool SameValue(const ValueRef& a, const ValueRef& b) {
    return a.root == b.root && SameKey(a.key, b.key) && SameName(a.value, b.value);
}

const ValueRef* FindTarget(const ValueRef& value) {
    for (const ValueRef& target : ApplyTargets()) {
        if (SameValue(target, value)) return &target;
    }
    return nullptr;
}

const ValueRef* FindTarget(const CodePage& ansi, RegKey root, std::string_view path, std::string_view name) {
    ValueRef ref{root};
    if (!Utf8ToAnsiExactly(ansi, path, &ref.key) || !Utf8ToAnsiExactly(ansi, name, &ref.value)) return nullptr;
    return FindTarget(ref);
}

const std::vector<const TweakRow*>& CatalogueRows() {
    static const std::vector<const TweakRow*> rows = [] {
        std::vector<const TweakRow*> all;
        for (Group group : kLoadOrder) {
            for (const TweakRow& row : group()) all.push_back(&row);
        }
        for (Group group : {PersonalFolderRows, StartMenuRows}) {
            for (const TweakRow& row : group()) all.push_back(&row);
        }
        return all;
    }();
    return rows;
}

void LoadSettings(Form& form, Registry& reg) {
    for (Group group : kLoadOrder) {
        for (const TweakRow& row : group()) LoadRow(form, reg, row);
    }
    LoadShellFolders(form, reg);
}

void LoadShellFolders(Form& form, Registry& reg) {
    for (const TweakRow& row : PersonalFolderRows()) LoadRow(form, reg, row);
}

void FillStartMenuList(Form& form) {
    ListBox& list = form.list("List1");
    for (const std::string& item : StartMenuItems()) list.AddItem(item);
}

void LoadStartMenuChecks(Form& form, Registry& reg) {
    for (const TweakRow& row : StartMenuRows()) LoadRow(form, reg, row);
}

std::vector<SkippedWrite> ApplySettings(Form& form, Registry& reg, const std::vector<SkippedWrite>& keep,
                                        const Standings* standings) {
    auto kept = [&](const TweakRow& row) {
        return std::any_of(keep.begin(), keep.end(), [&](const SkippedWrite& k) {
            const ValueRef value{k.root, k.key, k.value};
            return SameValue(value, {row.root, row.applyKey, row.value}) ||
                   (!row.applyKey2.empty() && SameValue(value, {row.root, row.applyKey2, row.value}));
        });
    };
    std::vector<SkippedWrite> skipped;
    ReadBackRegistry written(reg);
    for (const TweakRow* row : ApplyRows()) {
        if ((keep.empty() || !kept(*row)) && (standings == nullptr || standings->Writes(*row))) {
            written.setRow(row);
            ApplyRow(form, written, *row, skipped);
        }
    }
    for (SkippedWrite& s : written.NotHeld()) skipped.push_back(std::move(s));
    return skipped;
}

void MarkStored(Form& form, Registry& reg) {
    for (const TweakRow* row : ApplyRows()) {
        const Form::LoadMark* mark = form.loadMark(row->control);
        if (!mark) continue;  // never loaded: an export carries it anyway
        bool present = false;
        GetString(reg, row->root, row->loadKey, row->value, &present);
        form.markLoaded(row->control, {present, HeldValue(form, row->control)});
    }
}

std::vector<std::string> LiveValues(Registry& reg) {
    std::vector<std::string> values;
    for (const TweakRow* row : ApplyRows()) {
        if (row->live != Live::None) values.push_back(GetString(reg, row->root, row->applyKey, row->value));
    }
    return values;
}

void ApplyLive(Registry& reg, LiveSettings& live, const std::vector<std::string>& before) {
    std::size_t i = 0;
    for (const TweakRow* row : ApplyRows()) {
        if (row->live == Live::None) continue;
        const std::string now = GetString(reg, row->root, row->applyKey, row->value);
        const bool changed = i >= before.size() || now != before[i];
        ++i;
        if (!changed) continue;
        switch (row->live) {
        case Live::MouseAcceleration:
            if (const auto speed = TextToLong(now)) live.SetMouseAcceleration(*speed);
            break;
        case Live::None: break;
        }
    }
}

const std::vector<const TweakRow*>& ApplyRows() {
    static const std::vector<const TweakRow*> rows = [] {
        std::vector<const TweakRow*> all;
        for (Group group : kApplyOrder) {
            for (const TweakRow& row : group()) {
                if (row.apply != ApplyForm::None && row.writer != Writer::None) all.push_back(&row);
            }
        }
        return all;
    }();
    return rows;
}

const std::vector<ValueRef>& ApplyTargets() {
    static const std::vector<ValueRef> targets = [] {
        std::vector<ValueRef> all;
        for (const TweakRow* row : ApplyRows()) {
            AddTarget(all, {row->root, row->applyKey, row->value, row->page, row->caption, row->control});
            if (!row->applyKey2.empty()) {
                AddTarget(all, {row->root, row->applyKey2, row->value, row->page, row->caption, row->control});
            }
        }
        return all;
    }();
    return targets;
}

}  // namespace vantrel
