#pragma once
// Charts as self-contained SVG text: a sweep's figures against the swept
// value as small multiples (or one heat map per figure for a grid of two
// fields), and a recorded drive's telemetry against time. Every chart has
// axes with ticks, labels with units, and a legend; each series is one
// <path class="series"> whose data-points attribute counts its points.

#include "CsvTable.h"

#include <string>

/// The chart of a CSV the bench or the program wrote: a sweep (its header
/// starts with "point,") or a telemetry recording ("step,time_s,"); false
/// with the problem in `error` for anything else.
bool plotCsv(const CsvTable& table, std::string& svg, std::string& error);
/// The sweep's chart; false when it has no swept column or more than two.
bool sweepSvg(const CsvTable& table, std::string& svg, std::string& error);
/// The telemetry's charts: speed, engine, gear, throttle, wheel slip, path.
bool telemetrySvg(const CsvTable& table, std::string& svg, std::string& error);
