#include "players/keeper.h"

#include <cmath>
#include <limits>

namespace {

constexpr int formCount = 8;
constexpr int pointCount = 22;
constexpr std::int32_t pointStep = 1000;

// Rows: skill index 0, 1000, ... 21000; columns: form 1..8. The two dips (form 2 at 19000,
// form 3 at 16000) are the game's own values.
const double estimates[pointCount][formCount] = {
    {0, 0, 0, 0, 0, 0, 0, 0},
    {6.31, 6.06, 5.85, 5.68, 5.53, 5.39, 5.28, 5.17},
    {7.52, 7.20, 6.95, 6.73, 6.55, 6.39, 6.25, 6.12},
    {8.34, 7.99, 7.70, 7.46, 7.25, 7.07, 6.91, 6.77},
    {8.99, 8.61, 8.29, 8.03, 7.80, 7.61, 7.43, 7.28},
    {9.53, 9.12, 8.79, 8.51, 8.27, 8.05, 7.87, 7.70},
    {10.00, 9.57, 9.22, 8.92, 8.67, 8.44, 8.25, 8.07},
    {10.42, 9.97, 9.60, 9.29, 9.02, 8.79, 8.58, 8.40},
    {10.80, 10.33, 9.94, 9.62, 9.34, 9.10, 8.89, 8.70},
    {11.14, 10.66, 10.26, 9.92, 9.64, 9.39, 9.16, 8.97},
    {11.46, 10.96, 10.55, 10.20, 9.91, 9.65, 9.42, 9.22},
    {11.76, 11.24, 10.82, 10.47, 10.16, 9.90, 9.66, 9.45},
    {12.04, 11.51, 11.08, 10.71, 10.40, 10.13, 9.88, 9.67},
    {12.30, 11.76, 11.32, 10.94, 10.62, 10.34, 10.10, 9.88},
    {12.55, 12.00, 11.54, 11.16, 10.83, 10.55, 10.30, 10.07},
    {12.79, 12.22, 11.76, 11.37, 11.04, 10.75, 10.49, 10.26},
    {13.01, 12.44, 11.00, 11.57, 11.23, 10.93, 10.67, 10.44},
    {13.23, 12.64, 11.97, 11.76, 11.41, 11.11, 10.84, 10.61},
    {13.44, 12.84, 12.35, 11.94, 11.59, 11.28, 11.01, 10.77},
    {13.64, 12.03, 12.53, 12.12, 11.76, 11.45, 11.17, 10.92},
    {13.83, 13.21, 12.71, 12.29, 11.92, 11.61, 11.33, 11.08},
    {14.01, 13.39, 12.88, 12.45, 12.08, 11.76, 11.48, 11.22},
};

double valueAt(const TSI_GoalTending &row, std::int32_t point)
{
    const auto found = row.find(point);
    return found == row.end() ? 0.0 : found->second;
}

} // namespace

Keeper::Keeper(std::int32_t id) : Player(id)
{
    for (int form = 1; form <= formCount; ++form) {
        TSI_GoalTending &row = matrix[PlayerAbilityValue(form)];
        for (int point = 0; point < pointCount; ++point)
            row[point * pointStep] = estimates[point][form - 1];
    }
}

double Keeper::estimateGoaltending(PlayerAbilityValue form, std::int32_t skillIndex) const
{
    const auto found = matrix.find(form);
    // Without a row, or below the first point, the interpolation would divide zero by zero.
    if (found == matrix.end() || skillIndex < 0)
        return std::numeric_limits<double>::quiet_NaN();
    const TSI_GoalTending &row = found->second;
    std::int32_t lower = 0, upper = 0;
    for (const auto &[point, estimate] : row) {
        if (point > skillIndex) {
            upper = point;
            break;
        }
        lower = point;
    }
    const double low = valueAt(row, lower);
    const double high = valueAt(row, upper);
    // Above the last point upper stays 0, which continues the line through the origin.
    const double r = low + (high - low) / double(upper - lower) * double(skillIndex - lower);
    // The product is held as a double before the cut: a table value whose double lies just
    // below its decimal shows one hundredth less, and estimates users know rely on that.
    const double hundredths = r * 100;
    return std::floor(hundredths) * 0.01;
}

Keeper &sharedKeeper()
{
    static Keeper table(-1);
    return table;
}
