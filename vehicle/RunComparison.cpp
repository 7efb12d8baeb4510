#include "vehicle/RunComparison.h"

#include <algorithm>
#include <cmath>

namespace {

float pathLength(const std::vector<TelemetrySample>& run)
{
    float length = 0.0f;
    for (std::size_t i = 1; i < run.size(); ++i)
        length += std::hypot(run[i].x - run[i - 1].x, run[i].y - run[i - 1].y);
    return length;
}

float topSpeed(const std::vector<TelemetrySample>& run)
{
    float top = 0.0f;
    for (const TelemetrySample& s : run)
        top = std::max(top, s.speedKmh);
    return top;
}

// When the run had covered `distance` metres, to the step; unreached when it
// never did.
DrivingFigure timeToCover(const std::vector<TelemetrySample>& run, float distance)
{
    if (run.empty())
        return {};
    float length = 0.0f;
    for (std::size_t i = 1; i < run.size(); ++i) {
        length += std::hypot(run[i].x - run[i - 1].x, run[i].y - run[i - 1].y);
        if (length >= distance)
            return {true, run[i].time};
    }
    return distance <= 0.0f || length >= distance ? DrivingFigure{true, run.back().time} : DrivingFigure{};
}

} // namespace

RunComparison compareRuns(const std::vector<TelemetrySample>& a, const std::vector<TelemetrySample>& b)
{
    RunComparison c;
    c.distanceA = pathLength(a);
    c.distanceB = pathLength(b);
    c.topSpeedA = topSpeed(a);
    c.topSpeedB = topSpeed(b);
    if (!a.empty())
        c.lapA = {true, a.back().time};
    if (!a.empty())
        c.lapB = timeToCover(b, c.distanceA);
    if (!a.empty() && !b.empty())
        c.endGap = std::hypot(a.back().x - b.back().x, a.back().y - b.back().y);
    return c;
}
