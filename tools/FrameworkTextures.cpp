#include "FrameworkTextures.h"

#include "Noise.h"
#include "Output.h"

#include <cstdlib>

namespace content {

namespace {

bool internalTextures(const std::filesystem::path& root)
{
    sf::Image white;
    white.create(4, 4, sf::Color::White);
    sf::Image checker;
    checker.create(16, 16);
    for (unsigned y = 0; y < 16; ++y)
        for (unsigned x = 0; x < 16; ++x)
            checker.setPixel(x, y, ((x / 4 + y / 4) % 2) ? sf::Color(255, 0, 255) : sf::Color(32, 32, 32));
    return savePng(white, root / "zozur3/textures/white.png") && savePng(checker, root / "zozur3/textures/missing.png");
}

// The icon atlas: 16 x 16 icons of 32 x 32 pixels, each a simple shape whose
// colour and form follow from its number.
bool iconAtlas(const std::filesystem::path& root)
{
    const unsigned cell = 32, columns = 16, rows = 16;
    sf::Image atlas;
    atlas.create(cell * columns, cell * rows, sf::Color::Transparent);
    Rng rng(0x1C0A7);
    for (unsigned i = 0; i < columns * rows; ++i) {
        const unsigned ox = (i % columns) * cell, oy = (i / columns) * cell;
        const sf::Color colour(static_cast<sf::Uint8>(96 + rng.next() % 160), static_cast<sf::Uint8>(96 + rng.next() % 160),
                               static_cast<sf::Uint8>(96 + rng.next() % 160));
        const unsigned shape = i % 3;
        for (unsigned y = 4; y < cell - 4; ++y)
            for (unsigned x = 4; x < cell - 4; ++x) {
                const int dx = static_cast<int>(x) - 16, dy = static_cast<int>(y) - 16;
                const bool inside = shape == 0 ? dx * dx + dy * dy < 121
                                  : shape == 1 ? (x > 6 && x < cell - 6 && y > 6 && y < cell - 6)
                                               : (std::abs(dx) + std::abs(dy) < 12);
                if (inside)
                    atlas.setPixel(ox + x, oy + y, colour);
            }
    }
    return savePng(atlas, root / "zozur3/textures/icons.png");
}

} // namespace

bool makeFrameworkTextures(const std::filesystem::path& root)
{
    return internalTextures(root) && iconAtlas(root);
}

} // namespace content
