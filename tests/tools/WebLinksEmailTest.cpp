#include "tools/ToolsFixture.h"
#include "tools/Tools.h"

namespace vantrel::testing {
namespace {

using WebLinksEmailTest = ToolsTest;

TEST_F(WebLinksEmailTest, MenuLinksOpenTheMakersPages) {
    OpenHomePage(services);
    OpenUpdatePage(services);
    EXPECT_EQ(browser.opened, (std::vector<std::string>{kHomePageAddress, kUpdatePageAddress}));
    EXPECT_NE(std::string(kHomePageAddress), kUpdatePageAddress);
    EXPECT_EQ(std::string(kUpdatePageAddress).rfind(kHomePageAddress, 0), 0u);  // on the maker's site
}

TEST_F(WebLinksEmailTest, ZoneListHoldsTwoEntriesNoneSelected) {
    FillZoneList(form1);
    ListBox& zones = form1.list("Combo1");
    EXPECT_EQ(zones.items(),
              (std::vector<std::string>{
                  "Internet (General sites can run scripts inside active e-mails.)",
                  "Restricted Sites (Sites which are restricted cannot run scripts inside active E-Mails.)"}));
    EXPECT_EQ(zones.ListIndex(), -1);
}

TEST_F(WebLinksEmailTest, MailCheckBoxesExcludeEachOther) {
    struct Step {
        const char* clicked;
        int check20, check24;
    };
    const Step steps[] = {
        {"Check20", 1, 0}, {"Check20", 1, 0}, {"Check24", 0, 1}, {"Check24", 0, 1}, {"Check25", 0, 1}, {"Check20", 1, 0},
    };
    for (const Step& step : steps) {
        EmailCheckClicked(form1, step.clicked);
        EXPECT_EQ(form1.check("Check20").value(), step.check20) << step.clicked;
        EXPECT_EQ(form1.check("Check24").value(), step.check24) << step.clicked;
    }
}

}  // namespace
}  // namespace vantrel::testing
