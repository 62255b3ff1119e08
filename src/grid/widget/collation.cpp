#include "grid/widget/collation.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QString>

#include <algorithm>
#include <map>
#include <memory>

namespace {

class CollatedOrder
{
public:
    CollatedOrder(std::vector<std::string> columnNames, const QLocale &locale)
        : names(std::move(columnNames)), collator(locale)
    {
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        collator.setNumericMode(false);
        collator.setIgnorePunctuation(false);
    }

    // `greater`: row1 ranks above row2 in the column.
    void compare(ZIVGridCore &grid, ZIVGridRow &row1, ZIVGridRow &row2, ZIVGridColumn &column,
                 bool &greater)
    {
        const ZIVGridCell &a = row1.cell(column), &b = row2.cell(column);
        const bool texts =
            a.kind() == ZIVGridCell::StringCell && b.kind() == ZIVGridCell::StringCell;
        const Ranks *ranks = texts ? ranksOf(grid, column) : nullptr;
        if (ranks)
            greater = (*ranks)[std::size_t(a.slot())] > (*ranks)[std::size_t(b.slot())];
        else
            greater = a.greater(b);
    }

private:
    // The place of every storage slot's text in the collation order; equal texts share one.
    using Ranks = std::vector<std::uint32_t>;

    // The column's ranks, or null for a column in byte order. A sort asks about one column
    // again and again: that answer is kept.
    const Ranks *ranksOf(const ZIVGridCore &grid, const ZIVGridColumn &column)
    {
        if (grid.dataVersion() != version) {
            ranks.clear();
            lastColumn = nullptr;
            version = grid.dataVersion();
        }
        if (&column != lastColumn) {
            lastColumn = &column;
            const bool collated =
                std::find(names.begin(), names.end(), column.name()) != names.end();
            lastRanks = collated ? &ranksMadeFor(column) : nullptr;
        }
        return lastRanks;
    }

    // One collation key per text, ordered once; a comparison then compares two integers.
    const Ranks &ranksMadeFor(const ZIVGridColumn &column)
    {
        auto found = ranks.find(&column);
        if (found != ranks.end())
            return found->second;
        std::vector<std::pair<std::int32_t, QCollatorSortKey>> keys;
        column.forEachCell([&](const ZIVGridCell &cell) {
            if (cell.kind() != ZIVGridCell::StringCell)
                return;
            const std::string_view text = cell.textView();
            keys.emplace_back(cell.slot(), collator.sortKey(QString::fromUtf8(
                                               text.data(), qsizetype(text.size()))));
        });
        std::sort(keys.begin(), keys.end(),
                  [](const auto &a, const auto &b) { return a.second.compare(b.second) < 0; });
        Ranks fresh(std::size_t(column.grid().rowsIssued()), 0);
        std::uint32_t rank = 0;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (i > 0 && keys[i - 1].second.compare(keys[i].second) != 0)
                ++rank;
            fresh[std::size_t(keys[i].first)] = rank;
        }
        return ranks.emplace(&column, std::move(fresh)).first->second;
    }

    std::vector<std::string> names;
    QCollator collator;
    std::uint64_t version = 0;
    std::map<const ZIVGridColumn *, Ranks> ranks;
    const ZIVGridColumn *lastColumn = nullptr;
    const Ranks *lastRanks = nullptr;
};

} // namespace

void sortByCollation(ZIVGridCore &grid, const std::vector<std::string> &columnNames,
                     const QLocale &locale)
{
    auto order = std::make_shared<CollatedOrder>(columnNames, locale);
    grid.OnCompareByColumn = [order](ZIVGridCore &sender, ZIVGridRow &row1, ZIVGridRow &row2,
                                     ZIVGridColumn &column, bool &greater) {
        order->compare(sender, row1, row2, column, greater);
    };
}
