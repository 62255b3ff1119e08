#include "players/team.h"

kstring Team::nameAt(TDateTime moment)
{
    if (records.values.empty())
        return {};
    return records.at(moment).name;
}
