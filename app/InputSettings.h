#pragma once
// The "[input]" section of "Tarnwick.ini": which joystick drives, its axes,
// dead zones, exponents and buttons. Each value is checked as it is read: a
// bad one is said in one log line and its default used.

#include "vehicle/JoystickInput.h"

#include <string>

namespace orv {
class IniFile;
}

/// Reads "[input]" of `ini` into `mapping`; missing keys keep the defaults.
void readInputSettings(orv::IniFile& ini, JoystickMapping& mapping);
/// Writes `mapping` as "[input]" of `ini`.
void writeInputSettings(orv::IniFile& ini, const JoystickMapping& mapping);
/// "X", "Y", "Z", "R", "U", "V", "PovX", "PovY" (any case) to the axis;
/// false for anything else.
bool parseJoystickAxis(const std::string& text, sf::Joystick::Axis& axis);
/// The name parseJoystickAxis reads.
const char* joystickAxisName(sf::Joystick::Axis axis);
