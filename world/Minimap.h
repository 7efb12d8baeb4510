#pragma once
// The minimap: the whole map drawn once per load into a texture, shown in the
// top-right corner with a frame and a marker for the visible part.

#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>

struct MinimapLayout {
    float scale = 0.1f;        ///< world pixels per minimap pixel
    sf::Vector2u size;         ///< minimap pixels
    sf::Vector2u textureSize;  ///< size rounded up to powers of two
    bool usable = false;       ///< false for a map without a size
};

/// Fits a map of `mapSize` world pixels into a view of `viewSize` pixels: 70%
/// of the width, or the height less 15 pixels when that is smaller.
MinimapLayout computeMinimapLayout(const sf::Vector2i& mapSize, const sf::Vector2f& viewSize);
/// Draws currentMap into its minimap texture (nothing for a map without
/// sectors or size).
void buildMinimap();
/// Shows the minimap with the marker of `visibleRect` (world pixels).
void drawMinimap(const sf::FloatRect& visibleRect);
