#include "vehicle/Wheel.h"

#include <box2d/b2_body.h>

#include <cmath>

void tyreStep(Wheel& wheel)
{
    b2Body* body = wheel.body;
    if (!body || wheel.lateralSlip >= 1.0f || !body->IsAwake())
        return;
    const b2Vec2 v = body->GetLinearVelocity();
    const b2Vec2 n = body->GetWorldVector(b2Vec2(0.0f, 1.0f));
    const b2Vec2 m = body->GetWorldVector(b2Vec2(1.0f, 0.0f));
    wheel.forwardVelocity = b2Dot(v, n) * n;
    wheel.lateralVelocity = b2Dot(v, m) * m;

    // The first two mounts always keep the slip's share of their sideways
    // motion; the others lose all of it when it is slow, so a standing
    // vehicle does not creep sideways.
    b2Vec2 next = wheel.forwardVelocity;
    if (wheel.lateralVelocity.Length() >= 1.0f || wheel.mountIndex == 0 || wheel.mountIndex == 1)
        next += wheel.lateralSlip * wheel.lateralVelocity;
    if (next.Length() > 0.1f)
        body->SetLinearVelocity(next);
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
