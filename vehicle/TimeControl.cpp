#include "vehicle/TimeControl.h"

#include "vehicle/VehicleDynamics.h"
#include "vehicle/WorldStepper.h"

#include <algorithm>
#include <cmath>

void togglePause(TimeControl& time)
{
    time.paused = !time.paused;
    time.stepRequested = false;
}

void requestStep(TimeControl& time)
{
    time.stepRequested = time.paused;
}

void slowDown(TimeControl& time)
{
    time.slowdown = std::min(time.slowdown + 1, maxSlowdown);
}

void speedUp(TimeControl& time)
{
    time.slowdown = std::max(time.slowdown - 1, 0);
}

float timeScale(const TimeControl& time)
{
    return 1.0f / static_cast<float>(1 << std::clamp(time.slowdown, 0, maxSlowdown));
}

float simulatedSeconds(const TimeControl& time, float frameSeconds)
{
    if (time.paused)
        return time.stepRequested ? physicsStep : 0.0f;
    if (!std::isfinite(frameSeconds) || frameSeconds < 0.0f)
        return 0.0f;
    return frameSeconds * timeScale(time);
}

int advanceWorld(TimeControl& time, WorldStepper& stepper, b2World& world, Vehicle& driven, float frameSeconds)
{
    if (time.paused) {
        const bool step = time.stepRequested;
        time.stepRequested = false;
        // The time gathered before the pause stays for the resume.
        return step ? stepper.stepOnce(world, driven) : 0;
    }
    return stepper.advance(world, driven, simulatedSeconds(time, frameSeconds));
}

std::string timeControlText(const TimeControl& time)
{
    if (time.paused)
        return "Paused";
    if (time.slowdown <= 0)
        return std::string();
    return "Time x1/" + std::to_string(1 << std::clamp(time.slowdown, 0, maxSlowdown));
}
