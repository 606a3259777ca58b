// The "General Options" page: the fourteen items of the check-box list List1,
// each tied to one REG_DWORD (1 shows the Start menu item, 0 hides it).
#include <array>
#include <iterator>

#include "settings/TweakRow.h"

namespace vantrel {
namespace {

// Each item with its control string: the item's index in List1.
struct Item {
    const char* control;
    const char* text;
    const char* value;
};

constexpr Item kItems[] = {
    {"List1[0]", "Administrative Tools", "Start_AdminToolsRoot"},
    {"List1[1]", "Control Panel", "Start_ShowControlPanel"},
    {"List1[2]", "Help and Support Center", "Start_ShowHelp"},
    {"List1[3]", "My Computer", "Start_ShowMyComputer"},
    {"List1[4]", "My Documents", "Start_ShowMyDocs"},
    {"List1[5]", "My Music", "Start_ShowMyMusic"},
    {"List1[6]", "My Pictures", "Start_ShowMyPics"},
    {"List1[7]", "Network Connections", "Start_ShowNetConn"},
    {"List1[8]", "My Network Places", "Start_ShowNetPlaces"},
    {"List1[9]", "Printers and Faxes", "Start_ShowPrinters"},
    {"List1[10]", "My Recent Documents", "Start_ShowRecentDocs"},
    {"List1[11]", "Run", "Start_ShowRun"},
    {"List1[12]", "Search", "Start_ShowSearch"},
    {"List1[13]", "Favorites", "StartMenuFavorites"},
};

constexpr const char* kAdvanced = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced)";

// A text that is not a number fails the first comparison and so leaves the
// item unchecked, like a number other than 0 and 1 after the fill.
constexpr PairDef kLoadPairs[] = {{"0", 0}, {"1", 1}};
constexpr PairDef kApplyPairs[] = {{"1", 1}, {"0", 0}};

constexpr auto kRows = [] {
    std::array<RowDef, std::size(kItems)> rows{};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = {.control = kItems[i].control, .page = "General Options", .caption = kItems[i].text,
                   .root = reg::kCurrentUser, .loadKey = kAdvanced, .applyKey = kAdvanced, .value = kItems[i].value,
                   .writer = Writer::Long, .load = LoadForm::MatchNumber, .loadPairs = kLoadPairs,
                   .apply = ApplyForm::Chosen, .applyPairs = kApplyPairs};
    }
    return rows;
}();

}  // namespace

const std::vector<TweakRow>& StartMenuRows() {
    static const std::vector<TweakRow> rows = RowsOf(kRows);
    return rows;
}

const std::vector<std::string>& StartMenuItems() {
    static const std::vector<std::string> items = [] {
        std::vector<std::string> texts;
        for (const Item& item : kItems) texts.push_back(item.text);
        return texts;
    }();
    return items;
}

}  // namespace vantrel
