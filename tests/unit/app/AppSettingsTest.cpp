#include "TestUtil.h"
#include "app/AppSettings.h"
#include "framework/IniFile.h"

#include <gtest/gtest.h>

using testutil::TempDir;
using testutil::writeFile;

TEST(AppSettings, FirstRunWritesWhatItReadsBack)
{
    TempDir dir;
    appSettings = AppSettings();
    appSettings.ambient = false;
    loadSettings(); // no file: the defaults, whatever was held
    const AppSettings first = appSettings;
    EXPECT_TRUE(first.ambient);
    saveSettings();
    appSettings = AppSettings();
    appSettings.showMinimap = !first.showMinimap;
    appSettings.renderScale = 3.0f;
    loadSettings();
    EXPECT_FLOAT_EQ(appSettings.renderScale, first.renderScale);
    EXPECT_EQ(appSettings.showMinimap, first.showMinimap);
    EXPECT_EQ(appSettings.tracksParticles, first.tracksParticles);
}

TEST(AppSettings, ClampingAndRoundTrip)
{
    TempDir dir;
    struct Case {
        const char* value;
        float expected;
    };
    // A value that cannot be read as a number keeps the default scale.
    const Case cases[] = {{"5", 3.5f},    {"0.1", 0.5f},   {"1.5", 1.5f}, {"junk", 2.0f},
                          {"nan", 2.0f}, {"1e309", 2.0f}, {"", 2.0f}};
    for (const Case& c : cases) {
        writeFile("Tarnwick.ini", std::string("[video]\nrenderScale=") + c.value +
                                      "\nsmoothTerrain=false\n[UI]\nshowMinimap=yes\n");
        loadSettings();
        EXPECT_FLOAT_EQ(appSettings.renderScale, c.expected) << c.value;
        EXPECT_FALSE(appSettings.smoothTerrain);
        EXPECT_TRUE(appSettings.showMinimap);
        saveSettings();
        orv::IniFile saved;
        ASSERT_TRUE(saved.load("Tarnwick.ini"));
        saved.setSection("video");
        EXPECT_FLOAT_EQ(saved.getFloat("renderScale", 0.f), c.expected);
    }
    setRenderScale(3.0f + 0.5f);
    EXPECT_FLOAT_EQ(appSettings.renderScale, 3.5f);
    setRenderScale(4.0f);
    EXPECT_FLOAT_EQ(appSettings.renderScale, 3.5f);
    setRenderScale(0.0f);
    EXPECT_FLOAT_EQ(appSettings.renderScale, 0.5f);
}
