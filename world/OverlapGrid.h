#pragma once
// Finds the later sectors whose bounds overlap a sector's, through a uniform
// grid of cells about one typical sector wide: building the sector bodies stays
// proportional to the overlaps, not to the square of the sector count. (A
// bounding-volume tree does badly here: the background sector's box covers the
// whole map and drags every query through it.)

#include "world/Map.h"

#include <SFML/Graphics/Rect.hpp>

#include <cstdint>
#include <vector>

/// True when two rectangles overlap with positive width and height.
bool overlapStrictly(const sf::FloatRect& a, const sf::FloatRect& b);

class OverlapGrid {
public:
    /// Indexes every sector with an outline; `sectors` must outlive the grid.
    explicit OverlapGrid(const std::vector<Sector>& sectors);

    /// The sectors after `index` whose bounds overlap it, in order. Valid
    /// until the next call.
    const std::vector<std::uint32_t>& laterOverlaps(std::size_t index);

    /// About one typical sector's size, in world pixels.
    float cellSize() const;

private:
    static constexpr int maxCells = 256; // per side
    static constexpr std::uint32_t noSector = 0xFFFFFFFFu;

    template <typename F>
    void forCells(const sf::FloatRect& r, F&& visit);

    const std::vector<Sector>& sectors_;
    // The sectors' bounds side by side: the loop over a cell reads little
    // else, and the sectors themselves lie far apart in memory.
    std::vector<sf::FloatRect> bounds_;
    std::vector<std::uint32_t> seen_;
    std::vector<std::vector<std::uint32_t>> cells_;
    std::vector<std::uint32_t> found_;
    float minX_ = 0.f, minY_ = 0.f, maxX_ = 0.f, maxY_ = 0.f;
    float cellWidth_ = 1.f, cellHeight_ = 1.f;
    int columns_ = 0, rows_ = 0;
};
