#pragma once

#include "grid/core/canvas.h"
#include "live/live_pages.h"
#include "ui/frame_base.h"

#include <cstddef>
#include <memory>
#include <vector>

// A side colour of the match model as the grid takes it.
inline TColor gridColour(Colour c)
{
    return rgbColor(c.red, c.green, c.blue);
}

class QLabel;
class QPushButton;
class QSplitter;
class QTabWidget;
class QTextEdit;
class TframeLiveSummary;
class ZIVGrid;

// The page of one followed match: the score with both names, the running commentary, the
// events that name players, the text of the event clicked last and the counters of both sides.
// It shows the match's model, which the live manager's follower owns; the rules live there.
class TframeLiveMatch : public TframeBase
{
    Q_OBJECT

public:
    // The commentary box holds at most this many characters: the newest lines.
    static constexpr int matchTextLimit = 2000;

    explicit TframeLiveMatch(MatchPageModel &model, QWidget *parent = nullptr);

    MatchPageModel &model;
    LiveMatch &match;
    // Keeps the model of a match no longer followed for as long as the page lives.
    void adopt(std::unique_ptr<MatchPageModel> removed) { kept = std::move(removed); }

    // Shows the model: commentary, both lists, counters, header and tab. What is shown already
    // and still true stays; the rest is written.
    void refresh();
    // Writes everything anew.
    void refreshWhole();
    // The caption and tooltip of the match's tab; a restored match says that it waits.
    static QString tabCaption(const MatchPageModel &model);
    static QString tabToolTip(const MatchPageModel &model);
    // Writes the tab's caption and highlight; nothing while the page is on no tab.
    void showTab();

    QWidget *panHeader;
    QLabel *txtHome;
    QLabel *txtResult;
    QLabel *txtAway;
    // Under the score: the newest event's minute and the match's state ("67' live").
    QLabel *lblState;
    QPushButton *btnRemove;
    QTextEdit *txtMatchText;
    QSplitter *Splitter1;
    QLabel *lblEventList;
    TframeLiveSummary *frLiveSummary;
    ZIVGrid *lstEvent;
    QTextEdit *txtEventText;
    ZIVGrid *lstEvents;

    // Event handlers, public so that a window test can drive them as the toolkit would.
    void lstEventClick();
    void btnRemoveClick();
    void FrameEnter();
    void FrameResize();

signals:
    // The page's own Remove button: the live manager stops following the match.
    void removeRequested(int matchId);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildHeader();
    QWidget *buildRightPart();
    void showCommentary(const CommentaryBuffer &commentary, bool keepShown);
    void dropFirstLines(std::size_t count);
    // Both keep their first `kept` rows when they hold exactly those.
    void fillRawEvents(std::size_t kept);
    void fillEventList(const std::vector<const Event *> &listed, std::size_t kept);
    void showHeader();
    QTabWidget *tabs() const;

    // Where the commentary box stands: the first line it shows (and what was cut from it), the
    // lines and runs of the commentary it was written from.
    struct ShownText
    {
        std::size_t line = 0, cut = 0, lines = 0, runs = 0;
    };
    ShownText shownText;
    std::unique_ptr<MatchPageModel> kept;
};
