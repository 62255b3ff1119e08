#include "ui/live_frame.h"

#include "Engine/errors.h"
#include "grid/core/grid_update.h"
#include "grid/widget/ziv_grid.h"
#include "qt_text/qt_text.h"
#include "service/service_paths.h"
#include "service/session.h"
#include "ui/disabled_while.h"
#include "ui/error_display.h"
#include "ui/live_match_frame.h"
#include "ui/select_matches_dialog.h"

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
#include <QTimer>
#include <QVBoxLayout>

#include <array>
#include <string>

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

TframeLive::TframeLive(QWidget *parent, TfrmSelectBase *matchSearch)
    : TframeBase(parent), matchSearch_(matchSearch)
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
    connectGuarded(matchTimer, &QTimer::timeout, this, &TframeLive::matchTimerTimer);
    connect(pages, &QTabWidget::currentChanged, this, [this](int index) { pagesChange(index); });
    buildTrayMenu();
    matchTimer->start();
}

TframeLive::~TframeLive()
{
    delete tray;
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

    auto *top = new QHBoxLayout;
    top->addWidget(btnAddMatch);
    top->addWidget(btnRemoveMatch);
    top->addWidget(btnGetNextEvent);
    top->addWidget(chkWatchNewEvents);
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
    lstSummary->Loaded();
    // Fitting keeps the proportions: the names get room, the counters little.
    for (int col = 0; col < lstSummary->colCount(); ++col)
        lstSummary->setColWidth(col, col < 2 ? 170 : 46);
}

TframeLiveMatch *TframeLive::page(int matchId) const
{
    return static_cast<TframeLiveMatch *>(findPage(matchId));
}

MatchPageModel &TframeLive::createPage(int matchId)
{
    auto *page = new TframeLiveMatch(pages);
    pages->addTab(page, QString::number(matchId));
    return *page;
}

void TframeLive::showPage(MatchPageModel &page)
{
    followTray();
    static_cast<TframeLiveMatch &>(page).refresh();
}

// ---- requests

void TframeLive::addMatch(int matchId)
{
    fetchAndProcess(servicePaths::liveAddMatch(matchId), matchId);
}

void TframeLive::viewNew()
{
    fetchAndProcess(servicePaths::liveViewNew());
}

void TframeLive::removeMatch(int matchId)
{
    if (MatchPageModel *model = forget(matchId)) {
        auto *removed = static_cast<TframeLiveMatch *>(model);
        {
            // The neighbour the tab control shows for a moment has not been looked at.
            const QSignalBlocker quiet(pages);
            pages->removeTab(pages->indexOf(removed));
        }
        removed->hide();
        // Later, not now: the page's own button may be what asked for this.
        removed->deleteLater();
        followTray();
        // A cancelled login here ends the removal; the page is gone already.
        fetchAndProcess(servicePaths::liveDeleteMatch(matchId));
    }
    pages->setCurrentWidget(tsSummary);
    refreshSummary();
}

void TframeLive::fetchAndProcess(const kstring &path, int addedMatch)
{
    lastResponse = root->fetch(path);
    // A login since the matches were added (in this fetch, or for another window's request)
    // opened a new session, which follows nothing.
    if (root->sessionsOpened() != followingSession) {
        followingSession = root->sessionsOpened();
        markAllForAddingAgain();
    }
    try {
        processResponse();
    } catch (...) {
        // The service counts the events of an unreadable answer as sent.
        if (!lastResponse.empty())
            markAllForAddingAgain();
        throw;
    }
    if (addedMatch != 0 && !lastResponse.empty())
        addedAgain(addedMatch);
    addAgainWhatTheServiceLost();
}

void TframeLive::addAgainWhatTheServiceLost()
{
    if (addingAgain)
        return;
    const QScopedValueRollback busy(addingAgain, true);
    // Once each: a match whose add is not answered waits for the next request.
    for (int matchId : dueForAddingAgain())
        if (findPage(matchId))
            addMatch(matchId);
}

void TframeLive::loadResponse()
{
    xml.reset();
    const pugi::xml_parse_result parsed = xml.load_buffer(lastResponse.data(), lastResponse.size());
    if (parsed)
        return;
    xml.reset();
    throw EXmlError("The live response of the service is not well-formed XML: " +
                    std::string(parsed.description()) + " at character " +
                    std::to_string(parsed.offset) + " of " + std::to_string(lastResponse.size()));
}

void TframeLive::processResponse()
{
    if (lastResponse.empty())
        return;
    loadResponse();
    root->log(lastResponse);
    const std::vector<MatchIntake> intakes = takeIn(xml.document_element());
    refreshSummary();
    alertGoals(intakes);
}

void TframeLive::refreshSummary()
{
    const ZIVGridUpdate update(*lstSummary);
    lstSummary->clear();
    ZIVGridColumn &id = *lstSummary->getColumn("id", true);
    ZIVGridColumn &homeTeam = *lstSummary->getColumn("home team", true);
    ZIVGridColumn &awayTeam = *lstSummary->getColumn("away team", true);
    std::array<ZIVGridColumn *, std::tuple_size_v<decltype(SummaryRow::counts)>> counts{};
    const SummaryRow layout = summaryRow(LiveMatch());
    for (std::size_t i = 0; i < counts.size(); ++i)
        counts[i] = lstSummary->getColumn(layout.counts[i].column, true);

    for (const SummaryRow &values : summaryRows()) {
        ZIVGridRow &row = lstSummary->addRow();
        row.cell(id).setLong(values.matchId);
        row.cell(homeTeam).setString(values.homeTeam);
        row.cell(awayTeam).setString(values.awayTeam);
        row.cell(homeTeam).setBrushSource(srcColumn);
        row.cell(awayTeam).setBrushSource(srcColumn);
        for (std::size_t i = 0; i < counts.size(); ++i) {
            ZIVGridCell &cell = row.cell(*counts[i]);
            cell.setInt(values.counts[i].value);
            cell.setBrushSource(srcColumn);
        }
    }
    lstSummary->filterAndSort();
}

// ---- handlers

void TframeLive::btnAddMatchClick()
{
    TfrmSelectBase *search = matchSearch_ ? matchSearch_ : frmSelectMatches;
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

void TframeLive::btnRemoveMatchClick()
{
    ZIVGridRow *row = lstSummary->GetFocusedRow();
    if (!row)
        return;
    removeMatch(row->cell(*lstSummary->getColumn("id", true)).getLong());
}

void TframeLive::btnGetNextEventClick()
{
    viewNew();
}

void TframeLive::matchTimerTimer()
{
    matchTimer->stop();
    const RestartTimer restart(matchTimer);
    if (!empty() && chkWatchNewEvents->isChecked())
        viewNew();
}

void TframeLive::pagesChange(int index)
{
    if (auto *shown = qobject_cast<TframeLiveMatch *>(pages->widget(index))) {
        shown->entered();
        shown->showTab();
    }
}

// ---- goal alerts

void TframeLive::alertGoals(const std::vector<MatchIntake> &intakes)
{
    QWidget *mainWindow = window();
    const bool active = mainWindow->isActiveWindow();
    for (const MatchIntake &intake : intakes) {
        if (!needsGoalAlert(intake, active))
            continue;
        QApplication::alert(mainWindow);
        const TframeLiveMatch *scored = page(intake.matchId);
        if (tray && notifyAction->isChecked() && scored)
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
}

// The tray icon exists while a match is followed and the desktop has a tray.
void TframeLive::followTray()
{
    const bool wanted = !empty() && QSystemTrayIcon::isSystemTrayAvailable();
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
