#include "grid_test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(Mask, Patterns)
{
    const struct
    {
        std::string pattern, text;
        bool matches;
    } cases[] = {
        {"ar*", "Arsenal", true},
        {"ar*", "Barcelona", false},
        {"*ar*", "Barcelona", true},
        {"?jax", "Ajax", true},
        {"?jax", "jax", false},
        {"[a-c]*", "barcelona", true},
        {"[!a-c]*", "Barcelona", false},
        {"[!a-c]*", "Dortmund", true},
        {"[xyz]", "Y", true},
        {"*", "", true},
        {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXbYbZ", false},
        {"malmö*", "MALMÖ FF", true},
        {"ísland", "ÍSLAND", true},
        {"españa", "ESPAÑA", true},
        {"malm?", "Malmö", true}, // one character, two bytes
        {"łódź", "ŁÓDŹ", true},
        {"*ÿ", "Ÿ", true},
        {"[à-ý]*", "Émile", true},
        {"a*a", "a", false},
        {"a*a", "aa", true},
        {"*b", "ab", true},
        {"*b", "ba", false},
        {"abc", "abc", true},
        {"abc", "abcd", false},
        {"", "", true},
        {"", "x", false},
        {"*?*?", "x", false},
        {"*?*?", "xy", true},
        {"*ab*ab", "xabyab", true},
        {"*ab*ab", "xab", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TMask(c.pattern).matches(c.text), c.matches) << c.pattern << " / " << c.text;
}

// "*text*" has a quick search of its own; a set in the first place sends the same question
// down the general matching, so the two must agree on every length around 16 bytes.
TEST(Mask, ContainedTextAgreesWithTheGeneralMatching)
{
    const std::string texts[] = {"",
                                 "a",
                                 "ab",
                                 "xAb",
                                 "Abc",
                                 "ab\xc3\xb6",
                                 "Malm\xc3\xb6 FF",
                                 "kar\xc4\xb1n",
                                 "\xc4\xb1I",
                                 "aaaaaaaaaaaaaaab",
                                 "aaaaaaaaaaaaaaaab",
                                 "xxxxxxxxxxxxxxxxxxab",
                                 "0123456789abcdef",
                                 "0123456789abcdefg",
                                 std::string("a\0b", 3),
                                 "ab~{",
                                 "@[`{",
                                 "abcdefghij",
                                 "0123456789abc",
                                 "xxxxxxxxab",
                                 "Abcdefghijklmno",
                                 "xyzfg",
                                 "abcdefg"};
    const std::string literals[] = {"a",
                                    "ab",
                                    "b",
                                    "AB",
                                    "aab",
                                    "in",
                                    "I",
                                    "fg",
                                    "ef",
                                    "~",
                                    "`",
                                    "hc",
                                    "jk",
                                    "0123456789abcdef",
                                    "0123456789abcdefg",
                                    "m\xc3\xb6",
                                    std::string(1, '\0')};
    for (const std::string &literal : literals) {
        const TMask quick("*" + literal + "*");
        const TMask general("*[" + literal.substr(0, 1) + "]" + literal.substr(1) + "*");
        for (const std::string &text : texts)
            EXPECT_EQ(quick.matches(text), general.matches(text)) << literal << " in " << text;
    }
    EXPECT_TRUE(TMask("*I*").matches("kar\xc4\xb1n")); // dotless i is an I without case
    EXPECT_TRUE(TMask("*ab*").matches("xxxxxxxxxxxxxxxxxxab"));
    EXPECT_FALSE(TMask("*ab*").matches("aaaaaaaaaaaaaaa"));
}

TEST(Mask, MalformedPatterns)
{
    for (const char *pattern : {"[abc", "a[", "[]", "[!]", "[z-a]"})
        EXPECT_THROW(TMask{pattern}, EMaskException) << pattern;
}

TEST(Mask, UpperCaseKeepsStrayBytes)
{
    EXPECT_EQ(upperCaseText("malmö \xff ß"), "MALMÖ \xff ß");
}

class FilterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid.SetHeaders({"id;id;s", "name", "goals"});
        const std::vector<std::pair<std::string, int>> teams = {
            {"Arsenal", 1}, {"Barcelona", 10}, {"Argentina", 123}, {"Ajax", 2}, {"Malmö", 0}};
        int id = 0;
        for (const auto &[name, goals] : teams) {
            ZIVGridRow &row = grid.addRow();
            row.setLong("id", ++id);
            row.setString("name", name);
            row.setInt("goals", goals);
        }
    }

    ZIVGridColumn &column(const std::string &name) { return *grid.getColumn(name, true); }

    CountingGrid grid;
};

TEST_F(FilterTest, Examples)
{
    const struct
    {
        std::string column, filter;
        std::vector<std::string> shown;
        bool active;
    } cases[] = {
        {"name", "ar", {"Arsenal", "Argentina"}, true},
        {"name", "*ar", {"Arsenal", "Barcelona", "Argentina"}, true},
        {"name", "!ar", {"Barcelona", "Ajax", "Malmö"}, true},
        {"name", "*", {"Arsenal", "Barcelona", "Argentina", "Ajax", "Malmö"}, false},
        {"name", "", {"Arsenal", "Barcelona", "Argentina", "Ajax", "Malmö"}, false},
        {"name", "!", {}, true},
        {"name", "MALMÖ", {"Malmö"}, true},
        {"goals", "1", {"Arsenal", "Barcelona", "Argentina"}, true},
        // Comparisons in a column of numbers.
        {"goals", ">=10", {"Barcelona", "Argentina"}, true},
        {"goals", "<=2", {"Arsenal", "Ajax", "Malmö"}, true},
        {"goals", ">2", {"Barcelona", "Argentina"}, true},
        {"goals", "<1", {"Malmö"}, true},
        {"goals", "=10", {"Barcelona"}, true},
        {"goals", "1..10", {"Arsenal", "Barcelona", "Ajax"}, true},
        {"goals", "10..1", {"Arsenal", "Barcelona", "Ajax"}, true},
        {"goals", " >= 2,0 ", {"Barcelona", "Argentina", "Ajax"}, true},
        {"goals", "!>=10", {"Arsenal", "Ajax", "Malmö"}, true},
        {"goals", "-1..0", {"Malmö"}, true},
        // No comparison: masks, which match no number's text.
        {"goals", ">=abc", {}, true},
        {"goals", "1...3", {}, true},
        {"goals", ">=1e1", {}, true},
        {"goals", "!>", {"Arsenal", "Barcelona", "Argentina", "Ajax", "Malmö"}, true},
        // In a column of texts a comparison is a mask.
        {"name", ">=A", {}, true},
        {"name", "!<5", {"Arsenal", "Barcelona", "Argentina", "Ajax", "Malmö"}, true},
    };
    for (const auto &c : cases) {
        column("name").setFilter("");
        column("goals").setFilter("");
        column(c.column).setFilter(c.filter);
        grid.sorter().clear();
        grid.sortNow();
        EXPECT_EQ(grid.filtered(), c.active) << c.filter;
        EXPECT_EQ(column(c.column).isFiltered(), c.active);
        std::vector<std::string> shown = shownNames(grid);
        // Without keys the order is the restore order; compare as sets.
        std::sort(shown.begin(), shown.end());
        std::vector<std::string> expected = c.shown;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(shown, expected) << c.filter;
        EXPECT_EQ(grid.rowNum() + grid.hiddenRows().size(), 5u);
    }
}

TEST_F(FilterTest, TwoFiltersAndRestoredOrder)
{
    grid.SetSorted(false);
    column("name").setFilter("a");
    column("goals").setFilter("1");
    EXPECT_EQ(shownNames(grid), (std::vector<std::string>{"Arsenal", "Argentina"}));
    column("goals").setFilter("");
    // The rows only the goals filter hid come back behind the rows in view.
    EXPECT_EQ(shownNames(grid), (std::vector<std::string>{"Arsenal", "Argentina", "Ajax"}));
    for (int i = 0; i < grid.rowNum(); ++i)
        EXPECT_EQ(grid.getRow(i)->index(), i);

    grid.SetSorted(true);
    grid.sorter().sortBy(column("id"), true);
    column("name").setFilter("");
    EXPECT_EQ(shownNames(grid),
              (std::vector<std::string>{"Arsenal", "Barcelona", "Argentina", "Ajax", "Malmö"}));

    // The end of a refill orders the rows once, with a filter and without one.
    grid.sorter().sortBy(column("name"), true);
    for (const char *filter : {"", "a"}) {
        column("name").setFilter(filter);
        const int before = grid.refreshes;
        grid.filterAndSort();
        EXPECT_EQ(grid.refreshes, before + 1) << filter;
    }
    EXPECT_EQ(shownNames(grid), (std::vector<std::string>{"Ajax", "Argentina", "Arsenal"}));
}

// A comparison compares only where every filled cell holds a number; elsewhere it is a mask.
TEST(NumberFilter, ComparesOnlyColumnsOfNumbers)
{
    CountingGrid grid;
    grid.SetHeaders({"value"});
    const struct
    {
        std::vector<std::string> texts; // "" empty, "#n" an integer, "%x" a double, else text
        std::string filter;
        std::size_t shown;
    } cases[] = {
        {{"#5", "#8", "%7.5", ""}, ">=7", 2},  // the empty cell has no number
        {{"#5", "#8", "%7.5", ""}, "!>=7", 2}, // ... so it stays when negated
        {{"%2.675", "%0.1"}, "=2.675", 1},
        {{"%0.30000000000000004"}, "=0.3", 1}, // shows as 0.3
        {{"%8.93", "%8.94"}, "<8.94", 1},
        {{"5", "8", ">=7 club"}, ">=7", 1}, // texts: the mask ">=7*"
        {{"#5", "#8", "x"}, "6..8", 0},     // one text makes it a column of texts
        {{"#5", "x"}, "5*", 1},
        {{"", ""}, ">=0", 0}, // nothing filled: a mask, which empty texts fail
    };
    for (const auto &c : cases) {
        grid.clear();
        grid.getColumn("value", true)->setFilter("");
        for (const std::string &text : c.texts) {
            ZIVGridCell &cell = grid.addRow().cell("value");
            if (text.empty())
                continue;
            if (text[0] == '#')
                cell.setInt(std::stoi(text.substr(1)));
            else if (text[0] == '%')
                cell.setDouble(std::stod(text.substr(1)));
            else
                cell.setString(text);
        }
        grid.getColumn("value", true)->setFilter(c.filter);
        EXPECT_EQ(std::size_t(grid.rowNum()), c.shown) << c.filter << " on " << c.texts[0];
        EXPECT_EQ(grid.totalRowCount(), int(c.texts.size()));
    }
}

TEST_F(FilterTest, ClearFiltersBringsEveryRowBackAtOnce)
{
    column("name").setFilter("a");
    column("goals").setFilter(">=2");
    ASSERT_EQ(grid.rowNum(), 2);
    const int before = grid.refreshes;
    grid.clearFilters();
    EXPECT_FALSE(grid.filtered());
    EXPECT_EQ(grid.rowNum(), 5);
    EXPECT_EQ(grid.refreshes, before + 1);
    EXPECT_EQ(column("goals").filterText(), "");
}

TEST_F(FilterTest, SameTextDoesNotRefilter)
{
    column("name").setFilter("ar");
    grid.addRow().setString("name", "Zenit");
    column("name").setFilter("ar");
    EXPECT_EQ(grid.rowNum(), 3); // the new row is not filtered until filter runs
    grid.filter();
    EXPECT_EQ(grid.rowNum(), 2);
}

TEST_F(FilterTest, FiltersSurviveClear)
{
    column("name").setFilter("b");
    grid.clear();
    addIdNameRows(grid, {{1, "Benfica"}, {2, "Celtic"}});
    EXPECT_EQ(grid.rowNum(), 2);
    grid.filter();
    EXPECT_EQ(shownNames(grid), (std::vector<std::string>{"Benfica"}));
}

TEST_F(FilterTest, EmptyCellsFailInclusivePatterns)
{
    grid.addRow().setLong("id", 9);
    column("name").setFilter("*r");
    EXPECT_EQ(grid.rowNum(), 3);
    column("name").setFilter("**");
    EXPECT_EQ(grid.rowNum(), 6);
}

TEST_F(FilterTest, SelectionAndFocusSurviveHiding)
{
    ZIVGridRow &barcelona = *grid.getRow(1);
    barcelona.select();
    column("name").setFilter("ar");
    EXPECT_TRUE(barcelona.isSelected());
    EXPECT_TRUE(barcelona.isFocused());
}

TEST_F(FilterTest, RemovedSelectedRowsStayRemovedWhenTheFilterIsCleared)
{
    grid.SetSorted(false);
    grid.getRow(1)->select(); // Barcelona, hidden by the filter below
    grid.getRow(0)->select(); // Arsenal, in view
    column("name").setFilter("ar");
    grid.removeSelectedRows();
    EXPECT_EQ(shownNames(grid), (std::vector<std::string>{"Argentina"}));
    column("name").setFilter("");
    EXPECT_EQ(shownNames(grid), (std::vector<std::string>{"Argentina", "Ajax", "Malmö"}));
    EXPECT_TRUE(grid.hiddenRows().empty());
}

TEST_F(FilterTest, InvalidPatternChangesNothing)
{
    ZIVGridColumn &name = column("name");
    name.setFilter("!ar");
    for (const char *bad : {"[ab", "[]", "![!]"}) {
        EXPECT_THROW(name.setFilter(bad), EMaskException) << bad;
        EXPECT_EQ(name.filterText(), "!ar");
        EXPECT_FALSE(name.filterInclusive());
        EXPECT_EQ(shownNames(grid), (std::vector<std::string>{"Barcelona", "Ajax", "Malmö"}));
    }
    name.setFilter("ar"); // the old mask is still the one in force until a valid change
    EXPECT_EQ(grid.rowNum(), 2);
}

} // namespace
