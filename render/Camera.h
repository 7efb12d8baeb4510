#pragma once
// The camera of the world view: the top-left corner of the visible world, in
// world pixels, and the zoom it is drawn with. The frame loop places it on the
// player's vehicle and copies the zoom from the settings once per frame.

#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>

extern sf::Vector2f camera;
/// Screen pixels per world pixel.
extern float cameraZoom;

/// The visible world rectangle: camera and view size / zoom.
sf::FloatRect visibleWorldRect();
/// A world-pixel position on screen: (p - camera) * zoom.
sf::Vector2f worldToScreen(const sf::Vector2f& worldPixels);
