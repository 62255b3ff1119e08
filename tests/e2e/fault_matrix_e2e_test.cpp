#include "grid/widget/ziv_edit.h"
#include "grid/widget/ziv_grid.h"
#include "qt_text/qt_text.h"
#include "service/session.h"
#include "service/version_check.h"
#include "sim/match_engine.h"
#include "sim/schedule.h"
#include "sim/sim_server.h"
#include "support/message_box_watch.h"
#include "ui/error_display.h"
#include "ui/live_frame.h"
#include "ui/live_match_frame.h"
#include "ui/login_dialog.h"
#include "ui/main_window.h"
#include "ui/message_dialog.h"
#include "ui/select_matches_dialog.h"
#include "ui/select_team_dialog.h"
#include "ui/startup.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>
#include <set>
#include <string>

namespace {

using sim::FaultKind;
using sim::RouteGroup;

// Answers the login dialog and the developer's message while it lives: grants a number of
// logins as "demo", then cancels, so no retry cycle can run for ever. Records the failure
// each login dialog reported and every message shown.
class DialogWatch
{
public:
    DialogWatch()
    {
        QObject::connect(&poll, &QTimer::timeout, [this] { answer(); });
        poll.start(10);
    }

    int grants = 0;
    int logins = 0;       // dialogs shown
    QStringList failures; // the reasons retry dialogs gave
    QStringList messages; // the developer's messages

private:
    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal == frmLogin && frmLogin->isVisible())
            answerLogin();
        else if (modal && modal == frmMessage && frmMessage->isVisible()) {
            messages << frmMessage->txtMessage->toPlainText();
            frmMessage->accept();
        }
    }
    void answerLogin()
    {
        ++logins;
        if (frmLogin->lblLastFailure->isVisibleTo(frmLogin))
            failures << frmLogin->lblLastFailure->text();
        if (grants <= 0) {
            QTest::mouseClick(frmLogin->btnCancel, Qt::LeftButton);
            return;
        }
        --grants;
        frmLogin->txtUsername->setText("demo");
        frmLogin->txtPassword->setText("demo");
        QTest::mouseClick(frmLogin->btnLogin, Qt::LeftButton);
    }

    QTimer poll;
};

// Runs `act` once `dialog` is the modal window, from a fresh timer so that what it opens in
// turn is served by the watches. Gives up after a few seconds; a dialog that `mustCome` is a
// failure then.
void whenModal(QWidget *dialog, std::function<void()> act, bool mustCome = true)
{
    auto *poll = new QTimer(qApp);
    // Up to 30 s: under nested waits a dialog may come up late.
    auto tries = std::make_shared<int>(3000);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, dialog, mustCome, act = std::move(act)] {
        const bool up = QApplication::activeModalWidget() == dialog;
        if (!up && --*tries > 0)
            return;
        poll->stop();
        poll->deleteLater();
        if (up)
            QTimer::singleShot(0, act);
        else if (mustCome)
            ADD_FAILURE() << "the dialog did not come up";
    });
    poll->start(10);
}

// What the user sees of a fault, as the session's and the handlers' failure rules give it.
enum class Seen {
    Done,             // the work ends as without a fault
    RetriedThenDone,  // the login dialog comes back with the failure; after it, the work ends
    RetriedCancelled, // the login comes back twice; the user cancels, the work ends silently
    ConnectionFailed, // "Connection failed!" with the failure below; the work ends silently
    ErrorBox,         // the standard error box with the failure
    DownloadError,    // "Download error!" with the failure below
    Silent,           // nothing shown; the work is not done
};

// How a group's requests are reached through the windows.
enum class Drive { AddMatch, NextEvent, MatchSearch, TeamSearch, Download, VersionCheck };

struct Cell
{
    const char *name;
    RouteGroup group;
    FaultKind kind;
    int count;
    Seen seen;
    const char *why; // in the reason, the error box or the retry dialog
};

// Names the server's failures as the user is told them. Time-outs only name the server:
// how long the client waits is its own business.
constexpr const char *closed = "closed the connection";
constexpr const char *unreachable = "Cannot reach the server";
constexpr const char *status500 = "HTTP 500";
constexpr const char *notXml = "not well-formed";
constexpr const char *tooLarge = "exceeds 2097152 bytes";

// clang-format off
const Cell cells[] = {
    // The menu and the login are asked for by the first request of the run: "Add match".
    {"MenuClose", RouteGroup::Menu, FaultKind::CloseConnection, 2, Seen::ConnectionFailed, closed},
    {"MenuNever", RouteGroup::Menu, FaultKind::NeverAnswer, 1, Seen::ConnectionFailed, unreachable},
    {"MenuDelay", RouteGroup::Menu, FaultKind::Delay, -1, Seen::Done, ""},
    {"MenuHttp500", RouteGroup::Menu, FaultKind::Http500, 1, Seen::ErrorBox, status500},
    {"MenuTruncated", RouteGroup::Menu, FaultKind::TruncatedXml, 1, Seen::ErrorBox, notXml},
    {"MenuHuge", RouteGroup::Menu, FaultKind::HugeBody, 1, Seen::ErrorBox, tooLarge},
    {"LoginClose", RouteGroup::Login, FaultKind::CloseConnection, 2, Seen::ConnectionFailed, closed},
    {"LoginNever", RouteGroup::Login, FaultKind::NeverAnswer, 1, Seen::ConnectionFailed, unreachable},
    {"LoginDelay", RouteGroup::Login, FaultKind::Delay, -1, Seen::Done, ""},
    {"LoginHttp500", RouteGroup::Login, FaultKind::Http500, 1, Seen::ErrorBox, status500},
    {"LoginTruncated", RouteGroup::Login, FaultKind::TruncatedXml, 1, Seen::ErrorBox, notXml},
    {"LoginHuge", RouteGroup::Login, FaultKind::HugeBody, 1, Seen::ErrorBox, tooLarge},
    // A failed GET logs in again and repeats itself; a spoilt answer is the handler's error.
    {"LiveClose", RouteGroup::Live, FaultKind::CloseConnection, 2, Seen::RetriedThenDone, closed},
    {"LiveNever", RouteGroup::Live, FaultKind::NeverAnswer, 1, Seen::RetriedThenDone, unreachable},
    {"LiveDelay", RouteGroup::Live, FaultKind::Delay, -1, Seen::Done, ""},
    {"LiveHttp500", RouteGroup::Live, FaultKind::Http500, 1, Seen::RetriedThenDone, status500},
    {"LiveHttp500Always", RouteGroup::Live, FaultKind::Http500, -1, Seen::RetriedCancelled, status500},
    {"LiveTruncated", RouteGroup::Live, FaultKind::TruncatedXml, 1, Seen::ErrorBox, notXml},
    {"LiveHuge", RouteGroup::Live, FaultKind::HugeBody, 1, Seen::ErrorBox, tooLarge},
    {"MatchesClose", RouteGroup::Matches, FaultKind::CloseConnection, 2, Seen::RetriedThenDone, closed},
    {"MatchesNever", RouteGroup::Matches, FaultKind::NeverAnswer, 1, Seen::RetriedThenDone, unreachable},
    {"MatchesDelay", RouteGroup::Matches, FaultKind::Delay, -1, Seen::Done, ""},
    {"MatchesHttp500", RouteGroup::Matches, FaultKind::Http500, 1, Seen::RetriedThenDone, status500},
    {"MatchesHttp500Always", RouteGroup::Matches, FaultKind::Http500, -1, Seen::RetriedCancelled, status500},
    {"MatchesTruncated", RouteGroup::Matches, FaultKind::TruncatedXml, 1, Seen::ErrorBox, notXml},
    {"MatchesHuge", RouteGroup::Matches, FaultKind::HugeBody, 1, Seen::ErrorBox, tooLarge},
    // A failed POST is repeated once without a login; the second failure is shown.
    {"SearchClose", RouteGroup::Search, FaultKind::CloseConnection, -1, Seen::ErrorBox, closed},
    {"SearchNever", RouteGroup::Search, FaultKind::NeverAnswer, -1, Seen::ErrorBox, unreachable},
    {"SearchDelay", RouteGroup::Search, FaultKind::Delay, -1, Seen::Done, ""},
    {"SearchHttp500Once", RouteGroup::Search, FaultKind::Http500, 1, Seen::Done, ""},
    {"SearchHttp500", RouteGroup::Search, FaultKind::Http500, -1, Seen::ErrorBox, status500},
    {"SearchTruncated", RouteGroup::Search, FaultKind::TruncatedXml, 1, Seen::ErrorBox, notXml},
    {"SearchHuge", RouteGroup::Search, FaultKind::HugeBody, -1, Seen::ErrorBox, tooLarge},
    {"DocumentsClose", RouteGroup::TeamDocuments, FaultKind::CloseConnection, 2, Seen::RetriedThenDone, closed},
    {"DocumentsNever", RouteGroup::TeamDocuments, FaultKind::NeverAnswer, 1, Seen::RetriedThenDone, unreachable},
    {"DocumentsDelay", RouteGroup::TeamDocuments, FaultKind::Delay, -1, Seen::Done, ""},
    {"DocumentsHttp500", RouteGroup::TeamDocuments, FaultKind::Http500, 1, Seen::RetriedThenDone, status500},
    {"DocumentsHttp500Always", RouteGroup::TeamDocuments, FaultKind::Http500, -1, Seen::RetriedCancelled, status500},
    {"DocumentsTruncated", RouteGroup::TeamDocuments, FaultKind::TruncatedXml, 1, Seen::DownloadError, notXml},
    {"DocumentsHuge", RouteGroup::TeamDocuments, FaultKind::HugeBody, 1, Seen::DownloadError, tooLarge},
    // The version check shows nothing when the publisher cannot be reached.
    {"PublisherClose", RouteGroup::Publisher, FaultKind::CloseConnection, 2, Seen::Silent, ""},
    {"PublisherNever", RouteGroup::Publisher, FaultKind::NeverAnswer, 1, Seen::Silent, ""},
    {"PublisherDelay", RouteGroup::Publisher, FaultKind::Delay, -1, Seen::Done, ""},
    {"PublisherHttp500", RouteGroup::Publisher, FaultKind::Http500, 1, Seen::ErrorBox, status500},
    {"PublisherTruncated", RouteGroup::Publisher, FaultKind::TruncatedXml, 1, Seen::ErrorBox, notXml},
    {"PublisherHuge", RouteGroup::Publisher, FaultKind::HugeBody, 1, Seen::Silent, ""},
};
// clang-format on

void PrintTo(const Cell &cell, std::ostream *out)
{
    *out << cell.name;
}

Drive driveOf(RouteGroup group)
{
    switch (group) {
    case RouteGroup::Menu:
    case RouteGroup::Login:
        return Drive::AddMatch;
    case RouteGroup::Live:
        return Drive::NextEvent;
    case RouteGroup::Matches:
        return Drive::MatchSearch;
    case RouteGroup::Search:
        return Drive::TeamSearch;
    case RouteGroup::TeamDocuments:
        return Drive::Download;
    default:
        return Drive::VersionCheck;
    }
}

int eventsPlayed(const sim::Server &server, int matchId)
{
    const sim::Fixture fixture = *sim::schedule::fixtureById(server.world(), matchId);
    return sim::eventsPlayedBy(sim::playMatch(server.world(), fixture), fixture, server.minutes());
}

bool wellFormedXml(const QByteArray &bytes)
{
    pugi::xml_document document;
    return bool(document.load_buffer(bytes.constData(), std::size_t(bytes.size())));
}

class WindowsAgainstSim : public ::testing::Test
{
protected:
    static constexpr int timeoutMs = 300;
    static constexpr int delayMs = 60;

    void SetUp() override
    {
        ASSERT_TRUE(xmlParent.isValid());
        ASSERT_NE(server.listen(), 0);
        server.advance(30); // matches are running
        createGlobalInstances(new Troot(server.baseUrl(), server.versionUrl()), folder());
        root->http().setTimeoutMs(timeoutMs);
        // Far above any document of the service, far below the flood.
        root->http().setMaxResponseBytes(2 * 1024 * 1024);
        frmMain->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frmMain));
        QTest::qWait(100); // the version check of the first showing
        live = frmMain->frameLive1;
        matchId = server.liveMatchIds().first();
        team = server.demoTeamId();
    }
    void TearDown() override
    {
        delete frmMain;
        frmMain = nullptr;
        delete root;
        root = nullptr;
    }

    QString folder() const { return xmlParent.filePath("XML"); }
    QMap<QString, QByteArray> documents() const
    {
        QMap<QString, QByteArray> found;
        const QDir dir(folder());
        for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
            QFile file(dir.filePath(name));
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
            found.insert(name, file.readAll());
        }
        return found;
    }

    // Brings the window to where the group's requests are made: logged in, a match followed
    // and a download stored; the menu and the login are met logged out.
    void prepare(Drive drive)
    {
        dialogs.grants = 1;
        if (drive == Drive::AddMatch || drive == Drive::VersionCheck)
            return;
        ASSERT_TRUE(run(Drive::AddMatch)) << "no match followed before the fault";
        if (drive == Drive::Download) {
            ASSERT_TRUE(run(Drive::Download)) << "no documents stored before the fault";
            before = documents();
        }
        server.advance(5); // new events, a new fetched date
        ASSERT_TRUE(boxes.boxes.isEmpty()) << boxes.texts().join("\n").toStdString();
        ASSERT_TRUE(dialogs.failures.isEmpty()) << dialogs.failures.join("\n").toStdString();
        dialogs.logins = 0;
    }

    // Does what the user does to reach the group; true when the work came through.
    bool run(Drive drive)
    {
        switch (drive) {
        case Drive::AddMatch:
            return addMatch();
        case Drive::NextEvent:
            QTest::mouseClick(live->btnGetNextEvent, Qt::LeftButton);
            return live->page(matchId) &&
                   live->page(matchId)->lstEvents->rowNum() == eventsPlayed(server, matchId);
        case Drive::MatchSearch:
            return matchSearch() > 0;
        case Drive::TeamSearch:
            return teamSearch() > 0;
        case Drive::Download: {
            const int stored = int(documents().size());
            frmMain->mnuDownloadData->trigger();
            return documents().size() == stored + 4;
        }
        case Drive::VersionCheck: {
            server.setAnnouncement("0.1.9", "A newer build is out.");
            const qsizetype shown = dialogs.messages.size();
            guarded([] { checkVersion(*root); });
            return dialogs.messages.size() == shown + 1 &&
                   dialogs.messages.last() == "A newer build is out.";
        }
        }
        return false;
    }

    // "Add match" with the match chosen by its id in the match search.
    bool addMatch()
    {
        whenModal(frmSelectMatches, [this] {
            frmSelectMatches->PageControl1->setCurrentWidget(frmSelectMatches->tsSearchById);
            frmSelectMatches->txtMatchId->SetValue(matchId);
            QTest::mouseClick(frmSelectMatches->btnSearchById, Qt::LeftButton);
            ZIVGrid *list = frmSelectMatches->lstList;
            ASSERT_EQ(list->rowNum(), 1);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                              list->cellRect(0, 1).center());
            QTest::mouseClick(frmSelectMatches->btnOk, Qt::LeftButton);
        });
        QTest::mouseClick(live->btnAddMatch, Qt::LeftButton);
        return live->page(matchId) &&
               live->page(matchId)->lstEvents->rowNum() == eventsPlayed(server, matchId);
    }

    // The demo team's matches through "Recent"; the number listed.
    int matchSearch()
    {
        frmSelectMatches->teams = {{team, "demo team"}};
        int listed = -1;
        whenModal(frmSelectMatches, [&listed] {
            ZIVGrid *teams = frmSelectMatches->lstTeams;
            QTest::mouseClick(teams->viewport(), Qt::LeftButton, Qt::NoModifier,
                              teams->cellRect(0, 1).center());
            QTest::mouseClick(frmSelectMatches->btnRecent, Qt::LeftButton);
            listed = frmSelectMatches->lstList->rowNum();
            frmSelectMatches->reject();
        });
        TSelection chosen;
        frmSelectMatches->select(chosen);
        return listed;
    }

    // A team search by name; the number of teams found.
    int teamSearch()
    {
        int found = -1;
        whenModal(frmSelectTeam, [&found] {
            frmSelectTeam->txtUserOrTeamName->setText("malmo");
            QTest::mouseClick(frmSelectTeam->btnSearchTeam, Qt::LeftButton);
            found = frmSelectTeam->lstList->rowNum();
            frmSelectTeam->reject();
        });
        TSelection chosen;
        frmSelectTeam->select(chosen);
        return found;
    }

    // Every stored document is whole; none of the earlier ones changed or went.
    void expectDocumentsIntact() const
    {
        const QMap<QString, QByteArray> now = documents();
        for (auto it = before.begin(); it != before.end(); ++it)
            EXPECT_EQ(now.value(it.key()), it.value()) << it.key().toStdString() << " changed";
        for (auto it = now.begin(); it != now.end(); ++it) {
            EXPECT_TRUE(it.key().endsWith(".xml")) << it.key().toStdString() << " left behind";
            EXPECT_TRUE(wellFormedXml(it.value())) << it.key().toStdString() << " is cut off";
        }
    }

    // The events of the followed match, each once, from the first on.
    void expectEventsUnmixed() const
    {
        const TframeLiveMatch *page = live->page(matchId);
        if (!page)
            return;
        std::set<int> seen;
        ZIVGridColumn &index = *page->lstEvents->getColumn("Index", true);
        for (ZIVGridRow *row : page->lstEvents->rows())
            seen.insert(row->cell(index).getLong());
        EXPECT_EQ(int(seen.size()), page->lstEvents->rowNum());
        if (!seen.empty()) {
            EXPECT_EQ(*seen.begin(), 1);
            EXPECT_EQ(*seen.rbegin(), int(seen.size()));
        }
        EXPECT_EQ(page->match.Events.size(), seen.size());
    }

    QTemporaryDir xmlParent;
    sim::Server server;
    MessageBoxWatch boxes;
    DialogWatch dialogs;
    TframeLive *live = nullptr;
    int matchId = 0;
    int team = 0;
    QMap<QString, QByteArray> before;
};

class FaultMatrix : public WindowsAgainstSim, public ::testing::WithParamInterface<Cell>
{
};

TEST_P(FaultMatrix, EndsAsTheFailureRulesSayAndLeavesTheProgramUsable)
{
    const Cell &cell = GetParam();
    const Drive drive = driveOf(cell.group);
    prepare(drive);
    if (HasFatalFailure())
        return;
    const int eventsBefore = live->page(matchId) ? live->page(matchId)->lstEvents->rowNum() : 0;

    server.setFault(cell.group, cell.kind, cell.count, cell.kind == FaultKind::Delay ? delayMs : 0);
    dialogs.grants = cell.seen == Seen::RetriedCancelled ? 1 : 3;
    const bool done = run(drive);

    const bool shouldBeDone = cell.seen == Seen::Done || cell.seen == Seen::RetriedThenDone;
    EXPECT_EQ(done, shouldBeDone);
    const QString why = QString::fromLatin1(cell.why);
    const auto describe = [&] {
        return ("boxes: " + boxes.texts().join(" | ") +
                "\nretry dialogs: " + dialogs.failures.join(" | "))
            .toStdString();
    };
    switch (cell.seen) {
    case Seen::Done:
    case Seen::Silent:
        EXPECT_TRUE(boxes.boxes.isEmpty()) << describe();
        EXPECT_TRUE(dialogs.failures.isEmpty()) << describe();
        break;
    case Seen::RetriedThenDone:
    case Seen::RetriedCancelled:
        EXPECT_TRUE(boxes.boxes.isEmpty()) << describe();
        ASSERT_EQ(dialogs.failures.size(), cell.seen == Seen::RetriedCancelled ? 2 : 1)
            << describe();
        for (const QString &failure : dialogs.failures)
            EXPECT_TRUE(failure.contains(why)) << describe();
        break;
    case Seen::ConnectionFailed:
    case Seen::DownloadError:
        ASSERT_EQ(boxes.boxes.size(), 1) << describe();
        EXPECT_EQ(boxes.boxes[0].text,
                  cell.seen == Seen::ConnectionFailed ? "Connection failed!" : "Download error!");
        EXPECT_TRUE(boxes.boxes[0].reason.contains(why)) << describe();
        EXPECT_TRUE(dialogs.failures.isEmpty()) << describe();
        break;
    case Seen::ErrorBox:
        ASSERT_EQ(boxes.boxes.size(), 1) << describe();
        EXPECT_TRUE(boxes.boxes[0].text.contains(why)) << describe();
        EXPECT_TRUE(dialogs.failures.isEmpty()) << describe();
        break;
    }
    if (drive == Drive::NextEvent && !done) {
        EXPECT_EQ(live->page(matchId)->lstEvents->rowNum(), eventsBefore) << "events went";
    }
    if (cell.group == RouteGroup::Live && cell.seen == Seen::RetriedThenDone) {
        // The new session of the service follows nothing: the match is added again in it.
        const QStringList sent = server.requestLog();
        ASSERT_GE(sent.size(), 3);
        EXPECT_TRUE(sent[sent.size() - 3].contains("actionType=login"));
        EXPECT_TRUE(sent[sent.size() - 2].contains("actionType=viewNew")) << "not repeated";
        EXPECT_TRUE(
            sent.last().contains("actionType=addMatch&matchID=" + QString::number(matchId)));
    }
    expectEventsUnmixed();
    expectDocumentsIntact();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor stays";
    EXPECT_TRUE(frmMain->mnuDownloadData->isEnabled());
    EXPECT_TRUE(live->matchTimer->isActive());

    // The fault gone, the same work comes through (after a login where the session ended). The
    // events of an answer that could not be read come again: the match is added again.
    server.clearFaults();
    server.advance(5);
    boxes.boxes.clear();
    dialogs.grants = 1;
    EXPECT_TRUE(run(drive)) << "not usable after the fault";
    EXPECT_TRUE(boxes.boxes.isEmpty()) << describe();
    expectEventsUnmixed();
    expectDocumentsIntact();
}

INSTANTIATE_TEST_SUITE_P(EveryFaultOfEveryGroup, FaultMatrix, ::testing::ValuesIn(cells),
                         [](const ::testing::TestParamInfo<Cell> &info) {
                             return std::string(info.param.name);
                         });

// A night of unreadable polls: one box, then quiet polls that say why in the status bar, until
// the first good answer clears it.
TEST_F(WindowsAgainstSim, FailingPollsOpenOneBoxAndThenSayItInTheStatusBar)
{
    prepare(Drive::NextEvent);
    ASSERT_FALSE(HasFatalFailure());
    server.setFault(RouteGroup::Live, FaultKind::TruncatedXml, -1);
    live->matchTimer->setInterval(30);
    live->matchTimer->start();
    QTest::qWait(600);
    EXPECT_EQ(boxes.boxes.size(), 1) << boxes.texts().join(" | ").toStdString();
    const QString status = frmMain->statusPanels[1]->text();
    EXPECT_TRUE(status.startsWith("Live: the last poll failed at ")) << status.toStdString();
    EXPECT_TRUE(status.endsWith("); retrying every minute.")) << status.toStdString();
    server.clearFaults();
    QTest::qWait(200);
    live->matchTimer->setInterval(TframeLive::pollInterval);
    EXPECT_EQ(frmMain->statusPanels[1]->text(), "");
    EXPECT_EQ(boxes.boxes.size(), 1);
}

// Every answer waits; meanwhile the user presses every button that sends a request, the
// searches inside their dialogs too, and the poll fires every few milliseconds. Each press
// runs inside the wait of the one before, so handlers and requests nest.
TEST_F(WindowsAgainstSim, PressesAndTicksWhileAnswersWaitMixNoDocuments)
{
    prepare(Drive::Download);
    ASSERT_FALSE(HasFatalFailure());
    const QList<int> running = server.liveMatchIds();
    ASSERT_GE(running.size(), 3);
    frmSelectMatches->teams = {{team, "demo team"}};
    root->http().setTimeoutMs(10000);
    server.setFault(RouteGroup::All, FaultKind::Delay, -1, 120);
    live->matchTimer->setInterval(35);
    live->matchTimer->start();

    constexpr int presses = 160;
    int pressed = 0, depth = 0, deepest = 0;
    // The match dialog lists the user's team's matches before it shows, so it may come up
    // late: one scripted opening at a time, as a user cannot press in a dialog not shown yet.
    bool scripted = false;
    int openings = 0;
    const auto addById = [&](int id) {
        scripted = true;
        whenModal(
            frmSelectMatches,
            [id, &scripted] {
                scripted = false;
                frmSelectMatches->PageControl1->setCurrentWidget(frmSelectMatches->tsSearchById);
                frmSelectMatches->txtMatchId->SetValue(id);
                QTest::mouseClick(frmSelectMatches->btnSearchById, Qt::LeftButton);
                // The typed match's row: the list also holds the user's team's matches.
                ZIVGrid *list = frmSelectMatches->lstList;
                for (int row = 0; row < list->rowNum(); ++row)
                    if (list->getRow(row)->getLong("id") == id)
                        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                                          list->cellRect(0, row + 1).center());
                QTest::mouseClick(frmSelectMatches->btnOk, Qt::LeftButton);
            },
            false);
    };
    const auto searchAndCancel = [&] {
        scripted = true;
        whenModal(
            frmSelectMatches,
            [&scripted] {
                scripted = false;
                frmSelectMatches->PageControl1->setCurrentWidget(frmSelectMatches->tsSearchByTeam);
                ZIVGrid *teams = frmSelectMatches->lstTeams;
                if (teams->rowNum() > 0)
                    QTest::mouseClick(teams->viewport(), Qt::LeftButton, Qt::NoModifier,
                                      teams->cellRect(0, 1).center());
                QTest::mouseClick(frmSelectMatches->btnRecent, Qt::LeftButton);
                whenModal(
                    frmSelectTeam,
                    [] {
                        frmSelectTeam->txtUserOrTeamName->setText("malmo");
                        QTest::mouseClick(frmSelectTeam->btnSearchTeam, Qt::LeftButton);
                        // OK on a list with no row chosen keeps the dialog open and says so.
                        ZIVGrid *found = frmSelectTeam->lstList;
                        if (found->rowNum() > 0)
                            QTest::mouseClick(found->viewport(), Qt::LeftButton, Qt::NoModifier,
                                              found->cellRect(0, 1).center());
                        QTest::mouseClick(frmSelectTeam->btnOk, Qt::LeftButton);
                        if (frmSelectTeam->isVisible())
                            frmSelectTeam->reject();
                    },
                    false);
                QTest::mouseClick(frmSelectMatches->btnSelectTeams, Qt::LeftButton);
                // Closed while the presses inside it may still wait.
                QTest::mouseClick(frmSelectMatches->btnCancel, Qt::LeftButton);
            },
            false);
    };
    // A fresh timer for each press: a timer does not fire again while its own handler waits,
    // a new one does.
    std::function<void()> press = [&] {
        if (pressed >= presses)
            return;
        QTimer::singleShot(25, press);
        if (depth >= 12)
            return;
        ++pressed;
        ++depth;
        deepest = std::max(deepest, depth);
        QWidget *modal = QApplication::activeModalWidget();
        if (modal == frmSelectMatches)
            QTest::mouseClick(pressed % 2 ? frmSelectMatches->btnRecent : frmSelectMatches->btnNext,
                              Qt::LeftButton);
        else if (modal == frmSelectTeam)
            QTest::mouseClick(frmSelectTeam->btnSearchTeam, Qt::LeftButton);
        else if (!modal) {
            switch (pressed % 4) {
            case 0:
                QTest::mouseClick(live->btnGetNextEvent, Qt::LeftButton);
                break;
            case 1:
                frmMain->mnuDownloadData->trigger(); // disabled while a download runs
                break;
            default:
                // The two scripted openings take turns.
                if (scripted || !live->btnAddMatch->isEnabled())
                    break;
                if (openings++ % 2 == 0)
                    addById(running[(openings / 2) % 3]);
                else
                    searchAndCancel();
                live->btnAddMatch->click();
                break;
            }
        }
        --depth;
    };
    QTimer::singleShot(25, press);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return pressed >= presses && depth == 0 && !QApplication::activeModalWidget(); },
        60000))
        << "the presses did not end";
    EXPECT_GE(deepest, 3) << "the presses did not nest";
    ASSERT_TRUE(QTest::qWaitFor([&] { return live->matchTimer->isActive(); }, 10000));
    live->matchTimer->setInterval(TframeLive::pollInterval);
    server.clearFaults();

    EXPECT_TRUE(boxes.boxes.isEmpty()) << boxes.texts().join("\n").toStdString();
    EXPECT_TRUE(dialogs.failures.isEmpty()) << dialogs.failures.join("\n").toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(frmMain->mnuDownloadData->isEnabled());
    for (const char *request : {"addMatch", "viewNew", "club.asp", "matches.asp", "search.asp"})
        EXPECT_GT(server.requestLog().filter(request).size(), 1) << request << " never pressed";

    // Every page holds its own match only, each event once; one more poll brings every
    // match to what the service has played: no answer went astray.
    QTest::mouseClick(live->btnGetNextEvent, Qt::LeftButton);
    // "Add match" is disabled while an earlier press still waits, so some presses add nothing.
    const std::set<int> offered{matchId, running[0], running[1], running[2]};
    ASSERT_GE(live->follower.matchCount(), 2u);
    ASSERT_EQ(live->lstSummary->rowNum(), int(live->follower.matchCount()));
    for (const auto &[id, model] : live->follower.entries())
        EXPECT_TRUE(offered.count(id)) << id << " was never chosen";
    for (const auto &[id, model] : live->follower.entries()) {
        SCOPED_TRACE("match " + std::to_string(id));
        const TframeLiveMatch *page = live->page(id);
        ASSERT_NE(page, nullptr);
        const sim::Fixture fixture = *sim::schedule::fixtureById(server.world(), id);
        EXPECT_EQ(page->match.MatchID, id);
        EXPECT_EQ(toQString(page->match.Home.TeamName), server.world().teams()[fixture.home].name);
        EXPECT_EQ(toQString(page->match.Away.TeamName), server.world().teams()[fixture.away].name);
        EXPECT_EQ(int(page->match.Events.size()), eventsPlayed(server, id));
        EXPECT_EQ(page->lstEvents->rowNum(), eventsPlayed(server, id));
        std::set<int> seen;
        ZIVGridColumn &index = *page->lstEvents->getColumn("Index", true);
        for (ZIVGridRow *row : page->lstEvents->rows())
            seen.insert(row->cell(index).getLong());
        EXPECT_EQ(int(seen.size()), page->lstEvents->rowNum());
    }
    // Each stored document is whole and is the document its name says.
    expectDocumentsIntact();
    const QMap<QString, QByteArray> stored = documents();
    EXPECT_GT(stored.size(), 4);
    for (auto it = stored.begin(); it != stored.end(); ++it) {
        pugi::xml_document document;
        ASSERT_TRUE(document.load_buffer(it.value().constData(), std::size_t(it.value().size())));
        const QString kind =
            QString::fromUtf8(document.document_element().child("FileName").text().get())
                .section('.', 0, 0);
        EXPECT_TRUE(it.key().startsWith(kind + "_")) << it.key().toStdString();
    }
}

} // namespace
