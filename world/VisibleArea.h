#pragma once
// The part of a sector that later sectors leave visible, as triangles. Its
// body is built on what every later sector leaves; the floor the drawing
// fills on what later opaque sectors leave, so that stacks of sectors do not
// cost a full fill per layer.

#include "world/Map.h"

#include <cstdint>
#include <vector>

/// Clips sectors under the later sectors over them; `sectors` and `paths`
/// (each outline in integer form, by index) must outlive it.
class VisibleArea {
public:
    VisibleArea(const std::vector<Sector>& sectors, const std::vector<IntPath>& paths, float tileSize);

    /// A sector of `over` (later sectors, in order) whose outline covers all
    /// of sector `index`'s, or -1; only a few candidates are tried.
    int coveringSector(std::size_t index, const std::vector<std::uint32_t>& over) const;
    /// Appends the triangles of sector `index` minus the sectors `over` to
    /// `triangles`; false when some part did not triangulate (and is missing).
    bool build(std::size_t index, const std::vector<std::uint32_t>& over, Polygon& triangles) const;

private:
    bool addAreas(std::size_t index, const std::vector<std::uint32_t>& over, const sf::FloatRect* window,
                  Polygon& triangles) const;
    bool addTile(std::size_t index, const sf::FloatRect& tile, const std::vector<std::uint32_t>& candidates,
                 int splits, Polygon& triangles) const;
    bool tileCoveredByOne(const sf::FloatRect& tile, const std::vector<std::uint32_t>& over) const;

    const std::vector<Sector>& sectors_;
    const std::vector<IntPath>& paths_;
    float tileSize_;
};

/// True when drawing the sector hides everything under it, in the view and
/// on the minimap: an opaque colour and, with a floor texture, no
/// translucent texels; never water or a shadow, and never a sector without
/// triangles. Textures load once, before any map, so this holds for as long
/// as the map.
bool drawnOpaque(const Sector& sector);

/// True when the outline fills the same area under the odd winding rule the
/// drawing's triangulation follows as under the non-zero rule the clipping
/// follows: no part of it is wound twice.
bool fillsAsOutlined(const IntPath& path);

/// Decides which part of each sector's floor the drawing fills (whole, a
/// part, or none), from the later sectors whose bounds overlap it. `bodyPart`
/// is what the sector's body was built on when it was clipped under every
/// sector of `over` (empty otherwise), `bodyCover` the one sector covering it
/// whole or -1; it is taken over when every sector of `over` is an opaque
/// cover. `opaqueCover` memoises, per sector, -1 unknown, 0 no, 1 yes.
void planDrawnPart(std::size_t index, std::vector<Sector>& sectors, const std::vector<IntPath>& paths,
                   const VisibleArea& area, const std::vector<std::uint32_t>& over, int bodyCover,
                   Polygon& bodyPart, bool bodyPartComplete, std::vector<std::int8_t>& opaqueCover);
