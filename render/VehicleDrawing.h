#pragma once
// Draws a vehicle: each visible wheel with its scrolling tread shade, then
// the body on top.

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Vector2.hpp>

class Vehicle;

/// What a vehicle's drawing also feeds or shows (the settings of the moment).
struct VehicleDrawOptions {
    bool tracks = true;       ///< lay tyre tracks under moving wheels
    bool exhaust = true;      ///< puff exhaust smoke
    bool physicsDebug = false; ///< draw the drive forces and wheel velocities
};

/// Feeds the tracks, draws the wheels with their scrolling tread shade and the
/// body on top (when they meet `visibleWorld`), feeds the smoke and draws the
/// debug overlay, into the current target for a camera (world pixels,
/// top-left) and a zoom.
void drawVehicle(const Vehicle& vehicle, const sf::Vector2f& cameraPixels, float zoom,
                 const sf::FloatRect& visibleWorld, const VehicleDrawOptions& options);
/// The blend that darkens a wheel by the tread texture's alpha and keeps the
/// wheel's own alpha.
sf::BlendMode treadShadeBlend();
