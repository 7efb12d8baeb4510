#pragma once
// The units the program converts between: Box2D works in metres, seconds and
// radians; the map, the drawing and the files in world pixels, km/h and
// degrees. The factors are single-precision literals on purpose: replays and
// the determinism hash depend on every product staying exactly as it is.

/// World pixels in one metre of the physics world.
constexpr float pixelsPerMetre = 16.0f;
/// Metres in one world pixel (exactly 1 / pixelsPerMetre).
constexpr float metresPerPixel = 0.0625f;
/// km/h in one m/s.
constexpr float kmhPerMs = 3.6f;
/// Multiply radians by this for degrees.
constexpr float radiansToDegrees = 57.29578f;
/// Multiply degrees by this for radians.
constexpr float degreesToRadians = 0.017453292f;

static_assert(pixelsPerMetre * metresPerPixel == 1.0f, "the two scales must stay each other's inverse");
