#pragma once

#include "players/keeper.h"
#include "players/player_list_view.h"
#include "players/team.h"
#include "ui/frame_base.h"

#include <array>
#include <cstdint>
#include <optional>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QSlider;
class QToolButton;
class QWidget;
class ZIVGridColumn;
class ZIVGridCore;
class ZIVGridRow;

// Every column a row of the player list writes, looked up once per refill; a missing one
// raises the grid's error.
struct PlayerListColumns
{
    explicit PlayerListColumns(const ZIVGridCore &grid);

    ZIVGridColumn &id, &marked, &name, &age, &value, &wage, &bid, &bidder, &deadline, &injury,
        &stars, &gentleness, &aggressivity, &honesty, &experience, &leadership, &speciality,
        &keeper;
    // Form, stamina and the seven other skills, in the order a row writes them.
    std::array<ZIVGridColumn *, 9> levels{};
    // One per pair of `ratedPositions()`, in that order.
    std::array<ZIVGridColumn *, 18> ratings{};
};

// Writes one player's row with every look: his record, and the ratings and keeper estimate
// worked out for him.
void writePlayerRow(ZIVGridRow &row, const PlayerListColumns &columns, const Player &player,
                    const PlayerListRatings &ratings);

// The players of one team with their skills, traits, the keeper estimate and a rating for
// every position and behaviour; the track bars rate everyone at another stamina or form, the
// view narrows the columns to one position.
class TframeListPlayers : public TframeList
{
    Q_OBJECT

public:
    // The keeper table is read at every refresh and must outlive the frame.
    explicit TframeListPlayers(const Keeper &keeper, QWidget *parent = nullptr);

    // Keeps the team (not owned) and lists its players at the next refresh.
    void setTeam(Team *shown);
    Team *team() const { return shownTeam; }
    // Rebuilds every row from the team's players.
    void refresh();
    // The player of the focused row; null without a focused row or when his id is not in
    // the team.
    Player *focusedPlayer() const;

    // Either track bar moved: its hint, then the list at the new level.
    void trkStaminaChange(QSlider *sender);
    // Shows the columns that matter for the chosen position, then fits the widths.
    void cbViewChange();

    // Pops up what the colours of the list mean, below the "?" button.
    void btnLegendClick();
    // Takes every filter off the list.
    void btnClearFiltersClick();
    // Says how many players the filters let through, or hides the line when none is on.
    void showFilterState();

    // Column widths fitted to a squad stay within this, so one long name cannot push the
    // ratings out of view.
    static constexpr int maxFittedWidth = 200;

    QWidget *panSettings;
    QLabel *Label1, *Label2, *Label3;
    QSlider *trkStamina, *trkForm;
    QComboBox *cbView;
    QToolButton *btnLegend;
    QFrame *panLegend;
    QWidget *panFilterState;
    QLabel *lblShownPlayers;
    QPushButton *btnClearFilters;

private:
    void buildSettings();
    void buildLegend();
    void buildFilterState();
    void colourColumns();
    void fitWidthsToSquad();
    void freezeUpToName();

    const Keeper &keeperTable;
    Team *shownTeam = nullptr;
    TPlayers *players = nullptr;
    // The team whose names the widths were fitted to; a refresh fits them to another's.
    std::optional<std::int32_t> widthsFittedFor;
};
