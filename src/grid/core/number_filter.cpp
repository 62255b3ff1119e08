#include "grid/core/number_filter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

std::string_view trimmed(std::string_view text)
{
    const auto space = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    return text;
}

// A whole decimal number, optionally signed, with a point or a comma before its fraction.
std::optional<double> number(std::string_view text)
{
    std::string plain(trimmed(text));
    std::replace(plain.begin(), plain.end(), ',', '.');
    if (!plain.empty() && plain.front() == '+')
        plain.erase(0, 1);
    // A digit first (after any minus), then digits and one point: no exponent, no "inf".
    const std::size_t first = !plain.empty() && plain.front() == '-' ? 1 : 0;
    if (first >= plain.size() || plain[first] < '0' || plain[first] > '9' ||
        plain.find_first_not_of(".0123456789", first) != std::string::npos)
        return std::nullopt;
    double value = 0;
    const char *end = plain.data() + plain.size();
    const auto [ptr, ec] = std::from_chars(plain.data(), end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

// Shown values have 15 significant digits; a value that shows as the bound counts as equal.
bool sameShown(double a, double b)
{
    return std::fabs(a - b) <= 1e-12 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

} // namespace

std::optional<TNumberFilter> TNumberFilter::parse(std::string_view text)
{
    text = trimmed(text);
    const auto dots = text.find("..");
    if (dots != std::string_view::npos) {
        const auto low = number(text.substr(0, dots));
        const auto high = number(text.substr(dots + 2));
        if (!low || !high)
            return std::nullopt;
        return TNumberFilter(range, std::min(*low, *high), std::max(*low, *high));
    }
    struct Prefix
    {
        std::string_view sign;
        Operation operation;
    };
    // Two-character signs first: ">=" is not ">" followed by "=7".
    for (const Prefix &prefix : {Prefix{">=", atLeast}, Prefix{"<=", atMost}, Prefix{">", above},
                                 Prefix{"<", below}, Prefix{"=", equal}}) {
        if (text.substr(0, prefix.sign.size()) != prefix.sign)
            continue;
        const auto bound = number(text.substr(prefix.sign.size()));
        if (!bound)
            return std::nullopt;
        return TNumberFilter(prefix.operation, *bound, *bound);
    }
    return std::nullopt;
}

bool TNumberFilter::accepts(double value) const
{
    if (std::isnan(value))
        return false;
    switch (operation) {
    case atLeast:
        return value > low || sameShown(value, low);
    case atMost:
        return value < low || sameShown(value, low);
    case above:
        return value > low && !sameShown(value, low);
    case below:
        return value < low && !sameShown(value, low);
    case equal:
        return sameShown(value, low);
    case range:
        break;
    }
    return (value > low || sameShown(value, low)) && (value < high || sameShown(value, high));
}
