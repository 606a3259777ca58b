// The load and apply passes: the fixed order in which they visit the groups.
#include <algorithm>
#include <cctype>

#include "app/Controls.h"
#include "settings/TweakRow.h"

namespace vantrel {
namespace {

using Group = const std::vector<TweakRow>& (*)();

// Explorer comes before Windows information: the owner and organisation boxes
// are filled by the Windows information rows, not by their own rows.
constexpr Group kLoadOrder[] = {AccessibilityRows, InternetExplorerRows, InputRows, ExplorerRows,
                                WindowsInfoRows};

constexpr Group kApplyOrder[] = {PersonalFolderRows, AccessibilityRows, InternetExplorerRows,
                                 StartMenuRows,      InputRows,         ExplorerRows};

void AddTarget(std::vector<ValueRef>& targets, ValueRef ref) {
    auto same = [&](const ValueRef& other) { return SameValue(other, ref); };
    if (std::none_of(targets.begin(), targets.end(), same)) targets.push_back(std::move(ref));
}

}  // namespace

std::string KeyIdentity(std::string path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    for (char& c : path) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return path;
}

bool SameValue(const ValueRef& a, const ValueRef& b) {
    return a.root == b.root && KeyIdentity(a.key) == KeyIdentity(b.key) &&
           KeyIdentity(a.value) == KeyIdentity(b.value);
}

const ValueRef* FindTarget(const ValueRef& value) {
    static const std::vector<ValueRef> targets = ApplyTargets();
    for (const ValueRef& target : targets) {
        if (SameValue(target, value)) return &target;
    }
    return nullptr;
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

std::vector<SkippedWrite> ApplySettings(Form& form, Registry& reg) {
    std::vector<SkippedWrite> skipped;
    for (Group group : kApplyOrder) {
        for (const TweakRow& row : group()) ApplyRow(form, reg, row, skipped);
    }
    return skipped;
}

std::vector<ValueRef> ApplyTargets() {
    std::vector<ValueRef> targets;
    for (Group group : kApplyOrder) {
        for (const TweakRow& row : group()) {
            if (row.apply == ApplyForm::None || row.writer == Writer::None) continue;
            AddTarget(targets, {row.root, row.applyKey, row.value, row.page, row.caption});
            if (!row.applyKey2.empty()) AddTarget(targets, {row.root, row.applyKey2, row.value, row.page, row.caption});
        }
    }
    return targets;
}

}  // namespace vantrel
