#pragma once
// Two runs over the same inputs side by side: the recorded run (A) and its
// replay with the values as they are now (B).

#include "vehicle/DrivingTests.h"
#include "vehicle/Telemetry.h"

#include <vector>

struct RunComparison {
    /// Seconds each run took to cover run A's whole distance; B's is "not
    /// reached" when it never got that far.
    DrivingFigure lapA;
    DrivingFigure lapB;
    float topSpeedA = 0.0f; ///< km/h
    float topSpeedB = 0.0f;
    float endGap = 0.0f; ///< metres between the two final positions
    float distanceA = 0.0f; ///< metres driven
    float distanceB = 0.0f;
};

/// Compares two runs; both empty gives an all-zero, unreached comparison.
RunComparison compareRuns(const std::vector<TelemetrySample>& a, const std::vector<TelemetrySample>& b);
