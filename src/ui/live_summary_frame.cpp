#include "ui/live_summary_frame.h"

#include "live/live_match.h"

#include <QGridLayout>
#include <QLabel>

namespace {

const char *const rowCaptions[] = {"Attempt",     "Missed",   "Goal",
                                   "Yellow card", "Red Card", "Injury"};
const char *const counterNames[] = {"Attempt", "Missed", "Goal", "YellowCard", "RedCard", "Injury"};

} // namespace

TframeLiveSummary::TframeLiveSummary(QWidget *parent) : TframeBase(parent)
{
    setObjectName("frLiveSummary");
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setHorizontalSpacing(4);
    layout->setVerticalSpacing(2);
    QLabel **home[] = {&txtHomeAttempt,    &txtHomeMissed,  &txtHomeGoal,
                       &txtHomeYellowCard, &txtHomeRedCard, &txtHomeInjury};
    QLabel **away[] = {&txtAwayAttempt,    &txtAwayMissed,  &txtAwayGoal,
                       &txtAwayYellowCard, &txtAwayRedCard, &txtAwayInjury};
    for (int row = 0; row < 6; ++row) {
        auto *caption = new QLabel(rowCaptions[row], this);
        layout->addWidget(caption, row, 0);
        *home[row] = counterBox(counterNames[row], true);
        *away[row] = counterBox(counterNames[row], false);
        layout->addWidget(*home[row], row, 1);
        layout->addWidget(*away[row], row, 2);
    }
    layout->setColumnStretch(3, 1);
}

QLabel *TframeLiveSummary::counterBox(const char *name, bool home)
{
    auto *box = new QLabel("0", this);
    box->setObjectName(QString(home ? "txtHome" : "txtAway") + name);
    box->setFixedSize(25, 17);
    box->setAlignment(Qt::AlignCenter);
    QFont font = box->font();
    font.setBold(true);
    box->setFont(font);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, home ? QColor(0, 0, 255) : QColor(128, 0, 0));
    palette.setColor(QPalette::WindowText, home ? QColor(128, 255, 255) : QColor(255, 255, 128));
    box->setPalette(palette);
    box->setAutoFillBackground(true);
    return box;
}

void TframeLiveSummary::setTeams(const LiveTeam *home, const LiveTeam *away)
{
    homeTeam = home;
    awayTeam = away;
}

void TframeLiveSummary::update()
{
    if (!homeTeam || !awayTeam)
        return;
    showSide(*homeTeam, {txtHomeAttempt, txtHomeMissed, txtHomeGoal, txtHomeYellowCard,
                         txtHomeRedCard, txtHomeInjury});
    showSide(*awayTeam, {txtAwayAttempt, txtAwayMissed, txtAwayGoal, txtAwayYellowCard,
                         txtAwayRedCard, txtAwayInjury});
}

void TframeLiveSummary::showSide(const LiveTeam &team, const std::array<QLabel *, 6> &boxes)
{
    const int counts[] = {team.Attempt,    team.Missed,  team.Goal,
                          team.YellowCard, team.RedCard, team.Injury};
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setText(QString::number(counts[i]));
}
