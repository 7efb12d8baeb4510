#pragma once
// Drawing on an sf::Image for the content tool: blended pixels, soft-edged
// shapes and the shared palette. Light comes from the top-left in every
// picture, so shapes are lit by the direction of their surface from their
// centre.

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Image.hpp>

#include <functional>

namespace content {

/// The shared palette: muted ground, stronger man-made things.
namespace palette {
const sf::Color grassA(92, 128, 62), grassB(118, 140, 70), dirt(128, 100, 70), sand(196, 178, 132);
const sf::Color asphalt(74, 76, 80), concrete(150, 148, 140), cobbles(132, 120, 108), water(48, 92, 112);
const sf::Color roofRed(150, 70, 52), roofGrey(96, 100, 108), leaf(60, 104, 48), darkLeaf(40, 78, 38);
const sf::Color bark(92, 66, 44), rock(128, 124, 116), wood(160, 118, 70), steelBlue(60, 96, 150);
const sf::Color orange(232, 110, 30), glass(40, 58, 72), tyre(28, 28, 30);
} // namespace palette

/// `a` * (1 - t) + `b` * t, per channel, alpha included.
sf::Color mix(const sf::Color& a, const sf::Color& b, float t);
/// The colour brightened (factor > 1) or darkened (< 1), alpha kept.
sf::Color shade(const sf::Color& c, float factor);
/// Draws `c` over the pixel with `coverage` (0 to 1) times its alpha.
void blend(sf::Image& image, int x, int y, const sf::Color& c, float coverage);

/// Fills an ellipse (centre, radii) with soft edges; `colourAt` gets the
/// offset from the centre divided by the radii (length up to 1).
void fillEllipse(sf::Image& image, float cx, float cy, float rx, float ry,
                 const std::function<sf::Color(float nx, float ny)>& colourAt);
/// Fills a rounded rectangle (left, top, width, height, corner radius); the
/// colour function gets the offset from the centre divided by the half sizes.
void fillRoundRect(sf::Image& image, float left, float top, float width, float height, float radius,
                   const std::function<sf::Color(float nx, float ny)>& colourAt);
/// A plain colour lit from the top-left: lighter where nx + ny < 0.
sf::Color litColour(const sf::Color& base, float nx, float ny, float strength = 0.35f);

} // namespace content
