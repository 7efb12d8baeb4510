#include "vehicle/JoystickInput.h"

#include "vehicle/VehicleDynamics.h"

#include <algorithm>
#include <cmath>

namespace {

class SfmlJoysticks : public JoystickSource {
public:
    bool isConnected(unsigned joystick) const override { return sf::Joystick::isConnected(joystick); }
    bool hasAxis(unsigned joystick, sf::Joystick::Axis axis) const override
    {
        return sf::Joystick::hasAxis(joystick, axis);
    }
    float axisPosition(unsigned joystick, sf::Joystick::Axis axis) const override
    {
        return sf::Joystick::getAxisPosition(joystick, axis);
    }
    bool isButtonPressed(unsigned joystick, unsigned button) const override
    {
        return sf::Joystick::isButtonPressed(joystick, button);
    }
};

float axis(const JoystickSource& source, unsigned joystick, sf::Joystick::Axis which, float rest)
{
    if (!source.hasAxis(joystick, which))
        return rest;
    const float value = source.axisPosition(joystick, which);
    return std::isfinite(value) ? value : rest;
}

bool button(const JoystickSource& source, unsigned joystick, int which)
{
    return which >= 0 && static_cast<unsigned>(which) < sf::Joystick::ButtonCount &&
           source.isButtonPressed(joystick, static_cast<unsigned>(which));
}

// True on the frame the button goes down.
bool pressedNow(bool down, bool& wasDown)
{
    const bool pressed = down && !wasDown;
    wasDown = down;
    return pressed;
}

} // namespace

const JoystickSource& sfmlJoysticks()
{
    static const SfmlJoysticks joysticks;
    return joysticks;
}

float shapeAxis(float value, float deadZone, float exponent)
{
    if (!std::isfinite(value))
        return 0.0f;
    const float dz = std::clamp(deadZone, 0.0f, 0.9f);
    const float magnitude = std::min(std::fabs(value), 1.0f);
    if (magnitude <= dz)
        return 0.0f;
    const float shaped = std::pow((magnitude - dz) / (1.0f - dz), exponent > 0.0f ? exponent : 1.0f);
    return value < 0.0f ? -shaped : shaped;
}

float pedalLevel(float position, const PedalAxis& pedal, float deadZone, float exponent)
{
    const float travel = pedal.full - pedal.rest;
    if (!(std::fabs(travel) > 0.0f))
        return 0.0f;
    const float level = std::clamp((position - pedal.rest) / travel, 0.0f, 1.0f);
    return shapeAxis(level, deadZone, exponent);
}

JoystickControls readJoystick(const JoystickSource& source, const JoystickMapping& mapping, bool focus)
{
    JoystickControls pad;
    const unsigned j = mapping.joystick;
    if (!mapping.enabled || !focus || j >= sf::Joystick::Count || !source.isConnected(j))
        return pad;
    pad.connected = true;
    const float steer = shapeAxis(axis(source, j, mapping.steerAxis, 0.0f) / 100.0f, mapping.steerDeadZone,
                                  mapping.steerExponent);
    pad.steer = mapping.steerInverted ? -steer : steer;
    pad.throttle = pedalLevel(axis(source, j, mapping.throttle.axis, mapping.throttle.rest), mapping.throttle,
                              mapping.pedalDeadZone, mapping.pedalExponent);
    pad.brake = pedalLevel(axis(source, j, mapping.brake.axis, mapping.brake.rest), mapping.brake,
                           mapping.pedalDeadZone, mapping.pedalExponent);
    pad.handbrake = button(source, j, mapping.handbrakeButton);
    return pad;
}

JoystickPresses joystickPresses(const JoystickSource& source, const JoystickMapping& mapping, bool focus,
                                JoystickButtonMemory& memory)
{
    const unsigned j = mapping.joystick;
    const bool live = mapping.enabled && focus && j < sf::Joystick::Count && source.isConnected(j);
    JoystickPresses presses;
    presses.horn = pressedNow(live && button(source, j, mapping.hornButton), memory.horn);
    presses.reload = pressedNow(live && button(source, j, mapping.reloadButton), memory.reload);
    presses.park = pressedNow(live && button(source, j, mapping.parkButton), memory.park);
    return presses;
}

void addJoystickControls(VehicleDynamics& dyn, const JoystickControls& pad)
{
    if (!pad.connected)
        return;
    if (dyn.steerInput == 0.0f)
        dyn.steerInput = pad.steer;
    if (pad.handbrake)
        dyn.handbrake = true;
    if (dyn.handbrake) {
        dyn.throttle = 0.0f;
        return;
    }
    if (dyn.throttle != 0.0f)
        return;
    if (pad.brake > 0.0f) {
        if (dyn.engineLevel > 0.0f)
            dyn.engineLevel = 0.0f;
        dyn.throttle = -pad.brake;
        dyn.brakeInput = pad.brake;
    } else if (pad.throttle > 0.0f) {
        if (dyn.engineLevel < 0.0f)
            dyn.engineLevel = 0.0f;
        dyn.throttle = pad.throttle;
    }
}
