#pragma once
// Exhaust smoke: puffs that leave the exhaust backwards, drift, grow and fade
// within a fraction of a second. One list for the process, updated once a
// frame and drawn as one batch.

#include "render/CappedList.h"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/VertexArray.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstdint>

namespace sf {
class RenderTarget;
class Texture;
} // namespace sf
class Vehicle;

struct SmokePuff {
    float x = 0.0f, y = 0.0f;   ///< world pixels
    float rotation = 0.0f;      ///< degrees
    float vx = 0.0f, vy = 0.0f; ///< metres per second
    float sizeX = 0.0f, sizeY = 0.0f;
    float initialSizeX = 0.0f, initialSizeY = 0.0f;
    float growth = 0.0f;
    float fade = 0.0f; ///< opacity lost per update
    float alphaScale = 0.0f;
    sf::IntRect textureRect;
    sf::Color colour;
    float life = 0.0f; ///< 0 to 255
    std::int32_t delay = 0; ///< updates to wait before fading
    // The rotation never changes, so its sine and cosine are kept for drawing.
    float cosRotation = 1.0f, sinRotation = 0.0f;
};

constexpr std::size_t maxSmokePuffs = 2048;

extern CappedList<SmokePuff> smokePuffs;
extern bool smokeTick;      ///< puffs may be emitted this frame
extern float lastSmokeTime; ///< program clock of the last tick

/// Moves, fades and grows every puff; decides whether this frame emits.
void updateSmoke(float dt);
/// One puff from the vehicle's exhaust, on a smoke tick.
void emitExhaust(const Vehicle& vehicle);
/// The smoke's direction for a chassis angle in degrees: straight back.
sf::Vector2f exhaustDirection(float chassisDegrees);
/// The exhaust outlet in world pixels: the chassis centre plus the picture
/// offset turned by the chassis angle.
sf::Vector2f exhaustPosition(const sf::Vector2f& chassisPixels, float chassisDegrees, const sf::Vector2i& offset);
/// Creates one puff (19 times in 20).
void addSmokePuff(const sf::Vector2f& position, const sf::Vector2f& velocity, const sf::Vector2f& size,
                  const sf::Color& colour, float growth, float fade, float alphaScale, const sf::Texture* texture);
/// Fills `vertices` with one quad per puff, oldest first, in screen pixels.
void buildSmokeVertices(sf::VertexArray& vertices, const sf::Vector2f& camera, float zoom);
/// Draws every puff in one batch.
void drawSmoke(sf::RenderTarget& target, const sf::Vector2f& camera, float zoom, const sf::Texture* texture);
/// Removes every puff and restarts the emission clock.
void clearSmoke();
