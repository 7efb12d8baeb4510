#include "app/AppSettings.h"
#include "framework/Core.h"
#include "framework/CoreConfig.h"

#include <gtest/gtest.h>

// "Reset to Defaults" puts vertical sync back on and hides the frame counter,
// whatever the framework configuration said.
TEST(AppSettingsReset, SyncOnCounterOff)
{
    orv::setVerticalSync(false);
    orv::coreConfig.displayFPS = true;
    orv::coreState.showFps = true;
    appSettings.renderScale = 3.0f;
    appSettings.physicsDebug = true;
    resetSettings();
    EXPECT_TRUE(orv::coreConfig.vsyncEnabled);
    EXPECT_TRUE(orv::coreState.currentVsync);
    EXPECT_FALSE(orv::coreConfig.displayFPS);
    EXPECT_FALSE(orv::coreState.showFps);
    EXPECT_FLOAT_EQ(appSettings.renderScale, 2.0f);
    EXPECT_FALSE(appSettings.physicsDebug);
}
