#pragma once

#include "ui/frame_base.h"

class Team;
class ZIVGrid;

// The list of the current team's players.
class TframeListPlayers : public TframeBase
{
    Q_OBJECT

public:
    explicit TframeListPlayers(QWidget *parent = nullptr);

    void setTeam(Team *team) { shownTeam = team; }
    Team *team() const { return shownTeam; }

    ZIVGrid *lstList;

private:
    Team *shownTeam = nullptr;
};
