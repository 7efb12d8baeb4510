#include "Paint.h"

#include <algorithm>
#include <cmath>

namespace content {

namespace {

sf::Uint8 byte(float v)
{
    return static_cast<sf::Uint8>(std::clamp(std::lround(v), 0L, 255L));
}

} // namespace

sf::Color mix(const sf::Color& a, const sf::Color& b, float t)
{
    return sf::Color(byte(a.r + (b.r - a.r) * t), byte(a.g + (b.g - a.g) * t), byte(a.b + (b.b - a.b) * t),
                     byte(a.a + (b.a - a.a) * t));
}

sf::Color shade(const sf::Color& c, float factor)
{
    return sf::Color(byte(c.r * factor), byte(c.g * factor), byte(c.b * factor), c.a);
}

void blend(sf::Image& image, int x, int y, const sf::Color& c, float coverage)
{
    const sf::Vector2u size = image.getSize();
    if (x < 0 || y < 0 || x >= static_cast<int>(size.x) || y >= static_cast<int>(size.y) || coverage <= 0.0f)
        return;
    const sf::Color d = image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y));
    const float sa = std::min(1.0f, coverage) * c.a / 255.0f;
    const float da = d.a / 255.0f;
    const float oa = sa + da * (1.0f - sa);
    if (oa <= 0.0f)
        return;
    auto channel = [&](float s, float dd) { return (s * sa + dd * da * (1.0f - sa)) / oa; };
    image.setPixel(static_cast<unsigned>(x), static_cast<unsigned>(y),
                   sf::Color(byte(channel(c.r, d.r)), byte(channel(c.g, d.g)), byte(channel(c.b, d.b)),
                             byte(oa * 255.0f)));
}

void fillEllipse(sf::Image& image, float cx, float cy, float rx, float ry,
                 const std::function<sf::Color(float, float)>& colourAt)
{
    const int x0 = static_cast<int>(std::floor(cx - rx - 1)), x1 = static_cast<int>(std::ceil(cx + rx + 1));
    const int y0 = static_cast<int>(std::floor(cy - ry - 1)), y1 = static_cast<int>(std::ceil(cy + ry + 1));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float nx = (x + 0.5f - cx) / rx, ny = (y + 0.5f - cy) / ry;
            const float d = std::sqrt(nx * nx + ny * ny);
            // One pixel of soft edge, measured along the smaller radius.
            const float edge = (1.0f - d) * std::min(rx, ry) + 0.5f;
            if (edge <= 0.0f)
                continue;
            blend(image, x, y, colourAt(nx, ny), std::min(1.0f, edge));
        }
}

void fillRoundRect(sf::Image& image, float left, float top, float width, float height, float radius,
                   const std::function<sf::Color(float, float)>& colourAt)
{
    const float cx = left + width * 0.5f, cy = top + height * 0.5f;
    const float hx = width * 0.5f, hy = height * 0.5f;
    radius = std::min({radius, hx, hy});
    for (int y = static_cast<int>(std::floor(top)); y <= static_cast<int>(std::ceil(top + height)); ++y)
        for (int x = static_cast<int>(std::floor(left)); x <= static_cast<int>(std::ceil(left + width)); ++x) {
            const float px = std::fabs(x + 0.5f - cx), py = std::fabs(y + 0.5f - cy);
            // Signed distance to the rounded box, negative inside.
            const float qx = px - (hx - radius), qy = py - (hy - radius);
            const float outside = std::sqrt(std::max(qx, 0.0f) * std::max(qx, 0.0f) +
                                            std::max(qy, 0.0f) * std::max(qy, 0.0f));
            const float dist = outside + std::min(std::max(qx, qy), 0.0f) - radius;
            const float coverage = 0.5f - dist;
            if (coverage <= 0.0f)
                continue;
            blend(image, x, y, colourAt((x + 0.5f - cx) / hx, (y + 0.5f - cy) / hy), std::min(1.0f, coverage));
        }
}

sf::Color litColour(const sf::Color& base, float nx, float ny, float strength)
{
    // Brighter towards the top-left rim, darker towards the bottom-right.
    const float light = -(nx + ny) * 0.7071f;
    const float rim = std::min(1.0f, std::sqrt(nx * nx + ny * ny));
    return shade(base, 1.0f + strength * light * (0.4f + 0.6f * rim));
}

} // namespace content
