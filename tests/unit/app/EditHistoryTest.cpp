// Undo and redo of tuning edits: the value comes back, and so does the state
// of the running vehicle that depends on it.
#include "../vehicle/VehicleFixture.h"
#include "app/EditHistory.h"
#include "vehicle/VehicleTuning.h"

#include <functional>

using vehiclefixture::carText;
using vehiclefixture::VehicleTest;

namespace {

struct EditCase {
    const char* what;
    std::function<void(VehicleDef&, Vehicle&)> edit; ///< the edit as the editor makes it
    std::function<float(const Vehicle&)> state;      ///< running state that follows it
};

float chassisDamping(const Vehicle& v) { return v.body()->GetLinearDamping(); }

} // namespace

TEST_F(VehicleTest, UndoRestoresValuesAndTheRunningVehicle)
{
    spawn(std::string(carText) + "[info]\ngearsCount=3\n");
    const EditCase cases[] = {
        {"power", [](VehicleDef& d, Vehicle& v) { d.power = 9000.0f; applyPower(v); },
         [](const Vehicle& v) { return v.dynamics.power; }},
        {"mass", [](VehicleDef& d, Vehicle& v) { d.mass = 250.0f; applyMass(v); },
         [](const Vehicle& v) { return v.body()->GetMass(); }},
        {"slip", [](VehicleDef& d, Vehicle& v) { d.lateralSlip = 0.6f; applyLateralSlip(v); },
         [](const Vehicle& v) { return v.dynamics.wheels[0].lateralSlip; }},
        {"damping", [](VehicleDef& d, Vehicle& v) { d.linearDamping = 0.95f; applyDamping(v); }, chassisDamping},
        {"steering", [](VehicleDef& d, Vehicle& v) { d.wheelMounts[1].maxSteerAngle = 38; applySteerLimits(v); },
         [](const Vehicle& v) { return v.dynamics.steerLimit; }},
        {"max speed", [](VehicleDef& d, Vehicle& v) { d.maxSpeed = 7.0f; applyMaxSpeed(v); },
         [](const Vehicle& v) { return v.dynamics.maxSpeed; }},
    };
    VehicleDef& def = vehicleDefs[0];
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.what);
        EditHistory history;
        history.reset(def);
        const VehicleDef original = def;
        const float before = c.state(vehicle);
        c.edit(def, vehicle);
        const float after = c.state(vehicle);
        ASSERT_NE(before, after);
        ASSERT_TRUE(history.commit(def));
        EXPECT_FALSE(history.commit(def)); // nothing new: no second step

        ASSERT_TRUE(history.undo(def, &vehicle));
        EXPECT_TRUE(definitionChanges(original, def).empty());
        EXPECT_FLOAT_EQ(c.state(vehicle), before);
        EXPECT_FALSE(history.canUndo());

        ASSERT_TRUE(history.redo(def, &vehicle));
        EXPECT_FLOAT_EQ(c.state(vehicle), after);
        EXPECT_FALSE(definitionChanges(original, def).empty());
        history.undo(def, &vehicle);
        EXPECT_EQ(def.name, "car");
    }
}

TEST_F(VehicleTest, UndoingAddedGearsTakesTheVehicleOutOfThem)
{
    spawn(std::string(carText) + "[info]\ngearsCount=2\n[gear0]\nratio=2\n[gear1]\nratio=1\n");
    VehicleDef& def = vehicleDefs[0];
    EditHistory history;
    history.reset(def);
    def.gears.push_back(GearDef{0.8f, 1.1f}); // "Add"
    history.commit(def);
    def.gears.push_back(GearDef{0.6f, 1.2f});
    history.commit(def);
    dyn().gear = 5; // driving in the newest gear

    ASSERT_TRUE(history.undo(def, &vehicle));
    EXPECT_EQ(def.gears.size(), 5u);
    EXPECT_EQ(dyn().gear, 4);
    ASSERT_TRUE(history.undo(def, &vehicle));
    EXPECT_EQ(def.gears.size(), 4u);
    EXPECT_EQ(dyn().gear, 3);
    // A new edit after undoing drops what could have been redone.
    def.minGearTime = 1.0f;
    history.commit(def);
    EXPECT_FALSE(history.canRedo());
}

TEST(DefinitionChanges, NameEveryDifferingFieldOnce)
{
    VehicleDef a;
    a.gears = {GearDef{0.5f, 1.0f}, GearDef{0.0f, 0.0f}, GearDef{1.0f, 1.0f}};
    a.wheelMounts.resize(2);
    VehicleDef b = a;
    EXPECT_TRUE(definitionChanges(a, b).empty());
    b.power = 5.0f;
    b.wheelMounts[1].drive = false;
    b.gears[2].ratio = 2.0f;
    const std::vector<FieldChange> changes = definitionChanges(a, b);
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].label, "Body / Power");
    EXPECT_EQ(changes[0].after, "5.000");
    EXPECT_EQ(changes[1].label, "Wheel 2 / Drive");
    EXPECT_EQ(changes[2].label, "Gear 1 / Ratio");
}
