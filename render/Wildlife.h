#pragma once
// Ambient wildlife: insects, butterflies, birds with their shadows and fish
// that wander, animate and fade around the camera, in numbers set by the
// ambience levels. They are not physical: each is a quad of the wildlife
// atlas, and every pass is one batch.

#include "render/CappedList.h"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/VertexArray.hpp>
#include <SFML/System/Vector2.hpp>

#include <array>
#include <cstdint>

namespace sf {
class RenderTarget;
class Shader;
class Texture;
} // namespace sf

constexpr std::int16_t animalLayerWater = 1;
constexpr std::int16_t animalLayerFlying = 3;
constexpr std::size_t maxAnimalFrames = 4;

struct Animal {
    std::int32_t kind = 0;
    float x = 0.0f, y = 0.0f;    ///< world pixels
    float heading = 0.0f;        ///< degrees, 0 up, 90 right
    float desiredHeading = 0.0f; ///< degrees
    float speed = 0.0f;          ///< world pixels a second
    float alpha = 0.0f;          ///< 0 to 1
    float maxAlpha = 1.0f;
    float life = 0.0f; ///< seconds left
    float sizeX = 0.0f, sizeY = 0.0f;
    // Four frames at most: a fixed array keeps the list free of allocations.
    std::array<sf::IntRect, maxAnimalFrames> frames{};
    std::uint8_t frameCount = 0;
    std::int16_t frameIndex = 0;
    float frameTime = 0.0f;
    float lastFrameSwitch = 0.0f;
    sf::Color colour = sf::Color::White;
    std::int16_t layer = animalLayerFlying;
    bool castsShadow = false;
    float outOfViewTime = 0.0f;
};

constexpr std::size_t maxAnimals = 1024;
constexpr int animalKindCount = 6;

extern CappedList<Animal> animals;
/// Live animals of each kind, as counted by the last update.
extern std::array<int, animalKindCount> animalCounts;

/// How many animals of `kind` the ambience levels call for (truncated).
int wildlifeTarget(int kind, const float* levels);
/// Spawns animals around `centre` (world pixels) until every kind reaches its
/// target for `levels` (the ambience levels, meadow first).
void populateWildlife(const sf::Vector2f& centre, const float* levels);
/// Adds one animal of `kind` at `position` (19 times in 20).
void spawnAnimal(const sf::Vector2f& position, int kind);
/// Animation, steering (on poll ticks, `tickPeriod` > 0), movement, fading and
/// lifetime of every animal, for the visible world rectangle.
void updateWildlife(float dt, const sf::FloatRect& visibleWorld, float tickPeriod);
/// The heading after turning from `heading` towards `desired` by at most
/// `maxStep` degrees, the short way round, in [0, 360).
float turnHeading(float heading, float desired, float maxStep);
/// Fills `vertices` for one pass: ground (not flying), flying, or the flying
/// animals' shadows.
void buildWildlifeVertices(sf::VertexArray& vertices, bool flying, bool shadow, const sf::Vector2f& camera,
                           float zoom);
/// Draws one pass in one batch; `shadowShader` may be null.
void drawWildlife(sf::RenderTarget& target, bool flying, bool shadow, const sf::Vector2f& camera, float zoom,
                  const sf::Texture* texture, sf::Shader* shadowShader);
/// Removes every animal.
void clearWildlife();
