#include "TestUtil.h"
#include "framework/AppInfo.h"
#include "framework/Core.h"
#include "framework/CoreConfig.h"
#include "framework/Layers.h"
#include "framework/Screenshot.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

using namespace orv;
using testutil::TempDir;
using testutil::writeFile;

TEST(Core, PollRate)
{
    const float period = 1.0f / 30.0f;
    // A frame cap of 30 or less polls every frame, however short.
    EXPECT_TRUE(isPollDue(25, 30, 0.0f, period));
    EXPECT_TRUE(isPollDue(30, 30, 0.001f, period));
    // Uncapped or faster: only when a poll period has passed.
    EXPECT_FALSE(isPollDue(0, 30, 0.016f, period));
    EXPECT_TRUE(isPollDue(0, 30, 0.034f, period));
    EXPECT_FALSE(isPollDue(60, 30, 0.016f, period));

    // At 60 frames a second, every second frame polls.
    float sincePoll = 0.f;
    int polls = 0;
    for (int frame = 0; frame < 600; ++frame) {
        sincePoll += 1.0f / 60.0f;
        if (isPollDue(0, 30, sincePoll, period)) {
            ++polls;
            sincePoll = 0.f;
        }
    }
    EXPECT_NEAR(polls, 300, 2);
}

TEST(Core, EmulatedView)
{
    const sf::FloatRect wide = emulatedViewRect(800, 600, 1920, 1080);
    EXPECT_NEAR(wide.width, 1066.67f, 0.01f);
    EXPECT_FLOAT_EQ(wide.height, 600.f);
    const sf::FloatRect tall = emulatedViewRect(800, 600, 1080, 1920);
    EXPECT_FLOAT_EQ(tall.width, 800.f);
    EXPECT_NEAR(tall.height, 1422.22f, 0.01f);
}

TEST(Core, SizesFromTheFileFitTheScreenAndTheLayers)
{
    const sf::Vector2u desktop(1280, 720);
    struct WindowCase {
        sf::Vector2i asked, used;
    };
    const WindowCase windows[] = {
        {{800, 600}, {800, 600}},       {{1280, 720}, {1280, 720}},   {{32767, 32767}, {1280, 720}},
        {{65536, 600}, {1280, 600}},    {{320, 200}, {640, 480}},     {{INT_MAX, INT_MAX}, {1280, 720}},
    };
    for (const WindowCase& c : windows)
        EXPECT_EQ(fitWindowToDesktop(c.asked, desktop), c.used) << c.asked.x << "x" << c.asked.y;

    // The emulated view takes the window's aspect; its longer side must fit a
    // texture, and the reduced size must still give such a view.
    const unsigned maxTexture = 8192;
    const sf::Vector2i emulated[] = {{800, 600}, {16384, 16384}, {100000, 100000}, {INT_MAX, INT_MAX}, {640, 9000}};
    for (const sf::Vector2u window : {sf::Vector2u(1280, 720), sf::Vector2u(720, 1280)}) {
        for (const sf::Vector2i& asked : emulated) {
            const sf::Vector2i used = fitEmulatedSize(asked, window, maxTexture);
            const sf::FloatRect view = emulatedViewRect(used.x, used.y, window.x, window.y);
            EXPECT_LE(view.width, maxTexture + 0.5f) << asked.x << "x" << asked.y;
            EXPECT_LE(view.height, maxTexture + 0.5f) << asked.x << "x" << asked.y;
            EXPECT_GE(used.x, 640);
            EXPECT_GE(used.y, 480);
            EXPECT_LE(used.x, asked.x);
            EXPECT_LE(used.y, asked.y);
        }
    }
    EXPECT_EQ(fitEmulatedSize({800, 600}, {1920, 1080}, maxTexture), sf::Vector2i(800, 600));
}

TEST(Core, FrameRateCounterChangesOncePerSecond)
{
    FrameRateCounter counter;
    float clock = 0.f;
    int changes = 0, last = counter.shown();
    for (int frame = 0; frame < 160; ++frame) {
        clock += 0.015625f; // 64 frames a second, exact in binary
        if (counter.frame(clock))
            clock = 0.f;
        if (counter.shown() != last) {
            ++changes;
            last = counter.shown();
        }
    }
    EXPECT_EQ(changes, 1); // 0 -> 64 once; the next full second shows 64 again
    EXPECT_EQ(counter.shown(), 64);
}

TEST(Core, ScreenshotNames)
{
    std::tm t{};
    t.tm_year = 124, t.tm_mon = 11, t.tm_mday = 31, t.tm_hour = 23, t.tm_min = 59, t.tm_sec = 59;
    std::set<std::string> taken;
    auto exists = [&](const std::string& n) { return taken.count(n) > 0; };
    EXPECT_EQ(automaticScreenshotName(t, exists), "screenshot_20241231_235959.png");
    taken.insert("screenshot_20241231_235959.png");
    EXPECT_EQ(automaticScreenshotName(t, exists), "screenshot_20241231_235959_01.png");
    taken.insert("screenshot_20241231_235959_01.png");
    EXPECT_EQ(automaticScreenshotName(t, exists), "screenshot_20241231_235959_02.png");
    EXPECT_EQ(automaticScreenshotName(t, [](const std::string&) { return true; }), "");
}

TEST(CoreConfig, ReadRules)
{
    TempDir dir;
    struct Case {
        const char* file;
        int hintsAlpha;
        float attenuation;
        bool mute;
        bool missing;
    };
    const Case cases[] = {
        {"", 192, 0.005f, true, true},
        {"[ui]\nhintsAlpha=100\n", 192, 0.005f, true, false},                  // no version
        {"[info]\nversion=1\n[ui]\nhintsAlpha=100\n", 100, 0.005f, true, false},
        {"[info]\nversion=1\n[ui]\nhintsAlpha=300\n", 44, 0.005f, true, false}, // low 8 bits
        {"[audio]\nsoundAttenuation=0\nmuteInactiveWindow=0.000000\n", 192, 0.005f, false, false},
        {"[audio]\nsoundAttenuation=-1\nmuteInactiveWindow=2\n", 192, 0.005f, true, false},
        {"[audio]\nsoundAttenuation=0.25\n", 192, 0.25f, true, false},
        // Volumes outside the sliders' 0..100 keep the defaults.
        {"[audio]\nsoundVolume=1000\nmusicVolume=-5\nsoundAttenuation=inf\n", 192, 0.005f, true, false},
    };
    defaultSoundVolume = 90;
    defaultMusicVolume = 0;
    for (const Case& c : cases) {
        std::remove("zozur3.ini");
        if (*c.file)
            writeFile("zozur3.ini", c.file);
        resetCoreConfig();
        loadCoreConfig();
        EXPECT_EQ(coreConfig.hintsAlpha, c.hintsAlpha) << c.file;
        EXPECT_FLOAT_EQ(coreConfig.soundAttenuation, c.attenuation) << c.file;
        EXPECT_EQ(coreConfig.muteInactiveWindow, c.mute) << c.file;
        EXPECT_EQ(coreState.configFileMissing, c.missing) << c.file;
        EXPECT_EQ(coreConfig.soundVolume, 90);
        EXPECT_EQ(coreConfig.musicVolume, 0);
    }
}

TEST(CoreConfig, SavedValuesReadBack)
{
    TempDir dir;
    resetCoreConfig();
    coreConfig.width = 640;
    coreConfig.musicLoadPath = "Data\\Music\\magic.xm";
    coreConfig.muteInactiveWindow = false;
    saveCoreConfig();
    resetCoreConfig();
    loadCoreConfig();
    EXPECT_EQ(coreConfig.width, 640);
    EXPECT_EQ(coreConfig.musicLoadPath, "Data\\Music\\magic.xm");
    EXPECT_FALSE(coreConfig.muteInactiveWindow);
    EXPECT_EQ(coreConfig.version, 1);
}
