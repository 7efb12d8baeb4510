#include "world/OverlapGrid.h"

#include <algorithm>

bool overlapStrictly(const sf::FloatRect& a, const sf::FloatRect& b)
{
    const float left = std::max(a.left, b.left);
    const float right = std::min(a.left + a.width, b.left + b.width);
    const float top = std::max(a.top, b.top);
    const float bottom = std::min(a.top + a.height, b.top + b.height);
    return right - left > 0.0f && bottom - top > 0.0f;
}

OverlapGrid::OverlapGrid(const std::vector<Sector>& sectors)
    : sectors_(sectors), seen_(sectors.size(), noSector)
{
    bounds_.reserve(sectors.size());
    for (const Sector& s : sectors)
        bounds_.push_back(s.bounds);
    std::vector<float> sizes;
    bool any = false;
    for (const Sector& s : sectors) {
        if (s.clipPath.size() < 3)
            continue;
        const sf::FloatRect& b = s.bounds;
        if (!any) {
            minX_ = b.left;
            minY_ = b.top;
            maxX_ = b.left + b.width;
            maxY_ = b.top + b.height;
            any = true;
        }
        minX_ = std::min(minX_, b.left);
        minY_ = std::min(minY_, b.top);
        maxX_ = std::max(maxX_, b.left + b.width);
        maxY_ = std::max(maxY_, b.top + b.height);
        sizes.push_back(std::max(b.width, b.height));
    }
    if (!any)
        return;
    // The median size, so that one huge background sector does not decide it.
    std::nth_element(sizes.begin(), sizes.begin() + static_cast<std::ptrdiff_t>(sizes.size() / 2), sizes.end());
    const float typical = std::max(sizes[sizes.size() / 2], 1.0f);
    columns_ = std::clamp(static_cast<int>((maxX_ - minX_) / typical) + 1, 1, maxCells);
    rows_ = std::clamp(static_cast<int>((maxY_ - minY_) / typical) + 1, 1, maxCells);
    cellWidth_ = std::max((maxX_ - minX_) / static_cast<float>(columns_), 1.0f);
    cellHeight_ = std::max((maxY_ - minY_) / static_cast<float>(rows_), 1.0f);
    cells_.resize(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_));
    for (std::size_t i = 0; i < sectors.size(); ++i) {
        if (sectors[i].clipPath.size() < 3)
            continue;
        forCells(sectors[i].bounds,
                 [&](std::vector<std::uint32_t>& cell) { cell.push_back(static_cast<std::uint32_t>(i)); });
    }
}

const std::vector<std::uint32_t>& OverlapGrid::laterOverlaps(std::size_t index)
{
    found_.clear();
    const sf::FloatRect& bounds = bounds_[index];
    forCells(bounds, [&](std::vector<std::uint32_t>& cell) {
        for (std::uint32_t j : cell) {
            if (j <= index || seen_[j] == index)
                continue;
            seen_[j] = static_cast<std::uint32_t>(index);
            if (overlapStrictly(bounds_[j], bounds))
                found_.push_back(j);
        }
    });
    std::sort(found_.begin(), found_.end());
    return found_;
}

float OverlapGrid::cellSize() const
{
    return std::max(cellWidth_, cellHeight_);
}

template <typename F>
void OverlapGrid::forCells(const sf::FloatRect& r, F&& visit)
{
    if (cells_.empty())
        return;
    auto column = [&](float x) { return std::clamp(static_cast<int>((x - minX_) / cellWidth_), 0, columns_ - 1); };
    auto row = [&](float y) { return std::clamp(static_cast<int>((y - minY_) / cellHeight_), 0, rows_ - 1); };
    const int c0 = column(r.left), c1 = column(r.left + r.width);
    const int r0 = row(r.top), r1 = row(r.top + r.height);
    for (int y = r0; y <= r1; ++y)
        for (int x = c0; x <= c1; ++x)
            visit(cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(x)]);
}
