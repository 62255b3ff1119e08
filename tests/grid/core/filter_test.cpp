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
        grid.SetHeaders({"id;id;s", "name", "goals", "rating"});
        const std::vector<std::tuple<std::string, int, double>> teams = {
            {"Arsenal", 1, 8.93},
            {"Barcelona", 10, 0.1 + 0.2},
            {"Argentina", 123, 7.5},
            {"Ajax", 2, -1},
            {"Malmö", 0, 2}};
        int id = 0;
        for (const auto &[name, goals, rating] : teams) {
            ZIVGridRow &row = grid.addRow();
            row.setLong("id", ++id);
            row.setString("name", name);
            row.setInt("goals", goals);
            if (rating >= 0) // Ajax has none
                row.setDouble("rating", rating);
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
        {"goals", " >= 2,0 ", {"Barcelona", "Argentina", "Ajax"}, true},
        {"goals", "!>=10", {"Arsenal", "Ajax", "Malmö"}, true},
        {"rating", ">=7.5", {"Arsenal", "Argentina"}, true}, // an empty cell has no number
        {"rating", "!>=7.5", {"Barcelona", "Ajax", "Malmö"}, true},
        {"rating", "=0.3", {"Barcelona"}, true}, // 0.30000000000000004 shows as 0.3
        // No comparison: masks, which match no number's text.
        {"goals", ">=abc", {}, true},
        {"goals", "1...3", {}, true},
        {"goals", "!>", {"Arsenal", "Barcelona", "Argentina", "Ajax", "Malmö"}, true},
        // In a column of texts a comparison is a mask.
        {"name", ">=A", {}, true},
        {"name", "!<5", {"Arsenal", "Barcelona", "Argentina", "Ajax", "Malmö"}, true},
    };
    for (const auto &c : cases) {
        grid.clearFilters();
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

TEST_F(FilterTest, ClearFiltersBringsEveryRowBackAtOnce)
{
    column("name").setFilter("a");
    column("goals").setFilter(">=2");
    const int before = grid.refreshes;
    grid.clearFilters();
    EXPECT_EQ(grid.rowNum(), 5);
    EXPECT_EQ(grid.refreshes, before + 1);
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
