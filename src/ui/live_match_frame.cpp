#include "ui/live_match_frame.h"

#include "Engine/errors.h"
#include "grid/core/grid_refill.h"
#include "grid/widget/ziv_grid.h"
#include "qt_text/qt_text.h"
#include "ui/error_display.h"
#include "ui/live_summary_frame.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

// Writes runs at the end of a rich-text box as plain text with character formats, so a name
// from the service is never read as markup.
class TextEditSink : public StyledTextSink
{
public:
    explicit TextEditSink(QTextEdit *edit) : cursor(edit->document())
    {
        cursor.movePosition(QTextCursor::End);
    }
    void appendPlain(std::string_view text) override { cursor.insertText(toQString(text)); }
    void appendPlayer(std::string_view name, Colour colour) override
    {
        const QTextCharFormat saved = cursor.charFormat();
        QTextCharFormat player = saved;
        player.setFontWeight(QFont::Bold);
        player.setForeground(QColor(colour.red, colour.green, colour.blue));
        cursor.insertText(toQString(name), player);
        cursor.setCharFormat(saved);
    }
    void endLine() override
    {
        cursor.movePosition(QTextCursor::End);
        cursor.insertText("\n");
    }

private:
    QTextCursor cursor;
};

QLabel *headerText(QWidget *parent, const char *name, const QColor &colour)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setBold(true);
    font.setPixelSize(24);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

ZIVGrid *eventGrid(QWidget *parent, const char *name, const std::vector<std::string> &headers,
                   const char *headersString)
{
    auto *grid = new ZIVGrid(parent);
    grid->setObjectName(name);
    // A match has a few hundred events: small row blocks keep twenty pages light.
    grid->setExtent(512);
    grid->SetHeaders(headers);
    grid->SetHeadersString(headersString);
    grid->SetSorted(true);
    grid->Loaded();
    return grid;
}

// The marker of a tab whose match brought events the user has not looked at yet.
const QIcon &highlightIcon()
{
    static const QIcon icon = [] {
        QPixmap pixmap(12, 12);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(230, 110, 0));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(1, 1, 10, 10);
        return QIcon(pixmap);
    }();
    return icon;
}

// The score keeps the top of the header; the state line fills the rest under it.
constexpr int stateTextPixels = 11;
constexpr int scoreHeight = 29;

} // namespace

TframeLiveMatch::TframeLiveMatch(MatchPageModel &model, QWidget *parent)
    : TframeBase(parent), model(model), match(model.match)
{
    setObjectName("frameLiveMatch");
    buildHeader();

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName("Splitter1");
    txtMatchText = new QTextEdit(Splitter1);
    txtMatchText->setObjectName("txtMatchText");
    txtMatchText->setReadOnly(true);
    // Lines are dropped from the top at every poll; an undo history would keep them all.
    txtMatchText->setUndoRedoEnabled(false);
    txtMatchText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtMatchText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Splitter1->addWidget(txtMatchText);
    Splitter1->addWidget(buildRightPart());
    Splitter1->setStretchFactor(0, 3);
    Splitter1->setStretchFactor(1, 2);

    lstEvents = eventGrid(this, "lstEvents",
                          {"id;id;s", "Index", "Minute", "SubjectPlayerID", "SubjectTeamID",
                           "ObjectPlayerID", "EventKey", "EventText"},
                          "frameLiveMatch");
    lstEvents->setFixedHeight(0);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(panHeader);
    layout->addWidget(Splitter1, 1);
    layout->addWidget(lstEvents);

    frLiveSummary->setTeams(&match.Home, &match.Away);

    connectGuarded(Splitter1, &QSplitter::splitterMoved, this, &TframeLiveMatch::refreshWhole);
    connectGuarded(lstEvent, &ZIVGrid::OnClick, this, &TframeLiveMatch::lstEventClick);
    connectGuarded(btnRemove, &QPushButton::clicked, this, &TframeLiveMatch::btnRemoveClick);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && isAncestorOf(now))
            FrameEnter();
    });
}

void TframeLiveMatch::buildHeader()
{
    panHeader = new QWidget(this);
    panHeader->setObjectName("panHeader");
    panHeader->setFixedHeight(41);
    txtHome = headerText(panHeader, "txtHome", QColor(0, 0, 255));
    txtResult = headerText(panHeader, "txtResult", palette().color(QPalette::WindowText));
    txtResult->setFixedWidth(86);
    txtAway = headerText(panHeader, "txtAway", QColor(255, 0, 0));
    lblState = new QLabel(panHeader);
    lblState->setObjectName("lblState");
    lblState->setTextFormat(Qt::PlainText);
    lblState->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont small = lblState->font();
    small.setPixelSize(stateTextPixels);
    lblState->setFont(small);
    btnRemove = new QPushButton("Remove", panHeader);
    btnRemove->setObjectName("btnRemove");
    btnRemove->setVisible(false);
}

QWidget *TframeLiveMatch::buildRightPart()
{
    auto *right = new QWidget(Splitter1);
    right->setObjectName("panRight");
    lblEventList = new QLabel("Events", right);
    lblEventList->setObjectName("lblEventList");
    frLiveSummary = new TframeLiveSummary(right);
    lstEvent = eventGrid(right, "lstEvent",
                         {"id;id;s", "Minute", "Event", "Player", "Opponent player"}, "lstEvents");
    lstEvent->setCellColor(clCream);
    lstEvent->setColor(clCream);
    txtEventText = new QTextEdit(right);
    txtEventText->setObjectName("txtEventText");
    txtEventText->setReadOnly(true);
    txtEventText->setFixedHeight(56);

    auto *layout = new QVBoxLayout(right);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(lblEventList);
    layout->addWidget(frLiveSummary);
    layout->addWidget(lstEvent, 1);
    layout->addWidget(txtEventText);
    return right;
}

void TframeLiveMatch::refresh()
{
    // Everything is rendered first (the lists read the names it works out); the box then shows
    // the newest lines, also those written before an error. Events shown before and untouched
    // since stay on screen; only the rest is written.
    CommentaryBuffer commentary;
    MatchPageModel::Refresh shown;
    try {
        shown = model.refresh(commentary);
    } catch (...) {
        model.showAnew();
        showCommentary(commentary, false);
        throw;
    }
    try {
        showCommentary(commentary, shown.keptEvents > 0);
        fillRawEvents(shown.keptEvents);
        fillEventList(shown.listed, shown.keptListed);
    } catch (...) {
        model.showAnew();
        throw;
    }
    showHeader();
    frLiveSummary->update();
}

void TframeLiveMatch::refreshWhole()
{
    model.showAnew();
    refresh();
}

void TframeLiveMatch::showCommentary(const CommentaryBuffer &commentary, bool keepShown)
{
    const CommentaryBuffer::Tail tail = commentary.tail(matchTextLimit);
    // Appending is exact only between whole lines: a cut line is written anew.
    const bool append = keepShown && tail.cut == 0 && shownText.cut == 0 &&
                        tail.line >= shownText.line && shownText.runs <= commentary.runCount();
    txtMatchText->setUpdatesEnabled(false);
    if (append)
        // Lines that no longer fit leave at the top, the new ones join at the bottom.
        dropFirstLines(std::min(tail.line, shownText.lines) - shownText.line);
    else
        txtMatchText->clear();
    TextEditSink sink(txtMatchText);
    if (append)
        commentary.replayRuns(sink, std::max(shownText.runs, commentary.firstRunOf(tail.line)));
    else
        commentary.replay(sink, matchTextLimit);
    shownText = {tail.line, tail.cut, commentary.lineCount(), commentary.runCount()};
    txtMatchText->setUpdatesEnabled(true);
    // A user follows a match for its latest events.
    txtMatchText->moveCursor(QTextCursor::End);
    txtMatchText->verticalScrollBar()->setValue(txtMatchText->verticalScrollBar()->maximum());
}

void TframeLiveMatch::dropFirstLines(std::size_t count)
{
    if (count == 0)
        return;
    // One block per line.
    QTextCursor cursor(txtMatchText->document());
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, int(count));
    cursor.removeSelectedText();
}

void TframeLiveMatch::fillRawEvents(std::size_t kept)
{
    const auto columns =
        resolveColumns(*lstEvents, {"id", "Index", "Minute", "SubjectPlayerID", "SubjectTeamID",
                                    "ObjectPlayerID", "EventKey", "EventText"});
    refillGrid(
        *lstEvents, match.Events,
        [&columns](ZIVGridRow &row, const auto &entry) {
            const auto &[id, index, minute, subject, team, object, key, text] = columns;
            const Event &event = entry.second;
            row.cell(*id).setLong(event.Index);
            row.cell(*index).setLong(event.Index);
            row.cell(*minute).setInt(event.Minute);
            row.cell(*subject).setInt(event.SubjectPlayerID);
            row.cell(*team).setInt(event.SubjectTeamID);
            row.cell(*object).setInt(event.ObjectPlayerID);
            row.cell(*key).setString(event.EventKey);
            row.cell(*text).setString(event.EventText);
        },
        kept);
}

void TframeLiveMatch::fillEventList(const std::vector<const Event *> &listed, std::size_t kept)
{
    const auto columns =
        resolveColumns(*lstEvent, {"id", "Minute", "Event", "Player", "Opponent player"});
    refillGrid(
        *lstEvent, listed,
        [&columns](ZIVGridRow &row, const Event *event) {
            const auto &[id, minute, caption, player, opponent] = columns;
            row.cell(*id).setLong(event->Index);
            row.cell(*minute).setInt(event->Minute);
            row.cell(*caption).setString(event->caption());
            const std::pair<ZIVGridColumn *, std::pair<const kstring *, bool>> names[] = {
                {player, {&event->SubjectPlayerName, event->SubjectIsHome}},
                {opponent, {&event->ObjectPlayerName, event->ObjectIsHome}}};
            for (const auto &[column, name] : names) {
                ZIVGridCell &cell = row.cell(*column);
                cell.setString(*name.first);
                cell.setFontSource(srcOwn);
                cell.font().color = gridColour(sideColour(name.second));
            }
            row.setBrushSource(srcOwn);
            row.brush().color = gridColour(sideTint(event->SubjectIsHome));
        },
        kept);
}

void TframeLiveMatch::showHeader()
{
    txtHome->setText(toQString(match.Home.TeamName));
    txtAway->setText(toQString(match.Away.TeamName));
    txtResult->setText(toQString(match.resultText()));
    lblState->setText(toQString(matchStateText(match)));
    showTab();
}

QTabWidget *TframeLiveMatch::tabs() const
{
    for (QWidget *up = parentWidget(); up; up = up->parentWidget())
        if (auto *tabWidget = qobject_cast<QTabWidget *>(up))
            return tabWidget;
    return nullptr;
}

QString TframeLiveMatch::tabCaption(const MatchPageModel &model)
{
    const QString caption = toQString(model.match.tabCaption()).replace('&', "&&");
    return model.waiting ? caption + " (waiting)" : caption;
}

QString TframeLiveMatch::tabToolTip(const MatchPageModel &model)
{
    if (model.waiting)
        return "The score of the last run; waiting for the service to send this match again.";
    const QString state = toQString(matchStateText(model.match));
    return toQString(goalAlertText(model.match)) + (state.isEmpty() ? QString() : ", " + state);
}

void TframeLiveMatch::showTab()
{
    QTabWidget *tabWidget = tabs();
    const int index = tabWidget ? tabWidget->indexOf(this) : -1;
    if (index < 0)
        return;
    // Nothing is new on the page the user has open.
    if (tabWidget->currentWidget() == this && isVisible())
        model.entered();
    tabWidget->setTabText(index, tabCaption(model));
    tabWidget->setTabToolTip(index, tabToolTip(model));
    // Colour and marker together: seen at a glance on any style, and the caption stays as it is.
    tabWidget->tabBar()->setTabTextColor(index, model.highlighted ? QColor(200, 80, 0) : QColor());
    tabWidget->setTabIcon(index, model.highlighted ? highlightIcon() : QIcon());
}

void TframeLiveMatch::lstEventClick()
{
    ZIVGridRow *row = lstEvent->GetFocusedRow();
    if (!row)
        return;
    Event &event = match.Events[row->cell(*lstEvent->getColumn("id", true)).getLong()];
    txtEventText->clear();
    TextEditSink sink(txtEventText);
    match.renderEvent(event, sink);
}

void TframeLiveMatch::btnRemoveClick()
{
    emit removeRequested(match.MatchID);
}

void TframeLiveMatch::FrameEnter()
{
    if (!model.highlighted)
        return;
    model.entered();
    showTab();
}

void TframeLiveMatch::resizeEvent(QResizeEvent *event)
{
    TframeBase::resizeEvent(event);
    FrameResize();
}

void TframeLiveMatch::FrameResize()
{
    const int w = (panHeader->width() - txtResult->width() - 21) / 2;
    const int height = panHeader->height();
    txtHome->setGeometry(7, 0, w, height);
    txtResult->setGeometry(txtHome->x() + w + 7, 0, txtResult->width(), scoreHeight);
    lblState->setGeometry(txtResult->x(), scoreHeight - 1, txtResult->width(),
                          height - scoreHeight + 1);
    txtAway->setGeometry(txtResult->x() + txtResult->width() + 7, 0, w, height);
    btnRemove->move(panHeader->width() - btnRemove->width() - 4, 8);
}
