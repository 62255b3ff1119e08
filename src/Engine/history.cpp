#include "Engine/history.h"

namespace {
// Taken while the program starts, before main runs.
const TDateTime programStart = nowDateTime();
} // namespace

TDateTime startMoment()
{
    return programStart;
}
