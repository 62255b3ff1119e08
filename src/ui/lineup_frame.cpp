#include "ui/lineup_frame.h"

#include "Engine/errors.h"
#include "qt_text/qt_text.h"
#include "ui/error_display.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QColor grass(46, 125, 50);
const QColor chalk(235, 245, 235);
const QColor card(250, 250, 245);
const QColor pinGold(255, 193, 7);

constexpr int boxPadding = 5;
// The pitch spots run from 0.1 to 0.9 across.
constexpr double leftmostSpot = 0.1;
constexpr double touchlineSpan = 0.8;
constexpr int fieldMargin = 6;
constexpr int benchIdRole = Qt::UserRole;
constexpr int benchLeftOutRole = Qt::UserRole + 1;
constexpr int benchPositionRole = Qt::UserRole + 2;
// A box has room for at least this many characters of a name.
constexpr int minimumNameChars = 10;

// The whole name where it fits, else the initial and the last name, else that cut short; the
// tooltip has it whole.
QString fittedName(const QString &name, const QFontMetrics &metrics, int width)
{
    if (metrics.horizontalAdvance(name) <= width)
        return name;
    const qsizetype space = name.lastIndexOf(' ');
    const QString shorter = space > 0 ? name.left(1) + ". " + name.mid(space + 1) : name;
    return metrics.elidedText(shorter, Qt::ElideRight, width);
}

QString ratingText(double value)
{
    return QString::number(value, 'f', 2);
}

QString captionAndRating(const LineupSlot &place)
{
    return QString::fromLatin1(behaviourCaption(place.position, place.behaviour)) + "  " +
           ratingText(place.value);
}

} // namespace

TLineupPitch::TLineupPitch(QWidget *parent) : QWidget(parent)
{
    setObjectName("pitch");
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName("Pitch");
    setMouseTracking(false);
}

void TLineupPitch::setLineup(const Lineup &lineup, std::set<std::int32_t> pinned)
{
    shown = lineup;
    spots = pitchSpots(lineup.formation.counts);
    pinnedIds = std::move(pinned);
    current = std::clamp(current, 0, std::max(0, int(shown.places.size()) - 1));
    update();
}

// Every box as wide as the widest full name needs, within what five across leave room for.
QSize TLineupPitch::boxSize() const
{
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    int widest = metrics.horizontalAdvance(QString(minimumNameChars, QChar('n')));
    for (const LineupSlot &place : shown.places)
        if (place.player)
            widest = std::max(widest, metrics.horizontalAdvance(toQString(place.player->name)));
    // Spots sit between the touchline boxes' centres (see placeBoxes), so a box of width b
    // leaves g * (usable - b) between neighbours g apart; that must hold b and a margin.
    const double g = std::min(0.3, narrowestGap(spots)) / touchlineSpan;
    const int room = int((g * (field().width() - 4) - fieldMargin) / (1 + g)) - 2 * boxPadding;
    const int least = metrics.averageCharWidth() * minimumNameChars;
    return {std::max(least, std::min(widest, room)) + 2 * boxPadding,
            2 * metrics.height() + 2 * boxPadding};
}

// Five boxes across a line and four lines, with room between them.
QSize TLineupPitch::minimumSizeHint() const
{
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int box = metrics.averageCharWidth() * minimumNameChars + 2 * boxPadding;
    const int height = 2 * metrics.height() + 2 * boxPadding;
    return {5 * (box + fieldMargin) + 2 * fieldMargin, int(4 * height * 1.45) + 2 * fieldMargin};
}

QSize TLineupPitch::sizeHint() const
{
    return minimumSizeHint() * 1.3;
}

QRect TLineupPitch::field() const
{
    return rect().adjusted(fieldMargin, fieldMargin, -fieldMargin, -fieldMargin);
}

std::vector<QRect> TLineupPitch::placeBoxes() const
{
    std::vector<QRect> boxes;
    const QRect area = field();
    const QSize box = boxSize();
    for (const PitchSpot &spot : spots) {
        QRect placed(QPoint(0, 0), box);
        // The touchline spots are the outermost boxes' centres, so those boxes stay on the pitch.
        const double across = (spot.x - leftmostSpot) / touchlineSpan;
        const int usable = area.width() - 4 - box.width();
        placed.moveCenter(QPoint(area.left() + 2 + box.width() / 2 + int(across * usable),
                                 area.top() + int(spot.y * area.height())));
        placed.moveTop(std::clamp(placed.top(), area.top() + 2,
                                  std::max(area.top() + 2, area.bottom() - box.height() - 1)));
        boxes.push_back(placed);
    }
    return boxes;
}

int TLineupPitch::placeAt(const QPoint &point) const
{
    const std::vector<QRect> boxes = placeBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i].contains(point))
            return int(i);
    return -1;
}

void TLineupPitch::paintField(QPainter &painter, const QRect &area) const
{
    painter.fillRect(rect(), palette().window());
    painter.fillRect(area, grass);
    painter.setPen(QPen(chalk, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
    const int middle = area.top() + area.height() / 2;
    painter.drawLine(area.left(), middle, area.right(), middle);
    const int radius = area.height() / 9;
    painter.drawEllipse(QPoint(area.center().x(), middle), radius, radius);
    const int boxWidth = area.width() * 2 / 5, boxDepth = area.height() / 7;
    const int boxLeft = area.center().x() - boxWidth / 2;
    painter.drawRect(boxLeft, area.bottom() - boxDepth, boxWidth, boxDepth);
    painter.drawRect(boxLeft, area.top(), boxWidth, boxDepth);
}

void TLineupPitch::paintPlace(QPainter &painter, const QRect &box, const LineupSlot &place,
                              bool pinned, bool isCurrent) const
{
    painter.setPen(pinned ? QPen(pinGold, 3) : QPen(Qt::black, 1));
    painter.setBrush(place.player ? card : QColor(card.red(), card.green(), card.blue(), 140));
    if (!place.player)
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawRoundedRect(box, 4, 4);
    const QRect text = box.adjusted(boxPadding, boxPadding, -boxPadding, -boxPadding);
    const int lineHeight = text.height() / 2;
    const QRect top(text.left(), text.top(), text.width(), lineHeight);
    const QRect bottom(text.left(), text.top() + lineHeight, text.width(), lineHeight);
    painter.setPen(Qt::black);
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    const QString name = place.player ? toQString(place.player->name) : QString("empty");
    painter.drawText(top, Qt::AlignCenter, fittedName(name, QFontMetrics(bold), top.width()));
    painter.setFont(font());
    painter.drawText(bottom, Qt::AlignCenter,
                     place.player ? captionAndRating(place)
                                  : QString::fromLatin1(positionWord(place.position)));
    if (isCurrent && hasFocus()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(-3, -3, 3, 3));
    }
}

void TLineupPitch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintField(painter, field());
    const std::vector<QRect> boxes = placeBoxes();
    for (std::size_t i = 0; i < boxes.size() && i < shown.places.size(); ++i) {
        const LineupSlot &place = shown.places[i];
        paintPlace(painter, boxes[i], place, place.player && pinnedIds.count(place.player->id) != 0,
                   int(i) == current);
    }
}

QString TLineupPitch::placeTip(int place) const
{
    const LineupSlot &slot = shown.places[std::size_t(place)];
    if (!slot.player)
        return QString("An empty %1's place: no available player is left for it.")
            .arg(positionWord(slot.position));
    QString tip = toQString(slot.player->name) + ": " + positionWord(slot.position) + ", " +
                  behaviourCaption(slot.position, slot.behaviour) + ", contribution rating " +
                  ratingText(slot.value) + ".";
    if (pinnedIds.count(slot.player->id))
        tip += " Pinned to this place.";
    return tip;
}

bool TLineupPitch::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int place = placeAt(help->pos());
        if (place >= 0)
            QToolTip::showText(help->globalPos(), placeTip(place), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void TLineupPitch::mousePressEvent(QMouseEvent *event)
{
    const int place = placeAt(event->position().toPoint());
    if (place >= 0) {
        current = place;
        update();
    }
    QWidget::mousePressEvent(event);
}

void TLineupPitch::keyPressEvent(QKeyEvent *event)
{
    const int count = int(shown.places.size());
    if (count == 0)
        return QWidget::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        current = (current + count - 1) % count;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        current = (current + 1) % count;
        break;
    case Qt::Key_Home:
        current = 0;
        break;
    case Qt::Key_End:
        current = count - 1;
        break;
    default:
        return QWidget::keyPressEvent(event);
    }
    update();
}

void TLineupPitch::contextMenuEvent(QContextMenuEvent *event)
{
    int place = current;
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const std::vector<QRect> boxes = placeBoxes();
        if (place < 0 || place >= int(boxes.size()))
            return;
        at = mapToGlobal(boxes[std::size_t(place)].center());
    } else {
        place = placeAt(event->pos());
        if (place < 0)
            return;
        current = place;
        update();
    }
    emit placeMenuRequested(place, at);
}

TframeLineup::TframeLineup(QWidget *parent) : QWidget(parent)
{
    auto *formationLabel = new QLabel("&Formation:", this);
    cbFormation = new QComboBox(this);
    cbFormation->setObjectName("cbFormation");
    cbFormation->addItem("best");
    for (const Formation &formation : namedFormations())
        cbFormation->addItem(QString::fromStdString(formation.name));
    formationLabel->setBuddy(cbFormation);
    btnClear = new QPushButton("&Clear pins and left out", this);
    btnClear->setObjectName("btnClear");
    btnClear->setEnabled(false);
    lblMessage = new QLabel(this);
    lblMessage->setObjectName("lblMessage");
    lblMessage->setTextFormat(Qt::PlainText);
    lblMessage->setWordWrap(true);

    auto *top = new QHBoxLayout;
    top->addWidget(formationLabel);
    top->addWidget(cbFormation);
    top->addWidget(btnClear);
    top->addWidget(lblMessage, 1);

    pitch = new TLineupPitch(this);
    auto *benchLabel = new QLabel("&Bench:", this);
    auto *hint = new QLabel("Right-click a place or a bench row, or press the menu key, to pin "
                            "a player or leave him out. A gold border marks a pinned player.",
                            this);
    hint->setObjectName("lblHint");
    hint->setWordWrap(true);
    lstBench = new QTreeWidget(this);
    lstBench->setObjectName("lstBench");
    lstBench->setHeaderLabels({"Position", "Player", "Rating"});
    lstBench->setRootIsDecorated(false);
    lstBench->setContextMenuPolicy(Qt::CustomContextMenu);
    lstBench->header()->setStretchLastSection(false);
    benchLabel->setBuddy(lstBench);
    benchSide = new QWidget(this);
    auto *benchLayout = new QVBoxLayout(benchSide);
    benchLayout->setContentsMargins(0, 0, 0, 0);
    benchLayout->addWidget(benchLabel);
    benchLayout->addWidget(lstBench, 1);
    benchLayout->addWidget(hint);

    auto *middle = new QHBoxLayout;
    middle->addWidget(pitch, 1);
    middle->addWidget(benchSide);

    lblTotal = new QLabel(this);
    lblTotal->setObjectName("lblTotal");
    lblTotal->setTextFormat(Qt::PlainText);
    lblTotal->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addWidget(lblTotal);

    connectGuarded(cbFormation, &QComboBox::currentIndexChanged, this, &TframeLineup::refresh);
    connectGuarded(btnClear, &QPushButton::clicked, this, [this] {
        choices_.clear();
        refresh();
    });
    connect(pitch, &TLineupPitch::placeMenuRequested, this,
            [this](int place, const QPoint &at) { guarded([&] { showPlaceMenu(place, at); }); });
    connect(lstBench, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { guarded([&] { showBenchMenu(pos); }); });
}

void TframeLineup::setTeam(Team *shownTeam)
{
    if (shownTeam != team)
        choices_.clear();
    team = shownTeam;
    refreshWhenShown();
}

void TframeLineup::setLevels(std::int8_t staminaOverride, std::int8_t formOverride)
{
    stamina = staminaOverride;
    form = formOverride;
    refreshWhenShown();
}

// The track bars move while the Players page is shown: the lineup is solved when it is seen.
void TframeLineup::refreshWhenShown()
{
    stale = !isVisible();
    if (!stale)
        refresh();
}

void TframeLineup::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (stale)
        guarded([this] { refresh(); });
}

std::optional<Formation> TframeLineup::chosenFormation() const
{
    const int index = cbFormation->currentIndex();
    if (index <= 0)
        return std::nullopt;
    return namedFormations()[std::size_t(index - 1)];
}

QString TframeLineup::playerName(std::int32_t id) const
{
    if (team) {
        const auto found = team->players.find(id);
        if (found != team->players.end() && found->second)
            return toQString(found->second->name);
    }
    return QString::number(id);
}

void TframeLineup::refresh()
{
    stale = false;
    btnClear->setEnabled(!choices_.empty());
    if (!team) {
        pitch->setLineup({}, {});
        lstBench->clear();
        lblTotal->clear();
        lblMessage->clear();
        return;
    }
    const std::optional<Formation> formation = chosenFormation();
    std::vector<std::int32_t> dropped;
    LineupRequest request = choices_.request(
        team->players, formation ? &formation->counts : nullptr, stamina, form, &dropped);
    const auto solve = [&] {
        return formation ? bestLineup(team->players, *formation, request)
                         : bestFormationLineup(team->players, request);
    };
    QString message;
    Lineup lineup;
    try {
        lineup = solve();
    } catch (const ERangeError &) {
        // Pins to positions can exceed every formation's places; show the best without them.
        if (request.pins.empty())
            throw;
        request.pins.clear();
        lineup = solve();
        message = "The pins cannot all hold in any formation; the lineup is shown without them.";
    }
    if (!dropped.empty() && message.isEmpty()) {
        QStringList names;
        for (std::int32_t id : dropped)
            names << playerName(id);
        message = "Not pinned in " + QString::fromStdString(lineup.formation.name) +
                  " (no place for them, injured, or gone): " + names.join(", ") + ".";
    }
    lblMessage->setText(message);

    std::set<std::int32_t> pinned;
    for (const auto &[id, pin] : request.pins)
        pinned.insert(id);
    pitch->setLineup(lineup, std::move(pinned));
    int available = 0;
    for (const auto &entry : team->players)
        available += entry.second && availableFor(*entry.second, request);
    lblTotal->setText((formation ? "Formation " : "Best formation ") +
                      QString::fromStdString(lineup.formation.name) + ". " +
                      QString::fromStdString(lineupTotalText(lineup, available)));
    fillBench(request);
}

void TframeLineup::fillBench(const LineupRequest &request)
{
    lstBench->clear();
    for (const LineupSlot &substitute : substitutes(team->players, pitch->lineup(), request)) {
        auto *row = new QTreeWidgetItem(
            lstBench, {QString::fromLatin1(positionWord(substitute.position)),
                       toQString(substitute.player->name), captionAndRating(substitute)});
        row->setData(0, benchIdRole, substitute.player->id);
        row->setData(0, benchLeftOutRole, false);
        row->setData(0, benchPositionRole, int(substitute.position));
    }
    for (std::int32_t id : request.excluded) {
        auto *row = new QTreeWidgetItem(lstBench, {"left out", playerName(id), ""});
        row->setData(0, benchIdRole, id);
        row->setData(0, benchLeftOutRole, true);
        QFont italic = row->font(0);
        italic.setItalic(true);
        for (int column = 0; column < 3; ++column)
            row->setFont(column, italic);
    }
    // The bench as wide as its rows need; the pitch takes the rest.
    int width = 2 * lstBench->frameWidth() + lstBench->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < lstBench->columnCount(); ++column) {
        lstBench->resizeColumnToContents(column);
        width += lstBench->columnWidth(column);
    }
    benchSide->setFixedWidth(std::max(width, fontMetrics().averageCharWidth() * 30));
}

void TframeLineup::pinPlayer(std::int32_t id, int place)
{
    const Lineup &shown = pitch->lineup();
    if (place < 0 || place >= int(shown.places.size()))
        throw ERangeError("The lineup has no place " + std::to_string(place) + ".");
    // Whoever stood pinned here is moved off by the pin, so the player lands in this place.
    choices_.pin(id, placeOfSlot(shown.formation.counts, place));
    refresh();
}

void TframeLineup::leaveOut(std::int32_t id)
{
    choices_.leaveOut(id);
    refresh();
}

void TframeLineup::takeBack(std::int32_t id)
{
    choices_.takeBack(id);
    refresh();
}

void TframeLineup::unpin(std::int32_t id)
{
    choices_.unpin(id);
    refresh();
}

void TframeLineup::showPlaceMenu(int place, const QPoint &globalPos)
{
    if (!team || place < 0 || place >= int(pitch->lineup().places.size()))
        return;
    const LineupSlot slot = pitch->lineup().places[std::size_t(place)];
    QMenu menu(this);
    menu.setObjectName("placeMenu");
    if (slot.player) {
        const std::int32_t id = slot.player->id;
        const QString name = toQString(slot.player->name);
        if (choices_.pinned(id))
            connectGuarded(menu.addAction("&Unpin " + name), &QAction::triggered, this,
                           [this, id] { unpin(id); });
        else
            connectGuarded(menu.addAction("&Pin " + name + " here"), &QAction::triggered, this,
                           [this, id, place] { pinPlayer(id, place); });
        connectGuarded(menu.addAction("&Leave " + name + " out"), &QAction::triggered, this,
                       [this, id] { leaveOut(id); });
        menu.addSeparator();
    }
    QMenu *put = menu.addMenu("P&ut here");
    put->setObjectName("putHere");
    const LineupRequest request = choices_.request(team->players, nullptr, stamina, form, nullptr);
    for (const LineupSlot &candidate : candidatesAt(team->players, slot.position, request)) {
        if (candidate.player == slot.player)
            continue;
        const std::int32_t id = candidate.player->id;
        QAction *action =
            put->addAction(toQString(candidate.player->name) + "\t" + captionAndRating(candidate));
        action->setData(id);
        connectGuarded(action, &QAction::triggered, this,
                       [this, id, place] { pinPlayer(id, place); });
    }
    put->setEnabled(!put->isEmpty());
    menu.exec(globalPos);
}

void TframeLineup::showBenchMenu(const QPoint &pos)
{
    QTreeWidgetItem *row = lstBench->itemAt(pos);
    QPoint at = lstBench->viewport()->mapToGlobal(pos);
    if (!row) {
        // The menu key: the current row, at the row.
        row = lstBench->currentItem();
        if (!row)
            return;
        at = lstBench->viewport()->mapToGlobal(lstBench->visualItemRect(row).center());
    }
    const std::int32_t id = row->data(0, benchIdRole).toInt();
    const QString name = row->text(1);
    QMenu menu(this);
    menu.setObjectName("benchMenu");
    if (row->data(0, benchLeftOutRole).toBool())
        connectGuarded(menu.addAction("&Take " + name + " back"), &QAction::triggered, this,
                       [this, id] { takeBack(id); });
    else {
        const auto position = Position(row->data(0, benchPositionRole).toInt());
        connectGuarded(
            menu.addAction("&Put " + name + " in the lineup as " + positionWord(position)),
            &QAction::triggered, this, [this, id, position] {
                choices_.pin(id, {position, -1});
                refresh();
            });
        connectGuarded(menu.addAction("&Leave " + name + " out"), &QAction::triggered, this,
                       [this, id] { leaveOut(id); });
    }
    menu.exec(at);
}
