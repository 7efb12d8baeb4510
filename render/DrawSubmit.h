#pragma once
// The world's draw calls go through here so the frame profile can tell the
// program's own work from the graphics driver's: on this machine the driver
// is a software rasteriser that does its vertex work on the calling thread.

#include <SFML/Graphics/RenderStates.hpp>

namespace sf {
class Drawable;
class RenderTarget;
} // namespace sf

struct DrawSubmitStats {
    bool counting = false; ///< measure the thread CPU time of each draw call
    double seconds = 0.0;  ///< summed while counting
};

/// The process-wide counters.
extern DrawSubmitStats drawSubmitStats;

/// target.draw(drawable, states), timed while counting.
void submitDraw(sf::RenderTarget& target, const sf::Drawable& drawable,
                const sf::RenderStates& states = sf::RenderStates::Default);
