#include "ui/remembered_settings.h"

#include "Engine/convert.h"
#include "Engine/errors.h"
#include "grid/widget/ziv_edit.h"
#include "grid/widget/ziv_grid.h"
#include "live/live_pages.h"
#include "qt_text/qt_text.h"
#include "ui/error_display.h"
#include "ui/live_frame.h"
#include "ui/login_dialog.h"
#include "ui/main_window.h"
#include "ui/player_list_frame.h"
#include "ui/select_matches_dialog.h"
#include "ui/window_placement.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QSplitter>

#include <optional>
#include <set>
#include <sstream>

namespace {

// The Live page's switches in the tray menu (the sounds' one mirrors a check box) and their keys.
const std::pair<const char *, const char *> liveSwitches[] = {
    {"actNotifyGoals", "live/notifyGoals"}, {"actGoalSounds", "live/goalSounds"}};

std::optional<int> readInt(const SettingsStore &store, const std::string &key, int least, int most)
{
    const std::optional<std::string> text = store.text(key);
    if (!text)
        return std::nullopt;
    try {
        const int value = toInt(*text);
        if (value >= least && value <= most)
            return value;
    } catch (const EConvertError &) {
    }
    return std::nullopt;
}

bool isInteger(const char *text)
{
    try {
        toInt(text);
        return true;
    } catch (const EConvertError &) {
        return false;
    }
}

std::optional<QByteArray> readBytes(const SettingsStore &store, const std::string &key)
{
    const std::optional<std::string> text = store.text(key);
    if (!text)
        return std::nullopt;
    const auto decoded = QByteArray::fromBase64Encoding(QByteArray::fromStdString(*text),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.isEmpty())
        return std::nullopt;
    return decoded.decoded;
}

void setBytes(SettingsStore &store, const std::string &key, const QByteArray &bytes)
{
    store.setText(key, bytes.toBase64().toStdString());
}

std::string layoutOf(const ZIVGrid &grid)
{
    pugi::xml_document document;
    grid.exportSettingsToXML(document);
    std::ostringstream text;
    document.document_element().print(text, "", pugi::format_raw);
    return text.str();
}

// Widths of the stored layout shown at once, not only at the next resize.
void applyLayout(ZIVGrid &grid, const std::string &layout)
{
    pugi::xml_document document;
    if (!document.load_string(layout.c_str()) || !layoutFits(grid, document.document_element()))
        return;
    grid.importSettingsFromXML(document);
    // Read first: setting one width writes every column's size back from the view.
    std::vector<int> widths;
    for (const ZIVGridColumn *column : grid.visibleColumns())
        widths.push_back(column->size());
    for (int col = 0; col < grid.colCount() && col < int(widths.size()); ++col)
        if (widths[std::size_t(col)] > 0)
            grid.setColWidth(col, widths[std::size_t(col)]);
    grid.sortNow();
}

// Splitters of the same kind of window share their layout: "TframeLiveMatch.Splitter1".
std::string splitterKey(const QSplitter &splitter)
{
    for (const QObject *up = splitter.parent(); up; up = up->parent()) {
        const QString kind = up->metaObject()->className();
        if (kind.startsWith('T'))
            return "splitters/" + kind.toStdString() + "." + splitter.objectName().toStdString();
    }
    return "splitters/" + splitter.objectName().toStdString();
}

} // namespace

bool layoutFits(const ZIVGridCore &grid, pugi::xml_node layout)
{
    if (std::string_view(layout.name()) != "ZIVGrid" ||
        layout.child("Name").text().get() != grid.componentName())
        return false;
    for (pugi::xml_node column : layout.children("Column"))
        if (!grid.getColumn(column.child("Name").text().get(), false) ||
            !isInteger(column.child("Size").text().get()))
            return false;
    std::vector<pugi::xml_node> keys;
    for (pugi::xml_node item : layout.child("RowSorter").children())
        if (item.type() == pugi::node_element)
            keys.push_back(item);
    if (keys.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < keys.size(); i += 2)
        if (!grid.getColumn(keys[i].text().get(), false) || !isInteger(keys[i + 1].text().get()))
            return false;
    return true;
}

RememberedSettings::RememberedSettings(std::unique_ptr<SettingsStore> settings, TfrmMain &main,
                                       TfrmLogin &login, TfrmSelectMatches &matchSearch)
    : QObject(&main), store(std::move(settings)), main(main), login(login), matchSearch(matchSearch)
{
    setObjectName("rememberedSettings");
    saveTimer.setSingleShot(true);
    saveTimer.setInterval(saveDelayMs);
    connect(&saveTimer, &QTimer::timeout, this, &RememberedSettings::save);
    defaultState = main.saveState();
    buildMenu();
    qApp->installEventFilter(this);
    connect(main.frameLive1, &TframeLive::followedChanged, this,
            &RememberedSettings::followedChanged);
    connect(main.frameLive1, &TframeLive::noLongerFollowedNotice, &main,
            [this](const QString &text) { this->main.showTransientMessage(text, 20000); });
    connect(&main, &TfrmMain::firstShown, this, &RememberedSettings::pollRestored);
    TframeListPlayers &players = *main.frPlayers;
    connect(players.cbView, &QComboBox::currentIndexChanged, this,
            &RememberedSettings::scheduleSave);
    for (QSlider *bar : {players.trkStamina, players.trkForm})
        connect(bar, &QSlider::valueChanged, this, &RememberedSettings::scheduleSave);
    for (const auto &[action, key] : liveSwitches)
        if (QAction *liveSwitch = main.frameLive1->findChild<QAction *>(action))
            connect(liveSwitch, &QAction::toggled, this, &RememberedSettings::scheduleSave);
    adoptAll(main);
}

RememberedSettings::~RememberedSettings()
{
    qApp->removeEventFilter(this);
}

void RememberedSettings::buildMenu()
{
    QMenu *view = new QMenu("&View", &main);
    view->setObjectName("mnuView");
    main.MainMenu1->insertMenu(main.mnuAbout, view);
    mnuResetLayout = view->addAction("Reset &layout");
    mnuResetLayout->setObjectName("mnuResetLayout");
    connect(mnuResetLayout, &QAction::triggered, this, &RememberedSettings::resetLayout);
}

// ---- grids and splitters, wherever they are

bool RememberedSettings::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Polish:
        if (auto *grid = qobject_cast<ZIVGrid *>(watched))
            adoptGrid(*grid);
        else if (auto *splitter = qobject_cast<QSplitter *>(watched))
            adoptSplitter(*splitter);
        break;
    // Column drags, sorting, filters and the like all end in a release.
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
        scheduleSave();
        break;
    // A dialog's controls may have been polished while it was built, before anyone watched.
    case QEvent::Show:
        if (auto *window = qobject_cast<QWidget *>(watched); window && window->isWindow())
            adoptAll(*window);
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
        if (watched == &main)
            scheduleSave();
        break;
    case QEvent::Hide:
        if (watched == &login || watched == &matchSearch)
            scheduleSave();
        break;
    case QEvent::Close:
        if (watched == &main)
            save();
        break;
    default:
        break;
    }
    return false;
}

void RememberedSettings::adoptAll(QWidget &top)
{
    for (ZIVGrid *grid : top.findChildren<ZIVGrid *>())
        adoptGrid(*grid);
    for (QSplitter *splitter : top.findChildren<QSplitter *>())
        adoptSplitter(*splitter);
}

void RememberedSettings::adoptGrid(ZIVGrid &grid)
{
    const std::string headers = grid.GetHeadersString();
    if (headers.empty())
        return;
    for (const Grid &known : grids)
        if (known.grid == &grid)
            return;
    std::erase_if(grids, [](const Grid &known) { return known.grid.isNull(); });
    grids.push_back({&grid, "grids/" + headers, layoutOf(grid)});
    if (const std::optional<std::string> layout = store->text(grids.back().key))
        guarded([&] { applyLayout(grid, *layout); });
}

void RememberedSettings::adoptSplitter(QSplitter &splitter)
{
    for (const Splitter &known : splitters)
        if (known.splitter == &splitter)
            return;
    std::erase_if(splitters, [](const Splitter &known) { return known.splitter.isNull(); });
    splitters.push_back({&splitter, splitterKey(splitter), splitter.saveState()});
    if (const std::optional<QByteArray> state = readBytes(*store, splitters.back().key))
        splitter.restoreState(*state);
}

// ---- restoring

void RememberedSettings::restore()
{
    restoreWindow();
    restoreChoices();
    restoreFollowed();
}

void RememberedSettings::restoreWindow()
{
    if (const std::optional<QByteArray> geometry = readBytes(*store, "window/geometry"))
        if (main.restoreGeometry(*geometry))
            main.keepPlacementAtShow();
    if (const std::optional<QByteArray> state = readBytes(*store, "window/state"))
        main.restoreState(*state);
    keepOnScreen(main);
}

void RememberedSettings::restoreChoices()
{
    TframeListPlayers &players = *main.frPlayers;
    if (const auto view = readInt(*store, "players/view", 0, players.cbView->count() - 1))
        players.cbView->setCurrentIndex(*view);
    for (QSlider *bar : {players.trkStamina, players.trkForm})
        if (const auto level = readInt(*store, "players/" + bar->objectName().toStdString(),
                                       bar->minimum(), bar->maximum()))
            bar->setValue(*level);
    for (const std::string &id : store->children("matchSearch/teams")) {
        const std::optional<std::string> name = store->text("matchSearch/teams/" + id + "/name");
        if (name && isInteger(id.c_str()))
            matchSearch.teams[toInt(id)] = *name;
    }
    if (const std::optional<std::string> name = store->text("login/userName"))
        login.txtUsername->setText(toQString(*name));
    for (const auto &[action, key] : liveSwitches)
        if (QAction *liveSwitch = main.frameLive1->findChild<QAction *>(action))
            if (const auto on = readInt(*store, key, 0, 1))
                liveSwitch->setChecked(*on == 1);
}

void RememberedSettings::restoreFollowed()
{
    std::set<int> ids;
    for (const std::string &id : store->children("followed"))
        if (isInteger(id.c_str()))
            ids.insert(toInt(id));
    for (const int id : ids) {
        const std::string group = "followed/" + std::to_string(id) + "/";
        const auto home = store->text(group + "home"), away = store->text(group + "away");
        const auto homeGoals = readInt(*store, group + "homeGoals", 0, INT32_MAX);
        const auto awayGoals = readInt(*store, group + "awayGoals", 0, INT32_MAX);
        if (!home || !away || !homeGoals || !awayGoals)
            continue;
        main.frameLive1->restoreMatch({id, *home, *away, *homeGoals, *awayGoals});
        restoredMatches = true;
    }
    main.frameLive1->refreshSummary();
    for (const RememberedMatch &match : main.frameLive1->follower.remembered())
        savedMatchIds.push_back(match.matchId);
}

// The service is asked for the restored matches once the window is up; the first request
// logs in, and a cancelled login leaves them waiting for the next tick.
void RememberedSettings::pollRestored()
{
    if (!restoredMatches)
        return;
    restoredMatches = false;
    guarded([this] { main.frameLive1->viewNew(); });
}

// ---- saving

void RememberedSettings::save()
{
    saveTimer.stop();
    setBytes(*store, "window/geometry", main.saveGeometry());
    setBytes(*store, "window/state", main.saveState());
    for (const Splitter &known : splitters)
        if (known.splitter)
            setBytes(*store, known.key, known.splitter->saveState());
    for (const Grid &known : grids)
        if (known.grid)
            store->setText(known.key, layoutOf(*known.grid));
    saveChoices();
    saveFollowed();
    store->flush();
}

void RememberedSettings::saveChoices()
{
    const TframeListPlayers &players = *main.frPlayers;
    store->setText("players/view", std::to_string(players.cbView->currentIndex()));
    for (const QSlider *bar : {players.trkStamina, players.trkForm})
        store->setText("players/" + bar->objectName().toStdString(), std::to_string(bar->value()));
    store->remove("matchSearch/teams");
    for (const auto &[id, name] : matchSearch.teams)
        store->setText("matchSearch/teams/" + std::to_string(id) + "/name", name);
    store->setText("login/userName", toKstring(login.txtUsername->text()));
    for (const auto &[action, key] : liveSwitches)
        if (const QAction *liveSwitch = main.frameLive1->findChild<QAction *>(action))
            store->setText(key, liveSwitch->isChecked() ? "1" : "0");
}

void RememberedSettings::saveFollowed()
{
    store->remove("followed");
    savedMatchIds.clear();
    for (const RememberedMatch &match : main.frameLive1->follower.remembered()) {
        const std::string group = "followed/" + std::to_string(match.matchId) + "/";
        store->setText(group + "home", match.homeTeam);
        store->setText(group + "away", match.awayTeam);
        store->setText(group + "homeGoals", std::to_string(match.homeGoals));
        store->setText(group + "awayGoals", std::to_string(match.awayGoals));
        savedMatchIds.push_back(match.matchId);
    }
}

// A new or removed match is written at once; a new score with the next save.
void RememberedSettings::followedChanged()
{
    std::vector<int> ids;
    for (const auto &[id, page] : main.frameLive1->follower.entries())
        ids.push_back(id);
    if (ids != savedMatchIds)
        save();
    else
        scheduleSave();
}

// ---- reset

void RememberedSettings::resetLayout()
{
    for (const Grid &known : grids)
        if (known.grid)
            guarded([&] { applyLayout(*known.grid, known.defaults); });
    for (const Splitter &known : splitters)
        if (known.splitter)
            known.splitter->restoreState(known.defaults);
    main.setWindowState(Qt::WindowNoState);
    main.restoreState(defaultState);
    main.resize(TfrmMain::designedWidth, TfrmMain::designedHeight);
    centreOnScreen(main);
    for (const char *group : {"window", "splitters", "grids"})
        store->remove(group);
    save();
    main.showTransientMessage("Layout reset: every window, list and splitter is back to its "
                              "defaults.",
                              TfrmMain::downloadMessageMs);
}
