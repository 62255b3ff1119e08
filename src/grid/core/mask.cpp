#include "grid/core/mask.h"

#include "Engine/kstring.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace {

// Bytes that are not valid UTF-8 become code points no valid text has, so they still match
// only themselves and come back unchanged.
constexpr char32_t strayByteBase = 0xDC00;

char32_t upperCase(char32_t c)
{
    if (c < 0x80)
        return c >= 'a' && c <= 'z' ? c - 32 : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 32;
    if (c == 0xFF)
        return 0x178;
    if (c == 0x131) // dotless i
        return 'I';
    if (c == 0x17F) // long s
        return 'S';
    const bool lowerIsOdd = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
    const bool lowerIsEven = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if ((lowerIsOdd && c % 2 == 1) || (lowerIsEven && c % 2 == 0))
        return c - 1;
    if (c >= 0x430 && c <= 0x44F) // Cyrillic
        return c - 32;
    if (c >= 0x450 && c <= 0x45F)
        return c - 80;
    return c;
}

int sequenceLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// The code point at `pos` and the bytes it takes; a stray byte takes one.
std::pair<char32_t, std::size_t> decodeAt(std::string_view text, std::size_t pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80)
        return {lead, 1};
    const int length = sequenceLength(lead);
    if (length == 0 || pos + length > text.size())
        return {strayByteBase + lead, 1};
    char32_t c = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80)
            return {strayByteBase + lead, 1};
        c = (c << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return {strayByteBase + lead, 1};
    return {c, static_cast<std::size_t>(length)};
}

// A stray byte decodes to a code point of its own; it goes back as the byte it was.
void appendText(std::string &out, char32_t c)
{
    if (c >= strayByteBase + 0x80 && c <= strayByteBase + 0xFF)
        out += static_cast<char>(c - strayByteBase);
    else
        appendUtf8(out, c);
}

void upperCodePoints(std::string_view text, std::u32string &out)
{
    out.clear();
    for (std::size_t pos = 0; pos < text.size();) {
        const auto [c, length] = decodeAt(text, pos);
        out += upperCase(c);
        pos += length;
    }
}

[[noreturn]] void invalidMask(std::string_view pattern, std::size_t position)
{
    throw EMaskException("'" + std::string(pattern) + "' is an invalid mask at (" +
                         std::to_string(position + 1) + ")");
}

} // namespace

std::string upperCaseText(std::string_view text)
{
    std::u32string codePoints;
    upperCodePoints(text, codePoints);
    std::string out;
    out.reserve(text.size());
    for (char32_t c : codePoints)
        appendText(out, c);
    return out;
}

bool TMask::Element::inSet(char32_t c) const
{
    for (const Range &range : ranges)
        if (c >= range.first && c <= range.last)
            return !negated;
    return negated;
}

TMask::TMask(std::string_view pattern)
{
    std::u32string source;
    upperCodePoints(pattern, source);
    bool afterStar = false;
    for (std::size_t i = 0; i < source.size(); ++i) {
        const char32_t c = source[i];
        if (c == '*') {
            hasStar = afterStar = true;
            if (segments.empty())
                anchoredStart = false;
            continue;
        }
        if (segments.empty() || afterStar)
            segments.push_back({elements.size(), 0, {}});
        afterStar = false;
        if (c == '?') {
            elements.emplace_back(Element::anyOne);
        } else if (c == '[') {
            Element element(Element::set);
            i = parseSet(source, i, element, pattern);
            elements.push_back(std::move(element));
        } else {
            elements.emplace_back(Element::literal, c);
        }
        ++segments.back().count;
    }
    anchoredEnd = !afterStar;
    for (Segment &segment : segments) {
        const auto begin = elements.begin() + static_cast<std::ptrdiff_t>(segment.first);
        const auto end = begin + static_cast<std::ptrdiff_t>(segment.count);
        if (std::all_of(begin, end, [](const Element &e) { return e.kind == Element::literal; }))
            for (auto e = begin; e != end; ++e)
                segment.literal += e->character;
    }
    const bool starLiteralStar = segments.size() == 1 && !anchoredStart && !anchoredEnd;
    if (starLiteralStar && !segments[0].literal.empty() &&
        std::all_of(segments[0].literal.begin(), segments[0].literal.end(),
                    [](char32_t c) { return c < 0x80; }))
        containedAscii.assign(segments[0].literal.begin(), segments[0].literal.end());
}

// Reads the set opened at `open`; returns the index of its closing ']'.
std::size_t TMask::parseSet(const std::u32string &pattern, std::size_t open, Element &set,
                            std::string_view source)
{
    std::size_t i = open + 1;
    if (i < pattern.size() && pattern[i] == '!') {
        set.negated = true;
        ++i;
    }
    for (; i < pattern.size() && pattern[i] != ']'; ++i) {
        const char32_t first = pattern[i];
        if (i + 2 < pattern.size() && pattern[i + 1] == '-' && pattern[i + 2] != ']') {
            if (pattern[i + 2] < first)
                invalidMask(source, i);
            set.ranges.push_back({first, pattern[i + 2]});
            i += 2;
        } else {
            set.ranges.push_back({first, first});
        }
    }
    if (i >= pattern.size() || set.ranges.empty())
        invalidMask(source, open);
    return i;
}

namespace {

#if defined(__SSE2__) || defined(_M_X64)
// Up to 16 bytes, zero-padded, from overlapping reads of the text itself: copying them to a
// buffer first would stall the load that follows.
__m128i loadShort(std::string_view text)
{
    const char *p = text.data();
    const std::size_t n = text.size();
    std::uint64_t low = 0, high = 0;
    if (n >= 8) {
        std::memcpy(&low, p, 8);
        std::uint64_t tail;
        std::memcpy(&tail, p + n - 8, 8);
        high = n == 8 ? 0 : tail >> (8 * (16 - n));
    } else if (n >= 4) {
        std::uint32_t head, tail;
        std::memcpy(&head, p, 4);
        std::memcpy(&tail, p + n - 4, 4);
        low = head | (std::uint64_t(tail) << (8 * (n - 4)));
    } else if (n > 0) {
        const auto byte = [p](std::size_t i) { return std::uint64_t(std::uint8_t(p[i])); };
        low = byte(0) | byte(n / 2) << (8 * (n / 2)) | byte(n - 1) << (8 * (n - 1));
    }
    return _mm_set_epi64x(std::int64_t(high), std::int64_t(low));
}

// Short names come in every length, so a byte loop mispredicts its end once per name; in one
// 16-byte register the folding, the ASCII test and the search take no branch on the text.
// Returns -1 when the text needs the full reading (too long or not ASCII).
int containsShortAscii(std::string_view text, std::string_view literal)
{
    constexpr std::size_t width = 16;
    if (text.size() > width || literal.size() > width)
        return -1;
    __m128i v = loadShort(text);
    if (_mm_movemask_epi8(v) != 0)
        return -1;
    const __m128i small = _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('a' - 1)),
                                        _mm_cmplt_epi8(v, _mm_set1_epi8('z' + 1)));
    v = _mm_sub_epi8(v, _mm_and_si128(small, _mm_set1_epi8(0x20)));
    // Bit i of `hits` stays set while the literal can start at byte i.
    unsigned hits = 0xFFFF;
    for (std::size_t k = 0; k < literal.size(); ++k)
        hits &= unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(literal[k])))) >> k;
    if (text.size() < literal.size())
        return 0;
    const unsigned starts = (1u << (text.size() - literal.size() + 1)) - 1;
    return (hits & starts) != 0 ? 1 : 0;
}
#endif

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

bool TMask::matches(std::string_view text) const
{
#if defined(__SSE2__) || defined(_M_X64)
    if (!containedAscii.empty()) {
        const int shortResult = containsShortAscii(text, containedAscii);
        if (shortResult >= 0)
            return shortResult == 1;
    }
#endif
    // Most names are plain ASCII: match their bytes without decoding them first.
    if (isAscii(text))
        return matchesFrom(text.size(), [&](std::size_t i) -> char32_t {
            const char c = text[i];
            return c >= 'a' && c <= 'z' ? c - 32 : c;
        });
    thread_local std::u32string value;
    upperCodePoints(text, value);
    return matchesFrom(value.size(), [&](std::size_t i) { return value[i]; });
}

template <typename CharAt>
bool TMask::segmentMatchesAt(const Segment &segment, std::size_t at, CharAt charAt) const
{
    if (!segment.literal.empty()) {
        for (std::size_t i = 0; i < segment.count; ++i)
            if (charAt(at + i) != segment.literal[i])
                return false;
        return true;
    }
    for (std::size_t i = 0; i < segment.count; ++i)
        if (!elements[segment.first + i].matchesOne(charAt(at + i)))
            return false;
    return true;
}

// The leftmost place at or after `from` where the segment matches, or npos.
template <typename CharAt>
std::size_t TMask::findSegment(const Segment &segment, std::size_t from, std::size_t length,
                               CharAt charAt) const
{
    const std::size_t last = length - segment.count;
    if (segment.literal.empty()) {
        for (std::size_t at = from; at <= last; ++at)
            if (segmentMatchesAt(segment, at, charAt))
                return at;
        return std::string::npos;
    }
    const char32_t head = segment.literal.front();
    for (std::size_t at = from; at <= last; ++at) {
        if (charAt(at) != head)
            continue;
        std::size_t i = 1;
        while (i < segment.count && charAt(at + i) == segment.literal[i])
            ++i;
        if (i == segment.count)
            return at;
    }
    return std::string::npos;
}

// Segments have fixed lengths, so the leftmost place of each one after the previous is as
// good as any: the first is pinned to the start, the last to the end unless a star frees them.
template <typename CharAt> bool TMask::matchesFrom(std::size_t length, CharAt charAt) const
{
    if (segments.empty())
        return hasStar || length == 0;
    std::size_t t = 0;
    for (std::size_t s = 0; s < segments.size(); ++s) {
        const Segment &segment = segments[s];
        const bool pinStart = s == 0 && anchoredStart;
        const bool pinEnd = s + 1 == segments.size() && anchoredEnd;
        if (length < t + segment.count)
            return false;
        if (pinEnd)
            return (!pinStart || length == segment.count) &&
                   segmentMatchesAt(segment, length - segment.count, charAt);
        if (pinStart) {
            if (!segmentMatchesAt(segment, 0, charAt))
                return false;
            t = segment.count;
            continue;
        }
        const std::size_t at = findSegment(segment, t, length, charAt);
        if (at == std::string::npos)
            return false;
        t = at + segment.count;
    }
    return true;
}
