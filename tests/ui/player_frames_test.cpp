#include "grid/widget/ziv_grid.h"
#include "players/keeper.h"
#include "players/player.h"
#include "players/team.h"
#include "players/weights.h"
#include "ui/player_abilities_frame.h"
#include "ui/player_list_frame.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr TColor rgb(unsigned r, unsigned g, unsigned b)
{
    return r | g << 8 | b << 16;
}

constexpr TColor yellow = rgb(255, 255, 0);
constexpr TColor green = rgb(0, 128, 0);
constexpr TColor cream = rgb(255, 251, 240);
constexpr TColor skyBlue = rgb(166, 202, 240);

class PlayerListFrame : public ::testing::Test
{
protected:
    Player &add(std::int32_t id)
    {
        owned.push_back(std::make_unique<Player>(id));
        team.players[id] = owned.back().get();
        return *owned.back();
    }
    void show()
    {
        frame.setTeam(&team);
        frame.refresh();
    }
    ZIVGridRow &row(std::int32_t id)
    {
        for (ZIVGridRow *r : frame.lstList->rows())
            if (r->getLong("id") == id)
                return *r;
        throw std::runtime_error("no row " + std::to_string(id));
    }
    ZIVGridCell &cell(std::int32_t id, const char *column) { return row(id).cell(column); }

    Team team{5};
    std::vector<std::unique_ptr<Player>> owned;
    TframeListPlayers frame{sharedKeeper()};
};

TEST_F(PlayerListFrame, DeclaresItsColumnsControlsAndColumnColours)
{
    ZIVGrid &grid = *frame.lstList;
    EXPECT_EQ(grid.GetHeadersString(), "frameListPlayers");
    EXPECT_EQ(grid.DefaultColWidth(), 66);
    EXPECT_EQ(grid.columns().size(), 45u);
    EXPECT_EQ(grid.visibleColumns().size(), 43u);
    for (const char *hidden : {"bidder", "bid"})
        EXPECT_EQ(grid.getColumn(hidden, true)->visibility(), ZIVGridColumn::systemHidden);
    EXPECT_EQ(grid.getColumn("pos_central_defender_towards_wing", true)->caption(), "DTW");
    EXPECT_EQ(grid.getColumn("form", true)->brush().color, skyBlue);
    EXPECT_EQ(grid.getColumn("goaltending", true)->brush().color, cream);
    EXPECT_EQ(grid.frozenColumns(), 3); // id, marked, name

    EXPECT_EQ(frame.panSettings->height(), 19);
    for (QSlider *bar : {frame.trkStamina, frame.trkForm}) {
        EXPECT_EQ(bar->minimum(), 0);
        EXPECT_EQ(bar->maximum(), 8);
        EXPECT_EQ(bar->value(), 0);
        EXPECT_EQ(bar->pageStep(), 1);
        EXPECT_TRUE(bar->toolTip().isEmpty()); // no hint until the first move
    }
    EXPECT_EQ(frame.Label1->text(), "Stamina");
    EXPECT_EQ(frame.Label2->text(), "Form");
    EXPECT_EQ(frame.Label3->text(), "View");
    ASSERT_EQ(frame.cbView->count(), 7);
    EXPECT_EQ(frame.cbView->itemText(0), "all");
    EXPECT_EQ(frame.cbView->itemText(6), "forward");
    EXPECT_EQ(frame.cbView->currentIndex(), 0);
    EXPECT_FALSE(frame.cbView->isEditable());
}

TEST_F(PlayerListFrame, WithoutATeamTheListStaysEmpty)
{
    add(1);
    frame.refresh();
    EXPECT_EQ(frame.lstList->rowNum(), 0);
    show();
    EXPECT_EQ(frame.lstList->rowNum(), 1);
    frame.setTeam(nullptr);
    frame.refresh();
    EXPECT_EQ(frame.lstList->rowNum(), 0);
    EXPECT_EQ(frame.team(), nullptr);
}

TEST_F(PlayerListFrame, ColoursLevelsAndRatingsByTheirThresholds)
{
    Player &p = add(1);
    p.defending = 5;
    p.passing = 6;
    p.winger = 7;
    p.stamina = 6;
    p.goaltending = 6;
    add(2).defending = 15;
    show();

    const struct
    {
        int player;
        const char *column;
        bool yellowBackground;
        bool greenBold;
        TColor columnColour;
    } cases[] = {
        {1, "defending", false, false, cream},
        {1, "passing", false, true, cream},
        {1, "winger", true, true, cream},
        {1, "stamina", false, true, skyBlue},
        {1, "form", false, false, skyBlue},
        {1, "pos_keeper", false, true, clWhite},          // 6.0
        {2, "pos_central_defender", true, true, clWhite}, // 13.4
    };
    for (const auto &c : cases) {
        ZIVGridCell &shown = cell(c.player, c.column);
        if (c.yellowBackground) {
            EXPECT_EQ(shown.brushSource(), srcOwn) << c.column;
            EXPECT_EQ(shown.brush().color, yellow) << c.column;
        } else {
            EXPECT_EQ(shown.brushSource(), srcColumn) << c.column;
            EXPECT_EQ(shown.brush().color, c.columnColour) << c.column;
        }
        const TFont &font = shown.font();
        EXPECT_EQ(font.color == green && (font.style & fsBold), c.greenBold) << c.column;
    }
}

TEST_F(PlayerListFrame, TheKeeperEstimateIsColouredAndWithoutANumberStaysEmpty)
{
    add(1).form = 6;
    owned.back()->value = 2914; // 7.01
    add(2).form = 9;
    owned.back()->value = 5000;
    show();
    EXPECT_DOUBLE_EQ(cell(1, "GK").getDouble(), 7.01);
    EXPECT_EQ(cell(1, "GK").brush().color, yellow);
    EXPECT_EQ(cell(1, "GK").font().style & fsBold, fsBold);
    EXPECT_TRUE(cell(2, "GK").isEmpty());
}

TEST_F(PlayerListFrame, MarkedAndInjuredRowsAndThePersonalCells)
{
    Player &p = add(3);
    p.marked = true;
    p.injury = 2;
    p.name = "Zo\xC3\xAB";
    p.gentleness = 2;
    p.leadership = 7;
    p.speciality = 4;
    p.stars = 3.5;
    p.deadline = 45000.75;
    Player &plain = add(4);
    plain.marked = true;
    add(5);
    show();

    const ZIVGridRow &both = row(3);
    EXPECT_EQ(both.fontSource(), srcOwn);
    EXPECT_EQ(row(3).font().color, rgb(255, 0, 0));
    EXPECT_TRUE(row(3).font().style & fsItalic);
    EXPECT_EQ(cell(3, "marked").getString(), "x");
    EXPECT_EQ(cell(3, "injury").getInt(), 2);
    EXPECT_EQ(cell(3, "name").getString(), "Zo\xC3\xAB");
    EXPECT_EQ(cell(3, "speciality").getString(), "unpredictable");
    EXPECT_DOUBLE_EQ(cell(3, "stars").getDouble(), 3.5);
    EXPECT_EQ(cell(3, "gentleness").brush().color, rgb(50, 255, 50));
    EXPECT_EQ(cell(3, "leadership").brush().color, rgb(255, 0, 0));

    EXPECT_EQ(row(4).font().color, rgb(0, 0, 255));
    EXPECT_TRUE(cell(4, "injury").isEmpty());
    EXPECT_NE(row(5).fontSource(), srcOwn);
    EXPECT_TRUE(cell(5, "marked").isEmpty());
    EXPECT_TRUE(cell(5, "stars").isEmpty());
    EXPECT_EQ(cell(5, "speciality").getString(), "?");
    EXPECT_DOUBLE_EQ(cell(3, "deadline").getDate(), 45000.75);
    EXPECT_TRUE(cell(5, "deadline").isEmpty()); // no deadline: no midnight of day zero
}

TEST_F(PlayerListFrame, ANewTeamsWidthsFitItsNamesUpToTheMaximum)
{
    add(1).name = "Ann";
    show();
    ZIVGrid &grid = *frame.lstList;
    const auto width = [&](const char *name) {
        return grid.colWidth(grid.getColumn(name, true)->visibleIndex());
    };
    EXPECT_LT(width("name"), grid.DefaultColWidth());
    EXPECT_GE(width("marked"), grid.fontMetrics().horizontalAdvance("marked")); // caption shown
    add(2).name = std::string(80, 'W');
    show(); // the same team again keeps the widths
    EXPECT_LT(width("name"), grid.DefaultColWidth());
    Team other{6};
    other.players[2] = team.players[2];
    frame.setTeam(&other);
    frame.refresh();
    EXPECT_EQ(width("name"), TframeListPlayers::maxFittedWidth);
}

TEST_F(PlayerListFrame, NamesSortAsPeopleReadThem)
{
    const char *const names[] = {"Tomas", "\xC3\x93lafur", "anna"};
    for (int id = 1; id <= 3; ++id)
        add(id).name = names[id - 1];
    show();
    frame.lstList->headerClick(*frame.lstList->getColumn("name", true), false);
    EXPECT_EQ(frame.lstList->rows()[0]->getLong("id"), 3);
    EXPECT_EQ(frame.lstList->rows()[1]->getLong("id"), 2); // Ólafur before Tomas
}

TEST_F(PlayerListFrame, EachBehaviourRatingLandsInItsOwnColumn)
{
    Player &p = add(8);
    p.stamina = 7;
    p.defending = 12;
    p.winger = 4;
    p.playmaking = 9;
    p.scoring = 3;
    p.passing = 8;
    p.form = 5;
    show();
    EXPECT_NEAR(cell(8, "pos_central_defender").getDouble(), 0.01 * (70 + 1080) - 0.5, 1e-12);
    EXPECT_NEAR(cell(8, "pos_central_defender_towards_wing").getDouble(),
                0.01 * (70 + 840 + 80) - 0.5, 1e-12);
    EXPECT_NEAR(cell(8, "pos_central_defender_offensive").getDouble(),
                0.01 * (140 + 600 + 270) - 0.5, 1e-12);
    for (const RatedPosition &rated : ratedPositions())
        EXPECT_EQ(cell(8, rated.column).getDouble(), p.positionRating(rated.position, -1, -1))
            << rated.column;
}

TEST_F(PlayerListFrame, TheTrackBarsRateAtAnotherLevelButLeaveTheKeeperEstimate)
{
    Player &p = add(1);
    p.form = 6;
    p.stamina = 5;
    p.defending = 9;
    p.value = 6000;
    show();
    std::vector<double> before;
    for (const RatedPosition &rated : ratedPositions())
        before.push_back(cell(1, rated.column).getDouble());
    const double keeperBefore = cell(1, "GK").getDouble();

    frame.trkForm->setValue(8);
    EXPECT_EQ(frame.trkForm->toolTip(), "excellent");
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(cell(1, ratedPositions()[i].column).getDouble(), before[i] + 1.0)
            << ratedPositions()[i].column;
    EXPECT_EQ(cell(1, "GK").getDouble(), keeperBefore);

    frame.trkStamina->setValue(3);
    EXPECT_EQ(frame.trkStamina->toolTip(), "poor");
    EXPECT_NEAR(cell(1, "pos_central_defender").getDouble(), 0.01 * (30 + 810) + 1.0, 1e-12);
    EXPECT_EQ(cell(1, "stamina").getInt(), 5); // the player's own level stays shown

    frame.trkForm->setValue(0);
    frame.trkStamina->setValue(0);
    EXPECT_EQ(frame.trkForm->toolTip(), "Actual value");
    EXPECT_EQ(frame.trkStamina->toolTip(), "Actual value");
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(cell(1, ratedPositions()[i].column).getDouble(), before[i]);
}

TEST_F(PlayerListFrame, AnUnknownFormGetsNoFormTermUntilTheBarGivesOne)
{
    Player &p = add(1);
    p.goaltending = 12;
    show();
    EXPECT_EQ(cell(1, "pos_keeper").getDouble(), 12.0);
    frame.trkForm->setValue(6);
    EXPECT_EQ(cell(1, "pos_keeper").getDouble(), 12.0);
    frame.trkForm->setValue(2);
    EXPECT_EQ(cell(1, "pos_keeper").getDouble(), 10.0);
}

TEST_F(PlayerListFrame, TheViewSwitchesItsColumnsAndLeavesTheOthersAndTheRows)
{
    add(1);
    show();
    const auto visible = [&](const char *name) {
        return frame.lstList->getColumn(name, true)->visibility() == ZIVGridColumn::visible;
    };
    frame.cbView->setCurrentIndex(1); // keeper
    EXPECT_TRUE(visible("GK"));
    EXPECT_FALSE(visible("pos_central_defender"));
    for (const char *untouched : {"name", "age", "form", "value", "id"})
        EXPECT_TRUE(visible(untouched)) << untouched;
    frame.cbView->setCurrentIndex(0);
    for (const RatedPosition &rated : ratedPositions())
        EXPECT_TRUE(visible(rated.column)) << rated.column;
    EXPECT_EQ(frame.lstList->getColumn("bid", true)->visibility(), ZIVGridColumn::systemHidden);
    EXPECT_EQ(frame.lstList->rowNum(), 1); // the view changes columns, not rows
}

TEST(PlayerAbilitiesPanel, ShowsTheEightLevelWordsOfThePlayerItWasGiven)
{
    TframePlayerAbilities panel;
    EXPECT_TRUE(panel.width() >= 299 && panel.height() >= 89);
    EXPECT_EQ(panel.GroupBox1->title(), "Playing attributes");
    const struct
    {
        const char *captionLabel, *caption, *valueLabel;
        int left, top;
    } rows[] = {
        {"Label1", "Stamina", "lblStamina", 16, 16},
        {"Label2", "Playmaking", "lblPlaymaking", 16, 32},
        {"Label3", "Winger", "lblWinger", 16, 48},
        {"Label4", "Scoring", "lblScoring", 16, 64},
        {"Label9", "Keeper", "lblKeeper", 152, 16},
        {"Label10", "Passing", "lblPassing", 152, 32},
        {"Label11", "Defending", "lblDefending", 152, 48},
        {"Label12", "Set Pieces", "lblSetPieces", 152, 64},
    };
    for (const auto &r : rows) {
        auto *caption = panel.findChild<QLabel *>(r.captionLabel);
        auto *value = panel.findChild<QLabel *>(r.valueLabel);
        ASSERT_TRUE(caption && value) << r.captionLabel;
        EXPECT_EQ(caption->text(), r.caption);
        EXPECT_TRUE(caption->font().bold());
        // The designed places are the least; the font may move them right and down.
        EXPECT_GE(caption->x(), r.left);
        EXPECT_GE(caption->y(), r.top);
        EXPECT_GE(value->x(), caption->x() + 72);
        EXPECT_EQ(value->y(), caption->y());
        EXPECT_TRUE(value->text().isEmpty()) << r.valueLabel;
    }

    Player p(1);
    p.goaltending = 13;
    p.stamina = 16;
    p.defending = 1;
    panel.setPlayer(&p);
    EXPECT_TRUE(panel.lblKeeper->text().isEmpty()); // not before the refresh
    panel.refresh();
    EXPECT_EQ(panel.lblKeeper->text(), "worldclass");
    EXPECT_EQ(panel.lblStamina->text(), "extraterrestrial");
    EXPECT_EQ(panel.lblDefending->text(), "disastrous");
    EXPECT_EQ(panel.lblSetPieces->text(), "?");
    panel.setPlayer(nullptr);
    panel.refresh();
    EXPECT_TRUE(panel.lblKeeper->text().isEmpty());
}

// At any font size every caption and every word keeps to its own place: nothing runs into a
// neighbour or out of the panel.
class PlayerAbilitiesLayout : public ::testing::TestWithParam<double>
{
};

TEST_P(PlayerAbilitiesLayout, NoCaptionTouchesAValue)
{
    const QFont original = QApplication::font();
    QFont larger = original;
    larger.setPointSizeF(original.pointSizeF() * GetParam());
    QApplication::setFont(larger);
    {
        TframePlayerAbilities panel;
        Player p(1);
        p.stamina = p.playmaking = p.winger = p.scoring = 16; // "extraterrestrial"
        p.goaltending = p.passing = p.defending = p.setpieces = 9;
        panel.setPlayer(&p);
        panel.refresh();
        const QList<QLabel *> labels = panel.GroupBox1->findChildren<QLabel *>();
        ASSERT_EQ(labels.size(), 16);
        for (QLabel *label : labels) {
            EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
            EXPECT_TRUE(
                panel.rect().contains(label->geometry().translated(label->parentWidget()->pos())));
            for (QLabel *other : labels)
                EXPECT_TRUE(other == label || !label->geometry().intersects(other->geometry()))
                    << label->objectName().toStdString() << " "
                    << other->objectName().toStdString();
        }
    }
    QApplication::setFont(original);
}

INSTANTIATE_TEST_SUITE_P(Fonts, PlayerAbilitiesLayout, ::testing::Values(1.0, 1.5, 2.0),
                         [](const auto &info) { return std::to_string(int(info.param * 100)); });

} // namespace
