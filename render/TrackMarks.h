#pragma once
// Tyre tracks: short textured marks laid under the wheels of a moving vehicle,
// tinted by the ground's material and fading over a minute or two. One list
// for the process, updated once a frame and drawn as one batch.

#include "render/CappedList.h"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/VertexArray.hpp>
#include <SFML/System/Vector2.hpp>

namespace sf {
class RenderTarget;
class Texture;
} // namespace sf
class Vehicle;
struct TextureMaterial;

struct TrackMark {
    float x = 0.0f, y = 0.0f; ///< world pixels
    float angle = 0.0f;       ///< degrees
    float width = 0.0f, length = 0.0f;
    sf::IntRect textureRect;
    sf::Color colour;
    float life = 0.0f; ///< opacity in alpha units, 0 to 255
    // The angle never changes, so its sine and cosine are kept for drawing.
    float cosAngle = 1.0f, sinAngle = 0.0f;
};

constexpr std::size_t maxTrackMarks = 8192;

extern CappedList<TrackMark> trackMarks;
extern bool trackTick;       ///< marks may be laid this frame
extern float lastTrackTime;  ///< program clock of the last tick

/// Ages the marks by `dt` seconds (half an alpha unit a second) and decides
/// whether this frame lays marks.
void updateTracks(float dt);
/// One mark per wheel of a moving vehicle, on a track tick.
void layTracks(const Vehicle& vehicle);
/// Lays one wheel's mark at `position` (world pixels) with the colour and
/// alpha of `material`, shared among `wheelCount` wheels.
void layTrackMark(const sf::Vector2f& position, float angleDegrees, float wheelSize, const TextureMaterial& material,
                  int wheelCount, const sf::Texture* texture);
/// The material of the topmost non-roof sector under a world-pixel point.
const TextureMaterial& groundMaterialAt(const sf::Vector2f& position);
/// Fills `vertices` with one quad per mark, oldest first, in screen pixels.
void buildTrackVertices(sf::VertexArray& vertices, const sf::Vector2f& camera, float zoom);
/// Draws every mark in one batch.
void drawTracks(sf::RenderTarget& target, const sf::Vector2f& camera, float zoom, const sf::Texture* texture);
/// Removes every mark and restarts the laying clock.
void clearTracks();

