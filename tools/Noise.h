#pragma once
// Deterministic random numbers and tileable noise for the content tool. The
// standard engines are portable but their distributions are not, so the tool
// uses its own: the same bytes on every build.

#include <cstdint>

namespace content {

/// Small deterministic generator (xorshift32).
struct Rng {
    std::uint32_t state;
    explicit Rng(std::uint32_t seed) : state(seed ? seed : 1u) {}
    /// The next 32 random bits.
    std::uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    /// Uniform in [0, 1).
    float unit() { return static_cast<float>(next() & 0xFFFFFF) / 16777216.0f; }
    /// Uniform in [lo, hi).
    float range(float lo, float hi) { return lo + (hi - lo) * unit(); }
    /// Uniform integer in [0, n).
    int below(int n) { return n > 0 ? static_cast<int>(next() % static_cast<std::uint32_t>(n)) : 0; }
};

/// A hash of a lattice point to [0, 1).
float latticeValue(int x, int y, std::uint32_t seed);

/// Smooth value noise in [0, 1) at (x, y) with lattice cells of `cell` pixels;
/// the lattice is taken modulo `period` cells, so noise over a tile of
/// period * cell pixels repeats seamlessly.
float tileNoise(float x, float y, int cell, int period, std::uint32_t seed);

/// Sum of `octaves` tileNoise layers, each half the cell size and half the
/// weight of the previous, normalised to [0, 1). `tile` pixels must be a
/// multiple of every cell size used.
float fractalNoise(float x, float y, int tile, int firstCell, int octaves, std::uint32_t seed);

/// The nearest of one jittered point per lattice cell (cells of `cell`
/// pixels, lattice modulo `period` cells, so it tiles like tileNoise).
struct CellHit {
    float distance = 0.0f; ///< to the nearest point, in pixels
    float second = 0.0f;   ///< to the second nearest point
    float dx = 0.0f, dy = 0.0f; ///< from the nearest point to (x, y)
    std::uint32_t id = 0;  ///< the nearest point's cell, hashed
};
CellHit cellular(float x, float y, int cell, int period, std::uint32_t seed);

} // namespace content
