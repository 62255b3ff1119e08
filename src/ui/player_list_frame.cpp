#include "ui/player_list_frame.h"

#include "grid/core/grid_refill.h"
#include "grid/widget/ziv_grid.h"
#include "players/keeper.h"
#include "players/player.h"
#include "players/player_list_view.h"
#include "players/weights.h"
#include "qt_text/qt_text.h"
#include "ui/error_display.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr TColor gridColor(ListColour colour)
{
    return rgbColor(colour.red, colour.green, colour.blue);
}

const std::vector<std::string> headerLines = {"id",
                                              "marked",
                                              "bidder;bidder;s",
                                              "name",
                                              "age",
                                              "injury",
                                              "stars",
                                              "form",
                                              "stamina",
                                              "scoring",
                                              "playmaking",
                                              "defending",
                                              "passing",
                                              "winger",
                                              "setpieces",
                                              "goaltending",
                                              "speciality",
                                              "value",
                                              "wage",
                                              "bid;bid;s",
                                              "deadline",
                                              "gentleness",
                                              "aggressivity",
                                              "honesty",
                                              "experience",
                                              "leadership",
                                              "GK;GK;v",
                                              "pos_keeper;G;v",
                                              "pos_central_defender;D;v",
                                              "pos_inner_midfielder;M;v",
                                              "pos_wingback;WB;v",
                                              "pos_winger;W;v",
                                              "pos_forward;F;v",
                                              "pos_central_defender_towards_wing;DTW;v",
                                              "pos_central_defender_offensive;DO;v",
                                              "pos_wingback_defensive;WBD;v",
                                              "pos_wingback_towards_middle;WBTM;v",
                                              "pos_wingback_offensive;WBO;v",
                                              "pos_inner_midfielder_defensive;MD;v",
                                              "pos_inner_midfielder_towards_wing;MTW;v",
                                              "pos_inner_midfielder_offensive;MO;v",
                                              "pos_winger_defensive;WD;v",
                                              "pos_winger_towards_middle;WTM;v",
                                              "pos_winger_offensive;WO;v",
                                              "pos_forward_defensive;FD;v"};

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

// Gives a row or cell a font of its own, starting from the one it shows now.
template <typename Styled> TFont &ownFont(Styled &styled)
{
    if (styled.fontSource() != srcOwn) {
        styled.font();
        styled.setFontSource(srcOwn);
    }
    return styled.font();
}

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
    lstList->SetHeaders(headerLines);
    lstList->SetHeadersString("frameListPlayers");
    lstList->setDefaultColWidth(66);
    buildSettings();
    colourColumns();
    for (const char *name : viewNames())
        cbView->addItem(name);
    cbView->setCurrentIndex(0);
    connectGuarded(cbView, &QComboBox::currentIndexChanged, this, &TframeListPlayers::cbViewChange);
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
    row->addStretch(1);
    static_cast<QVBoxLayout *>(layout())->insertWidget(0, panSettings);
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
