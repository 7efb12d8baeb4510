// Plays scripts in a separate process through OpenAL Soft's wave writer and
// checks what was actually mixed.

#include "SoundFiles.h"
#include "TestUtil.h"
#include "XmWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

struct Recording {
    unsigned bits = 0;
    unsigned rate = 0;
    unsigned channels = 0;
    std::vector<std::int16_t> samples;

    /// Root mean square of the samples between two times (seconds).
    double rms(double from, double to) const
    {
        const std::size_t a = static_cast<std::size_t>(from * rate) * channels;
        const std::size_t b = std::min(samples.size(), static_cast<std::size_t>(to * rate) * channels);
        if (b <= a)
            return 0.0;
        double sum = 0.0;
        for (std::size_t i = a; i < b; ++i)
            sum += static_cast<double>(samples[i]) * samples[i];
        return std::sqrt(sum / static_cast<double>(b - a));
    }
};

std::uint32_t le32(const std::string& s, std::size_t at)
{
    return static_cast<std::uint8_t>(s[at]) | static_cast<std::uint8_t>(s[at + 1]) << 8 |
           static_cast<std::uint8_t>(s[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at + 3])) << 24;
}

// Reads the fmt and data chunks; the data runs to the end of the file whatever
// its header says.
Recording readWave(const std::string& path)
{
    Recording r;
    const std::string bytes = testutil::readFile(path);
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string id = bytes.substr(at, 4);
        const std::uint32_t size = le32(bytes, at + 4);
        if (id == "fmt ") {
            r.channels = static_cast<std::uint8_t>(bytes[at + 10]);
            r.rate = le32(bytes, at + 12);
            r.bits = static_cast<std::uint8_t>(bytes[at + 22]);
        } else if (id == "data") {
            const std::size_t start = at + 8;
            r.samples.resize((bytes.size() - start) / 2);
            std::memcpy(r.samples.data(), bytes.data() + start, r.samples.size() * 2);
            break;
        }
        at += 8 + size;
    }
    return r;
}

// Runs the probe with the wave writer recording to out.wav.
Recording record(const std::string& arguments)
{
    // sample-type is a general option: under [wave] it is ignored and the
    // writer records 32-bit floats.
    testutil::writeFile("alsoft.conf", "[general]\ndrivers = wave\nsample-type = int16\n[wave]\nfile = out.wav\n");
    const std::string command = "ALSOFT_DRIVERS=wave ALSOFT_CONF=alsoft.conf " AUDIO_PROBE_PATH " " + arguments;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return readWave("out.wav");
}

} // namespace

TEST(RecordedMix, KeyedLoopAndOneShot)
{
    testutil::TempDir dir;
    soundfiles::writeTone("loop.wav", 22050, 1, 22050, 440.0);
    soundfiles::writeTone("shot.wav", 4410, 1, 22050, 880.0);
    const Recording r = record("bank loop.wav shot.wav");
    ASSERT_EQ(r.bits, 16u);
    ASSERT_GT(r.rate, 0u);
    ASSERT_GT(r.samples.size(), static_cast<std::size_t>(3.3 * r.rate * r.channels));

    const double full = r.rms(0.3, 0.9);
    const double quarter = r.rms(1.3, 1.9);
    EXPECT_GT(full, 1000.0);
    // The loop played on at the volume it was refreshed with.
    EXPECT_NEAR(quarter / full, 0.25, 0.08);
    // Without refreshes it stopped; then the one-shot sounded once.
    EXPECT_LT(r.rms(2.1, 2.25), full * 0.05);
    EXPECT_GT(r.rms(2.35, 2.45), 1000.0);
    EXPECT_LT(r.rms(3.0, 3.3), full * 0.05);
}

TEST(RecordedMix, MusicFollowsItsVolume)
{
    testutil::TempDir dir;
    ASSERT_TRUE(xm::save(xm::testModule(4, 10), "song.xm"));
    const Recording first = record("music song.xm 50");
    ASSERT_EQ(first.bits, 16u);
    const double loud = first.rms(0.4, 1.3);
    const double silent = record("music song.xm 0").rms(0.4, 1.3);
    EXPECT_GT(loud, 300.0);
    EXPECT_LT(silent, 1.0);
}
