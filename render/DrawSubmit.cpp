#include "render/DrawSubmit.h"

#include <SFML/Graphics/RenderTarget.hpp>

#include <ctime>

DrawSubmitStats drawSubmitStats;

namespace {
double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}
} // namespace

void submitDraw(sf::RenderTarget& target, const sf::Drawable& drawable, const sf::RenderStates& states)
{
    if (!drawSubmitStats.counting) {
        target.draw(drawable, states);
        return;
    }
    const double start = threadSeconds();
    target.draw(drawable, states);
    drawSubmitStats.seconds += threadSeconds() - start;
}
