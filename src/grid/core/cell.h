#pragma once

#include "Engine/datetime.h"
#include "Engine/kstring.h"
#include "grid/core/canvas.h"
#include "grid/core/style.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

class ZIVGridColumn;
class ZIVGridRow;
class ZIVGridCore;

// A cell's value as sorting compares it, detached from the cell so that a sort can gather the
// keys of all rows first. A text value views the cell's storage.
struct ZIVGridSortValue
{
    union {
        std::int32_t integer;
        double real;
        const char *text;
    };
    std::uint32_t length;
    std::uint8_t kind; // ZIVGridCell::TKind

    // Kinds by number, empty values first, numbers by value (true when either is not a
    // number), texts byte-wise.
    bool lessOrEqual(const ZIVGridSortValue &other) const;
    // -1: this sorts before other, 1: after, 0: a tie.
    int order(const ZIVGridSortValue &other) const;
};

// The text of a cell in 16 bytes: up to 15 bytes inline, longer texts on the heap. All zero
// bytes are the empty text, so a block of fresh cells costs no text storage at all.
class CellText
{
public:
    CellText() noexcept { clearBytes(); }
    ~CellText() { release(); }
    CellText(const CellText &) = delete;
    CellText &operator=(const CellText &) = delete;

    void assign(std::string_view text);
    std::string_view view() const noexcept
    {
        if (!onHeap())
            return {reinterpret_cast<const char *>(bytes), bytes[inlineCapacity]};
        const char *heap;
        std::uint32_t size;
        std::memcpy(&heap, bytes, sizeof heap);
        std::memcpy(&size, bytes + sizeof heap, sizeof size);
        return {heap, size};
    }

private:
    static constexpr std::size_t inlineCapacity = 15;
    static constexpr unsigned char heapFlag = 0x80;

    bool onHeap() const noexcept { return (bytes[inlineCapacity] & heapFlag) != 0; }
    void clearBytes() noexcept;
    void release() noexcept;

    // Inline: bytes 0..14 hold the text, byte 15 its length. Heap: pointer and 32-bit size in
    // the first 12 bytes, byte 15 = heapFlag.
    unsigned char bytes[16];
};

// One value of one row in one column. Cells are made and destroyed only by their column, in
// blocks; a cell knows its column and its row's storage slot.
class ZIVGridCell : public LazyStyle<srcRow>
{
public:
    enum TKind : std::uint8_t {
        EmptyCell = 0,
        IntCell = 1,
        LongCell = 2,
        DoubleCell = 3,
        StringCell = 4,
        DateCell = 5
    };

    ZIVGridCell(ZIVGridColumn &column, std::int32_t slot) noexcept;
    ~ZIVGridCell();
    ZIVGridCell(const ZIVGridCell &) = delete;
    ZIVGridCell &operator=(const ZIVGridCell &) = delete;

    TKind kind() const { return kind_; }
    bool isEmpty() const { return kind_ == EmptyCell; }

    // Each setter ends with the grid's Change.
    void setString(const char *text);
    void setString(const std::string &text);
    void setInt(std::int32_t value);
    void setLong(std::int32_t value);
    void setDouble(double value);
    void setDate(TDateTime value);

    kstring getString() const;
    std::int32_t getInt() const;
    std::int32_t getLong() const;
    double getDouble() const;
    TDateTime getDate() const;

    // The text form of any kind; never fails.
    std::string asString() const;
    // The stored text of a StringCell without a copy (empty for other kinds).
    std::string_view textView() const { return text_.view(); }

    // Copies the value (not the style) through the target's setters.
    void cloneTo(ZIVGridCell &target) const;

    ZIVGridSortValue sortValue() const;
    // Order used by sorting: kinds by number, empty cells first, texts byte-wise.
    bool lessOrEqual(const ZIVGridCell &other) const
    {
        return sortValue().lessOrEqual(other.sortValue());
    }
    bool less(const ZIVGridCell &other) const { return !other.lessOrEqual(*this); }
    bool greater(const ZIVGridCell &other) const { return other.less(*this); }

    // The cell's own objects, refreshed from the row or column at every call unless srcOwn.
    TFont &font();
    TBrush &brush();

    void draw(TCanvas &canvas, const TRect &rect, TGridDrawState state);
    void drawText(TCanvas &canvas, const TRect &rect, TGridDrawState state);
    // Width in pixels the text needs on the grid's canvas, with 7 pixels of margin.
    int dataWidth();
    // False when GroupShowing blanks this value as a repeat of the row above.
    bool isTextShown();

    ZIVGridColumn &column() const { return *column_; }
    ZIVGridRow &row() const;
    ZIVGridCore &grid() const;
    std::int32_t slot() const { return slot_; }

private:
    void changed();
    void checkKind(TKind expected, const char *message) const;
    bool isNumeric() const { return kind_ >= IntCell && kind_ <= DoubleCell; }

    union {
        std::int32_t integer;
        double real; // DoubleCell and DateCell
    } value_;
    CellText text_;
    ZIVGridColumn *column_;
    std::int32_t slot_;
    TKind kind_ = EmptyCell;
};

inline bool ZIVGridSortValue::lessOrEqual(const ZIVGridSortValue &other) const
{
    if (kind != other.kind && kind != ZIVGridCell::EmptyCell &&
        other.kind != ZIVGridCell::EmptyCell)
        return kind < other.kind;
    if (kind == ZIVGridCell::EmptyCell)
        return true;
    if (other.kind == ZIVGridCell::EmptyCell)
        return false;
    switch (kind) {
    case ZIVGridCell::IntCell:
    case ZIVGridCell::LongCell:
        return integer <= other.integer;
    case ZIVGridCell::StringCell:
        // string_view compares as unsigned bytes, ignoring case and locale.
        return std::string_view(text, length) <= std::string_view(other.text, other.length);
    default: // DoubleCell, DateCell
        return !(real > other.real);
    }
}

inline ZIVGridSortValue ZIVGridCell::sortValue() const
{
    ZIVGridSortValue value;
    value.kind = kind_;
    value.length = 0;
    if (kind_ == StringCell) {
        const std::string_view view = text_.view();
        value.text = view.data();
        value.length = static_cast<std::uint32_t>(view.size());
    } else if (kind_ == DoubleCell || kind_ == DateCell) {
        value.real = value_.real;
    } else {
        value.integer = value_.integer;
    }
    return value;
}

// Both directions of lessOrEqual at once.
inline int ZIVGridSortValue::order(const ZIVGridSortValue &other) const
{
    if (kind != other.kind) {
        if (kind == ZIVGridCell::EmptyCell)
            return -1;
        if (other.kind == ZIVGridCell::EmptyCell)
            return 1;
        return kind < other.kind ? -1 : 1;
    }
    switch (kind) {
    case ZIVGridCell::EmptyCell:
        return 0;
    case ZIVGridCell::IntCell:
    case ZIVGridCell::LongCell:
        return (integer > other.integer) - (integer < other.integer);
    case ZIVGridCell::StringCell: {
        const int result =
            std::string_view(text, length).compare(std::string_view(other.text, other.length));
        return (result > 0) - (result < 0);
    }
    default: // DoubleCell, DateCell: a value that is not a number ties with anything
        return (real > other.real) - (real < other.real);
    }
}
