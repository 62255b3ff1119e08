#pragma once

#include "Engine/datetime.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>

// A value kept as dated entries: from each entry's moment on, its value is in force.
template <typename T> class History
{
public:
    std::map<TDateTime, T> values;

    // The value of the latest entry dated at or before `moment`; before every entry, the
    // earliest value (a record known only from a later moment is the best there is).
    T &at(TDateTime moment) { return entryAt(values, moment); }
    const T &at(TDateTime moment) const { return entryAt(values, moment); }

private:
    template <typename Values> static auto &entryAt(Values &entries, TDateTime moment)
    {
        if (entries.empty()) {
            std::fprintf(stderr, "Assertion failed: !values.empty(), file Engine/history.h\n");
            std::abort();
        }
        auto later = entries.upper_bound(moment);
        if (later == entries.begin())
            return later->second;
        return std::prev(later)->second;
    }
};

// The local date and time at which the program started; the same value for the whole run.
TDateTime startMoment();
