#pragma once

#include "live/live_follower.h"
#include "live/poll_failures.h"
#include "ui/frame_base.h"

#include <QStringList>

#include <map>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QMenu;
class QPushButton;
class QSystemTrayIcon;
class QTabWidget;
class QTimer;
class GoalSounds;
class TframeLiveMatch;
class TfrmSelectBase;
class Troot;
class ZIVGrid;

// The live requests through the session: paths, login and log.
class SessionLiveService : public LiveService
{
public:
    explicit SessionLiveService(Troot &session) : session(session) {}
    kstring fetch(Request request, int matchId) override;
    int sessionsOpened() const override;
    void log(const kstring &response) override;

private:
    Troot &session;
};

// The live-match manager on the Live page: the Summary tab with its buttons and the summary of
// every followed match, one tab per match, and the one-minute poll for new events. The service
// keeps the set of followed matches; every response lists them with their events. The rules of
// following live in `follower`; the frame mirrors it into controls.
class TframeLive : public TframeBase, private LiveFollowerView
{
    Q_OBJECT

public:
    static constexpr int pollInterval = 60000;

    // `matchSearch` is the dialog "Add match" opens (see setMatchSearch).
    explicit TframeLive(Troot &session, QWidget *parent = nullptr,
                        TfrmSelectBase *matchSearch = nullptr);
    ~TframeLive() override;

    void addMatch(int matchId) { follower.addMatch(matchId); }
    void removeMatch(int matchId);
    void viewNew() { follower.viewNew(); }
    // A match followed in the last run, shown at once and waiting for the service. Its page is
    // built when it is first opened or the service sends the match, so a start with many
    // restored matches stays quick.
    void restoreMatch(const RememberedMatch &match);
    void refreshSummary();

    // The match's page, built now when it was still waiting unbuilt; null when not followed.
    TframeLiveMatch *page(int matchId);
    // The dialog "Add match" opens from now on.
    void setMatchSearch(TfrmSelectBase *dialog) { matchSearch_ = dialog; }

    QTabWidget *pages;
    QWidget *tsSummary;
    QPushButton *btnAddMatch;
    QPushButton *btnRemoveMatch;
    QPushButton *btnGetNextEvent;
    QCheckBox *chkWatchNewEvents;
    QPushButton *btnFollowMyMatch;
    // Goal sounds on or off; the tray menu's "Goal sounds" is the same switch.
    QCheckBox *chkGoalSounds;
    ZIVGrid *lstSummary;
    QTimer *matchTimer;

    SessionLiveService service;
    LiveFollower follower;

    // Event handlers, public so that a window test can drive them as the toolkit would (a test
    // never waits a minute for the timer).
    void btnAddMatchClick();
    void btnRemoveMatchClick();
    // Follows the user's team's running match, or its next one, and says which in the status bar.
    void btnFollowMyMatchClick();
    void btnGetNextEventClick();
    void matchTimerTimer();
    void pagesChange(int index);

signals:
    // What the status bar says of the polls: why the last one failed, or empty.
    void pollStatusChanged(const QString &text);
    // A message for the status bar that stands for a while.
    void messageRequested(const QString &text);
    // Matches were added or removed, or a score changed: what is remembered of them is stale.
    void followedChanged();
    // Remembered matches that the service no longer lists, their pages gone.
    void noLongerFollowedNotice(const QString &text);

private:
    void created(MatchPageModel &page) override;
    void merged(MatchPageModel &page) override;
    void removed(std::unique_ptr<MatchPageModel> page) override;
    void takenIn(const std::vector<MatchIntake> &intakes) override;
    void noLongerFollowed(const MatchPageModel &page) override;

    QWidget *buildSummaryTab();
    void buildSummaryGrid(QWidget *parent);
    void alertGoals(const std::vector<MatchIntake> &intakes);
    TframeLiveMatch *buildPage(MatchPageModel &model, int index);
    void showWaitingTab(const MatchPageModel &model);
    void buildTrayMenu();
    void followTray();
    // "Remove match" acts on the rows the user sees selected: without one it is disabled.
    void enableRemove();

    Troot &session_;
    TfrmSelectBase *matchSearch_;
    QSystemTrayIcon *tray = nullptr;
    QMenu *trayMenu = nullptr;
    // The goal notifications of this run, switched in the tray icon's menu.
    QAction *notifyAction = nullptr;
    QAction *soundAction = nullptr;
    GoalSounds *sounds = nullptr;
    std::map<int, TframeLiveMatch *> views;
    // Tabs of restored matches whose pages are not built yet.
    std::map<int, QWidget *> unbuilt;
    bool restoring = false;
    PollFailures pollFailures;
    // Gathered over one request, said together.
    QStringList lostMatches;
};
