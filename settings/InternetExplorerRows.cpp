// The "Internet Options" page: nine "yes"/"no" check boxes and three text
// boxes of Internet Explorer's per-user settings.
#include "settings/TweakRow.h"

namespace vantrel {
namespace {

constexpr const char* kPage = "Internet Options";
constexpr const char* kMain = R"(Software\Microsoft\Internet Explorer\Main)";
constexpr const char* kExplorer = R"(Software\Microsoft\Internet Explorer)";

// Only the exact text "no" unchecks the box; anything else, an absent value
// included, checks it.
constexpr PairDef kNo[] = {{"no", 0}};
constexpr PairDef kYesNo[] = {{"yes", 1}, {"no", 0}};

constexpr RowDef YesNoCheck(const char* control, const char* caption, const char* value) {
    return {.control = control, .page = kPage, .caption = caption, .root = reg::kCurrentUser, .loadKey = kMain,
            .applyKey = kMain, .value = value, .writer = Writer::String, .load = LoadForm::MatchText,
            .loadPairs = kNo, .hasOtherwise = true, .otherwise = 1, .apply = ApplyForm::Chosen,
            .applyPairs = kYesNo};
}

constexpr RowDef TextBox(const char* control, const char* caption, const char* key, const char* value) {
    return {.control = control, .page = kPage, .caption = caption, .root = reg::kCurrentUser, .loadKey = key,
            .applyKey = key, .value = value, .writer = Writer::String, .load = LoadForm::Direct,
            .apply = ApplyForm::Direct};
}

constexpr RowDef LocalOnly(RowDef row) {
    row.localOnly = true;
    return row;
}

constexpr RowDef kRows[] = {
    YesNoCheck("Check11", "Enable/Disable Full Screen on Startup", "FullScreen"),
    YesNoCheck("Check12", "Use Search Assist", "Use Search Asst"),
    YesNoCheck("Check13", "Enable/Disable Script Debugger", "Disable Script Debugger"),
    YesNoCheck("Check14", "Enable/Disable Auto Image Resize", "Enable AutoImageResize"),
    YesNoCheck("Check15", "Use Form Suggest", "Use FormSuggest"),
    YesNoCheck("Check16", "Notification when downloads are complete", "NotifyDownloadComplete"),
    YesNoCheck("Check17", "Play Animations", "Play_Animations"),
    YesNoCheck("Check18", "Print Backgrounds", "Print_Background"),
    YesNoCheck("Check19", "Show Go Button", "ShowGoButton"),
    TextBox("Text16", "Home Page:", kMain, "Start Page"),
    TextBox("Text17", "Search Page", kMain, "Search Page"),
    // Read and written under the same key, so that a changed download
    // directory shows again at the next start. An absolute path of this
    // user's (the value is REG_SZ, which nothing expands): an export for
    // Group Policy offers it unticked.
    LocalOnly(TextBox("Text18", "Download Dir", kExplorer, "Download Directory")),
};

}  // namespace

const std::vector<TweakRow>& InternetExplorerRows() {
    static const std::vector<TweakRow> rows = RowsOf(kRows);
    return rows;
}

}  // namespace vantrel
