#pragma once

#include "grid/core/canvas.h"
#include "grid/core/cell.h"
#include "grid/core/column.h"
#include "grid/core/row.h"
#include "grid/core/row_sorter.h"

#include <pugixml.hpp>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Orders rows by storage slot: the iteration order of a selection.
struct ZIVGridRowSlotOrder
{
    bool operator()(const ZIVGridRow *a, const ZIVGridRow *b) const
    {
        return a->slot() < b->slot();
    }
};

using TZIVGridColumns = std::map<std::string, std::unique_ptr<ZIVGridColumn>>;
using TZIVGridVisibleColumns = std::vector<ZIVGridColumn *>;
using TZIVGridRows = std::vector<ZIVGridRow *>;
using TZIVGridSelectedRows = std::set<ZIVGridRow *, ZIVGridRowSlotOrder>;
using TSelectedRows = std::vector<ZIVGridRow *>;
using TSavedSelectionIds = std::vector<std::int32_t>;

class ZIVGridCore;
// Replaces the whole comparison: leave `greater` true when row1 sorts before row2.
using TZIVGridCompareEvent =
    std::function<void(ZIVGridCore &sender, ZIVGridRow &row1, ZIVGridRow &row2, bool &greater)>;
// Replaces the comparison of one key's cells: leave `greater` true when row1 ranks above row2.
using TZIVGridCompareByColumnEvent = std::function<void(
    ZIVGridCore &sender, ZIVGridRow &row1, ZIVGridRow &row2, ZIVGridColumn &column, bool &greater)>;

// The grid's whole model, free of any toolkit: columns from header lines, the row store, focus
// and selection, the update bracket, sorting, filtering, settings in XML and the data that cell
// painting needs. A view derives from it and overrides Change (and invalidateView) to follow.
class ZIVGridCore
{
public:
    static constexpr int atEnd = -1974;
    static constexpr int defaultExtent = 10000;

    ZIVGridCore();
    virtual ~ZIVGridCore();
    ZIVGridCore(const ZIVGridCore &) = delete;
    ZIVGridCore &operator=(const ZIVGridCore &) = delete;

    // ---- columns and header lines
    // Each line: name[;caption;flag] with flag h (hidden), s (system hidden), other (visible).
    void SetHeaders(const std::vector<std::string> &lines);
    const std::vector<std::string> &GetHeaders() const { return headers; }
    // The header lines as one text; assigning rebuilds the columns.
    void SetHeadersString(const std::string &text);
    const std::string &GetHeadersString() const { return headersString; }
    ZIVGridColumn &addColumn(const std::string &name, const std::string &caption,
                             ZIVGridColumn::TVisibility visibility, int position = -1);
    virtual void removeStructure();
    void clearColumns();
    // Null for an unknown name unless `raise`, which raises ERangeError " No such column :  ".
    ZIVGridColumn *getColumn(const std::string &name, bool raise) const;
    void showColumn(ZIVGridColumn &column);
    void hideColumn(ZIVGridColumn &column);
    void correctVisibleColumnIndexes();
    const TZIVGridColumns &columns() const { return columns_; }
    const TZIVGridVisibleColumns &visibleColumns() const { return visibleColumns_; }

    // ---- row store
    void setExtent(int n);
    int extent() const { return extent_; }
    virtual void removeData();
    void clear();
    // Appends at atEnd, else inserts before `position` (0..rowNum, else ERangeError).
    ZIVGridRow &addRow(int position = atEnd);
    // atEnd = last row; outside the rows null, or ERangeError "Invalid index" when `raise`.
    ZIVGridRow *getRow(int index, bool raise = false) const;
    int rowNum() const { return static_cast<int>(rows_.size()); }
    // Rows in view and rows the filters hide: what "12 of 25 shown" counts as 25.
    int totalRowCount() const { return static_cast<int>(rows_.size() + hiddenRows_.size()); }
    // Alternating column names and texts; the first row in view whose cells show exactly those
    // texts. An odd count raises the pairing error.
    ZIVGridRow *getRowByValues(std::initializer_list<std::string_view> namesAndValues) const;
    ZIVGridRow *getRowByValues(const std::vector<std::string> &namesAndValues) const;
    void correctIndexes();
    void removeRow(ZIVGridRow &row, bool correct);
    void removeSelectedRows();
    void copySelectedRows(ZIVGridCore &target) const;
    void moveSelectedRows(ZIVGridCore &target);
    // Rows in view, in display order, and rows taken out by the filters.
    const TZIVGridRows &rows() const { return rows_; }
    const TZIVGridRows &hiddenRows() const { return hiddenRows_; }
    int rowsIssued() const { return rowsIssued_; }
    ZIVGridRow &rowAtSlot(std::int32_t slot) const
    {
        return rowBlocks[slot / extent_][slot % extent_];
    }

    // ---- focus and selection
    void SetFocusedRow(ZIVGridRow *row) { focusedRow = row; }
    ZIVGridRow *GetFocusedRow() const { return focusedRow; }
    // Focuses the row whose "id" shows `id`; no selection, no refresh.
    ZIVGridRow *focusRowById(std::int32_t id);
    void selectFocusedRow();
    void selectAllRows();
    TZIVGridSelectedRows &GetSelectedRows() { return selectedRows; }
    const TZIVGridSelectedRows &GetSelectedRows() const { return selectedRows; }
    // The selected rows in display order.
    void getSelectedRows(TSelectedRows &list) const;

    // ---- update bracket and refresh
    // Suspends refreshes and remembers focus and selection by "id".
    void beginUpdate();
    // Refreshes and finds the remembered focus and selection again.
    void endUpdate();
    bool updatesEnabled() const { return updatesEnabled_; }
    // Refresh entry point of the view; the model calls it after every change. A view sets its
    // row count to viewRowCount() and column count to viewColumnCount() and repaints, but only
    // while updatesEnabled().
    virtual void Change() {}
    // Change, but not while an update is open: a rebuild inside a bracket refreshes once, at
    // its end, and does not pay for a call per row or cell.
    void changed()
    {
        ++dataVersion_;
        if (updatesEnabled_)
            Change();
    }
    // Grows with every change of a cell and of the row store: what a cache of values derived
    // from the cells compares to know it is still right.
    std::uint64_t dataVersion() const { return dataVersion_; }
    // Repaint without a change of counts (colours, filter marks).
    virtual void invalidateView() {}
    int viewRowCount() const { return 1 + (rows_.empty() ? 1 : rowNum()); }
    int viewColumnCount() const { return static_cast<int>(visibleColumns_.size()); }
    void savePosition();
    void loadPosition();
    void saveSelection();
    void loadSelection();

    // ---- sorting
    bool GetSorted() const { return sorted; }
    void SetSorted(bool value) { sorted = value; }
    ZIVGridRowSorter &sorter() { return *sorter_; }
    const ZIVGridRowSorter &sorter() const { return *sorter_; }
    // Stable sort of the rows in view by the keys in force; nothing when not Sorted.
    void sortNow();
    // Sets the keys from the column (its sort definition or the column alone); does not sort.
    void SortByColumn(ZIVGridColumn &column);
    // The effects of header clicks and header-menu items (nothing when not Sorted).
    void headerClick(ZIVGridColumn &column, bool addKey);
    void menuSortClear();
    void menuSortAddThisColumn(ZIVGridColumn &column);
    void menuSortRemoveThisColumn(ZIVGridColumn &column);
    void menuSortAddColumn(ZIVGridColumn &column);
    TZIVGridCompareEvent OnCompare;
    TZIVGridCompareByColumnEvent OnCompareByColumn;

    // ---- filtering
    // Any column, shown or not, with an active filter.
    bool filtered() const;
    // Re-applies every filter to every row, then sorts.
    void filter();
    // Every column's filter off at once, with one filtering.
    void clearFilters();
    // Called after a column's filter changed, all filters were cleared or settings imported.
    virtual void onFiltersChanged() {}
    // What a refill ends with: the filters, and the order when the grid is sorted. The order is
    // made once, also when there is nothing to filter, where `filter` stops before it sorts.
    void filterAndSort();

    // ---- what cell painting uses
    TFont &Font() { return font_; }
    const TFont &Font() const { return font_; }
    void setFont(const TFont &font);
    const TBrush &cellBrush() const { return cellBrush_; }
    TColor GetSelectionColor() const { return selectionColor; }
    void setSelectionColor(TColor color);
    TColor GetCellColor() const { return cellBrush_.color; }
    void setCellColor(TColor color);
    bool GetSmartDrawingSelection() const { return smartDrawingSelection; }
    void SetSmartDrawingSelection(bool value) { smartDrawingSelection = value; }
    bool GetGroupShowing() const { return groupShowing; }
    void SetGroupShowing(bool value) { groupShowing = value; }
    const std::string &GetSameString() const { return sameString; }
    void SetSameString(const std::string &text) { sameString = text; }
    // The canvas that measures text widths (dataWidth); the view provides it.
    void setCanvas(TCanvas *canvas) { canvas_ = canvas; }
    TCanvas &canvas() const;

    // ---- settings in XML
    // The component name the settings element is matched by; a view may answer its own.
    virtual std::string componentName() const { return name_; }
    void setComponentName(const std::string &name) { name_ = name; }
    void exportSettingsToXML(pugi::xml_node parent) const;
    void importSettingsFromXML(pugi::xml_node parent);
    void importSettingsFromXML();
    bool hasXML() const { return !settings.document_element().empty(); }
    // Called after settings were applied, so a view can show the imported widths at once.
    virtual void settingsImported() {}

private:
    // First row in display order whose "id" cell shows each of some ids.
    using IdIndex = std::unordered_map<std::int32_t, ZIVGridRow *>;

    void buildColumnsFromHeaders();
    void addHeaderLine(const std::string &line);
    ZIVGridRow *findRowByValues(const std::string_view *namesAndValues, std::size_t count) const;
    IdIndex indexIds(const ZIVGridColumn &idColumn, const std::vector<std::int32_t> &ids) const;
    std::vector<std::int32_t> positionIds() const;
    void loadPositionFrom(const IdIndex &index);
    void loadSelectionFrom(const IdIndex &index);
    void resortInBracket();
    bool nothingToFilter() const;
    void forgetSavedIds();
    void freeRowBlocks();
    // Opens a new block of rows; only when the newest one is full, or the slots of the rows
    // in it would no longer tell their block.
    void reserveNewRows();
    void reserveCellsForIssuedRows(ZIVGridColumn &column) const;

    ZIVGridRow *focusedRow = nullptr;
    TZIVGridSelectedRows selectedRows;
    std::int32_t rowsIssued_ = 0;
    std::int32_t savedFocusId = -1, savedPrevId = -1, savedNextId = -1;
    TSavedSelectionIds savedSelectionIds;
    std::string headersString;
    std::string sameString;
    bool sorted = true;
    std::vector<std::string> headers;
    TColor selectionColor = clHighlight;
    TBrush cellBrush_;
    TFont font_;
    // A copy of the element last imported: the caller's document may be gone by the time
    // the settings are applied again.
    pugi::xml_document settings;
    bool groupShowing = false;
    TZIVGridColumns columns_;
    TZIVGridRows rows_;
    TZIVGridRows hiddenRows_;
    TZIVGridVisibleColumns visibleColumns_;
    int extent_ = defaultExtent;
    // Raw storage for `extent` rows each; rows are made as they are handed out.
    std::vector<ZIVGridRow *> rowBlocks;
    int usedInBlock = 0;
    bool updatesEnabled_ = true;
    bool smartDrawingSelection = false;
    std::unique_ptr<ZIVGridRowSorter> sorter_;
    TCanvas *canvas_ = nullptr;
    std::string name_;
    std::uint64_t dataVersion_ = 0;
};
