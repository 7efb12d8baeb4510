#include "vehicle/WorldStepper.h"

#include "vehicle/Vehicle.h"

#include <box2d/b2_world.h>

#include <cmath>

int WorldStepper::advance(b2World& world, Vehicle& driven, float frameSeconds)
{
    if (!std::isfinite(frameSeconds) || frameSeconds < 0.0f)
        return 0;
    accumulator_ += frameSeconds;
    int steps = 0;
    while (accumulator_ > physicsStep) {
        // A vehicle outside any world (between a map's end and the next
        // spawn) drives nothing: no step, and no time saved up for later.
        if (!driven.beforeWorldStep()) {
            accumulator_ = 0.0f;
            break;
        }
        world.Step(physicsStep, physicsVelocityIterations, physicsPositionIterations);
        accumulator_ -= physicsStep;
        ++steps;
        if (driven.afterWorldStep()) {
            accumulator_ = 0.0f;
            break;
        }
    }
    return steps;
}
