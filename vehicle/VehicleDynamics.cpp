#include "vehicle/VehicleDynamics.h"

#include "world/Units.h"

#include <box2d/b2_body.h>
#include <box2d/b2_friction_joint.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr float movingThreshold = 0.2f;
constexpr float forceEpsilon = 1.1920929e-07f;

// A share of the speed limit: 0 while there is no limit yet (the first step)
// or none at all (maxSpeed 0), never a division by zero.
float speedFraction(float speed, float limit)
{
    if (!(limit > 0.0f))
        return 0.0f;
    return std::clamp(speed / limit, 0.0f, 1.0f);
}

float wrapDegrees360(float degrees)
{
    float d = std::fmod(degrees, 360.0f);
    if (d < 0.0f)
        d += 360.0f;
    return d;
}

float limitMagnitude(float value, float limit)
{
    return std::clamp(value, -limit, limit);
}

// The mount a wheel was built from; null when the definition has since lost
// it (edited while driving).
const WheelMount* mountOf(const VehicleDef& def, const Wheel& wheel)
{
    if (wheel.mountIndex < 0 || wheel.mountIndex >= static_cast<int>(def.wheelMounts.size()))
        return nullptr;
    return &def.wheelMounts[static_cast<std::size_t>(wheel.mountIndex)];
}

void steerWheels(VehicleDynamics& dyn)
{
    const VehicleDef& def = *dyn.definition;
    const float bodyAngle = dyn.body->GetAngle();
    for (int index : dyn.steeringWheels) {
        Wheel& wheel = dyn.wheels[static_cast<std::size_t>(index)];
        const WheelMount* mountPtr = mountOf(def, wheel);
        if (!mountPtr)
            continue;
        const WheelMount& mount = *mountPtr;
        const float lock = static_cast<float>(std::abs(mount.maxSteerAngle));
        float a = limitMagnitude(def.steerBoost * dyn.steerAngle, std::fabs(def.steerBoost) * lock);
        float d = limitMagnitude(dyn.steerState, lock);
        if (mount.maxSteerAngle < 0) {
            a = -a;
            d = -d;
        }
        const float target = bodyAngle + a * degreesToRadians;
        float diff =
            wrapDegrees360(target * radiansToDegrees) - wrapDegrees360(wheel.body->GetAngle() * radiansToDegrees);
        if (diff >= 180.0f)
            diff -= 360.0f;
        else if (diff < -180.0f)
            diff += 360.0f;
        if (std::fabs(diff) > 0.01f)
            wheel.body->SetTransform(wheel.body->GetPosition(), target);
        wheel.displaySteerAngle = d;
    }
}

void rampEngine(VehicleDynamics& dyn, float dt)
{
    const VehicleDef& def = *dyn.definition;
    if (dyn.engineLevel == dyn.throttle)
        return;
    const float rate = def.maxRPM != 0.0f ? def.acceleration / def.maxRPM : 0.0f;
    // A throttle short of full (a pedal) is a level the engine ramps up to and
    // stops at; easing off ramps down as letting go does.
    const float target = std::clamp(dyn.throttle, -1.0f, 1.0f);
    if (dyn.throttle > 0.0f) {
        if (dyn.engineLevel < target)
            dyn.engineLevel = std::min(dyn.engineLevel + rate * dt, target);
        else
            dyn.engineLevel = std::max(dyn.engineLevel - 2.0f * rate * dt, target);
    } else if (dyn.throttle < 0.0f) {
        if (dyn.engineLevel > target)
            dyn.engineLevel = std::max(dyn.engineLevel - rate * dt, target);
        else
            dyn.engineLevel = std::min(dyn.engineLevel + 2.0f * rate * dt, target);
    } else {
        const float step = 2.0f * rate * dt;
        if (dyn.engineLevel > 0.0f)
            dyn.engineLevel = std::max(dyn.engineLevel - step, 0.0f);
        else
            dyn.engineLevel = std::min(dyn.engineLevel + step, 0.0f);
    }
    dyn.engineLevel = std::clamp(dyn.engineLevel, -1.0f, 1.0f);
    if (!std::isfinite(dyn.engineLevel))
        dyn.engineLevel = 0.0f;
}

void applyWheelForce(Wheel& wheel, const b2Vec2& local)
{
    // Huge but finite settings can still overflow to infinity on the way.
    if (!local.IsValid())
        return;
    const b2Vec2 world = wheel.body->GetWorldVector(local);
    wheel.body->ApplyForceToCenter(world, true);
    wheel.lastForce = world;
    wheel.driveForce = world;
    wheel.lastLocalForce = local;
    wheel.stepForce = local.y;
}

} // namespace

float forwardSpeed(const VehicleDynamics& dyn)
{
    if (!dyn.body)
        return 0.0f;
    const b2Vec2 v = dyn.body->GetLinearVelocityFromLocalPoint(b2Vec2(0.0f, 0.0f));
    return b2Dot(v, dyn.body->GetWorldVector(b2Vec2(0.0f, 1.0f)));
}

float vehicleSpeed(const VehicleDynamics& dyn)
{
    return dyn.body ? dyn.body->GetLinearVelocity().Length() : 0.0f;
}

void chooseGear(VehicleDynamics& dyn, double now)
{
    const VehicleDef& def = *dyn.definition;
    const int gearCount = static_cast<int>(def.gears.size());
    const bool movingForward = forwardSpeed(dyn) < -movingThreshold;
    const float speed = vehicleSpeed(dyn);

    int target;
    if (dyn.engineLevel < 0.0f && !movingForward) {
        target = reverseGear;
    } else if (dyn.engineLevel == 0.0f && speed < 0.1f) {
        target = neutralGear;
    } else {
        const float fraction = speedFraction(speed, dyn.currentMaxSpeed);
        target = firstForwardGear + static_cast<int>(static_cast<float>(gearCount - firstForwardGear) * fraction);
        target = std::clamp(target, firstForwardGear, std::max(gearCount - 1, firstForwardGear));
    }

    if (target == dyn.gear)
        return;
    if (target >= firstForwardGear && dyn.gear != neutralGear && now - dyn.gearChangeTime < def.minGearTime)
        return;

    if (dyn.gear == neutralGear) {
        dyn.gear = std::min(target, firstForwardGear);
        dyn.gearChangeTime = now;
    } else if (target > dyn.gear) {
        // Without full revs the vehicle stays in its gear; a pedal held part
        // way counts its own level as full.
        const bool partThrottle = dyn.throttle > 0.0f && dyn.throttle < 1.0f;
        if (dyn.engineLevel >= 1.0f || (partThrottle && dyn.engineLevel >= dyn.throttle) ||
            dyn.gear == reverseGear) {
            ++dyn.gear;
            dyn.gearChangeTime = now;
            if (dyn.gear != neutralGear && def.maxRPM > 0.0f)
                dyn.engineLevel = std::clamp(def.idleRPM / def.maxRPM * 1.25f, -1.0f, 1.0f);
            else
                dyn.engineLevel = 0.0f;
        }
    } else {
        --dyn.gear;
        dyn.gearChangeTime = now;
    }
}

void applyForces(VehicleDynamics& dyn, float dt)
{
    const VehicleDef& def = *dyn.definition;
    b2Body* body = dyn.body;
    const float fwd = forwardSpeed(dyn);
    const bool movingForward = fwd < -movingThreshold;
    const bool movingBackward = fwd > movingThreshold;

    // The steering lock shrinks with speed, and the steering ramps to it.
    float limit = dyn.steerLimit;
    if (!def.tracks && dyn.currentMaxSpeed > 0.0f && movingForward)
        limit *= steerCurveFactor(def.fullSpeedSteerCurve, speedFraction(std::fabs(fwd), dyn.currentMaxSpeed));
    // An analogue input asks for its fraction of the lock; a key for all of it.
    const float steerStep = def.steerSpeed * dt;
    const float steerShare =
        std::isfinite(dyn.steerInput) ? std::clamp(std::fabs(dyn.steerInput), 0.0f, 1.0f) : 0.0f;
    if (dyn.steerInput > 0.0f)
        dyn.steerState = std::min(dyn.steerState + steerStep, limit * steerShare);
    else if (dyn.steerInput < 0.0f)
        dyn.steerState = std::max(dyn.steerState - steerStep, -limit * steerShare);
    else if (dyn.steerState > 0.0f)
        dyn.steerState = std::max(dyn.steerState - steerStep, 0.0f);
    else
        dyn.steerState = std::min(dyn.steerState + steerStep, 0.0f);
    if (def.instantSteer)
        dyn.steerAngle = dyn.steerInput > 0.0f ? limit * steerShare
                                               : (dyn.steerInput < 0.0f ? -limit * steerShare : 0.0f);
    else
        dyn.steerAngle = dyn.steerState;

    // Slip that follows the speed, from 0.2 standing to 0.5 at the top.
    if (def.autoLateralSlip) {
        const float f = speedFraction(std::fabs(fwd), dyn.currentMaxSpeed);
        for (Wheel& wheel : dyn.wheels)
            wheel.lateralSlip = 0.2f * (1.0f - f) + 0.5f * f;
    }

    // Wheels start the step unturned and unpushed; steered ones then turn.
    for (Wheel& wheel : dyn.wheels) {
        wheel.displaySteerAngle = 0.0f;
        wheel.stepForce = 0.0f;
        wheel.driveForce.SetZero();
    }
    if (!def.tracks)
        steerWheels(dyn);

    // The engine level ramps toward the throttle.
    rampEngine(dyn, dt);

    // Which force the wheels get this step: brakes, drive, or the tracks' pair.
    // Box2D asserts on a negative or non-finite friction force: a definition
    // edited past its checks still brakes with nothing rather than aborting.
    const float wanted = def.brakePower < 0.0f ? def.mass * 1.3f : def.brakePower;
    // A brake pedal brakes with its share of the force; keys with all of it.
    const float brakeShare = std::isfinite(dyn.brakeInput) ? std::clamp(dyn.brakeInput, 0.0f, 1.0f) : 1.0f;
    const float brake = std::isfinite(wanted) && wanted > 0.0f ? wanted * brakeShare : 0.0f;
    const float ratio = def.gears.empty() ? 0.0f
                                          : def.gears[static_cast<std::size_t>(std::clamp(
                                                dyn.gear, 0, static_cast<int>(def.gears.size()) - 1))].ratio;
    float force = 0.0f;
    bool braking = false;
    float leftForce = 0.0f;
    float rightForce = 0.0f;
    if (dyn.handbrake) {
        braking = true;
        force = movingForward ? brake : (movingBackward ? -brake : 0.0f);
    } else if (!def.tracks) {
        if (dyn.engineLevel > 0.0f) {
            force = -dyn.power * dyn.engineLevel * ratio;
        } else if (dyn.engineLevel < 0.0f) {
            if (movingForward) {
                braking = true;
                force = brake;
            } else if (movingBackward) {
                force = -dyn.power * dyn.engineLevel * def.reverseRatio;
            } else {
                force = -dyn.power * dyn.engineLevel * ratio;
            }
        }
    } else {
        // Reverse while rolling forward brakes a tracked vehicle too; its
        // tracks keep pushing as the model sets them.
        braking = dyn.engineLevel < 0.0f && movingForward;
        float k = 1.0f;
        float leftOffset = 0.0f;
        float rightOffset = 0.0f;
        if (dyn.steerInput < 0.0f) {
            k = 1.0f - 0.5f * steerShare; // half the power at full lock
            if (dyn.engineLevel == 0.0f) {
                leftOffset = -1.0f;
                rightOffset = 1.0f;
            } else {
                rightOffset = dyn.engineLevel < 0.0f ? -2.0f : 2.0f;
            }
        } else if (dyn.steerInput > 0.0f) {
            k = 1.0f - 0.5f * steerShare; // half the power at full lock
            if (dyn.engineLevel == 0.0f) {
                leftOffset = 1.0f;
                rightOffset = -1.0f;
            } else {
                leftOffset = dyn.engineLevel < 0.0f ? -2.0f : 2.0f;
            }
        }
        leftForce = -dyn.power * k * (dyn.engineLevel + leftOffset * steerShare);
        rightForce = -dyn.power * k * (dyn.engineLevel + rightOffset * steerShare);
    }

    // A steering key also turns the body directly, by its mass.
    if (def.steerTorqueBoost > 0.0f && dyn.steerInput != 0.0f) {
        const float torque = body->GetMass() * def.steerTorqueBoost;
        if (std::isfinite(torque))
            body->ApplyTorque((dyn.steerInput < 0.0f ? -torque : torque) * steerShare, true);
    }

    // Reverse tops out lower than forward.
    dyn.currentMaxSpeed = dyn.engineLevel < 0.0f ? dyn.maxSpeed * def.reverseRatio : dyn.maxSpeed;

    // Forces at the driven wheels; at the limit only the damping acts, so it
    // holds the speed there.
    if (!(vehicleSpeed(dyn) < dyn.currentMaxSpeed) && !braking)
        return;
    for (Wheel& wheel : dyn.wheels) {
        const WheelMount* mountPtr = mountOf(def, wheel);
        if (!wheel.drive || !mountPtr)
            continue;
        const WheelMount& mount = *mountPtr;
        if (def.tracks) {
            // Tracks brake through the same joints as wheels, but a track
            // does not slide sideways when it brakes, so the slip stays.
            if (braking && wheel.frictionJoint)
                wheel.frictionJoint->SetMaxForce(brake);
            const float f = mount.pos.x < 0 ? leftForce : (mount.pos.x > 0 ? rightForce : force);
            if (std::fabs(f) >= forceEpsilon) {
                if (!braking && wheel.frictionJoint)
                    wheel.frictionJoint->SetMaxForce(0.0f);
                applyWheelForce(wheel, b2Vec2(0.0f, f));
            }
            continue;
        }
        if (std::fabs(force) < forceEpsilon)
            continue;
        if (braking) {
            if (mount.pos.y > 0)
                wheel.lateralSlip = 1.0f;
            if (wheel.frictionJoint)
                wheel.frictionJoint->SetMaxForce(brake);
        } else {
            if (!def.autoLateralSlip)
                wheel.lateralSlip = def.lateralSlip;
            if (wheel.frictionJoint)
                wheel.frictionJoint->SetMaxForce(0.0f);
            applyWheelForce(wheel, b2Vec2(0.0f, force));
        }
    }
}

void stepVehicle(VehicleDynamics& dyn, float dt, double now)
{
    if (!dyn.body || !dyn.definition)
        return;
    chooseGear(dyn, now);
    applyForces(dyn, dt);
    for (Wheel& wheel : dyn.wheels) {
        tyreStep(wheel, dt);
        scrollTread(wheel, dt, dyn.definition->tracks);
    }
}

void recomputeSteerLimit(VehicleDynamics& dyn)
{
    dyn.steerLimit = 0.0f;
    if (!dyn.definition)
        return;
    for (const WheelMount& mount : dyn.definition->wheelMounts)
        dyn.steerLimit = std::max(dyn.steerLimit, static_cast<float>(std::abs(mount.maxSteerAngle)));
}
