// "[input]" of the settings: a wheel's mapping read as written, each bad
// value said in one line and replaced by its default, and a round trip
// through saveSettings.
#include "TestUtil.h"
#include "app/AppSettings.h"
#include "app/InputSettings.h"
#include "framework/IniFile.h"

namespace {

class InputSettings : public testutil::LoggedTest {
protected:
    JoystickMapping read(const std::string& section)
    {
        testutil::writeFile("Tarnwick.ini", "[input]\n" + section);
        orv::IniFile ini;
        EXPECT_TRUE(ini.load("Tarnwick.ini"));
        JoystickMapping mapping;
        readInputSettings(ini, mapping);
        return mapping;
    }
};

TEST_F(InputSettings, ReadsAWheelWithPedalsOnSeparateAxes)
{
    const JoystickMapping m = read("joystick=1\nsteerAxis=x\nsteerDeadZone=0.02\nsteerExponent=1.5\n"
                                   "throttleAxis=Y\nthrottleRest=100\nthrottleFull=-100\n"
                                   "brakeAxis=PovY\nbrakeRest=100\nbrakeFull=-100\npedalDeadZone=0\n"
                                   "handbrakeButton=-1\nhornButton=31\nsteerInverted=yes\n");
    EXPECT_EQ(m.joystick, 1u);
    EXPECT_EQ(m.steerAxis, sf::Joystick::X);
    EXPECT_FLOAT_EQ(m.steerDeadZone, 0.02f);
    EXPECT_FLOAT_EQ(m.steerExponent, 1.5f);
    EXPECT_EQ(m.throttle.axis, sf::Joystick::Y);
    EXPECT_FLOAT_EQ(m.throttle.rest, 100.0f);
    EXPECT_FLOAT_EQ(m.throttle.full, -100.0f);
    EXPECT_EQ(m.brake.axis, sf::Joystick::PovY);
    EXPECT_FLOAT_EQ(m.pedalDeadZone, 0.0f);
    EXPECT_EQ(m.handbrakeButton, -1);
    EXPECT_EQ(m.hornButton, 31);
    EXPECT_TRUE(m.steerInverted);
    EXPECT_FALSE(logged("[input]"));
}

TEST_F(InputSettings, BadValuesAreSaidOnceAndKeepTheDefault)
{
    struct Case {
        const char* line;
        const char* said;
    };
    const Case cases[] = {
        {"joystick=8", "joystick=8 is not a number from 0 to 7"},
        {"joystick=1.5", "joystick=1.5 is not a whole number"},
        {"steerAxis=W", "steerAxis=W is not an axis"},
        {"steerDeadZone=nan", "steerDeadZone=nan is not a number from 0 to 0.9"},
        {"steerDeadZone=0.95", "steerDeadZone=0.95 is not a number"},
        {"steerExponent=0", "steerExponent=0 is not a number from 0.2 to 5"},
        {"pedalExponent=2x", "pedalExponent=2x is not a number"},
        {"throttleRest=1e309", "throttleRest=1e309 is not a number"},
        {"hornButton=32", "hornButton=32 is not a number from -1 to 31"},
        {"joystickEnabled=maybe", "joystickEnabled=maybe is not true or false"},
        {"brakeRest=100\nbrakeFull=100", "brakeRest equals brakeFull; using the defaults"},
    };
    const JoystickMapping defaults;
    for (const Case& c : cases) {
        orv::Log::reset();
        orv::Log::open("test.log");
        const JoystickMapping m = read(std::string(c.line) + "\n");
        const std::string text = log();
        EXPECT_TRUE(testutil::has(text, std::string("Tarnwick.ini: [input] ") + c.said)) << c.line;
        EXPECT_EQ(testutil::occurrences(text, "[input]"), 1u) << c.line;
        EXPECT_EQ(m.joystick, defaults.joystick) << c.line;
        EXPECT_EQ(m.steerAxis, defaults.steerAxis) << c.line;
        EXPECT_FLOAT_EQ(m.steerDeadZone, defaults.steerDeadZone) << c.line;
        EXPECT_FLOAT_EQ(m.steerExponent, defaults.steerExponent) << c.line;
        EXPECT_FLOAT_EQ(m.pedalExponent, defaults.pedalExponent) << c.line;
        EXPECT_FLOAT_EQ(m.throttle.rest, defaults.throttle.rest) << c.line;
        EXPECT_FLOAT_EQ(m.brake.rest, defaults.brake.rest) << c.line;
        EXPECT_FLOAT_EQ(m.brake.full, defaults.brake.full) << c.line;
        EXPECT_EQ(m.hornButton, defaults.hornButton) << c.line;
        EXPECT_EQ(m.enabled, defaults.enabled) << c.line;
    }
}

TEST_F(InputSettings, SurviveARoundTripThroughTheSettingsFile)
{
    appSettings = AppSettings();
    appSettings.joystick.steerAxis = sf::Joystick::U;
    appSettings.joystick.brake = PedalAxis{sf::Joystick::V, 100.0f, -100.0f};
    appSettings.joystick.pedalExponent = 2.5f;
    appSettings.joystick.parkButton = -1;
    appSettings.joystick.enabled = false;
    const JoystickMapping saved = appSettings.joystick;
    saveSettings();
    appSettings = AppSettings();
    loadSettings();
    EXPECT_EQ(appSettings.joystick.steerAxis, saved.steerAxis);
    EXPECT_EQ(appSettings.joystick.brake.axis, saved.brake.axis);
    EXPECT_FLOAT_EQ(appSettings.joystick.brake.rest, 100.0f);
    EXPECT_FLOAT_EQ(appSettings.joystick.brake.full, -100.0f);
    EXPECT_FLOAT_EQ(appSettings.joystick.pedalExponent, 2.5f);
    EXPECT_EQ(appSettings.joystick.parkButton, -1);
    EXPECT_FALSE(appSettings.joystick.enabled);
    EXPECT_FALSE(logged("[input]"));
    appSettings = AppSettings();
}

} // namespace
