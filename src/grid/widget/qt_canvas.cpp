#include "grid/widget/qt_canvas.h"
#include "qt_text/qt_text.h"

#include <QPainter>
#include <QString>
#include <array>
#include <utility>

namespace {

// The classic system colour indices, in order, and the palette roles that play their part.
constexpr std::array<QPalette::ColorRole, 25> systemRoles = {
    QPalette::Button,          // 0 scroll bar
    QPalette::Window,          // 1 desktop
    QPalette::Highlight,       // 2 active caption
    QPalette::Mid,             // 3 inactive caption
    QPalette::Window,          // 4 menu
    QPalette::Base,            // 5 window
    QPalette::Shadow,          // 6 window frame
    QPalette::WindowText,      // 7 menu text
    QPalette::Text,            // 8 window text
    QPalette::HighlightedText, // 9 caption text
    QPalette::Window,          // 10 active border
    QPalette::Window,          // 11 inactive border
    QPalette::Dark,            // 12 application workspace
    QPalette::Highlight,       // 13 highlight
    QPalette::HighlightedText, // 14 highlight text
    QPalette::Button,          // 15 button face
    QPalette::Mid,             // 16 button shadow
    QPalette::PlaceholderText, // 17 grey text
    QPalette::ButtonText,      // 18 button text
    QPalette::Text,            // 19 inactive caption text
    QPalette::Light,           // 20 button highlight
    QPalette::Shadow,          // 21 3D dark shadow
    QPalette::Midlight,        // 22 3D light
    QPalette::ToolTipText,     // 23 info text
    QPalette::ToolTipBase,     // 24 info background
};

QRect toQRect(const TRect &rect)
{
    return QRect(rect.left, rect.top, rect.width(), rect.height());
}

QFont toQFont(const TFont &font)
{
    QFont result(toQString(font.name));
    result.setPointSize(font.size > 0 ? font.size : 1);
    result.setBold(font.style & fsBold);
    result.setItalic(font.style & fsItalic);
    result.setUnderline(font.style & fsUnderline);
    result.setStrikeOut(font.style & fsStrikeOut);
    return result;
}

} // namespace

QColor toQColor(TColor color, const QPalette &palette)
{
    if (isSystemColor(color)) {
        const std::size_t index = color & 0xFF;
        return index < systemRoles.size() ? palette.color(systemRoles[index])
                                          : palette.color(QPalette::Window);
    }
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

QtCanvas::QtCanvas(QPainter *painter, const QPalette &palette) : painter(painter), palette(palette)
{}

const QFont &QtCanvas::qFont()
{
    if (!fontValid || !(convertedFont == font)) {
        convertedFont = font;
        converted = toQFont(font);
        convertedMetrics.emplace(converted);
        fontValid = true;
    }
    return converted;
}

const QFontMetrics &QtCanvas::metrics()
{
    qFont();
    return *convertedMetrics;
}

void QtCanvas::fillRect(const TRect &rect)
{
    if (painter && brush.style == bsSolid)
        painter->fillRect(toQRect(rect), color(brush.color));
}

void QtCanvas::frameRect(const TRect &rect)
{
    if (!painter || rect.width() <= 0 || rect.height() <= 0)
        return;
    const QColor edge = color(brush.color);
    painter->fillRect(QRect(rect.left, rect.top, rect.width(), 1), edge);
    painter->fillRect(QRect(rect.left, rect.bottom - 1, rect.width(), 1), edge);
    painter->fillRect(QRect(rect.left, rect.top, 1, rect.height()), edge);
    painter->fillRect(QRect(rect.right - 1, rect.top, 1, rect.height()), edge);
}

void QtCanvas::textRect(const TRect &clip, int x, int y, std::string_view text)
{
    if (!painter || text.empty())
        return;
    painter->setFont(qFont());
    painter->setPen(color(font.color));
    const QString shown = toQString(text);
    if (x >= clip.left && y >= clip.top) {
        // A text box from (x, y) to the clip's far corner clips exactly, and cheaply.
        const QRect box(x, y, clip.right - x, clip.bottom - y);
        if (box.width() > 0 && box.height() > 0)
            painter->drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
        return;
    }
    painter->save();
    painter->setClipRect(toQRect(clip), Qt::IntersectClip);
    painter->drawText(QPoint(x, y + metrics().ascent()), shown);
    painter->restore();
}

int QtCanvas::textWidth(std::string_view text)
{
    return metrics().horizontalAdvance(toQString(text));
}

void QtCanvas::moveTo(int x, int y)
{
    penPosition = QPoint(x, y);
}

void QtCanvas::lineTo(int x, int y)
{
    const QPoint target(x, y);
    if (painter) {
        painter->setPen(QPen(color(penColor), 0));
        painter->drawLine(penPosition, target);
    }
    penPosition = target;
}
