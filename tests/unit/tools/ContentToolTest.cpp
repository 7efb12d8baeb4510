// The content tool: its output is the same on every run, every picture and
// sound it writes loads, loops meet without a click, the tune plays, and the
// committed text content agrees with the pictures it names.

#include "EffectPictures.h"
#include "TestUtil.h"
#include "framework/IniFile.h"

#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/Graphics/Image.hpp>

#include <dumb.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// What the build generated into the runnable folder; the determinism test
// runs the tool once more and compares.
fs::path generated()
{
    return fs::path(RUN_DIR);
}

std::map<std::string, std::string> filesUnder(const fs::path& root)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            files[fs::relative(entry.path(), root).generic_string()] = bytes.str();
        }
    return files;
}

std::vector<fs::path> withExtension(const fs::path& root, const std::string& extension)
{
    std::vector<fs::path> paths;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file() && entry.path().extension() == extension)
            paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    return paths;
}

bool opaqueInside(const sf::Image& image, const sf::IntRect& r)
{
    for (int y = r.top; y < r.top + r.height; ++y)
        for (int x = r.left; x < r.left + r.width; ++x)
            if (image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y)).a > 0)
                return true;
    return false;
}

bool within(const sf::Image& image, const sf::IntRect& r)
{
    return r.left >= 0 && r.top >= 0 && r.width > 0 && r.height > 0 &&
           r.left + r.width <= static_cast<int>(image.getSize().x) &&
           r.top + r.height <= static_cast<int>(image.getSize().y);
}

} // namespace

TEST(ContentTool, TwoRunsWriteTheSameBytes)
{
    testutil::TempDir dir;
    ASSERT_EQ(std::system((std::string(ZCONTENT_PATH) + " again").c_str()), 0);
    const auto again = filesUnder("again");
    EXPECT_GT(again.size(), 40u);
    for (const auto& [name, bytes] : again) {
        std::ifstream in(generated() / name, std::ios::binary);
        std::ostringstream built;
        built << in.rdbuf();
        EXPECT_TRUE(bytes == built.str()) << name << " differs between the build's run and this one";
    }
}

TEST(ContentTool, EveryPictureLoads)
{
    const auto pictures = withExtension(generated(), ".png");
    EXPECT_GE(pictures.size(), 25u);
    for (const fs::path& path : pictures) {
        sf::Image image;
        EXPECT_TRUE(image.loadFromFile(path.string())) << path;
        EXPECT_GT(image.getSize().x * image.getSize().y, 0u) << path;
    }
    // Floor textures: 256 x 256 and seamless, so their opposite edges are as
    // alike as neighbouring columns inside the picture.
    for (const fs::path& path : withExtension(generated() / "Data/Textures", ".png")) {
        sf::Image image;
        ASSERT_TRUE(image.loadFromFile(path.string()));
        ASSERT_EQ(image.getSize(), sf::Vector2u(256, 256)) << path;
        auto columnStep = [&](unsigned x0, unsigned x1) {
            double sum = 0.0;
            for (unsigned y = 0; y < 256; ++y) {
                const sf::Color p = image.getPixel(x0, y), q = image.getPixel(x1, y);
                sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
            }
            return sum / 256.0;
        };
        double inside = 0.0;
        for (unsigned x = 0; x < 255; ++x)
            inside = std::max(inside, columnStep(x, x + 1));
        EXPECT_LE(columnStep(255, 0), inside + 1.0) << path << ": the tile's left and right edges do not meet";
    }
}

TEST(ContentTool, EverySoundLoadsAndLoopsMeetWithoutAClick)
{
    std::vector<fs::path> sounds = withExtension(generated(), ".wav");
    const auto oggs = withExtension(generated(), ".ogg");
    sounds.insert(sounds.end(), oggs.begin(), oggs.end());
    EXPECT_GE(sounds.size(), 24u);
    bool stereo = false;
    for (const fs::path& path : sounds) {
        sf::SoundBuffer buffer;
        ASSERT_TRUE(buffer.loadFromFile(path.string())) << path;
        ASSERT_GT(buffer.getSampleCount(), 0u) << path;
        EXPECT_EQ(buffer.getSampleRate(), 44100u) << path;
        stereo = stereo || buffer.getChannelCount() == 2;
        const std::string text = path.generic_string();
        const bool loop = text.find("/Engine/") != std::string::npos || text.find("/ambience/") != std::string::npos;
        if (!loop || path.extension() != ".wav")
            continue; // Ogg's encoder smears the edges; the WAV loops are checked exactly
        const unsigned channels = buffer.getChannelCount();
        const sf::Int16* s = buffer.getSamples();
        const std::size_t n = buffer.getSampleCount();
        for (unsigned c = 0; c < channels; ++c) {
            int largestStep = 0;
            for (std::size_t i = c + channels; i < n; i += channels)
                largestStep = std::max(largestStep, std::abs(s[i] - s[i - channels]));
            const int wrap = std::abs(s[c] - s[n - channels + c]);
            EXPECT_LE(wrap, largestStep) << path << ": the loop's end jumps to its start";
        }
    }
    EXPECT_TRUE(stereo);
}

TEST(ContentTool, TheTuneLoadsWithDumbAndPlays)
{
    dumb_register_stdfiles();
    const std::string path = (generated() / "Data/Music/magic.xm").string();
    DUH* duh = dumb_load_xm(path.c_str());
    ASSERT_NE(duh, nullptr);
    // At least a minute before it repeats.
    EXPECT_GE(duh_get_length(duh), 60L * 65536L);
    DUH_SIGRENDERER* renderer = duh_start_sigrenderer(duh, 0, 2, 0);
    ASSERT_NE(renderer, nullptr);
    // Render from the groove onwards (pattern 1 starts at 7.68 s).
    std::vector<short> samples(44100 * 2 * 20);
    const long frames = duh_render(renderer, 16, 0, 1.0f, 65536.0f / 44100.0f, 44100 * 20, samples.data());
    EXPECT_EQ(frames, 44100 * 20);
    double sum = 0.0;
    int clipped = 0;
    for (short v : samples) {
        sum += static_cast<double>(v) * v;
        clipped += v == 32767 || v == -32768;
    }
    const double rms = std::sqrt(sum / static_cast<double>(samples.size()));
    EXPECT_GT(rms, 1000.0) << "the tune is (nearly) silent";
    EXPECT_LT(clipped, 100) << "the channels together pass full scale";
    duh_end_sigrenderer(renderer);
    unload_duh(duh);

    DUH* ditty = dumb_load_mod((generated() / "Data/Music/Ditty.mod").string().c_str());
    EXPECT_NE(ditty, nullptr);
    if (ditty)
        unload_duh(ditty);
}

TEST(ContentTool, WildlifeAtlasHasAnAnimalInEveryFrame)
{
    sf::Image atlas;
    ASSERT_TRUE(atlas.loadFromFile((generated() / "Data/Effects/Wildlife.png").string()));
    const std::vector<sf::IntRect> frames = content::wildlifeFrames();
    for (const sf::IntRect& r : frames) {
        ASSERT_TRUE(within(atlas, r));
        EXPECT_TRUE(opaqueInside(atlas, r)) << r.left << "," << r.top << " is empty";
    }
    // Nothing drawn outside the frames: it would never be seen.
    for (unsigned y = 0; y < atlas.getSize().y; ++y)
        for (unsigned x = 0; x < atlas.getSize().x; ++x) {
            if (atlas.getPixel(x, y).a == 0)
                continue;
            const bool inFrame = std::any_of(frames.begin(), frames.end(), [&](const sf::IntRect& r) {
                return r.contains(static_cast<int>(x), static_cast<int>(y));
            });
            EXPECT_TRUE(inFrame) << "pixel " << x << "," << y << " outside every frame";
        }
}

// The committed set and vehicle files name rectangles on generated pictures.
TEST(ContentTool, CommittedFilesFitTheirPictures)
{
    const fs::path content = fs::path(CONTENT_SOURCE_DIR) / "Data";
    int images = 0;
    for (const fs::path& set : withExtension(content / "Images", ".ini")) {
        sf::Image atlas;
        ASSERT_TRUE(atlas.loadFromFile((generated() / "Data/Images" / set.filename()).replace_extension(".png").string()))
            << set;
        orv::IniFile ini;
        ASSERT_TRUE(ini.load(set.string()));
        ini.setSection("info");
        const int count = ini.getInt("imagesCount", 0);
        for (int i = 0; i < count; ++i, ++images) {
            ini.setSection("image" + std::to_string(i));
            const sf::IntRect r = ini.getIntRect("rect", sf::IntRect());
            EXPECT_TRUE(within(atlas, r) && opaqueInside(atlas, r)) << set << " image " << i;
        }
    }
    EXPECT_GE(images, 6);

    int cars = 0;
    for (const fs::path& car : withExtension(content / "Cars", ".ini")) {
        ++cars;
        sf::Image picture;
        ASSERT_TRUE(picture.loadFromFile((generated() / "Data/Cars" / car.filename()).replace_extension(".png").string()))
            << car;
        orv::IniFile ini;
        ASSERT_TRUE(ini.load(car.string()));
        ini.setSection("body");
        const sf::IntRect body = ini.getIntRect("imageRect", sf::IntRect());
        EXPECT_TRUE(within(picture, body) && opaqueInside(picture, body)) << car;
        const sf::Vector2i exhaust = ini.getVector2i("exhaustPos", sf::Vector2i());
        EXPECT_LE(std::abs(exhaust.x), body.width / 2) << car;
        EXPECT_LE(std::abs(exhaust.y), body.height / 2) << car;
        ini.setSection("info");
        const int types = ini.getInt("wheelTypesCount", 0);
        for (int i = 0; i < types; ++i) {
            ini.setSection("wheelType" + std::to_string(i));
            const sf::IntRect wheel = ini.getIntRect("imageRect", sf::IntRect());
            EXPECT_TRUE(within(picture, wheel) && opaqueInside(picture, wheel)) << car << " wheel type " << i;
            EXPECT_FALSE(wheel.intersects(body)) << car;
        }
    }
    EXPECT_GE(cars, 6);
}
