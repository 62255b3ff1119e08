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
        const std::vector<QCollatorSortKey> *keys = texts ? keysOf(grid, column) : nullptr;
        if (keys)
            greater = (*keys)[std::size_t(a.slot())].compare((*keys)[std::size_t(b.slot())]) > 0;
        else
            greater = a.greater(b);
    }

private:
    // The column's keys, or null for a column in byte order. A sort asks about one column
    // again and again: that answer is kept.
    const std::vector<QCollatorSortKey> *keysOf(const ZIVGridCore &grid,
                                                const ZIVGridColumn &column)
    {
        if (grid.dataVersion() != version) {
            keys.clear();
            lastColumn = nullptr;
            version = grid.dataVersion();
        }
        if (&column != lastColumn) {
            lastColumn = &column;
            const bool collated =
                std::find(names.begin(), names.end(), column.name()) != names.end();
            lastKeys = collated ? &keysMadeFor(column) : nullptr;
        }
        return lastKeys;
    }

    // One key per storage slot; cells that hold no text get the empty text's key, unused.
    const std::vector<QCollatorSortKey> &keysMadeFor(const ZIVGridColumn &column)
    {
        auto found = keys.find(&column);
        if (found != keys.end())
            return found->second;
        std::vector<QCollatorSortKey> fresh;
        fresh.reserve(std::size_t(column.grid().rowsIssued()));
        const QCollatorSortKey none = collator.sortKey(QString());
        column.forEachCell([&](const ZIVGridCell &cell) {
            if (cell.kind() != ZIVGridCell::StringCell) {
                fresh.push_back(none);
                return;
            }
            const std::string_view text = cell.textView();
            fresh.push_back(
                collator.sortKey(QString::fromUtf8(text.data(), qsizetype(text.size()))));
        });
        return keys.emplace(&column, std::move(fresh)).first->second;
    }

    std::vector<std::string> names;
    QCollator collator;
    std::uint64_t version = 0;
    std::map<const ZIVGridColumn *, std::vector<QCollatorSortKey>> keys;
    const ZIVGridColumn *lastColumn = nullptr;
    const std::vector<QCollatorSortKey> *lastKeys = nullptr;
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
