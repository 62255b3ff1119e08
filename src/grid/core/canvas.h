#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Colours are 0x00BBGGRR values; a value with the top bit set names a system colour (its low
// byte is the system colour index) that the painting canvas resolves.
using TColor = std::uint32_t;

// A colour from its red, green and blue components.
constexpr TColor rgbColor(unsigned r, unsigned g, unsigned b)
{
    return r | g << 8 | b << 16;
}

constexpr TColor clBlack = 0x00000000;
constexpr TColor clRed = 0x000000FF;
constexpr TColor clWhite = 0x00FFFFFF;
constexpr TColor clMaroon = 0x00000080;
constexpr TColor clGray = rgbColor(128, 128, 128);
constexpr TColor clCream = rgbColor(255, 251, 240);
constexpr TColor clSkyBlue = rgbColor(166, 202, 240);
constexpr TColor clScrollBar = 0x80000000;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clHighlight = 0x8000000D;
constexpr TColor clHighlightText = 0x8000000E;
constexpr TColor clBtnFace = 0x8000000F;

constexpr bool isSystemColor(TColor color)
{
    return (color & 0x80000000u) != 0;
}

// Where a cell, row or column takes its font and brush from.
enum TStyleSource : std::uint8_t { srcOwn = 0, srcRow = 1, srcColumn = 2, srcGrid = 3 };

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TFont
{
    std::string name = "Tahoma";
    int size = 8; // points
    TColor color = clWindowText;
    std::uint8_t style = 0; // TFontStyle bits

    bool operator==(const TFont &) const = default;
};

enum TBrushStyle : std::uint8_t { bsSolid = 0, bsClear = 1 };

struct TBrush
{
    TColor color = clWhite;
    TBrushStyle style = bsSolid;

    bool operator==(const TBrush &) const = default;
};

// Edges as the platform's rectangles: right and bottom are just outside.
struct TRect
{
    int left = 0, top = 0, right = 0, bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const TRect &) const = default;
};

// Flags of a painted data cell.
enum TGridDrawStateFlag : unsigned { gdSelected = 1, gdFocused = 2 };
using TGridDrawState = unsigned;

// The surface the grid paints on. The current font, brush and pen are plain state that every
// drawing operation uses, as on the platform's canvas; an implementation reads them at each call.
class TCanvas
{
public:
    virtual ~TCanvas() = default;

    TFont font;
    TBrush brush;
    TColor penColor = clBlack;

    // Fills with the brush.
    virtual void fillRect(const TRect &rect) = 0;
    // A one-pixel outline in the brush colour.
    virtual void frameRect(const TRect &rect) = 0;
    // Text with the font, its top left corner at (x, y), clipped to `clip`.
    virtual void textRect(const TRect &clip, int x, int y, std::string_view text) = 0;
    virtual int textWidth(std::string_view text) = 0;
    // Lines with the pen.
    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;
};
