#pragma once

#include "grid/core/canvas.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPalette>
#include <QPoint>
#include <optional>

class QPainter;

// Resolves a grid colour: plain 0x00BBGGRR values directly, system colours (top bit set,
// classic system colour index in the low byte) through the palette.
QColor toQColor(TColor color, const QPalette &palette);

// The grid's canvas on a QPainter. Without a painter it only measures text, which the grid
// needs outside painting (fitting columns to their data).
class QtCanvas : public TCanvas
{
public:
    QtCanvas(QPainter *painter, const QPalette &palette);

    void fillRect(const TRect &rect) override;
    void frameRect(const TRect &rect) override;
    void textRect(const TRect &clip, int x, int y, std::string_view text) override;
    int textWidth(std::string_view text) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;

    // The Qt font that the canvas font stands for.
    const QFont &qFont();

private:
    QColor color(TColor value) const { return toQColor(value, palette); }
    const QFontMetrics &metrics();

    QPainter *painter;
    QPalette palette;
    QPoint penPosition;
    // The conversion of the last font used; most cells share one font.
    TFont convertedFont;
    QFont converted;
    std::optional<QFontMetrics> convertedMetrics;
    bool fontValid = false;
};
