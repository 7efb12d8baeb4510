// The text rules of the HUD and the tuning editor, and the edits the editor
// carries over to the running vehicle.

#include "../vehicle/VehicleFixture.h"
#include "app/Hud.h"
#include "app/TuningEditor.h"
#include "vehicle/VehicleTuning.h"

#include <gtest/gtest.h>

namespace {

TEST(HudTest, TopLeftText)
{
    // Help off: the scale alone. Help on: the scale first and the vehicle with
    // its place in the list, which is left out when there are no vehicles.
    EXPECT_EQ(hudTopLeftText(2.0f, false, "Buggy", 1, 6), "Scale: 2.0x");
    const std::string help = hudTopLeftText(0.5f, true, "Roadster", 5, 12);
    EXPECT_EQ(help.rfind("Scale: 0.5x\n", 0), 0u);
    EXPECT_NE(help.find("Roadster (5/12)"), std::string::npos);
    const std::string none = hudTopLeftText(2.0f, true, "", 0, 0);
    EXPECT_EQ(none.find("(0/0)"), std::string::npos);
    EXPECT_GT(none.size(), std::string("Scale: 2.0x").size());
}

TEST(HudTest, Readouts)
{
    struct Case {
        float metresPerSecond;
        const char* text;
    };
    for (const Case& c : {Case{63.4f, "228 km/h"}, Case{0.0f, "0 km/h"}, Case{0.138f, "0 km/h"},
                          Case{0.139f, "1 km/h"}, Case{-10.0f, "-36 km/h"}, Case{NAN, "0 km/h"}})
        EXPECT_EQ(hudSpeedText(c.metresPerSecond), c.text) << c.metresPerSecond;

    EXPECT_EQ(hudEngineText(0.0f, 1000.0f, 2500.0f), "1000/2500 RPM");
    EXPECT_EQ(hudEngineText(-1.0f, 1000.0f, 2500.0f), "2500/2500 RPM");
    EXPECT_EQ(hudEngineText(0.5f, 1000.0f, 2500.0f), "1750/2500 RPM");
    // An engine below its idle speed (a maximum under the idle) shows idle.
    EXPECT_EQ(hudEngineText(1.0f, 1000.0f, 800.0f), "1000/800 RPM");
}

TEST(TuningEditorTest, LabelsAndUnits)
{
    // km/h typed in the editor come back as typed after the m/s round trip.
    for (float kmh : {0.5f, 180.0f, 299.9f}) {
        char typed[32], shown[32];
        std::snprintf(typed, sizeof typed, "%.3f", static_cast<double>(kmh));
        std::snprintf(shown, sizeof shown, "%.3f", static_cast<double>(maxSpeedShown(maxSpeedStored(kmh))));
        EXPECT_STREQ(shown, typed);
    }
    EXPECT_NEAR(maxSpeedStored(36.0f), 10.0f, 1e-5f) << "stored in m/s";
    EXPECT_EQ(saveMessage("Buggy", true), "Saved Buggy to \"Data/Cars/Buggy.ini\"");
    EXPECT_EQ(saveMessage("Buggy", false).rfind("Failed", 0), 0u);
}

class TuningTest : public vehiclefixture::VehicleTest {};

TEST_F(TuningTest, EditsReachTheRunningVehicle)
{
    Vehicle& car = spawn(std::string(vehiclefixture::carText) + "[body]\npower=-1\n");
    VehicleDef& def = vehicleDefs[0];
    def.mass = 1000.0f;
    applyMass(car);
    EXPECT_FLOAT_EQ(car.dynamics.power, 250000.0f);
    // Box of 30 x 60 pixels: 1.875 x 3.75 m.
    EXPECT_NEAR(car.body()->GetMass(), 1000.0f * 1.875f * 3.75f, 1.0f);
    def.power = 1234.0f;
    applyPower(car);
    EXPECT_FLOAT_EQ(car.dynamics.power, 1234.0f);

    def.lateralSlip = 0.4f;
    applyLateralSlip(car);
    for (const Wheel& w : car.dynamics.wheels)
        EXPECT_FLOAT_EQ(w.lateralSlip, 0.4f);

    def.linearDamping = 0.75f;
    applyDamping(car);
    EXPECT_FLOAT_EQ(car.body()->GetLinearDamping(), 0.75f);
    EXPECT_FLOAT_EQ(car.dynamics.wheels[3].body->GetLinearDamping(), 0.75f);

    def.wheelMounts[0].maxSteerAngle = -35;
    applySteerLimits(car);
    EXPECT_FLOAT_EQ(car.dynamics.steerLimit, 35.0f);
}

TEST_F(TuningTest, DeletingGearsTakesTheHighestFirstAndKeepsTheGearValid)
{
    Vehicle& car = spawn(std::string(vehiclefixture::carText) +
                         "[info]\ngearsCount=4\n[gear0]\nratio=3\n[gear1]\nratio=2\n[gear2]\nratio=1.5\n"
                         "[gear3]\nratio=1\n");
    VehicleDef& def = vehicleDefs[0];
    ASSERT_EQ(def.gears.size(), 6u);
    // In the top gear; delete the third and the top forward gear in one frame.
    car.dynamics.gear = 5;
    deleteGears(def, {3, 5}, &car);
    ASSERT_EQ(def.gears.size(), 4u);
    EXPECT_FLOAT_EQ(def.gears[2].ratio, 3.0f);
    EXPECT_FLOAT_EQ(def.gears[3].ratio, 1.5f);
    EXPECT_EQ(car.dynamics.gear, 3);
    // Reverse, neutral and the first forward gear always stay.
    deleteGears(def, {0, 1, 2, 3}, &car);
    ASSERT_EQ(def.gears.size(), 3u);
    EXPECT_EQ(car.dynamics.gear, 2);
    step(30); // the model still runs in the remaining gear
    EXPECT_LT(car.dynamics.gear, static_cast<int>(def.gears.size()));
}

} // namespace
