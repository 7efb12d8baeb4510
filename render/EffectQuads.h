#pragma once
// Helpers the effects share: textured quads for their one-batch drawing and
// the effect random numbers.

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/VertexArray.hpp>
#include <SFML/System/Vector2.hpp>

namespace sf {
class RenderTarget;
class Shader;
class Texture;
} // namespace sf

/// Appends a quad centred on `centre` (world pixels relative to the camera),
/// `size` wide along x and tall along y, turned clockwise on screen by the
/// angle whose cosine and sine are given, its corners on `textureRect`, then
/// every corner scaled by `zoom`.
void appendQuad(sf::VertexArray& vertices, const sf::Vector2f& centre, const sf::Vector2f& size, float cosAngle,
                float sinAngle, const sf::IntRect& textureRect, const sf::Color& colour, float zoom);

/// Draws one effect's quads in one call, alpha-blended with `texture` (and
/// `shader` when given); nothing when there are none.
void drawQuadBatch(sf::RenderTarget& target, const sf::VertexArray& vertices, const sf::Texture* texture,
                   const sf::Shader* shader = nullptr);

/// A uniform random number from `lo` to `hi`, from the 0 to 32767 generator.
float effectRandom(float lo, float hi);

/// The unit vector of a compass bearing in degrees (0 up, 90 right, 180 down,
/// 270 left on screen), exact on the four axes.
sf::Vector2f bearingVector(float degrees);

/// `dt` made safe for the effects: a negative or non-finite frame time
/// counts as 0.
float effectTime(float dt);
