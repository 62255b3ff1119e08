#include "grid/widget/collation.h"
#include "grid_fixture.h"

namespace {

// People's order of a fixed locale, whatever the machine's: the default is set to Swedish,
// where Å would follow Z.
TEST(Collation, NamesInPeoplesOrderOtherColumnsInByteOrder)
{
    const QLocale machine;
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    ZIVGridCore grid;
    grid.SetHeaders({"id;id;s", "name", "club"});
    int id = 0;
    for (const char *name : {"Ólafur", "Tomas", "Åsa", "Zoë", "Émile", "ábel", "Ödön", "zack",
                             "Erik", "Björn", "adam"}) {
        ZIVGridRow &row = grid.addRow();
        row.setLong("id", ++id);
        row.setString("name", name);
        row.setString("club", name);
    }
    grid.addRow().setLong("id", ++id); // no name: first, as empty cells always are
    sortByCollation(grid, {"name"}, QLocale(QLocale::English, QLocale::UnitedStates));
    const auto sortedBy = [&](const char *column, bool ascending) {
        grid.sorter().clear();
        grid.sorter().addSortColumn(*grid.getColumn(column, true), ascending);
        grid.sortNow();
        std::vector<std::string> names;
        for (const ZIVGridRow *row : grid.rows())
            names.push_back(row->cell(column).asString());
        return names;
    };
    const std::vector<std::string> people = {"",     "ábel", "adam",   "Åsa",   "Björn", "Émile",
                                             "Erik", "Ödön", "Ólafur", "Tomas", "zack",  "Zoë"};
    EXPECT_EQ(sortedBy("name", true), people);
    EXPECT_EQ(sortedBy("name", false), std::vector<std::string>(people.rbegin(), people.rend()));
    EXPECT_EQ(sortedBy("club", true),
              (std::vector<std::string>{"", "Björn", "Erik", "Tomas", "Zoë", "adam", "zack", "Åsa",
                                        "Émile", "Ólafur", "Ödön", "ábel"}));
    grid.getRow(5)->setString("name", "Aaron"); // a changed text gets a new key
    EXPECT_EQ(sortedBy("name", true)[1], "Aaron");
    QLocale::setDefault(machine);
}

} // namespace
