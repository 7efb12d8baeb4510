#include "app/InputSettings.h"

#include "app/AppSettings.h"
#include "framework/IniFile.h"
#include "framework/Log.h"
#include "framework/StringUtil.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

const char* const axisNames[] = {"X", "Y", "Z", "R", "U", "V", "PovX", "PovY"};

// Reads one key of the section; a value present but bad is said once and
// `value` keeps its default.
class InputReader {
public:
    explicit InputReader(orv::IniFile& ini) : ini_(ini) {}

    void number(const char* key, float& value, float low, float high)
    {
        const std::string raw = ini_.getValue(key);
        if (raw.empty())
            return;
        errno = 0;
        char* end = nullptr;
        const float read = std::strtof(raw.c_str(), &end);
        if (end == raw.c_str() || *end != '\0' || errno == ERANGE || !std::isfinite(read) || read < low ||
            read > high) {
            bad(key, raw, "not a number from " + shown(low) + " to " + shown(high));
            return;
        }
        value = read;
    }
    void whole(const char* key, int& value, int low, int high)
    {
        float read = static_cast<float>(value);
        const std::string raw = ini_.getValue(key);
        number(key, read, static_cast<float>(low), static_cast<float>(high));
        if (read != std::floor(read)) {
            bad(key, raw, "not a whole number");
            return;
        }
        value = static_cast<int>(read);
    }
    void flag(const char* key, bool& value)
    {
        const std::string raw = ini_.getValue(key);
        if (raw.empty())
            return;
        using orv::equalsIgnoreCase;
        if (equalsIgnoreCase(raw, "true") || equalsIgnoreCase(raw, "yes") || raw == "1")
            value = true;
        else if (equalsIgnoreCase(raw, "false") || equalsIgnoreCase(raw, "no") || raw == "0")
            value = false;
        else
            bad(key, raw, "not true or false");
    }
    void axis(const char* key, sf::Joystick::Axis& value)
    {
        const std::string raw = ini_.getValue(key);
        if (!raw.empty() && !parseJoystickAxis(raw, value))
            bad(key, raw, "not an axis (X, Y, Z, R, U, V, PovX or PovY)");
    }

private:
    static std::string shown(float v)
    {
        std::string text = std::to_string(v);
        text.erase(text.find_last_not_of('0') + 1);
        if (!text.empty() && text.back() == '.')
            text.pop_back();
        return text;
    }
    static void bad(const char* key, const std::string& raw, const std::string& why)
    {
        const std::string value = raw.size() > 40 ? raw.substr(0, 40) + "..." : raw;
        orv::Log::warning(std::string(settingsFileName) + ": [input] " + key + "=" + value + " is " + why +
                          "; using the default");
    }

    orv::IniFile& ini_;
};

} // namespace

bool parseJoystickAxis(const std::string& text, sf::Joystick::Axis& axis)
{
    for (unsigned i = 0; i < sf::Joystick::AxisCount; ++i)
        if (orv::equalsIgnoreCase(text, axisNames[i])) {
            axis = static_cast<sf::Joystick::Axis>(i);
            return true;
        }
    return false;
}

const char* joystickAxisName(sf::Joystick::Axis axis)
{
    const unsigned i = static_cast<unsigned>(axis);
    return i < sf::Joystick::AxisCount ? axisNames[i] : "X";
}

void readInputSettings(orv::IniFile& ini, JoystickMapping& mapping)
{
    ini.setSection("input");
    InputReader r(ini);
    r.flag("joystickEnabled", mapping.enabled);
    int joystick = static_cast<int>(mapping.joystick);
    r.whole("joystick", joystick, 0, static_cast<int>(sf::Joystick::Count) - 1);
    mapping.joystick = static_cast<unsigned>(joystick);
    r.axis("steerAxis", mapping.steerAxis);
    r.flag("steerInverted", mapping.steerInverted);
    r.number("steerDeadZone", mapping.steerDeadZone, 0.0f, 0.9f);
    r.number("steerExponent", mapping.steerExponent, 0.2f, 5.0f);
    r.axis("throttleAxis", mapping.throttle.axis);
    r.number("throttleRest", mapping.throttle.rest, -100.0f, 100.0f);
    r.number("throttleFull", mapping.throttle.full, -100.0f, 100.0f);
    r.axis("brakeAxis", mapping.brake.axis);
    r.number("brakeRest", mapping.brake.rest, -100.0f, 100.0f);
    r.number("brakeFull", mapping.brake.full, -100.0f, 100.0f);
    r.number("pedalDeadZone", mapping.pedalDeadZone, 0.0f, 0.9f);
    r.number("pedalExponent", mapping.pedalExponent, 0.2f, 5.0f);
    const int lastButton = static_cast<int>(sf::Joystick::ButtonCount) - 1;
    r.whole("handbrakeButton", mapping.handbrakeButton, -1, lastButton);
    r.whole("hornButton", mapping.hornButton, -1, lastButton);
    r.whole("reloadButton", mapping.reloadButton, -1, lastButton);
    r.whole("parkButton", mapping.parkButton, -1, lastButton);
    // A pedal whose rest is its full travel would never move.
    const JoystickMapping defaults;
    for (PedalAxis* pedal : {&mapping.throttle, &mapping.brake}) {
        if (pedal->rest != pedal->full)
            continue;
        const bool throttle = pedal == &mapping.throttle;
        orv::Log::warning(std::string(settingsFileName) + ": [input] " + (throttle ? "throttle" : "brake") +
                          "Rest equals " + (throttle ? "throttle" : "brake") + "Full; using the defaults");
        const PedalAxis& d = throttle ? defaults.throttle : defaults.brake;
        pedal->rest = d.rest;
        pedal->full = d.full;
    }
}

void writeInputSettings(orv::IniFile& ini, const JoystickMapping& mapping)
{
    ini.setSection("input");
    ini.setBool("joystickEnabled", mapping.enabled);
    ini.setInt("joystick", static_cast<int>(mapping.joystick));
    ini.setString("steerAxis", joystickAxisName(mapping.steerAxis));
    ini.setBool("steerInverted", mapping.steerInverted);
    ini.setFloat("steerDeadZone", mapping.steerDeadZone);
    ini.setFloat("steerExponent", mapping.steerExponent);
    ini.setString("throttleAxis", joystickAxisName(mapping.throttle.axis));
    ini.setFloat("throttleRest", mapping.throttle.rest);
    ini.setFloat("throttleFull", mapping.throttle.full);
    ini.setString("brakeAxis", joystickAxisName(mapping.brake.axis));
    ini.setFloat("brakeRest", mapping.brake.rest);
    ini.setFloat("brakeFull", mapping.brake.full);
    ini.setFloat("pedalDeadZone", mapping.pedalDeadZone);
    ini.setFloat("pedalExponent", mapping.pedalExponent);
    ini.setInt("handbrakeButton", mapping.handbrakeButton);
    ini.setInt("hornButton", mapping.hornButton);
    ini.setInt("reloadButton", mapping.reloadButton);
    ini.setInt("parkButton", mapping.parkButton);
}
