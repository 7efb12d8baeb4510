#pragma once
// Draws the map: terrain sectors (textured, flat or animated water) with their
// bevelled edges, and the placed objects. Every call draws into the
// framework's current target (the redirect target while one is set).

#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstddef>

namespace sf {
class Sprite;
} // namespace sf

/// Compass bearing of the edge from `from` to `to` in degrees, clockwise from
/// straight up on screen (y grows downwards); 0 for a zero-length edge.
float edgeBearing(const sf::Vector2f& from, const sf::Vector2f& to);
/// Whether an edge of this bearing is drawn in the highlight colour: edges
/// facing the light from the top-left, swapped by bevel type 2.
bool edgeLit(float bearing, int bevelType);
/// Whether sector number `index` gets edges: any bevel type but 0, never the
/// first sector (the map's background).
bool sectorBevelled(std::size_t index, int bevelType);
/// Rectangles that overlap or only touch count as meeting.
bool rectsMeet(const sf::FloatRect& a, const sf::FloatRect& b);

/// Fills every sector's whole floor, even the parts later opaque sectors
/// paint over, one draw per sector's edges: the reference the picture tests
/// hold the usual drawing to.
extern bool drawWholeSectors;

/// Every sector that meets the visible world rectangle, in map order: floor
/// (only the part later opaque sectors leave visible), water through the
/// water shader, then its edges.
void drawSectors(const sf::Vector2f& camera, float zoom, const sf::FloatRect& visible);
/// The placed objects that meet the visible rectangle, at their bodies'
/// positions and angles.
void drawObjects(const sf::Vector2f& camera, float zoom, const sf::FloatRect& visible);
/// Draws `sprite` at `position` with scale and rotation (degrees) into the
/// current target, with a drop shadow on `layer` when `shadowOffset` is not 0
/// and the sprite-shadow shader is loaded; the sprite is left unscaled and
/// unrotated.
void drawSpriteWithShadow(int layer, sf::Sprite& sprite, const sf::Vector2f& position, const sf::Vector2f& scale,
                          const sf::Vector2f& shadowOffset, float rotation);
