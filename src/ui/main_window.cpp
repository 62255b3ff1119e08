#include "ui/main_window.h"

#include "Engine/errors.h"
#include "Engine/history.h"
#include "grid/widget/ziv_grid.h"
#include "players/player_list_view.h"
#include "players/team.h"
#include "qt_text/qt_text.h"
#include "service/session.h"
#include "service/team_download.h"
#include "service/version_check.h"
#include "ui/about_dialog.h"
#include "ui/disabled_while.h"
#include "ui/error_display.h"
#include "ui/hourglass.h"
#include "ui/lineup_frame.h"
#include "ui/live_frame.h"
#include "ui/player_abilities_frame.h"
#include "ui/player_list_frame.h"
#include "ui/window_placement.h"

#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

TfrmMain::TfrmMain(Troot &session, QString documentsFolder, QWidget *parent)
    : QMainWindow(parent), session(session), documentsFolder_(std::move(documentsFolder))
{
    setObjectName("frmMain");
    setWindowTitle("StrikoraKey");
    resize(designedWidth, designedHeight);
    centreOnScreen(*this);

    buildPages();
    buildStatusBar();
    buildMenu();

    // A folder that cannot be created is reported by the download when it writes.
    QDir().mkpath(documentsFolder_);
    session.http().setUserAgent(titleText());
    showCurrentTeam();
    FormCreate();
}

void TfrmMain::buildPages()
{
    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName("Splitter1");
    Splitter1->setHandleWidth(3);
    pages = new QTabWidget(Splitter1);
    pages->setObjectName("pages");
    buildPlayersPage();

    tsLive = new QWidget(pages);
    tsLive->setObjectName("tsLive");
    frameLive1 = new TframeLive(session, tsLive);
    connect(frameLive1, &TframeLive::pollStatusChanged, this, &TfrmMain::showPollStatus);
    connect(frameLive1, &TframeLive::messageRequested, this,
            [this](const QString &text) { showTransientMessage(text, downloadMessageMs); });
    frameLive1->setObjectName("frameLive1");
    auto *liveLayout = new QVBoxLayout(tsLive);
    liveLayout->setContentsMargins(0, 0, 0, 0);
    liveLayout->addWidget(frameLive1);
    pages->addTab(tsLive, "Live");
    pages->setCurrentWidget(tsLive);

    internetLog = new QPlainTextEdit(Splitter1);
    internetLog->setObjectName("internetLog");
    internetLog->setReadOnly(true);
    // Old entries are dropped; an undo history would keep them all.
    internetLog->setUndoRedoEnabled(false);
    internetLog->setVisible(false);
    internetLog->setMaximumBlockCount(logEntries);
    Splitter1->addWidget(pages);
    Splitter1->addWidget(internetLog);
    setCentralWidget(Splitter1);
}

void TfrmMain::buildPlayersPage()
{
    tsPlayers = new QWidget(pages);
    tsPlayers->setObjectName("tsPlayers");
    frPlayers = new TframeListPlayers(*session.keeper(), tsPlayers);
    frPlayers->setObjectName("frPlayers");
    // The grid paints its own background colour; a palette role would not reach it.
    frPlayers->lstList->setColor(clScrollBar);
    connectGuarded(frPlayers->lstList, &ZIVGrid::OnClick, this, &TfrmMain::frPlayerslstListClick);
    panDetail = new QFrame(tsPlayers);
    panDetail->setObjectName("panDetail");
    frAbilities = new TframePlayerAbilities(panDetail);
    frAbilities->setObjectName("frAbilities");
    // 97 pixels high with the panel at 0, 5 for the usual font; a larger font's captions
    // make the panel larger, and the strip grows with it instead of cutting its rows off.
    auto *detail = new QHBoxLayout(panDetail);
    detail->setContentsMargins(0, 5, 0, 3);
    detail->addWidget(frAbilities);
    detail->addStretch(1);
    panDetail->setMinimumHeight(97);
    auto *layout = new QVBoxLayout(tsPlayers);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frPlayers, 1);
    layout->addWidget(panDetail);
    const int index = pages->addTab(tsPlayers, "Players");
    pages->setTabVisible(index, false);
    buildLineupPage();
}

void TfrmMain::buildLineupPage()
{
    tsLineup = new QWidget(pages);
    tsLineup->setObjectName("tsLineup");
    frLineup = new TframeLineup(tsLineup);
    frLineup->setObjectName("frLineup");
    auto *layout = new QVBoxLayout(tsLineup);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frLineup);
    // The lineup rates everyone at the stamina and form the Players page's track bars try.
    for (QSlider *bar : {frPlayers->trkStamina, frPlayers->trkForm})
        connectGuarded(bar, &QSlider::valueChanged, this, [this] {
            frLineup->setLevels(levelOverride(frPlayers->trkStamina->value()),
                                levelOverride(frPlayers->trkForm->value()));
        });
    const int index = pages->addTab(tsLineup, "Lineup");
    pages->setTabVisible(index, false);
}

void TfrmMain::buildStatusBar()
{
    statusbar = new QStatusBar(this);
    statusbar->setObjectName("statusbar");
    const int widths[4] = {300, 100, 150, 5};
    for (int i = 0; i < 4; ++i) {
        auto *label = new QLabel(statusbar);
        label->setObjectName(QString("statusPanel%1").arg(i));
        label->setTextFormat(Qt::PlainText);
        statusPanels[i] = label;
        // The last two panels sit at the right edge. Panel 1 carries the program's messages
        // and takes the room left over, so they neither cover the team's name nor get cut.
        if (i == 1) {
            label->setMinimumWidth(widths[i]);
            statusbar->addWidget(label, 1);
        } else {
            label->setFixedWidth(widths[i]);
            if (i == 0)
                statusbar->addWidget(label);
            else
                statusbar->addPermanentWidget(label);
        }
    }
    setStatusBar(statusbar);
    messageTimer = new QTimer(this);
    messageTimer->setSingleShot(true);
    connect(messageTimer, &QTimer::timeout, this, [this] { showPollStatus(pollStatus); });
}

void TfrmMain::buildMenu()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName("MainMenu1");
    // The "&" marks the Alt key letter; the captions read "Online", "Download data", "About".
    Online1 = MainMenu1->addMenu("&Online");
    Online1->setObjectName("Online1");
    mnuDownloadData = Online1->addAction("&Download data");
    mnuDownloadData->setObjectName("mnuDownloadData");
    Online1->addSeparator();
    mnuQuit = Online1->addAction("&Quit");
    mnuQuit->setObjectName("mnuQuit");
    // Ctrl+Q on every platform (the platform's Quit binding is empty on some).
    mnuQuit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    mnuQuit->setShortcutContext(Qt::ApplicationShortcut);
    mnuAbout = MainMenu1->addAction("&About");
    mnuAbout->setObjectName("mnuAbout");
    connectGuarded(mnuDownloadData, &QAction::triggered, this, &TfrmMain::mnuDownloadDataClick);
    connect(mnuQuit, &QAction::triggered, this, &QWidget::close);
    connectGuarded(mnuAbout, &QAction::triggered, this, &TfrmMain::mnuAboutClick);
    setMenuBar(MainMenu1);
    // F10 opens the menu bar, as in other desktop programs.
    auto *menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        MainMenu1->setFocus(Qt::MenuBarFocusReason);
        MainMenu1->setActiveAction(Online1->menuAction());
    });
}

void TfrmMain::showCurrentTeam()
{
    Team *team = session.currentTeam();
    if (!team)
        return;
    statusPanels[0]->setText(toQString(team->nameAt(startMoment())));
    frPlayers->setTeam(team);
    frPlayers->refresh();
    frLineup->setTeam(team);
    pages->setTabVisible(pages->indexOf(tsPlayers), true);
    pages->setTabVisible(pages->indexOf(tsLineup), true);
}

void TfrmMain::appendLog(const QString &response)
{
    // One paragraph per response, so the block limit counts responses, not their lines.
    QString entry = response;
    entry.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    entry.replace(QLatin1Char('\n'), QChar::LineSeparator);
    entry.replace(QLatin1Char('\r'), QChar::LineSeparator);
    internetLog->appendPlainText(entry);
    // Also bounded by size: a day of polling many matches brings large responses.
    QTextDocument *log = internetLog->document();
    while (log->characterCount() > logCharacters && log->blockCount() > 1) {
        QTextCursor oldest(log->firstBlock());
        oldest.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
        oldest.removeSelectedText();
    }
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (shownOnce)
        return;
    shownOnce = true;
    // Now with its decorations, which the first placement could not know.
    if (placementRestored)
        keepOnScreen(*this);
    else
        centreOnScreen(*this);
    // After the window is on screen, so the publisher's message box has its parent.
    QTimer::singleShot(0, this, [this] {
        guarded([this] { FormShow(); });
        emit firstShown();
    });
}

void TfrmMain::FormCreate()
{
    internetLog->setFixedHeight(0);
}

void TfrmMain::FormShow()
{
    checkVersion(session);
}

void TfrmMain::mnuDownloadDataClick()
{
    // The rest of the window stays usable while the download waits; a second download must
    // not start inside the first and interleave their files.
    const DisabledWhile<QAction> busy(mnuDownloadData);
    Hourglass wait;
    kstring warning;
    if (!downloadTeamData(session, documentsFolder_, &warning))
        return;
    // The download reads the new players document into the current team.
    showCurrentTeam();
    QString saved = "Documents saved in " + QDir::toNativeSeparators(documentsFolder_);
    if (!warning.empty())
        saved += ". " + toQString(warning);
    showTransientMessage(saved, downloadMessageMs);
}

void TfrmMain::showTransientMessage(const QString &text, int milliseconds)
{
    showInMessagePanel(text);
    messageTimer->start(milliseconds);
}

void TfrmMain::showPollStatus(const QString &text)
{
    pollStatus = text;
    if (!messageTimer->isActive())
        showInMessagePanel(text);
}

// The tooltip holds the whole text where the panel is too narrow for it.
void TfrmMain::showInMessagePanel(const QString &text)
{
    statusPanels[1]->setText(text);
    statusPanels[1]->setToolTip(text);
}

void TfrmMain::mnuAboutClick()
{
    if (!aboutBox)
        throw EInvalidPointer("The About box is not available.");
    aboutBox->exec();
}

void TfrmMain::frPlayerslstListClick()
{
    Player *player = frPlayers->focusedPlayer();
    if (!player)
        return;
    frAbilities->setPlayer(player);
    frAbilities->refresh();
}
