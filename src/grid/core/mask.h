#pragma once

#include "Engine/errors.h"

#include <string>
#include <string_view>
#include <vector>

// A pattern that is not a valid mask (a '[' without ']', an empty set).
class EMaskException : public Exception
{
public:
    using Exception::Exception;
};

// Upper case of a UTF-8 text for case-insensitive matching: ASCII letters and the accented
// Latin letters (Latin-1 and Latin Extended-A: ö/Ö, í/Í, ñ/Ñ, ł/Ł ...). Bytes that are not valid
// UTF-8 are kept as they are.
std::string upperCaseText(std::string_view text);

// File-name mask: '*' any run, '?' one character, [set] and [!set] with ranges such as a-z,
// anything else itself. Matching works on characters (UTF-8 code points) and ignores case.
class TMask
{
public:
    // Raises EMaskException for a malformed pattern.
    explicit TMask(std::string_view pattern = "*");

    bool matches(std::string_view text) const;

private:
    struct Range
    {
        char32_t first, last;
    };
    struct Element
    {
        enum Kind { literal, anyOne, set };

        explicit Element(Kind kind, char32_t character = 0) : kind(kind), character(character) {}

        Kind kind;
        char32_t character;
        bool negated = false;
        std::vector<Range> ranges;

        bool matchesOne(char32_t c) const
        {
            return kind == literal ? c == character : kind == anyOne || inSet(c);
        }
        bool inSet(char32_t c) const;
    };

    // A run of one-character elements between stars.
    struct Segment
    {
        std::size_t first, count;
        std::u32string literal; // the characters, when every element is a literal
    };

    static std::size_t parseSet(const std::u32string &pattern, std::size_t open, Element &set,
                                std::string_view source);
    template <typename CharAt>
    bool segmentMatchesAt(const Segment &segment, std::size_t at, CharAt charAt) const;
    template <typename CharAt>
    std::size_t findSegment(const Segment &segment, std::size_t from, std::size_t length,
                            CharAt charAt) const;
    template <typename CharAt> bool matchesFrom(std::size_t length, CharAt charAt) const;

    std::vector<Element> elements; // no stars: they separate the segments
    std::vector<Segment> segments;
    bool anchoredStart = true; // no star before the first segment
    bool anchoredEnd = true;   // no star after the last segment
    bool hasStar = false;
    // Set for the common "*text*" with ASCII text only: short texts are searched at once.
    std::string containedAscii;
};
