#include "FloorTextures.h"

#include "Noise.h"
#include "Output.h"
#include "Paint.h"

#include <cmath>
#include <functional>
#include <string>

namespace content {

namespace {

constexpr int tile = 256;
constexpr float twoPi = 6.2831853f;

using PixelFn = std::function<sf::Color(float x, float y)>;

sf::Image paint(const PixelFn& pixel)
{
    sf::Image image;
    image.create(tile, tile);
    for (int y = 0; y < tile; ++y)
        for (int x = 0; x < tile; ++x)
            image.setPixel(static_cast<unsigned>(x), static_cast<unsigned>(y),
                           pixel(static_cast<float>(x), static_cast<float>(y)));
    return image;
}

// Per-pixel grain that still tiles (it is hashed on the wrapped pixel).
float grain(float x, float y, std::uint32_t seed)
{
    return latticeValue(static_cast<int>(x), static_cast<int>(y), seed);
}

sf::Color grass(float x, float y, const sf::Color& base, std::uint32_t seed)
{
    const float broad = fractalNoise(x, y, tile, 64, 4, seed);
    const float blades = grain(x, y, seed + 3);
    // Blades: short vertical streaks from the grain of two rows.
    const float streak = 0.5f * (blades + grain(x, std::fmod(y + 1.0f, tile), seed + 3));
    sf::Color c = shade(base, 0.78f + 0.4f * broad + 0.22f * (streak - 0.5f));
    const float flowers = grain(x, y, seed + 11);
    if (flowers > 0.9985f)
        c = sf::Color(226, 216, 120);
    // A few tufts of drier grass.
    const float dry = tileNoise(x, y, 32, tile / 32, seed + 5);
    if (dry > 0.72f)
        c = mix(c, sf::Color(150, 146, 84), (dry - 0.72f) * 2.0f);
    return c;
}

sf::Color dirt(float x, float y)
{
    const float broad = fractalNoise(x, y, tile, 64, 5, 21);
    sf::Color c = shade(palette::dirt, 0.8f + 0.35f * broad + 0.1f * (grain(x, y, 22) - 0.5f));
    const CellHit stone = cellular(x, y, 16, tile / 16, 23);
    const float radius = 1.5f + 2.0f * latticeValue(static_cast<int>(stone.id & 0xFF), 1, 24);
    if (stone.distance < radius && (stone.id & 3u) == 0u) {
        const float nx = stone.dx / radius, ny = stone.dy / radius;
        c = litColour(sf::Color(150, 136, 116), nx, ny, 0.5f);
    }
    return c;
}

sf::Color sand(float x, float y)
{
    const float broad = fractalNoise(x, y, tile, 64, 4, 31);
    // Wind ripples: whole periods across the tile, bent by noise.
    const float bend = tileNoise(x, y, 64, tile / 64, 32) * 2.0f;
    const float ripple = std::sin(twoPi * (y / tile * 16.0f + x / tile * 2.0f) + bend);
    return shade(palette::sand, 0.88f + 0.15f * broad + 0.05f * ripple + 0.08f * (grain(x, y, 33) - 0.5f));
}

sf::Color asphalt(float x, float y)
{
    const float broad = fractalNoise(x, y, tile, 64, 4, 41);
    const float g = grain(x, y, 42);
    sf::Color c = shade(palette::asphalt, 0.9f + 0.15f * broad + 0.25f * (g - 0.5f));
    if (g > 0.985f)
        c = shade(c, 1.45f); // bright aggregate
    const float patch = tileNoise(x, y, 128, tile / 128, 43);
    if (patch > 0.8f)
        c = shade(c, 0.9f); // a repaired patch
    return c;
}

sf::Color concreteSlabs(float x, float y, const sf::Color& base, int slab, std::uint32_t seed)
{
    const float broad = fractalNoise(x, y, tile, 32, 4, seed);
    sf::Color c = shade(base, 0.92f + 0.12f * broad + 0.1f * (grain(x, y, seed + 1) - 0.5f));
    // Each slab a slightly different tone.
    const int sx = static_cast<int>(x) / slab, sy = static_cast<int>(y) / slab;
    c = shade(c, 0.96f + 0.08f * latticeValue(sx, sy, seed + 2));
    const int jx = static_cast<int>(x) % slab, jy = static_cast<int>(y) % slab;
    if (jx == 0 || jy == 0)
        c = shade(c, 0.72f);
    else if (jx == 1 || jy == 1)
        c = shade(c, 1.08f);
    return c;
}

sf::Color cobbles(float x, float y)
{
    // Rows of 16-pixel setts, every other row shifted half a sett: sixteen
    // rows of sixteen fill the tile, so it repeats.
    const int row = static_cast<int>(y) / 16;
    const float shifted = std::fmod(x + (row % 2 ? 8.0f : 0.0f), static_cast<float>(tile));
    const int column = static_cast<int>(shifted) / 16;
    const float lx = std::fmod(shifted, 16.0f) - 8.0f, ly = std::fmod(y, 16.0f) - 8.0f;
    const float nx = lx / 7.0f, ny = ly / 7.0f;
    const float d = std::pow(std::pow(std::fabs(nx), 3.0f) + std::pow(std::fabs(ny), 3.0f), 1.0f / 3.0f);
    const sf::Color joint = shade(palette::cobbles, 0.55f + 0.1f * grain(x, y, 51));
    if (d > 1.0f)
        return joint;
    const sf::Color stone = shade(palette::cobbles, 0.85f + 0.3f * latticeValue(column, row, 52));
    sf::Color c = litColour(stone, nx, ny, 0.4f);
    c = shade(c, 0.94f + 0.12f * grain(x, y, 53));
    if (d > 0.85f)
        c = mix(c, joint, (d - 0.85f) / 0.15f);
    return c;
}

sf::Color factoryFloor(float x, float y)
{
    sf::Color c = concreteSlabs(x, y, sf::Color(170, 170, 166), 64, 61);
    // Oil stains and a painted bay line along one side of the tile.
    const float stain = fractalNoise(x, y, tile, 64, 3, 62);
    if (stain > 0.68f)
        c = shade(c, 1.0f - (stain - 0.68f) * 1.2f);
    if (static_cast<int>(x) >= 8 && static_cast<int>(x) < 14)
        c = mix(c, sf::Color(222, 184, 40), 0.85f);
    return c;
}

sf::Color water(float x, float y)
{
    const float broad = fractalNoise(x, y, tile, 128, 4, 71);
    const float wave = std::sin(twoPi * (x / tile * 3.0f + y / tile * 2.0f) + broad * 4.0f);
    return shade(palette::water, 0.9f + 0.2f * broad + 0.06f * wave);
}

sf::Color roofTiles(float x, float y, const sf::Color& base, std::uint32_t seed)
{
    // Rows of 16-pixel tiles, the lower edge of each row scalloped.
    const int row = static_cast<int>(y) / 16;
    const float shifted = std::fmod(x + (row % 2 ? 8.0f : 0.0f), static_cast<float>(tile));
    const float lx = std::fmod(shifted, 16.0f) / 16.0f, ly = std::fmod(y, 16.0f) / 16.0f;
    const float scallop = 0.75f + 0.25f * std::sin(lx * 3.14159f);
    sf::Color c = shade(base, 0.9f + 0.2f * latticeValue(static_cast<int>(shifted) / 16, row, seed));
    c = shade(c, 1.15f - 0.35f * ly); // each row lit at its top
    if (ly > scallop)
        c = shade(c, 0.6f);
    if (lx < 0.06f)
        c = shade(c, 0.8f);
    return shade(c, 0.95f + 0.1f * grain(x, y, seed + 1));
}

} // namespace

bool makeFloorTextures(const std::filesystem::path& root)
{
    const std::filesystem::path folder = root / "Data/Textures";
    struct Texture {
        const char* name;
        PixelFn pixel;
    };
    const Texture textures[] = {
        {"Grass_A", [](float x, float y) { return grass(x, y, palette::grassA, 1); }},
        {"Grass_B", [](float x, float y) { return grass(x, y, palette::grassB, 11); }},
        {"Dirt", dirt},
        {"Sand", sand},
        {"Asphalt", asphalt},
        {"Concrete", [](float x, float y) { return concreteSlabs(x, y, palette::concrete, 128, 81); }},
        {"Cobbles", cobbles},
        {"FF_Workshop", factoryFloor},
        {"Water", water},
        {"RoofTiles", [](float x, float y) { return roofTiles(x, y, palette::roofRed, 91); }},
        {"RoofSlate", [](float x, float y) { return roofTiles(x, y, palette::roofGrey, 95); }},
    };
    for (const Texture& t : textures)
        if (!savePng(paint(t.pixel), folder / (std::string(t.name) + ".png")))
            return false;
    return true;
}

} // namespace content
