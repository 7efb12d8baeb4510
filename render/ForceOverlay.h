#pragma once
// The force overlay: per wheel the drive or brake force, the grip's sideways
// force and the wheel's velocity as arrows in world space, a sliding wheel's
// in a warning colour, and the chassis velocity and yaw rate, with a legend
// of the scales. Every value is what the vehicle's last fixed step recorded;
// nothing is worked out again for the picture.

#include <SFML/System/Vector2.hpp>

#include <vector>

class Vehicle;

enum class ArrowKind { Drive, Brake, Grip, WheelVelocity, ChassisVelocity };

struct OverlayArrow {
    sf::Vector2f from; ///< world pixels
    sf::Vector2f to;   ///< world pixels
    ArrowKind kind = ArrowKind::Drive;
    bool warning = false; ///< the wheel slides
};

struct ForceOverlay {
    std::vector<OverlayArrow> arrows; ///< none shorter than half a pixel
    float newtonsPerPixel = 1.0f;     ///< force arrows, per world pixel
    float yawRate = 0.0f;             ///< degrees per second, clockwise on screen
    sf::Vector2f chassis;             ///< world pixels
};

/// Velocity arrows, m/s per world pixel.
constexpr float overlayVelocityPerPixel = 0.2f;
/// The longest force arrow, world pixels.
constexpr float overlayLongestForcePixels = 60.0f;

/// Newtons per world pixel that fit `largestNewtons` into the longest
/// arrow, rounded up to 1, 2 or 5 times a power of ten (at least 1).
float overlayForceScale(float largestNewtons);
/// The overlay's arrows for `vehicle` from its last step's records; empty
/// without a body.
ForceOverlay forceOverlayGeometry(const Vehicle& vehicle);
/// Draws the overlay and its legend for a camera (world pixels, top-left)
/// and a zoom. Changes nothing but the picture.
void drawForceOverlay(const Vehicle& vehicle, const sf::Vector2f& cameraPixels, float zoom);
