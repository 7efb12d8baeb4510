// The frame loop's vehicle keys (comma, period, U, R) and the scene assets'
// definition lists, without a window.
#include "../vehicle/VehicleFixture.h"
#include "app/AppState.h"
#include "app/FrameLoop.h"
#include "render/SceneAssets.h"

#include <sys/stat.h>

#include <cstdio>

using vehiclefixture::carText;

namespace {

class VehicleKeys : public vehiclefixture::VehicleTest {
protected:
    void SetUp() override
    {
        VehicleTest::SetUp();
        resetAppState();
    }
    void TearDown() override
    {
        resetAppState();
        VehicleTest::TearDown();
    }
    void spawnPlayer() { playerVehicle.spawn(*physicsWorld, 0, true, currentMap.startPosition); }
    std::string playerName() const
    {
        return playerVehicle.definition() ? playerVehicle.definition()->name : std::string("(none)");
    }
};

} // namespace

TEST_F(VehicleKeys, CommaAndPeriodWrapAround)
{
    writeCar("a", carText);
    writeCar("b", carText);
    writeCar("c", carText);
    loadSceneAssets(true);
    spawnPlayer();
    EXPECT_EQ(playerName(), "a");
    cycleVehicle(-1);
    EXPECT_EQ(playerName(), "c");
    cycleVehicle(1);
    EXPECT_EQ(playerName(), "a");
    cycleVehicle(1);
    EXPECT_EQ(playerName(), "b");
}

TEST_F(VehicleKeys, WithoutDefinitionsTheKeysDoNoHarm)
{
    loadSceneAssets(true);
    spawnPlayer();
    EXPECT_EQ(playerVehicle.definition(), nullptr);
    cycleVehicle(1);
    cycleVehicle(-1);
    spawnParkedVehicle();
    EXPECT_TRUE(parkedVehicles.empty());
    reloadData();
    EXPECT_EQ(playerVehicle.definition(), nullptr);
    playerVehicle.dynamics.throttle = 1.0f;
    EXPECT_EQ(frameLoop.stepper.advance(*physicsWorld, playerVehicle, 0.05f), 2);
    // Said once for each load: start-up and the reload.
    const std::string text = log(), notice = "No vehicles found in Data/Cars/";
    int said = 0;
    for (auto at = text.find(notice); at != std::string::npos; at = text.find(notice, at + 1))
        ++said;
    EXPECT_EQ(said, 2);
}

TEST_F(VehicleKeys, ReloadKeepsTheSelectionByName)
{
    writeCar("a", carText);
    writeCar("b", carText);
    loadSceneAssets(true);
    spawnPlayer();
    cycleVehicle(1);
    ASSERT_EQ(playerName(), "b");

    writeCar("b", std::string(carText) + "[body]\nmaxSpeed=33\n");
    reloadData();
    EXPECT_EQ(vehicleDefs.size(), 2u) << "one copy of each definition";
    EXPECT_EQ(playerName(), "b");
    EXPECT_FLOAT_EQ(playerVehicle.definition()->maxSpeed, 33.0f);

    std::remove("Data/Cars/b.ini");
    reloadData();
    EXPECT_EQ(playerName(), "a");
    EXPECT_TRUE(logged("Loaded 1 cars"));
}

TEST_F(VehicleKeys, ParkedVehiclesSurviveAReload)
{
    writeCar("a", carText);
    loadSceneAssets(true);
    spawnPlayer();
    spawnParkedVehicle();
    spawnParkedVehicle();
    ASSERT_EQ(parkedVehicles.size(), 2u);
    const b2Vec2 player = playerVehicle.body()->GetPosition();
    EXPECT_LT((parkedVehicles[0]->body()->GetPosition() - player).Length(), 1e-4f);
    EXPECT_NEAR(parkedVehicles[0]->dynamics.wheels[0].body->GetPosition().y - player.y, -18.0f / 16.0f, 1e-4f)
        << "the wheels come along";

    std::remove("Data/Cars/a.ini");
    writeCar("z", "[body]\nimageRect=0,0,10,10\nmass=5\n");
    reloadData();
    // The parked ones still drive on what they were built from.
    ASSERT_NE(parkedVehicles[0]->definition(), nullptr);
    EXPECT_EQ(parkedVehicles[0]->definition()->name, "a");
    EXPECT_EQ(playerName(), "z");
    for (int i = 0; i < 60; ++i)
        playerVehicle.fixedStep();
    EXPECT_GT((parkedVehicles[0]->body()->GetPosition() - parkedVehicles[1]->body()->GetPosition()).Length() +
                  (parkedVehicles[0]->body()->GetPosition() - playerVehicle.body()->GetPosition()).Length(),
              0.1f)
        << "the world pushes overlapping vehicles apart";
}

TEST_F(VehicleKeys, OnlyIniFilesOfTheFolderItselfAreDefinitions)
{
    writeCar("a", carText);
    testutil::writeFile("Data/Cars/CAPS.INI", carText);
    testutil::writeFile("Data/Cars/old.ini.bak", carText);
    testutil::writeFile("Data/Cars/sub/deep.ini", carText);
    loadSceneAssets(true);
    loadSceneAssets(false);
    ASSERT_EQ(vehicleDefs.size(), 2u);
    EXPECT_GE(findVehicleDef("CAPS"), 0);
    EXPECT_GE(findVehicleDef("a"), 0);
}
