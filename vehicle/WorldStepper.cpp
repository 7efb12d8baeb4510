#include "vehicle/WorldStepper.h"

#include "framework/ProgramClock.h"
#include "vehicle/Vehicle.h"
#include "vehicle/VehicleDynamics.h"

#include <box2d/b2_world.h>

#include <cmath>

WorldStepper::StepResult WorldStepper::runStep(b2World& world, Vehicle& driven)
{
    // A stepper never reset starts from the program clock, as the vehicle's
    // gear timing did.
    if (!clockSet_) {
        clock_ = orv::ProgramClock::now();
        clockSet_ = true;
    }
    if (!driven.beforeWorldStep(clock_ + physicsStep))
        return StepResult::NoWorld;
    clock_ += physicsStep;
    world.Step(physicsStep, physicsVelocityIterations, physicsPositionIterations);
    return driven.afterWorldStep() ? StepResult::Restarted : StepResult::Ran;
}

int WorldStepper::advance(b2World& world, Vehicle& driven, float frameSeconds)
{
    if (!std::isfinite(frameSeconds) || frameSeconds < 0.0f)
        return 0;
    accumulator_ += frameSeconds;
    int steps = 0;
    while (accumulator_ > physicsStep) {
        const StepResult result = runStep(world, driven);
        // A vehicle outside any world (between a map's end and the next
        // spawn) drives nothing: no step, and no time saved up for later.
        if (result == StepResult::NoWorld) {
            accumulator_ = 0.0f;
            break;
        }
        accumulator_ -= physicsStep;
        ++steps;
        if (result == StepResult::Restarted) {
            accumulator_ = 0.0f;
            break;
        }
    }
    return steps;
}

int WorldStepper::stepOnce(b2World& world, Vehicle& driven)
{
    return runStep(world, driven) == StepResult::NoWorld ? 0 : 1;
}

void WorldStepper::reset()
{
    accumulator_ = 0.0f;
    clock_ = orv::ProgramClock::now();
    clockSet_ = true;
}
