#pragma once

#include "ui/settings_store.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

class QAction;
class QSplitter;
class TfrmLogin;
class TfrmMain;
class TfrmSelectMatches;
class ZIVGrid;
class ZIVGridCore;

// Whether a stored grid layout still fits `grid`: its name, every column it names, every size
// and sort key readable. A newer version with other columns ignores an older layout.
bool layoutFits(const ZIVGridCore &grid, pugi::xml_node layout);

// Everything the user set up that comes back at the next start: the main window's place and
// state, every splitter and grid, the player list's view and track bars, the match search's
// teams, the last user name, the goal-alert switch and the followed matches. Grids and
// splitters are taken in when they are first shown, wherever they are; the file is written a
// moment after a change and when the main window closes.
class RememberedSettings : public QObject
{
    Q_OBJECT

public:
    static constexpr int saveDelayMs = 1000;

    RememberedSettings(std::unique_ptr<SettingsStore> store, TfrmMain &main, TfrmLogin &login,
                       TfrmSelectMatches &matchSearch);
    ~RememberedSettings() override;

    // Before the main window shows: everything stored, each entry on its own.
    void restore();
    void save();
    // Every window, grid and splitter back to what it was built with.
    void resetLayout();

    QAction *mnuResetLayout;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Grid
    {
        QPointer<ZIVGrid> grid;
        std::string key;
        std::string defaults;
    };
    struct Splitter
    {
        QPointer<QSplitter> splitter;
        std::string key;
        QByteArray defaults;
    };

    void buildMenu();
    void adoptAll(QWidget &top);
    void adoptGrid(ZIVGrid &grid);
    void adoptSplitter(QSplitter &splitter);
    void restoreWindow();
    void restoreChoices();
    void restoreFollowed();
    void saveChoices();
    void saveFollowed();
    void followedChanged();
    void pollRestored();
    void scheduleSave() { saveTimer.start(); }

    std::unique_ptr<SettingsStore> store;
    TfrmMain &main;
    TfrmLogin &login;
    TfrmSelectMatches &matchSearch;
    QTimer saveTimer;
    std::vector<Grid> grids;
    std::vector<Splitter> splitters;
    QByteArray defaultState;
    std::vector<int> savedMatchIds;
    bool restoredMatches = false;
};
