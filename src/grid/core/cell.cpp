#include "grid/core/cell.h"

#include "Engine/convert.h"
#include "Engine/errors.h"
#include "grid/core/grid_core.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

// ---- CellText

void CellText::clearBytes() noexcept
{
    std::memset(bytes, 0, sizeof bytes);
}

void CellText::release() noexcept
{
    if (!onHeap())
        return;
    char *heap;
    std::memcpy(&heap, bytes, sizeof heap);
    delete[] heap;
    clearBytes();
}

void CellText::assign(std::string_view text)
{
    if (text.size() > std::numeric_limits<std::uint32_t>::max())
        throw ERangeError("Text too long for a grid cell");
    // Build the new representation first: `text` may view this very storage.
    unsigned char fresh[sizeof bytes] = {};
    if (text.size() <= inlineCapacity) {
        std::memcpy(fresh, text.data(), text.size());
        fresh[inlineCapacity] = static_cast<unsigned char>(text.size());
    } else {
        char *heap = new char[text.size()];
        std::memcpy(heap, text.data(), text.size());
        const auto size = static_cast<std::uint32_t>(text.size());
        std::memcpy(fresh, &heap, sizeof heap);
        std::memcpy(fresh + sizeof heap, &size, sizeof size);
        fresh[inlineCapacity] = heapFlag;
    }
    release();
    std::memcpy(bytes, fresh, sizeof bytes);
}

// ---- ZIVGridCell

namespace {

std::string dateTimeToString(TDateTime value)
{
    // A cell is painted, sorted and filtered by its text, so it says so instead of raising.
    if (!isShowableDateTime(value))
        return "(date out of range)";
    const DateTimeParts parts = decodeDateTime(value);
    if (value < 1.0)
        return timeText(parts);
    if (value == std::floor(value))
        return dateText(parts);
    return dateText(parts) + " " + timeText(parts);
}

// A light tint of a text colour, readable on the selection colour.
TColor tinted(TColor color)
{
    TColor result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const TColor c = (color >> shift) & 0xFF;
        result |= (c < 64 ? c + 192 : 255) << shift;
    }
    return result;
}

} // namespace

ZIVGridCell::ZIVGridCell(ZIVGridColumn &column, std::int32_t slot) noexcept
    : value_{0}, column_(&column), slot_(slot)
{}

ZIVGridCell::~ZIVGridCell() = default;

ZIVGridRow &ZIVGridCell::row() const
{
    return column_->grid().rowAtSlot(slot_);
}

ZIVGridCore &ZIVGridCell::grid() const
{
    return column_->grid();
}

void ZIVGridCell::changed()
{
    grid().changed();
}

void ZIVGridCell::setString(const char *text)
{
    setString(std::string(text ? text : ""));
}

void ZIVGridCell::setString(const std::string &text)
{
    text_.assign(text);
    kind_ = StringCell;
    changed();
}

void ZIVGridCell::setInt(std::int32_t value)
{
    value_.integer = value;
    kind_ = IntCell;
    changed();
}

void ZIVGridCell::setLong(std::int32_t value)
{
    value_.integer = value;
    kind_ = LongCell;
    changed();
}

void ZIVGridCell::setDouble(double value)
{
    value_.real = value;
    kind_ = DoubleCell;
    changed();
}

void ZIVGridCell::setDate(TDateTime value)
{
    value_.real = value;
    kind_ = DateCell;
    changed();
}

void ZIVGridCell::checkKind(TKind expected, const char *message) const
{
    if (kind_ == EmptyCell)
        throw EInvalidPointer("This cell is empty");
    if (kind_ != expected)
        throw EInvalidCast(message);
}

kstring ZIVGridCell::getString() const
{
    checkKind(StringCell, "This cell is not a StringCell");
    return kstring(std::string(text_.view()));
}

std::int32_t ZIVGridCell::getInt() const
{
    checkKind(IntCell, "This cell is not an IntCell");
    return value_.integer;
}

std::int32_t ZIVGridCell::getLong() const
{
    checkKind(LongCell, "This cell is not a LongCell");
    return value_.integer;
}

double ZIVGridCell::getDouble() const
{
    checkKind(DoubleCell, "This cell is not a DoubleCell");
    return value_.real;
}

TDateTime ZIVGridCell::getDate() const
{
    checkKind(DateCell, "This cell is not a DateCell");
    return value_.real;
}

std::string ZIVGridCell::asString() const
{
    switch (kind_) {
    case IntCell:
    case LongCell:
        return std::to_string(value_.integer);
    case DoubleCell:
        return floatToStr(value_.real);
    case StringCell:
        return std::string(text_.view());
    case DateCell:
        return dateTimeToString(value_.real);
    case EmptyCell:
        break;
    }
    return {};
}

void ZIVGridCell::cloneTo(ZIVGridCell &target) const
{
    switch (kind_) {
    case EmptyCell:
        target.kind_ = EmptyCell;
        return;
    case IntCell:
        target.setInt(value_.integer);
        return;
    case LongCell:
        target.setLong(value_.integer);
        return;
    case DoubleCell:
        target.setDouble(value_.real);
        return;
    case StringCell:
        target.setString(std::string(text_.view()));
        return;
    case DateCell:
        target.setDate(value_.real);
        return;
    }
    throw Exception("clone with missing cell type");
}

TFont &ZIVGridCell::font()
{
    return styledFont([this](TStyleSource source) -> const TFont * {
        if (source == srcRow)
            return &row().font();
        return source == srcColumn ? &column_->font() : nullptr;
    });
}

TBrush &ZIVGridCell::brush()
{
    return styledBrush([this](TStyleSource source) -> const TBrush * {
        if (source == srcRow)
            return &row().brush();
        return source == srcColumn ? &column_->brush() : nullptr;
    });
}

void ZIVGridCell::draw(TCanvas &canvas, const TRect &rect, TGridDrawState state)
{
    canvas.font = font();
    canvas.brush = brush();
    if (state & gdSelected) {
        const ZIVGridCore &owner = grid();
        canvas.brush.color = owner.GetSelectionColor();
        if (owner.GetSmartDrawingSelection() && canvas.font.color != clWindowText)
            canvas.font.color = tinted(canvas.font.color);
        else
            canvas.font.color = clHighlightText;
    }
    canvas.fillRect(rect);
    drawText(canvas, rect, state);
}

void ZIVGridCell::drawText(TCanvas &canvas, const TRect &rect, TGridDrawState)
{
    const std::string text = isTextShown() ? asString() : grid().GetSameString();
    int x = rect.left + 5;
    if (isNumeric())
        x = std::max(x, rect.right - canvas.textWidth(text) - 5);
    canvas.textRect(rect, x, rect.top + 1, text);
}

int ZIVGridCell::dataWidth()
{
    TCanvas &canvas = grid().canvas();
    canvas.font = font();
    return canvas.textWidth(asString()) + 7;
}

bool ZIVGridCell::isTextShown()
{
    const ZIVGridCore &owner = grid();
    const int rowIndex = row().index();
    if (!owner.GetGroupShowing() || rowIndex == 0)
        return true;
    const TZIVGridVisibleColumns &shown = owner.visibleColumns();
    const int left = column_->visibleIndex() - 1;
    if (left >= 0 && left + 1 < static_cast<int>(shown.size()) && shown[left + 1] == column_ &&
        shown[left]->cellAtSlot(slot_).isTextShown())
        return true;
    return asString() != column_->cellAtRow(rowIndex - 1).asString();
}
