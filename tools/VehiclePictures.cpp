#include "VehiclePictures.h"

#include "Noise.h"
#include "Output.h"
#include "Paint.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace content {

namespace {

enum class Style { Car, Sports, Pickup, Bus, Tracked, Buggy };

struct VehicleSheet {
    const char* name;
    Style style;
    int bodyWidth, bodyHeight; // picture pixels; the nose is at the top
    int wheelWidth, wheelHeight;
    sf::Color paint;
};

// Sizes from the scale of the world: 16 pixels a metre.
const VehicleSheet sheets[] = {
    {"Hatchback", Style::Car, 28, 62, 5, 12, sf::Color(196, 52, 40)},
    {"Roadster", Style::Sports, 30, 70, 6, 13, sf::Color(232, 180, 30)},
    {"Pickup", Style::Pickup, 32, 86, 6, 14, sf::Color(58, 98, 156)},
    {"Minibus", Style::Bus, 36, 112, 6, 14, sf::Color(226, 226, 214)},
    {"Crawler", Style::Tracked, 40, 104, 14, 50, sf::Color(92, 104, 64)},
    {"Buggy", Style::Buggy, 30, 58, 8, 16, sf::Color(230, 100, 24)},
};

sf::Color glassAt(float nx, float ny)
{
    // A dark window with a soft reflection towards the top-left.
    return litColour(palette::glass, nx, ny, 0.6f);
}

void wheel(sf::Image& image, int left, int width, int height, bool track)
{
    const float l = static_cast<float>(left);
    fillRoundRect(image, l, 0, static_cast<float>(width), static_cast<float>(height), track ? 2.0f : 1.5f,
                  [&](float nx, float ny) {
                      sf::Color c = litColour(palette::tyre, nx, ny * 0.3f, 0.8f);
                      return c;
                  });
    // Tread: cross ribs every few pixels (the tread shade scrolls over them).
    const int step = track ? 5 : 3;
    for (int y = 1; y < height - 1; y += step)
        for (int x = 1; x < width - 1; ++x)
            blend(image, left + x, y, sf::Color(70, 70, 72), track ? 0.9f : 0.6f);
    if (track) // guide teeth down the middle
        for (int y = 2; y < height - 2; y += 5)
            for (int x = width / 2 - 1; x <= width / 2; ++x)
                blend(image, left + x, y, sf::Color(120, 118, 110), 1.0f);
}

void lights(sf::Image& image, float w, float h, float inset)
{
    for (float side : {-1.0f, 1.0f}) {
        const float x = w * 0.5f + side * (w * 0.5f - inset - 2.5f);
        fillEllipse(image, x, 2.5f, 2.5f, 1.6f, [](float, float) { return sf::Color(250, 246, 214); });
        fillRoundRect(image, x - 2.5f, h - 2.5f, 5.0f, 2.0f, 0.8f,
                      [](float, float) { return sf::Color(190, 30, 26); });
    }
}

void body(sf::Image& image, const VehicleSheet& s)
{
    const float w = static_cast<float>(s.bodyWidth), h = static_cast<float>(s.bodyHeight);
    auto painted = [&](float nx, float ny) { return litColour(s.paint, nx, ny * 0.5f, 0.35f); };
    switch (s.style) {
    case Style::Car:
    case Style::Sports: {
        const bool sports = s.style == Style::Sports;
        fillRoundRect(image, 0.5f, 0.5f, w - 1, h - 1, sports ? 9.0f : 6.0f, painted);
        // Bonnet crease, windscreen, roof and rear window.
        const float screenTop = h * (sports ? 0.38f : 0.28f);
        fillRoundRect(image, 3, screenTop, w - 6, h * 0.12f, 3, glassAt);
        fillRoundRect(image, 4, screenTop + h * 0.13f, w - 8, h * (sports ? 0.2f : 0.3f), 2,
                      [&](float nx, float ny) { return litColour(shade(s.paint, 0.92f), nx, ny, 0.5f); });
        fillRoundRect(image, 4, screenTop + h * (sports ? 0.34f : 0.44f), w - 8, h * 0.09f, 2, glassAt);
        if (sports) // twin stripes over the whole length
            for (int y = 2; y < s.bodyHeight - 2; ++y)
                for (float x : {w * 0.5f - 4, w * 0.5f - 3, w * 0.5f + 2, w * 0.5f + 3})
                    blend(image, static_cast<int>(x), y, sf::Color(30, 30, 34), 0.85f);
        lights(image, w, h, sports ? 2.0f : 1.0f);
        break;
    }
    case Style::Pickup: {
        fillRoundRect(image, 0.5f, 0.5f, w - 1, h - 1, 5, painted);
        fillRoundRect(image, 3, h * 0.22f, w - 6, h * 0.09f, 2, glassAt);
        fillRoundRect(image, 4, h * 0.32f, w - 8, h * 0.14f, 2,
                      [&](float nx, float ny) { return litColour(shade(s.paint, 0.9f), nx, ny, 0.5f); });
        fillRoundRect(image, 4, h * 0.47f, w - 8, h * 0.04f, 1, glassAt);
        // The open bed: a dark floor with ribs.
        fillRoundRect(image, 3, h * 0.54f, w - 6, h * 0.42f, 1,
                      [](float nx, float ny) { return litColour(sf::Color(52, 50, 48), -nx, -ny, 0.4f); });
        for (int y = static_cast<int>(h * 0.56f); y < static_cast<int>(h * 0.94f); y += 4)
            for (int x = 5; x < s.bodyWidth - 5; ++x)
                blend(image, x, y, sf::Color(90, 88, 84), 0.7f);
        lights(image, w, h, 1.0f);
        break;
    }
    case Style::Bus: {
        fillRoundRect(image, 0.5f, 0.5f, w - 1, h - 1, 4, painted);
        fillRoundRect(image, 3, 5, w - 6, 8, 2, glassAt);
        // Roof with vents, a stripe of side windows along both edges.
        fillRoundRect(image, 5, 15, w - 10, h - 20, 2,
                      [&](float nx, float ny) { return litColour(shade(s.paint, 0.95f), nx, ny * 0.3f, 0.3f); });
        for (int y = 16; y < s.bodyHeight - 6; y += 9)
            for (float x : {2.0f, w - 4.0f})
                fillRoundRect(image, x, static_cast<float>(y), 2, 7, 0.5f, glassAt);
        for (float y : {h * 0.35f, h * 0.65f})
            fillRoundRect(image, w * 0.5f - 5, y, 10, 8, 1,
                          [](float nx, float ny) { return litColour(sf::Color(160, 160, 156), nx, ny, 0.5f); });
        for (int y = 15; y < s.bodyHeight - 5; ++y) // a blue band at the waist
            for (int x : {4, s.bodyWidth - 5})
                blend(image, x, y, sf::Color(40, 90, 170), 0.9f);
        lights(image, w, h, 1.0f);
        break;
    }
    case Style::Tracked: {
        fillRoundRect(image, 0.5f, 0.5f, w - 1, h - 1, 3, painted);
        // Engine deck grille at the rear, a hatch and a turret-like cabin.
        for (int y = static_cast<int>(h * 0.72f); y < s.bodyHeight - 5; y += 3)
            for (int x = 6; x < s.bodyWidth - 6; ++x)
                blend(image, x, y, shade(s.paint, 0.6f), 0.9f);
        fillEllipse(image, w * 0.5f, h * 0.42f, w * 0.36f, w * 0.36f,
                    [&](float nx, float ny) { return litColour(shade(s.paint, 1.05f), nx, ny, 0.55f); });
        fillEllipse(image, w * 0.5f - 3, h * 0.40f, 4.5f, 4.5f,
                    [&](float nx, float ny) { return litColour(shade(s.paint, 0.8f), -nx, -ny, 0.5f); });
        fillRoundRect(image, w * 0.5f - 8, 4, 16, 5, 1, glassAt); // vision slit
        for (float side : {-1.0f, 1.0f}) // headlights in guards
            fillEllipse(image, w * 0.5f + side * (w * 0.5f - 5), 3, 2, 1.5f,
                        [](float, float) { return sf::Color(240, 236, 200); });
        break;
    }
    case Style::Buggy: {
        // An open tube frame around two seats and an engine at the back.
        const sf::Color tube = s.paint;
        fillRoundRect(image, 6, 10, w - 12, h - 16, 4,
                      [](float nx, float ny) { return litColour(sf::Color(60, 60, 64), nx, ny, 0.4f); });
        for (float side : {-1.0f, 1.0f}) {
            fillRoundRect(image, w * 0.5f + side * 5.0f - 4, h * 0.38f, 8, 12, 2,
                          [](float nx, float ny) { return litColour(sf::Color(30, 30, 32), nx, ny, 0.6f); });
        }
        fillRoundRect(image, 9, h * 0.68f, w - 18, h * 0.2f, 2,
                      [](float nx, float ny) { return litColour(sf::Color(150, 150, 150), nx, ny, 0.6f); });
        auto bar = [&](float l, float t, float bw, float bh) {
            fillRoundRect(image, l, t, bw, bh, 1, [&](float nx, float ny) { return litColour(tube, nx, ny, 0.6f); });
        };
        bar(4, 2, w - 8, 3);          // front bumper
        bar(4, h - 5, w - 8, 3);      // rear bumper
        bar(5, 2, 3, h - 4);          // side rails
        bar(w - 8, 2, 3, h - 4);
        bar(5, h * 0.33f, w - 10, 3); // roll cage
        bar(5, h * 0.6f, w - 10, 3);
        fillRoundRect(image, 9, 5, w - 18, 8, 2,
                      [&](float nx, float ny) { return litColour(tube, nx, ny, 0.4f); }); // nose panel
        lights(image, w, h, 3.0f);
        break;
    }
    }
}

} // namespace

bool makeVehiclePictures(const std::filesystem::path& root)
{
    for (const VehicleSheet& s : sheets) {
        sf::Image image;
        image.create(static_cast<unsigned>(s.bodyWidth + 2 + s.wheelWidth),
                     static_cast<unsigned>(std::max(s.bodyHeight, s.wheelHeight)), sf::Color::Transparent);
        body(image, s);
        wheel(image, s.bodyWidth + 2, s.wheelWidth, s.wheelHeight, s.style == Style::Tracked);
        if (!savePng(image, root / "Data/Cars" / (std::string(s.name) + ".png")))
            return false;
    }
    return true;
}

} // namespace content
