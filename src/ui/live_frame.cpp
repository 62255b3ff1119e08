#include "ui/live_frame.h"

#include "Engine/errors.h"
#include "Engine/history.h"
#include "grid/core/grid_refill.h"
#include "grid/widget/ziv_grid.h"
#include "players/team.h"
#include "qt_text/qt_text.h"
#include "service/match_search.h"
#include "service/service_paths.h"
#include "service/session.h"
#include "ui/disabled_while.h"
#include "ui/error_display.h"
#include "ui/goal_sounds.h"
#include "ui/hourglass.h"
#include "ui/live_match_frame.h"
#include "ui/select_base_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

#include <array>
#include <string>
#include <typeinfo>

namespace {

const std::vector<std::string> summaryHeaders = {"id;id;s",
                                                 "home team",
                                                 "away team",
                                                 "home goals;goals;v",
                                                 "away goals;goals;v",
                                                 "home attempts;attempts;v",
                                                 "away attempts;attempts;v",
                                                 "home yellow cards;y cards;v",
                                                 "away yellow cards;y cards;v",
                                                 "home red cards;r cards;v",
                                                 "away red cards;r cards;v",
                                                 "home injury;injury;v",
                                                 "away injury;injury;v"};

const char *const homeColumns[] = {"home team",         "home goals",     "home attempts",
                                   "home yellow cards", "home red cards", "home injury"};
const char *const awayColumns[] = {"away team",         "away goals",     "away attempts",
                                   "away yellow cards", "away red cards", "away injury"};

// Starts the timer again however the tick's work ends.
class RestartTimer
{
public:
    explicit RestartTimer(QTimer *timer) : timer(timer) {}
    ~RestartTimer() { timer->start(); }
    RestartTimer(const RestartTimer &) = delete;
    RestartTimer &operator=(const RestartTimer &) = delete;

private:
    QTimer *timer;
};

QPushButton *button(QWidget *parent, const char *name, const char *caption)
{
    auto *result = new QPushButton(caption, parent);
    result->setObjectName(name);
    return result;
}

} // namespace

kstring SessionLiveService::fetch(Request request, int matchId)
{
    switch (request) {
    case Request::addMatch:
        return session.fetch(servicePaths::liveAddMatch(matchId));
    case Request::deleteMatch:
        return session.fetch(servicePaths::liveDeleteMatch(matchId));
    case Request::viewNew:
        break;
    }
    return session.fetch(servicePaths::liveViewNew());
}

int SessionLiveService::sessionsOpened() const
{
    return session.sessionsOpened();
}

void SessionLiveService::log(const kstring &response)
{
    session.log(response);
}

TframeLive::TframeLive(Troot &session, QWidget *parent, TfrmSelectBase *matchSearch)
    : TframeBase(parent), service(session), follower(service, *this), session_(session),
      matchSearch_(matchSearch)
{
    setObjectName("frameLive1");
    pages = new QTabWidget(this);
    pages->setObjectName("pages");
    // The style cannot wrap tabs onto rows; scroll buttons keep every tab reachable instead.
    pages->setUsesScrollButtons(true);
    pages->setElideMode(Qt::ElideNone);
    tsSummary = buildSummaryTab();
    pages->addTab(tsSummary, "Summary");

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages);

    matchTimer = new QTimer(this);
    matchTimer->setObjectName("matchTimer");
    matchTimer->setInterval(pollInterval);

    connectGuarded(btnAddMatch, &QPushButton::clicked, this, &TframeLive::btnAddMatchClick);
    connectGuarded(btnRemoveMatch, &QPushButton::clicked, this, &TframeLive::btnRemoveMatchClick);
    connectGuarded(btnGetNextEvent, &QPushButton::clicked, this, &TframeLive::btnGetNextEventClick);
    connectGuarded(btnFollowMyMatch, &QPushButton::clicked, this,
                   &TframeLive::btnFollowMyMatchClick);
    connect(lstSummary, &ZIVGrid::OnClick, this, &TframeLive::enableRemove);
    connect(lstSummary, &ZIVGrid::OnKeyDown, this, &TframeLive::enableRemove);
    connectGuarded(matchTimer, &QTimer::timeout, this, &TframeLive::matchTimerTimer);
    connect(pages, &QTabWidget::currentChanged, this, [this](int index) { pagesChange(index); });
    buildTrayMenu();
    sounds = new GoalSounds(this);
    enableRemove();
    matchTimer->start();
}

TframeLive::~TframeLive()
{
    delete tray;
    // The pages go before the follower that owns their models, which the base class would
    // destroy only after it.
    for (const auto &[matchId, page] : views)
        delete page;
}

QWidget *TframeLive::buildSummaryTab()
{
    auto *tab = new QWidget(pages);
    tab->setObjectName("tsSummary");
    btnAddMatch = button(tab, "btnAddMatch", "Add match");
    btnRemoveMatch = button(tab, "btnRemoveMatch", "Remove match");
    btnGetNextEvent = button(tab, "btnGetNextEvent", "Next event");
    chkWatchNewEvents = new QCheckBox("Watch new events", tab);
    chkWatchNewEvents->setObjectName("chkWatchNewEvents");
    chkWatchNewEvents->setChecked(true);
    btnFollowMyMatch = button(tab, "btnFollowMyMatch", "Follow &my match");
    btnFollowMyMatch->setToolTip(
        "Follows your team's running match, or its next one (your team is the one of the "
        "downloaded data).");
    chkGoalSounds = new QCheckBox("Goal &sounds", tab);
    chkGoalSounds->setObjectName("chkGoalSounds");
    chkGoalSounds->setChecked(true);
    chkGoalSounds->setToolTip("A short sound for each goal: one for the home side and one for "
                              "the away side, or for us and them when your team plays.");

    auto *top = new QHBoxLayout;
    top->addWidget(btnAddMatch);
    top->addWidget(btnRemoveMatch);
    top->addWidget(btnGetNextEvent);
    top->addWidget(chkWatchNewEvents);
    top->addWidget(btnFollowMyMatch);
    top->addWidget(chkGoalSounds);
    top->addStretch(1);
    auto *layout = new QVBoxLayout(tab);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    buildSummaryGrid(tab);
    layout->addWidget(lstSummary, 1);
    return tab;
}

void TframeLive::buildSummaryGrid(QWidget *parent)
{
    lstSummary = new ZIVGrid(parent);
    lstSummary->setObjectName("lstSummary");
    lstSummary->SetHeaders(summaryHeaders);
    lstSummary->SetHeadersString("frameLive1");
    lstSummary->SetSorted(true);
    lstSummary->SetFitColumnToGrid(true);
    for (const auto &[names, home] :
         {std::pair{&homeColumns, true}, std::pair{&awayColumns, false}})
        for (const char *name : *names) {
            ZIVGridColumn &column = *lstSummary->getColumn(name, true);
            column.setBrushSource(srcOwn);
            column.brush().color = gridColour(sideTint(home));
        }
    // The paired columns share a caption; the tooltip says whose it is ("goals of the home
    // side"), from the column's name.
    for (const auto *names : {&homeColumns, &awayColumns})
        for (const std::string name : *names) {
            const std::string side = name.substr(0, name.find(' '));
            std::string what = name.substr(side.size() + 1);
            if (what == "injury")
                what = "injuries";
            lstSummary->getColumn(name, true)
                ->setHint(what == "team" ? "the " + side + " team"
                                         : what + " of the " + side + " side");
        }
    lstSummary->Loaded();
    // Fitting keeps the proportions: the names get room, the counters little.
    for (int col = 0; col < lstSummary->colCount(); ++col)
        lstSummary->setColWidth(col, col < 2 ? 170 : 46);
}

TframeLiveMatch *TframeLive::page(int matchId)
{
    const auto found = views.find(matchId);
    if (found != views.end())
        return found->second;
    const auto waiting = unbuilt.find(matchId);
    if (waiting == unbuilt.end())
        return nullptr;
    MatchPageModel &model = *follower.findPage(matchId);
    const int index = pages->indexOf(waiting->second);
    const bool shown = pages->currentIndex() == index;
    TframeLiveMatch *built = nullptr;
    {
        const QSignalBlocker quiet(pages);
        pages->removeTab(index);
        delete waiting->second;
        unbuilt.erase(waiting);
        built = buildPage(model, index);
        if (shown)
            pages->setCurrentIndex(index);
    }
    built->refresh();
    return built;
}

void TframeLive::restoreMatch(const RememberedMatch &match)
{
    const QScopedValueRollback scope(restoring, true);
    follower.restore(match);
}

// ---- the follower's news

void TframeLive::created(MatchPageModel &model)
{
    if (!restoring) {
        buildPage(model, pages->count());
        return;
    }
    // The tab comes with its caption once the model is filled in (merged).
    unbuilt[model.match.MatchID] = nullptr;
}

TframeLiveMatch *TframeLive::buildPage(MatchPageModel &model, int index)
{
    auto *page = new TframeLiveMatch(model, pages);
    views[model.match.MatchID] = page;
    pages->insertTab(index, page, QString::number(model.match.MatchID));
    connect(page, &TframeLiveMatch::removeRequested, this,
            [this](int matchId) { guarded([this, matchId] { removeMatch(matchId); }); });
    return page;
}

void TframeLive::showWaitingTab(const MatchPageModel &model)
{
    QWidget *&tab = unbuilt.at(model.match.MatchID);
    if (!tab) {
        tab = new QWidget;
        tab->setObjectName("tsWaiting");
        pages->addTab(tab, TframeLiveMatch::tabCaption(model));
    } else {
        pages->setTabText(pages->indexOf(tab), TframeLiveMatch::tabCaption(model));
    }
    pages->setTabToolTip(pages->indexOf(tab), TframeLiveMatch::tabToolTip(model));
}

void TframeLive::noLongerFollowed(const MatchPageModel &model)
{
    if (lostMatches.isEmpty())
        QTimer::singleShot(0, this, [this] {
            emit noLongerFollowedNotice("No longer followed: " + lostMatches.join(", ") +
                                        " (the service does not list it any more)");
            lostMatches.clear();
        });
    lostMatches.append(toQString(model.match.tabCaption()));
}

void TframeLive::merged(MatchPageModel &model)
{
    followTray();
    if (model.waiting && unbuilt.count(model.match.MatchID))
        showWaitingTab(model);
    else
        page(model.match.MatchID)->refresh();
}

void TframeLive::removed(std::unique_ptr<MatchPageModel> model)
{
    if (const auto waiting = unbuilt.find(model->match.MatchID); waiting != unbuilt.end()) {
        const QSignalBlocker quiet(pages);
        delete waiting->second; // its tab goes with it
        unbuilt.erase(waiting);
        followTray();
        emit followedChanged();
        return;
    }
    const auto found = views.find(model->match.MatchID);
    TframeLiveMatch *removed = found->second;
    views.erase(found);
    {
        // The neighbour the tab control shows for a moment has not been looked at.
        const QSignalBlocker quiet(pages);
        pages->removeTab(pages->indexOf(removed));
    }
    removed->hide();
    // Later, not now: the page's own button may be what asked for this. Until then the page
    // keeps the model it shows.
    removed->adopt(std::move(model));
    removed->deleteLater();
    followTray();
    emit followedChanged();
}

void TframeLive::takenIn(const std::vector<MatchIntake> &intakes)
{
    refreshSummary();
    alertGoals(intakes);
    emit followedChanged();
}

void TframeLive::removeMatch(int matchId)
{
    follower.removeMatch(matchId);
    pages->setCurrentWidget(tsSummary);
    refreshSummary();
}

void TframeLive::refreshSummary()
{
    ZIVGridColumn &id = *lstSummary->getColumn("id", true);
    ZIVGridColumn &homeTeam = *lstSummary->getColumn("home team", true);
    ZIVGridColumn &awayTeam = *lstSummary->getColumn("away team", true);
    std::array<ZIVGridColumn *, std::tuple_size_v<decltype(SummaryRow::counts)>> counts{};
    const SummaryRow layout = summaryRow(LiveMatch());
    for (std::size_t i = 0; i < counts.size(); ++i)
        counts[i] = lstSummary->getColumn(layout.counts[i].column, true);

    refillGrid(*lstSummary, follower.summaryRows(), [&](ZIVGridRow &row, const SummaryRow &values) {
        row.cell(id).setLong(values.matchId);
        row.cell(homeTeam).setString(values.homeTeam);
        row.cell(awayTeam).setString(values.awayTeam);
        // Running matches bold, finished ones grey.
        if (values.state == MatchState::running)
            ownFont(row).style |= fsBold;
        else if (values.state == MatchState::finished)
            ownFont(row).color = rgbColor(110, 110, 110);
        for (ZIVGridColumn *team : {&homeTeam, &awayTeam}) {
            ZIVGridCell &cell = row.cell(*team);
            cell.setBrushSource(srcColumn);
            // The last run's score, until the service speaks: greyed and slanted.
            if (values.waiting) {
                TFont &waiting = ownFont(cell);
                waiting.color = rgbColor(128, 128, 128);
                waiting.style |= fsItalic;
            }
        }
        for (std::size_t i = 0; i < counts.size(); ++i) {
            ZIVGridCell &cell = row.cell(*counts[i]);
            cell.setInt(values.counts[i].value);
            cell.setBrushSource(srcColumn);
        }
    });
    enableRemove();
}

void TframeLive::enableRemove()
{
    btnRemoveMatch->setEnabled(!lstSummary->GetSelectedRows().empty());
}

// ---- handlers

void TframeLive::btnAddMatchClick()
{
    TfrmSelectBase *search = matchSearch_;
    if (!search)
        throw EInvalidPointer("The match search is not available.");
    const DisabledWhile<QPushButton> busy(btnAddMatch);
    TSelection chosen;
    if (!search->select(chosen))
        return;
    // Ascending ids; a cancelled login stops the rest.
    for (const auto &[matchId, name] : chosen)
        addMatch(matchId);
}

// Only rows the user sees selected: the focused row alone may be one nobody picked.
void TframeLive::btnRemoveMatchClick()
{
    TSelectedRows selected;
    lstSummary->getSelectedRows(selected);
    std::vector<int> matchIds;
    const ZIVGridColumn &id = *lstSummary->getColumn("id", true);
    for (const ZIVGridRow *row : selected)
        matchIds.push_back(row->cell(id).getLong());
    for (int matchId : matchIds)
        removeMatch(matchId);
}

void TframeLive::btnFollowMyMatchClick()
{
    Team *mine = session_.currentTeam();
    if (!mine) {
        emit messageRequested("Your team is not known yet: download your data first "
                              "(Online, Download data).");
        return;
    }
    const QString team = toQString(mine->nameAt(startMoment()));
    TSearchMatches next;
    {
        const Hourglass wait;
        const DisabledWhile<QPushButton> busy(btnFollowMyMatch);
        searchMatches(session_, {mine->id}, MatchPick::Next, next);
    }
    const TSearchMatch *match = matchToFollow(next);
    if (!match) {
        emit messageRequested(team + " has no running or coming match.");
        return;
    }
    const bool running = match->status == "ONGOING";
    addMatch(match->id);
    if (TframeLiveMatch *shown = page(match->id))
        pages->setCurrentWidget(shown);
    emit messageRequested(
        QString(running ? "Following the running match " : "Following the next match ") +
        toQString(matchTitle(*match)) +
        (running || match->date.empty() ? QString() : " on " + toQString(match->date)) + ".");
}

void TframeLive::btnGetNextEventClick()
{
    viewNew();
    // An answer was read: the failed polls are over.
    pollFailures.succeeded();
    emit pollStatusChanged(QString());
}

void TframeLive::matchTimerTimer()
{
    matchTimer->stop();
    bool showBox = false;
    QString boxText;
    {
        // Restarted before any box opens: the box's own event loop then runs the next ticks,
        // which fail quietly instead of opening a box each.
        const RestartTimer restart(matchTimer);
        if (!follower.pollDue(chkWatchNewEvents->isChecked()))
            return;
        try {
            viewNew();
            pollFailures.succeeded();
        } catch (const ECancel &) {
            throw;
        } catch (const std::exception &error) {
            const QString time = QTime::currentTime().toString("HH:mm");
            showBox = pollFailures.failed(typeid(error).name(), error.what(), toKstring(time));
            boxText = QString::fromUtf8(error.what());
        }
    }
    emit pollStatusChanged(toQString(pollFailures.statusText()));
    if (showBox)
        showErrorBox(boxText.isEmpty() ? QString("An unknown error occurred.") : boxText);
}

void TframeLive::pagesChange(int index)
{
    for (const auto &[matchId, tab] : unbuilt)
        if (pages->widget(index) == tab) {
            page(matchId);
            break;
        }
    if (auto *shown = qobject_cast<TframeLiveMatch *>(pages->widget(index))) {
        shown->model.entered();
        shown->showTab();
    }
}

// ---- goal alerts

void TframeLive::alertGoals(const std::vector<MatchIntake> &intakes)
{
    QWidget *mainWindow = window();
    const bool active = mainWindow->isActiveWindow();
    const Team *mine = session_.currentTeam();
    for (const MatchIntake &intake : intakes) {
        // The model, not the page: a restored match has no page until its tab is opened.
        const MatchPageModel *scored =
            intake.goalRose ? follower.findPage(intake.matchId) : nullptr;
        if (!scored)
            continue;
        // The sound plays also while the user looks: it tells which side scored.
        if (chkGoalSounds->isChecked())
            sounds->play(goalSound(scored->match, intake.homeScored, mine ? mine->id : 0));
        if (!needsGoalAlert(intake, active))
            continue;
        QApplication::alert(mainWindow);
        if (tray && notifyAction->isChecked())
            tray->showMessage("Goal", toQString(goalAlertText(scored->match)),
                              QSystemTrayIcon::Information, 8000);
    }
}

void TframeLive::buildTrayMenu()
{
    trayMenu = new QMenu(this);
    notifyAction = trayMenu->addAction("Notify goals");
    notifyAction->setObjectName("actNotifyGoals");
    notifyAction->setCheckable(true);
    notifyAction->setChecked(true);
    soundAction = trayMenu->addAction("Goal sounds");
    soundAction->setObjectName("actGoalSounds");
    soundAction->setCheckable(true);
    soundAction->setChecked(chkGoalSounds->isChecked());
    connect(soundAction, &QAction::toggled, chkGoalSounds, &QCheckBox::setChecked);
    connect(chkGoalSounds, &QCheckBox::toggled, soundAction, &QAction::setChecked);
}

// The tray icon exists while a match is followed and the desktop has a tray.
void TframeLive::followTray()
{
    const bool wanted = !follower.empty() && QSystemTrayIcon::isSystemTrayAvailable();
    if (!wanted) {
        delete tray;
        tray = nullptr;
        return;
    }
    if (tray)
        return;
    tray = new QSystemTrayIcon(QIcon(":/images/badge.png"));
    tray->setToolTip("StrikoraKey: following live matches");
    tray->setContextMenu(trayMenu);
    tray->show();
}
