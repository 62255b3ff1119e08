#include "ui/window_placement.h"

#include <gtest/gtest.h>

namespace {

// At a scale of 2, a 1400 × 900 screen less a panel is 700 × 430 device-independent pixels.
const QRect scaledScreen(0, 20, 700, 430);

TEST(WindowPlacement, AWindowOpensWhollyInsideTheAvailableArea)
{
    const struct
    {
        const char *what;
        QRect frame;
        QRect centred, kept;
    } rows[] = {
        {"the main window, larger than the screen", QRect(-45, -25, 790, 510),
         QRect(0, 20, 700, 430), QRect(0, 20, 700, 430)},
        {"a dialog that fits", QRect(300, 300, 420, 360), QRect(140, 55, 420, 360),
         QRect(280, 90, 420, 360)},
        {"a place off the screen's left", QRect(-900, 40, 200, 100), QRect(250, 185, 200, 100),
         QRect(0, 40, 200, 100)},
        {"a place inside stays", QRect(10, 30, 200, 100), QRect(250, 185, 200, 100),
         QRect(10, 30, 200, 100)},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(centredInside(row.frame.size(), scaledScreen), row.centred);
        EXPECT_EQ(keptInside(row.frame, scaledScreen), row.kept);
        EXPECT_TRUE(scaledScreen.contains(keptInside(row.frame, scaledScreen)));
        // Opening it again puts it where it was.
        EXPECT_EQ(centredInside(row.centred.size(), scaledScreen), row.centred);
    }
}

} // namespace
