#include "ui/window_placement.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

QRect centredInside(QSize frameSize, const QRect &available)
{
    const QSize size = frameSize.boundedTo(available.size());
    const QPoint topLeft(available.left() + (available.width() - size.width()) / 2,
                         available.top() + (available.height() - size.height()) / 2);
    return QRect(topLeft, size);
}

QRect keptInside(const QRect &frame, const QRect &available)
{
    const QSize size = frame.size().boundedTo(available.size());
    const int left =
        std::clamp(frame.left(), available.left(), available.right() + 1 - size.width());
    const int top =
        std::clamp(frame.top(), available.top(), available.bottom() + 1 - size.height());
    return QRect(QPoint(left, top), size);
}

namespace {

// Puts the window's frame at `placed`, shrinking the window when the frame had to shrink.
void applyFrame(QWidget &window, const QRect &frame, const QRect &placed)
{
    if (placed.size() != frame.size())
        window.resize(placed.size() - (frame.size() - window.size()));
    window.move(placed.topLeft());
}

} // namespace

void centreOnScreen(QWidget &window)
{
    const QScreen *screen = window.screen();
    if (!screen)
        return;
    // Before the window is first shown its frame is not known; the decorations are then
    // taken as none, and the next showing places it again with them.
    const QRect frame = window.frameGeometry();
    applyFrame(window, frame, centredInside(frame.size(), screen->availableGeometry()));
}

void keepOnScreen(QWidget &window)
{
    const QScreen *screen = window.screen();
    if (!screen)
        return;
    const QRect frame = window.frameGeometry();
    const QRect placed = keptInside(frame, screen->availableGeometry());
    if (placed != frame)
        applyFrame(window, frame, placed);
}
