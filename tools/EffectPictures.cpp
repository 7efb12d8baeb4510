#include "EffectPictures.h"

#include "Noise.h"
#include "Output.h"
#include "Paint.h"

#include <cmath>

namespace content {

namespace {

void put(sf::Image& image, int x, int y, const sf::Color& c)
{
    image.setPixel(static_cast<unsigned>(x), static_cast<unsigned>(y), c);
}

// Black stripes of falling strength, one per row: the renderer darkens the
// wheels with their alpha and scrolls them by whole rows as the wheel turns.
sf::Image wheelScroll()
{
    sf::Image image;
    image.create(16, 4, sf::Color::Transparent);
    const sf::Uint8 alpha[4] = {150, 70, 0, 35};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 16; ++x)
            put(image, x, y, sf::Color(0, 0, 0, alpha[y]));
    return image;
}

// A soft, slightly lumpy white puff; the effect tints and fades it.
sf::Image smoke()
{
    sf::Image image;
    image.create(32, 32, sf::Color::Transparent);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const float nx = (x + 0.5f - 16) / 16, ny = (y + 0.5f - 16) / 16;
            const float d = std::sqrt(nx * nx + ny * ny);
            const float lump = tileNoise(static_cast<float>(x), static_cast<float>(y), 8, 4, 501);
            const float a = std::max(0.0f, 1.0f - d * (0.8f + 0.4f * lump));
            put(image, x, y, sf::Color(255, 255, 255, static_cast<sf::Uint8>(255 * a * a)));
        }
    return image;
}

// One tyre print: tread blocks across the width, soft at both ends; white,
// tinted by the ground's track colour.
sf::Image vehicleTrack()
{
    sf::Image image;
    image.create(16, 32, sf::Color::Transparent);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool block = (y / 3) % 2 == 0 || x == 7 || x == 8;
            const float edgeX = std::min(1.0f, std::min(x + 0.5f, 15.5f - x) / 2.0f);
            const float edgeY = std::min(1.0f, std::min(y + 0.5f, 31.5f - y) / 6.0f);
            const float a = (block ? 1.0f : 0.45f) * edgeX * edgeY;
            put(image, x, y, sf::Color(255, 255, 255, static_cast<sf::Uint8>(230 * a)));
        }
    return image;
}

void fill(sf::Image& image, const sf::IntRect& r, const char* rows[], const sf::Color* palette)
{
    // rows: one string per pixel row, '.' transparent, digits index `palette`.
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            const char c = rows[y][x];
            if (c != '.')
                put(image, r.left + x, r.top + y, palette[c - '0']);
        }
}

// The wildlife atlas: insects, bees, butterflies, fish and a gull, all facing
// up (the heading turns them), each in the frame rectangles the wildlife
// table gives.
sf::Image wildlife()
{
    sf::Image image;
    image.create(64, 64, sf::Color::Transparent);
    {
        const sf::Color p[] = {sf::Color(30, 30, 30), sf::Color(200, 210, 220, 150)};
        const char* fly[] = {"101", ".0."};
        fill(image, {2, 2, 3, 2}, fly, p);
    }
    {
        const sf::Color p[] = {sf::Color(40, 34, 20), sf::Color(236, 190, 40), sf::Color(220, 230, 240, 170)};
        const char* bee[] = {"212", ".1.", ".0."};
        fill(image, {9, 2, 3, 3}, bee, p);
    }
    const sf::Color wings[3] = {sf::Color(236, 150, 40), sf::Color(240, 240, 236), sf::Color(90, 130, 220)};
    const int lefts[3] = {2, 10, 18};
    for (int v = 0; v < 3; ++v) {
        const sf::Color p[] = {sf::Color(40, 30, 30), wings[v], shade(wings[v], 0.7f)};
        const char* open[] = {"11011", "12021", ".1.1."};
        const char* half[] = {".101.", ".202.", "..0.."};
        const char* closed[] = {"..0..", "..1..", "..0.."};
        fill(image, {lefts[v], 8, 5, 3}, open, p);
        fill(image, {lefts[v], 13, 5, 3}, half, p);
        fill(image, {lefts[v], 18, 5, 3}, closed, p);
        fill(image, {lefts[v], 23, 5, 3}, half, p);
    }
    {
        const sf::Color p[] = {sf::Color(70, 80, 70, 230), sf::Color(150, 160, 140, 230), sf::Color(40, 44, 40, 230)};
        const char* small1[] = {".2.", "010", "010", "010", ".0.", ".0.", "0.."};
        const char* small2[] = {".2.", "010", "010", "010", ".0.", ".0.", "..0"};
        fill(image, {29, 2, 3, 7}, small1, p);
        fill(image, {34, 2, 3, 7}, small2, p);
        const char* big1[] = {".2.", "010", "010", "111", "010", "010", "010", ".0.", ".0.", "00.", "0.."};
        const char* big2[] = {".2.", "010", "010", "111", "010", "010", "010", ".0.", ".0.", ".00", "..0"};
        fill(image, {29, 12, 3, 11}, big1, p);
        fill(image, {34, 12, 3, 11}, big2, p);
    }
    {
        const sf::Color p[] = {sf::Color(60, 60, 64), sf::Color(236, 236, 232), sf::Color(190, 192, 196),
                               sf::Color(230, 170, 40)};
        const char* up[] = {"......3......", "......1......", ".....111.....", "00..21112..00",
                            ".22211111222.", "..222111222..", "....21112....", ".....111.....",
                            "......1......", ".....111.....", ".....2.2.....", "............."};
        const char* level[] = {".......3.......", ".......1.......", "......111......", "0022221112222.0",
                               "022221111122220", ".....21112.....", ".....21112.....", "......111......",
                               ".......1.......", "......111......", "......2.2......", "..............."};
        const char* down[] = {".......3.......", ".......1.......", "......111......", "......111......",
                              ".....21112.....", "....2211122....", "...222111222...", "..22..111..22..",
                              ".00....1....00.", "0.....111.....0", "......2.2......", "..............."};
        fill(image, {2, 50, 13, 12}, up, p);
        fill(image, {18, 50, 15, 12}, level, p);
        fill(image, {36, 50, 15, 12}, down, p);
    }
    return image;
}

// The bed under the water: silt, pebbles and dark weed, seamless.
sf::Image riverbed()
{
    sf::Image image;
    image.create(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const float fx = static_cast<float>(x), fy = static_cast<float>(y);
            const float broad = fractalNoise(fx, fy, 256, 64, 5, 601);
            sf::Color c = shade(sf::Color(122, 116, 84), 0.75f + 0.4f * broad);
            const float weed = fractalNoise(fx, fy, 256, 32, 3, 602);
            if (weed > 0.6f)
                c = mix(c, sf::Color(44, 74, 40), std::min(1.0f, (weed - 0.6f) * 4.0f));
            const CellHit stone = cellular(fx, fy, 16, 16, 603);
            const float r = 2.0f + 3.0f * static_cast<float>(stone.id % 7u) / 7.0f;
            if (stone.distance < r && stone.id % 3u == 0u)
                c = litColour(shade(sf::Color(150, 144, 130), 0.8f + 0.05f * static_cast<float>(stone.id % 5u)),
                              stone.dx / r, stone.dy / r, 0.5f);
            put(image, x, y, c);
        }
    return image;
}

} // namespace

std::vector<sf::IntRect> wildlifeFrames()
{
    std::vector<sf::IntRect> frames = {{2, 2, 3, 2}, {9, 2, 3, 3}};
    for (int left : {2, 10, 18})
        for (int top : {8, 13, 18, 23})
            frames.push_back({left, top, 5, 3});
    for (const sf::IntRect& r : {sf::IntRect(29, 2, 3, 7), sf::IntRect(34, 2, 3, 7), sf::IntRect(29, 12, 3, 11),
                                 sf::IntRect(34, 12, 3, 11), sf::IntRect(2, 50, 13, 12), sf::IntRect(18, 50, 15, 12),
                                 sf::IntRect(36, 50, 15, 12)})
        frames.push_back(r);
    return frames;
}

bool makeEffectPictures(const std::filesystem::path& root)
{
    const std::filesystem::path folder = root / "Data/Effects";
    return savePng(wheelScroll(), folder / "WheelScroll.png") && savePng(smoke(), folder / "Smoke.png") &&
           savePng(vehicleTrack(), folder / "VehicleTrack.png") && savePng(wildlife(), folder / "Wildlife.png") &&
           savePng(riverbed(), folder / "Riverbed.png");
}

} // namespace content
