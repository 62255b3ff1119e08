#pragma once

#include <optional>
#include <vector>

namespace pugi {
class xml_node;
}

class ZIVGridColumn;
class ZIVGridCore;
class ZIVGridRow;

// One sort key.
struct SorterElement
{
    ZIVGridColumn *column;
    bool ascending;

    bool operator==(const SorterElement &) const = default;
};

using TZIVGridSortedColumns = std::vector<SorterElement>;

// What the header shows for a column: position 1.. of its key, 0 for the column whose own sort
// definition is in force, -1 for none.
struct TSortInfo
{
    int position;
    bool ascending;
};

// An ordered list of sort keys, most significant first, and the comparison of rows by them.
class ZIVGridRowSorter
{
public:
    explicit ZIVGridRowSorter(ZIVGridCore &grid) : grid_(&grid) {}

    const TZIVGridSortedColumns &keys() const { return keys_; }
    ZIVGridColumn *predefinedColumn() const { return predefinedColumn_; }
    void setPredefinedColumn(ZIVGridColumn *column) { predefinedColumn_ = column; }

    void clear();
    // Appends the key, or flips it when the column already is one.
    void addSortColumn(ZIVGridColumn &column, bool ascending);
    void removeSortColumn(const ZIVGridColumn &column);
    // Flips the only key, or makes the column the only key.
    void sortBy(ZIVGridColumn &column, bool ascending);
    // Flips every key when the columns equal the other's, else copies the other's keys.
    void sortBySorter(const ZIVGridRowSorter &other);
    void invert();

    // True when a sorts before b, through the grid's comparison events when assigned.
    bool compare(ZIVGridRow &a, ZIVGridRow &b) const;
    TSortInfo sortInfo(const ZIVGridColumn &column) const;

    void exportSettings(pugi::xml_node gridElement) const;
    void importSettings(pugi::xml_node gridElement);

private:
    std::optional<bool> compareByColumnEvent(ZIVGridRow &a, ZIVGridRow &b,
                                             const SorterElement &key) const;
    TZIVGridSortedColumns::iterator find(const ZIVGridColumn &column);

    ZIVGridCore *grid_;
    TZIVGridSortedColumns keys_;
    ZIVGridColumn *predefinedColumn_ = nullptr;
};
