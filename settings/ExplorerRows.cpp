// The "Explorer" page: Messenger start type, automatic completion, balloon
// tips, hidden files, file extensions, desktop cleanup interval, registered
// organisation and owner, and the four search options, in apply order.
#include "settings/TweakRow.h"

namespace vantrel {
namespace {

constexpr const char* kPage = "Explorer";
constexpr const char* kMessenger = R"(SYSTEM\ControlSet001\Services\Messenger)";
constexpr const char* kAutoComplete = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\AutoComplete)";
constexpr const char* kAdvancedSlash = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced\)";
constexpr const char* kAdvanced = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced)";
constexpr const char* kCleanupWiz = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Desktop\CleanupWiz)";
constexpr const char* kVersionSlash = R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\)";
constexpr const char* kVersion = R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion)";
constexpr const char* kExplorerSlash = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\)";

// A check box stored as its state, read and written directly.
constexpr RowDef DirectCheck(const char* control, const char* caption, const char* loadKey, const char* applyKey,
                             const char* value, Writer writer) {
    return {.control = control, .page = kPage, .caption = caption, .root = reg::kCurrentUser,
            .loadKey = loadKey, .applyKey = applyKey, .value = value, .writer = writer,
            .load = LoadForm::Direct, .apply = ApplyForm::Direct};
}

// Organisation and owner: loaded through the Windows information rows, so
// this group only writes them.
constexpr RowDef RegisteredText(const char* control, const char* caption, const char* value) {
    return {.control = control, .page = kPage, .caption = caption, .root = reg::kLocalMachine,
            .loadKey = kVersionSlash, .applyKey = kVersion, .value = value, .writer = Writer::String,
            .load = LoadForm::None, .apply = ApplyForm::Direct, .localOnly = true};
}

constexpr PairDef kNetSendLoad[] = {{"4", 0}, {"2", 1}};
constexpr PairDef kNetSendApply[] = {{"2", 1}, {"4", 0}};
constexpr PairDef kAutoCompleteLoad[] = {{"yes", 1}, {"no", 0}};
constexpr PairDef kAutoCompleteApply[] = {{"no", 0}, {"yes", 1}};
constexpr PairDef kHiddenLoad[] = {{"1", 1}, {"2", 0}};

constexpr RowDef kRows[] = {
    {.control = "Check1", .page = kPage, .caption = "Enable Net Send", .root = reg::kLocalMachine,
     .loadKey = kMessenger, .applyKey = kMessenger, .value = "Start", .writer = Writer::Long,
     .load = LoadForm::MatchNumber, .loadPairs = kNetSendLoad,
     .apply = ApplyForm::Chosen, .applyPairs = kNetSendApply, .localOnly = true},
    {.control = "Check2", .page = kPage, .caption = "Enable Auto Complete", .root = reg::kCurrentUser,
     .loadKey = kAutoComplete, .applyKey = kAutoComplete, .value = "AutoSuggest", .writer = Writer::String,
     .load = LoadForm::MatchText, .loadPairs = kAutoCompleteLoad,
     .apply = ApplyForm::Chosen, .applyPairs = kAutoCompleteApply},
    DirectCheck("Check3", "Enable Balloon Tips", kAdvancedSlash, kAdvanced, "EnableBalloonTips", Writer::Long),
    {.control = "Check4", .page = kPage, .caption = "Show Hidden Files and Folders", .root = reg::kCurrentUser,
     .loadKey = kAdvancedSlash, .applyKey = kAdvancedSlash, .value = "Hidden", .writer = Writer::Long,
     .load = LoadForm::MatchText, .loadPairs = kHiddenLoad, .apply = ApplyForm::Direct},
    DirectCheck("Check5", "Hide file extension of known file types", kAdvancedSlash, kAdvancedSlash,
                "HideFileExt", Writer::Long),
    {.control = "Text1", .page = kPage, .caption = "days between desktop cleanup", .root = reg::kCurrentUser,
     .loadKey = kCleanupWiz, .applyKey = kCleanupWiz, .value = "Days between clean up", .writer = Writer::Long,
     .load = LoadForm::Direct, .apply = ApplyForm::Direct},
    RegisteredText("Text21", "Organization:", "RegisteredOrganization"),
    RegisteredText("Text19", "Registered To:", "RegisteredOwner"),
    DirectCheck("Check6", "Case Sensitive", kExplorerSlash, kExplorerSlash, "CaseSensitive", Writer::String),
    DirectCheck("Check7", "Include Sub-Folders in search", kExplorerSlash, kExplorerSlash, "IncludeSubFolders",
                Writer::String),
    DirectCheck("Check8", "Search hidden files and folders", kExplorerSlash, kExplorerSlash, "SearchHidden",
                Writer::String),
    DirectCheck("Check9", "Search System Directories", kExplorerSlash, kExplorerSlash, "SearchSystemDirs",
                Writer::String),
};

}  // namespace

const std::vector<TweakRow>& ExplorerRows() {
    static const std::vector<TweakRow> rows = RowsOf(kRows);
    return rows;
}

}  // namespace vantrel
