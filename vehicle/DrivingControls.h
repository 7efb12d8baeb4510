#pragma once
// The driving keys and the engine sound: once per frame, before the physics
// step, the keyboard (and a joystick, JoystickInput.h) is read into a
// vehicle's throttle, steering and brake, and the player's engine loops are
// fed from the engine level.

#include <SFML/System/Vector2.hpp>
#include <SFML/Window/Keyboard.hpp>

class Vehicle;
struct JoystickControls;
struct VehicleDef;
struct VehicleDynamics;

/// Where the driving keys come from: the window, or a script in tests.
class KeySource {
public:
    virtual ~KeySource() = default;
    /// True while the program's window has the input focus.
    virtual bool hasFocus() const = 0;
    /// True while the key is held (focus aside).
    virtual bool isDown(sf::Keyboard::Key key) const = 0;
};

/// The real keyboard and the window's focus.
const KeySource& windowKeys();

/// One engine loop's share of this frame.
struct EngineLoop {
    bool play = false;
    float volume = 0.0f;
};

/// What the engine sounds do this frame: nothing when `audible` is false.
struct EngineSoundFeed {
    bool audible = false;
    float pitch = 1.0f;
    sf::Vector2f position; ///< world pixels
    EngineLoop idle;
    EngineLoop moving;
};

/// Throttle, steering and brake from the keys; opposite throttle cuts the
/// engine level to 0 at once. Without focus everything is released.
void readDrivingKeys(VehicleDynamics& dyn, const KeySource& keys);
/// The engine loops for an engine level, gear and pitch wobble.
EngineSoundFeed engineSoundFeed(const VehicleDef& def, const VehicleDynamics& dyn, float wobble,
                                const sf::Vector2f& positionPixels);
/// The per-frame update: keys and the joystick, then (player only) the
/// wobble and the sounds.
void updateDrivingControls(Vehicle& vehicle, const KeySource& keys, const JoystickControls& pad);
