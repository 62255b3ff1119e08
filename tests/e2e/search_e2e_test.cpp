#include "grid/widget/ziv_edit.h"
#include "grid/widget/ziv_grid.h"
#include "service/session.h"
#include "service/team_download.h"
#include "sim/schedule.h"
#include "sim/sim_server.h"
#include "support/message_box_watch.h"
#include "support/modal_script.h"
#include "ui/error_display.h"
#include "ui/login_dialog.h"
#include "ui/main_window.h"
#include "ui/select_matches_dialog.h"
#include "ui/select_team_dialog.h"
#include "ui/startup.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

void clickRow(ZIVGrid *grid, int index, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers,
                      grid->cellRect(0, index + 1).center());
}

void selectAllRows(ZIVGrid *grid)
{
    clickRow(grid, 0);
    if (grid->rowNum() > 1)
        clickRow(grid, grid->rowNum() - 1, Qt::ShiftModifier);
}

void typeInto(ZIVEdit *edit, const QString &text)
{
    edit->edit()->clear();
    QTest::keyClicks(edit->edit(), text);
}

void saveScreenshot(QWidget *window, const QString &name)
{
    const QString folder = QCoreApplication::applicationDirPath() + "/screenshots";
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(window->grab().save(folder + "/" + name));
}

class SearchE2e : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(xmlParent.isValid());
        ASSERT_NE(sim.listen(), 0);
        createGlobalInstances(new Troot(sim.baseUrl(), sim.versionUrl()),
                              xmlParent.filePath("XML"));
        root->http().setTimeoutMs(5000);
    }
    void TearDown() override
    {
        delete frmMain;
        frmMain = nullptr;
        delete root;
        root = nullptr;
    }

    void logIn(const QString &code)
    {
        script.then(frmLogin, [code] {
            typeInto(frmLogin->txtUsername, "demo");
            frmLogin->txtPassword->clear();
            QTest::keyClicks(frmLogin->txtPassword, code);
            QTest::mouseClick(frmLogin->btnLogin, Qt::LeftButton);
        });
    }
    void cancelLogin()
    {
        script.then(frmLogin, [] { QTest::mouseClick(frmLogin->btnCancel, Qt::LeftButton); });
    }
    int teamIdNamed(const QString &name) const
    {
        for (const sim::Team &team : sim.world().teams())
            if (team.name == name)
                return team.id;
        ADD_FAILURE() << "no team " << name.toStdString();
        return 0;
    }
    // What the service's schedule says is running or next for the team now.
    std::set<int> runningOrNext(int teamId) const
    {
        const double now = sim.minutes();
        const sim::Team &team = *sim.world().teamById(teamId);
        const int season = sim::schedule::seasonOf(sim::schedule::currentRound(now));
        std::set<int> ongoing;
        int firstUpcoming = 0;
        for (const sim::Fixture &fixture :
             sim::schedule::teamSeason(sim.world(), team.index, season)) {
            const sim::MatchStatus status = sim::schedule::status(fixture, now);
            if (status == sim::MatchStatus::Ongoing)
                ongoing.insert(fixture.matchId);
            else if (status == sim::MatchStatus::Upcoming && firstUpcoming == 0)
                firstUpcoming = fixture.matchId;
        }
        if (ongoing.empty() && firstUpcoming != 0)
            ongoing.insert(firstUpcoming);
        return ongoing;
    }

    QTemporaryDir xmlParent;
    sim::Server sim;
    ModalScript script;
    // Every error box shown, answered with OK.
    MessageBoxWatch boxes;
};

TEST_F(SearchE2e, TwoTeamsFoundByNameAndByIdGiveTheirRunningMatchesOnNext)
{
    // In the middle of the fourth round: matches are running.
    sim.advance(3 * sim::schedule::roundLength + 40);
    const int malmo = teamIdNamed("Malmö Vikings");
    const int penaroja = teamIdNamed("Atlético Peñaroja");

    script.then(frmSelectMatches,
                [] { QTest::mouseClick(frmSelectMatches->btnSelectTeams, Qt::LeftButton); });
    script.then(frmSelectTeam, [] {
        typeInto(frmSelectTeam->txtUserOrTeamName, "malmo");
        QTest::mouseClick(frmSelectTeam->btnSearchTeam, Qt::LeftButton);
    });
    logIn("demo");
    script.then(
        frmSelectTeam,
        [penaroja] {
            typeInto(frmSelectTeam->txtTeamId, QString::number(penaroja));
            QTest::keyClick(frmSelectTeam->txtTeamId->edit(), Qt::Key_Return); // searches
            ZIVGrid *list = frmSelectTeam->lstList;
            ASSERT_EQ(list->rowNum(), 2);
            // Sorted by name: Atlético before Malmö.
            EXPECT_EQ(list->getRow(0)->getString("name"), "Atlético Peñaroja");
            clickRow(list, 0);
            clickRow(list, 1, Qt::ControlModifier);
            saveScreenshot(frmSelectTeam, "select_teams.png");
            QTest::mouseClick(frmSelectTeam->btnOk, Qt::LeftButton);
        },
        [] { return frmSelectTeam->lstList->rowNum() == 1; });
    script.then(
        frmSelectMatches,
        [] {
            selectAllRows(frmSelectMatches->lstTeams);
            QTest::mouseClick(frmSelectMatches->btnNext, Qt::LeftButton);
            EXPECT_GT(frmSelectMatches->lstList->rowNum(), 0);
            selectAllRows(frmSelectMatches->lstList);
            saveScreenshot(frmSelectMatches, "select_matches.png");
            QTest::mouseClick(frmSelectMatches->btnOk, Qt::LeftButton);
        },
        [] { return frmSelectMatches->lstTeams->rowNum() == 2; });
    script.start();

    TSelection chosen{{1, "left over"}};
    EXPECT_TRUE(frmSelectMatches->select(chosen));
    ASSERT_TRUE(script.finished());
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join("\n").toStdString();

    std::set<int> expected = runningOrNext(malmo);
    expected.merge(runningOrNext(penaroja));
    expected.insert(1); // an entry the caller had stays
    std::vector<int> ids;
    for (const auto &[id, name] : chosen) {
        ids.push_back(id);
        if (id != 1) {
            EXPECT_EQ(name, "");
        }
    }
    EXPECT_EQ(ids, std::vector<int>(expected.begin(), expected.end()));
    EXPECT_EQ(sim.requestLog().filter("matches.asp").size(), 2);
    // The teams stay for the next opening; the matches do not.
    EXPECT_EQ(frmSelectMatches->teams.size(), 2u);
}

TEST_F(SearchE2e, ACancelledLoginAtTheFirstRequestEndsTheSearchSilently)
{
    script.then(frmSelectTeam, [] {
        typeInto(frmSelectTeam->txtUserOrTeamName, "Kalmar");
        QTest::mouseClick(frmSelectTeam->btnSearchTeam, Qt::LeftButton);
    });
    cancelLogin();
    script.then(frmSelectTeam, [] {
        EXPECT_EQ(frmSelectTeam->lstList->rowNum(), 0);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        frmSelectTeam->reject();
    });
    script.start();
    TSelection chosen;
    EXPECT_FALSE(frmSelectTeam->select(chosen));
    ASSERT_TRUE(script.finished());
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join("\n").toStdString();
    EXPECT_EQ(sim.requestLog().filter("search.asp").size(), 0);
}

TEST_F(SearchE2e, AWrongSecurityCodeIsSaidInTheServicesWordsAndCancelEndsTheSearch)
{
    script.then(frmSelectTeam, [] {
        typeInto(frmSelectTeam->txtUserOrTeamName, "Kalmar");
        QTest::mouseClick(frmSelectTeam->btnSearchTeam, Qt::LeftButton);
    });
    logIn("wrong");
    cancelLogin();
    script.then(frmSelectTeam, [] { frmSelectTeam->reject(); });
    script.start();
    TSelection chosen;
    EXPECT_FALSE(frmSelectTeam->select(chosen));
    ASSERT_TRUE(script.finished());
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_EQ(boxes.texts().first(),
              "The service did not accept the login: Wrong user name or security code.");
}

TEST_F(SearchE2e, MatchesFoundBeforeACancelledLoginAreShown)
{
    sim.advance(3 * sim::schedule::roundLength + 40);
    const int first = teamIdNamed("Malmö Vikings");
    const int second = teamIdNamed("Kalmar Bränning");
    frmSelectMatches->teams = {{first, "Malmö Vikings"}, {second, "Kalmar Bränning"}};
    // The second team's list fails, so the session asks for the login again: cancelled.
    QObject::connect(&sim, &sim::Server::requestArrived, &sim, [this](const QString &line) {
        if (line.contains("matches.asp") && !line.contains("fault"))
            sim.setFault(sim::RouteGroup::Matches, sim::FaultKind::Http500, 1);
    });
    script.then(frmSelectMatches, [] {
        selectAllRows(frmSelectMatches->lstTeams);
        QTest::mouseClick(frmSelectMatches->btnRecent, Qt::LeftButton);
    });
    logIn("demo");
    cancelLogin();
    script.then(frmSelectMatches, [] {
        // Every match of the first team, listed although the search ended early.
        EXPECT_GT(frmSelectMatches->lstList->rowNum(), 5);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        frmSelectMatches->reject();
    });
    script.start();
    TSelection chosen;
    EXPECT_FALSE(frmSelectMatches->select(chosen));
    ASSERT_TRUE(script.finished());
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join("\n").toStdString();
}

TEST_F(SearchE2e, ATeamSearchThatFindsNothingSaysSo)
{
    script.then(frmSelectTeam, [] {
        typeInto(frmSelectTeam->txtUserOrTeamName, "Zzxyq");
        QTest::mouseClick(frmSelectTeam->btnSearchTeam, Qt::LeftButton);
    });
    logIn("demo");
    script.then(frmSelectTeam, [] {
        EXPECT_EQ(frmSelectTeam->lstList->rowNum(), 0);
        EXPECT_EQ(frmSelectTeam->lblHint->text(), "No team found for 'Zzxyq'.");
        frmSelectTeam->reject();
    });
    script.start();
    TSelection chosen;
    EXPECT_FALSE(frmSelectTeam->select(chosen));
    ASSERT_TRUE(script.finished());
}

TEST_F(SearchE2e, SearchByIdWithAnEmptyFieldListsIdZeroOnce)
{
    script.then(frmSelectMatches, [] {
        // Without a team the buttons say what to do first, and send nothing.
        ASSERT_TRUE(frmSelectMatches->teams.empty());
        QTest::mouseClick(frmSelectMatches->btnRecent, Qt::LeftButton);
        EXPECT_EQ(frmSelectMatches->lblHint->text(), "Add a team first.");
        QTabBar *tabs = frmSelectMatches->PageControl1->tabBar();
        EXPECT_EQ(tabs->tabText(1), "Search by id");
        QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(1).center());
        EXPECT_EQ(frmSelectMatches->PageControl1->currentWidget(), frmSelectMatches->tsSearchById);
        QTest::mouseClick(frmSelectMatches->btnSearchById, Qt::LeftButton);
        QTest::mouseClick(frmSelectMatches->btnSearchById, Qt::LeftButton);
        ZIVGrid *list = frmSelectMatches->lstList;
        ASSERT_EQ(list->rowNum(), 1);
        EXPECT_EQ(list->getRow(0)->getLong("id"), 0);
        EXPECT_EQ(list->getRow(0)->getString("date"), "");
        clickRow(list, 0);
        QTest::mouseClick(frmSelectMatches->btnOk, Qt::LeftButton);
    });
    script.start();
    TSelection chosen;
    EXPECT_TRUE(frmSelectMatches->select(chosen));
    ASSERT_TRUE(script.finished());
    EXPECT_EQ(chosen, (TSelection{{0, ""}}));
    EXPECT_TRUE(sim.requestLog().filter("matches.asp").isEmpty()); // no request is sent
}

} // namespace
