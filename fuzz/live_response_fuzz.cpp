// Live answers, one after another (pieces between NUL bytes), taken in as the Live page takes
// them: merged into the pages of their matches, each page refreshed (every event rendered,
// then counted), the summary rows formed and the commentary replayed into a box of limited
// size.
#include "fuzz_support.h"
#include "live/live_pages.h"

#include <map>
#include <memory>

namespace {

class Pages : public LivePageMap
{
public:
    std::map<int, std::unique_ptr<MatchPageModel>> owned;

protected:
    MatchPageModel &createPage(int matchId) override
    {
        fuzz::check(owned.count(matchId) == 0, "a page is made twice for one match");
        return *(owned[matchId] = std::make_unique<MatchPageModel>());
    }
    void showPage(MatchPageModel &) override {}
};

// Holds the sink's promises: runs are never empty, colours are the two sides'.
class CheckingSink : public StyledTextSink
{
public:
    std::size_t chars = 0;

    void appendPlain(std::string_view text) override
    {
        fuzz::check(!text.empty(), "an empty plain run");
        chars += utf16Length(text);
    }
    void appendPlayer(std::string_view name, Colour colour) override
    {
        fuzz::check(!name.empty(), "an empty player run");
        fuzz::check(colour == homeColour || colour == awayColour, "a player in no side's colour");
        chars += utf16Length(name);
    }
    void endLine() override { ++chars; }
};

void refreshAll(Pages &pages)
{
    for (const auto &entry : pages.entries()) {
        MatchPageModel *page = entry.second;
        CommentaryBuffer commentary;
        // A player link whose number is none raises; the page shows what was rendered.
        fuzz::readerAccepts([&] { page->refresh(commentary); });
        for (std::size_t limit :
             {std::size_t(0), std::size_t(1), std::size_t(40), commentary.length()}) {
            CheckingSink box;
            commentary.replay(box, limit);
            fuzz::check(box.chars <= limit, "the replay wrote more than the box holds");
        }
        (void)page->match.tabCaption();
        (void)goalAlertText(page->match);
    }
    const std::vector<SummaryRow> rows = pages.summaryRows();
    fuzz::check(rows.size() == pages.matchCount(), "not one summary row per match");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Pages pages;
    for (std::string_view answer : fuzz::pieces(fuzz::text(data, size))) {
        pugi::xml_document document;
        if (!fuzz::parse(document, answer))
            continue;
        const std::size_t before = pages.matchCount();
        fuzz::readerAccepts([&] { pages.takeIn(document.document_element()); });
        fuzz::check(pages.matchCount() >= before, "a response lost a followed match");
        fuzz::check(pages.matchCount() == pages.owned.size(), "pages and matches disagree");
        // The document goes now: what the pages hold must not point into it.
        document.reset();
        refreshAll(pages);
    }
    return 0;
}
