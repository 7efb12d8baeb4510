#include "SoundFiles.h"
#include "TestUtil.h"
#include "audio/Audio.h"
#include "audio/AudioReset.h"
#include "framework/AppInfo.h"
#include "framework/CoreConfig.h"
#include "framework/Keyboard.h"
#include "framework/Log.h"
#include "framework/StringUtil.h"

#include <SFML/Audio/Listener.hpp>
#include <SFML/System/Sleep.hpp>

#include <gtest/gtest.h>

#include <vector>

using namespace orv;
using soundfiles::writeTone;

namespace {

class SoundBank : public testutil::LoggedTest {
protected:
    void SetUp() override
    {
        LoggedTest::SetUp();
        resetCoreConfig();
        Keyboard::focusOverride = 1;
        resetAudio();
        Audio::init();
    }
    void TearDown() override
    {
        resetAudio();
        Keyboard::reset();
        LoggedTest::TearDown();
    }
};

std::string le32(std::uint32_t v)
{
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v >> 16 & 0xFF),
                       static_cast<char>(v >> 24 & 0xFF)};
}

// A RIFF WAVE of 16-bit mono PCM: the chunks given, after a fmt chunk.
std::string wave(const std::string& chunks, std::uint32_t rate = 22050, std::uint16_t channels = 1)
{
    const std::string fmt = "fmt " + le32(16) + std::string{1, 0} + std::string{static_cast<char>(channels), 0} +
                            le32(rate) + le32(rate * 2u * channels) +
                            std::string{static_cast<char>(2 * channels), 0, 16, 0};
    const std::string body = "WAVE" + fmt + chunks;
    return "RIFF" + le32(static_cast<std::uint32_t>(body.size())) + body;
}

std::string chunk(const std::string& id, std::uint32_t claimed, std::size_t real)
{
    return id + le32(claimed) + std::string(real, '\x01');
}

const Voice* voiceWithKey(const std::string& key)
{
    for (const Voice& v : Audio::voices())
        if (v.key == key)
            return &v;
    return nullptr;
}

int playingVoices()
{
    int n = 0;
    for (const Voice& v : Audio::voices())
        n += v.sound.getStatus() == sf::Sound::Playing ? 1 : 0;
    return n;
}

} // namespace

TEST(SoundNames, FromPaths)
{
    struct Case {
        const char* path;
        const char* name;
    };
    const Case cases[] = {
        {"Engine\\Engine_Car_a_Idle_1.wav", "Engine\\Engine_Car_a_Idle"},
        {"Engine\\Engine_Car_a_Idle_22.ogg", "Engine\\Engine_Car_a_Idle"},
        {"ambience\\Meadow_A.wav", "ambience\\Meadow_A"},
        {"7.wav", "7"},
        {"42_.wav", "4"},
        {"horn.v2.wav", "horn.v"},
        {"Beep", "Beep"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(soundNameFromPath(c.path), c.name) << c.path;
}

TEST_F(SoundBank, LoadingAndLookup)
{
    writeTone("Data/Sounds/Engine/Engine_Car_a_Idle_1.wav", 2205, 1);
    writeTone("Data/Sounds/Engine/Engine_Car_a_Idle_2.wav", 2205, 1);
    writeTone("Data/Sounds/7.wav", 100, 1);
    writeTone("Data/Sounds/ambience/Meadow_A.ogg", 4410, 2);
    writeTone("Data/Sounds/.hidden/Secret.wav", 100, 1);
    testutil::writeFile("Data/Sounds/Broken.wav", "RIFF junk");
    testutil::writeFile("Data/Sounds/notes.txt", "");
    Audio::loadSounds("Data/Sounds", "");

    // Entry 0 is "(no sound)"; the two engine files are one sound.
    EXPECT_EQ(Audio::getSoundCount(), 4);
    const int engine = Audio::getSoundNumber("Engine\\Engine_Car_a_Idle", false);
    ASSERT_GT(engine, 0);
    EXPECT_EQ(Audio::getSoundName(engine), "Engine\\Engine_Car_a_Idle");
    EXPECT_GT(Audio::getSoundNumber("7", false), 0);
    EXPECT_EQ(Audio::getSoundName(0), "");
    EXPECT_EQ(Audio::getSoundName(99), "");
    EXPECT_TRUE(logged("Error: Unable to load sample from Data/Sounds\\Broken.wav"));

    // Other case, with an upper-case extension.
    const int meadow = Audio::getSoundNumber("AMBIENCE\\meadow_a.WAV", true);
    EXPECT_EQ(meadow, Audio::getSoundNumber("ambience\\Meadow_A", false));

    const std::size_t before = log().size();
    EXPECT_EQ(Audio::getSoundNumber("BLANK", true), 0);
    EXPECT_EQ(Audio::getSoundNumber("", true), 0);
    EXPECT_EQ(log().size(), before);

    EXPECT_EQ(Audio::getSoundNumber("Missing.wav", false), -1);
    EXPECT_EQ(log().size(), before);
    EXPECT_EQ(Audio::getSoundNumber("Missing.wav", true), -1);
    const std::string report = log().substr(before);
    EXPECT_TRUE(testutil::has(report, "Error: Audio::getSoundNumber: No such sound \"Missing.wav\""));
    EXPECT_TRUE(testutil::has(report, ": Valid sound numbers are..."));
    EXPECT_TRUE(testutil::has(report, ": 0 = \"(no sound)\""));
    EXPECT_TRUE(testutil::has(report, ": 3 = \"ambience\\Meadow_A\""));
}

TEST_F(SoundBank, NamingWithoutDecodingGivesTheSameNumbers)
{
    writeTone("Data/Sounds/Engine/Engine_Car_a_Idle_1.wav", 2205, 1);
    writeTone("Data/Sounds/Engine/Engine_Car_a_Idle_2.wav", 2205, 1);
    writeTone("Data/Sounds/ambience/Meadow_A.ogg", 4410, 2);
    writeTone("Data/Sounds/Horns/Horn_Default.wav", 100, 1);
    Audio::loadSounds("Data/Sounds", "");
    const char* const names[] = {"Engine\\Engine_Car_a_Idle", "ambience\\Meadow_A", "Horns\\Horn_Default"};
    std::vector<int> loaded;
    for (const char* name : names)
        loaded.push_back(Audio::getSoundNumber(name, false));
    const int count = Audio::getSoundCount();

    Audio::close();
    Audio::init();
    Audio::nameSounds("Data/Sounds");
    EXPECT_EQ(Audio::getSoundCount(), count);
    for (std::size_t i = 0; i < loaded.size(); ++i)
        EXPECT_EQ(Audio::getSoundNumber(names[i], false), loaded[i]) << names[i];
    EXPECT_TRUE(logged("Named 3 sound(s) from Data/Sounds"));
    // A named sound has nothing to play, and says so rather than crashing.
    EXPECT_FALSE(Audio::playSound(loaded[0], sf::Vector2f(), false, "", -1.0f, false, 1.0f, 1.0f));
}

TEST_F(SoundBank, StereoIsMixedDownToMono)
{
    writeTone("s.wav", 1000, 2);
    ASSERT_TRUE(Audio::addSample("s.wav", "stereo"));
    writeTone("m.wav", 1000, 1);
    ASSERT_TRUE(Audio::addSample("m.wav", "stereo"));
    EXPECT_EQ(Audio::getSoundCount(), 2); // one sound, two variants
    EXPECT_FALSE(Audio::addSample("missing.wav", "other"));
    EXPECT_EQ(Audio::lastError, "Unable to load sample from missing.wav");
    EXPECT_EQ(Audio::getSoundCount(), 2);

    // Play it to reach its buffer: one channel, half the samples.
    ASSERT_TRUE(Audio::playSound(1, {}, false, "", -1, false, 1.0f, 1.0f));
    for (const Voice& v : Audio::voices()) {
        if (v.soundNumber != 1)
            continue;
        EXPECT_EQ(v.sound.getBuffer()->getChannelCount(), 1u);
        EXPECT_EQ(v.sound.getBuffer()->getSampleCount(), 1000u);
    }
}

TEST_F(SoundBank, VoicesAreNeverStolen)
{
    writeTone("long.wav", 22050 * 5, 1);
    ASSERT_TRUE(Audio::addSample("long.wav", "long"));
    EXPECT_FALSE(Audio::playSound(0, {}, false, "", -1, false, 1.0f, 1.0f));
    EXPECT_FALSE(Audio::playSound(2, {}, false, "", -1, false, 1.0f, 1.0f));
    EXPECT_TRUE(Audio::playSound(1, {}, false, "", -1, false, 0.0f, 1.0f));
    EXPECT_EQ(playingVoices(), 0);

    for (int i = 0; i < 64; ++i)
        ASSERT_TRUE(Audio::playSound(1, {}, false, "", -1, false, 0.5f, 1.0f)) << i;
    EXPECT_EQ(playingVoices(), 64);
    EXPECT_FALSE(Audio::playSound(1, {}, false, "", -1, false, 1.0f, 1.0f));
    EXPECT_EQ(playingVoices(), 64);
    // A keyed refresh needs a voice with that key; a new key finds none free.
    EXPECT_FALSE(Audio::playSound(1, {}, true, "ENGINE", -1, false, 1.0f, 1.0f));
}

TEST_F(SoundBank, KeyedLoopsLiveWhileRefreshed)
{
    writeTone("loop.wav", 22050, 1);
    ASSERT_TRUE(Audio::addSample("loop.wav", "loop"));
    ASSERT_TRUE(Audio::playSound(1, {100, 100}, true, "ENG_1", -1, true, 0.5f, 1.0f));
    const Voice* voice = voiceWithKey("ENG_1");
    ASSERT_NE(voice, nullptr);

    float lastOffset = 0.0f;
    for (int frame = 0; frame < 20; ++frame) {
        sf::sleep(sf::milliseconds(10));
        Audio::pollSound();
        ASSERT_TRUE(Audio::playSound(1, {120, 100}, true, "ENG_1", -1, true, 0.8f, 1.2f));
        ASSERT_EQ(voice->sound.getStatus(), sf::Sound::Playing) << frame;
        // Refreshing never restarts it.
        const float offset = voice->sound.getPlayingOffset().asSeconds();
        EXPECT_GE(offset, lastOffset) << frame;
        lastOffset = offset;
    }
    EXPECT_GT(lastOffset, 0.0f);
    EXPECT_FLOAT_EQ(voice->volume, 0.8f);
    EXPECT_FLOAT_EQ(voice->sound.getPitch(), 1.2f);
    EXPECT_EQ(playingVoices(), 1);

    // After the last refresh it survives three polls and stops on the fourth.
    for (int poll = 1; poll <= 3; ++poll) {
        Audio::pollSound();
        EXPECT_EQ(voice->sound.getStatus(), sf::Sound::Playing) << poll;
    }
    Audio::pollSound();
    EXPECT_EQ(voice->sound.getStatus(), sf::Sound::Stopped);
    EXPECT_TRUE(voice->key.empty());

    // stopSound ends a keyed voice at once.
    ASSERT_TRUE(Audio::playSound(1, {}, true, "AMB", -1, false, 1.0f, 1.0f));
    Audio::stopSound("AMB");
    EXPECT_EQ(playingVoices(), 0);
}

TEST_F(SoundBank, VolumesFollowTheSettings)
{
    writeTone("loop.wav", 22050, 1);
    ASSERT_TRUE(Audio::addSample("loop.wav", "loop"));
    coreConfig.soundVolume = 50;
    ASSERT_TRUE(Audio::playSound(1, {}, true, "K", -1, false, 0.5f, 1.0f));
    const Voice* voice = voiceWithKey("K");
    ASSERT_NE(voice, nullptr);
    EXPECT_NEAR(voice->sound.getVolume(), 25.0f, 0.01f);
    coreConfig.soundVolume = 150; // clamped to 100
    Audio::pollSound();
    EXPECT_NEAR(voice->sound.getVolume(), 50.0f, 0.01f);

    // The global volume eases towards its target, and fades without focus.
    coreConfig.globalVolume = 0;
    Audio::pollSound();
    EXPECT_NEAR(sf::Listener::getGlobalVolume(), 90.0f, 0.01f);
    coreConfig.globalVolume = 100;
    for (int i = 0; i < 200; ++i)
        Audio::pollSound();
    EXPECT_FLOAT_EQ(sf::Listener::getGlobalVolume(), 100.0f);
    Keyboard::focusOverride = 0;
    Audio::pollSound();
    EXPECT_NEAR(sf::Listener::getGlobalVolume(), (100.0f - 0.75f) * 0.9f, 0.01f);
    for (int i = 0; i < 100; ++i)
        Audio::pollSound();
    EXPECT_FLOAT_EQ(sf::Listener::getGlobalVolume(), 0.0f);
    coreConfig.muteInactiveWindow = false;
    Audio::pollSound();
    EXPECT_NEAR(sf::Listener::getGlobalVolume(), 10.0f, 0.01f);
}

// The hash narrows the search; names decide. These two differ and share one.
TEST_F(SoundBank, NamesSharingAHashStayApart)
{
    ASSERT_EQ(nameHash("yictiexy"), nameHash("znlhayrh"));
    writeTone("t.wav", 100, 1);
    ASSERT_TRUE(Audio::addSample("t.wav", "yictiexy"));
    ASSERT_TRUE(Audio::addSample("t.wav", "znlhayrh"));
    EXPECT_EQ(Audio::getSoundCount(), 3);
    EXPECT_EQ(Audio::getSoundNumber("ZNLHAYRH", false), 2);
    EXPECT_EQ(Audio::getSoundName(Audio::getSoundNumber("yictiexy", false)), "yictiexy");
}

// A header's sizes are held against the file before the decoder believes
// them (it would allocate 4 GiB for the first file here); a file that tells
// the truth, odd chunks and all, still loads.
TEST_F(SoundBank, LyingWaveFilesAreRefused)
{
    struct Case {
        const char* file;
        std::string bytes;
        const char* problem; ///< nullptr: loads
    };
    const Case cases[] = {
        {"data.wav", wave(chunk("data", 0xFFFFFFF0u, 1000)), "chunk \"data\" claims 4294967280 bytes, only 1000 remain"},
        {"list.wav", wave(chunk("LIST", 0x7FFFFFFFu, 10) + chunk("data", 200, 200)), "chunk \"LIST\" claims"},
        {"rate.wav", wave(chunk("data", 200, 200), 0xFFFFFFF0u), "1 channels at 4294967280 Hz is not a sound format"},
        {"honest.wav", wave(chunk("LIST", 10, 10) + chunk("data", 200, 200)), nullptr},
    };
    for (const Case& c : cases) {
        testutil::writeFile(c.file, c.bytes);
        const bool loaded = Audio::addSample(c.file, c.file);
        EXPECT_EQ(loaded, c.problem == nullptr) << c.file;
        if (c.problem) {
            EXPECT_EQ(Audio::lastError, std::string("Unable to load sample from ") + c.file);
            EXPECT_TRUE(logged(std::string("Warning: Audio::addSample: ") + c.file + ": " + c.problem));
        }
    }
    EXPECT_EQ(Audio::getSoundCount(), 2);
}
