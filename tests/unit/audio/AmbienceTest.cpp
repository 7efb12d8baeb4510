#include "../world/MapFixture.h"
#include "SoundFiles.h"
#include "audio/Ambience.h"
#include "audio/Audio.h"
#include "audio/AudioReset.h"
#include "framework/CoreConfig.h"

#include <gtest/gtest.h>

using namespace mapfixture;

namespace {

class AmbienceTest : public MapTest {
protected:
    void SetUp() override
    {
        MapTest::SetUp();
        orv::resetCoreConfig();
        orv::resetAudio();
    }
    void TearDown() override
    {
        orv::resetAudio();
        MapTest::TearDown();
    }
};

} // namespace

TEST_F(AmbienceTest, GrassAndWaterShares)
{
    addTexture("Grass");
    addTexture("darkgrassland");
    addTexture("Sand");
    load(mapText({4000, 4000}, {{rect(0, 0, 4000, 4000), "floorTexture=Sand.png\n"},
                                {rect(0, 0, 2000, 2000), "floorTexture=Grass.png\n"},
                                {rect(2000, 0, 2000, 2000), "floorTexture=darkgrassland.png\n"},
                                {rect(0, 2200, 1000, 1000), "passable=2\n"},
                                {rect(300, 300, 100, 100), "floorTexture=Grass.png\nroofSector=True\n"}}));
    EXPECT_FLOAT_EQ(grassShare({1000, 1000}), 1.0f);     // inside a large grass sector
    EXPECT_FLOAT_EQ(grassShare({2000, 1000}), 1.0f);     // two grasses, any letter case
    EXPECT_NEAR(grassShare({1000, 2000}), 0.5f, 1e-4f);  // half on sand
    EXPECT_FLOAT_EQ(grassShare({3000, 3500}), 0.0f);
    EXPECT_NEAR(waterShare({500, 2200}), 0.5f, 1e-4f);   // a box half over water
    EXPECT_FLOAT_EQ(waterShare({500, 2700}), 1.0f);
    EXPECT_FLOAT_EQ(waterShare({1000, 1000}), 0.0f);
    // Roofs are left out of the query, and a grass sector counts with its whole
    // outline inside the box, the part under the roof included.
    EXPECT_FLOAT_EQ(grassShare({350, 350}), 1.0f);
}

TEST_F(AmbienceTest, LevelsAndLoops)
{
    orv::Audio::init();
    soundfiles::writeTone("Data/Sounds/ambience/Meadow_A.wav", 22050, 1);
    soundfiles::writeTone("Data/Sounds/ambience/Water_A.wav", 22050, 1);
    orv::Audio::loadSounds("Data/Sounds", "");
    initAmbience();
    EXPECT_GT(ambience.soundNumbers[AmbienceMeadow], 0);
    EXPECT_EQ(ambience.soundNumbers[AmbienceRain], -1);
    EXPECT_TRUE(logged("Error: Audio::getSoundNumber: No such sound \"ambience\\Rain_B\""));
    EXPECT_FLOAT_EQ(ambience.levels[AmbienceMeadow], -1.0f);

    // Nothing audible before a measurement.
    playAmbience();
    int playing = 0;
    for (const orv::Voice& v : orv::Audio::voices())
        playing += v.sound.getStatus() == sf::Sound::Playing;
    EXPECT_EQ(playing, 0);

    ambience.levels[AmbienceMeadow] = 0.7f;
    ambience.levels[AmbienceWater] = 0.2f;
    playAmbience();
    float meadowVolume = 0.f;
    for (const orv::Voice& v : orv::Audio::voices())
        if (v.key == "AMB_MEADOW_LOOP")
            meadowVolume = v.volume;
    EXPECT_FLOAT_EQ(meadowVolume, 0.7f);

    // With ambient off the levels stay where they were.
    updateAmbientLevels(sf::Vector2f(), false);
    EXPECT_FLOAT_EQ(ambience.levels[AmbienceMeadow], 0.7f);
}
