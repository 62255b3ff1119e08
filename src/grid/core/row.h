#pragma once

#include "Engine/datetime.h"
#include "Engine/kstring.h"
#include "grid/core/canvas.h"
#include "grid/core/column.h"
#include "grid/core/style.h"

#include <cstdint>
#include <string>

class ZIVGridCore;

// A row holds no values: its storage slot indexes the cells of every column.
class ZIVGridRow : public LazyStyle<srcGrid>
{
public:
    ZIVGridRow(ZIVGridCore &grid, std::int32_t slot) noexcept;
    ~ZIVGridRow();
    ZIVGridRow(const ZIVGridRow &) = delete;
    ZIVGridRow &operator=(const ZIVGridRow &) = delete;

    ZIVGridCore &grid() const { return *grid_; }
    // Position in the grid's display order, as of the last correctIndexes.
    int index() const { return index_; }
    std::int32_t slot() const { return slot_; }

    // Raises the grid's " No such column :  " error for an unknown name.
    ZIVGridCell &cell(const std::string &columnName) const;
    ZIVGridCell &cell(const ZIVGridColumn &column) const
    {
        return column.cellInBlock(block_, offset_);
    }

    ZIVGridCell &setString(const std::string &columnName, const std::string &value);
    ZIVGridCell &setInt(const std::string &columnName, std::int32_t value);
    ZIVGridCell &setLong(const std::string &columnName, std::int32_t value);
    ZIVGridCell &setDouble(const std::string &columnName, double value);
    ZIVGridCell &setDate(const std::string &columnName, TDateTime value);
    kstring getString(const std::string &columnName) const;
    std::int32_t getLong(const std::string &columnName) const;

    // The row's own objects; with srcGrid refreshed from the grid at every call.
    TFont &font();
    TBrush &brush();

    // Clones every cell into the cell of the same column name of `other`'s grid.
    void copyCellsTo(ZIVGridRow &other) const;

    // Adds to the selection and focuses; Change.
    void select();
    // Flips membership in the selection; the focus stays; Change.
    void toggleSelection();
    bool isSelected() const;
    bool isFocused() const;

private:
    friend class ZIVGridCore;

    ZIVGridCore *grid_;
    std::int32_t index_ = 0;
    std::int32_t slot_;
    // The slot split by the extent once, so that reaching a cell needs no division.
    std::int32_t block_, offset_;
};
