// The vehicle definition loader on any text, then the vehicle built from it
// driven for a second on a flat map: every number reaching Box2D is finite,
// and so is everything the vehicle reports back.

#include "FuzzSupport.h"

#include "framework/ProgramClock.h"
#include "vehicle/Vehicle.h"
#include "vehicle/VehicleDef.h"
#include "world/Map.h"
#include "world/MapLoading.h"
#include "world/MapPhysics.h"

#include <box2d/box2d.h>

#include <cmath>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::enterScratchDir();
    orv::ProgramClock::setManual(100.0);
    fuzz::writeText("Data/Maps/flat.map", "[header]\nsectorsCount=1\nvertsCount=4\nmapSize=2000,2000\n"
                                          "[verts]\npos0=0,0\npos1=2000,0\npos2=2000,2000\npos3=0,2000\n"
                                          "[sector0]\nverts=0,1,2,3\n");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::restartLog();
    fuzz::writeInput("Data/Cars/Fuzz.ini", data, size);
    vehicleDefs.clear();
    if (!loadVehicleDef("Data/Cars/Fuzz.ini", vehicleDefs))
        fuzz::fail("a readable vehicle file failed to load");

    resetPhysicsWorld();
    loadMap("Data\\Maps\\flat.map");
    Vehicle vehicle;
    vehicle.spawn(*physicsWorld, 0, true, sf::Vector2f(1000.f, 1000.f));
    const std::uint8_t pattern = size ? data[0] : 0;
    for (int frame = 0; frame < 60; ++frame) {
        VehicleDynamics& dyn = vehicle.dynamics;
        dyn.throttle = (pattern & 1) ? 1.0f : (pattern & 2) && frame > 30 ? -1.0f : 0.0f;
        dyn.steerInput = (pattern & 4) ? -1.0f : (pattern & 8) ? 1.0f : 0.0f;
        dyn.handbrake = (pattern & 16) != 0;
        vehicle.fixedStep();
        const b2Body* body = vehicle.body();
        FUZZ_CHECK(body, "no chassis");
        FUZZ_CHECK(std::isfinite(body->GetPosition().x) && std::isfinite(body->GetPosition().y) &&
                       std::isfinite(body->GetAngle()),
                   "chassis position at frame " + std::to_string(frame));
        FUZZ_CHECK(std::isfinite(vehicle.speed()), "speed");
    }
    vehicle.forgetBodies();
    clearMap();
    return 0;
}
