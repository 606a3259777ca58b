// The "General Options" page: the fourteen items of the check-box list List1,
// each tied to one REG_DWORD (1 shows the Start menu item, 0 hides it).
#include <iterator>

#include "settings/TweakRow.h"

namespace vantrel {
namespace {

struct Item {
    const char* text;
    const char* value;
};

constexpr Item kItems[] = {
    {"Administrative Tools", "Start_AdminToolsRoot"},
    {"Control Panel", "Start_ShowControlPanel"},
    {"Help and Support Center", "Start_ShowHelp"},
    {"My Computer", "Start_ShowMyComputer"},
    {"My Documents", "Start_ShowMyDocs"},
    {"My Music", "Start_ShowMyMusic"},
    {"My Pictures", "Start_ShowMyPics"},
    {"Network Connections", "Start_ShowNetConn"},
    {"My Network Places", "Start_ShowNetPlaces"},
    {"Printers and Faxes", "Start_ShowPrinters"},
    {"My Recent Documents", "Start_ShowRecentDocs"},
    {"Run", "Start_ShowRun"},
    {"Search", "Start_ShowSearch"},
    {"Favorites", "StartMenuFavorites"},
};

constexpr const char* kAdvanced = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced)";

std::vector<TweakRow> Build() {
    std::vector<TweakRow> rows;
    for (std::size_t i = 0; i < std::size(kItems); ++i) {
        // A text that is not a number fails the first comparison and so
        // leaves the item unchecked, like a number other than 0 and 1 after
        // the fill.
        rows.push_back({.control = "List1[" + std::to_string(i) + "]", .page = "General Options",
                        .caption = kItems[i].text, .root = reg::kCurrentUser, .loadKey = kAdvanced,
                        .applyKey = kAdvanced, .value = kItems[i].value, .writer = Writer::Long,
                        .load = LoadForm::MatchNumber, .loadPairs = {{"0", 0}, {"1", 1}},
                        .apply = ApplyForm::Chosen, .applyPairs = {{"1", 1}, {"0", 0}}});
    }
    return rows;
}

}  // namespace

const std::vector<TweakRow>& StartMenuRows() {
    static const std::vector<TweakRow> rows = Build();
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
