#pragma once
// A recorded drive: the driving inputs of every fixed step with the map, the
// start pose and the definition's values, enough to drive the same run again
// through the same steps; kept in a small text file.

#include "vehicle/VehicleDef.h"
#include "world/Map.h"
#include "world/Units.h"

#include <box2d/b2_math.h>

#include <cstdint>
#include <string>
#include <vector>

class Vehicle;

/// What the driver did before one fixed step.
struct StepInput {
    signed char throttle = 0; ///< -1, 0 or +1
    signed char steer = 0;    ///< -1, 0 or +1
    bool handbrake = false;
    bool cutEngine = false; ///< the controls set the engine level to 0 before this step
    bool operator==(const StepInput& o) const
    {
        return throttle == o.throttle && steer == o.steer && handbrake == o.handbrake && cutEngine == o.cutEngine;
    }
};

struct DriveRecording {
    std::string mapPath;
    std::string vehicleName;
    b2Vec2 start{0.0f, 0.0f}; ///< chassis position, metres
    float startAngle = 0.0f;  ///< radians
    VehicleDef definition;    ///< the values the run was driven with
    std::vector<StepInput> inputs;
    bool hasEndHash = false;
    std::uint64_t endHash = 0; ///< vehicleStateHash after the last step
};

/// Longest recording a file may hold: one hour of fixed steps.
constexpr int maxRecordedSteps = 60 * 60 * 60;

/// Farthest start from the origin on either axis, in metres: twice the
/// largest coordinate a map may hold (1.25e6 m), so a run begun past a map's
/// edge still loads, while nothing near a float's limit reaches the physics
/// (which asserts on it) or the sound listener (which floods the log).
constexpr float maxStartCoordinate = 2.0f * maxCoordinate * metresPerPixel;
/// Largest start angle either way, in radians. The physics lets a body's
/// angle run on without wrapping it: 1e5 is some 16,000 turns, where a float
/// still resolves a hundredth of a radian.
constexpr float maxStartAngle = 1.0e5f;

/// What is wrong with a start pose, in words for a log line; "" when it is
/// finite and within maxStartCoordinate and maxStartAngle.
std::string startPoseProblem(const b2Vec2& position, float angle);

/// A hash of the vehicle's state: chassis and wheel positions, angles and
/// velocities, engine level and gear. Equal only for the very same state.
std::uint64_t vehicleStateHash(const Vehicle& vehicle);

/// Inputs as text: one letter per kind of step, runs written as a count and
/// the letter ("120B3K").
std::string encodeInputs(const std::vector<StepInput>& inputs);
/// The inputs of encodeInputs; false on a letter or count that is not ours
/// or more than maxRecordedSteps steps (`inputs` then holds what was read).
bool decodeInputs(const std::string& text, std::vector<StepInput>& inputs);

/// Writes the recording; false (logged) on failure.
bool saveDriveRecording(const std::string& path, const DriveRecording& recording);
/// Reads a recording; false (logged, naming the file and problem) when it
/// cannot be read or holds no recording.
bool loadDriveRecording(const std::string& path, DriveRecording& recording);
