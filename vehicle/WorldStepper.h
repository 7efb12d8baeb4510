#pragma once
// Runs the physics world at the fixed step from the frames' uneven times:
// frame time is added up and one fixed step run for every whole 1/60 s. The
// driven vehicle's drive is applied before each world step and its bodies
// checked after it; parked vehicles are plain bodies the world moves.
//
// The stepper keeps its own clock, advanced by one fixed step per step, and
// hands it to the driven vehicle: gear timing then follows simulated time, so
// a drive is the same however its steps are spread over frames (slow motion,
// a pause in between).

class b2World;
class Vehicle;

class WorldStepper {
public:
    /// Adds the frame's time and runs every fixed step now due; returns how
    /// many ran. A time that is not finite or is negative runs none, and so
    /// does a driven vehicle outside any world. When the
    /// driven vehicle comes apart and restarts, the rest of the frame's time
    /// is dropped, so the fresh start is not hurried.
    int advance(b2World& world, Vehicle& driven, float frameSeconds);
    /// Runs exactly one fixed step, leaving the time gathered so far as it
    /// is; returns 1 when it ran (0 outside any world).
    int stepOnce(b2World& world, Vehicle& driven);
    /// Forgets the time gathered so far (a new vehicle or world starts) and
    /// sets the clock to the program clock, which the new vehicle's gear
    /// timing started from.
    void reset();
    /// The clock the last step ran at, seconds.
    double clock() const { return clock_; }

private:
    enum class StepResult { NoWorld, Ran, Restarted };
    StepResult runStep(b2World& world, Vehicle& driven);

    float accumulator_ = 0.0f;
    double clock_ = 0.0;
    bool clockSet_ = false;
};
