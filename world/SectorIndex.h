#pragma once
// The sector fixtures' boxes in a uniform grid, for the sector query. Sector
// bodies never move or change once built, so a flat grid of their tight
// boxes finds the few candidates under a small rectangle in one or two
// cells, where the physics world's tree walks a dozen levels of fattened
// boxes shared with every moving body.

#include <box2d/b2_collision.h>

#include <cstdint>
#include <vector>

class b2Fixture;
struct Sector;

class SectorIndex {
public:
    /// Indexes every fixture of `sectors` (metres, as the bodies hold them).
    void build(std::vector<Sector>& sectors);
    /// Forgets every fixture (the bodies are gone).
    void clear();

    /// Calls `visit(fixture)` for each fixture whose box, widened by a margin
    /// far above any rounding, meets `box`; a fixture may come twice when
    /// `box` spans cells. Returns false when nothing is indexed.
    template <typename F>
    bool forCandidates(const b2AABB& box, F&& visit) const;

private:
    struct Entry {
        b2AABB box;
        b2Fixture* fixture;
    };

    bool cellRange(const b2AABB& box, int& x0, int& y0, int& x1, int& y1) const;

    std::vector<std::uint32_t> cellStart_; ///< per cell, into entries_; one more at the end
    std::vector<Entry> entries_;
    float minX_ = 0.0f, minY_ = 0.0f, cellSize_ = 1.0f;
    int columns_ = 0, rows_ = 0;
};

template <typename F>
bool SectorIndex::forCandidates(const b2AABB& box, F&& visit) const
{
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    if (!cellRange(box, x0, y0, x1, y1))
        return false;
    for (int y = y0; y <= y1; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_);
        for (std::size_t c = row + static_cast<std::size_t>(x0); c <= row + static_cast<std::size_t>(x1); ++c)
            for (std::uint32_t i = cellStart_[c]; i < cellStart_[c + 1]; ++i)
                if (b2TestOverlap(entries_[i].box, box))
                    visit(entries_[i].fixture);
    }
    return true;
}
