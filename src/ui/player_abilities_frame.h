#pragma once

#include "ui/frame_base.h"

#include <array>
#include <cstdint>

class QGroupBox;
class QLabel;

// The level words of one player's eight skills, "Playing attributes".
class TframePlayerAbilities : public TframePlayerInfoBase
{
    Q_OBJECT

public:
    explicit TframePlayerAbilities(QWidget *parent = nullptr);

    // The shown player's level words; all values empty without a player.
    void refresh();

    QGroupBox *GroupBox1;
    QLabel *lblStamina, *lblPlaymaking, *lblWinger, *lblScoring;
    QLabel *lblKeeper, *lblPassing, *lblDefending, *lblSetPieces;

protected:
    void changeEvent(QEvent *event) override;

private:
    // Places captions and values by the font in use, the designed places being the least.
    void layOut();

    struct Row
    {
        QLabel *caption;
        QLabel *value;
        std::int8_t Player::*skill;
    };
    std::array<Row, 8> rows{};
};
