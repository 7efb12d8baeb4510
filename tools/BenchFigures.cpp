#include "BenchFigures.h"

const std::vector<BenchFigure>& benchFigures()
{
    using R = DrivingTestResults;
    static const std::vector<BenchFigure> figures = {
        {"acceleration_s", "Acceleration", "s", 0, [](const R& r) { return r.accelerationTime; }},
        {"top_speed_kmh", "Top speed", "km/h", 0, [](const R& r) { return r.topSpeed; }},
        {"gear_changes_per_min", "Gear changes", "/min", 0, [](const R& r) { return r.gearChangesPerMinute; }},
        {"braking_m", "Braking distance", "m", drivingTestBraking, [](const R& r) { return r.brakingDistance; }},
        {"braking_mean_g", "Braking deceleration", "g", drivingTestBraking, [](const R& r) { return r.brakingMeanG; }},
        {"kerb_to_kerb_m", "Turning circle, kerb to kerb", "m", drivingTestTurning,
         [](const R& r) { return r.kerbToKerb; }},
        {"wall_to_wall_m", "Turning circle, wall to wall", "m", drivingTestTurning,
         [](const R& r) { return r.wallToWall; }},
        {"lateral_g", "Lateral acceleration", "g", drivingTestSkidPad, [](const R& r) { return r.lateralG; }},
    };
    return figures;
}

const BenchFigure* findBenchFigure(const std::string& column)
{
    for (const BenchFigure& figure : benchFigures())
        if (column == figure.column)
            return &figure;
    return nullptr;
}

std::string benchFigureNames()
{
    std::string names;
    for (const BenchFigure& figure : benchFigures())
        names += (names.empty() ? "" : ", ") + std::string(figure.column);
    return names;
}
