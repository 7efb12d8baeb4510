#pragma once
// The world's draw calls go through here so the frame profile can tell the
// program's own work from the time spent inside the graphics driver. What a
// call costs depends on the driver the machine happens to have: a hardware
// driver mostly records commands for the GPU, while a software one (Mesa's
// llvmpipe, as under Xvfb, in many virtual machines and on CI) also runs
// the vertex stage on the calling thread and rasterises on threads of its own.

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
