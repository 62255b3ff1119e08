#pragma once

#include "ui/frame_base.h"

#include <array>

struct LiveTeam;
class QLabel;

// The counters of both sides of one match: six labelled rows, home boxes left, away boxes right.
class TframeLiveSummary : public TframeBase
{
    Q_OBJECT

public:
    explicit TframeLiveSummary(QWidget *parent = nullptr);

    // The records the boxes show; the panel does not own them.
    void setTeams(const LiveTeam *home, const LiveTeam *away);
    // Writes every counter into its box; nothing while either record is missing.
    void update();

    QLabel *txtHomeAttempt, *txtHomeMissed, *txtHomeGoal, *txtHomeYellowCard, *txtHomeRedCard,
        *txtHomeInjury;
    QLabel *txtAwayAttempt, *txtAwayMissed, *txtAwayGoal, *txtAwayYellowCard, *txtAwayRedCard,
        *txtAwayInjury;

private:
    QLabel *counterBox(const char *name, bool home);
    static void showSide(const LiveTeam &team, const std::array<QLabel *, 6> &boxes);

    const LiveTeam *homeTeam = nullptr;
    const LiveTeam *awayTeam = nullptr;
};
