#include "TestUtil.h"
#include "app/AppSettings.h"
#include "framework/AppInfo.h"
#include "framework/IniFile.h"

#include <gtest/gtest.h>

using testutil::TempDir;
using testutil::writeFile;

TEST(AppSettings, FirstRunDefaultsAndSave)
{
    TempDir dir;
    orv::appInfo.title = "Zendrix 2 Tarnwick";
    orv::appInfo.version = "1.00";
    appSettings = AppSettings();
    appSettings.ambient = false;
    loadSettings();
    EXPECT_FLOAT_EQ(appSettings.renderScale, 2.0f);
    EXPECT_TRUE(appSettings.tracksParticles && appSettings.exhaustParticles && appSettings.ambient);
    EXPECT_FALSE(appSettings.showHelp || appSettings.showMinimap || appSettings.showTuningEditor ||
                 appSettings.physicsDebug);
    saveSettings();
    EXPECT_EQ(testutil::readFile("Tarnwick.ini"),
              "[info]\ngenerator=Zendrix 2 Tarnwick v1.00\n"
              "[video]\nrenderScale=2.000000\nsmoothTerrain=True\nsmoothObjects=True\n"
              "[game]\ntracksParticles=True\nexhaustParticles=True\nambient=True\n"
              "[ui]\nshowTuningEditor=False\nshowHelp=False\nshowMinimap=False\nphysicsDebug=False\n");
}

TEST(AppSettings, ClampingAndRoundTrip)
{
    TempDir dir;
    struct Case {
        const char* value;
        float expected;
    };
    const Case cases[] = {{"5", 3.5f}, {"0.1", 0.5f}, {"1.5", 1.5f}, {"junk", 0.5f}, {"nan", 0.5f}, {"", 2.0f}};
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
