// A scripted drive of 10,000 fixed steps must end in exactly the same state
// on every run: the driving model may read no wall clock and no randomness.
#include "VehicleFixture.h"
#include "vehicle/DrivingControls.h"

#include <cstdint>
#include <cstring>
#include <set>

using vehiclefixture::carText;
using vehiclefixture::VehicleTest;

namespace {

class CourseKeys : public KeySource {
public:
    bool hasFocus() const override { return true; }
    bool isDown(sf::Keyboard::Key key) const override { return held.count(key) != 0; }
    std::set<sf::Keyboard::Key> held;
};

// The keys held at each step of the course.
std::set<sf::Keyboard::Key> courseAt(int step)
{
    using K = sf::Keyboard;
    const bool wiggle = (step / 200) % 2 == 0;
    if (step < 1500)
        return {K::W};
    if (step < 2500)
        return {K::W, K::D};
    if (step < 3000)
        return {K::Space};
    if (step < 3600)
        return {};
    if (step < 4400)
        return {K::S, K::A};
    if (step < 5000)
        return {K::Space};
    if (step < 7000)
        return {K::Up, wiggle ? K::Left : K::Right};
    if (step < 8000)
        return {K::Down};
    return {K::W, wiggle ? K::A : K::D};
}

struct StateHash {
    std::uint64_t h = 1469598103934665603ull;
    void add(const void* data, std::size_t size)
    {
        const unsigned char* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            h ^= bytes[i];
            h *= 1099511628211ull;
        }
    }
    void add(float v) { add(&v, sizeof v); }
    void add(int v) { add(&v, sizeof v); }
    void add(const b2Body* b)
    {
        add(b->GetPosition().x);
        add(b->GetPosition().y);
        add(b->GetAngle());
        add(b->GetLinearVelocity().x);
        add(b->GetLinearVelocity().y);
        add(b->GetAngularVelocity());
    }
};

} // namespace

TEST_F(VehicleTest, ScriptedCourseEndsInThePinnedState)
{
    spawn(std::string(carText) + "[info]\ngearsCount=3\n[body]\nlateralSlip=0.1\nmaxSpeed=25\n"
                                 "[gear0]\nratio=2\n[gear1]\nratio=1.4\n[gear2]\nratio=1\n");
    CourseKeys keys;
    StateHash hash;
    float topSpeed = 0.0f;
    int lowestGear = 99;
    int highestGear = -1;
    for (int i = 0; i < 10000; ++i) {
        keys.held = courseAt(i);
        readDrivingKeys(dyn(), keys);
        step(1);
        topSpeed = std::max(topSpeed, vehicle.speed());
        lowestGear = std::min(lowestGear, dyn().gear);
        highestGear = std::max(highestGear, dyn().gear);
        if (i % 1000 == 999) {
            hash.add(body());
            for (const Wheel& w : dyn().wheels)
                hash.add(w.body);
            hash.add(dyn().engineLevel);
            hash.add(dyn().gear);
        }
    }
    // The course really exercises the model: fast, every gear, reverse.
    EXPECT_GT(topSpeed, 15.0f);
    EXPECT_EQ(lowestGear, reverseGear);
    EXPECT_EQ(highestGear, 4);
    EXPECT_EQ(hash.h, 0xe9ba27b18b56ec37ull) << std::hex << hash.h;
}
