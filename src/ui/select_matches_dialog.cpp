#include "ui/select_matches_dialog.h"

#include "Engine/errors.h"
#include "Engine/history.h"
#include "grid/core/grid_refill.h"
#include "grid/widget/ziv_edit.h"
#include "grid/widget/ziv_grid.h"
#include "players/team.h"
#include "qt_text/qt_text.h"
#include "service/session.h"
#include "ui/disabled_while.h"
#include "ui/error_display.h"
#include "ui/hourglass.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <vector>

namespace {

constexpr TColor runningGreen = rgbColor(0, 110, 0);
constexpr TColor finishedGrey = rgbColor(110, 110, 110);

// 0 running, 1 coming, 2 finished, 3 a match listed by its id alone.
int listOrder(const TSearchMatch &match)
{
    if (match.status == "ONGOING")
        return 0;
    if (match.status == "UPCOMING")
        return 1;
    if (match.status == "FINISHED")
        return 2;
    return 3;
}

void boldRow(ZIVGridRow &row, TColor colour)
{
    TFont &font = ownFont(row);
    font.style |= fsBold;
    font.color = colour;
}

void greyRow(ZIVGridRow &row)
{
    ownFont(row).color = finishedGrey;
}

void paintAsMatchList(ZIVGrid &grid)
{
    grid.setCellColor(clCream);
    grid.setColor(clCream);
    grid.setSelectionColor(clMaroon);
}

} // namespace

TfrmSelectMatches::TfrmSelectMatches(Troot &session, QWidget *parent)
    : TfrmSelectBase(parent), PageControl1(new QTabWidget(panTopBase)), tsSearchByTeam(new QWidget),
      Label1(new QLabel("Teams", tsSearchByTeam)), lstTeams(new ZIVGrid(tsSearchByTeam)),
      btnSelectTeams(new QPushButton("Select Teams", tsSearchByTeam)),
      btnDeleteTeam(new QPushButton("Delete team", tsSearchByTeam)),
      Label3(new QLabel("Available matches", tsSearchByTeam)),
      btnRecent(new QPushButton("Recent", tsSearchByTeam)),
      btnLast(new QPushButton("Last", tsSearchByTeam)),
      btnNext(new QPushButton("Next", tsSearchByTeam)), tsSearchById(new QWidget),
      txtMatchId(new ZIVEdit(tsSearchById)), btnSearchById(new QPushButton("Search", tsSearchById)),
      lblMatchIdHint(new QLabel(tsSearchById)), session(session)
{
    setObjectName("frmSelectMatches");
    setWindowTitle("Select matches");
    lstList->SetHeaders({"id", "name;name;s", "date", "home", "away", "status", "group;group;s"});
    lstList->SetHeadersString("frmSelectMatches");
    // Running matches first, then the coming ones, then the finished; by date within each.
    lstList->SortByColumn(*lstList->getColumn("group", true));
    lstList->sorter().addSortColumn(*lstList->getColumn("date", true), true);
    paintAsMatchList(*lstList);

    PageControl1->setObjectName("PageControl1");
    PageControl1->addTab(tsSearchByTeam, "Search by team");
    PageControl1->addTab(tsSearchById, "Search by id");
    buildTeamPage();
    buildIdPage();
    auto *top = new QVBoxLayout(panTopBase);
    top->setContentsMargins(4, 4, 4, 0);
    top->addWidget(PageControl1);
    resize(660, 540);
}

void TfrmSelectMatches::buildTeamPage()
{
    tsSearchByTeam->setObjectName("tsSearchByTeam");
    Label1->setObjectName("Label1");
    lstTeams->setObjectName("lstTeams");
    lstTeams->SetHeaders({"id", "name", "mine;mine;s"});
    lstTeams->SetHeadersString("select matches");
    lstTeams->SetSorted(true);
    // The user's own team first, then by name.
    lstTeams->SortByColumn(*lstTeams->getColumn("mine", true));
    lstTeams->sorter().addSortColumn(*lstTeams->getColumn("name", true), true);
    paintAsMatchList(*lstTeams);
    lstTeams->Loaded();
    lstTeams->setMinimumHeight(120);
    btnSelectTeams->setObjectName("btnSelectTeams");
    btnDeleteTeam->setObjectName("btnDeleteTeam");
    Label3->setObjectName("Label3");
    btnRecent->setObjectName("btnRecent");
    btnLast->setObjectName("btnLast");
    btnNext->setObjectName("btnNext");
    connect(btnSelectTeams, &QPushButton::clicked, this, &TfrmSelectMatches::btnSelectTeamsClick);
    connectGuarded(btnDeleteTeam, &QPushButton::clicked, this, &TfrmSelectMatches::deleteTeams);
    for (const QPushButton *button : {btnRecent, btnLast, btnNext})
        connect(button, &QPushButton::clicked, this, [this, button] { btnRecentClick(button); });

    auto *teamButtons = new QVBoxLayout;
    teamButtons->addWidget(btnSelectTeams);
    teamButtons->addWidget(btnDeleteTeam);
    teamButtons->addStretch();
    auto *matchButtons = new QHBoxLayout;
    matchButtons->addWidget(Label3);
    matchButtons->addStretch();
    matchButtons->addWidget(btnRecent);
    matchButtons->addWidget(btnLast);
    matchButtons->addWidget(btnNext);

    auto *page = new QGridLayout(tsSearchByTeam);
    page->setContentsMargins(6, 6, 6, 6);
    page->addWidget(Label1, 0, 0);
    page->addWidget(lstTeams, 1, 0);
    page->addLayout(teamButtons, 1, 1);
    page->addLayout(matchButtons, 2, 0, 1, 2);
    page->setColumnStretch(0, 1);
}

void TfrmSelectMatches::buildIdPage()
{
    tsSearchById->setObjectName("tsSearchById");
    txtMatchId->setObjectName("txtMatchId");
    txtMatchId->setEditLabel("MatchId");
    txtMatchId->setIsNatural(true);
    btnSearchById->setObjectName("btnSearchById");
    searchOnEnter(txtMatchId, btnSearchById);
    connect(btnSearchById, &QPushButton::clicked, this, &TfrmSelectMatches::btnSearchByIdClick);

    lblMatchIdHint->setObjectName("lblMatchIdHint");
    lblMatchIdHint->setTextFormat(Qt::PlainText);

    auto *row = new QHBoxLayout;
    row->addWidget(txtMatchId, 1);
    row->addWidget(btnSearchById);
    auto *page = new QVBoxLayout(tsSearchById);
    page->setContentsMargins(6, 6, 6, 6);
    page->addLayout(row);
    page->addWidget(lblMatchIdHint);
    page->addStretch();
}

void TfrmSelectMatches::reset()
{
    foundMatches.clear();
    lblMatchIdHint->clear();
    Team *mine = session.currentTeam();
    if (mine && mine->id != myTeamListed) {
        myTeamListed = mine->id;
        teams.try_emplace(mine->id, mine->nameAt(startMoment()));
    }
    // Before the dialog shows, so it opens with them (or with why they are missing).
    listNextMatches();
}

void TfrmSelectMatches::refill()
{
    const std::int32_t mine = myTeamListed;
    const auto teamColumns = resolveColumns(*lstTeams, {"id", "name", "mine"});
    refillGrid(*lstTeams, teams, [&](ZIVGridRow &row, const auto &entry) {
        const auto &[id, name, own] = teamColumns;
        row.cell(*id).setLong(entry.first);
        row.cell(*name).setString(entry.second);
        row.cell(*own).setInt(entry.first == mine ? 0 : 1);
        if (entry.first == mine)
            boldRow(row, clWindowText);
    });
    refillMatches();
}

void TfrmSelectMatches::refillMatches()
{
    const auto columns =
        resolveColumns(*lstList, {"id", "name", "date", "home", "away", "status", "group"});
    refillGrid(*lstList, foundMatches, [&columns](ZIVGridRow &row, const auto &found) {
        const auto &[id, name, date, home, away, status, group] = columns;
        const auto &[matchId, match] = found;
        row.cell(*id).setLong(matchId);
        row.cell(*name).setString(kstring());
        row.cell(*date).setString(match.date);
        row.cell(*home).setString(match.home);
        row.cell(*away).setString(match.away);
        row.cell(*status).setString(match.status);
        const int order = listOrder(match);
        row.cell(*group).setInt(order);
        if (order == 0)
            boldRow(row, runningGreen);
        else if (order == 2)
            greyRow(row);
    });
}

// Once the user's team is known (from the downloaded data) the dialog starts with it, and with
// the coming matches of every listed team.
void TfrmSelectMatches::listNextMatches()
{
    if (teams.empty() || !session.currentTeam())
        return;
    const Hourglass wait;
    std::vector<std::int32_t> teamIds;
    for (const auto &[teamId, name] : teams)
        teamIds.push_back(teamId);
    try {
        searchMatches(session, teamIds, MatchPick::Next, foundMatches);
    } catch (const ECancel &) {
        showHint("Log in to list the teams' matches, or press Recent, Last or Next.");
    } catch (const std::exception &error) {
        showHint(QString("The matches could not be listed: ") + QString::fromUtf8(error.what()));
    }
    refill();
}

// The wait cursor is for the searches of the team dialog, which sets it itself; the user
// chooses in that dialog with the normal cursor.
void TfrmSelectMatches::btnSelectTeamsClick()
{
    guarded([this] {
        const DisabledWhile<QPushButton> busy(btnSelectTeams);
        if (!teamSearch)
            throw EInvalidPointer("The team search is not available.");
        TSelection chosen;
        if (teamSearch->select(chosen)) {
            for (const auto &[teamId, teamName] : chosen)
                teams.try_emplace(teamId, teamName);
        }
        refill();
    });
}

void TfrmSelectMatches::btnRecentClick(const QPushButton *pressed)
{
    guarded([&] {
        const Hourglass wait;
        const MatchPick pick = matchPickOf(toKstring(pressed->objectName()));
        std::vector<std::int32_t> teamIds;
        const ZIVGridColumn &id = *lstTeams->getColumn("id", true);
        for (const ZIVGridRow *row : lstTeams->GetSelectedRows())
            teamIds.push_back(row->cell(id).getLong());
        showHint(teams.empty()     ? QString("Add a team first.")
                 : teamIds.empty() ? QString("Select the teams whose matches to list.")
                                   : QString());
        try {
            searchMatches(session, teamIds, pick, foundMatches);
        } catch (...) {
            // Whatever ended the search (also a cancelled login), the matches found so far
            // are shown.
            refill();
            throw;
        }
        refill();
    });
}

// The field is emptied after each search, so the next id is typed on its own; what is no id
// is said beside it rather than in a box.
void TfrmSelectMatches::btnSearchByIdClick()
{
    guarded([this] {
        int matchId = 0;
        try {
            matchId = txtMatchId->GetValue();
        } catch (const EConvertError &) {
            lblMatchIdHint->setText("Type a match id (digits only).");
            return;
        }
        lblMatchIdHint->clear();
        txtMatchId->edit()->clear();
        addMatchById(matchId, foundMatches);
        refill();
    });
}

void TfrmSelectMatches::deleteTeams()
{
    const ZIVGridColumn &id = *lstTeams->getColumn("id", true);
    for (const ZIVGridRow *row : lstTeams->GetSelectedRows())
        teams.erase(row->cell(id).getLong());
    refill();
}
