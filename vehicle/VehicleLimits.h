#pragma once
// What a vehicle file and the tuning editor may give each number. The loader
// keeps the default for a value outside its range, and the editor refuses
// it, so both agree on what a vehicle can be. Ranges are wide: they keep out
// what breaks the physics or the sound (non-finite numbers, negative damping
// or pitch, rotations by millions of degrees), not what is merely unusual.

#include <cmath>

struct ValueRange {
    float lo;
    float hi;

    /// True for a finite value within lo..hi.
    bool contains(float value) const { return std::isfinite(value) && value >= lo && value <= hi; }
    /// True for a whole number within lo..hi.
    bool contains(int value) const
    {
        return static_cast<double>(value) >= static_cast<double>(lo) && static_cast<double>(value) <= hi;
    }
};

namespace vehicleLimits {

// The default vehicles weigh 110 to 260 and reach 68 m/s at most.
constexpr ValueRange mass{0.0f, 1.0e5f};       ///< density of the body's box
constexpr ValueRange maxSpeed{0.0f, 1000.0f};  ///< metres per second
// Power and brakes below 0 mean "from the mass".
constexpr ValueRange power{-1.0e7f, 1.0e7f};
constexpr ValueRange brakePower{-1.0e7f, 1.0e7f};
constexpr ValueRange lateralSlip{0.0f, 1.0f};
constexpr ValueRange steerSpeed{0.0f, 10000.0f}; ///< degrees per second
constexpr ValueRange steerBoost{-10.0f, 10.0f};
constexpr ValueRange steerTorqueBoost{0.0f, 1.0e5f};
constexpr ValueRange steerCurvePoint{-10.0f, 10.0f};
// Box2D refuses negative damping; the default cars hold 0.3 to 3.
constexpr ValueRange damping{0.0f, 10.0f};
constexpr ValueRange restitution{0.0f, 1.0f};
constexpr ValueRange reverseRatio{0.0f, 10.0f};
constexpr ValueRange rpm{0.0f, 100000.0f};
constexpr ValueRange acceleration{0.0f, 1.0e6f}; ///< revolutions per second gained
constexpr ValueRange minGearTime{0.0f, 60.0f};  ///< seconds
constexpr ValueRange pitch{0.0f, 10.0f};        ///< engine sound pitch factors
constexpr ValueRange gearRatio{0.0f, 100.0f};
constexpr ValueRange massRatio{0.0f, 100.0f};
constexpr ValueRange steerAngle{-180.0f, 180.0f}; ///< degrees
constexpr ValueRange offset{-16384.0f, 16384.0f}; ///< picture pixels from the body's centre

} // namespace vehicleLimits
