#include "grid/widget/collation.h"
#include "grid_fixture.h"

namespace {

std::vector<std::string> sortedBy(ZIVGridCore &grid, const char *column, bool ascending)
{
    grid.sorter().clear();
    grid.sorter().addSortColumn(*grid.getColumn(column, true), ascending);
    grid.sortNow();
    std::vector<std::string> texts;
    for (const ZIVGridRow *row : grid.rows())
        texts.push_back(row->cell(column).asString());
    return texts;
}

// People's order of a fixed locale, whatever the machine's: the default is Swedish here, where
// Å would follow Z. An empty cell comes first, as empty cells always do.
TEST(Collation, NamesInPeoplesOrderOtherColumnsInByteOrder)
{
    const QLocale machine;
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    ZIVGridCore grid;
    grid.SetHeaders({"name", "club"});
    for (const char *name : {"Ólafur", "Tomas", "Åsa", "Zoë", "Émile", "ábel", "Ödön", "zack",
                             "Erik", "Björn", "adam"}) {
        ZIVGridRow &row = grid.addRow();
        row.setString("name", name);
        row.setString("club", name);
    }
    grid.addRow();
    sortByCollation(grid, {"name"}, QLocale(QLocale::English, QLocale::UnitedStates));
    const std::vector<std::string> people = {"",     "ábel", "adam",   "Åsa",   "Björn", "Émile",
                                             "Erik", "Ödön", "Ólafur", "Tomas", "zack",  "Zoë"};
    EXPECT_EQ(sortedBy(grid, "name", true), people);
    EXPECT_EQ(sortedBy(grid, "name", false), std::vector(people.rbegin(), people.rend()));
    EXPECT_EQ(sortedBy(grid, "club", true),
              (std::vector<std::string>{"", "Björn", "Erik", "Tomas", "Zoë", "adam", "zack", "Åsa",
                                        "Émile", "Ólafur", "Ödön", "ábel"}));
    grid.getRow(5)->setString("name", "Aaron"); // a changed text is ordered anew
    EXPECT_EQ(sortedBy(grid, "name", true)[1], "Aaron");
    QLocale::setDefault(machine);
}

} // namespace
