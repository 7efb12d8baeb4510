#include "TestUtil.h"
#include "XmWriter.h"
#include "audio/Audio.h"
#include "audio/AudioPanel.h"
#include "audio/ModMusic.h"
#include "framework/AppInfo.h"
#include "framework/CoreConfig.h"
#include "framework/Log.h"

#include <gtest/gtest.h>

using namespace orv;

namespace {

class Music : public ::testing::Test {
protected:
    void SetUp() override
    {
        appInfo.logPath.clear();
        Log::open("m.log");
        coreConfig = CoreConfig();
        Audio::init();
        ASSERT_TRUE(xm::save(xm::testModule(4, 20), "song.xm"));
    }
    void TearDown() override
    {
        Audio::close();
        Log::disable();
    }
    std::string log() const { return testutil::readFile("m.log"); }
    testutil::TempDir dir;
};

} // namespace

TEST_F(Music, RendersHalfASecondPerCall)
{
    ModMusic music;
    ASSERT_TRUE(music.load("song.xm"));
    EXPECT_EQ(music.getChannelCount(), 2u);
    EXPECT_EQ(music.getSampleRate(), 44100u);
    music.onSeek(sf::Time::Zero);
    for (int call = 0; call < 3; ++call) {
        sf::SoundStream::Chunk chunk;
        ASSERT_TRUE(music.onGetData(chunk));
        ASSERT_EQ(chunk.sampleCount, 44100u);
        bool sound = false;
        for (std::size_t i = 0; i < chunk.sampleCount && !sound; ++i)
            sound = chunk.samples[i] != 0;
        EXPECT_TRUE(sound) << call;
    }

    // Seeking starts the renderer at seconds x 65536.
    music.onSeek(sf::seconds(12.5f));
    EXPECT_EQ(music.rendererPosition(), 819200);

    // A stream never ends by itself, even with no module behind it.
    ModMusic empty;
    sf::SoundStream::Chunk chunk;
    EXPECT_TRUE(empty.onGetData(chunk));
    EXPECT_EQ(chunk.sampleCount, 44100u);
}

TEST_F(Music, PlayMusic)
{
    ASSERT_TRUE(Audio::playMusic("song.xm", 12.5f));
    EXPECT_EQ(Audio::musicPath(), "song.xm");
    EXPECT_EQ(Audio::musicFileName(), "song.xm");
    EXPECT_EQ(coreConfig.musicLoadPath, "song.xm");
    EXPECT_EQ(Audio::music()->getStatus(), sf::SoundStream::Playing);
    EXPECT_GE(Audio::music()->getPlayingOffset().asSeconds(), 12.4f);
    EXPECT_NE(log().find(": Playing music from song.xm"), std::string::npos);

    // The same path in other letter case while playing changes nothing.
    const std::size_t before = log().size();
    EXPECT_TRUE(Audio::playMusic("SONG.XM", 0.0f));
    EXPECT_EQ(Audio::musicPath(), "song.xm");
    EXPECT_EQ(log().size(), before);
    EXPECT_GE(Audio::music()->getPlayingOffset().asSeconds(), 12.4f);

    Audio::togglePause();
    EXPECT_EQ(Audio::music()->getStatus(), sf::SoundStream::Paused);
    Audio::togglePause();
    EXPECT_EQ(Audio::music()->getStatus(), sf::SoundStream::Playing);

    // Failures leave the music stopped and the path empty.
    EXPECT_FALSE(Audio::playMusic("Data\\Music\\noextension", 0.0f));
    EXPECT_NE(log().find("Error: Unable to load module music from Data\\Music\\noextension"), std::string::npos);
    EXPECT_EQ(Audio::musicPath(), "");
    EXPECT_NE(Audio::music()->getStatus(), sf::SoundStream::Playing);
    EXPECT_FALSE(Audio::playMusic("missing.ogg", 0.0f));
    EXPECT_EQ(Audio::lastError, "Unable to load music from missing.ogg");
    testutil::writeFile("junk.xm", "not a module at all");
    EXPECT_FALSE(Audio::playMusic("junk.xm", 0.0f));
}

TEST(AudioPanel, Formatting)
{
    EXPECT_EQ(formatMusicTime(125.9f), "2:05");
    EXPECT_EQ(formatMusicTime(0.0f), "0:00");
    EXPECT_EQ(formatMusicTime(3725.0f), "62:05");
    EXPECT_FLOAT_EQ(skipBackOffset(3.0f), 0.0f);
    EXPECT_FLOAT_EQ(skipBackOffset(5.0f), 0.0f);
    EXPECT_FLOAT_EQ(skipBackOffset(12.5f), 7.5f);
    EXPECT_EQ(playingDots(0), 0);
    EXPECT_EQ(playingDots(11), 0);
    EXPECT_EQ(playingDots(12), 1);
    EXPECT_EQ(playingDots(99), 8);
}

// DUMB needs its file callbacks before the first load; a module loaded before
// the sound bank starts must not crash inside the library.
TEST(ModMusicAlone, LoadsBeforeAudioInit)
{
    testutil::TempDir dir;
    ASSERT_TRUE(xm::save(xm::testModule(2, 5), "alone.xm"));
    ModMusic music;
    EXPECT_TRUE(music.load("alone.xm"));
    EXPECT_FALSE(music.load("alone.mp3"));
}
