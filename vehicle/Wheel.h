#pragma once
// One wheel of a spawned vehicle: its body, the tyre state the tyre step
// computes, its brake and what the renderer and the effects read.

#include <box2d/b2_math.h>

class b2Body;
class b2FrictionJoint;
struct VehicleDynamics;

struct Wheel {
    b2Body* body = nullptr;
    b2Vec2 forwardVelocity{0.0f, 0.0f}; ///< along the wheel, world axes
    b2Vec2 lateralVelocity{0.0f, 0.0f}; ///< across the wheel, world axes
    float lateralSlip = 0.0f;           ///< 0 full grip, 1 none
    int mountIndex = 0;
    bool drive = true;
    VehicleDynamics* dynamics = nullptr;
    float scrollOffset = 0.0f; ///< tread animation, [0, 4)
    b2FrictionJoint* frictionJoint = nullptr; ///< the brake: holds the wheel to the ground
    float displaySteerAngle = 0.0f; ///< degrees relative to the body, for drawing
    b2Vec2 lastForce{0.0f, 0.0f};      ///< last drive force, world axes
    b2Vec2 lastLocalForce{0.0f, 0.0f}; ///< the same in the wheel's axes
    float stepForce = 0.0f; ///< drive force along the wheel's local Y this step, 0 when none
    // What the last step did to the wheel, recorded as it happened for the
    // force overlay (world axes, newtons).
    b2Vec2 driveForce{0.0f, 0.0f};       ///< the drive force applied, zero when none
    b2Vec2 brakeForce{0.0f, 0.0f};       ///< the ground's hold through the brake joint
    b2Vec2 lastLateralForce{0.0f, 0.0f}; ///< the grip's force across the wheel
    bool sliding = false; ///< the tyre let more sideways speed through than slideSpeed
};

/// Sideways speed, m/s, that a tyre letting it through after its step is
/// said to slide at.
constexpr float slideSpeed = 1.0f;

/// Removes sideways tyre motion by the wheel's slip (nothing at slip 1 or
/// while the body sleeps) and records the grip's force over the step of `dt`
/// seconds and whether the wheel slides.
void tyreStep(Wheel& wheel, float dt);
/// After the world's step: the force the brake joint held the wheel with,
/// over a step of `dt` seconds.
void recordBrakeForce(Wheel& wheel, float dt);
/// Moves the tread by the wheel's forward speed (3 times as fast for tracks),
/// kept in [0, 4).
void scrollTread(Wheel& wheel, float dt, bool tracks);
