// The joystick mapping through a scripted joystick: dead zones and exponents,
// pedals at rest on either end of their axis, missing devices and axes, how
// the stick and pedals combine with the keys, and the hot-key buttons
// counting once per press.
#include "vehicle/JoystickInput.h"
#include "vehicle/VehicleDynamics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

namespace {

class ScriptedJoystick : public JoystickSource {
public:
    bool connected = true;
    std::map<sf::Joystick::Axis, float> axes;
    std::set<unsigned> buttons;
    bool isConnected(unsigned joystick) const override { return connected && joystick == 0; }
    bool hasAxis(unsigned, sf::Joystick::Axis axis) const override { return axes.count(axis) > 0; }
    float axisPosition(unsigned, sf::Joystick::Axis axis) const override { return axes.at(axis); }
    bool isButtonPressed(unsigned, unsigned button) const override { return buttons.count(button) > 0; }
};

TEST(JoystickInput, AxisShaping)
{
    struct Case {
        float value, deadZone, exponent, expected;
    };
    const float nan = std::nanf("");
    const Case cases[] = {
        {0.05f, 0.1f, 1.0f, 0.0f},   // inside the dead zone
        {0.1f, 0.1f, 1.0f, 0.0f},    // on its edge
        {0.55f, 0.1f, 1.0f, 0.5f},   // rescaled past it
        {-0.55f, 0.1f, 1.0f, -0.5f}, // sign kept
        {1.0f, 0.1f, 1.0f, 1.0f},
        {1.5f, 0.1f, 1.0f, 1.0f},    // past the end
        {0.5f, 0.0f, 2.0f, 0.25f},   // exponent: finer near the centre
        {-0.5f, 0.0f, 2.0f, -0.25f},
        {0.5f, 0.0f, 0.0f, 0.5f},    // an unusable exponent is linear
        {nan, 0.1f, 1.0f, 0.0f},
        {1.0f, 5.0f, 1.0f, 1.0f},    // a dead zone past its range still reaches full
    };
    for (const Case& c : cases)
        EXPECT_NEAR(shapeAxis(c.value, c.deadZone, c.exponent), c.expected, 1e-5f)
            << c.value << " dz " << c.deadZone << " exp " << c.exponent;
}

TEST(JoystickInput, PedalsRestOnEitherEndOfTheirAxis)
{
    const PedalAxis trigger{sf::Joystick::Z, -100.0f, 100.0f};
    const PedalAxis wheelPedal{sf::Joystick::Y, 100.0f, -100.0f};
    const PedalAxis flat{sf::Joystick::Y, 50.0f, 50.0f};
    EXPECT_FLOAT_EQ(pedalLevel(-100.0f, trigger, 0.0f, 1.0f), 0.0f);
    EXPECT_FLOAT_EQ(pedalLevel(0.0f, trigger, 0.0f, 1.0f), 0.5f);
    EXPECT_FLOAT_EQ(pedalLevel(100.0f, trigger, 0.0f, 1.0f), 1.0f);
    EXPECT_FLOAT_EQ(pedalLevel(100.0f, wheelPedal, 0.0f, 1.0f), 0.0f);
    EXPECT_FLOAT_EQ(pedalLevel(-100.0f, wheelPedal, 0.0f, 1.0f), 1.0f);
    EXPECT_FLOAT_EQ(pedalLevel(-96.0f, trigger, 0.05f, 1.0f), 0.0f) << "a trigger not quite at rest";
    EXPECT_FLOAT_EQ(pedalLevel(120.0f, trigger, 0.0f, 1.0f), 1.0f);
    EXPECT_FLOAT_EQ(pedalLevel(0.0f, flat, 0.0f, 1.0f), 0.0f);
}

TEST(JoystickInput, ReadsTheMappedAxesAndButtons)
{
    ScriptedJoystick pad;
    pad.axes = {{sf::Joystick::X, -55.0f}, {sf::Joystick::R, 100.0f}, {sf::Joystick::Z, 0.0f}};
    pad.buttons = {0};
    JoystickMapping mapping;
    JoystickControls c = readJoystick(pad, mapping, true);
    EXPECT_TRUE(c.connected);
    EXPECT_NEAR(c.steer, -0.5f, 1e-5f);
    EXPECT_FLOAT_EQ(c.throttle, 1.0f);
    EXPECT_NEAR(c.brake, 0.5f / 0.95f - 0.05f / 0.95f, 1e-5f);
    EXPECT_TRUE(c.handbrake);

    mapping.steerInverted = true;
    mapping.handbrakeButton = -1;
    c = readJoystick(pad, mapping, true);
    EXPECT_NEAR(c.steer, 0.5f, 1e-5f);
    EXPECT_FALSE(c.handbrake);

    // A wheel without the mapped axes reads as centred and at rest.
    pad.axes = {{sf::Joystick::Y, std::nanf("")}};
    mapping.steerAxis = sf::Joystick::U;
    mapping.throttle.axis = sf::Joystick::Y;
    c = readJoystick(pad, mapping, true);
    EXPECT_TRUE(c.connected);
    EXPECT_EQ(c.steer, 0.0f);
    EXPECT_EQ(c.throttle, 0.0f);
    EXPECT_EQ(c.brake, 0.0f);
}

TEST(JoystickInput, NothingWithoutDeviceFocusOrWhenSwitchedOff)
{
    ScriptedJoystick pad;
    pad.axes = {{sf::Joystick::X, 100.0f}};
    JoystickMapping mapping;
    EXPECT_FALSE(readJoystick(pad, mapping, false).connected);
    mapping.joystick = 3; // nothing there
    EXPECT_FALSE(readJoystick(pad, mapping, true).connected);
    mapping.joystick = 99;
    EXPECT_FALSE(readJoystick(pad, mapping, true).connected);
    mapping = JoystickMapping();
    mapping.enabled = false;
    EXPECT_FALSE(readJoystick(pad, mapping, true).connected);
    pad.connected = false;
    EXPECT_FALSE(readJoystick(pad, JoystickMapping(), true).connected);
}

TEST(JoystickInput, KeysWinAndPedalsCombine)
{
    struct Case {
        const char* what;
        float keySteer, keyThrottle;
        bool keyHandbrake;
        float engineLevel;
        JoystickControls pad;
        float steer, throttle, brakeInput, engineAfter;
        bool handbrake;
    };
    const Case cases[] = {
        {"stick alone", 0, 0, false, 0.0f, {true, -0.4f, 0.0f, 0.0f, false}, -0.4f, 0.0f, 1.0f, 0.0f, false},
        {"steering key wins", 1, 0, false, 0.0f, {true, -0.4f, 0.0f, 0.0f, false}, 1.0f, 0.0f, 1.0f, 0.0f, false},
        {"part throttle", 0, 0, false, 0.2f, {true, 0.0f, 0.6f, 0.0f, false}, 0.0f, 0.6f, 1.0f, 0.2f, false},
        {"throttle from reverse cuts", 0, 0, false, -0.5f, {true, 0, 0.6f, 0, false}, 0.0f, 0.6f, 1.0f, 0.0f, false},
        {"brake pedal as a level", 0, 0, false, 0.7f, {true, 0, 0, 0.3f, false}, 0.0f, -0.3f, 0.3f, 0.0f, false},
        {"both pedals brake", 0, 0, false, 0.0f, {true, 0, 1.0f, 0.5f, false}, 0.0f, -0.5f, 0.5f, 0.0f, false},
        {"throttle key wins", 0, -1, false, -0.2f, {true, 0, 1.0f, 0, false}, 0.0f, -1.0f, 1.0f, -0.2f, false},
        {"handbrake button", 0, 0, false, 0.0f, {true, 0, 1.0f, 0, true}, 0.0f, 0.0f, 1.0f, 0.0f, true},
        {"handbrake key", 0, 0, true, 0.0f, {true, 0.3f, 1.0f, 0, false}, 0.3f, 0.0f, 1.0f, 0.0f, true},
        {"no pad", 0, 0, false, 0.0f, {false, 1.0f, 1.0f, 0, true}, 0.0f, 0.0f, 1.0f, 0.0f, false},
    };
    for (const Case& c : cases) {
        VehicleDynamics dyn;
        dyn.steerInput = c.keySteer;
        dyn.throttle = c.keyThrottle;
        dyn.handbrake = c.keyHandbrake;
        dyn.engineLevel = c.engineLevel;
        addJoystickControls(dyn, c.pad);
        EXPECT_FLOAT_EQ(dyn.steerInput, c.steer) << c.what;
        EXPECT_FLOAT_EQ(dyn.throttle, c.throttle) << c.what;
        EXPECT_FLOAT_EQ(dyn.brakeInput, c.brakeInput) << c.what;
        EXPECT_FLOAT_EQ(dyn.engineLevel, c.engineAfter) << c.what;
        EXPECT_EQ(dyn.handbrake, c.handbrake) << c.what;
    }
}

TEST(JoystickInput, HotKeyButtonsCountOncePerPress)
{
    ScriptedJoystick pad;
    const JoystickMapping mapping;
    JoystickButtonMemory memory;
    pad.buttons = {static_cast<unsigned>(mapping.hornButton)};
    EXPECT_TRUE(joystickPresses(pad, mapping, true, memory).horn);
    EXPECT_FALSE(joystickPresses(pad, mapping, true, memory).horn) << "held";
    pad.buttons = {static_cast<unsigned>(mapping.reloadButton), static_cast<unsigned>(mapping.parkButton)};
    const JoystickPresses both = joystickPresses(pad, mapping, true, memory);
    EXPECT_TRUE(both.reload);
    EXPECT_TRUE(both.park);
    EXPECT_FALSE(both.horn);
    pad.buttons = {static_cast<unsigned>(mapping.hornButton)};
    EXPECT_FALSE(joystickPresses(pad, mapping, false, memory).horn) << "without focus";
    EXPECT_TRUE(joystickPresses(pad, mapping, true, memory).horn) << "pressed again once focus is back";
}

} // namespace
