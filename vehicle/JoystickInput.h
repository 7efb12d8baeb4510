#pragma once
// Analogue driving through SFML's joystick API: steering as a fraction of the
// lock, throttle and brake as levels, each axis shaped by a dead zone and an
// exponent, and buttons for the handbrake and the hot keys that matter while
// driving. Written for an XInput-style gamepad (left stick X steers, right
// trigger throttle, left trigger brake) and for a wheel with its pedals on
// separate axes; everything is chosen in "[input]" of the settings.

#include <SFML/Window/Joystick.hpp>

struct VehicleDynamics;

/// Where the joystick's state comes from: SFML, or a script in tests.
class JoystickSource {
public:
    virtual ~JoystickSource() = default;
    virtual bool isConnected(unsigned joystick) const = 0;
    virtual bool hasAxis(unsigned joystick, sf::Joystick::Axis axis) const = 0;
    /// -100 to 100, as SFML gives it.
    virtual float axisPosition(unsigned joystick, sf::Joystick::Axis axis) const = 0;
    virtual bool isButtonPressed(unsigned joystick, unsigned button) const = 0;
};

/// The real joysticks, as the window's event loop last updated them.
const JoystickSource& sfmlJoysticks();

/// A trigger or pedal: its axis and its positions at rest and fully pressed.
struct PedalAxis {
    sf::Joystick::Axis axis = sf::Joystick::Z;
    float rest = -100.0f;
    float full = 100.0f;
};

/// How one joystick drives; the defaults suit an XInput-style gamepad as
/// Linux reports it (triggers on Z and R resting at -100; buttons A=0, B=1,
/// X=2, Y=3, Back=6).
struct JoystickMapping {
    bool enabled = true;
    unsigned joystick = 0; ///< SFML's index, 0 to 7
    sf::Joystick::Axis steerAxis = sf::Joystick::X;
    bool steerInverted = false;
    float steerDeadZone = 0.1f; ///< share of the travel ignored round the centre, 0 to 0.9
    float steerExponent = 1.0f; ///< 1 linear; above 1 finer round the centre
    PedalAxis throttle{sf::Joystick::R, -100.0f, 100.0f};
    PedalAxis brake{sf::Joystick::Z, -100.0f, 100.0f};
    float pedalDeadZone = 0.05f; ///< share of the pedal travel ignored at rest
    float pedalExponent = 1.0f;
    int handbrakeButton = 0; ///< -1: none
    int hornButton = 3;
    int reloadButton = 6;
    int parkButton = 2;
};

/// The driving controls a joystick gives this frame.
struct JoystickControls {
    bool connected = false;
    float steer = 0.0f;    ///< -1 left to +1 right
    float throttle = 0.0f; ///< 0 to 1
    float brake = 0.0f;    ///< 0 to 1
    bool handbrake = false;
};

/// The hot keys the joystick's buttons stand in for, pressed this frame.
struct JoystickPresses {
    bool horn = false;
    bool reload = false;
    bool park = false;
};

/// The buttons as they were last frame, so a held button counts once.
struct JoystickButtonMemory {
    bool horn = false;
    bool reload = false;
    bool park = false;
};

/// An axis value (-1 to 1) past the dead zone, rescaled to the whole range
/// and raised to the exponent, its sign kept; 0 inside the dead zone.
float shapeAxis(float value, float deadZone, float exponent);
/// A pedal's level, 0 at rest to 1 fully pressed, shaped like an axis.
float pedalLevel(float position, const PedalAxis& pedal, float deadZone, float exponent);
/// The controls from the mapped joystick; nothing when it is switched off,
/// missing or the window has no focus. Missing axes read as at rest.
JoystickControls readJoystick(const JoystickSource& source, const JoystickMapping& mapping, bool focus);
/// The buttons pressed since the last call (held ones once); nothing without focus.
JoystickPresses joystickPresses(const JoystickSource& source, const JoystickMapping& mapping, bool focus,
                                JoystickButtonMemory& memory);
/// Adds the joystick to what the keys set: a steering key held wins over the
/// stick, a throttle or reverse key over the pedals, and either handbrake
/// holds. Both pedals pressed brake. Reversing direction cuts the engine
/// level to 0 at once, as the keys do.
void addJoystickControls(VehicleDynamics& dyn, const JoystickControls& pad);
