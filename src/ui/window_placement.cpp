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

// Puts the window's frame where `place` says, on its screen's available area; the window
// shrinks when its frame had to.
template <typename Place> void placeOnScreen(QWidget &window, Place place)
{
    const QScreen *screen = window.screen();
    if (!screen)
        return;
    // Before the window is first shown its frame is not known; the decorations are then
    // taken as none, and the next showing places it again with them.
    const QRect frame = window.frameGeometry();
    const QRect placed = place(frame, screen->availableGeometry());
    if (placed == frame)
        return;
    if (placed.size() != frame.size())
        window.resize(placed.size() - (frame.size() - window.size()));
    window.move(placed.topLeft());
}

} // namespace

void centreOnScreen(QWidget &window)
{
    placeOnScreen(window, [](const QRect &frame, const QRect &available) {
        return centredInside(frame.size(), available);
    });
}

void keepOnScreen(QWidget &window)
{
    placeOnScreen(window, keptInside);
}
