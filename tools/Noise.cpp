#include "Noise.h"

#include <cmath>

namespace content {

float latticeValue(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = seed * 0x9E3779B1u;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA77u;
    h = (h ^ (h >> 15)) * 0xC2B2AE3Du;
    h ^= static_cast<std::uint32_t>(y) * 0x27D4EB2Fu;
    h = (h ^ (h >> 13)) * 0x165667B1u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFF) / 16777216.0f;
}

namespace {

float smooth(float t)
{
    return t * t * (3.0f - 2.0f * t);
}

int wrap(int v, int period)
{
    const int r = v % period;
    return r < 0 ? r + period : r;
}

} // namespace

float tileNoise(float x, float y, int cell, int period, std::uint32_t seed)
{
    const float fx = x / static_cast<float>(cell), fy = y / static_cast<float>(cell);
    const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    const float tx = smooth(fx - static_cast<float>(ix)), ty = smooth(fy - static_cast<float>(iy));
    const int x0 = wrap(ix, period), x1 = wrap(ix + 1, period);
    const int y0 = wrap(iy, period), y1 = wrap(iy + 1, period);
    const float a = latticeValue(x0, y0, seed), b = latticeValue(x1, y0, seed);
    const float c = latticeValue(x0, y1, seed), d = latticeValue(x1, y1, seed);
    const float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float fractalNoise(float x, float y, int tile, int firstCell, int octaves, std::uint32_t seed)
{
    float sum = 0.0f, weight = 1.0f, total = 0.0f;
    int cell = firstCell;
    for (int o = 0; o < octaves && cell >= 1; ++o) {
        sum += weight * tileNoise(x, y, cell, tile / cell, seed + static_cast<std::uint32_t>(o) * 101u);
        total += weight;
        weight *= 0.5f;
        cell /= 2;
    }
    return total > 0.0f ? sum / total : 0.0f;
}

CellHit cellular(float x, float y, int cell, int period, std::uint32_t seed)
{
    CellHit hit;
    hit.distance = hit.second = 1e9f;
    const int ix = static_cast<int>(std::floor(x / static_cast<float>(cell)));
    const int iy = static_cast<int>(std::floor(y / static_cast<float>(cell)));
    for (int oy = -1; oy <= 1; ++oy)
        for (int ox = -1; ox <= 1; ++ox) {
            const int gx = wrap(ix + ox, period), gy = wrap(iy + oy, period);
            const float px = (static_cast<float>(ix + ox) + latticeValue(gx, gy, seed)) * static_cast<float>(cell);
            const float py = (static_cast<float>(iy + oy) + latticeValue(gx, gy, seed + 7u)) * static_cast<float>(cell);
            const float dx = x - px, dy = y - py;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d < hit.distance) {
                hit.second = hit.distance;
                hit.distance = d;
                hit.dx = dx;
                hit.dy = dy;
                hit.id = static_cast<std::uint32_t>(latticeValue(gx, gy, seed + 13u) * 16777216.0f);
            } else if (d < hit.second) {
                hit.second = d;
            }
        }
    return hit;
}

} // namespace content
