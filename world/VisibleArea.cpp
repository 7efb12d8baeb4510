#include "world/VisibleArea.h"

#include "world/OverlapGrid.h"
#include "world/TerrainTextures.h"

#include <algorithm>
#include <cmath>

namespace {

// Above this many later sectors over one sector (the background is under
// everything), the difference is done tile by tile, each tile with only the
// sectors over it: one difference with thousands of holes costs far more than
// many small ones. A tile still under too many is dropped when one of them
// covers it whole, and otherwise split in four, a few times at most.
constexpr std::size_t tilingThreshold = 48;
constexpr int maxTilesPerSide = 32;
constexpr int maxTileSplits = 4;

// Sectors stacked on one outline, or a small patch under a larger one, have
// nothing visible; one later sector containing the whole outline shows it
// without clipping under every sector above. A miss only costs the full
// clipping, so at most a few candidates are tried.
constexpr int maxCoverTests = 16;

bool containsRect(const sf::FloatRect& outer, const sf::FloatRect& inner)
{
    return outer.left <= inner.left && outer.top <= inner.top &&
           outer.left + outer.width >= inner.left + inner.width && outer.top + outer.height >= inner.top + inner.height;
}

double unionArea(const IntPath& path, ClipperLib::PolyFillType fill)
{
    ClipperLib::Paths out;
    ClipperLib::Clipper clipper;
    clipper.AddPath(path, ClipperLib::ptSubject, true);
    clipper.Execute(ClipperLib::ctUnion, out, fill, fill);
    double area = 0.0;
    for (const ClipperLib::Path& p : out)
        area += ClipperLib::Area(p);
    return area;
}

} // namespace

VisibleArea::VisibleArea(const std::vector<Sector>& sectors, const std::vector<IntPath>& paths, float tileSize)
    : sectors_(sectors), paths_(paths), tileSize_(tileSize)
{
}

int VisibleArea::coveringSector(std::size_t index, const std::vector<std::uint32_t>& over) const
{
    const Sector& sector = sectors_[index];
    int tests = 0;
    for (std::uint32_t j : over) {
        if (!containsRect(sectors_[j].bounds, sector.bounds))
            continue;
        if (coveredBy(paths_[index], paths_[j]))
            return static_cast<int>(j);
        if (++tests == maxCoverTests)
            break;
    }
    return -1;
}

bool VisibleArea::build(std::size_t index, const std::vector<std::uint32_t>& over, Polygon& triangles) const
{
    if (over.size() <= tilingThreshold)
        return addAreas(index, over, nullptr, triangles);
    // Tiles of a few typical sectors, but never more than 32 to a side:
    // every tile looks at every sector over the one being built.
    const sf::FloatRect& b = sectors_[index].bounds;
    const int columns = std::clamp(static_cast<int>(std::ceil(b.width / tileSize_)), 1, maxTilesPerSide);
    const int rows = std::clamp(static_cast<int>(std::ceil(b.height / tileSize_)), 1, maxTilesPerSide);
    const float w = b.width / static_cast<float>(columns), h = b.height / static_cast<float>(rows);
    auto tile = [&](int x, int y) {
        return sf::FloatRect(b.left + w * static_cast<float>(x), b.top + h * static_cast<float>(y), w, h);
    };
    // Each sector over this one goes to the tiles it overlaps, in order: the
    // background is under every sector, and every tile testing all of them
    // cost tiles times sectors. The range is widened by a tile against
    // rounding; the exact test decides.
    const std::size_t width = static_cast<std::size_t>(columns);
    std::vector<std::vector<std::uint32_t>> candidates(width * static_cast<std::size_t>(rows));
    auto clampTo = [](float v, int last) {
        return !(v >= 0.0f) ? 0 : v >= static_cast<float>(last) ? last : static_cast<int>(v);
    };
    for (std::uint32_t j : over) {
        const sf::FloatRect& r = sectors_[j].bounds;
        const int x0 = clampTo(std::floor((r.left - b.left) / w) - 1.0f, columns - 1);
        const int x1 = clampTo(std::floor((r.left + r.width - b.left) / w) + 1.0f, columns - 1);
        const int y0 = clampTo(std::floor((r.top - b.top) / h) - 1.0f, rows - 1);
        const int y1 = clampTo(std::floor((r.top + r.height - b.top) / h) + 1.0f, rows - 1);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (overlapStrictly(r, tile(x, y)))
                    candidates[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)].push_back(j);
    }
    bool complete = true;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x)
            complete &= addTile(index, tile(x, y),
                                candidates[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)], 0,
                                triangles);
    return complete;
}

bool VisibleArea::addAreas(std::size_t index, const std::vector<std::uint32_t>& over, const sf::FloatRect* window,
                           Polygon& triangles) const
{
    std::vector<const IntPath*> clips;
    clips.reserve(over.size());
    for (std::uint32_t j : over)
        clips.push_back(&paths_[j]);
    bool complete = true;
    for (const ClippedArea& area : clipDifference(paths_[index], clips, window))
        complete &= triangulate(area.outline, area.holes, triangles);
    return complete;
}

bool VisibleArea::addTile(std::size_t index, const sf::FloatRect& tile, const std::vector<std::uint32_t>& candidates,
                          int splits, Polygon& triangles) const
{
    std::vector<std::uint32_t> over;
    for (std::uint32_t j : candidates)
        if (overlapStrictly(sectors_[j].bounds, tile))
            over.push_back(j);
    if (over.size() > tilingThreshold) {
        if (tileCoveredByOne(tile, over))
            return true;
        if (splits < maxTileSplits && tile.width >= 2.0f && tile.height >= 2.0f) {
            // Halves meet on the same computed line, so no seam opens.
            const float midX = tile.left + tile.width * 0.5f, midY = tile.top + tile.height * 0.5f;
            const float right = tile.left + tile.width, bottom = tile.top + tile.height;
            bool complete = true;
            complete &= addTile(index, sf::FloatRect(tile.left, tile.top, midX - tile.left, midY - tile.top), over,
                                splits + 1, triangles);
            complete &= addTile(index, sf::FloatRect(midX, tile.top, right - midX, midY - tile.top), over, splits + 1,
                                triangles);
            complete &= addTile(index, sf::FloatRect(tile.left, midY, midX - tile.left, bottom - midY), over,
                                splits + 1, triangles);
            complete &= addTile(index, sf::FloatRect(midX, midY, right - midX, bottom - midY), over, splits + 1,
                                triangles);
            return complete;
        }
    }
    return addAreas(index, over, &tile, triangles);
}

bool VisibleArea::tileCoveredByOne(const sf::FloatRect& tile, const std::vector<std::uint32_t>& over) const
{
    const IntPath window = toIntPath(rectanglePath(tile));
    int tests = 0;
    for (std::uint32_t j : over) {
        if (!containsRect(sectors_[j].bounds, tile))
            continue;
        if (coveredBy(window, paths_[j]))
            return true;
        if (++tests == maxCoverTests)
            break;
    }
    return false;
}

bool drawnOpaque(const Sector& sector)
{
    if (sector.waterEffect || sector.isShadow || sector.triangles.empty())
        return false;
    // The minimap draws every sector in its colour, the view a textured one
    // in its texture: a cover must be opaque in both.
    const TerrainTexture* floor = terrainTextureAt(sector.textureIndex);
    return sector.colour.a == 255 && (!floor || floor->opaque);
}

bool fillsAsOutlined(const IntPath& path)
{
    if (path.size() < 3)
        return false;
    try {
        // The odd-winding area lies within the non-zero one: equal areas mean
        // equal regions.
        return unionArea(path, ClipperLib::pftEvenOdd) == unionArea(path, ClipperLib::pftNonZero);
    } catch (const ClipperLib::clipperException&) {
        return false;
    }
}

void planDrawnPart(std::size_t index, std::vector<Sector>& sectors, const std::vector<IntPath>& paths,
                   const VisibleArea& area, const std::vector<std::uint32_t>& over, int bodyCover,
                   Polygon& bodyPart, bool bodyPartComplete, std::vector<std::int8_t>& opaqueCover)
{
    Sector& sector = sectors[index];
    sector.drawn = DrawnPart::Whole;
    sector.drawnTriangles.clear();
    auto covers = [&](std::size_t j) {
        if (opaqueCover[j] < 0)
            opaqueCover[j] = drawnOpaque(sectors[j]) && fillsAsOutlined(paths[j]) ? 1 : 0;
        return opaqueCover[j] == 1;
    };
    if (bodyCover >= 0 && covers(static_cast<std::size_t>(bodyCover))) {
        sector.drawn = DrawnPart::None;
        return;
    }
    std::vector<std::uint32_t> opaque;
    for (std::uint32_t j : over)
        if (covers(j))
            opaque.push_back(j);
    // A sector wound twice over somewhere clips as more than it draws: it is
    // drawn whole rather than risk filling what it never did.
    if (opaque.empty() || !fillsAsOutlined(paths[index]))
        return;
    Polygon part;
    bool complete = true;
    if (opaque.size() == over.size() && bodyCover < 0) {
        part.swap(bodyPart);
        complete = bodyPartComplete;
    } else if (const int cover = area.coveringSector(index, opaque); cover >= 0) {
        sector.drawn = DrawnPart::None;
        return;
    } else {
        complete = area.build(index, opaque, part);
    }
    // What did not triangulate would leave a hole where the whole sector drew.
    if (!complete)
        return;
    sector.drawn = part.empty() ? DrawnPart::None : DrawnPart::Part;
    sector.drawnTriangles.swap(part);
}
