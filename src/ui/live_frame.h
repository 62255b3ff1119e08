#pragma once

#include "Engine/kstring.h"
#include "live/live_pages.h"
#include "ui/frame_base.h"

#include <pugixml.hpp>

#include <vector>

class QAction;
class QCheckBox;
class QMenu;
class QPushButton;
class QSystemTrayIcon;
class QTabWidget;
class QTimer;
class TframeLiveMatch;
class TfrmSelectBase;
class ZIVGrid;

// The live-match manager on the Live page: the Summary tab with its buttons and the summary of
// every followed match, one tab per match, and the one-minute poll for new events. The service
// keeps the set of followed matches; every response lists them with their events.
class TframeLive : public TframeBase, public LivePageMap
{
    Q_OBJECT

public:
    static constexpr int pollInterval = 60000;

    // `matchSearch` is the dialog "Add match" opens; none means the application's match search.
    explicit TframeLive(QWidget *parent = nullptr, TfrmSelectBase *matchSearch = nullptr);
    ~TframeLive() override;

    void addMatch(int matchId);
    void removeMatch(int matchId);
    void viewNew();
    // Takes the last response in: every match it lists merges into its page (a new one on a new
    // tab), then the summary is rebuilt.
    void processResponse();
    void refreshSummary();

    TframeLiveMatch *page(int matchId) const;
    // The dialog "Add match" opens from now on; null goes back to the application's match search.
    void setMatchSearch(TfrmSelectBase *dialog) { matchSearch_ = dialog; }

    QTabWidget *pages;
    QWidget *tsSummary;
    QPushButton *btnAddMatch;
    QPushButton *btnRemoveMatch;
    QPushButton *btnGetNextEvent;
    QCheckBox *chkWatchNewEvents;
    ZIVGrid *lstSummary;
    QTimer *matchTimer;

    kstring lastResponse;
    pugi::xml_document xml;

    // Event handlers, public so that a window test can drive them as the toolkit would (a test
    // never waits a minute for the timer).
    void btnAddMatchClick();
    void btnRemoveMatchClick();
    void btnGetNextEventClick();
    void matchTimerTimer();
    void pagesChange(int index);

protected:
    MatchPageModel &createPage(int matchId) override;
    void showPage(MatchPageModel &page) override;

private:
    QWidget *buildSummaryTab();
    void buildSummaryGrid(QWidget *parent);
    // `addedMatch`: the match whose add the path asks for, 0 for none.
    void fetchAndProcess(const kstring &path, int addedMatch = 0);
    void addAgainWhatTheServiceLost();
    void loadResponse();
    void alertGoals(const std::vector<MatchIntake> &intakes);
    void buildTrayMenu();
    void followTray();

    TfrmSelectBase *matchSearch_;
    QSystemTrayIcon *tray = nullptr;
    QMenu *trayMenu = nullptr;
    // The goal notifications of this run, switched in the tray icon's menu.
    QAction *notifyAction = nullptr;
    // The session of the service that the followed matches were added in.
    int followingSession = 0;
    bool addingAgain = false;
};
