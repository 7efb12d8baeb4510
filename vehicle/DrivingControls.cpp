#include "vehicle/DrivingControls.h"

#include "audio/Audio.h"
#include "framework/Core.h"
#include "framework/Keyboard.h"
#include "framework/ProgramClock.h"
#include "vehicle/JoystickInput.h"
#include "vehicle/SmoothNoise.h"
#include "vehicle/Vehicle.h"
#include "world/Units.h"

#include <box2d/b2_body.h>

#include <algorithm>
#include <cmath>

namespace {

class WindowKeys : public KeySource {
public:
    bool hasFocus() const override { return orv::windowHasFocus(); }
    bool isDown(sf::Keyboard::Key key) const override { return sf::Keyboard::isKeyPressed(key); }
};

bool eitherDown(const KeySource& keys, sf::Keyboard::Key a, sf::Keyboard::Key b)
{
    return keys.isDown(a) || keys.isDown(b);
}

} // namespace

const KeySource& windowKeys()
{
    static const WindowKeys keys;
    return keys;
}

void readDrivingKeys(VehicleDynamics& dyn, const KeySource& keys)
{
    // Keys count only while the window has the focus.
    const bool focus = keys.hasFocus();
    const bool left = focus && eitherDown(keys, sf::Keyboard::A, sf::Keyboard::Left);
    const bool right = focus && eitherDown(keys, sf::Keyboard::D, sf::Keyboard::Right);
    const bool accelerate = focus && eitherDown(keys, sf::Keyboard::W, sf::Keyboard::Up);
    const bool reverse = focus && eitherDown(keys, sf::Keyboard::S, sf::Keyboard::Down);
    const bool brake = focus && keys.isDown(sf::Keyboard::Space);

    dyn.steerInput = left ? -1.0f : (right ? 1.0f : 0.0f);
    if (accelerate) {
        if (dyn.engineLevel < 0.0f)
            dyn.engineLevel = 0.0f;
        dyn.throttle = 1.0f;
    } else if (reverse) {
        if (dyn.engineLevel > 0.0f)
            dyn.engineLevel = 0.0f;
        dyn.throttle = -1.0f;
    } else {
        dyn.throttle = 0.0f;
    }
    dyn.handbrake = brake;
    dyn.brakeInput = 1.0f;
    if (brake)
        dyn.throttle = 0.0f;
}

EngineSoundFeed engineSoundFeed(const VehicleDef& def, const VehicleDynamics& dyn, float wobble,
                                const sf::Vector2f& positionPixels)
{
    EngineSoundFeed feed;
    const float l = std::fabs(dyn.engineLevel);
    const float rpm = def.idleRPM * (1.0f - l) + def.maxRPM * l;
    if (!(rpm >= 100.0f) || !(def.maxRPM > 0.0f) || !std::isfinite(l))
        return feed;
    const bool knownGear = dyn.gear >= 0 && dyn.gear < static_cast<int>(def.gears.size());
    const float gearPitch = knownGear ? def.gears[static_cast<std::size_t>(dyn.gear)].pitch : 1.0f;
    feed.pitch = def.minPitch * (1.0f - l) + l * (gearPitch * def.maxPitch) + wobble * 0.2f;
    if (!std::isfinite(feed.pitch))
        return feed;
    feed.audible = true;
    feed.position = positionPixels;
    if (l < 0.2f) {
        feed.idle.play = true;
        feed.idle.volume = std::clamp(1.0f - 5.0f * l, 0.0f, 1.0f) * 0.5f;
    }
    if (l > 0.0f) {
        feed.moving.play = true;
        feed.moving.volume = std::min(l + 0.2f, 1.0f) * 0.5f;
    }
    return feed;
}

void updateDrivingControls(Vehicle& vehicle, const KeySource& keys, const JoystickControls& pad)
{
    readDrivingKeys(vehicle.dynamics, keys);
    addJoystickControls(vehicle.dynamics, pad);
    const VehicleDef* def = vehicle.definition();
    if (!vehicle.isPlayer() || !def || !vehicle.body())
        return;
    if (orv::coreState.pollTicked)
        vehicle.pitchWobble = smoothNoise(orv::ProgramClock::now() * 0.5, 10.0, 1.0);
    const b2Vec2 p = vehicle.body()->GetPosition();
    const sf::Vector2f position(p.x * pixelsPerMetre, p.y * pixelsPerMetre);
    const EngineSoundFeed feed = engineSoundFeed(*def, vehicle.dynamics, vehicle.pitchWobble, position);
    if (!feed.audible)
        return;
    if (feed.idle.play)
        orv::Audio::playSound(def->idleSound, feed.position, true, "ENG_IDLE_LOOP", -1.0f, true, feed.idle.volume,
                              feed.pitch);
    if (feed.moving.play)
        orv::Audio::playSound(def->movingSound, feed.position, true, "ENG_MOVING_LOOP", -1.0f, true,
                              feed.moving.volume, feed.pitch);
}
