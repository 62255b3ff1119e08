#include "Engine/errors.h"
#include "grid/widget/ziv_edit.h"
#include "grid/widget/ziv_grid.h"
#include "qt_text/qt_text.h"
#include "service/session.h"
#include "service/team_download.h"
#include "service/version_check.h"
#include "sim/sim_server.h"
#include "support/hostile_names.h"
#include "support/message_box_watch.h"
#include "ui/about_dialog.h"
#include "ui/error_display.h"
#include "ui/live_frame.h"
#include "ui/live_match_frame.h"
#include "ui/login_dialog.h"
#include "ui/main_window.h"
#include "ui/message_dialog.h"
#include "ui/player_list_frame.h"
#include "ui/select_matches_dialog.h"
#include "ui/select_team_dialog.h"
#include "ui/startup.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs `action` on the next modal dialog once it is up, then closes it.
void onNextModal(std::function<void(QDialog *)> action)
{
    QTimer::singleShot(50, [action] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "no modal dialog is shown";
        action(dialog);
        dialog->reject();
    });
}

class AppShell : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(xmlParent.isValid());
        ASSERT_NE(sim.listen(), 0);
        createGlobalInstances(new Troot(sim.baseUrl(), sim.versionUrl()), folder());
    }

    void TearDown() override
    {
        delete frmMain;
        frmMain = nullptr;
        delete root;
        root = nullptr;
    }

    void showMain()
    {
        frmMain->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frmMain));
        QTest::qWait(100); // the version check runs right after the window is shown
    }

    QString folder() const { return xmlParent.filePath("XML"); }

    // Answers the next login dialog with these entries once it is up.
    static void answerLogin(const QString &user, const QString &code)
    {
        QTimer::singleShot(50, [user, code] {
            ASSERT_EQ(QApplication::activeModalWidget(), frmLogin);
            frmLogin->txtUsername->setText(user);
            frmLogin->txtPassword->setText(code);
            QTest::keyClick(frmLogin, Qt::Key_Return);
        });
    }

    static QString screenshotPath(const QString &name)
    {
        const QString folder = QCoreApplication::applicationDirPath() + "/screenshots";
        QDir().mkpath(folder);
        return folder + "/" + name;
    }

    int requestsTo(const QString &path) const { return sim.requestLog().filter(path).size(); }

    QTemporaryDir xmlParent;
    sim::Server sim;
};

TEST_F(AppShell, StartUpCreatesEveryInstanceWithTheMainWindowAsMain)
{
    ASSERT_NE(root, nullptr);
    for (QWidget *dialog : std::initializer_list<QWidget *>{
             frmLogin, frmSelectMatches, frmSelectBase, frmSelectTeam, frmAbout, frmMessage}) {
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->parentWidget(), frmMain);
    }
    EXPECT_EQ(frmMain->windowTitle(), "StrikoraKey");
    EXPECT_EQ(frmMain->size(), QSize(790, 480));
}

TEST_F(AppShell, TheXmlFolderAndUserAgentAreReadyBeforeTheWindowShows)
{
    EXPECT_TRUE(QDir(folder()).exists());
    EXPECT_EQ(root->http().userAgent(), titleText());
    EXPECT_EQ(titleText(), "StrikoraKey 0.1.7");
    showMain();
    // The version check is the first request of the run, already with the title text.
    ASSERT_FALSE(sim.requestLog().isEmpty());
    EXPECT_TRUE(sim.requestLog().first().contains("init.xml"));
    EXPECT_EQ(sim.lastUserAgent(), "StrikoraKey 0.1.7");
}

TEST_F(AppShell, OnlyTheLiveTabCanBeReached)
{
    showMain();
    QTabWidget *pages = frmMain->pages;
    EXPECT_EQ(pages->currentWidget(), frmMain->tsLive);
    EXPECT_EQ(pages->tabText(pages->indexOf(frmMain->tsLive)), "Live");
    EXPECT_TRUE(pages->isTabVisible(pages->indexOf(frmMain->tsLive)));
    EXPECT_FALSE(pages->isTabVisible(pages->indexOf(frmMain->tsPlayers)));
    EXPECT_EQ(pages->tabText(pages->indexOf(frmMain->tsPlayers)), "Players");
}

TEST_F(AppShell, TheHiddenLogAndTheStatusBarPanels)
{
    showMain();
    EXPECT_EQ(frmMain->internetLog->height(), 0);
    EXPECT_FALSE(frmMain->internetLog->isVisible());
    root->log("<Response>one</Response>");
    EXPECT_TRUE(frmMain->internetLog->toPlainText().contains("<Response>one</Response>"));
    // Bounded: the newest entries stay, each one whole with its lines.
    for (int i = 0; i < TfrmMain::logEntries + 500; ++i)
        root->log("<Response>\r\n<N>" + std::to_string(i) + "</N>\n</Response>");
    QTextDocument *log = frmMain->internetLog->document();
    EXPECT_EQ(log->blockCount(), TfrmMain::logEntries);
    EXPECT_FALSE(frmMain->internetLog->toPlainText().contains("<Response>one</Response>"));
    EXPECT_EQ(log->firstBlock().text().split(QChar::LineSeparator).value(1), "<N>500</N>");
    EXPECT_TRUE(log->lastBlock().text().contains(QString::number(TfrmMain::logEntries + 499)));
    // Bounded by size too: large responses push the oldest out, the newest stays whole.
    const std::string large(TfrmMain::logCharacters / 3, 'x');
    for (int i = 0; i < 5; ++i)
        root->log("<Large>" + std::to_string(i) + large + "</Large>");
    EXPECT_LE(log->characterCount(), TfrmMain::logCharacters);
    EXPECT_TRUE(log->lastBlock().text().startsWith("<Large>4"));
    EXPECT_TRUE(log->lastBlock().text().endsWith("</Large>"));

    // The player list paints the scroll-bar colour where it has no rows.
    EXPECT_EQ(frmMain->frPlayers->lstList->Color(), clScrollBar);
    // Panel 1 carries the messages and takes the room left over.
    const int widths[4] = {300, 100, 150, 5};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(i == 1 ? frmMain->statusPanels[i]->width() >= widths[i]
                           : frmMain->statusPanels[i]->width() == widths[i])
            << "panel " << i << ": " << frmMain->statusPanels[i]->width();
    // The last two panels are right-aligned: they lie right of the first two.
    EXPECT_GT(frmMain->statusPanels[2]->x(), frmMain->statusPanels[1]->x());
    EXPECT_GT(frmMain->statusPanels[3]->x(), frmMain->statusPanels[2]->x());
}

TEST_F(AppShell, DownloadHoldsTheWaitCursorUntilItEndsAlsoWhenCancelled)
{
    showMain();
    bool waitCursorDuringLogin = false;
    onNextModal([&](QDialog *dialog) {
        EXPECT_EQ(dialog, frmLogin);
        const QCursor *cursor = QApplication::overrideCursor();
        waitCursorDuringLogin = cursor && cursor->shape() == Qt::WaitCursor;
    });
    MessageBoxWatch boxes;
    frmMain->mnuDownloadData->trigger();
    EXPECT_TRUE(waitCursorDuringLogin);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(boxes.boxes.isEmpty()); // a cancelled login ends the download silently
}

TEST_F(AppShell, DownloadLogsInWithTheDemoAccountAndWritesTheFourDocuments)
{
    showMain();
    QTimer::singleShot(50, [] {
        ASSERT_EQ(QApplication::activeModalWidget(), frmLogin);
        frmLogin->txtUsername->setText("demo");
        frmLogin->txtPassword->setText("demo");
        QTest::keyClick(frmLogin, Qt::Key_Return);
    });
    MessageBoxWatch boxes;
    frmMain->mnuDownloadData->trigger();
    EXPECT_TRUE(boxes.boxes.isEmpty()) << boxes.texts().join(", ").toStdString();
    const QStringList files = QDir(folder()).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 4) << files.join(", ").toStdString();
    for (const char *document : {"club", "players", "teamDetails", "leagueDetails"}) {
        const QRegularExpression name(QString("^%1_123456_.*\\.xml$").arg(document));
        EXPECT_EQ(files.filter(name).size(), 1) << document;
    }
}

TEST_F(AppShell, ARefusedCodeIsSaidAndAskedForAgainAtOnceAndTheDownloadGoesOn)
{
    showMain();
    MessageBoxWatch boxes(screenshotPath("login_refused"));
    answerLogin("demo", "wrong");
    QString nameShown, codeShown;
    QWidget *focused = nullptr;
    QTimer again;
    QObject::connect(&again, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget() != frmLogin || boxes.boxes.isEmpty())
            return;
        again.stop();
        nameShown = frmLogin->txtUsername->text();
        codeShown = frmLogin->txtPassword->text();
        focused = QApplication::focusWidget();
        QTest::keyClicks(frmLogin->txtPassword, "demo");
        QTest::keyClick(frmLogin->txtPassword, Qt::Key_Return);
    });
    again.start(20);
    frmMain->mnuDownloadData->trigger();
    // The service's own words, not a parser's offset, and no "no answer".
    ASSERT_EQ(
        boxes.texts(),
        QStringList{"The service did not accept the login: Wrong user name or security code."});
    EXPECT_EQ(nameShown, "demo");
    EXPECT_EQ(codeShown, "") << "the refused code is not offered again";
    EXPECT_EQ(focused, frmLogin->txtPassword);
    EXPECT_EQ(requestsTo("default.asp"), 2);
    EXPECT_EQ(requestsTo("players.asp"), 1) << "the download went on with the new code";
}

// An error without words still tells the user something went wrong.
TEST_F(AppShell, AnErrorWithoutAMessageSaysThatAnUnknownErrorOccurred)
{
    MessageBoxWatch boxes;
    guarded([] { throw 42; });
    guarded([] { throw Exception(); });
    EXPECT_EQ(boxes.texts(),
              (QStringList{"An unknown error occurred.", "An unknown error occurred."}));
}

TEST_F(AppShell, AnUnreachableServiceNamesTheServerAndWhy)
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const QString closed = "http://127.0.0.1:" + QString::number(probe.serverPort());
    probe.close();
    delete frmMain;
    delete root;
    createGlobalInstances(new Troot(closed, closed + "/init.xml"), folder());
    showMain();

    MessageBoxWatch boxes(screenshotPath("connection_failed"));
    answerLogin("demo", "demo");
    frmMain->mnuDownloadData->trigger();
    ASSERT_EQ(boxes.texts(), (QStringList{"Connection failed!", "Download error!"}));
    for (const MessageBoxWatch::Shown &box : boxes.boxes) {
        EXPECT_TRUE(box.reason.contains(closed)) << box.reason.toStdString();
        EXPECT_TRUE(box.reason.contains("refused the connection")) << box.reason.toStdString();
    }
    EXPECT_TRUE(frmMain->mnuDownloadData->isEnabled());
}

TEST_F(AppShell, ASlowDownloadDisablesItsItemAndASecondOneSendsNothing)
{
    showMain();
    answerLogin("demo", "demo");
    frmMain->mnuDownloadData->trigger();
    ASSERT_EQ(requestsTo("club.asp"), 1);

    sim.setFault(sim::RouteGroup::TeamDocuments, sim::FaultKind::Delay, -1, 150);
    bool disabledDuring = false, aboutUsable = false;
    QTimer::singleShot(75, [&] {
        disabledDuring = !frmMain->mnuDownloadData->isEnabled();
        aboutUsable = frmMain->mnuAbout->isEnabled() && frmMain->mnuQuit->isEnabled();
        frmMain->mnuDownloadData->trigger(); // a disabled item does nothing
    });
    MessageBoxWatch boxes;
    frmMain->mnuDownloadData->trigger();
    EXPECT_TRUE(disabledDuring);
    EXPECT_TRUE(aboutUsable);
    EXPECT_TRUE(boxes.boxes.isEmpty()) << boxes.texts().join(", ").toStdString();
    EXPECT_EQ(requestsTo("club.asp"), 2);
    EXPECT_EQ(requestsTo("players.asp"), 2);
    EXPECT_TRUE(frmMain->mnuDownloadData->isEnabled());
    // The message stands beside the team's name, not over it.
    EXPECT_TRUE(frmMain->statusPanels[1]->text().contains(QDir::toNativeSeparators(folder())))
        << frmMain->statusPanels[1]->text().toStdString();
    EXPECT_TRUE(frmMain->statusPanels[0]->isVisible());
}

TEST_F(AppShell, ALoginAskedAgainToRetrySaysWhichRequestFailed)
{
    showMain();
    answerLogin("demo", "demo");
    frmMain->mnuDownloadData->trigger();
    sim.setFault(sim::RouteGroup::TeamDocuments, sim::FaultKind::Http500, 1);
    QString shownLine;
    QTimer::singleShot(50, [&] {
        ASSERT_EQ(QApplication::activeModalWidget(), frmLogin);
        if (frmLogin->lblLastFailure->isVisible())
            shownLine = frmLogin->lblLastFailure->text();
        frmLogin->grab().save(screenshotPath("login_retry.png"));
        QTest::keyClick(frmLogin, Qt::Key_Return); // the entries are still there
    });
    MessageBoxWatch boxes;
    frmMain->mnuDownloadData->trigger();
    EXPECT_TRUE(shownLine.startsWith("The last request failed: The server answered HTTP 500"))
        << shownLine.toStdString();
    EXPECT_TRUE(shownLine.endsWith(" Log in again to retry.")) << shownLine.toStdString();
    EXPECT_TRUE(boxes.boxes.isEmpty()) << boxes.texts().join(", ").toStdString();
    EXPECT_EQ(requestsTo("club.asp"), 3); // first download, the failed one, its repeat
}

TEST_F(AppShell, TheMenusAreReachedByKeyboard)
{
    showMain();
    EXPECT_EQ(frmMain->Online1->title(), "&Online");
    EXPECT_EQ(frmMain->mnuDownloadData->text(), "&Download data");
    EXPECT_EQ(frmMain->mnuAbout->text(), "&About");
    EXPECT_EQ(frmMain->mnuQuit->text(), "&Quit");
    EXPECT_EQ(frmMain->mnuQuit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QApplication::setActiveWindow(frmMain);
    ASSERT_TRUE(QTest::qWaitForWindowActive(frmMain));
    QTest::keyClick(frmMain->windowHandle(), Qt::Key_F10);
    EXPECT_EQ(frmMain->MainMenu1->activeAction(), frmMain->Online1->menuAction());
    while (QWidget *popup = QApplication::activePopupWidget())
        QTest::keyClick(popup, Qt::Key_Escape);
    QTest::keyClick(frmMain->windowHandle(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(frmMain->isVisible());
}

TEST_F(AppShell, AboutBoxShowsTheBuildsTitle)
{
    auto *title = frmAbout->findChild<QLabel *>("stStrikoraKey");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "StrikoraKey 0.1.7");
    EXPECT_EQ(frmAbout->windowTitle(), "About StrikoraKey");
    EXPECT_EQ(frmAbout->size(), QSize(356, 157));
    bool shown = false;
    onNextModal([&](QDialog *dialog) { shown = dialog == frmAbout; });
    frmMain->mnuAbout->trigger();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(frmAbout->isVisible());
}

TEST_F(AppShell, TwoMessagesInARowShowOnlyTheSecond)
{
    QString seen;
    onNextModal([](QDialog *) {});
    frmMessage->showMessage("first\nmessage");
    onNextModal([&](QDialog *) { seen = frmMessage->txtMessage->toPlainText(); });
    frmMessage->showMessage("second <b>line</b>\nand more");
    EXPECT_EQ(seen, "second <b>line</b>\nand more");
}

// Names from the service are shown as they are: no markup, no mnemonic.
TEST_F(AppShell, LiveTeamNamesAreShownLiterally)
{
    showMain();
    TframeLive *live = frmMain->frameLive1;
    ZIVGridColumn &homeColumn = *live->lstSummary->getColumn("home team", true);
    ZIVGridColumn &awayColumn = *live->lstSummary->getColumn("away team", true);
    int matchId = 500;
    for (const HostileName &name : hostileNames) {
        SCOPED_TRACE(name.shown);
        const QString shown = QString::fromUtf8(name.shown);
        live->follower.lastResponse =
            "<Live><MatchList><Match><MatchID>" + std::to_string(++matchId) +
            "</MatchID><HomeGoals>1</HomeGoals><AwayGoals>0</AwayGoals><HomeTeam><HomeTeamID>10"
            "</HomeTeamID><HomeTeamName>" +
            name.xml +
            "</HomeTeamName></HomeTeam><AwayTeam>"
            "<AwayTeamID>20</AwayTeamID><AwayTeamName>&amp;" +
            name.xml + "</AwayTeamName></AwayTeam><EventList/></Match></MatchList></Live>";
        live->follower.processResponse();
        TframeLiveMatch *page = live->page(matchId);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->txtHome->text(), shown);
        EXPECT_EQ(page->txtHome->textFormat(), Qt::PlainText);
        EXPECT_EQ(page->txtAway->text(), "&" + shown);
        EXPECT_EQ(page->txtAway->textFormat(), Qt::PlainText);
        // The tab bar reads "&" as a mnemonic mark; doubled, it shows as itself.
        QString caption = shown + "   1 : 0   &" + shown;
        EXPECT_EQ(live->pages->tabText(live->pages->indexOf(page)), caption.replace("&", "&&"));
        const ZIVGridRow *row = live->lstSummary->getRowByValues({"id", std::to_string(matchId)});
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(toQString(row->cell(homeColumn).getString()), shown);
        EXPECT_EQ(toQString(row->cell(awayColumn).getString()), "&" + shown);
    }
}

TEST_F(AppShell, TheErrorDisplayShowsTheMessageAndGoesOn)
{
    MessageBoxWatch boxes;
    guarded([] { throw EHttpError("HTTP/1.1 500 Internal Server Error"); });
    guarded([] { throw ECancel(); });
    bool ranAfter = false;
    guarded([&] { ranAfter = true; });
    EXPECT_EQ(boxes.texts(), QStringList{"HTTP/1.1 500 Internal Server Error"});
    EXPECT_TRUE(ranAfter);
}

TEST_F(AppShell, WritesScreenshotsOfTheMainWindowAndTheAboutBox)
{
    showMain();
    const QString folder = QCoreApplication::applicationDirPath() + "/screenshots";
    QDir().mkpath(folder);
    EXPECT_TRUE(frmMain->grab().save(folder + "/main_window.png"));
    frmAbout->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frmAbout));
    EXPECT_TRUE(frmAbout->grab().save(folder + "/about_box.png"));
    frmAbout->hide();
}

} // namespace
