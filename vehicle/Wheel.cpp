#include "vehicle/Wheel.h"

#include <box2d/b2_body.h>
#include <box2d/b2_friction_joint.h>

#include <cmath>

void tyreStep(Wheel& wheel, float dt)
{
    wheel.lastLateralForce.SetZero();
    wheel.sliding = false;
    b2Body* body = wheel.body;
    if (!body || !body->IsAwake())
        return;
    const b2Vec2 v = body->GetLinearVelocity();
    const b2Vec2 n = body->GetWorldVector(b2Vec2(0.0f, 1.0f));
    const b2Vec2 m = body->GetWorldVector(b2Vec2(1.0f, 0.0f));
    if (wheel.lateralSlip >= 1.0f) {
        // No grip at all: whatever moves sideways slides.
        wheel.sliding = std::fabs(b2Dot(v, m)) > slideSpeed;
        return;
    }
    wheel.forwardVelocity = b2Dot(v, n) * n;
    wheel.lateralVelocity = b2Dot(v, m) * m;

    // The first two mounts always keep the slip's share of their sideways
    // motion; the others lose all of it when it is slow, so a standing
    // vehicle does not creep sideways.
    b2Vec2 next = wheel.forwardVelocity;
    if (wheel.lateralVelocity.Length() >= 1.0f || wheel.mountIndex == 0 || wheel.mountIndex == 1)
        next += wheel.lateralSlip * wheel.lateralVelocity;
    if (next.Length() > 0.1f) {
        body->SetLinearVelocity(next);
        // The velocity change is the grip's impulse over the step.
        if (dt > 0.0f)
            wheel.lastLateralForce = (body->GetMass() / dt) * (next - v);
    }
    wheel.sliding = (next - wheel.forwardVelocity).Length() > slideSpeed;
}

void recordBrakeForce(Wheel& wheel, float dt)
{
    wheel.brakeForce.SetZero();
    if (!wheel.frictionJoint || !(dt > 0.0f))
        return;
    // The joint reports what it did to its second body, the ground; the
    // wheel got the opposite.
    const b2Vec2 force = -wheel.frictionJoint->GetReactionForce(1.0f / dt);
    if (force.IsValid())
        wheel.brakeForce = force;
}

void scrollTread(Wheel& wheel, float dt, bool tracks)
{
    if (!wheel.body)
        return;
    const float forwardSpeed = b2Dot(wheel.forwardVelocity, wheel.body->GetWorldVector(b2Vec2(0.0f, 1.0f)));
    wheel.scrollOffset -= forwardSpeed * dt * (tracks ? 3.0f : 1.0f);
    if (!std::isfinite(wheel.scrollOffset))
        wheel.scrollOffset = 0.0f;
    // fmod rather than a loop: a wild speed must not spin here for long.
    wheel.scrollOffset = std::fmod(wheel.scrollOffset, 4.0f);
    if (wheel.scrollOffset < 0.0f)
        wheel.scrollOffset += 4.0f;
    if (wheel.scrollOffset >= 4.0f)
        wheel.scrollOffset = 0.0f;
}
