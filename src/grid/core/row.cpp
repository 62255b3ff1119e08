#include "grid/core/row.h"

#include "grid/core/grid_core.h"

ZIVGridRow::ZIVGridRow(ZIVGridCore &grid, std::int32_t slot) noexcept
    : grid_(&grid), slot_(slot), block_(slot / grid.extent()), offset_(slot % grid.extent())
{}

ZIVGridRow::~ZIVGridRow() = default;

ZIVGridCell &ZIVGridRow::cell(const std::string &columnName) const
{
    return cell(*grid_->getColumn(columnName, true));
}

ZIVGridCell &ZIVGridRow::setString(const std::string &columnName, const std::string &value)
{
    ZIVGridCell &target = cell(columnName);
    target.setString(value);
    return target;
}

ZIVGridCell &ZIVGridRow::setInt(const std::string &columnName, std::int32_t value)
{
    ZIVGridCell &target = cell(columnName);
    target.setInt(value);
    return target;
}

ZIVGridCell &ZIVGridRow::setLong(const std::string &columnName, std::int32_t value)
{
    ZIVGridCell &target = cell(columnName);
    target.setLong(value);
    return target;
}

ZIVGridCell &ZIVGridRow::setDouble(const std::string &columnName, double value)
{
    ZIVGridCell &target = cell(columnName);
    target.setDouble(value);
    return target;
}

ZIVGridCell &ZIVGridRow::setDate(const std::string &columnName, TDateTime value)
{
    ZIVGridCell &target = cell(columnName);
    target.setDate(value);
    return target;
}

kstring ZIVGridRow::getString(const std::string &columnName) const
{
    return cell(columnName).getString();
}

std::int32_t ZIVGridRow::getLong(const std::string &columnName) const
{
    return cell(columnName).getLong();
}

TFont &ZIVGridRow::font()
{
    return styledFont(
        [this](TStyleSource source) { return source == srcGrid ? &grid_->Font() : nullptr; });
}

TBrush &ZIVGridRow::brush()
{
    return styledBrush(
        [this](TStyleSource source) { return source == srcGrid ? &grid_->cellBrush() : nullptr; });
}

void ZIVGridRow::copyCellsTo(ZIVGridRow &other) const
{
    for (const auto &[name, column] : grid_->columns())
        cell(*column).cloneTo(other.cell(name));
}

void ZIVGridRow::select()
{
    grid_->GetSelectedRows().insert(this);
    grid_->SetFocusedRow(this);
    grid_->Change();
}

void ZIVGridRow::toggleSelection()
{
    TZIVGridSelectedRows &selection = grid_->GetSelectedRows();
    if (selection.erase(this) == 0)
        selection.insert(this);
    grid_->Change();
}

bool ZIVGridRow::isSelected() const
{
    return grid_->GetSelectedRows().count(const_cast<ZIVGridRow *>(this)) != 0;
}

bool ZIVGridRow::isFocused() const
{
    return grid_->GetFocusedRow() == this;
}
