#pragma once

#include "players/lineup.h"
#include "players/lineup_view.h"
#include "players/team.h"

#include <QWidget>

#include <optional>
#include <set>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The drawn pitch: one box per place with the player's name, behaviour caption and rating, the
// keeper at the bottom. Clicks and the arrow keys choose a place; the context menu (mouse or
// keyboard) asks the page what to offer for it.
class TLineupPitch : public QWidget
{
    Q_OBJECT

public:
    explicit TLineupPitch(QWidget *parent = nullptr);

    void setLineup(const Lineup &lineup, std::set<std::int32_t> pinned);
    const Lineup &lineup() const { return shown; }
    // Each place's box in widget coordinates, in the lineup's place order.
    std::vector<QRect> placeBoxes() const;
    int placeAt(const QPoint &point) const;
    int currentPlace() const { return current; }

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

signals:
    void placeMenuRequested(int place, const QPoint &globalPos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool event(QEvent *event) override;

private:
    QSize boxSize() const;
    QRect field() const;
    void paintField(QPainter &painter, const QRect &area) const;
    void paintPlace(QPainter &painter, const QRect &box, const LineupSlot &place, bool pinned,
                    bool isCurrent) const;
    QString placeTip(int place) const;

    Lineup shown;
    std::vector<PitchSpot> spots;
    std::set<std::int32_t> pinnedIds;
    int current = 0;
};

// The Lineup page: the best eleven of the team for a formation (or the best formation), by the
// sum of their contribution ratings at the Players page's stamina and form, with the bench
// beside it. The user pins players to places and leaves players out from the context menus.
class TframeLineup : public QWidget
{
    Q_OBJECT

public:
    explicit TframeLineup(QWidget *parent = nullptr);

    // Keeps the team (not owned); pins and left-out players of another team are forgotten.
    void setTeam(Team *team);
    // The track bars' overrides (-1: each player's own level).
    void setLevels(std::int8_t staminaOverride, std::int8_t formOverride);
    // Solves again and shows the result.
    void refresh();

    const LineupChoices &choices() const { return choices_; }
    // What the page does with a place's menu and a bench row's menu, as the menus offer it.
    void pinPlayer(std::int32_t id, int place);
    void leaveOut(std::int32_t id);
    void takeBack(std::int32_t id);
    void unpin(std::int32_t id);

    QComboBox *cbFormation;
    QPushButton *btnClear;
    TLineupPitch *pitch;
    QTreeWidget *lstBench;
    QLabel *lblTotal;
    QLabel *lblMessage;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void refreshWhenShown();

    QWidget *benchSide;
    bool stale = false;
    // The formation the drop-down names; none for "best".
    std::optional<Formation> chosenFormation() const;
    void showPlaceMenu(int place, const QPoint &globalPos);
    void showBenchMenu(const QPoint &pos);
    void fillBench(const LineupRequest &request);
    QString playerName(std::int32_t id) const;

    Team *team = nullptr;
    std::int8_t stamina = -1;
    std::int8_t form = -1;
    LineupChoices choices_;
};
