#include "vehicle/DrivingControls.h"
#include "vehicle/SmoothNoise.h"
#include "vehicle/VehicleDynamics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

class ScriptedKeys : public KeySource {
public:
    ScriptedKeys(std::set<sf::Keyboard::Key> held, bool focus = true) : held_(std::move(held)), focus_(focus) {}
    bool hasFocus() const override { return focus_; }
    bool isDown(sf::Keyboard::Key key) const override { return held_.count(key) != 0; }

private:
    std::set<sf::Keyboard::Key> held_;
    bool focus_;
};

struct Inputs {
    float throttle;
    float steer;
    bool brake;
};

Inputs read(const ScriptedKeys& keys, float engineLevel = 0.0f)
{
    VehicleDynamics dyn;
    dyn.engineLevel = engineLevel;
    readDrivingKeys(dyn, keys);
    return {dyn.throttle, dyn.steerInput, dyn.handbrake};
}

VehicleDef defaultDef()
{
    VehicleDef def;
    def.gears = {GearDef{0.5f, 1.0f}, GearDef{0.0f, 0.0f}, GearDef{1.0f, 1.0f}};
    return def;
}

} // namespace

TEST(DrivingKeys, KeysGiveThrottleSteeringAndBrake)
{
    using K = sf::Keyboard;
    struct Case {
        std::set<K::Key> keys;
        Inputs expected;
    };
    const Case cases[] = {
        {{}, {0.0f, 0.0f, false}},
        {{K::W}, {1.0f, 0.0f, false}},
        {{K::Up}, {1.0f, 0.0f, false}},
        {{K::S}, {-1.0f, 0.0f, false}},
        {{K::Down}, {-1.0f, 0.0f, false}},
        {{K::W, K::S}, {1.0f, 0.0f, false}},      // both: accelerate
        {{K::Up, K::Down}, {1.0f, 0.0f, false}},
        {{K::A}, {0.0f, -1.0f, false}},
        {{K::Left}, {0.0f, -1.0f, false}},
        {{K::D}, {0.0f, 1.0f, false}},
        {{K::Right}, {0.0f, 1.0f, false}},
        {{K::A, K::D}, {0.0f, -1.0f, false}},     // both: left
        {{K::Left, K::Right}, {0.0f, -1.0f, false}},
        {{K::Space}, {0.0f, 0.0f, true}},
        {{K::Space, K::W}, {0.0f, 0.0f, true}},   // the brake wins over the throttle
        {{K::Space, K::S, K::D}, {0.0f, 1.0f, true}},
    };
    for (const Case& c : cases) {
        const Inputs got = read(ScriptedKeys(c.keys));
        EXPECT_EQ(got.throttle, c.expected.throttle) << "case " << (&c - cases);
        EXPECT_EQ(got.steer, c.expected.steer) << "case " << (&c - cases);
        EXPECT_EQ(got.brake, c.expected.brake) << "case " << (&c - cases);
    }
}

TEST(DrivingKeys, WithoutFocusEverythingIsReleased)
{
    using K = sf::Keyboard;
    VehicleDynamics dyn;
    readDrivingKeys(dyn, ScriptedKeys({K::W, K::A, K::Space}));
    ASSERT_TRUE(dyn.handbrake);
    readDrivingKeys(dyn, ScriptedKeys({K::W, K::A, K::Space}, false));
    EXPECT_EQ(dyn.throttle, 0.0f);
    EXPECT_EQ(dyn.steerInput, 0.0f);
    EXPECT_FALSE(dyn.handbrake);
}

TEST(DrivingKeys, OppositeThrottleCutsTheEngineLevelAtOnce)
{
    VehicleDynamics dyn;
    dyn.engineLevel = 1.0f;
    readDrivingKeys(dyn, ScriptedKeys({sf::Keyboard::S}));
    EXPECT_EQ(dyn.engineLevel, 0.0f);
    EXPECT_EQ(dyn.throttle, -1.0f);

    dyn.engineLevel = -0.6f;
    readDrivingKeys(dyn, ScriptedKeys({sf::Keyboard::W}));
    EXPECT_EQ(dyn.engineLevel, 0.0f);

    dyn.engineLevel = 0.4f;
    readDrivingKeys(dyn, ScriptedKeys({sf::Keyboard::W}));
    EXPECT_EQ(dyn.engineLevel, 0.4f) << "the same direction keeps the level";
}

TEST(EngineSound, IdleFadesOutAsMovingFadesIn)
{
    const VehicleDef def = defaultDef();
    VehicleDynamics dyn;
    dyn.gear = firstForwardGear;
    struct Case {
        float level;
        bool idle;
        float idleVolume;
        bool moving;
        float movingVolume;
    };
    const Case cases[] = {
        {0.0f, true, 0.5f, false, 0.0f},
        {0.1f, true, 0.25f, true, 0.15f},
        {-0.1f, true, 0.25f, true, 0.15f}, // reverse sounds the same
        {0.5f, false, 0.0f, true, 0.35f},
        {1.0f, false, 0.0f, true, 0.5f},
    };
    for (const Case& c : cases) {
        dyn.engineLevel = c.level;
        const EngineSoundFeed feed = engineSoundFeed(def, dyn, 0.0f, sf::Vector2f(16.0f, 32.0f));
        ASSERT_TRUE(feed.audible) << c.level;
        EXPECT_EQ(feed.idle.play, c.idle) << c.level;
        EXPECT_EQ(feed.moving.play, c.moving) << c.level;
        if (c.idle) {
            EXPECT_NEAR(feed.idle.volume, c.idleVolume, 1e-6f) << c.level;
        }
        if (c.moving) {
            EXPECT_NEAR(feed.moving.volume, c.movingVolume, 1e-6f) << c.level;
        }
        EXPECT_EQ(feed.position, sf::Vector2f(16.0f, 32.0f));
    }
}

TEST(EngineSound, PitchRisesWithLevelGearAndWobble)
{
    VehicleDef def = defaultDef();
    VehicleDynamics dyn;
    dyn.gear = firstForwardGear;
    auto pitch = [&](float level, float wobble) {
        dyn.engineLevel = level;
        return engineSoundFeed(def, dyn, wobble, {}).pitch;
    };
    // An idling engine sounds at the definition's lowest pitch.
    EXPECT_NEAR(pitch(0.0f, 0.0f), def.minPitch, 1e-6f);
    const float full = pitch(1.0f, 0.0f);
    EXPECT_GT(pitch(0.5f, 0.0f), pitch(0.0f, 0.0f));
    EXPECT_GT(full, pitch(0.5f, 0.0f));
    EXPECT_GT(pitch(1.0f, 0.5f), full);
    def.gears[firstForwardGear].pitch *= 1.1f;
    EXPECT_GT(pitch(1.0f, 0.0f), full);
}

TEST(EngineSound, SilentWithoutMaxRpmOrBelowOneHundred)
{
    VehicleDef def = defaultDef();
    VehicleDynamics dyn;
    dyn.gear = firstForwardGear;
    def.maxRPM = 0.0f;
    for (float level : {0.0f, 0.1f, 1.0f}) {
        dyn.engineLevel = level;
        EXPECT_FALSE(engineSoundFeed(def, dyn, 0.0f, {}).audible) << level;
    }
    def = defaultDef();
    def.idleRPM = 50.0f;
    dyn.engineLevel = 0.0f;
    EXPECT_FALSE(engineSoundFeed(def, dyn, 0.0f, {}).audible);
}

TEST(SmoothNoise, StaysInRangeAndChangesSmoothly)
{
    float previous = smoothNoise(0.0, 10.0, 1.0);
    float lowest = 1.0f;
    float highest = 0.0f;
    for (int i = 1; i < 20000; ++i) {
        const double x = -500.0 + i * 0.05;
        const float v = smoothNoise(x, 10.0, 1.0);
        ASSERT_GE(v, 0.0f);
        ASSERT_LT(v, 1.0f);
        EXPECT_LT(std::fabs(v - previous), 0.2f) << "at " << x;
        previous = v;
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    }
    EXPECT_GT(highest - lowest, 0.3f) << "it wobbles";
    EXPECT_EQ(smoothNoise(12.34, 10.0, 1.0), smoothNoise(12.34, 10.0, 1.0));
    EXPECT_TRUE(std::isfinite(smoothNoise(1e300, 10.0, 1.0)));
}
