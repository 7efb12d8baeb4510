// SIGINT and SIGTERM: the first asks every long loop to leave, the second
// ends the process at once.

#include "../audio/SoundFiles.h"
#include "../world/MapFixture.h"
#include "audio/Audio.h"
#include "framework/CoreConfig.h"
#include "framework/Signals.h"
#include "world/ObjectDefs.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

using namespace mapfixture;
using testutil::writeFile;

namespace {

// Installs the handlers and delivers one signal, as a user's kill would.
class QuitSignalled : public MapTest {
protected:
    void SetUp() override
    {
        MapTest::SetUp();
        orv::installQuitSignals();
        std::raise(SIGTERM);
        ASSERT_TRUE(orv::quitSignalled());
    }
    void TearDown() override
    {
        orv::resetQuitSignal();
        MapTest::TearDown();
    }
};

} // namespace

TEST(QuitSignal, SecondSignalEndsTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const int second : {SIGINT, SIGTERM}) {
        EXPECT_EXIT(
            {
                orv::installQuitSignals();
                std::raise(SIGINT);
                if (!orv::quitSignalled())
                    std::_Exit(2); // the first signal must only ask
                std::raise(second);
                std::_Exit(3); // still running: the second was ignored too
            },
            ::testing::KilledBySignal(second), "");
    }
}

TEST_F(QuitSignalled, LoadersStop)
{
    // A map of many sectors is left empty, with a reason, rather than built.
    std::vector<TestSector> sectors;
    for (int i = 0; i < 50; ++i)
        sectors.push_back({rect(static_cast<float>(i * 10), 0, 10, 10), ""});
    load(mapText({1000, 1000}, sectors));
    EXPECT_TRUE(currentMap.sectors.empty());
    EXPECT_NE(currentMap.loadError.find("stopped by a quit request"), std::string::npos);

    writeFile("Data/Objects/Crate.ob", "[object]\nmass=1\n");
    writeFile("Data/Objects/Rock.ob", "[object]\nmass=2\n");
    loadObjectDefs();
    EXPECT_TRUE(objectDefs.empty());

    orv::resetCoreConfig();
    orv::Audio::init();
    soundfiles::writeTone("Data/Sounds/engine.wav", 22050, 1);
    soundfiles::writeTone("Data/Sounds/horn.wav", 22050, 1);
    orv::Audio::loadSounds("Data/Sounds", "");
    EXPECT_LE(orv::Audio::getSoundCount(), 1); // at most the "(no sound)" entry
    orv::Audio::close();
}
