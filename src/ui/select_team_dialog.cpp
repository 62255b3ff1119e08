#include "ui/select_team_dialog.h"

#include "Engine/errors.h"
#include "grid/widget/ziv_edit.h"
#include "grid/widget/ziv_grid.h"
#include "qt_text/qt_text.h"
#include "service/session.h"
#include "ui/error_display.h"
#include "ui/hourglass.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

TfrmSelectTeam::TfrmSelectTeam(Troot &session, QWidget *parent)
    : TfrmSelectBase(parent), txtTeamId(new ZIVEdit(panTopBase)),
      btnSearchById(new QPushButton("Search", panTopBase)),
      txtUserOrTeamName(new ZIVEdit(panTopBase)),
      btnSearchTeam(new QPushButton("Search", panTopBase)), session(session)
{
    setObjectName("frmSelectTeam");
    setWindowTitle("Select teams");
    lstList->SortByColumn(*lstList->getColumn("name", true));
    lstList->setCellColor(clGray);
    lstList->setColor(clGray);
    TFont font = lstList->Font();
    font.color = clBlack;
    lstList->ZIVGridCore::setFont(font);
    lstList->setSelectionColor(clMaroon);
    buildSearchArea();
    for (const QPushButton *button : {btnSearchById, btnSearchTeam})
        connect(button, &QPushButton::clicked, this,
                [this, button] { btnSearchTeamClick(button); });
}

void TfrmSelectTeam::buildSearchArea()
{
    txtTeamId->setObjectName("txtTeamId");
    txtTeamId->setEditLabel("Team Id");
    txtTeamId->setIsNatural(true);
    btnSearchById->setObjectName("btnSearchById");
    txtUserOrTeamName->setObjectName("txtUserOrTeamName");
    txtUserOrTeamName->setEditLabel("Team name");
    btnSearchTeam->setObjectName("btnSearchTeam");
    // Both boxes start at the same offset: the wider caption sets it.
    const int captionWidth = std::max(txtTeamId->label()->sizeHint().width(),
                                      txtUserOrTeamName->label()->sizeHint().width());
    for (ZIVEdit *edit : {txtTeamId, txtUserOrTeamName})
        edit->label()->setFixedWidth(captionWidth);
    searchOnEnter(txtTeamId, btnSearchById);
    searchOnEnter(txtUserOrTeamName, btnSearchTeam);
    auto *grid = new QGridLayout(panTopBase);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setVerticalSpacing(4);
    grid->addWidget(txtTeamId, 0, 0);
    grid->addWidget(btnSearchById, 0, 1);
    grid->addWidget(txtUserOrTeamName, 1, 0);
    grid->addWidget(btnSearchTeam, 1, 1);
    grid->setColumnStretch(0, 1);
}

void TfrmSelectTeam::reset()
{
    foundTeams.clear();
}

void TfrmSelectTeam::refill()
{
    fillIdNameList(*lstList, foundTeams);
}

void TfrmSelectTeam::btnSearchTeamClick(const QPushButton *pressed)
{
    guarded([&] {
        const Hourglass wait;
        try {
            search(pressed);
        } catch (const ECancel &) {
            // The user cancelled the login: the search just ends.
        } catch (...) {
            // What was found before the failure is still shown.
            refill();
            throw;
        }
        refill();
    });
}

void TfrmSelectTeam::search(const QPushButton *pressed)
{
    TeamCriterion criterion;
    criterion.byId = pressed->objectName() == "btnSearchById";
    if (criterion.byId)
        criterion.teamId = txtTeamId->GetValue();
    else
        criterion.name = toKstring(txtUserOrTeamName->text());
    // Into a list of its own, so a search that finds nothing can say so; whatever it read
    // joins the found teams even when it ends in an error.
    TFoundTeams results;
    const auto join = [&] {
        for (const auto &[teamId, name] : results)
            foundTeams[teamId] = name;
    };
    try {
        searchTeams(session, criterion, results);
    } catch (...) {
        join();
        throw;
    }
    join();
    const QString asked =
        criterion.byId ? QString::number(criterion.teamId) : txtUserOrTeamName->text();
    showHint(results.empty() ? "No team found for '" + asked + "'." : QString());
}
