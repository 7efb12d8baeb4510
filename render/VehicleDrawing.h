#pragma once
// Draws a vehicle: each visible wheel with its scrolling tread shade, then
// the body on top.

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Vector2.hpp>

class Vehicle;

/// Draws `vehicle` into `target` for a camera (world pixels, top-left) and a
/// zoom; nothing when it lies outside `visibleWorld` or has no picture.
void drawVehicle(const Vehicle& vehicle, sf::RenderTarget& target, const sf::Vector2f& cameraPixels, float zoom,
                 const sf::FloatRect& visibleWorld, const sf::Texture* wheelScrollTexture);
/// The blend that darkens a wheel by the tread texture's alpha and keeps the
/// wheel's own alpha.
sf::BlendMode treadShadeBlend();
