// A list as text for other programs: what each form does to a cell.
#include "platform/ListText.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(ListText, CellsKeepTheirTextAndTheirLines) {
    struct Case {
        std::string cell, tabbed, csv;
    };
    const Case cases[] = {
        {"plain", "plain", "plain"},
        {"a, b", "a, b", "\"a, b\""},
        {"say \"hi\"", "say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines\tand a tab", "two  lines and a tab", "\"two\r\nlines\tand a tab\""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const ReviewList list{"t", "", {"A", "B"}, {{{c.cell, "x"}, false}, {{"y", c.cell}, true}}, "", "Close"};
        EXPECT_EQ(TabSeparated(list, {1, 0}), "A\tB\r\ny\t" + c.tabbed + "\r\n" + c.tabbed + "\tx\r\n") << c.cell;
        EXPECT_EQ(CommaSeparated({{c.cell, "x"}}), c.csv + ",x\r\n") << c.cell;
    }
}

}  // namespace
}  // namespace vantrel
