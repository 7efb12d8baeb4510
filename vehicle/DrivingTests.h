#pragma once
// Repeatable driving tests: a vehicle built from its definition alone in a
// physics world of its own (flat, empty, no window, no sound), driven by
// scripted inputs through the same fixed step as in the program, with a step
// counter as its clock so every run gives the same figures.

#include "vehicle/VehicleDef.h"
#include "vehicle/VehicleDynamics.h"

#include <functional>
#include <string>

/// One measured figure; `reached` false means the target was never met.
struct DrivingFigure {
    bool reached = false;
    float value = 0.0f;
};

struct DrivingTestResults {
    DrivingFigure zeroTo100;       ///< seconds from standstill to 100 km/h
    DrivingFigure speedAfter30;    ///< km/h after 30 s at full throttle
    DrivingFigure brakingDistance; ///< metres from 100 km/h to standstill, brake key held
    DrivingFigure turningCircle;   ///< metres, diameter of the chassis path at full lock and 20 km/h
};

/// Longest a test drives before it gives up, seconds.
constexpr float drivingTestTimeout = 60.0f;

/// Runs all four tests, each in a fresh world.
DrivingTestResults runDrivingTests(const VehicleDef& def);
DrivingFigure measureZeroTo100(const VehicleDef& def);
DrivingFigure measureSpeedAfter30(const VehicleDef& def);
DrivingFigure measureBrakingDistance(const VehicleDef& def);
DrivingFigure measureTurningCircle(const VehicleDef& def);
/// Metres from `fromKmh` to standstill with the brake key held; for vehicles
/// that never reach 100 km/h.
DrivingFigure measureStoppingDistance(const VehicleDef& def, float fromKmh);

/// Inputs held for a whole scripted drive, as the controls would set them.
struct DrivingInputs {
    float throttle = 0.0f;
    float steer = 0.0f;
};
/// Drives `seconds` from standstill with `inputs` held, in a world of its
/// own, calling `observe` after every step; false when the vehicle cannot be
/// built.
bool driveScripted(const VehicleDef& def, const DrivingInputs& inputs, float seconds,
                   const std::function<void(const VehicleDynamics&)>& observe);

/// The value with `decimals` decimals, or "not reached".
std::string formatFigure(const DrivingFigure& figure, int decimals);
/// The change from `before` to `now` with a sign ("+0.25", "-1.0"); empty
/// when either was not reached.
std::string formatFigureChange(const DrivingFigure& before, const DrivingFigure& now, int decimals);
/// Decimals shown for the four figures: time, speed, distance, diameter.
constexpr int zeroTo100Decimals = 2;
constexpr int speedDecimals = 1;
constexpr int distanceDecimals = 1;
/// "vehicle,zeroTo100_s,speedAfter30s_kmh,brakingDistance100_m,turningCircle_m"
std::string drivingTestsCsvHeader();
/// One CSV row: the name, then the four figures.
std::string drivingTestsCsvRow(const std::string& name, const DrivingTestResults& results);
