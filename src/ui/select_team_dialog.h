#pragma once

#include "service/team_search.h"
#include "ui/select_base_dialog.h"

class QPushButton;
class Troot;
class ZIVEdit;

// The team search: asks the service for teams by id or by name and offers them for selection.
class TfrmSelectTeam : public TfrmSelectBase
{
    Q_OBJECT

public:
    // Searches through `session`.
    explicit TfrmSelectTeam(Troot &session, QWidget *parent = nullptr);

    void reset() override;
    void refill() override;

    ZIVEdit *txtTeamId;
    QPushButton *btnSearchById;
    ZIVEdit *txtUserOrTeamName;
    QPushButton *btnSearchTeam;

    // The teams found since the dialog was opened; several searches add up.
    TFoundTeams foundTeams;

protected:
    QString selectFirstHint() const override { return "Select the teams to add."; }

private:
    Troot &session;

    void buildSearchArea();
    void btnSearchTeamClick(const QPushButton *pressed);
    void search(const QPushButton *pressed);
};

extern TfrmSelectTeam *frmSelectTeam;
