#pragma once
// Draws a vehicle: each visible wheel with its scrolling tread shade, then
// the body on top. Its tracks and smoke are laid by the effects
// (emitVehicleEffects), not here.

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Vector2.hpp>

class Vehicle;

/// Draws the wheels with their scrolling tread shade and the body on top (when
/// they meet `visibleWorld`), and with `forces` each wheel's drive force and
/// velocity, into the current target for a camera (world pixels, top-left)
/// and a zoom. Changes nothing but the picture.
void drawVehicle(const Vehicle& vehicle, const sf::Vector2f& cameraPixels, float zoom,
                 const sf::FloatRect& visibleWorld, bool forces);
/// The blend that darkens a wheel by the tread texture's alpha and keeps the
/// wheel's own alpha.
sf::BlendMode treadShadeBlend();
