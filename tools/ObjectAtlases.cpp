#include "ObjectAtlases.h"

#include "Noise.h"
#include "Output.h"
#include "Paint.h"

#include <cmath>

namespace content {

namespace {

// A soft shadow under each object towards the bottom-right (the light is
// top-left), drawn first so the object covers most of it.
void dropShadow(sf::Image& image, float cx, float cy, float rx, float ry, float offset)
{
    fillEllipse(image, cx + offset, cy + offset, rx, ry, [](float nx, float ny) {
        const float d = std::min(1.0f, std::sqrt(nx * nx + ny * ny));
        return sf::Color(0, 0, 0, static_cast<sf::Uint8>(90 * (1.0f - d * d)));
    });
}

// A tree crown: overlapping leafy blobs around the centre, each lit from the
// top-left, with the canopy darker towards its rim.
void crown(sf::Image& image, float cx, float cy, float radius, const sf::Color& leaf, std::uint32_t seed,
           int blobs)
{
    dropShadow(image, cx, cy, radius * 0.92f, radius * 0.92f, radius * 0.12f);
    fillEllipse(image, cx, cy, radius * 0.85f, radius * 0.85f,
                [&](float nx, float ny) { return litColour(shade(leaf, 0.7f), nx, ny, 0.3f); });
    Rng rng(seed);
    for (int i = 0; i < blobs; ++i) {
        const float a = rng.range(0.0f, 6.2831853f), d = std::sqrt(rng.unit()) * radius * 0.6f;
        const float r = radius * rng.range(0.22f, 0.36f);
        const float bx = cx + std::cos(a) * d, by = cy + std::sin(a) * d;
        const float tone = rng.range(0.85f, 1.12f);
        fillEllipse(image, bx, by, r, r, [&](float nx, float ny) {
            const float speck = latticeValue(static_cast<int>(bx + nx * r), static_cast<int>(by + ny * r), seed);
            return litColour(shade(leaf, tone * (0.9f + 0.2f * speck)), nx, ny, 0.45f);
        });
    }
}

void pine(sf::Image& image, float cx, float cy, float radius)
{
    dropShadow(image, cx, cy, radius * 0.9f, radius * 0.9f, radius * 0.12f);
    // Layered star of needles: rings of decreasing radius, each a little lighter.
    for (int ring = 0; ring < 5; ++ring) {
        const float r = radius * (1.0f - ring * 0.18f);
        const float tone = 0.7f + ring * 0.1f;
        fillEllipse(image, cx, cy, r, r, [&](float nx, float ny) {
            const float angle = std::atan2(ny, nx);
            const float spikes = 0.5f + 0.5f * std::cos(angle * 11.0f + ring);
            const float d = std::sqrt(nx * nx + ny * ny);
            sf::Color c = litColour(shade(palette::darkLeaf, tone), nx, ny, 0.4f);
            if (d > 0.8f + 0.2f * spikes)
                c.a = 0;
            return c;
        });
    }
    fillEllipse(image, cx, cy, 2.0f, 2.0f, [](float, float) { return palette::bark; });
}

void bush(sf::Image& image, float cx, float cy, float radius, bool flowers, std::uint32_t seed)
{
    crown(image, cx, cy, radius, shade(palette::leaf, 1.1f), seed, 7);
    if (!flowers)
        return;
    Rng rng(seed + 1);
    for (int i = 0; i < 9; ++i) {
        const float a = rng.range(0.0f, 6.2831853f), d = rng.unit() * radius * 0.7f;
        fillEllipse(image, cx + std::cos(a) * d, cy + std::sin(a) * d, 1.3f, 1.3f,
                    [](float, float) { return sf::Color(236, 120, 170); });
    }
}

void rock(sf::Image& image, float cx, float cy, float rx, float ry, std::uint32_t seed)
{
    dropShadow(image, cx, cy, rx, ry, 2.0f);
    fillEllipse(image, cx, cy, rx, ry, [&](float nx, float ny) {
        // Facets: the lighting follows a lumpy surface rather than a dome.
        const float lump = tileNoise((nx + 1.0f) * 16.0f, (ny + 1.0f) * 16.0f, 8, 4, seed);
        return litColour(shade(palette::rock, 0.85f + 0.3f * lump), nx, ny, 0.6f);
    });
}

void crate(sf::Image& image, float left, float top, float size)
{
    fillRoundRect(image, left, top, size, size, 1.0f,
                  [](float nx, float ny) { return litColour(palette::wood, nx, ny, 0.3f); });
    // Planks and a cross brace.
    for (int i = 0; i < static_cast<int>(size); ++i) {
        blend(image, static_cast<int>(left) + i, static_cast<int>(top) + i, shade(palette::wood, 0.6f), 0.8f);
        for (int p = 4; p < static_cast<int>(size); p += 4)
            blend(image, static_cast<int>(left) + i, static_cast<int>(top) + p, shade(palette::wood, 0.75f), 0.6f);
    }
    for (int i = 0; i < static_cast<int>(size); ++i) {
        blend(image, static_cast<int>(left) + i, static_cast<int>(top), shade(palette::wood, 1.3f), 0.8f);
        blend(image, static_cast<int>(left), static_cast<int>(top) + i, shade(palette::wood, 1.3f), 0.8f);
        blend(image, static_cast<int>(left + size) - 1, static_cast<int>(top) + i, shade(palette::wood, 0.5f), 0.8f);
        blend(image, static_cast<int>(left) + i, static_cast<int>(top + size) - 1, shade(palette::wood, 0.5f), 0.8f);
    }
}

void drum(sf::Image& image, float cx, float cy, float r, const sf::Color& colour)
{
    fillEllipse(image, cx, cy, r, r, [&](float nx, float ny) { return litColour(colour, nx, ny, 0.6f); });
    fillEllipse(image, cx, cy, r * 0.6f, r * 0.6f,
                [&](float nx, float ny) { return litColour(shade(colour, 0.8f), -nx, -ny, 0.4f); });
    fillEllipse(image, cx + r * 0.3f, cy - r * 0.3f, r * 0.15f, r * 0.15f,
                [](float, float) { return sf::Color(40, 40, 40); }); // bung
}

void cone(sf::Image& image, float cx, float cy, float r)
{
    fillRoundRect(image, cx - r, cy - r, r * 2, r * 2, 1.0f,
                  [](float nx, float ny) { return litColour(sf::Color(40, 40, 40), nx, ny, 0.3f); }); // base
    fillEllipse(image, cx, cy, r * 0.8f, r * 0.8f, [](float nx, float ny) {
        const float d = std::sqrt(nx * nx + ny * ny);
        const sf::Color band = d > 0.45f && d < 0.7f ? sf::Color(240, 240, 240) : palette::orange;
        return litColour(band, nx, ny, 0.5f);
    });
}

void hayBale(sf::Image& image, float left, float top, float w, float h)
{
    fillRoundRect(image, left, top, w, h, 4.0f, [&](float nx, float ny) {
        const float straw = latticeValue(static_cast<int>((nx + 1) * 40), static_cast<int>((ny + 1) * 6), 77);
        return litColour(shade(sf::Color(206, 176, 96), 0.9f + 0.2f * straw), nx, ny, 0.4f);
    });
    for (float x : {left + w * 0.33f, left + w * 0.66f})
        for (int y = static_cast<int>(top) + 1; y < static_cast<int>(top + h) - 1; ++y)
            blend(image, static_cast<int>(x), y, sf::Color(120, 90, 50), 0.8f); // twine
}

bool nature(const std::filesystem::path& root)
{
    sf::Image image;
    image.create(512, 128, sf::Color::Transparent);
    crown(image, 56, 56, 52, palette::leaf, 301, 14);           // Tree_Oak 0,0,112,112
    pine(image, 160, 44, 42);                                    // Tree_Pine 116,0,88,88
    crown(image, 244, 36, 32, sf::Color(112, 150, 70), 303, 10); // Tree_Birch 208,0,72,72
    bush(image, 298, 14, 12, false, 304);                        // Bush 284,0,28,28
    bush(image, 330, 14, 12, true, 305);                         // Bush_Flower 316,0,28,28
    rock(image, 357, 10, 9, 8, 306);                             // Rock 348,0,20,20
    rock(image, 392, 18, 19, 16, 307);                           // Rock_Big 372,0,40,38
    return savePng(image, root / "Data/Images/Nature.png");
}

bool props(const std::filesystem::path& root)
{
    sf::Image image;
    image.create(128, 32, sf::Color::Transparent);
    crate(image, 0, 0, 16);                               // Crate 0,0,16,16
    drum(image, 25, 5, 5, sf::Color(40, 110, 160));       // Barrel 20,0,10,10
    drum(image, 39, 5, 5, sf::Color(170, 50, 40));        // Barrel_Red 34,0,10,10
    cone(image, 52, 4, 3.5f);                             // Cone 48,0,8,8
    fillEllipse(image, 64, 4, 3.8f, 3.8f, [](float nx, float ny) {
        const float d = std::sqrt(nx * nx + ny * ny);
        return litColour(d < 0.5f ? sf::Color(230, 200, 40) : sf::Color(70, 70, 74), nx, ny, 0.6f);
    });                                                   // Bollard 60,0,8,8
    hayBale(image, 72, 0, 24, 16);                        // HayBale 72,0,24,16
    return savePng(image, root / "Data/Images/Props.png");
}

} // namespace

bool makeObjectAtlases(const std::filesystem::path& root)
{
    return nature(root) && props(root);
}

} // namespace content
