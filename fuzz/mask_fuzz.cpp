// A filter text and a value (split at the first NUL byte), matched as a column filter matches
// them and by a plain reference matcher written here: '*' any run, '?' one character, [set]
// and [!set] with ranges, anything else itself; both sides upper-cased; the filter's leading
// '!' turns the result round and a '*' is appended to its pattern.
#include "fuzz_support.h"
#include "grid/core/grid_core.h"
#include "grid/core/mask.h"

#include <optional>
#include <string>

namespace {

// Code points; a byte that starts no valid UTF-8 sequence stands for itself, apart from them.
std::u32string decode(std::string_view text)
{
    constexpr char32_t stray = 0x110000;
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80   ? 1
                           : lead < 0xC2 ? 0
                           : lead < 0xE0 ? 2
                           : lead < 0xF0 ? 3
                           : lead < 0xF5 ? 4
                                         : 0;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = length > 0 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && c >= least[length] && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
        out += valid ? c : stray + lead;
        i += valid ? length : 1;
    }
    return out;
}

struct Element
{
    enum Kind { star, any, literal, set };
    explicit Element(Kind kind, char32_t c = 0) : kind(kind), c(c) {}

    Kind kind;
    char32_t c;
    bool negated = false;
    std::vector<std::pair<char32_t, char32_t>> ranges;

    bool matches(char32_t x) const
    {
        if (kind == any)
            return true;
        if (kind == literal)
            return x == c;
        bool in = false;
        for (const auto &[first, last] : ranges)
            in = in || (x >= first && x <= last);
        return in != negated;
    }
};

// Nothing for a malformed pattern: a set without ']', an empty set, a range running backwards.
std::optional<std::vector<Element>> compile(const std::u32string &p)
{
    std::vector<Element> out;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] == '*' || p[i] == '?') {
            out.emplace_back(p[i] == '*' ? Element::star : Element::any);
            continue;
        }
        if (p[i] != '[') {
            out.emplace_back(Element::literal, p[i]);
            continue;
        }
        Element e(Element::set);
        std::size_t j = i + 1;
        if (j < p.size() && p[j] == '!') {
            e.negated = true;
            ++j;
        }
        for (; j < p.size() && p[j] != ']'; ++j) {
            if (j + 2 < p.size() && p[j + 1] == '-' && p[j + 2] != ']') {
                if (p[j + 2] < p[j])
                    return std::nullopt;
                e.ranges.emplace_back(p[j], p[j + 2]);
                j += 2;
            } else {
                e.ranges.emplace_back(p[j], p[j]);
            }
        }
        if (j >= p.size() || e.ranges.empty())
            return std::nullopt;
        out.push_back(std::move(e));
        i = j;
    }
    return out;
}

// Every element but the star takes one character, so going back to the last star is enough.
bool globMatches(const std::vector<Element> &pattern, const std::u32string &text)
{
    std::size_t p = 0, t = 0, starP = std::string::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p].kind == Element::star) {
            starP = p++;
            starT = t;
        } else if (p < pattern.size() && pattern[p].matches(text[t])) {
            ++p;
            ++t;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p].kind == Element::star)
        ++p;
    return p == pattern.size();
}

std::optional<bool> referenceMatch(std::string_view pattern, std::string_view value)
{
    const auto compiled = compile(decode(upperCaseText(pattern)));
    if (!compiled)
        return std::nullopt;
    return globMatches(*compiled, decode(upperCaseText(value)));
}

void checkMask(std::string_view pattern, std::string_view value)
{
    const std::optional<bool> expected = referenceMatch(pattern, value);
    std::optional<bool> got;
    try {
        got = TMask(pattern).matches(value);
    } catch (const EMaskException &) {
    }
    fuzz::check(got.has_value() == expected.has_value(),
                "the mask and the reference disagree on validity");
    fuzz::check(!got || *got == *expected, "the mask and the reference disagree on a match");
}

void checkFilter(const std::string &filter, const std::string &value)
{
    ZIVGridCore grid;
    grid.setExtent(1);
    grid.SetHeaders({"v"});
    grid.addRow().setString("v", value);
    ZIVGridColumn &column = *grid.getColumn("v", true);
    const bool exclusive = !filter.empty() && filter.front() == '!';
    const std::optional<bool> matched =
        referenceMatch((exclusive ? filter.substr(1) : filter) + "*", value);
    bool accepted = true;
    try {
        column.setFilter(filter);
    } catch (const EMaskException &) {
        accepted = false;
    }
    fuzz::check(accepted == matched.has_value(),
                "the filter and the reference disagree on validity");
    if (!accepted)
        return;
    const bool rejected = *matched == exclusive;
    const ZIVGridRow &row = grid.rows().empty() ? *grid.hiddenRows().front() : *grid.rows().front();
    fuzz::check(column.rejects(row) == rejected, "the filter and the reference disagree on a row");
    fuzz::check(grid.rows().size() == (rejected && column.isFiltered() ? 0u : 1u),
                "the filter kept or hid the wrong row");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Longer inputs find nothing new and let the reference's back-tracking dominate.
    if (size > 1024)
        return 0;
    const std::string_view input = fuzz::text(data, size);
    const std::size_t split = input.find('\0');
    const std::string_view pattern = input.substr(0, split);
    const std::string_view value = split == std::string_view::npos ? "" : input.substr(split + 1);
    fuzz::check(upperCaseText(upperCaseText(value)) == upperCaseText(value),
                "upper case is not stable");
    checkMask(pattern, value);
    checkFilter(std::string(pattern), std::string(value));
    return 0;
}
