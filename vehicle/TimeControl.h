#pragma once
// How the frames' time reaches the world: paused, single fixed steps while
// paused, or slowed down by 1/2, 1/4 or 1/8. A step is the same fixed step at
// every scale; the scale only changes how much frame time feeds the stepper
// (and the effects), so a drive is the same at every scale.

#include <string>

class b2World;
class Vehicle;
class WorldStepper;

struct TimeControl {
    bool paused = false;
    bool stepRequested = false; ///< one fixed step due in the next paused frame
    int slowdown = 0;           ///< the scale is 1 / 2^slowdown, 0 to maxSlowdown
};

/// The smallest scale is 1 / 2^maxSlowdown.
constexpr int maxSlowdown = 3;

/// Pauses a running world, resumes a paused one (a pending step is dropped).
void togglePause(TimeControl& time);
/// Asks for one fixed step in the next frame; nothing unless paused.
void requestStep(TimeControl& time);
/// Halves the scale, down to 1/8.
void slowDown(TimeControl& time);
/// Doubles the scale, up to 1.
void speedUp(TimeControl& time);
/// The factor frame time is multiplied by while running: 1, 1/2, 1/4 or 1/8.
float timeScale(const TimeControl& time);
/// The simulated seconds of a frame of `frameSeconds`: scaled while running;
/// while paused one fixed step when one is requested, else 0. A time that is
/// not finite or is negative counts as 0.
float simulatedSeconds(const TimeControl& time, float frameSeconds);
/// Runs the world for a frame of `frameSeconds` (simulatedSeconds of it, a
/// requested single step exactly one step) and clears the request; returns
/// the steps run.
int advanceWorld(TimeControl& time, WorldStepper& stepper, b2World& world, Vehicle& driven, float frameSeconds);
/// The HUD's line: "Paused", "Time x1/4", or "" at full speed.
std::string timeControlText(const TimeControl& time);
