#include "grid/core/column.h"

#include "grid/core/grid_core.h"
#include "grid/core/row_sorter.h"

#include <algorithm>
#include <new>

namespace {

// Raw storage: the pages of a block stay untouched until its cells are made.
ZIVGridCell *allocateCells(int count)
{
    return static_cast<ZIVGridCell *>(::operator new(sizeof(ZIVGridCell) * count));
}

// The value of a cell that holds a number.
double numberIn(const ZIVGridCell &cell)
{
    const ZIVGridSortValue value = cell.sortValue();
    return value.kind == ZIVGridCell::DoubleCell ? value.real : value.integer;
}

} // namespace

ZIVGridColumn::ZIVGridColumn(ZIVGridCore &grid, std::string name, std::string caption,
                             TVisibility visibility, int position)
    : grid_(&grid), name_(std::move(name)), visibility_(visibility),
      declaredVisibility_(visibility), extent_(grid.extent()), caption_(std::move(caption)),
      position_(position), sortDefinition_(std::make_unique<ZIVGridRowSorter>(grid))
{}

ZIVGridColumn::~ZIVGridColumn()
{
    clearCells();
}

void ZIVGridColumn::setVisibility(TVisibility visibility)
{
    visibility_ = visibility;
    if (visibility == visible)
        grid_->showColumn(*this);
    else if (visibility == hidden || visibility == systemHidden)
        grid_->hideColumn(*this);
    grid_->Change();
}

TFont &ZIVGridColumn::font()
{
    if (!font_)
        font_ = std::make_unique<TFont>();
    if (fontSource_ == srcGrid)
        *font_ = grid_->Font();
    return *font_;
}

TBrush &ZIVGridColumn::brush()
{
    if (!brush_)
        brush_ = std::make_unique<TBrush>();
    if (brushSource_ == srcGrid)
        *brush_ = grid_->cellBrush();
    return *brush_;
}

void ZIVGridColumn::setExtent(int n)
{
    clearCells();
    extent_ = n;
}

void ZIVGridColumn::reserveCells()
{
    cellBlocks.push_back({allocateCells(extent_), 0});
}

void ZIVGridColumn::clearCells()
{
    for (CellBlock &block : cellBlocks) {
        std::destroy_n(block.cells, block.constructed);
        ::operator delete(block.cells);
    }
    cellBlocks.clear();
}

void ZIVGridColumn::createCell(std::int32_t slot)
{
    CellBlock &block = cellBlocks[slot / extent_];
    new (block.cells + slot % extent_) ZIVGridCell(*this, slot);
    ++block.constructed;
}

ZIVGridCell &ZIVGridColumn::cellAtRow(int displayIndex) const
{
    return cellAtSlot(grid_->getRow(displayIndex, true)->slot());
}

int ZIVGridColumn::dataWidth() const
{
    int widest = 0;
    bool unusedCells = false;
    for (const CellBlock &block : cellBlocks) {
        for (int i = 0; i < block.constructed; ++i)
            widest = std::max(widest, block.cells[i].dataWidth());
        unusedCells = unusedCells || block.constructed < extent_;
    }
    // Cells not handed out yet are empty: they measure as the empty text.
    if (unusedCells)
        widest = std::max(widest, grid_->canvas().textWidth("") + 7);
    return widest;
}

void ZIVGridColumn::setFilter(const std::string &text)
{
    if (text == filterText_)
        return;
    const bool exclusive = !text.empty() && text.front() == '!';
    const std::string pattern = exclusive ? text.substr(1) : text;
    // Compile first, so an invalid pattern leaves the column's filter as it was.
    TMask mask(pattern + "*");
    filterText_ = text;
    filterInclusive_ = !exclusive;
    filterMask = std::move(mask);
    comparison = TNumberFilter::parse(pattern);
    grid_->filter();
    grid_->invalidateView();
    grid_->onFiltersChanged();
}

void ZIVGridColumn::resetFilter()
{
    filterText_.clear();
    filterInclusive_ = true;
    filterMask = TMask();
    comparison.reset();
}

bool ZIVGridColumn::isFiltered() const
{
    return !filterText_.empty() && filterText_ != "*";
}

bool ZIVGridColumn::rejects(const ZIVGridRow &row) const
{
    return rejectsCell(row.cell(*this), comparesNumbers());
}

bool ZIVGridColumn::holdsNumbers() const
{
    bool numbers = true, filled = false;
    forEachCell([&](const ZIVGridCell &cell) {
        const ZIVGridCell::TKind kind = cell.kind();
        if (kind == ZIVGridCell::EmptyCell)
            return;
        filled = true;
        numbers = numbers && kind >= ZIVGridCell::IntCell && kind <= ZIVGridCell::DoubleCell;
    });
    return filled && numbers;
}

void ZIVGridColumn::markRejected(std::vector<std::uint32_t> &firstRejecting,
                                 std::uint32_t number) const
{
    const bool compareNumbers = comparesNumbers();
    forEachCell([&](const ZIVGridCell &cell) {
        std::uint32_t &mark = firstRejecting[cell.slot()];
        if (mark == 0 && rejectsCell(cell, compareNumbers))
            mark = number;
    });
}

bool ZIVGridColumn::rejectsCell(const ZIVGridCell &cell, bool compareNumbers) const
{
    bool matches;
    if (compareNumbers) // an empty cell has no number to compare
        matches = !cell.isEmpty() && comparison->accepts(numberIn(cell));
    else if (cell.kind() == ZIVGridCell::StringCell)
        matches = filterMask.matches(cell.textView());
    else
        matches = filterMask.matches(cell.asString());
    return matches != filterInclusive_;
}
