#include "grid/core/grid_update.h"
#include "grid/widget/ziv_edit.h"
#include "grid/widget/ziv_grid.h"
#include "qt_text/qt_text.h"
#include "service/match_search.h"
#include "service/session.h"
#include "service/team_search.h"
#include "support/hostile_names.h"
#include "support/message_box_watch.h"
#include "ui/player_list_frame.h"
#include "ui/select_base_dialog.h"
#include "ui/select_matches_dialog.h"
#include "ui/select_team_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <pugixml.hpp>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

// Runs `action` on the modal dialog once it is up.
void whenModal(std::function<void(QDialog *)> action)
{
    QTimer::singleShot(30, [action = std::move(action)] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "no modal dialog is shown";
        action(dialog);
    });
}

// Clicks the data row of `grid` that is `index` rows below the header.
void clickRow(ZIVGrid *grid, int index, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QRect cell = grid->cellRect(0, index + 1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, cell.center());
}

// A selection dialog of fixed candidates, counting its resets.
class FixedSelection : public TfrmSelectBase
{
public:
    void reset() override { ++resets; }
    void refill() override
    {
        const ZIVGridUpdate update(*lstList);
        lstList->clear();
        ZIVGridColumn &id = *lstList->getColumn("id", true);
        ZIVGridColumn &name = *lstList->getColumn("name", true);
        for (const auto &[key, text] : candidates) {
            ZIVGridRow &row = lstList->addRow();
            row.cell(id).setLong(key);
            row.cell(name).setString(text);
        }
        lstList->filterAndSort();
    }

    TSelection candidates{{7, "seven"}, {3, "three"}, {5, "five"}};
    int resets = 0;
};

TEST(SelectBase, LayoutKeepsTheButtonsCentredAndHasTheHeaderMenu)
{
    FixedSelection dialog;
    EXPECT_EQ(dialog.panBaseButtons->height(), 41);
    EXPECT_EQ(dialog.panOkCancel->size(), QSize(185, 25));
    EXPECT_TRUE(dialog.btnOk->isDefault());
    EXPECT_EQ(dialog.lstList->headersText(), "frmSelectBase");
    EXPECT_TRUE(dialog.lstList->FitColumnToGrid());
    EXPECT_NE(dialog.lstList->headerMenu(), nullptr);
    for (int width : {420, 601, 250}) {
        dialog.resize(width, 300);
        dialog.show();
        QApplication::processEvents();
        const int panel = dialog.panBaseButtons->width();
        EXPECT_EQ(dialog.panOkCancel->x(), (panel - 185) / 2) << "width " << width;
    }
}

struct SelectCase
{
    const char *name;
    std::vector<std::pair<int, Qt::KeyboardModifiers>> clicks; // display index, modifiers
    bool confirm;                                              // OK, else Escape
    TSelection before;
    TSelection expected;
};

class SelectBaseCases : public ::testing::TestWithParam<SelectCase>
{
};

TEST_P(SelectBaseCases, FillsTheMapOnOkAndEmptiesItOnCancel)
{
    const SelectCase &c = GetParam();
    FixedSelection dialog;
    TSelection selection = c.before;
    whenModal([&](QDialog *shown) {
        EXPECT_EQ(shown, &dialog);
        for (const auto &[index, modifiers] : c.clicks)
            clickRow(dialog.lstList, index, modifiers);
        if (c.confirm)
            QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
        else
            QTest::keyClick(dialog.lstList, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.select(selection), c.confirm);
    EXPECT_EQ(selection, c.expected);
    EXPECT_EQ(dialog.resets, 1);
}

const Qt::KeyboardModifiers none = Qt::NoModifier;
const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;

// Sorted by "id": display index 0 is 3, 1 is 5, 2 is 7.
INSTANTIATE_TEST_SUITE_P(
    Cases, SelectBaseCases,
    ::testing::Values(SelectCase{"three_rows_ok",
                                 {{0, none}, {1, ctrl}, {2, ctrl}},
                                 true,
                                 {},
                                 {{3, "three"}, {5, "five"}, {7, "seven"}}},
                      SelectCase{"other_entries_stay",
                                 {{1, none}},
                                 true,
                                 {{99, "kept"}, {5, "old"}},
                                 {{5, "five"}, {99, "kept"}}},
                      // OK takes the focused row when none is selected.
                      SelectCase{"nothing_selected_takes_the_focused_row",
                                 {},
                                 true,
                                 {{1, "kept"}},
                                 {{1, "kept"}, {3, "three"}}},
                      SelectCase{"cancel_empties", {{0, none}}, false, {{1, "gone"}}, {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SelectBase, DoubleClickClosesWithOkOnlyOnAFocusedRow)
{
    FixedSelection dialog;
    dialog.candidates.clear();
    TSelection selection;
    bool stillOpen = false;
    whenModal([&](QDialog *) {
        // An empty list: nothing is focused, so the double click does not close.
        QTest::mouseDClick(dialog.lstList->viewport(), Qt::LeftButton, Qt::NoModifier,
                           dialog.lstList->cellRect(0, 1).center());
        stillOpen = dialog.isVisible();
        dialog.reject();
    });
    EXPECT_FALSE(dialog.select(selection));
    EXPECT_TRUE(stillOpen);

    FixedSelection filled;
    whenModal([&](QDialog *) {
        const QPoint second = filled.lstList->cellRect(0, 2).center();
        QTest::mouseClick(filled.lstList->viewport(), Qt::LeftButton, Qt::NoModifier, second);
        QTest::mouseDClick(filled.lstList->viewport(), Qt::LeftButton, Qt::NoModifier, second);
        QTimer::singleShot(200, &filled, &QDialog::reject); // a net should the click fail
    });
    EXPECT_TRUE(filled.select(selection));
    EXPECT_EQ(selection, (TSelection{{5, "five"}}));
}

} // namespace

namespace {

TEST(SelectMatches, DeleteTeamRemovesTheSelectedTeamsAndEveryGridHasItsHeaderMenu)
{
    Troot session;
    TfrmSelectMatches dialog(session);
    TfrmSelectTeam teams(session);
    TframeListPlayers players(*session.keeper());
    for (ZIVGrid *grid : {dialog.lstList, dialog.lstTeams, teams.lstList, players.lstList})
        EXPECT_NE(grid->headerMenu(), nullptr) << grid->headersText().toStdString();
    EXPECT_EQ(dialog.lstTeams->headersText(), "select matches");
    EXPECT_EQ(dialog.lstList->headersText(), "frmSelectMatches");
    EXPECT_EQ(teams.windowTitle(), "Select teams");
    EXPECT_EQ(dialog.windowTitle(), "Select matches");

    dialog.teams = {{4, "Delta"}, {2, "Bravo"}, {3, "Charlie"}};
    whenModal([&](QDialog *) {
        // Sorted by name: Bravo, Charlie, Delta.
        clickRow(dialog.lstTeams, 0);
        clickRow(dialog.lstTeams, 2, Qt::ControlModifier);
        QTest::mouseClick(dialog.btnDeleteTeam, Qt::LeftButton);
        ASSERT_EQ(dialog.lstTeams->rowNum(), 1);
        EXPECT_EQ(dialog.lstTeams->getRow(0)->getString("name"), "Charlie");
        dialog.reject();
    });
    TSelection chosen;
    EXPECT_FALSE(dialog.select(chosen));
    EXPECT_EQ(dialog.teams, (TSelection{{3, "Charlie"}}));
}

// Each id is typed on its own; what is no number is said in the dialog, not in a box.
TEST(SelectMatches, SearchByIdTakesOneIdAtATime)
{
    Troot session;
    TfrmSelectMatches dialog(session);
    MessageBoxWatch boxes;
    whenModal([&](QDialog *) {
        for (const char *typed : {"1000118", "1000126", "12-3"}) {
            QTest::keyClicks(dialog.txtMatchId->edit(), typed);
            QTest::mouseClick(dialog.btnSearchById, Qt::LeftButton);
        }
        EXPECT_EQ(dialog.lstList->rowNum(), 2);
        EXPECT_EQ(dialog.lblMatchIdHint->text(), "Type a match id (digits only).");
        EXPECT_EQ(dialog.txtMatchId->edit()->text(), "12-3") << "kept to be mended";
        dialog.reject();
    });
    TSelection chosen;
    dialog.select(chosen);
    EXPECT_TRUE(boxes.boxes.isEmpty()) << boxes.texts().join(" | ").toStdString();
}

// Names from a search answer reach the lists as they are.
TEST(SelectDialogs, FoundNamesAreListedLiterally)
{
    std::string results = "<Search><SearchResults>", matches = "<Data><Team><MatchList>";
    int id = 0;
    for (const HostileName &name : hostileNames) {
        ++id;
        results += "<Result><ResultID>" + std::to_string(id) + "</ResultID><ResultName>" +
                   name.xml + "</ResultName></Result>";
        matches += "<Match><MatchID>" + std::to_string(id) +
                   "</MatchID><Status>FINISHED</Status>"
                   "<MatchDate>2026-01-0" +
                   std::to_string(id) +
                   " 15:00:00</MatchDate>"
                   "<HomeTeam><HomeTeamName>" +
                   name.xml +
                   "</HomeTeamName></HomeTeam><AwayTeam>"
                   "<AwayTeamName>&amp;" +
                   name.xml + "</AwayTeamName></AwayTeam></Match>";
    }
    pugi::xml_document resultsDoc, matchesDoc;
    ASSERT_TRUE(resultsDoc.load_string((results + "</SearchResults></Search>").c_str()));
    ASSERT_TRUE(matchesDoc.load_string((matches + "</MatchList></Team></Data>").c_str()));

    Troot session;
    TfrmSelectTeam teams(session);
    readSearchResults(resultsDoc, teams.foundTeams);
    teams.refill();
    TfrmSelectMatches dialog(session);
    pickMatches(matchesDoc, MatchPick::Recent, dialog.foundMatches);
    dialog.teams = teams.foundTeams;
    dialog.refill();
    id = 0;
    for (const HostileName &name : hostileNames) {
        SCOPED_TRACE(name.shown);
        const std::string key = std::to_string(++id);
        const ZIVGridRow *team = teams.lstList->getRowByValues({"id", key});
        const ZIVGridRow *listed = dialog.lstTeams->getRowByValues({"id", key});
        const ZIVGridRow *match = dialog.lstList->getRowByValues({"id", key});
        ASSERT_TRUE(team && listed && match);
        EXPECT_EQ(team->getString("name"), name.shown);
        EXPECT_EQ(listed->getString("name"), name.shown);
        EXPECT_EQ(match->getString("home"), name.shown);
        EXPECT_EQ(match->getString("away"), std::string("&").append(name.shown));
    }
}

} // namespace
