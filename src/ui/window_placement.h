#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// Where a window of `frameSize` (decorations included) stands centred in `available`: never
// larger than that area and never outside it, so its title bar and its buttons can be reached
// at any scale. The same inputs always give the same place.
QRect centredInside(QSize frameSize, const QRect &available);

// `frame` moved (and shrunk first when it is larger) so that it lies wholly in `available`; a
// frame already inside stays where it is.
QRect keptInside(const QRect &frame, const QRect &available);

// Moves `window` (and shrinks it when it is larger than its screen's available area) to its
// centred place on that screen.
void centreOnScreen(QWidget &window);
// Leaves `window` where it is when that is inside its screen's available area, else brings it
// back inside.
void keepOnScreen(QWidget &window);
