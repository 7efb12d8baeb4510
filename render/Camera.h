#pragma once
// The camera of the world view: the top-left corner of the visible world, in
// world pixels. The frame loop places it on the player's vehicle.

#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>

extern sf::Vector2f camera;

/// The visible world rectangle: camera and view size / renderScale.
sf::FloatRect visibleWorldRect();
/// A world-pixel position on screen: (p - camera) * renderScale.
sf::Vector2f worldToScreen(const sf::Vector2f& worldPixels);
