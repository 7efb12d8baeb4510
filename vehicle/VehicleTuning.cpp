#include "vehicle/VehicleTuning.h"

#include "vehicle/Vehicle.h"
#include "vehicle/VehicleDef.h"

#include <box2d/box2d.h>

#include <algorithm>

namespace {

void setDensity(b2Body* body, float density)
{
    if (!body)
        return;
    for (b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext())
        f->SetDensity(usableDensity(density));
    body->ResetMassData();
}

} // namespace

void applyMass(Vehicle& vehicle)
{
    const VehicleDef* def = vehicle.definition();
    if (!def)
        return;
    setDensity(vehicle.body(), def->mass);
    for (Wheel& wheel : vehicle.dynamics.wheels) {
        const std::size_t mount = static_cast<std::size_t>(wheel.mountIndex);
        const float ratio = mount < def->wheelMounts.size() ? def->wheelMounts[mount].massRatio : 1.0f;
        setDensity(wheel.body, def->mass * ratio);
    }
    applyPower(vehicle);
}

void applyPower(Vehicle& vehicle)
{
    if (const VehicleDef* def = vehicle.definition())
        vehicle.dynamics.power = def->power < 0.0f ? def->mass * 250.0f : def->power;
}

void applyMaxSpeed(Vehicle& vehicle)
{
    if (const VehicleDef* def = vehicle.definition())
        vehicle.dynamics.maxSpeed = def->maxSpeed;
}

void applyLateralSlip(Vehicle& vehicle)
{
    const VehicleDef* def = vehicle.definition();
    if (!def)
        return;
    vehicle.dynamics.defaultSlip = def->lateralSlip;
    for (Wheel& wheel : vehicle.dynamics.wheels)
        wheel.lateralSlip = def->lateralSlip;
}

void applyDamping(Vehicle& vehicle)
{
    const VehicleDef* def = vehicle.definition();
    b2Body* body = vehicle.body();
    if (!def || !body)
        return;
    body->SetLinearDamping(usableDamping(def->linearDamping));
    body->SetAngularDamping(usableDamping(def->angularDamping));
    if (b2Fixture* fixture = body->GetFixtureList())
        fixture->SetRestitution(def->restitution);
    for (Wheel& wheel : vehicle.dynamics.wheels) {
        if (!wheel.body)
            continue;
        wheel.body->SetLinearDamping(usableDamping(def->linearDamping));
        wheel.body->SetAngularDamping(usableDamping(def->angularDamping));
    }
}

void applySteerLimits(Vehicle& vehicle)
{
    recomputeSteerLimit(vehicle.dynamics);
}

void deleteGears(VehicleDef& def, std::vector<int> marked, Vehicle* running)
{
    std::sort(marked.begin(), marked.end());
    marked.erase(std::unique(marked.begin(), marked.end()), marked.end());
    for (auto it = marked.rbegin(); it != marked.rend(); ++it) {
        const int gear = *it;
        // Reverse, neutral and the first forward gear always stay.
        if (gear <= firstForwardGear || gear >= static_cast<int>(def.gears.size()))
            continue;
        def.gears.erase(def.gears.begin() + gear);
        if (running && running->dynamics.gear >= gear)
            running->dynamics.gear -= 1;
    }
}
