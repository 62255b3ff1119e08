#pragma once

#include <optional>
#include <string_view>

// A filter on the numbers of a column: ">=7", "<=7", ">7", "<5", "=6" or the inclusive range
// "6..8" (either way round). Spaces around the parts are allowed; a decimal comma is read as a
// point. Anything else is no comparison, and the column's text stays a mask.
class TNumberFilter
{
public:
    // The comparison a filter text (without its leading "!") stands for, if any.
    static std::optional<TNumberFilter> parse(std::string_view text);

    bool accepts(double value) const;

private:
    enum Operation { atLeast, atMost, above, below, equal, range };

    TNumberFilter(Operation operation, double low, double high)
        : operation(operation), low(low), high(high)
    {}

    Operation operation;
    double low, high;
};
