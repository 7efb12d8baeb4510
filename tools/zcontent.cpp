// zcontent OUTPUT_DIR: writes the generated content of the runnable folder.
//
// Everything is computed from fixed formulas and a fixed-seed generator, so two
// builds produce byte-identical files.

#include <SFML/Graphics/Image.hpp>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

// Small deterministic generator (xorshift32); std:: engines are portable but
// their distributions are not.
struct Rng {
    std::uint32_t state;
    explicit Rng(std::uint32_t seed) : state(seed ? seed : 1u) {}
    std::uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    float unit() { return static_cast<float>(next() & 0xFFFFFF) / 16777216.0f; }
};

bool save(const sf::Image& image, const fs::path& path)
{
    fs::create_directories(path.parent_path());
    if (!image.saveToFile(path.string())) {
        std::fprintf(stderr, "zcontent: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

// The framework's internal textures: a white pixel for solid fills and a
// checker for missing pictures.
bool makeInternalTextures(const fs::path& root)
{
    sf::Image white;
    white.create(4, 4, sf::Color::White);
    sf::Image checker;
    checker.create(16, 16);
    for (unsigned y = 0; y < 16; ++y)
        for (unsigned x = 0; x < 16; ++x)
            checker.setPixel(x, y, ((x / 4 + y / 4) % 2) ? sf::Color(255, 0, 255) : sf::Color(32, 32, 32));
    return save(white, root / "zozur3/textures/white.png") && save(checker, root / "zozur3/textures/missing.png");
}

// The icon atlas: 16 x 16 icons of 32 x 32 pixels, each a simple shape whose
// colour and form follow from its number.
bool makeIconAtlas(const fs::path& root)
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
    return save(atlas, root / "zozur3/textures/icons.png");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: zcontent OUTPUT_DIR\n");
        return 2;
    }
    const fs::path root = argv[1];
    bool ok = makeInternalTextures(root) && makeIconAtlas(root);
    return ok ? 0 : 1;
}
