#pragma once
// A flat test map (one sector the vehicles drive over), vehicle files written
// by the tests, the program clock run by hand and fixed physics steps.

#include "TestUtil.h"
#include "framework/AppInfo.h"
#include "framework/Log.h"
#include "framework/ProgramClock.h"
#include "vehicle/Vehicle.h"
#include "vehicle/VehicleDef.h"
#include "vehicle/WorldStepper.h"
#include "world/Map.h"
#include "world/MapLoading.h"
#include "world/MapPhysics.h"
#include "world/ObjectDefs.h"
#include "world/WorldState.h"

#include <box2d/box2d.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vehiclefixture {

/// A rear-driven car of 30 x 60 pixels: two steered front wheels, two
/// driven rear wheels, one wheel type.
constexpr const char* carText = "[info]\nwheelTypesCount=1\nwheelMountsCount=4\n"
                                "[body]\nimageRect=0,0,30,60\nmass=100\nmaxSpeed=20\n"
                                "[wheelType0]\nimageRect=32,0,6,12\n"
                                "[wheelMount0]\npos=-12,-18\ndrive=false\n"
                                "[wheelMount1]\npos=12,-18\ndrive=false\n"
                                "[wheelMount2]\npos=-12,18\nmaxSteerAngle=0\n"
                                "[wheelMount3]\npos=12,18\nmaxSteerAngle=0\n";

/// A rear-driven car that passes 100 km/h: three gears, a 60 m/s top speed.
/// A test appends sections to change what it needs: later keys win.
constexpr const char* fastCarText = "[info]\nwheelTypesCount=1\nwheelMountsCount=4\ngearsCount=3\n"
                                    "[body]\nimageRect=0,0,30,60\nmass=100\nmaxSpeed=60\npower=6000\n"
                                    "brakePower=200\nlateralSlip=0.1\n"
                                    "[engine]\nacceleration=2500\n"
                                    "[wheelType0]\nimageRect=32,0,6,12\n"
                                    "[wheelMount0]\npos=-12,-18\ndrive=false\nmaxSteerAngle=25\n"
                                    "[wheelMount1]\npos=12,-18\ndrive=false\nmaxSteerAngle=25\n"
                                    "[wheelMount2]\npos=-12,18\nmaxSteerAngle=0\n"
                                    "[wheelMount3]\npos=12,18\nmaxSteerAngle=0\n"
                                    "[gear0]\nratio=2\n[gear1]\nratio=1.4\n[gear2]\nratio=1\n";

/// The fast car at 40 m/s, with brakes far stronger than its damping: it
/// holds its gears, reaches its top speed and stops on its brakes.
inline std::string cleanCarText()
{
    return std::string(fastCarText) + "[body]\nmaxSpeed=40\nbrakePower=400\nlinearDamping=0.3\n";
}

/// A map of one passable 2000 x 2000 pixel sector, starting in its middle.
inline std::string flatMapText()
{
    return "[header]\nsectorsCount=1\nvertsCount=4\nmapSize=2000,2000\n"
           "[startZones]\nrect0=950,950,100,100\n"
           "[verts]\npos0=0,0\npos1=2000,0\npos2=2000,2000\npos3=0,2000\n"
           "[sector0]\nverts=0,1,2,3\n";
}

class VehicleTest : public testutil::LoggedTest {
protected:
    void SetUp() override
    {
        LoggedTest::SetUp();
        orv::ProgramClock::setManual(100.0);
        resetWorld();
        vehicleDefs.clear();
        testutil::writeFile("Data/Maps/flat.map", flatMapText());
        loadMap("Data\\Maps\\flat.map");
    }
    void TearDown() override
    {
        vehicle.forgetBodies();
        resetWorld();
        vehicleDefs.clear();
        orv::ProgramClock::setReal();
        LoggedTest::TearDown();
    }
    /// Writes "Data/Cars/<name>.ini".
    static void writeCar(const std::string& name, const std::string& text)
    {
        testutil::writeFile(std::string("Data/Cars/") + name + ".ini", text);
    }
    /// Writes "Data/Cars/<name>.ini" and reads it back as a definition.
    static VehicleDef loadCar(const std::string& name, const std::string& text)
    {
        writeCar(name, text);
        std::vector<VehicleDef> defs;
        EXPECT_TRUE(loadVehicleDef("Data/Cars/" + name + ".ini", defs));
        return defs.empty() ? VehicleDef() : defs.back();
    }
    /// Loads every car file and spawns the first as the player's vehicle.
    Vehicle& spawn(const std::string& text)
    {
        writeCar("car", text);
        loadVehicleDefs();
        vehicle.spawn(*physicsWorld, 0, true, currentMap.startPosition);
        return vehicle;
    }
    /// Fixed steps with the program clock moving along.
    void step(int count)
    {
        for (int i = 0; i < count; ++i) {
            orv::ProgramClock::advance(physicsStep);
            vehicle.fixedStep();
        }
    }
    VehicleDynamics& dyn() { return vehicle.dynamics; }
    b2Body* body() { return vehicle.body(); }

    Vehicle vehicle;
};

} // namespace vehiclefixture
