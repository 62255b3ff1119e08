#pragma once

#include <QMainWindow>
#include <QString>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QTimer;
class QWidget;
class TfrmAbout;
class TframeLineup;
class TframeListPlayers;
class TframeLive;
class TframePlayerAbilities;
class Troot;

// The main window: the Live page, the hidden Players page, the hidden log of every service
// response, the status bar and the menu. Closing it ends the program.
class TfrmMain : public QMainWindow
{
    Q_OBJECT

public:
    // Works through `session`; `documentsFolder` is where downloaded documents go (the
    // program's XML folder).
    TfrmMain(Troot &session, QString documentsFolder, QWidget *parent = nullptr);

    static constexpr int designedWidth = 790, designedHeight = 480;
    // How long the status bar names the folder after a download.
    static constexpr int downloadMessageMs = 10000;
    // The hidden log keeps the newest responses only, so a day of live polling stays flat.
    static constexpr int logEntries = 2000;
    // ... and at most this many characters (about 1 MiB), the oldest going first.
    static constexpr int logCharacters = 1 << 19;

    void appendLog(const QString &response);
    // Status panel 1: a message shown for a while, then again what the live polls say.
    void showTransientMessage(const QString &text, int milliseconds);
    void showPollStatus(const QString &text);
    // The first showing keeps a restored place (brought on screen) instead of centring.
    void keepPlacementAtShow() { placementRestored = true; }
    // The box "About" opens.
    void setAboutBox(TfrmAbout *box) { aboutBox = box; }

    QTabWidget *pages;
    QWidget *tsPlayers;
    TframeListPlayers *frPlayers;
    QFrame *panDetail;
    TframePlayerAbilities *frAbilities;
    QWidget *tsLineup;
    TframeLineup *frLineup;
    QWidget *tsLive;
    TframeLive *frameLive1;
    QSplitter *Splitter1;
    QPlainTextEdit *internetLog;
    QStatusBar *statusbar;
    QLabel *statusPanels[4];
    QMenuBar *MainMenu1;
    QMenu *Online1;
    QAction *mnuDownloadData;
    QAction *mnuQuit;
    QAction *mnuAbout;

signals:
    // The window is up and its start-up check has run.
    void firstShown();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildPages();
    void buildPlayersPage();
    void buildLineupPage();
    void buildStatusBar();
    void buildMenu();
    void showCurrentTeam();
    void showInMessagePanel(const QString &text);

    void FormCreate();
    void FormShow();
    void mnuDownloadDataClick();
    void mnuAboutClick();
    void frPlayerslstListClick();

    Troot &session;
    TfrmAbout *aboutBox = nullptr;
    QTimer *messageTimer = nullptr;
    QString pollStatus;
    QString documentsFolder_;
    bool shownOnce = false;
    bool placementRestored = false;
};

extern TfrmMain *frmMain;
