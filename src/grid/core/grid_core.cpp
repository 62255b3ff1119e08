#include "grid/core/grid_core.h"

#include "Engine/errors.h"

#include <algorithm>
#include <charconv>
#include <new>
#include <unordered_set>

namespace {

const std::string idColumnName = "id";

// The cell shows exactly `text`; texts are compared without making a copy.
bool cellShows(const ZIVGridCell &cell, std::string_view text)
{
    if (cell.kind() == ZIVGridCell::StringCell)
        return cell.textView() == text;
    return cell.asString() == text;
}

// The id a cell shows as its text: integers directly, other kinds when their text is the
// canonical decimal form of a 32-bit id (the form the saved ids are looked for in).
bool shownId(const ZIVGridCell &cell, std::int32_t &id)
{
    if (cell.kind() == ZIVGridCell::IntCell || cell.kind() == ZIVGridCell::LongCell) {
        id = cell.kind() == ZIVGridCell::IntCell ? cell.getInt() : cell.getLong();
        return true;
    }
    const std::string text = cell.asString();
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, id);
    return ec == std::errc() && ptr == end && std::to_string(id) == text;
}

} // namespace

ZIVGridCore::ZIVGridCore() : sorter_(std::make_unique<ZIVGridRowSorter>(*this))
{
    setExtent(defaultExtent);
}

ZIVGridCore::~ZIVGridCore()
{
    ZIVGridCore::removeData();
}

// ---- columns and header lines

void ZIVGridCore::SetHeaders(const std::vector<std::string> &lines)
{
    if (&lines != &headers)
        headers = lines;
    buildColumnsFromHeaders();
}

void ZIVGridCore::SetHeadersString(const std::string &text)
{
    headersString = text;
    buildColumnsFromHeaders();
}

void ZIVGridCore::buildColumnsFromHeaders()
{
    removeStructure();
    for (const std::string &line : headers) {
        try {
            addHeaderLine(line);
        } catch (const std::exception &error) {
            // A broken declaration shows as one column saying why, not as a half-built grid.
            removeStructure();
            addColumn("error", "Error " + std::string(error.what()), ZIVGridColumn::visible);
        }
    }
    Change();
}

void ZIVGridCore::addHeaderLine(const std::string &line)
{
    const auto first = line.find(';');
    if (first == std::string::npos) {
        addColumn(line, line, ZIVGridColumn::visible);
        return;
    }
    const std::string name = line.substr(0, first);
    const std::string rest = line.substr(first + 1);
    const auto second = rest.find(';');
    const std::string caption = second == std::string::npos ? "" : rest.substr(0, second);
    const std::size_t flagAt = second == std::string::npos ? 0 : second + 1;
    if (flagAt >= rest.size())
        throw ERangeError("Missing visibility flag in header line \"" + line + "\"");
    const char flag = rest[flagAt];
    const auto visibility = flag == 'h'   ? ZIVGridColumn::hidden
                            : flag == 's' ? ZIVGridColumn::systemHidden
                                          : ZIVGridColumn::visible;
    addColumn(name, caption, visibility);
}

ZIVGridColumn &ZIVGridCore::addColumn(const std::string &name, const std::string &caption,
                                      ZIVGridColumn::TVisibility visibility, int position)
{
    // A second column of one name would leave the first dangling in the visible columns.
    if (columns_.count(name) != 0)
        throw Exception("Duplicate column : " + headersString + "." + name);
    const int at = position == -1 ? static_cast<int>(columns_.size()) : position;
    auto column = std::make_unique<ZIVGridColumn>(*this, name, caption.empty() ? name : caption,
                                                  visibility, at);
    reserveCellsForIssuedRows(*column);
    ZIVGridColumn &added = *columns_.emplace(name, std::move(column)).first->second;
    if (visibility == ZIVGridColumn::visible)
        showColumn(added);
    return added;
}

// A column added while the grid holds rows gets cells for them, so every row can reach it.
void ZIVGridCore::reserveCellsForIssuedRows(ZIVGridColumn &column) const
{
    for (std::size_t block = 0; block < rowBlocks.size(); ++block)
        column.reserveCells();
    for (std::int32_t slot = 0; slot < rowsIssued_; ++slot)
        column.createCell(slot);
}

void ZIVGridCore::removeStructure()
{
    removeData();
    visibleColumns_.clear();
    // The keys point at the columns that go now.
    sorter_->clear();
    columns_.clear();
}

void ZIVGridCore::clearColumns()
{
    removeStructure();
    Change();
}

ZIVGridColumn *ZIVGridCore::getColumn(const std::string &name, bool raise) const
{
    const auto found = columns_.find(name);
    if (found != columns_.end())
        return found->second.get();
    if (raise)
        throw ERangeError(" No such column :  " + headersString + "." + name);
    return nullptr;
}

void ZIVGridCore::showColumn(ZIVGridColumn &column)
{
    if (std::find(visibleColumns_.begin(), visibleColumns_.end(), &column) != visibleColumns_.end())
        return;
    const auto before = std::find_if(
        visibleColumns_.begin(), visibleColumns_.end(),
        [&](const ZIVGridColumn *shown) { return shown->position() > column.position(); });
    visibleColumns_.insert(before, &column);
    correctVisibleColumnIndexes();
    Change();
}

void ZIVGridCore::hideColumn(ZIVGridColumn &column)
{
    const auto shown = std::find(visibleColumns_.begin(), visibleColumns_.end(), &column);
    if (shown != visibleColumns_.end()) {
        visibleColumns_.erase(shown);
        Change();
    }
    correctVisibleColumnIndexes();
}

void ZIVGridCore::correctVisibleColumnIndexes()
{
    for (std::size_t i = 0; i < visibleColumns_.size(); ++i)
        visibleColumns_[i]->setVisibleIndex(static_cast<int>(i));
}

// ---- row store

void ZIVGridCore::setExtent(int n)
{
    if (n < 1)
        throw ERangeError("Invalid extent " + std::to_string(n));
    removeData();
    extent_ = n;
    for (auto &entry : columns_)
        entry.second->setExtent(n);
    Change();
}

void ZIVGridCore::reserveNewRows()
{
    if (!rowBlocks.empty() && usedInBlock < extent_)
        return;
    rowBlocks.push_back(static_cast<ZIVGridRow *>(::operator new(sizeof(ZIVGridRow) * extent_)));
    usedInBlock = 0;
    for (auto &entry : columns_)
        entry.second->reserveCells();
}

void ZIVGridCore::freeRowBlocks()
{
    for (std::size_t block = 0; block < rowBlocks.size(); ++block) {
        const bool newest = block + 1 == rowBlocks.size();
        std::destroy_n(rowBlocks[block], newest ? usedInBlock : extent_);
        ::operator delete(rowBlocks[block]);
    }
    rowBlocks.clear();
    usedInBlock = 0;
}

void ZIVGridCore::removeData()
{
    for (auto &entry : columns_)
        entry.second->clearCells();
    freeRowBlocks();
    rows_.clear();
    hiddenRows_.clear();
    selectedRows.clear();
    focusedRow = nullptr;
    rowsIssued_ = 0;
    ++dataVersion_;
}

void ZIVGridCore::clear()
{
    removeData();
    Change();
}

ZIVGridRow &ZIVGridCore::addRow(int position)
{
    if (position != atEnd && (position < 0 || position > rowNum()))
        throw ERangeError("Invalid index");
    reserveNewRows();
    const std::int32_t slot = rowsIssued_;
    ZIVGridRow &row = *new (rowBlocks.back() + usedInBlock) ZIVGridRow(*this, slot);
    ++usedInBlock;
    ++rowsIssued_;
    for (auto &entry : columns_)
        entry.second->createCell(slot);
    if (position == atEnd) {
        row.index_ = rowNum();
        rows_.push_back(&row);
    } else {
        rows_.insert(rows_.begin() + position, &row);
        correctIndexes();
    }
    changed();
    return row;
}

ZIVGridRow *ZIVGridCore::getRow(int index, bool raise) const
{
    if (index == atEnd)
        index = rowNum() - 1;
    if (index >= 0 && index < rowNum())
        return rows_[index];
    if (raise)
        throw ERangeError("Invalid index");
    return nullptr;
}

ZIVGridRow *
ZIVGridCore::getRowByValues(std::initializer_list<std::string_view> namesAndValues) const
{
    return findRowByValues(namesAndValues.begin(), namesAndValues.size());
}

ZIVGridRow *ZIVGridCore::getRowByValues(const std::vector<std::string> &namesAndValues) const
{
    const std::vector<std::string_view> views(namesAndValues.begin(), namesAndValues.end());
    return findRowByValues(views.data(), views.size());
}

ZIVGridRow *ZIVGridCore::findRowByValues(const std::string_view *namesAndValues,
                                         std::size_t count) const
{
    std::vector<std::pair<const ZIVGridColumn *, std::string_view>> criteria;
    for (std::size_t i = 0; i < count; i += 2)
        criteria.emplace_back(getColumn(std::string(namesAndValues[i]), true),
                              i + 1 < count ? namesAndValues[i + 1] : std::string_view());
    if (count % 2 != 0)
        throw Exception("Impair number og argument while calling ZIVGrid::getRowByValues()");
    const auto matches = [&](const ZIVGridRow *row) {
        return std::all_of(criteria.begin(), criteria.end(), [&](const auto &criterion) {
            return cellShows(row->cell(*criterion.first), criterion.second);
        });
    };
    const auto found = std::find_if(rows_.begin(), rows_.end(), matches);
    return found == rows_.end() ? nullptr : *found;
}

void ZIVGridCore::correctIndexes()
{
    for (std::size_t i = 0; i < rows_.size(); ++i)
        rows_[i]->index_ = static_cast<std::int32_t>(i);
}

void ZIVGridCore::removeRow(ZIVGridRow &row, bool correct)
{
    selectedRows.erase(&row);
    const auto shown = std::find(rows_.begin(), rows_.end(), &row);
    if (shown != rows_.end())
        rows_.erase(shown);
    // A row a filter hides stays selected; removed, it must not come back with the filter.
    const auto hidden = std::find(hiddenRows_.begin(), hiddenRows_.end(), &row);
    if (hidden != hiddenRows_.end())
        hiddenRows_.erase(hidden);
    if (correct)
        correctIndexes();
    Change();
}

void ZIVGridCore::removeSelectedRows()
{
    const TZIVGridSelectedRows selection = selectedRows;
    for (ZIVGridRow *row : selection)
        removeRow(*row, false);
    correctIndexes();
}

void ZIVGridCore::copySelectedRows(ZIVGridCore &target) const
{
    const TZIVGridSelectedRows selection = selectedRows;
    for (ZIVGridRow *row : selection)
        row->copyCellsTo(target.addRow());
}

void ZIVGridCore::moveSelectedRows(ZIVGridCore &target)
{
    copySelectedRows(target);
    removeSelectedRows();
}

// ---- focus and selection

ZIVGridRow *ZIVGridCore::focusRowById(std::int32_t id)
{
    if (!getColumn(idColumnName, false))
        return nullptr;
    ZIVGridRow *row = getRowByValues({idColumnName, std::to_string(id)});
    if (row)
        focusedRow = row;
    return row;
}

void ZIVGridCore::selectFocusedRow()
{
    if (focusedRow)
        focusedRow->select();
}

void ZIVGridCore::selectAllRows()
{
    for (ZIVGridRow *row : rows_)
        row->select();
}

void ZIVGridCore::getSelectedRows(TSelectedRows &list) const
{
    list.assign(selectedRows.begin(), selectedRows.end());
    std::stable_sort(list.begin(), list.end(), [](const ZIVGridRow *a, const ZIVGridRow *b) {
        return a->index() < b->index();
    });
}

// ---- update bracket

void ZIVGridCore::beginUpdate()
{
    // Ids of an earlier bracket must never be restored by this one, even when saving fails.
    forgetSavedIds();
    updatesEnabled_ = false;
    try {
        savePosition();
        saveSelection();
    } catch (...) {
        // No endUpdate follows a failed beginUpdate: do not stay suspended.
        forgetSavedIds();
        updatesEnabled_ = true;
        throw;
    }
}

void ZIVGridCore::forgetSavedIds()
{
    savedFocusId = savedPrevId = savedNextId = -1;
    savedSelectionIds.clear();
}

void ZIVGridCore::endUpdate()
{
    updatesEnabled_ = true;
    Change();
    const ZIVGridColumn *idColumn = getColumn(idColumnName, false);
    if (!idColumn)
        return;
    std::vector<std::int32_t> ids = positionIds();
    ids.insert(ids.end(), savedSelectionIds.begin(), savedSelectionIds.end());
    const IdIndex index = indexIds(*idColumn, ids);
    loadPositionFrom(index);
    loadSelectionFrom(index);
}

void ZIVGridCore::savePosition()
{
    if (!getColumn(idColumnName, false))
        return;
    if (!focusedRow) {
        savedFocusId = savedPrevId = savedNextId = -1;
        return;
    }
    savedFocusId = focusedRow->getLong(idColumnName);
    const ZIVGridRow *previous = getRow(focusedRow->index() - 1, false);
    savedPrevId = previous ? previous->getLong(idColumnName) : -1;
    const ZIVGridRow *next = getRow(focusedRow->index() + 1, false);
    savedNextId = next ? next->getLong(idColumnName) : -1;
}

void ZIVGridCore::saveSelection()
{
    if (!getColumn(idColumnName, false))
        return;
    savedSelectionIds.clear();
    for (const ZIVGridRow *row : selectedRows)
        savedSelectionIds.push_back(row->getLong(idColumnName));
}

std::vector<std::int32_t> ZIVGridCore::positionIds() const
{
    return {savedFocusId, savedPrevId, savedNextId};
}

// One pass over the rows in view finds the first row of every wanted id.
ZIVGridCore::IdIndex ZIVGridCore::indexIds(const ZIVGridColumn &idColumn,
                                           const std::vector<std::int32_t> &ids) const
{
    const std::unordered_set<std::int32_t> wanted(ids.begin(), ids.end());
    IdIndex index;
    index.reserve(wanted.size());
    for (ZIVGridRow *row : rows_) {
        std::int32_t id;
        if (shownId(row->cell(idColumn), id) && wanted.count(id) != 0)
            index.emplace(id, row);
        if (index.size() == wanted.size())
            break;
    }
    return index;
}

void ZIVGridCore::loadPosition()
{
    if (const ZIVGridColumn *idColumn = getColumn(idColumnName, false))
        loadPositionFrom(indexIds(*idColumn, positionIds()));
}

void ZIVGridCore::loadSelection()
{
    if (const ZIVGridColumn *idColumn = getColumn(idColumnName, false))
        loadSelectionFrom(indexIds(*idColumn, savedSelectionIds));
}

void ZIVGridCore::loadPositionFrom(const IdIndex &index)
{
    ZIVGridRow *row = nullptr;
    for (std::int32_t id : positionIds()) {
        const auto found = index.find(id);
        if (found != index.end()) {
            row = found->second;
            break;
        }
    }
    if (!row && !rows_.empty())
        row = rows_.front();
    focusedRow = row;
}

void ZIVGridCore::loadSelectionFrom(const IdIndex &index)
{
    for (std::int32_t id : savedSelectionIds) {
        const auto found = index.find(id);
        if (found != index.end())
            found->second->select();
    }
}

// ---- filtering

bool ZIVGridCore::filtered() const
{
    return std::any_of(columns_.begin(), columns_.end(),
                       [](const auto &entry) { return entry.second->isFiltered(); });
}

bool ZIVGridCore::nothingToFilter() const
{
    return !filtered() && hiddenRows_.empty();
}

void ZIVGridCore::filterAndSort()
{
    if (nothingToFilter())
        sortNow();
    else
        filter();
}

void ZIVGridCore::filter()
{
    // Nothing to hide and nothing to bring back.
    if (nothingToFilter())
        return;
    // The number of the first filter (in column name order) that rejects each slot's row.
    std::vector<std::uint32_t> firstRejecting(static_cast<std::size_t>(rowsIssued_), 0);
    std::uint32_t filters = 0;
    for (const auto &entry : columns_)
        if (entry.second->isFiltered())
            entry.second->markRejected(firstRejecting, ++filters);

    // Work in the existing vectors: a filter runs at every refill.
    TZIVGridRows working;
    working.swap(rows_);
    working.insert(working.end(), hiddenRows_.begin(), hiddenRows_.end());
    hiddenRows_.clear();
    hiddenRows_.reserve(working.size());
    std::size_t kept = 0;
    for (ZIVGridRow *row : working) {
        if (firstRejecting[row->slot()] == 0)
            working[kept++] = row;
        else
            hiddenRows_.push_back(row);
    }
    working.resize(kept);
    rows_.swap(working);
    // Each filter's rejects follow those of the filters before it, in their former order.
    if (filters > 1)
        std::stable_sort(hiddenRows_.begin(), hiddenRows_.end(),
                         [&](const ZIVGridRow *a, const ZIVGridRow *b) {
                             return firstRejecting[a->slot()] < firstRejecting[b->slot()];
                         });
    if (sorted) {
        sortNow();
    } else {
        correctIndexes();
        Change();
    }
}

void ZIVGridCore::clearFilters()
{
    if (!filtered())
        return;
    for (auto &entry : columns_)
        entry.second->resetFilter();
    filter();
    invalidateView();
    onFiltersChanged();
}

// ---- what painting uses

void ZIVGridCore::setFont(const TFont &font)
{
    font_ = font;
    invalidateView();
}

void ZIVGridCore::setSelectionColor(TColor color)
{
    selectionColor = color;
    invalidateView();
}

void ZIVGridCore::setCellColor(TColor color)
{
    cellBrush_.color = color;
    invalidateView();
}

TCanvas &ZIVGridCore::canvas() const
{
    if (!canvas_)
        throw EInvalidPointer("The grid has no canvas to measure text on");
    return *canvas_;
}
