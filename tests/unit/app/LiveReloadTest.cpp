// Reload on save: a changed vehicle file is taken over by the running player
// vehicle where it stands, moving as it moved, its gear within the new
// count; unsaved edits and unreadable files leave the running definition
// alone. A changed map puts the player back where it stood in a fresh world.
#include "../vehicle/VehicleFixture.h"
#include "app/AppState.h"
#include "app/FrameLoop.h"
#include "app/LiveReload.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>

using vehiclefixture::fastCarText;

namespace {

const std::string carPath = "Data/Cars/car.ini";

// Later keys win: the fast car with three forward gears, then two and a
// lower top speed.
const std::string threeGearCar = std::string(fastCarText) + "[info]\ngearsCount=3\n[body]\nmaxSpeed=25\n";
const std::string slowerTwoGears = std::string(fastCarText) + "[info]\ngearsCount=2\n[body]\nmaxSpeed=12\n";

// Distinct modification times, as a second apart on disk.
void stampFile(const std::string& path, long seconds)
{
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

class LiveReload : public vehiclefixture::VehicleTest {
protected:
    void SetUp() override
    {
        VehicleTest::SetUp();
        resetAppState();
        writeCar("car", threeGearCar);
        stampFile(carPath, 1000);
        loadVehicleDefs();
        frameLoop.mapPath = "Data\\Maps\\flat.map";
        playerVehicle.spawn(*physicsWorld, 0, true, currentMap.startPosition);
        checkWatchedFilesNow(); // the files as they are now are the baseline
    }
    void TearDown() override
    {
        resetAppState();
        VehicleTest::TearDown();
    }
    // The player moving off the start, in its top gear.
    void setMoving()
    {
        b2Body* body = playerVehicle.body();
        body->SetTransform(body->GetPosition() + b2Vec2(3.0f, -2.0f), 0.5f);
        body->SetLinearVelocity(b2Vec2(4.0f, -6.0f));
        playerVehicle.dynamics.gear = 4;
    }
    void rewriteCar(const std::string& text, long seconds = 2000)
    {
        writeCar("car", text);
        stampFile(carPath, seconds);
        checkWatchedFilesNow();
    }
};

} // namespace

TEST_F(LiveReload, ChangedVehicleFileKeepsPlaceMotionAndClampsTheGear)
{
    setMoving();
    const HeldMotion before = holdMotion(playerVehicle);
    rewriteCar(slowerTwoGears);
    ASSERT_NE(playerVehicle.definition(), nullptr);
    EXPECT_FLOAT_EQ(playerVehicle.definition()->maxSpeed, 12.0f);
    EXPECT_FLOAT_EQ(playerVehicle.dynamics.maxSpeed, 12.0f);
    EXPECT_EQ(playerVehicle.dynamics.gear, 3) << "clamped to the new top gear";
    const HeldMotion after = holdMotion(playerVehicle);
    EXPECT_FLOAT_EQ(after.x, before.x);
    EXPECT_FLOAT_EQ(after.y, before.y);
    EXPECT_FLOAT_EQ(after.angle, before.angle);
    EXPECT_FLOAT_EQ(after.vx, 4.0f);
    EXPECT_FLOAT_EQ(after.vy, -6.0f);
    EXPECT_FLOAT_EQ(playerVehicle.dynamics.wheels[0].body->GetLinearVelocity().x, 4.0f) << "wheels move along";
    EXPECT_TRUE(logged("Reloaded car from " + carPath));

    rewriteCar(slowerTwoGears, 3000); // touched, same values: nothing to do
    EXPECT_EQ(testutil::occurrences(log(), "Reloaded car"), 1u);
}

TEST_F(LiveReload, UnsavedEditsAreNotOverwritten)
{
    vehicleDefs[0].mass = 321.0f; // as the tuning editor leaves it
    rewriteCar(slowerTwoGears);
    EXPECT_FLOAT_EQ(vehicleDefs[0].mass, 321.0f);
    EXPECT_FLOAT_EQ(vehicleDefs[0].maxSpeed, 25.0f);
    EXPECT_TRUE(logged("car.ini changed on disk; the unsaved edits of car are kept"));
    EXPECT_TRUE(logged("File > Revert"));
}

TEST_F(LiveReload, UnreadableOrEmptyFilesKeepTheRunningDefinition)
{
    writeCar("car", "");
    stampFile(carPath, 2000);
    checkWatchedFilesNow();
    EXPECT_TRUE(logged("Vehicle file " + carPath + " is empty; the one in use is kept"));
    writeCar("car", "<html>not a vehicle</html>\n");
    stampFile(carPath, 2500);
    checkWatchedFilesNow();
    EXPECT_TRUE(logged("Vehicle file " + carPath + ": no vehicle section or key found; the one in use is kept"));

    std::remove(carPath.c_str());
    ASSERT_EQ(mkdir(carPath.c_str(), 0755), 0); // a folder where the file was
    checkWatchedFilesNow();
    std::remove(carPath.c_str());
    checkWatchedFilesNow(); // and then nothing at all
    ASSERT_NE(playerVehicle.definition(), nullptr);
    EXPECT_FLOAT_EQ(playerVehicle.definition()->maxSpeed, 25.0f);
    EXPECT_TRUE(logged("Failed to load file " + carPath));
    EXPECT_FALSE(logged("Reloaded car"));

    rewriteCar(slowerTwoGears); // back, and taken over
    EXPECT_FLOAT_EQ(playerVehicle.definition()->maxSpeed, 12.0f);
}

TEST_F(LiveReload, ChangedMapRespawnsThePlayerWhereItStood)
{
    setMoving();
    const HeldMotion before = holdMotion(playerVehicle);
    testutil::writeFile("Data/Maps/flat.map", vehiclefixture::flatMapText() + "[header]\nmapSize=3000,3000\n");
    stampFile("Data/Maps/flat.map", 5000);
    checkWatchedFilesNow();
    EXPECT_EQ(currentMap.mapSize, sf::Vector2i(3000, 3000));
    ASSERT_NE(playerVehicle.body(), nullptr);
    const HeldMotion after = holdMotion(playerVehicle);
    EXPECT_NEAR(after.x, before.x, 1e-4f);
    EXPECT_NEAR(after.y, before.y, 1e-4f);
    EXPECT_NEAR(after.angle, before.angle, 1e-4f);
    EXPECT_FLOAT_EQ(after.vx, 4.0f);
    EXPECT_TRUE(logged("Reloaded map Data\\Maps\\flat.map"));

    std::remove("Data/Maps/flat.map");
    ASSERT_EQ(mkdir("Data/Maps/flat.map", 0755), 0);
    checkWatchedFilesNow();
    EXPECT_EQ(currentMap.mapSize, sf::Vector2i(3000, 3000)) << "the map in use is kept";
    EXPECT_TRUE(logged("Map reload: IniFile::load: Unable to read from Data\\Maps\\flat.map; the map in use is kept"));
}
