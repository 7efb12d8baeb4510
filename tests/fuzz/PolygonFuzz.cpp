// triangulate and the sector clipping on any outlines: degenerate, crossing,
// repeated points. The first outline is a sector, the others lie over it.
// The triangles of each visible area must cover the clipped area (outline
// minus holes) within a relative 1e-6, and the sector bodies built from the
// same outlines must give Box2D finite shapes only.
//
// Input: 4 bytes per point (x, y as little-endian int16, quarter pixels); a
// point with x = 0x7fff ends an outline.

#include "FuzzSupport.h"

#include "world/Map.h"
#include "world/MapPhysics.h"
#include "world/SectorClipping.h"
#include "world/Triangulate.h"

#include <box2d/box2d.h>

#include <cmath>

namespace {

constexpr std::size_t maxOutlines = 6;

double signedArea(const Polygon& p)
{
    double a = 0.0;
    for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
        a += (static_cast<double>(p[j].x) * p[i].y) - (static_cast<double>(p[i].x) * p[j].y);
    return a * 0.5;
}

double triangleArea(const Polygon& t)
{
    double a = 0.0;
    for (std::size_t i = 0; i + 2 < t.size(); i += 3)
        a += std::fabs(((static_cast<double>(t[i + 1].x) - t[i].x) * (static_cast<double>(t[i + 2].y) - t[i].y)) -
                       ((static_cast<double>(t[i + 2].x) - t[i].x) * (static_cast<double>(t[i + 1].y) - t[i].y))) *
             0.5;
    return a;
}

std::vector<Polygon> outlinesOf(const std::uint8_t* data, std::size_t size)
{
    std::vector<Polygon> out(1);
    for (std::size_t i = 0; i + 4 <= size; i += 4) {
        const auto x = static_cast<std::int16_t>(data[i] | (data[i + 1] << 8));
        const auto y = static_cast<std::int16_t>(data[i + 2] | (data[i + 3] << 8));
        if (x == 0x7fff) {
            if (out.size() == maxOutlines)
                break;
            out.emplace_back();
            continue;
        }
        out.back().emplace_back(static_cast<float>(x) * 0.25f, static_cast<float>(y) * 0.25f);
    }
    return out;
}

void checkTriangles(const Polygon& triangles, const char* what)
{
    FUZZ_CHECK(triangles.size() % 3 == 0, what);
    for (const sf::Vector2f& p : triangles)
        FUZZ_CHECK(std::isfinite(p.x) && std::isfinite(p.y), what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::enterScratchDir();
    const std::vector<Polygon> outlines = outlinesOf(data, size);

    // The raw outline, as a sector under nothing is drawn.
    Polygon raw;
    if (triangulate(outlines[0], {}, raw))
        checkTriangles(raw, "raw outline");

    // The visible part under the later outlines.
    std::vector<ClipPath> paths;
    for (const Polygon& outline : outlines) {
        ClipPath path;
        for (const sf::Vector2f& p : outline)
            path.push_back({p.x, p.y});
        paths.push_back(path);
    }
    std::vector<const ClipPath*> clips;
    for (std::size_t i = 1; i < paths.size(); ++i)
        clips.push_back(&paths[i]);
    for (const ClippedArea& area : clipDifference(paths[0], clips)) {
        double expected = std::fabs(signedArea(area.outline));
        for (const Polygon& hole : area.holes)
            expected -= std::fabs(signedArea(hole));
        Polygon triangles;
        if (!triangulate(area.outline, area.holes, triangles)) {
            // Only an area of (almost) nothing may give no triangles.
            FUZZ_CHECK(expected < 1.0, "no triangles for an area of " + std::to_string(expected));
            continue;
        }
        checkTriangles(triangles, "clipped area");
        const double got = triangleArea(triangles);
        FUZZ_CHECK(std::fabs(got - expected) <= 1.0e-6 * std::max(expected, 1.0),
                   "triangles cover " + std::to_string(got) + " of a clipped area of " + std::to_string(expected));
    }

    // The same outlines as a map's sectors, built into bodies.
    clearMap();
    resetPhysicsWorld();
    currentMap.sectors.resize(outlines.size());
    for (std::size_t i = 0; i < outlines.size(); ++i) {
        Sector& s = currentMap.sectors[i];
        s.index = static_cast<std::uint16_t>(i);
        s.categoryBits = 1;
        if (outlines[i].size() < 3)
            continue;
        s.points = outlines[i];
        s.clipPath = paths[i];
        triangulate(s.points, {}, s.triangles);
        float minX = s.points[0].x, maxX = minX, minY = s.points[0].y, maxY = minY;
        for (const sf::Vector2f& p : s.points) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
        s.bounds = sf::FloatRect(minX, minY, maxX - minX, maxY - minY);
    }
    buildSectorBodies();
    for (const b2Body* body = physicsWorld->GetBodyList(); body; body = body->GetNext())
        for (const b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext()) {
            const auto* shape = static_cast<const b2PolygonShape*>(f->GetShape());
            for (int i = 0; i < shape->m_count; ++i)
                FUZZ_CHECK(std::isfinite(shape->m_vertices[i].x) && std::isfinite(shape->m_vertices[i].y) &&
                               std::isfinite(shape->m_normals[i].x) && std::isfinite(shape->m_normals[i].y),
                           "sector shape");
        }
    clearMap();
    return 0;
}
