// triangulate and the sector clipping on any outlines: degenerate, crossing,
// repeated points. The first outline is a sector, the others lie over it.
// Every visible area must be well formed (outer positive, holes negative and
// inside it) and its triangles finite; a simple one's triangles must cover it
// (outline minus holes) within a relative 1e-6, plus what rounding their
// corners to float can move. The sector bodies built from the same outlines
// must give Box2D finite shapes only.
//
// Input: 4 bytes per point (x, y as little-endian int16, quarter pixels); a
// point with x = 0x7fff ends an outline.

#include "FuzzSupport.h"

#include "world/Map.h"
#include "world/MapLoading.h"
#include "world/MapPhysics.h"
#include "world/SectorClipping.h"
#include "world/Triangulate.h"

#include <box2d/box2d.h>

#include <cmath>

namespace {

constexpr std::size_t maxOutlines = 6;

ClipPath pathOf(const Polygon& p)
{
    ClipPath out;
    for (const sf::Vector2f& v : p)
        out.push_back({v.x, v.y});
    return out;
}

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

// How far the triangles' area may stray from the outline's because corners
// are floats: where edges cross, the tessellator makes a corner in double and
// hands it back rounded, off by under one ulp of its coordinates; that moves
// its triangle's area by under half the opposite edge times that. Long thin
// crossings far from the origin make this far more than a relative 1e-6.
// (Every corner is counted: cheaper than telling made ones from given ones.)
double roundingSlack(const Polygon& triangles)
{
    const auto ulp = [](float v) {
        v = std::fabs(v);
        return static_cast<double>(std::nextafter(v, INFINITY) - v);
    };
    double slack = 0.0;
    for (std::size_t i = 0; i + 2 < triangles.size(); i += 3)
        for (std::size_t k = 0; k < 3; ++k) {
            const sf::Vector2f& p = triangles[i + k];
            const sf::Vector2f& a = triangles[i + (k + 1) % 3];
            const sf::Vector2f& b = triangles[i + (k + 2) % 3];
            const double opposite = std::hypot(double(b.x) - a.x, double(b.y) - a.y);
            slack += 0.5 * opposite * std::hypot(ulp(p.x), ulp(p.y));
        }
    return slack;
}

// Corners back on Clipper's grid (hundredths of a pixel), exactly.
struct GridPoint {
    std::int64_t x, y;
};

GridPoint onGrid(const sf::Vector2f& p)
{
    return {std::llround(double(p.x) * 100.0), std::llround(double(p.y) * 100.0)};
}

int turn(const GridPoint& a, const GridPoint& b, const GridPoint& c)
{
    const std::int64_t t = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    return (t > 0) - (t < 0);
}

bool within(const GridPoint& a, const GridPoint& b, const GridPoint& p)
{
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

bool meet(const GridPoint& a, const GridPoint& b, const GridPoint& c, const GridPoint& d)
{
    const int t1 = turn(a, b, c), t2 = turn(a, b, d), t3 = turn(c, d, a), t4 = turn(c, d, b);
    if (t1 != t2 && t3 != t4)
        return true;
    return (t1 == 0 && within(a, b, c)) || (t2 == 0 && within(a, b, d)) || (t3 == 0 && within(c, d, a)) ||
           (t4 == 0 && within(c, d, b));
}

// True when the area's contours, taken together, neither cross nor touch
// except where neighbouring edges share a corner.
bool simple(const ClippedArea& area)
{
    struct Edge {
        GridPoint a, b;
        std::size_t contour, index, count;
    };
    std::vector<Edge> edges;
    const auto add = [&](const Polygon& c, std::size_t contour) {
        for (std::size_t i = 0; i < c.size(); ++i)
            edges.push_back({onGrid(c[i]), onGrid(c[(i + 1) % c.size()]), contour, i, c.size()});
    };
    add(area.outline, 0);
    for (std::size_t h = 0; h < area.holes.size(); ++h)
        add(area.holes[h], h + 1);
    if (edges.size() > 2048)
        return false; // not worth the quadratic check: judge it loosely
    for (std::size_t i = 0; i < edges.size(); ++i)
        for (std::size_t j = i + 1; j < edges.size(); ++j) {
            const Edge& e = edges[i];
            const Edge& f = edges[j];
            const bool neighbours = e.contour == f.contour &&
                                    (f.index == e.index + 1 || (e.index == 0 && f.index == e.count - 1));
            if (!neighbours && meet(e.a, e.b, f.a, f.b))
                return false;
        }
    return true;
}

// True when the area is well formed: the outline wound as an outer, every
// hole as a hole and not outside it.
bool wellFormed(const ClippedArea& area)
{
    // Winding on the grid: a sliver's float corners may wind either way.
    const IntPath outline = toIntPath(pathOf(area.outline));
    if (ClipperLib::Area(outline) <= 0.0)
        return false;
    for (const Polygon& hole : area.holes) {
        if (ClipperLib::Area(toIntPath(pathOf(hole))) >= 0.0)
            return false;
        // Grid slivers may poke a corner out; a hole with none inside is lost.
        bool inside = false, outside = false;
        for (const ClipperLib::IntPoint& p : toIntPath(pathOf(hole))) {
            const int where = ClipperLib::PointInPolygon(p, outline);
            inside = inside || where == 1;
            outside = outside || where == 0;
        }
        if (outside && !inside)
            return false;
    }
    return true;
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
    // A simple area (no contour crossing or touching another) is held to its
    // own outline minus holes. Where Clipper's grid left a result pinched or
    // crossing itself, its contours no longer say exactly what they cover (a
    // lobe may come out wound backwards, or off the input's own region by
    // more than the grid); such areas are only held to being well formed and
    // finite.
    for (const ClippedArea& area : clipDifference(paths[0], clips)) {
        FUZZ_CHECK(wellFormed(area), "an outer wound as a hole, or a hole outside its outer");
        Polygon triangles;
        const bool triangulated = triangulate(area.outline, area.holes, triangles);
        if (triangulated)
            checkTriangles(triangles, "clipped area");
        if (!simple(area))
            continue;
        double expected = std::fabs(signedArea(area.outline));
        for (const Polygon& hole : area.holes)
            expected -= std::fabs(signedArea(hole));
        // Only an area of (almost) nothing may give no triangles.
        FUZZ_CHECK(triangulated || expected < 1.0, "no triangles for an area of " + std::to_string(expected));
        const double got = triangulated ? triangleArea(triangles) : 0.0;
        FUZZ_CHECK(!triangulated || std::fabs(got - expected) <= 1.0e-6 * std::max(expected, 1.0) + roundingSlack(triangles),
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
