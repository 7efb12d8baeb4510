#include "TestUtil.h"
#include "framework/AppInfo.h"
#include "framework/Log.h"
#include "framework/gui/Theme.h"

#include <gtest/gtest.h>

using namespace orv;
using testutil::TempDir;
using testutil::writeFile;

class ThemeLog : public testutil::LoggedTest {};

TEST_F(ThemeLog, DefaultsWithoutFile)
{
    resetTheme();
    theme.clMessageError = sf::Color::Blue;
    EXPECT_TRUE(loadTheme());
    EXPECT_NE(theme.clMessageError, sf::Color::Blue); // what an earlier load left is reset
    EXPECT_TRUE(logged(": Loaded UI config from uiConfig.ini"));
}

TEST(Theme, FileValuesAndReferences)
{
    TempDir dir;
    struct Case {
        const char* file;
        sf::Color error;
        sf::Color warning;
    };
    const Case cases[] = {
        // A reference to a key the file set, and to one that kept its default.
        {"[button]\nclButtonPressedBack=1,2,3\n[messages]\nclMessageError=clButtonPressedBack\n",
         {1, 2, 3, 255}, {243, 115, 23, 255}},
        {"[messages]\nclMessageError=clButtonPressedBack\nclMessageWarning=#FF000080\n",
         {127, 127, 228, 255}, {255, 0, 0, 128}},
        // A reference to a key read later is no reference: the default stays.
        {"[messages]\nclMessageError=clDialogBlurBack\n", {255, 0, 0, 255}, {243, 115, 23, 255}},
        {"[messages]\nclMessageError.r=1\nclMessageError.g=2\nclMessageError.b=3\nclMessageError.a=4\n",
         {1, 2, 3, 4}, {243, 115, 23, 255}},
    };
    for (const Case& c : cases) {
        writeFile("uiConfig.ini", std::string("[options]\nthemeName=Night\ndarkTheme=yes\nhintShadowOffset=2.5\n") + c.file);
        resetTheme();
        loadTheme();
        EXPECT_EQ(theme.clMessageError, c.error) << c.file;
        EXPECT_EQ(theme.clMessageWarning, c.warning) << c.file;
        EXPECT_EQ(theme.themeName, "Night");
        EXPECT_TRUE(theme.darkTheme);
        EXPECT_FLOAT_EQ(theme.hintShadowOffset, 2.5f);
        EXPECT_EQ(theme.clFormBack, sf::Color(200, 200, 200, 255));
    }
    resetTheme();
}
