#pragma once
// A recorded drive: the driving inputs of every fixed step with the map, the
// start pose and the definition's values, enough to drive the same run again
// through the same steps; kept in a small text file.

#include "vehicle/VehicleDef.h"

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
