#include "world/SectorIndex.h"

#include "world/Map.h"

#include <box2d/box2d.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr int maxCellsPerSide = 1024;
// Long slivers cover many cells; past this many entries per fixture the
// cells grow instead.
constexpr std::size_t maxEntriesPerFixture = 16;

// The exact test counts polygons as touching within both their skins (the
// fixture's box already holds its own; the query box has one too) plus 10
// float epsilons; the widened box must hold everything that test could
// accept, whatever float rounding does to coordinates of this size.
float marginFor(const b2AABB& box)
{
    const float extent = std::max({std::fabs(box.lowerBound.x), std::fabs(box.lowerBound.y),
                                   std::fabs(box.upperBound.x), std::fabs(box.upperBound.y)});
    return b2_polygonRadius + 1.0e-3f + extent * 1.0e-5f;
}

} // namespace

void SectorIndex::clear()
{
    cellStart_.clear();
    entries_.clear();
    columns_ = rows_ = 0;
}

void SectorIndex::build(std::vector<Sector>& sectors)
{
    clear();
    std::vector<Entry> all;
    for (Sector& sector : sectors)
        for (b2Fixture* fixture : sector.fixtures) {
            b2AABB box;
            fixture->GetShape()->ComputeAABB(&box, fixture->GetBody()->GetTransform(), 0);
            const float margin = marginFor(box);
            box.lowerBound -= b2Vec2(margin, margin);
            box.upperBound += b2Vec2(margin, margin);
            all.push_back({box, fixture});
        }
    if (all.empty())
        return;
    b2AABB bounds = all.front().box;
    for (const Entry& e : all)
        bounds.Combine(e.box);
    minX_ = bounds.lowerBound.x;
    minY_ = bounds.lowerBound.y;
    const float width = bounds.upperBound.x - minX_, height = bounds.upperBound.y - minY_;
    // About one fixture per cell to start with.
    cellSize_ = std::max(std::sqrt(width * height / static_cast<float>(all.size())), 1.0e-3f);
    std::size_t total = 0;
    for (;;) {
        columns_ = std::clamp(static_cast<int>(std::ceil(width / cellSize_)), 1, maxCellsPerSide);
        rows_ = std::clamp(static_cast<int>(std::ceil(height / cellSize_)), 1, maxCellsPerSide);
        cellSize_ = std::max({cellSize_, width / static_cast<float>(columns_), height / static_cast<float>(rows_)});
        total = 0;
        for (const Entry& e : all) {
            int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
            cellRange(e.box, x0, y0, x1, y1);
            total += static_cast<std::size_t>(x1 - x0 + 1) * static_cast<std::size_t>(y1 - y0 + 1);
        }
        if (total <= maxEntriesPerFixture * all.size() || (columns_ == 1 && rows_ == 1))
            break;
        cellSize_ *= 2.0f;
    }

    const std::size_t cells = static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_);
    cellStart_.assign(cells + 1, 0);
    auto forCells = [&](const Entry& e, auto&& f) {
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        cellRange(e.box, x0, y0, x1, y1);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                f(static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(x));
    };
    for (const Entry& e : all)
        forCells(e, [&](std::size_t c) { ++cellStart_[c + 1]; });
    for (std::size_t c = 0; c < cells; ++c)
        cellStart_[c + 1] += cellStart_[c];
    entries_.resize(total);
    std::vector<std::uint32_t> next(cellStart_.begin(), cellStart_.end() - 1);
    for (const Entry& e : all)
        forCells(e, [&](std::size_t c) { entries_[next[c]++] = e; });
}

bool SectorIndex::cellRange(const b2AABB& box, int& x0, int& y0, int& x1, int& y1) const
{
    if (columns_ == 0)
        return false;
    auto column = [&](float x) {
        const float c = std::floor((x - minX_) / cellSize_);
        return !(c >= 0.0f) ? 0 : c >= static_cast<float>(columns_) ? columns_ - 1 : static_cast<int>(c);
    };
    auto row = [&](float y) {
        const float r = std::floor((y - minY_) / cellSize_);
        return !(r >= 0.0f) ? 0 : r >= static_cast<float>(rows_) ? rows_ - 1 : static_cast<int>(r);
    };
    x0 = column(box.lowerBound.x);
    x1 = column(box.upperBound.x);
    y0 = row(box.lowerBound.y);
    y1 = row(box.upperBound.y);
    return true;
}
