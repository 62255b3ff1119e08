#pragma once

#include "grid/core/canvas.h"
#include "grid/core/cell.h"
#include "grid/core/mask.h"
#include "grid/core/number_filter.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pugi {
class xml_node;
}

class ZIVGridCore;
class ZIVGridRow;
class ZIVGridRowSorter;

// One declared column: its name, caption, visibility, remembered width, style, filter, own
// sort definition and the cells of every row, kept in blocks of `extent` cells.
class ZIVGridColumn
{
public:
    enum TVisibility : int { visible = 0, hidden = 1, systemHidden = 2 };

    ZIVGridColumn(ZIVGridCore &grid, std::string name, std::string caption, TVisibility visibility,
                  int position);
    virtual ~ZIVGridColumn();
    ZIVGridColumn(const ZIVGridColumn &) = delete;
    ZIVGridColumn &operator=(const ZIVGridColumn &) = delete;

    ZIVGridCore &grid() const { return *grid_; }
    const std::string &name() const { return name_; }
    const std::string &caption() const { return caption_; }
    TVisibility visibility() const { return visibility_; }
    // The visibility the header line declared; what the settings remember is the difference.
    TVisibility declaredVisibility() const { return declaredVisibility_; }
    int position() const { return position_; }
    // Index among the visible columns; meaningful while the column is visible.
    int visibleIndex() const { return visibleIndex_; }
    int size() const { return size_; }
    int extent() const { return extent_; }
    // What the header's tooltip says about the column; empty for none.
    const std::string &hint() const { return hint_; }
    void setHint(std::string text) { hint_ = std::move(text); }

    // Shows or hides the column in the grid, then the grid's Change.
    void setVisibility(TVisibility visibility);
    void setSize(int width) { size_ = width; }

    TStyleSource fontSource() const { return fontSource_; }
    TStyleSource brushSource() const { return brushSource_; }
    void setFontSource(TStyleSource source) { fontSource_ = source; }
    void setBrushSource(TStyleSource source) { brushSource_ = source; }
    // The column's own objects; with srcGrid refreshed from the grid at every call.
    TFont &font();
    TBrush &brush();

    // Cell storage, indexed by the rows' storage slots.
    void setExtent(int n);
    void reserveCells();
    void clearCells();
    // The cell of the row with this slot; the row must have been handed out.
    ZIVGridCell &cellAtSlot(std::int32_t slot) const
    {
        return cellInBlock(slot / extent_, slot % extent_);
    }
    ZIVGridCell &cellInBlock(std::int32_t block, std::int32_t offset) const
    {
        return cellBlocks[block].cells[offset];
    }
    // The cell in the row at this display index (raises "Invalid index").
    ZIVGridCell &cellAtRow(int displayIndex) const;
    // Visits every cell of a handed-out row, in storage order (kind to the caches).
    template <typename Visit> void forEachCell(Visit visit) const
    {
        for (const CellBlock &block : cellBlocks)
            for (int i = 0; i < block.constructed; ++i)
                visit(block.cells[i]);
    }
    // Makes the fresh cell of a newly handed-out slot.
    void createCell(std::int32_t slot);
    // Widest cell text with margin, over every cell of the reserved blocks; 0 without blocks.
    int dataWidth() const;

    // Filtering. An invalid pattern raises EMaskException and changes nothing. A text that
    // reads as a comparison (">=7", "6..8") compares the numbers when every filled cell of the
    // column holds one; otherwise, and in every other case, the text is a mask.
    void setFilter(const std::string &text);
    const std::string &filterText() const { return filterText_; }
    bool filterInclusive() const { return filterInclusive_; }
    bool isFiltered() const;
    bool rejects(const ZIVGridRow &row) const;
    // Every filled cell holds an integer or a floating number, and at least one is filled.
    bool holdsNumbers() const;
    // Sets firstRejecting[slot] = number for every row not yet marked that this filter rejects.
    void markRejected(std::vector<std::uint32_t> &firstRejecting, std::uint32_t number) const;

    // Keys to apply when this column's header is clicked; normally empty.
    ZIVGridRowSorter &sortDefinition() const { return *sortDefinition_; }

    void exportSettings(pugi::xml_node gridElement) const;
    void importSettings(pugi::xml_node gridElement);
    // Shows or hides the column as its element's "Visible" says, when it says anything.
    void importVisibility(pugi::xml_node gridElement);

private:
    friend class ZIVGridCore;

    // Raw storage for `extent` cells; only the first `constructed` are live, so the memory of
    // a block is touched only as its rows are handed out.
    struct CellBlock
    {
        ZIVGridCell *cells;
        int constructed;
    };

    void setVisibleIndex(int index) { visibleIndex_ = index; }
    // This column's "Column" element among the grid element's children; null when none.
    pugi::xml_node settingsElement(pugi::xml_node gridElement) const;
    // No filter, without filtering again: the grid clears all filters at once.
    void resetFilter();
    bool rejectsCell(const ZIVGridCell &cell, bool compareNumbers) const;
    // Whether a comparison filter compares numbers now, decided once per filtering.
    bool comparesNumbers() const { return comparison.has_value() && holdsNumbers(); }

    ZIVGridCore *grid_;
    std::string name_;
    TVisibility visibility_;
    TVisibility declaredVisibility_;
    int extent_;
    int size_ = 0;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TBrush> brush_;
    TStyleSource fontSource_ = srcGrid;
    TStyleSource brushSource_ = srcGrid;
    std::vector<CellBlock> cellBlocks;
    TMask filterMask;
    std::optional<TNumberFilter> comparison;
    std::string hint_;
    std::string caption_;
    std::string filterText_;
    bool filterInclusive_ = true;
    int position_;
    int visibleIndex_ = -1;
    std::unique_ptr<ZIVGridRowSorter> sortDefinition_;
};
