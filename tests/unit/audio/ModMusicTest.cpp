#include "TestUtil.h"
#include "XmWriter.h"
#include "audio/Audio.h"
#include "audio/AudioPanel.h"
#include "audio/AudioReset.h"
#include "audio/ModMusic.h"
#include "audio/ModuleFormat.h"
#include "framework/AppInfo.h"
#include "framework/CoreConfig.h"
#include "framework/Log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace orv;

namespace {

class Music : public testutil::LoggedTest {
protected:
    void SetUp() override
    {
        LoggedTest::SetUp();
        resetCoreConfig();
        resetAudio();
        Audio::init();
        ASSERT_TRUE(xm::save(xm::testModule(4, 20), "song.xm"));
    }
    void TearDown() override
    {
        resetAudio();
        LoggedTest::TearDown();
    }
};

void put(std::string& bytes, std::size_t at, std::uint32_t value, int width)
{
    if (bytes.size() < at + static_cast<std::size_t>(width))
        bytes.resize(at + static_cast<std::size_t>(width), '\0');
    for (int i = 0; i < width; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i) & 0xFF);
}

// An XM whose last sample's header claims `length` bytes: the header is found
// by the distinctive length, loop start and loop length it was written with.
std::string xmClaiming(std::uint32_t length)
{
    xm::Module module = xm::testModule(2, 5);
    xm::Sample& sample = module.instruments.back();
    sample.data.assign(1111, 3);
    sample.loopStart = 17;
    sample.loopLength = 1000;
    const std::vector<std::uint8_t> written = xm::write(module);
    std::string bytes(written.begin(), written.end());
    std::string header;
    for (std::uint32_t v : {1111u, 17u, 1000u})
        put(header, header.size(), v, 4);
    const std::size_t at = bytes.find(header);
    if (at != std::string::npos)
        put(bytes, at, length, 4);
    return bytes;
}

// A Scream Tracker 3 module with one sample instrument claiming `length`.
std::string s3mClaiming(std::uint32_t length)
{
    std::string b(0x70, '\0');
    b[0x1C] = 0x1A;
    b[0x1D] = 16;
    put(b, 0x20, 2, 2);   // orders
    put(b, 0x22, 1, 2);   // instruments
    put(b, 0x28, 0x1320, 2);
    put(b, 0x2A, 2, 2);
    b.replace(0x2C, 4, "SCRM");
    b[0x30] = 64;
    b[0x31] = 6;
    b[0x32] = 125;
    for (int c = 0; c < 32; ++c)
        b[static_cast<std::size_t>(0x40 + c)] = static_cast<char>(c < 4 ? c : 0xFF);
    b[0x60] = b[0x61] = static_cast<char>(0xFF);
    put(b, 0x62, 0x70 / 16, 2); // the instrument's parapointer
    b.resize(0xC0, '\0');
    b[0x70] = 1; // a sample
    put(b, 0x70 + 0x0E, 0xC0 / 16, 2);
    put(b, 0x70 + 0x10, length, 4);
    b[0x70 + 0x1C] = 64;
    put(b, 0x70 + 0x20, 8363, 4);
    b.replace(0x70 + 0x4C, 4, "SCRS");
    b.append(64, '\x10');
    return b;
}

// An Impulse Tracker module with one sample claiming `length`.
std::string itClaiming(std::uint32_t length)
{
    std::string b(0xC0, '\0');
    b.replace(0, 4, "IMPM");
    put(b, 0x20, 1, 2); // orders
    put(b, 0x24, 1, 2); // samples
    put(b, 0x28, 0x0214, 2);
    put(b, 0x2A, 0x0200, 2);
    b[0x30] = static_cast<char>(128);
    b[0x31] = 48;
    b[0x32] = 6;
    b[0x33] = 125;
    b += static_cast<char>(0xFF);   // the order list
    put(b, b.size(), 0xD0, 4);     // the sample's pointer
    b.resize(0xD0, '\0');
    b.replace(0xD0, 4, "IMPS");
    b.resize(0xD0 + 0x50, '\0');
    b[0xD0 + 0x11] = 64;
    b[0xD0 + 0x12] = 1; // has data, 8-bit, not packed
    b[0xD0 + 0x13] = 64;
    put(b, 0xD0 + 0x30, length, 4);
    put(b, 0xD0 + 0x3C, 8363, 4);
    put(b, 0xD0 + 0x48, 0x120, 4);
    b.append(64, '\x10');
    return b;
}

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
    EXPECT_TRUE(logged(": Playing music from song.xm"));

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
    EXPECT_TRUE(logged("Error: Unable to load module music from Data\\Music\\noextension"));
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

// Module loaders allocate each sample at its claimed length before reading
// it (4 GiB and 22 s for the first file here): claims larger than the file
// are refused with a line naming the file; honest modules still load.
TEST_F(Music, LyingModulesAreRefused)
{
    struct Case {
        const char* file;
        std::string bytes;
        const char* problem; ///< nullptr: loads
    };
    const Case cases[] = {
        {"lie.xm", xmClaiming(0xFFFFFFF0u), "instrument 2's sample 1 claims 4294967280 bytes"},
        {"honest.xm", xmClaiming(1111), nullptr},
        {"lie.s3m", s3mClaiming(0xFFFFFFF0u), "sample 1 claims 4294967280 samples at offset 192, only 64 bytes remain"},
        {"lie.it", itClaiming(0xFFFFFFF0u), "sample 1 claims 4294967280 samples at offset 288, only 64 bytes remain"},
        {"honest.it", itClaiming(64), nullptr},
    };
    for (const Case& c : cases) {
        testutil::writeFile(c.file, c.bytes);
        ModMusic music;
        EXPECT_EQ(music.load(c.file), c.problem == nullptr) << c.file;
        if (c.problem) {
            EXPECT_TRUE(logged(std::string("Warning: ModMusic::load: ") + c.file + ": " + c.problem));
            // One line from the loader: the size check's.
            EXPECT_EQ(log().find(std::string(c.file) + ": no module loader"), std::string::npos) << c.file;
        }
    }
    EXPECT_FALSE(Audio::playMusic("lie.xm", 0.0f));
    EXPECT_EQ(Audio::lastError, "Unable to load module music from lie.xm");
}

// Modules under the wrong extension load by what their header says; a file
// no header names fails as before.
TEST_F(Music, WrongExtensionsFallBackToTheHeader)
{
    ASSERT_TRUE(xm::save(xm::testModule(2, 5), "really_xm.mod"));
    testutil::writeFile("it_as.s3m", itClaiming(64));
    testutil::writeFile("noise.mod", std::string(2000, 'x'));
    ModMusic music;
    EXPECT_TRUE(music.load("really_xm.mod"));
    EXPECT_TRUE(logged("ModMusic::load: really_xm.mod is a .xm module by its header"));
    EXPECT_TRUE(music.load("it_as.s3m"));
    EXPECT_FALSE(music.load("noise.mod"));
    EXPECT_EQ(log().find("noise.mod is a"), std::string::npos);
    EXPECT_NE(log().find("Warning: ModMusic::load: noise.mod: no module loader could read it"), std::string::npos);

    struct Case {
        std::string bytes;
        const char* format;
    };
    std::string mod(1084, '\0');
    mod.replace(1080, 4, "M.K.");
    std::string eight(1084, '\0');
    eight.replace(1080, 4, "8CHN");
    std::string s3m(48, '\0');
    s3m.replace(44, 4, "SCRM");
    for (const Case& c : {Case{"Extended Module: x", ".xm"}, Case{"IMPMxxxx", ".it"}, Case{s3m, ".s3m"},
                          Case{mod, ".mod"}, Case{eight, ".mod"}, Case{std::string(1084, 'a'), ""},
                          Case{"", ""}})
        EXPECT_EQ(moduleFormatFromBytes(c.bytes), c.format) << c.format;
}
