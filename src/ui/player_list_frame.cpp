#include "ui/player_list_frame.h"

#include "grid/core/grid_refill.h"
#include "grid/widget/collation.h"
#include "grid/widget/ziv_grid.h"
#include "players/keeper.h"
#include "players/player.h"
#include "players/player_list_view.h"
#include "players/weights.h"
#include "qt_text/qt_text.h"
#include "ui/error_display.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr TColor gridColor(ListColour colour)
{
    return rgbColor(colour.red, colour.green, colour.blue);
}

// The levels shown with the level colouring, in the order they are written.
struct LevelField
{
    const char *column;
    std::int32_t (*read)(const Player &);
};

const LevelField levelFields[] = {
    {"form", [](const Player &p) { return p.form; }},
    {"stamina", [](const Player &p) { return std::int32_t(p.stamina); }},
    {"defending", [](const Player &p) { return std::int32_t(p.defending); }},
    {"passing", [](const Player &p) { return std::int32_t(p.passing); }},
    {"winger", [](const Player &p) { return std::int32_t(p.winger); }},
    {"playmaking", [](const Player &p) { return std::int32_t(p.playmaking); }},
    {"scoring", [](const Player &p) { return std::int32_t(p.scoring); }},
    {"setpieces", [](const Player &p) { return std::int32_t(p.setpieces); }},
    {"goaltending", [](const Player &p) { return std::int32_t(p.goaltending); }},
};
constexpr std::size_t levelCount = std::size(levelFields);

template <typename Styled> void ownBackground(Styled &styled, ListColour colour)
{
    styled.setBrushSource(srcOwn);
    styled.brush().color = gridColor(colour);
}

// The background follows the column unless the look says otherwise.
void applyLook(ZIVGridCell &cell, CellLook look)
{
    cell.setBrushSource(srcColumn);
    if (look.yellowBackground)
        ownBackground(cell, listYellow);
    if (look.greenBold) {
        TFont &font = ownFont(cell);
        font.color = gridColor(listGreen);
        font.style |= fsBold;
    }
}

void applyLook(ZIVGridRow &row, RowLook look)
{
    if (look.blueText)
        ownFont(row).color = gridColor(listBlue);
    if (look.redItalic) {
        TFont &font = ownFont(row);
        font.style |= fsItalic;
        font.color = gridColor(listRed);
    }
}

void writePersonal(ZIVGridRow &row, const PlayerListColumns &c, const Player &p)
{
    applyLook(row, rowLook(p));
    if (p.marked)
        row.cell(c.marked).setString("x");
    row.cell(c.name).setString(p.name);
    row.cell(c.age).setInt(p.age);
    row.cell(c.value).setInt(p.value);
    row.cell(c.wage).setInt(p.wage);
    row.cell(c.bid).setInt(p.bid);
    row.cell(c.bidder).setString(p.bidder);
    // No deadline is no date: a blank cell, not the calendar's zero day at midnight.
    if (p.deadline != 0.0)
        row.cell(c.deadline).setDate(p.deadline);
    if (p.injury >= 0)
        row.cell(c.injury).setInt(p.injury);
    if (p.stars > -1)
        row.cell(c.stars).setDouble(p.stars);
}

void writeTraits(ZIVGridRow &row, const PlayerListColumns &c, const Player &p)
{
    const TraitLooks looks = traitLooks(p);
    ZIVGridCell &gentleness = row.cell(c.gentleness);
    gentleness.setInt(p.gentleness);
    if (looks.gentleness)
        ownBackground(gentleness, *looks.gentleness);
    row.cell(c.aggressivity).setInt(p.aggressivity);
    row.cell(c.honesty).setInt(p.honesty);
    row.cell(c.experience).setInt(p.experience);
    ZIVGridCell &leadership = row.cell(c.leadership);
    leadership.setInt(p.leadership);
    if (looks.leadership)
        ownBackground(leadership, *looks.leadership);
    row.cell(c.speciality).setString(specialityWord(p.speciality));
}

void writeLevels(ZIVGridRow &row, const PlayerListColumns &c, const Player &p)
{
    for (std::size_t i = 0; i < levelCount; ++i) {
        const std::int32_t level = levelFields[i].read(p);
        ZIVGridCell &cell = row.cell(*c.levels[i]);
        cell.setInt(level);
        applyLook(cell, levelLook(level));
    }
}

void writeRatings(ZIVGridRow &row, const PlayerListColumns &c, const PlayerListRatings &ratings)
{
    for (std::size_t i = 0; i < ratings.positions.size(); ++i) {
        const double rating = ratings.positions[i];
        ZIVGridCell &cell = row.cell(*c.ratings[i]);
        cell.setDouble(rating);
        applyLook(cell, levelLook(rating));
    }
}

void writeKeeperEstimate(ZIVGridRow &row, const PlayerListColumns &c,
                         const std::optional<double> &estimate)
{
    if (!estimate)
        return;
    ZIVGridCell &cell = row.cell(c.keeper);
    cell.setDouble(*estimate);
    applyLook(cell, keeperEstimateLook(*estimate));
}

QString cssColour(ListColour colour)
{
    return QString("rgb(%1, %2, %3)").arg(colour.red).arg(colour.green).arg(colour.blue);
}

// A legend sample: its text drawn in the look it stands for.
QLabel *legendSample(const LegendEntry &entry, QWidget *parent)
{
    auto *sample = new QLabel(QString::fromStdString(entry.sample), parent);
    sample->setTextFormat(Qt::PlainText);
    sample->setAlignment(Qt::AlignCenter);
    sample->setStyleSheet(QString("QLabel { color: %1; background: %2; padding: 0 6px; %3%4}")
                              .arg(cssColour(entry.text),
                                   entry.background ? cssColour(*entry.background) : "white",
                                   entry.bold ? "font-weight: bold; " : "",
                                   entry.italic ? "font-style: italic; " : ""));
    return sample;
}

// The C locale (a system without a language set) collates by code points, which puts "Ólafur"
// after "Tomas"; English then stands in, whose order keeps accents beside their base letter.
QLocale namesLocale()
{
    const QLocale system;
    return system.language() == QLocale::C ? QLocale(QLocale::English) : system;
}

ZIVGridColumn &columnOf(const ZIVGridCore &grid, const char *name)
{
    return *grid.getColumn(name, true);
}

} // namespace

PlayerListColumns::PlayerListColumns(const ZIVGridCore &grid)
    : id(columnOf(grid, "id")), marked(columnOf(grid, "marked")), name(columnOf(grid, "name")),
      age(columnOf(grid, "age")), value(columnOf(grid, "value")), wage(columnOf(grid, "wage")),
      bid(columnOf(grid, "bid")), bidder(columnOf(grid, "bidder")),
      deadline(columnOf(grid, "deadline")), injury(columnOf(grid, "injury")),
      stars(columnOf(grid, "stars")), gentleness(columnOf(grid, "gentleness")),
      aggressivity(columnOf(grid, "aggressivity")), honesty(columnOf(grid, "honesty")),
      experience(columnOf(grid, "experience")), leadership(columnOf(grid, "leadership")),
      speciality(columnOf(grid, "speciality")), keeper(columnOf(grid, "GK"))
{
    static_assert(std::tuple_size_v<decltype(levels)> == levelCount);
    for (std::size_t i = 0; i < levelCount; ++i)
        levels[i] = &columnOf(grid, levelFields[i].column);
    for (std::size_t i = 0; i < ratings.size(); ++i)
        ratings[i] = &columnOf(grid, ratedPositions()[i].column);
}

void writePlayerRow(ZIVGridRow &row, const PlayerListColumns &columns, const Player &player,
                    const PlayerListRatings &ratings)
{
    row.cell(columns.id).setLong(player.id);
    writePersonal(row, columns, player);
    writeTraits(row, columns, player);
    writeLevels(row, columns, player);
    writeRatings(row, columns, ratings);
    writeKeeperEstimate(row, columns, ratings.keeper);
}

TframeListPlayers::TframeListPlayers(const Keeper &keeper, QWidget *parent)
    : TframeList(parent), keeperTable(keeper)
{
    lstList->SetHeaders(playerListHeaders());
    lstList->SetHeadersString("frameListPlayers");
    lstList->setDefaultColWidth(66);
    buildSettings();
    buildLegend();
    buildFilterState();
    colourColumns();
    for (const char *name : viewNames())
        cbView->addItem(name);
    cbView->setCurrentIndex(0);
    connectGuarded(cbView, &QComboBox::currentIndexChanged, this, &TframeListPlayers::cbViewChange);
    for (const auto &[name, column] : lstList->columns())
        column->setHint(columnExplanation(name));
    sortByCollation(*lstList, {"name"}, namesLocale());
    connectGuarded(lstList, &ZIVGrid::filtersChanged, this, &TframeListPlayers::showFilterState);
    // The menu signals before its item has run; the columns it hid or showed are known after.
    connect(lstList->headerMenu(), &QMenu::triggered, this, [this] {
        QTimer::singleShot(0, this, [this] { guarded([this] { freezeUpToName(); }); });
    });
    freezeUpToName();
}

void TframeListPlayers::buildSettings()
{
    panSettings = new QWidget(this);
    panSettings->setObjectName("panSettings");
    panSettings->setFixedHeight(19);
    auto *row = new QHBoxLayout(panSettings);
    row->setContentsMargins(4, 0, 4, 0);
    row->setSpacing(6);
    const auto label = [&](const char *name, const char *caption) {
        auto *made = new QLabel(caption, panSettings);
        made->setObjectName(name);
        row->addWidget(made);
        return made;
    };
    const auto bar = [&](const char *name) {
        auto *made = new QSlider(Qt::Horizontal, panSettings);
        made->setObjectName(name);
        made->setRange(0, 8);
        made->setValue(0);
        made->setPageStep(1);
        made->setSingleStep(1);
        made->setTickInterval(1);
        made->setTickPosition(QSlider::TicksBelow);
        made->setFixedWidth(110);
        row->addWidget(made);
        connectGuarded(made, &QSlider::valueChanged, this,
                       [this, made] { trkStaminaChange(made); });
        return made;
    };
    Label1 = label("Label1", "Stamina");
    trkStamina = bar("trkStamina");
    Label2 = label("Label2", "Form");
    trkForm = bar("trkForm");
    Label3 = label("Label3", "View");
    cbView = new QComboBox(panSettings);
    cbView->setObjectName("cbView");
    cbView->setEditable(false);
    row->addWidget(cbView);
    btnLegend = new QToolButton(panSettings);
    btnLegend->setObjectName("btnLegend");
    btnLegend->setText("?");
    btnLegend->setToolTip("What the colours mean");
    btnLegend->setFixedHeight(17);
    row->addWidget(btnLegend);
    connectGuarded(btnLegend, &QToolButton::clicked, this, &TframeListPlayers::btnLegendClick);
    row->addStretch(1);
    static_cast<QVBoxLayout *>(layout())->insertWidget(0, panSettings);
}

void TframeListPlayers::buildLegend()
{
    panLegend = new QFrame(this, Qt::Popup);
    panLegend->setObjectName("panLegend");
    panLegend->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(panLegend);
    grid->setContentsMargins(8, 6, 8, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(3);
    auto *title = new QLabel("What the colours mean", panLegend);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    grid->addWidget(title, 0, 0, 1, 2);
    int line = 1;
    for (const LegendEntry &entry : colourLegend()) {
        grid->addWidget(legendSample(entry, panLegend), line, 0);
        auto *meaning = new QLabel(QString::fromStdString(entry.meaning), panLegend);
        meaning->setTextFormat(Qt::PlainText);
        grid->addWidget(meaning, line++, 1);
    }
}

void TframeListPlayers::buildFilterState()
{
    panFilterState = new QWidget(this);
    panFilterState->setObjectName("panFilterState");
    auto *row = new QHBoxLayout(panFilterState);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(6);
    lblShownPlayers = new QLabel(panFilterState);
    lblShownPlayers->setObjectName("lblShownPlayers");
    lblShownPlayers->setTextFormat(Qt::PlainText);
    row->addWidget(lblShownPlayers);
    btnClearFilters = new QPushButton("Clear filters", panFilterState);
    btnClearFilters->setObjectName("btnClearFilters");
    row->addWidget(btnClearFilters);
    row->addStretch(1);
    connectGuarded(btnClearFilters, &QPushButton::clicked, this,
                   &TframeListPlayers::btnClearFiltersClick);
    panFilterState->setVisible(false);
    static_cast<QVBoxLayout *>(layout())->insertWidget(1, panFilterState);
}

void TframeListPlayers::colourColumns()
{
    for (const ColumnBackground &own : columnBackgrounds())
        ownBackground(*lstList->getColumn(own.column, true), own.colour);
}

void TframeListPlayers::setTeam(Team *shown)
{
    shownTeam = shown;
    players = shown ? &shown->players : nullptr;
}

void TframeListPlayers::refresh()
{
    TframeList::refresh();
    static const TPlayers nobody;
    const PlayerListColumns columns(*lstList);
    const std::int8_t stamina = levelOverride(trkStamina->value());
    const std::int8_t form = levelOverride(trkForm->value());
    refillGrid(*lstList, players ? *players : nobody, [&](ZIVGridRow &row, const auto &entry) {
        const Player &player = *entry.second;
        writePlayerRow(row, columns, player, listRatings(player, stamina, form, keeperTable));
    });
    // Another download of the same team keeps the widths the user may have set.
    if (shownTeam && widthsFittedFor != shownTeam->id) {
        fitWidthsToSquad();
        widthsFittedFor = shownTeam->id;
    }
    freezeUpToName();
    showFilterState();
}

// Wide enough for every player's cell and for the header's caption, up to the maximum.
void TframeListPlayers::fitWidthsToSquad()
{
    lstList->fitColumnsToData();
    std::vector<int> squad(std::size_t(lstList->colCount()));
    for (int col = 0; col < lstList->colCount(); ++col)
        squad[std::size_t(col)] = lstList->colWidth(col);
    lstList->fitAllColumns();
    for (int col = 0; col < lstList->colCount(); ++col)
        lstList->setColWidth(
            col,
            std::min(std::max(squad[std::size_t(col)], lstList->colWidth(col)), maxFittedWidth));
}

// Whose row it is stays in view: every shown column up to and including "name".
void TframeListPlayers::freezeUpToName()
{
    const int name = lstList->getColumn("name", true)->position();
    int frozen = 0;
    for (const ZIVGridColumn *column : lstList->visibleColumns())
        frozen += column->position() <= name ? 1 : 0;
    lstList->setFrozenColumns(frozen);
}

void TframeListPlayers::btnLegendClick()
{
    panLegend->adjustSize();
    // Below the button, moved left as far as needed to stay over the list.
    const QPoint below = btnLegend->mapToGlobal(QPoint(0, btnLegend->height()));
    const int listRight = mapToGlobal(QPoint(width(), 0)).x();
    const int listLeft = mapToGlobal(QPoint()).x();
    panLegend->move(std::max(listLeft, std::min(below.x(), listRight - panLegend->width())),
                    below.y());
    panLegend->show();
}

void TframeListPlayers::btnClearFiltersClick()
{
    lstList->clearFilters();
}

void TframeListPlayers::showFilterState()
{
    const std::optional<std::string> line = shownPlayersLine(
        lstList->filtered(), lstList->rows().size(), std::size_t(lstList->totalRowCount()));
    if (line)
        lblShownPlayers->setText(QString::fromStdString(*line));
    panFilterState->setVisible(line.has_value());
}

Player *TframeListPlayers::focusedPlayer() const
{
    const ZIVGridRow *row = lstList->GetFocusedRow();
    if (!row || !players)
        return nullptr;
    const auto found = players->find(row->getLong("id"));
    return found == players->end() ? nullptr : found->second;
}

void TframeListPlayers::trkStaminaChange(QSlider *sender)
{
    sender->setToolTip(toQString(levelOverrideHint(sender->value())));
    refresh();
}

void TframeListPlayers::cbViewChange()
{
    for (const ColumnVisibility &column : viewColumns(cbView->currentIndex()))
        lstList->getColumn(column.column, true)
            ->setVisibility(column.shown ? ZIVGridColumn::visible : ZIVGridColumn::hidden);
    lstList->fitColumnsToData();
    lstList->fitColumnsToGrid();
}
