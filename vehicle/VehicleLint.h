#pragma once
// Findings about a vehicle definition that the driving tests do not
// show as a number: a gearbox that keeps changing, gears the drive never
// reaches, a top speed out of reach. Each comes from scripted drives in a
// world of the vehicle's own, so the same definition always gives the same
// findings.

#include "vehicle/VehicleDef.h"

#include <string>
#include <vector>

struct LintFinding {
    std::string code;       ///< short and stable, e.g. "gear-hunting"
    std::string text;       ///< what was found and the figure behind it
    std::string suggestion; ///< which values to turn
};

/// More forward gear changes than this per minute of that drive is hunting:
/// a drive that only speeds up needs each upshift once, so a handful per
/// minute at most; beyond one every three seconds the box goes up and down.
constexpr float lintGearChangesPerMinute = 20.0f;

/// A top speed more than this share below maxSpeed is out of reach: the
/// limit then never acts, and the gear choice, which reads the speed as a
/// share of maxSpeed, never gets to the upper gears.
constexpr float lintTopSpeedShortfall = 0.10f;

/// Braking is tried from this speed, or from 80% of the top speed reached
/// when that is lower, km/h.
constexpr float lintBrakeFromKmh = 60.0f;
/// Brakes that shorten the stop by less than this share against no brakes
/// at all leave the stopping to the damping, which also slows the vehicle
/// when coasting: the brake key then barely differs from letting go.
constexpr float lintBrakeShare = 0.20f;

/// A tracked vehicle steered from standstill without throttle for this
/// long should turn at least a quarter turn on the spot: that is what
/// tracks are for, and a vehicle that cannot gets stuck against walls.
constexpr float lintSpotTurnSeconds = 4.0f;
constexpr float lintSpotTurnDegrees = 90.0f;

/// Every finding for the definition, in a fixed order; empty for a clean one.
std::vector<LintFinding> lintVehicle(const VehicleDef& def);
/// "NAME: text; suggestion".
std::string formatLintFinding(const std::string& name, const LintFinding& finding);
/// One line per finding, or "NAME: no findings".
std::vector<std::string> lintReport(const std::string& name, const std::vector<LintFinding>& findings);
