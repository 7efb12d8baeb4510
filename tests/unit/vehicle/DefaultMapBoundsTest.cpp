// The default maps hold every vehicle: the fastest default car, flat out from
// the start in each direction for a minute, never leaves the map. The maps
// and the car come from the content the build generated; no objects are
// loaded (they need pictures), so nothing but the map itself stops the car.
#include "VehicleFixture.h"

#include <cmath>
#include <filesystem>

using vehiclefixture::VehicleTest;

namespace fs = std::filesystem;

namespace {

constexpr float halfPi = 1.5707963f;

bool inside(const b2Vec2& metres, const sf::Vector2i& mapSize)
{
    const float x = metres.x * 16.0f;
    const float y = metres.y * 16.0f;
    return x >= 0.0f && y >= 0.0f && x <= static_cast<float>(mapSize.x) && y <= static_cast<float>(mapSize.y);
}

} // namespace

TEST_F(VehicleTest, DefaultMapsHoldTheFastestCarInEveryDirection)
{
    const fs::path run(RUN_DIR);
    fs::create_directories("Data/Maps");
    fs::remove_all("Data/Cars");
    fs::create_directories("Data/Cars");
    fs::copy_file(run / "Data/Cars/Roadster.ini", "Data/Cars/Roadster.ini");
    loadVehicleDefs();
    ASSERT_EQ(vehicleDefs.size(), 1u);

    const char* const maps[] = {"ZQR_Lakes.map", "ZQR_SkidPad.map"};
    const char* const headings[] = {"north", "east", "south", "west"};
    for (const char* map : maps) {
        SCOPED_TRACE(map);
        fs::copy_file(run / "Data/Maps" / map, fs::path("Data/Maps") / map, fs::copy_options::overwrite_existing);
        vehicle.forgetBodies();
        resetWorld();
        ASSERT_TRUE(loadMap(std::string("Data\\Maps\\") + map));
        const sf::Vector2i size = currentMap.mapSize;
        vehicle.spawn(*physicsWorld, 0, true, currentMap.startPosition);
        const b2Vec2 start = body()->GetPosition();
        for (int h = 0; h < 4; ++h) {
            SCOPED_TRACE(headings[h]);
            vehicle.restartAt(start, static_cast<float>(h) * halfPi, orv::ProgramClock::now());
            float farthest = 0.0f;
            bool stayed = true;
            for (int i = 0; i < 60 * 60 && stayed; ++i) {
                dyn().throttle = 1.0f;
                step(1);
                farthest = std::max(farthest, (body()->GetPosition() - start).Length());
                stayed = inside(body()->GetPosition(), size);
                for (const Wheel& w : dyn().wheels)
                    stayed = stayed && inside(w.body->GetPosition(), size);
            }
            EXPECT_TRUE(stayed) << "left the map at " << body()->GetPosition().x * 16.0f << ", "
                                << body()->GetPosition().y * 16.0f;
            EXPECT_GT(farthest, 10.0f) << "the car never got going";
        }
    }
}
