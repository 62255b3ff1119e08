#pragma once

#include "service/match_search.h"
#include "ui/select_base_dialog.h"

class QLabel;
class Troot;
class QPushButton;
class QTabWidget;
class QWidget;
class ZIVEdit;
class ZIVGrid;

// The match search: gathers a set of teams, lists their matches (all, the last finished one or
// the next one) or a match by its id, and hands the chosen match ids back with empty names.
class TfrmSelectMatches : public TfrmSelectBase
{
    Q_OBJECT

public:
    // Searches through `session`; "Select Teams" opens the dialog set by setTeamSearch.
    explicit TfrmSelectMatches(Troot &session, QWidget *parent = nullptr);
    void setTeamSearch(TfrmSelectBase *dialog) { teamSearch = dialog; }

    void reset() override;
    void refill() override;
    // Removes the teams selected in lstTeams from the set of teams.
    void deleteTeams();

    QTabWidget *PageControl1;
    QWidget *tsSearchByTeam;
    QLabel *Label1;
    ZIVGrid *lstTeams;
    QPushButton *btnSelectTeams;
    QPushButton *btnDeleteTeam;
    QLabel *Label3;
    QPushButton *btnRecent;
    QPushButton *btnLast;
    QPushButton *btnNext;
    QWidget *tsSearchById;
    ZIVEdit *txtMatchId;
    QPushButton *btnSearchById;
    QLabel *lblMatchIdHint;

    // Kept for the whole run; the found matches are emptied at each opening.
    TSelection teams;
    TSearchMatches foundMatches;

    // The next or running matches of every listed team, as "Next" finds them; what fails is
    // said in the dialog. Part of each opening once the user's team is known.
    void listNextMatches();

protected:
    QString selectFirstHint() const override { return "Select the matches to follow."; }

private:
    Troot &session;
    TfrmSelectBase *teamSearch = nullptr;
    // The user's team is put in the list once a run; removed, it stays removed.
    std::int32_t myTeamListed = 0;

    void buildTeamPage();
    void buildIdPage();
    void refillMatches();
    void btnSelectTeamsClick();
    void btnRecentClick(const QPushButton *pressed);
    void btnSearchByIdClick();
};

extern TfrmSelectMatches *frmSelectMatches;
