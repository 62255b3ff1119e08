#include "ui/player_abilities_frame.h"

#include "players/player.h"
#include "qt_text/qt_text.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

struct Line
{
    const char *captionName;
    const char *caption;
    const char *valueName;
    std::int8_t Player::*skill;
};

// Two columns of four: the skills in the record's order.
const Line lines[8] = {
    {"Label1", "Stamina", "lblStamina", &Player::stamina},
    {"Label2", "Playmaking", "lblPlaymaking", &Player::playmaking},
    {"Label3", "Winger", "lblWinger", &Player::winger},
    {"Label4", "Scoring", "lblScoring", &Player::scoring},
    {"Label9", "Keeper", "lblKeeper", &Player::goaltending},
    {"Label10", "Passing", "lblPassing", &Player::passing},
    {"Label11", "Defending", "lblDefending", &Player::defending},
    {"Label12", "Set Pieces", "lblSetPieces", &Player::setpieces},
};

constexpr int captionLeft[2] = {16, 152};
constexpr int valueLeft[2] = {88, 224};
constexpr int rowPitch = 16;
constexpr int labelHeight = 15;

QLabel *placedLabel(QWidget *parent, const char *name, int left, int top, int width)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(left, top, width, labelHeight);
    return label;
}

} // namespace

TframePlayerAbilities::TframePlayerAbilities(QWidget *parent) : TframePlayerInfoBase(parent)
{
    resize(299, 89);
    // The captions are laid out for the grid's 8-point type; larger ones would be cut.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    GroupBox1 = new QGroupBox("Playing attributes", this);
    GroupBox1->setObjectName("GroupBox1");
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(GroupBox1);

    for (int i = 0; i < 8; ++i) {
        const int column = i / 4, top = rowPitch * (1 + i % 4);
        QLabel *caption = placedLabel(GroupBox1, lines[i].captionName, captionLeft[column], top,
                                      valueLeft[column] - captionLeft[column]);
        caption->setText(lines[i].caption);
        QFont bold = caption->font();
        bold.setBold(true);
        caption->setFont(bold);
        QLabel *value =
            placedLabel(GroupBox1, lines[i].valueName, valueLeft[column], top,
                        column == 0 ? captionLeft[1] - valueLeft[0] : 299 - 4 - valueLeft[1]);
        rows[std::size_t(i)] = {value, lines[i].skill};
    }
    lblStamina = rows[0].value;
    lblPlaymaking = rows[1].value;
    lblWinger = rows[2].value;
    lblScoring = rows[3].value;
    lblKeeper = rows[4].value;
    lblPassing = rows[5].value;
    lblDefending = rows[6].value;
    lblSetPieces = rows[7].value;
    refresh();
}

void TframePlayerAbilities::refresh()
{
    TframePlayerInfoBase::refresh();
    for (const Row &row : rows)
        row.value->setText(player ? toQString(levelWord(player->*row.skill)) : QString());
}
