#include "ui/player_abilities_frame.h"

#include "players/player.h"
#include "qt_text/qt_text.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

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

// The designed places at the designed size; a larger font moves things right and down.
constexpr int designedWidth = 299, designedHeight = 89;
constexpr int captionLeft[2] = {16, 152};
constexpr int valueLeft[2] = {88, 224};
constexpr int rowPitch = 16;
constexpr int labelHeight = 15;
constexpr int rightMargin = 4, bottomMargin = 6;

QLabel *namedLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// The widest word a value label can show.
int widestLevelWord(const QFontMetrics &metrics)
{
    int widest = 0;
    for (int level = -1; level <= 20; ++level)
        widest =
            std::max(widest, metrics.horizontalAdvance(toQString(levelWord(std::int8_t(level)))));
    return widest;
}

} // namespace

TframePlayerAbilities::TframePlayerAbilities(QWidget *parent) : TframePlayerInfoBase(parent)
{
    GroupBox1 = new QGroupBox("Playing attributes", this);
    GroupBox1->setObjectName("GroupBox1");
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(GroupBox1);

    for (std::size_t i = 0; i < rows.size(); ++i) {
        QLabel *caption = namedLabel(GroupBox1, lines[i].captionName);
        caption->setText(lines[i].caption);
        rows[i] = {caption, namedLabel(GroupBox1, lines[i].valueName), lines[i].skill};
    }
    lblStamina = rows[0].value;
    lblPlaymaking = rows[1].value;
    lblWinger = rows[2].value;
    lblScoring = rows[3].value;
    lblKeeper = rows[4].value;
    lblPassing = rows[5].value;
    lblDefending = rows[6].value;
    lblSetPieces = rows[7].value;
    layOut();
    refresh();
}

void TframePlayerAbilities::changeEvent(QEvent *event)
{
    TframePlayerInfoBase::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        layOut();
}

void TframePlayerAbilities::layOut()
{
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics captionMetrics(bold), valueMetrics(font());
    const int gap = std::max(4, valueMetrics.averageCharWidth());
    // The right pair stands clearly apart from the longest word of the left one.
    const int columnGap = 3 * gap;
    const int height = std::max({labelHeight, captionMetrics.height(), valueMetrics.height()});
    const int pitch = std::max(rowPitch, height + 1);
    // Below the group box's title, which grows with the font too.
    const int top = std::max(rowPitch, GroupBox1->contentsRect().top());
    const int valueWidth = widestLevelWord(valueMetrics);

    int left[2] = {captionLeft[0], 0}, valueAt[2] = {};
    for (int column = 0; column < 2; ++column) {
        if (column == 1)
            left[1] = std::max(captionLeft[1], valueAt[0] + valueWidth + columnGap);
        int captionWidth = 0;
        for (int i = 4 * column; i < 4 * column + 4; ++i)
            captionWidth =
                std::max(captionWidth, captionMetrics.horizontalAdvance(lines[i].caption));
        valueAt[column] = std::max(valueLeft[column], left[column] + captionWidth + gap);
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int column = int(i) / 4, y = top + pitch * (int(i) % 4);
        rows[i].caption->setFont(bold);
        rows[i].caption->setGeometry(left[column], y, valueAt[column] - gap - left[column], height);
        rows[i].value->setGeometry(valueAt[column], y, valueWidth, height);
    }
    const QSize needed(std::max(designedWidth, valueAt[1] + valueWidth + rightMargin),
                       std::max(designedHeight, top + 3 * pitch + height + bottomMargin));
    setMinimumSize(needed);
    resize(needed);
}

void TframePlayerAbilities::refresh()
{
    TframePlayerInfoBase::refresh();
    for (const Row &row : rows)
        row.value->setText(player ? toQString(levelWord(player->*row.skill)) : QString());
}
