#pragma once
// The drive state of a spawned vehicle and the driving model's fixed step:
// gear choice, engine ramp, steering, drive, brake and track forces, the
// tyre step and the tread scroll.

#include "vehicle/VehicleDef.h"
#include "vehicle/Wheel.h"

#include <vector>

class b2Body;

struct VehicleDynamics {
    b2Body* body = nullptr;
    float engineLevel = 0.0f; ///< -1 to 1; negative drives in reverse
    float throttle = 0.0f;    ///< -1 to +1 from the controls: keys give -1, 0 or +1
    float steerInput = 0.0f;  ///< -1 left to +1 right, a fraction of the lock; keys give -1, 0 or +1
    float brakeInput = 1.0f;  ///< 0 to 1, the share of the brake force used when braking; keys give 1
    bool handbrake = false;
    float steerAngle = 0.0f; ///< degrees, in force this step
    float steerState = 0.0f; ///< degrees, ramped
    float steerLimit = 0.0f; ///< largest |maxSteerAngle| of the mounts
    std::vector<Wheel> wheels;          ///< one per mount, in mount order
    std::vector<int> steeringWheels;    ///< indices into wheels
    float defaultSlip = 0.0f;
    float currentMaxSpeed = 0.0f; ///< m/s, limit in force this step
    float maxSpeed = 0.0f;
    float power = 0.0f;
    int gear = reverseGear;
    double gearChangeTime = 0.0; ///< program clock of the last change
    const VehicleDef* definition = nullptr;
};

/// Fixed physics step, seconds.
constexpr float physicsStep = 1.0f / 60.0f;
/// Box2D's solver iterations per fixed step.
constexpr int physicsVelocityIterations = 6;
constexpr int physicsPositionIterations = 2;

/// Velocity of the body's origin along its local +Y axis: negative forwards.
float forwardSpeed(const VehicleDynamics& dyn);
/// Length of the body's velocity, m/s.
float vehicleSpeed(const VehicleDynamics& dyn);
/// Picks the gear for this step; `now` is the program clock.
void chooseGear(VehicleDynamics& dyn, double now);
/// Steering, engine ramp, drive, brake and turning forces for one step.
void applyForces(VehicleDynamics& dyn, float dt);
/// One vehicle step: gear, forces, then tyre step and tread of every wheel.
/// Nothing happens without a body or definition.
void stepVehicle(VehicleDynamics& dyn, float dt, double now);
/// steerLimit = the largest |maxSteerAngle| of the definition's mounts.
void recomputeSteerLimit(VehicleDynamics& dyn);
