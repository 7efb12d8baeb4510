#pragma once
// Background ambience that follows the ground around the camera: the more
// grass in a 400 x 400 box around the view centre, the louder the meadow loop;
// the more water, the louder the water loop.

#include <SFML/System/Vector2.hpp>

#include <array>

enum AmbienceKind : int {
    AmbienceMeadow = 0,
    AmbienceWildlife = 1, ///< a second wildlife level, always 0
    AmbienceJungle = 2,
    AmbienceCity = 3,
    AmbienceWater = 4,
    AmbienceShore = 5,
    AmbienceUnderwater = 6,
    AmbienceRain = 7,
    ambienceLevelCount = 9, ///< the ninth pair is never used
};

struct AmbienceState {
    std::array<float, ambienceLevelCount> levels{};
    std::array<float, ambienceLevelCount> overrides{}; ///< below 0: none
    std::array<int, ambienceLevelCount> soundNumbers{};
    sf::Vector2f shorePosition;
};

/// The process-wide ambience.
extern AmbienceState ambience;

/// Levels and overrides to -1; looks the seven sounds up (missing ones logged).
void initAmbience();
/// Measures the levels around the centre of the visible world (world pixels)
/// on a poll tick; with `ambientOn` false the levels keep their last values.
void updateAmbientLevels(const sf::Vector2f& viewCentre, bool ambientOn);
/// Keeps one looping voice per audible kind alive at its level (every frame).
void playAmbience();
/// Share (0 to 1) of grass in the 400 x 400 box centred on `point`.
float grassShare(const sf::Vector2f& point);
/// Share (0 to 1) of water (passable 2) in the box.
float waterShare(const sf::Vector2f& point);
