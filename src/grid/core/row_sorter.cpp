#include "grid/core/row_sorter.h"

#include "grid/core/grid_core.h"
#include "grid/core/grid_update.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>

TZIVGridSortedColumns::iterator ZIVGridRowSorter::find(const ZIVGridColumn &column)
{
    return std::find_if(keys_.begin(), keys_.end(),
                        [&](const SorterElement &key) { return key.column == &column; });
}

void ZIVGridRowSorter::clear()
{
    keys_.clear();
    predefinedColumn_ = nullptr;
}

void ZIVGridRowSorter::addSortColumn(ZIVGridColumn &column, bool ascending)
{
    const auto key = find(column);
    if (key == keys_.end())
        keys_.push_back({&column, ascending});
    else
        key->ascending = !key->ascending;
}

void ZIVGridRowSorter::removeSortColumn(const ZIVGridColumn &column)
{
    const auto key = find(column);
    if (key != keys_.end())
        keys_.erase(key);
}

void ZIVGridRowSorter::sortBy(ZIVGridColumn &column, bool ascending)
{
    if (keys_.size() == 1 && keys_.front().column == &column) {
        invert();
        return;
    }
    clear();
    addSortColumn(column, ascending);
}

void ZIVGridRowSorter::sortBySorter(const ZIVGridRowSorter &other)
{
    const bool sameColumns = std::equal(
        keys_.begin(), keys_.end(), other.keys_.begin(), other.keys_.end(),
        [](const SorterElement &a, const SorterElement &b) { return a.column == b.column; });
    if (sameColumns) {
        invert();
        return;
    }
    clear();
    keys_ = other.keys_;
}

void ZIVGridRowSorter::invert()
{
    for (SorterElement &key : keys_)
        key.ascending = !key.ascending;
}

// Asks the column event both ways round: whether a comes first, or nothing for a tie.
std::optional<bool> ZIVGridRowSorter::compareByColumnEvent(ZIVGridRow &a, ZIVGridRow &b,
                                                           const SorterElement &key) const
{
    bool greater = true;
    grid_->OnCompareByColumn(*grid_, b, a, *key.column, greater);
    if (greater)
        return key.ascending;
    grid_->OnCompareByColumn(*grid_, a, b, *key.column, greater);
    if (greater)
        return !key.ascending;
    return std::nullopt;
}

bool ZIVGridRowSorter::compare(ZIVGridRow &a, ZIVGridRow &b) const
{
    if (grid_->OnCompare) {
        bool greater = true;
        grid_->OnCompare(*grid_, a, b, greater);
        return greater;
    }
    for (const SorterElement &key : keys_) {
        if (grid_->OnCompareByColumn) {
            if (const auto first = compareByColumnEvent(a, b, key))
                return *first;
            continue;
        }
        const int order = a.cell(*key.column).sortValue().order(b.cell(*key.column).sortValue());
        if (order != 0)
            return (order < 0) == key.ascending;
    }
    return false;
}

TSortInfo ZIVGridRowSorter::sortInfo(const ZIVGridColumn &column) const
{
    for (std::size_t i = 0; i < keys_.size(); ++i)
        if (keys_[i].column == &column)
            return {static_cast<int>(i) + 1, keys_[i].ascending};
    if (&column == predefinedColumn_ && !keys_.empty())
        return {0, keys_.front().ascending};
    return {-1, true};
}

// ---- the grid's sorting

namespace {

constexpr std::uint32_t notShown = UINT32_MAX;

// The display position of every slot's row, or notShown. Empty when few of the store's rows
// are shown: their cells are then better reached row by row.
std::vector<std::uint32_t> positionsOfSlots(const TZIVGridRows &rows, std::int32_t rowsIssued)
{
    if (rows.size() * 4 < static_cast<std::size_t>(rowsIssued))
        return {};
    std::vector<std::uint32_t> positions(static_cast<std::size_t>(rowsIssued), notShown);
    for (std::size_t i = 0; i < rows.size(); ++i)
        positions[rows[i]->slot()] = static_cast<std::uint32_t>(i);
    return positions;
}

// Visits the column's cell of every shown row with its display position.
template <typename Visit>
void forEachShownCell(const ZIVGridColumn &column, const TZIVGridRows &rows,
                      const std::vector<std::uint32_t> &positions, Visit visit)
{
    if (positions.empty()) {
        for (std::size_t i = 0; i < rows.size(); ++i)
            visit(rows[i]->cell(column), static_cast<std::uint32_t>(i));
        return;
    }
    column.forEachCell([&](const ZIVGridCell &cell) {
        const std::uint32_t at = positions[cell.slot()];
        if (at != notShown)
            visit(cell, at);
    });
}

bool isInteger(std::uint8_t kind)
{
    return kind == ZIVGridCell::IntCell || kind == ZIVGridCell::LongCell;
}

// A key whose shown values are all integers, or all of one floating kind and numbers, orders
// like an unsigned 64-bit rank: empty 0, then the kind, then the value.
bool rankable(const ZIVGridColumn &column, const TZIVGridRows &rows,
              const std::vector<std::uint32_t> &positions)
{
    std::uint8_t seen = ZIVGridCell::EmptyCell;
    bool ok = true;
    forEachShownCell(column, rows, positions, [&](const ZIVGridCell &cell, std::uint32_t) {
        const std::uint8_t kind = cell.kind();
        if (!ok || kind == ZIVGridCell::EmptyCell)
            return;
        if (kind == ZIVGridCell::StringCell)
            ok = false;
        else if (isInteger(kind))
            ok = seen == ZIVGridCell::EmptyCell || isInteger(seen);
        else
            ok = (seen == ZIVGridCell::EmptyCell || seen == kind) &&
                 !std::isnan(cell.sortValue().real);
        seen = kind;
    });
    return ok;
}

std::uint64_t rankOf(const ZIVGridCell &cell)
{
    const ZIVGridSortValue value = cell.sortValue();
    if (value.kind == ZIVGridCell::EmptyCell)
        return 0;
    if (isInteger(value.kind))
        return (std::uint64_t(value.kind) << 33) +
               std::uint64_t(std::int64_t(value.integer) + 0x80000000LL);
    // IEEE bits made monotonic; -0 ties with 0 as the comparison says.
    const double real = value.real == 0 ? 0.0 : value.real;
    const auto bits = std::bit_cast<std::uint64_t>(real);
    return ((bits >> 63) != 0 ? ~bits : bits | (1ULL << 63)) + 1;
}

// Without comparison events the keys of every row are gathered once, in storage order, so the
// sort compares plain values instead of reaching each row's cells at every comparison. The
// first key travels with the entry; further keys are looked up on ties only.
template <typename Value, typename Gather, typename Order>
TZIVGridRows sortedByGathered(const TZIVGridRows &rows, const TZIVGridSortedColumns &keys,
                              const std::vector<std::uint32_t> &positions, Gather gather,
                              Order order)
{
    struct Entry
    {
        Value first;
        std::uint32_t index;
    };
    const std::size_t more = keys.size() - 1;
    std::vector<Entry> entries(rows.size());
    std::vector<Value> further(rows.size() * more);
    for (std::size_t k = 0; k < keys.size(); ++k) {
        forEachShownCell(*keys[k].column, rows, positions,
                         [&](const ZIVGridCell &cell, std::uint32_t at) {
                             if (k == 0)
                                 entries[at] = {gather(cell), at};
                             else
                                 further[at * more + k - 1] = gather(cell);
                         });
    }
    const bool firstAscending = keys[0].ascending;
    std::stable_sort(entries.begin(), entries.end(), [&](const Entry &a, const Entry &b) {
        const int result = order(a.first, b.first);
        if (result != 0)
            return (result < 0) == firstAscending;
        for (std::size_t k = 0; k < more; ++k) {
            const int next = order(further[a.index * more + k], further[b.index * more + k]);
            if (next != 0)
                return (next < 0) == keys[k + 1].ascending;
        }
        return false;
    });
    TZIVGridRows sorted(rows.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        sorted[i] = rows[entries[i].index];
    return sorted;
}

TZIVGridRows sortedByKeys(const TZIVGridRows &rows, const TZIVGridSortedColumns &keys,
                          std::int32_t rowsIssued)
{
    const std::vector<std::uint32_t> positions = positionsOfSlots(rows, rowsIssued);
    const bool ranked = std::all_of(keys.begin(), keys.end(), [&](const SorterElement &key) {
        return rankable(*key.column, rows, positions);
    });
    // Lambdas, not function pointers: the comparison must inline into the sort.
    if (ranked)
        return sortedByGathered<std::uint64_t>(
            rows, keys, positions, [](const ZIVGridCell &cell) { return rankOf(cell); },
            [](std::uint64_t a, std::uint64_t b) { return (a > b) - (a < b); });
    return sortedByGathered<ZIVGridSortValue>(
        rows, keys, positions, [](const ZIVGridCell &cell) { return cell.sortValue(); },
        [](const ZIVGridSortValue &a, const ZIVGridSortValue &b) { return a.order(b); });
}

} // namespace

void ZIVGridCore::sortNow()
{
    if (!sorted)
        return;
    // Sort a copy: a comparison that raises must not leave rows lost or doubled.
    TZIVGridRows order;
    if (OnCompare || OnCompareByColumn) {
        order = rows_;
        const ZIVGridRowSorter keys = *sorter_;
        std::stable_sort(order.begin(), order.end(),
                         [&keys](ZIVGridRow *a, ZIVGridRow *b) { return keys.compare(*a, *b); });
    } else if (!sorter_->keys().empty()) {
        order = sortedByKeys(rows_, sorter_->keys(), rowsIssued_);
    } else {
        order = rows_;
    }
    rows_.swap(order);
    correctIndexes();
    Change();
}

void ZIVGridCore::SortByColumn(ZIVGridColumn &column)
{
    if (!column.sortDefinition().keys().empty())
        sorter_->sortBySorter(column.sortDefinition());
    else
        sorter_->sortBy(column, true);
}

void ZIVGridCore::resortInBracket()
{
    const ZIVGridUpdate update(*this);
    sortNow();
}

void ZIVGridCore::headerClick(ZIVGridColumn &column, bool addKey)
{
    if (!sorted)
        return;
    if (addKey) {
        sorter_->addSortColumn(column, true);
    } else if (!column.sortDefinition().keys().empty()) {
        sorter_->sortBySorter(column.sortDefinition());
        sorter_->setPredefinedColumn(&column);
    } else {
        sorter_->sortBy(column, true);
    }
    resortInBracket();
}

void ZIVGridCore::menuSortClear()
{
    if (!sorted)
        return;
    sorter_->clear();
    Change();
}

void ZIVGridCore::menuSortAddThisColumn(ZIVGridColumn &column)
{
    menuSortAddColumn(column);
    Change();
}

void ZIVGridCore::menuSortRemoveThisColumn(ZIVGridColumn &column)
{
    if (!sorted)
        return;
    sorter_->removeSortColumn(column);
    resortInBracket();
    Change();
}

void ZIVGridCore::menuSortAddColumn(ZIVGridColumn &column)
{
    if (!sorted)
        return;
    sorter_->addSortColumn(column, true);
    resortInBracket();
}
