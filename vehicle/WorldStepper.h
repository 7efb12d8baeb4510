#pragma once
// Runs the physics world at the fixed step from the frames' uneven times:
// frame time is added up and one fixed step run for every whole 1/60 s. The
// driven vehicle's drive is applied before each world step and its bodies
// checked after it; parked vehicles are plain bodies the world moves.

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
    /// Forgets the time gathered so far (a new vehicle or world starts).
    void reset() { accumulator_ = 0.0f; }

private:
    float accumulator_ = 0.0f;
};
