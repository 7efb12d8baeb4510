#include "TestUtil.h"
#include "framework/AppInfo.h"
#include "framework/Keyboard.h"
#include "framework/Log.h"

#include <SFML/Window/Keyboard.hpp>

#include <gtest/gtest.h>

using namespace orv;

namespace {

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Keyboard::reset();
        Keyboard::focusOverride = 1;
        Keyboard::buildKeyNames();
    }
    void TearDown() override { Keyboard::reset(); }
};

} // namespace

TEST_F(KeyboardTest, ConsumeOncePerPress)
{
    Keyboard::addPressedKey(sf::Keyboard::H);
    Keyboard::addPressedKey(sf::Keyboard::Unknown); // never stored
    EXPECT_EQ(Keyboard::pressedKeys.size(), 1u);
    EXPECT_TRUE(wasKeyPressed(sf::Keyboard::H, false));
    EXPECT_TRUE(wasKeyPressed(sf::Keyboard::H, true));
    EXPECT_FALSE(wasKeyPressed(sf::Keyboard::H, true));

    // Two presses within one poll act twice.
    Keyboard::addPressedKey(sf::Keyboard::M);
    Keyboard::addPressedKey(sf::Keyboard::M);
    EXPECT_TRUE(wasKeyPressed(sf::Keyboard::M, true));
    EXPECT_TRUE(wasKeyPressed(sf::Keyboard::M, true));
    EXPECT_FALSE(wasKeyPressed(sf::Keyboard::M, true));

    // Without the focus nothing was pressed, and nothing is consumed.
    Keyboard::addPressedKey(sf::Keyboard::E);
    Keyboard::focusOverride = 0;
    EXPECT_FALSE(wasKeyPressed(sf::Keyboard::E, true));
    EXPECT_FALSE(isKeyDown(sf::Keyboard::E));
    Keyboard::focusOverride = 1;
    EXPECT_TRUE(wasKeyPressed(sf::Keyboard::E, true));
}

TEST_F(KeyboardTest, ListHolds129Presses)
{
    testutil::TempDir dir;
    Log::reset();
    Log::open("k.log");
    for (int i = 0; i < 130; ++i)
        Keyboard::addPressedKey(sf::Keyboard::A);
    EXPECT_EQ(Keyboard::pressedKeys.size(), 129u);
    EXPECT_TRUE(testutil::has(testutil::readFile("k.log"), "Error: Keyboard::addPressedKey: Too many pressed keycodes."));
    Log::disable();
}

TEST_F(KeyboardTest, KeyNames)
{
    struct Case {
        int code;
        const char* name;
    };
    // The pseudo codes, both ends of the table, and codes outside it.
    const Case cases[] = {
        {keyCtrlZ, "Ctrl+Z"}, {sf::Keyboard::Space, "Space"}, {sf::Keyboard::A, "A"},
        {sf::Keyboard::Pause, "Pause"}, {101, ""}, {-1, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(getKeyName(c.code), c.name) << c.code;
}
