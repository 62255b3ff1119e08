#include "grid/widget/ziv_edit.h"
#include "grid/widget/ziv_grid.h"
#include "players/player.h"
#include "players/player_list_view.h"
#include "qt_text/qt_text.h"
#include "service/session.h"
#include "service/team_download.h"
#include "sim/sim_server.h"
#include "support/hostile_names.h"
#include "support/message_box_watch.h"
#include "ui/error_display.h"
#include "ui/lineup_frame.h"
#include "ui/login_dialog.h"
#include "ui/main_window.h"
#include "ui/player_abilities_frame.h"
#include "ui/player_list_frame.h"
#include "ui/startup.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <QStatusBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

class PlayersPage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(xmlParent.isValid());
        ASSERT_NE(sim.listen(), 0);
    }
    void TearDown() override { closeProgram(); }
    void startProgram()
    {
        createGlobalInstances(new Troot(sim.baseUrl(), sim.versionUrl()), folder());
        frmMain->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frmMain));
        QTest::qWait(100); // the version check runs right after the window is shown
    }
    void closeProgram()
    {
        delete frmMain;
        frmMain = nullptr;
        delete root;
        root = nullptr;
    }
    void downloadAsDemo()
    {
        QTimer::singleShot(50, [] {
            ASSERT_EQ(QApplication::activeModalWidget(), frmLogin);
            frmLogin->txtUsername->setText("demo");
            frmLogin->txtPassword->setText("demo");
            QTest::keyClick(frmLogin, Qt::Key_Return);
        });
        frmMain->mnuDownloadData->trigger();
    }
    bool playersTabVisible() const
    {
        return frmMain->pages->isTabVisible(frmMain->pages->indexOf(frmMain->tsPlayers));
    }
    const sim::Team &demoTeam() const { return *sim.world().teamById(sim.demoTeamId()); }
    int serviceRequests() const { return sim.requestLog().filter("/Common/").size(); }

    // The list shows exactly the simulator's squad: ids, names and the eight skills.
    void expectTheDemoSquad()
    {
        const ZIVGrid &grid = *frmMain->frPlayers->lstList;
        const sim::Team &team = demoTeam();
        ASSERT_EQ(grid.rowNum(), int(team.players.size()));
        static const char *const skills[] = {"stamina",     "playmaking", "winger",    "scoring",
                                             "goaltending", "passing",    "defending", "setpieces"};
        for (const sim::Player &expected : team.players) {
            const ZIVGridRow *row = grid.getRowByValues({"id", std::to_string(expected.id)});
            ASSERT_NE(row, nullptr) << expected.id;
            EXPECT_EQ(toQString(row->getString("name")), expected.name);
            EXPECT_EQ(row->cell("value").getInt(), expected.skillIndex);
            EXPECT_EQ(row->cell("form").getInt(), expected.form);
            for (int s = 0; s < sim::skillCount; ++s)
                EXPECT_EQ(row->cell(skills[s]).getInt(), expected.skills[std::size_t(s)])
                    << expected.id << " " << skills[s];
        }
        EXPECT_EQ(frmMain->statusPanels[0]->text(), team.name);
    }

    void clickRow(int displayIndex)
    {
        ZIVGrid *grid = frmMain->frPlayers->lstList;
        const QRect cell = grid->cellRect(1, displayIndex + 1);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }

    QString folder() const { return xmlParent.filePath("XML"); }

    // A players document of team 900 with players by id and name (XML text; none: no name).
    static QByteArray playersDocument(const char *date, const char *teamName,
                                      const std::vector<std::pair<int, const char *>> &players)
    {
        QByteArray text =
            QByteArray("<StrikoraData><FileName>players.xml</FileName><FetchedDate>") + date +
            "</FetchedDate><Team><TeamID>900</TeamID><TeamName>" + teamName +
            "</TeamName><PlayerList>";
        for (const auto &[id, name] : players) {
            text += "<Player><PlayerID>" + QByteArray::number(id) + "</PlayerID>";
            if (*name)
                text += QByteArray("<PlayerName>") + name + "</PlayerName>";
            text += "</Player>";
        }
        return text + "</PlayerList></Team></StrikoraData>";
    }
    void writeFile(const QString &name, const QByteArray &content) const
    {
        ASSERT_TRUE(QDir().mkpath(folder()));
        QFile file(QDir(folder()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QTemporaryDir xmlParent;
    sim::Server sim;
};

// The main window as the user sees it, with a popup (menu, legend, tooltip) painted where it
// stands on the screen.
QImage windowWithPopup(QWidget *window, QWidget *popup)
{
    QImage shot = window->grab().toImage();
    QPainter painter(&shot);
    painter.drawPixmap(window->mapFromGlobal(popup->mapToGlobal(QPoint())), popup->grab());
    return shot;
}

QString screenshot(const char *name)
{
    const QString folder = QCoreApplication::applicationDirPath() + "/screenshots";
    QDir().mkpath(folder);
    return folder + "/" + name;
}

TEST_F(PlayersPage, DownloadFillsThePlayersPageWithTheUsersSquad)
{
    startProgram();
    EXPECT_FALSE(playersTabVisible());
    EXPECT_TRUE(frmMain->statusPanels[0]->text().isEmpty());
    MessageBoxWatch boxes;
    downloadAsDemo();
    EXPECT_TRUE(boxes.boxes.isEmpty()) << boxes.texts().join(", ").toStdString();
    // The user is told where the documents went.
    EXPECT_TRUE(frmMain->statusPanels[1]->text().contains(QDir::toNativeSeparators(folder())))
        << frmMain->statusPanels[1]->text().toStdString();
    ASSERT_TRUE(playersTabVisible());
    expectTheDemoSquad();

    frmMain->pages->setCurrentWidget(frmMain->tsPlayers);
    QTest::qWait(50);
    clickRow(2);
    const ZIVGridRow *row = frmMain->frPlayers->lstList->GetFocusedRow();
    ASSERT_NE(row, nullptr);
    const sim::Player *clicked = nullptr;
    for (const sim::Player &p : demoTeam().players)
        if (p.id == row->getLong("id"))
            clicked = &p;
    ASSERT_NE(clicked, nullptr);
    const TframePlayerAbilities &panel = *frmMain->frAbilities;
    const auto word = [](int level) { return toQString(levelWord(std::int8_t(level))); };
    EXPECT_EQ(panel.lblStamina->text(), word(clicked->skills[sim::Stamina]));
    EXPECT_EQ(panel.lblKeeper->text(), word(clicked->skills[sim::Goaltending]));
    EXPECT_EQ(panel.lblDefending->text(), word(clicked->skills[sim::Defending]));
    EXPECT_EQ(panel.lblSetPieces->text(), word(clicked->skills[sim::SetPieces]));
    EXPECT_FALSE(panel.lblPassing->text().isEmpty());

    EXPECT_TRUE(frmMain->grab().save(screenshot("players_page.png")));
    frmMain->frPlayers->trkForm->setValue(8);
    frmMain->frPlayers->cbView->setCurrentIndex(1);
    QTest::qWait(20);
    EXPECT_TRUE(frmMain->grab().save(screenshot("players_page_keeper_view.png")));
}

// What a user sees of the colours, the header menu, a filter and the ratings scrolled into view.
TEST_F(PlayersPage, ThePageExplainsItsColoursAndSaysWhatAFilterLeaves)
{
    startProgram();
    downloadAsDemo();
    ASSERT_TRUE(playersTabVisible());
    frmMain->pages->setCurrentWidget(frmMain->tsPlayers);
    TframeListPlayers &list = *frmMain->frPlayers;
    ZIVGrid &grid = *list.lstList;
    QTest::qWait(50);

    QTest::mouseClick(list.btnLegend, Qt::LeftButton);
    ASSERT_TRUE(list.panLegend->isVisible());
    EXPECT_TRUE(windowWithPopup(frmMain, list.panLegend).save(screenshot("players_legend.png")));
    list.panLegend->hide();

    grid.getColumn("age", true)->setFilter(">=25");
    const auto older = std::count_if(demoTeam().players.begin(), demoTeam().players.end(),
                                     [](const sim::Player &p) { return p.age >= 25; });
    EXPECT_EQ(list.lblShownPlayers->text(),
              QString("%1 of %2 players shown").arg(older).arg(demoTeam().players.size()));
    const QPoint ageHeader = grid.cellRect(grid.getColumn("age", true)->visibleIndex(), 0).center();
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, ageHeader);
    EXPECT_TRUE(
        windowWithPopup(frmMain, grid.headerMenu()).save(screenshot("players_header_menu.png")));
    grid.headerMenu()->close();
    QTest::mouseClick(list.btnClearFilters, Qt::LeftButton);
    EXPECT_TRUE(list.panFilterState->isHidden());

    // Scrolled to the ratings, the names stay beside them; a header says what it holds.
    grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
    QTest::qWait(20);
    ASSERT_EQ(grid.frozenInView(), 3);
    EXPECT_TRUE(frmMain->grab().save(screenshot("players_scrolled_right.png")));
    const QPoint header(grid.frozenEdge() + 10, grid.cellRect(0, 0).center().y());
    QHelpEvent hover(QEvent::ToolTip, header, grid.viewport()->mapToGlobal(header));
    QApplication::sendEvent(grid.viewport(), &hover);
    const ZIVGridColumn &hovered = *grid.visibleColumns()[std::size_t(grid.columnAt(header.x()))];
    EXPECT_EQ(QToolTip::text().toStdString(), columnExplanation(hovered.name()));
    for (QWidget *tip : QApplication::topLevelWidgets())
        if (tip->inherits("QTipLabel") && tip->isVisible())
            windowWithPopup(frmMain, tip).save(screenshot("players_header_tooltip.png"));
}

TEST_F(PlayersPage, ASecondStartShowsTheStoredSquadWithoutARequest)
{
    startProgram();
    downloadAsDemo();
    ASSERT_TRUE(playersTabVisible());
    closeProgram();

    const int before = serviceRequests();
    startProgram();
    EXPECT_TRUE(playersTabVisible());
    expectTheDemoSquad();
    EXPECT_EQ(serviceRequests(), before);
}

TEST_F(PlayersPage, UnreadableDocumentsInTheFolderAreSkippedAndLeftAlone)
{
    const struct
    {
        const char *name;
        QByteArray content;
    } files[] = {
        {"players_1_2030-01-01 00-00-00.xml", "<StrikoraData><Team>"},
        {"players_2_2030-01-02 00-00-00.xml",
         "<StrikoraData><FileName>club.xml</FileName><Team><TeamID>1</TeamID><PlayerList/></Team>"
         "</StrikoraData>"},
        {"players_3_2030-01-03 00-00-00.xml",
         "<StrikoraData><FileName>players.xml</FileName><FetchedDate>2030-01-03 00:00:00"
         "</FetchedDate><Team><TeamID>x</TeamID><PlayerList/></Team></StrikoraData>"},
    };
    for (const auto &f : files)
        writeFile(f.name, f.content);
    startProgram();
    EXPECT_FALSE(playersTabVisible());
    EXPECT_EQ(root->currentTeam(), nullptr);
    EXPECT_EQ(frmMain->frPlayers->lstList->rowNum(), 0);
    for (const auto &f : files) {
        QFile file(QDir(folder()).filePath(f.name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << f.name;
        EXPECT_EQ(file.readAll(), f.content) << f.name;
    }
}

TEST_F(PlayersPage, TheNewestReadableDocumentWinsAndItsNameHoldsAtTheStart)
{
    ASSERT_TRUE(QDir().mkpath(folder()));
    const auto document = [](const char *date, const char *teamName, int playerId) {
        return playersDocument(date, teamName, {{playerId, ""}});
    };
    // Both dated after this run's start: the earliest name record is the one in force.
    const struct
    {
        const char *name;
        QByteArray content;
    } files[] = {
        {"players_9_a.xml", document("2099-02-01 10:00:00", "Newer FC", 2)},
        {"players_9_b.xml", document("2099-01-01 10:00:00", "Older FC", 1)},
        {"players_9_c.xml", "not a document"},
    };
    for (const auto &f : files)
        writeFile(f.name, f.content);
    startProgram();
    ASSERT_TRUE(playersTabVisible());
    EXPECT_EQ(frmMain->statusPanels[0]->text(), "Newer FC");
    ASSERT_EQ(frmMain->frPlayers->lstList->rowNum(), 1);
    EXPECT_EQ(frmMain->frPlayers->lstList->getRow(0)->getLong("id"), 2);
}

// Names from a stored document reach the status bar and the list as they are.
TEST_F(PlayersPage, NamesFromTheDocumentAreShownLiterally)
{
    for (const HostileName &team : hostileNames) {
        SCOPED_TRACE(team.shown);
        std::vector<std::pair<int, const char *>> players;
        for (const HostileName &player : hostileNames)
            players.emplace_back(int(players.size()) + 1, player.xml);
        writeFile("players_900_a.xml", playersDocument("2099-01-01 10:00:00", team.xml, players));
        startProgram();
        EXPECT_EQ(frmMain->statusPanels[0]->text(), QString::fromUtf8(team.shown));
        EXPECT_EQ(frmMain->statusPanels[0]->textFormat(), Qt::PlainText);
        const ZIVGrid &grid = *frmMain->frPlayers->lstList;
        ASSERT_EQ(grid.rowNum(), int(players.size()));
        for (std::size_t i = 0; i < players.size(); ++i) {
            const ZIVGridRow *row = grid.getRowByValues({"id", std::to_string(i + 1)});
            ASSERT_NE(row, nullptr);
            EXPECT_EQ(row->getString("name"), hostileNames[i].shown);
        }
        closeProgram();
    }
}

TEST_F(PlayersPage, TheLineupTabDrawsTheBestElevenAndAPinMovesAPlayerIntoItsPlace)
{
    startProgram();
    EXPECT_FALSE(frmMain->pages->isTabVisible(frmMain->pages->indexOf(frmMain->tsLineup)));
    downloadAsDemo();
    ASSERT_TRUE(frmMain->pages->isTabVisible(frmMain->pages->indexOf(frmMain->tsLineup)));
    frmMain->pages->setCurrentWidget(frmMain->tsLineup);
    TframeLineup &page = *frmMain->frLineup;
    page.cbFormation->setCurrentText("4-4-2");
    QTest::qWait(50);

    const TLineupPitch &pitch = *page.pitch;
    const std::vector<QRect> boxes = pitch.placeBoxes();
    ASSERT_EQ(pitch.lineup().places.size(), 11u);
    ASSERT_EQ(boxes.size(), 11u);
    std::set<QString> names, squad;
    for (const sim::Player &p : demoTeam().players)
        squad.insert(p.name);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        ASSERT_NE(pitch.lineup().places[i].player, nullptr) << i;
        names.insert(toQString(pitch.lineup().places[i].player->name));
        EXPECT_TRUE(pitch.rect().contains(boxes[i])) << i;
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_FALSE(boxes[i].intersects(boxes[j])) << i << " " << j;
    }
    EXPECT_EQ(names.size(), 11u);
    EXPECT_TRUE(std::includes(squad.begin(), squad.end(), names.begin(), names.end()));
    // The keeper stands at the bottom.
    EXPECT_GT(boxes[0].top(), boxes[10].bottom());
    EXPECT_TRUE(page.lblTotal->text().contains("not a match prediction"))
        << page.lblTotal->text().toStdString();

    // The keyboard's menu key on the first central defender's place, "Put here", its first
    // candidate: that player is pinned and stands there.
    page.pitch->setFocus();
    QTest::keyClick(page.pitch, Qt::Key_Right);
    ASSERT_EQ(pitch.currentPlace(), 1);
    std::int32_t chosen = -1;
    QTimer::singleShot(50, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        auto *put = menu->findChild<QMenu *>("putHere");
        ASSERT_NE(put, nullptr);
        ASSERT_FALSE(put->actions().isEmpty());
        chosen = put->actions().front()->data().toInt();
        put->actions().front()->trigger();
        menu->close();
    });
    QContextMenuEvent key(QContextMenuEvent::Keyboard, {}, page.pitch->mapToGlobal(QPoint()));
    QApplication::sendEvent(page.pitch, &key);
    ASSERT_NE(chosen, -1);
    ASSERT_NE(pitch.lineup().places[1].player, nullptr);
    EXPECT_EQ(pitch.lineup().places[1].player->id, chosen);
    EXPECT_TRUE(page.choices().pinned(chosen));

    const QString folder = QCoreApplication::applicationDirPath() + "/screenshots";
    QDir().mkpath(folder);
    EXPECT_TRUE(frmMain->grab().save(folder + "/lineup_100.png"));
    QPixmap sharp(frmMain->size() * 2);
    sharp.setDevicePixelRatio(2);
    frmMain->render(&sharp);
    EXPECT_TRUE(sharp.save(folder + "/lineup_200.png"));
    // The Players page's form track bar rates the lineup again.
    const double before = pitch.lineup().total;
    frmMain->frPlayers->trkForm->setValue(8);
    EXPECT_NE(pitch.lineup().total, before);
}

} // namespace
