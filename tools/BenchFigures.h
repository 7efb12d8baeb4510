#pragma once
// The driving-test figures the bench sweeps, fits and plots, by the names of
// their CSV columns: what each is called on a chart, its unit, and which
// tests must run to get it.

#include "vehicle/DrivingTests.h"

#include <string>
#include <vector>

struct BenchFigure {
    const char* column; ///< the CSV column, e.g. "top_speed_kmh"
    const char* label;  ///< a chart's title, e.g. "Top speed"
    const char* unit;   ///< "km/h"; "" for a count
    unsigned parts;     ///< the DrivingTestParts it needs beyond the full-throttle drive
    DrivingFigure (*of)(const DrivingTestResults& results);
};

/// Every figure, in CSV column order.
const std::vector<BenchFigure>& benchFigures();
/// The figure of that column; null when there is none.
const BenchFigure* findBenchFigure(const std::string& column);
/// The column names joined by ", " for messages.
std::string benchFigureNames();
