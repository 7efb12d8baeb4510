#include "world/MapPhysics.h"

#include "framework/Signals.h"
#include "world/CollisionFilter.h"
#include "world/ContactListener.h"
#include "world/DebugDraw.h"
#include "world/FindSectorsQueryCallback.h"
#include "world/ObjectDefs.h"
#include "world/OverlapGrid.h"

#include <box2d/box2d.h>

#include <algorithm>
#include <cmath>

b2World* physicsWorld = nullptr;

namespace {

ctk::ContactListener contactListener;
ctk::DebugDraw debugDraw;
ctk::FindSectorsQueryCallback queryCallback;
std::vector<Sector*> queryResult;
std::vector<Sector*> queryRejected;
b2Body* spareGround = nullptr;

// Box2D (as Debian builds it, with its assertions on) aborts on a polygon it
// cannot use; without them it makes a 2 m box at the origin. This repeats
// its own tests on the triangle in the same float arithmetic: welding of
// points closer than half a linear slop, the gift-wrapped hull, edge lengths
// and the centroid's area. A simple threshold on the cross product is not
// enough: far from the origin, nearly collinear points pass it and still
// round to a line in the hull.
bool usableTriangle(const b2Vec2& a, const b2Vec2& b, const b2Vec2& c)
{
    const b2Vec2 in[3] = {a, b, c};
    for (const b2Vec2& v : in)
        if (!std::isfinite(v.x) || !std::isfinite(v.y))
            return false;
    b2Vec2 ps[3];
    int n = 0;
    for (const b2Vec2& v : in) {
        bool unique = true;
        for (int j = 0; j < n; ++j)
            if (b2DistanceSquared(v, ps[j]) < ((0.5f * b2_linearSlop) * (0.5f * b2_linearSlop)))
                unique = false;
        if (unique)
            ps[n++] = v;
    }
    if (n < 3)
        return false;

    int i0 = 0;
    float x0 = ps[0].x;
    for (int i = 1; i < n; ++i) {
        const float x = ps[i].x;
        if (x > x0 || (x == x0 && ps[i].y < ps[i0].y)) {
            i0 = i;
            x0 = x;
        }
    }
    int hull[4];
    int m = 0;
    int ih = i0;
    for (;;) {
        if (m == 4)
            return false; // Box2D would run past its buffer: never hand it over
        hull[m] = ih;
        int ie = 0;
        for (int j = 1; j < n; ++j) {
            if (ie == ih) {
                ie = j;
                continue;
            }
            const b2Vec2 r = ps[ie] - ps[hull[m]];
            const b2Vec2 v = ps[j] - ps[hull[m]];
            const float cross = b2Cross(r, v);
            if (cross < 0.0f)
                ie = j;
            if (cross == 0.0f && v.LengthSquared() > r.LengthSquared())
                ie = j;
        }
        ++m;
        ih = ie;
        if (ie == i0)
            break;
    }
    if (m != 3)
        return false;

    b2Vec2 h[3];
    for (int i = 0; i < 3; ++i)
        h[i] = ps[hull[i]];
    for (int i = 0; i < 3; ++i) {
        const b2Vec2 edge = h[(i + 1) % 3] - h[i];
        if (!(edge.LengthSquared() > b2_epsilon * b2_epsilon))
            return false;
    }
    // The centroid's area, as Box2D sums it from the first point.
    const b2Vec2 s = h[0];
    float area = 0.0f;
    for (int i = 0; i < 3; ++i) {
        const b2Vec2 p1 = h[0] - s;
        const b2Vec2 p2 = h[i] - s;
        const b2Vec2 p3 = i + 1 < 3 ? h[i + 1] - s : h[0] - s;
        area += 0.5f * b2Cross(p2 - p1, p3 - p1);
    }
    return area > b2_epsilon;
}

// Above this many later sectors over one sector (the background is under
// everything), the difference is done tile by tile, each tile with only the
// sectors over it: one difference with thousands of holes costs far more than
// many small ones. A tile still under too many is dropped when one of them
// covers it whole, and otherwise split in four, a few times at most.
constexpr std::size_t tilingThreshold = 48;
constexpr int maxTilesPerSide = 32;
constexpr int maxTileSplits = 4;

void addTriangles(Sector& sector, const Polygon& triangles)
{
    for (std::size_t t = 0; t + 2 < triangles.size(); t += 3) {
        b2Vec2 v[3];
        for (int k = 0; k < 3; ++k)
            v[k].Set(triangles[t + k].x * metresPerPixel, triangles[t + k].y * metresPerPixel);
        if (!usableTriangle(v[0], v[1], v[2]))
            continue;
        b2PolygonShape shape;
        shape.Set(v, 3);
        b2FixtureDef def;
        def.shape = &shape;
        def.friction = sector.friction;
        def.restitution = 0.5f;
        def.restitutionThreshold = 1.0f;
        def.density = 0.0f;
        def.isSensor = false;
        def.filter.categoryBits = sector.categoryBits;
        def.filter.maskBits = sectorMaskBits;
        def.filter.groupIndex = 0;
        sector.fixtures.push_back(sector.body->CreateFixture(&def));
    }
}

bool containsRect(const sf::FloatRect& outer, const sf::FloatRect& inner)
{
    return outer.left <= inner.left && outer.top <= inner.top &&
           outer.left + outer.width >= inner.left + inner.width && outer.top + outer.height >= inner.top + inner.height;
}

// Sectors stacked on one outline, or a small patch under a larger one, have
// nothing visible; one later sector containing the whole outline shows it
// without clipping under every sector above. A miss only costs the full
// clipping, so at most a few candidates are tried.
constexpr int maxCoverTests = 16;

bool hiddenByOneLater(const Sector& sector, const std::vector<Sector>& sectors, const std::vector<IntPath>& paths,
                      const std::vector<std::uint32_t>& over)
{
    int tests = 0;
    for (std::uint32_t j : over) {
        if (!containsRect(sectors[j].bounds, sector.bounds))
            continue;
        if (coveredBy(paths[sector.index], paths[j]))
            return true;
        if (++tests == maxCoverTests)
            break;
    }
    return false;
}

// Builds the visible part of one sector under the later sectors over it.
class VisibleArea {
public:
    VisibleArea(Sector& sector, const std::vector<Sector>& sectors, const std::vector<IntPath>& paths)
        : sector_(sector), sectors_(sectors), paths_(paths)
    {
    }

    void build(const std::vector<std::uint32_t>& over, float tileSize)
    {
        if (over.size() <= tilingThreshold) {
            addAreas(over, nullptr);
            return;
        }
        // Tiles of a few typical sectors, but never more than 32 to a side:
        // every tile looks at every sector over the one being built.
        const sf::FloatRect& b = sector_.bounds;
        const int columns = std::clamp(static_cast<int>(std::ceil(b.width / tileSize)), 1, maxTilesPerSide);
        const int rows = std::clamp(static_cast<int>(std::ceil(b.height / tileSize)), 1, maxTilesPerSide);
        const float w = b.width / static_cast<float>(columns), h = b.height / static_cast<float>(rows);
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < columns; ++x)
                addTile(sf::FloatRect(b.left + w * static_cast<float>(x), b.top + h * static_cast<float>(y), w, h),
                        over, 0);
    }

private:
    void addAreas(const std::vector<std::uint32_t>& over, const sf::FloatRect* window)
    {
        std::vector<const IntPath*> clips;
        clips.reserve(over.size());
        for (std::uint32_t j : over)
            clips.push_back(&paths_[j]);
        for (const ClippedArea& area : clipDifference(paths_[sector_.index], clips, window)) {
            Polygon triangles;
            if (triangulate(area.outline, area.holes, triangles))
                addTriangles(sector_, triangles);
        }
    }

    void addTile(const sf::FloatRect& tile, const std::vector<std::uint32_t>& candidates, int splits)
    {
        std::vector<std::uint32_t> over;
        for (std::uint32_t j : candidates)
            if (overlapStrictly(sectors_[j].bounds, tile))
                over.push_back(j);
        if (over.size() > tilingThreshold) {
            if (coveredByOne(tile, over))
                return;
            if (splits < maxTileSplits && tile.width >= 2.0f && tile.height >= 2.0f) {
                // Halves meet on the same computed line, so no seam opens.
                const float midX = tile.left + tile.width * 0.5f, midY = tile.top + tile.height * 0.5f;
                const float right = tile.left + tile.width, bottom = tile.top + tile.height;
                addTile(sf::FloatRect(tile.left, tile.top, midX - tile.left, midY - tile.top), over, splits + 1);
                addTile(sf::FloatRect(midX, tile.top, right - midX, midY - tile.top), over, splits + 1);
                addTile(sf::FloatRect(tile.left, midY, midX - tile.left, bottom - midY), over, splits + 1);
                addTile(sf::FloatRect(midX, midY, right - midX, bottom - midY), over, splits + 1);
                return;
            }
        }
        addAreas(over, &tile);
    }

    // True when one of the sectors over the tile covers all of it.
    bool coveredByOne(const sf::FloatRect& tile, const std::vector<std::uint32_t>& over) const
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

    Sector& sector_;
    const std::vector<Sector>& sectors_;
    const std::vector<IntPath>& paths_;
};

} // namespace

ctk::DebugDraw& physicsDebugDraw()
{
    return debugDraw;
}

b2World* resetPhysicsWorld()
{
    delete physicsWorld;
    // Bodies died with the old world; forget them.
    for (Sector& sector : currentMap.sectors) {
        sector.body = nullptr;
        sector.fixtures.clear();
    }
    for (MapObject& object : currentMap.objects)
        object.body = nullptr;
    spareGround = nullptr;
    queryResult.clear();
    queryRejected.clear();

    physicsWorld = new b2World(b2Vec2(0.0f, 0.0f));
    debugDraw.SetFlags(b2Draw::e_jointBit);
    physicsWorld->SetDebugDraw(&debugDraw);
    physicsWorld->SetContactListener(&contactListener);
    return physicsWorld;
}

void destroyMapBodies()
{
    queryResult.clear();
    queryRejected.clear();
    for (Sector& sector : currentMap.sectors) {
        if (sector.body && physicsWorld)
            physicsWorld->DestroyBody(sector.body);
        sector.body = nullptr;
        sector.fixtures.clear();
    }
    for (MapObject& object : currentMap.objects) {
        if (object.body && physicsWorld)
            physicsWorld->DestroyBody(object.body);
        object.body = nullptr;
    }
}

void buildSectorBodies()
{
    if (!physicsWorld)
        resetPhysicsWorld();
    std::vector<Sector>& sectors = currentMap.sectors;
    OverlapGrid overlaps(sectors);
    const float tileSize = overlaps.cellSize() * 4.0f;
    // Every outline is a clip of several earlier sectors: convert each once.
    std::vector<IntPath> paths;
    paths.reserve(sectors.size());
    for (const Sector& sector : sectors)
        paths.push_back(toIntPath(sector.clipPath));
    for (std::size_t i = 0; i < sectors.size(); ++i) {
        // Clipping a large map takes long: a quit request must not wait for it.
        if (orv::quitSignalled())
            return;
        Sector& sector = sectors[i];
        b2BodyDef bodyDef;
        bodyDef.type = b2_staticBody;
        bodyDef.position.Set(0.0f, 0.0f);
        bodyDef.angle = 0.0f;
        sector.body = physicsWorld->CreateBody(&bodyDef);
        sector.fixtures.clear();

        if (sector.clipPath.size() >= 3) {
            const std::vector<std::uint32_t>& over = overlaps.laterOverlaps(i);
            if (over.empty())
                addTriangles(sector, sector.triangles);
            else if (!hiddenByOneLater(sector, sectors, paths, over))
                VisibleArea(sector, sectors, paths).build(over, tileSize);
        }

        sector.userData = std::make_unique<SectorBodyTag>();
        sector.userData->kind = sectorBodyKind;
        sector.userData->sector = &sector;
        sector.body->GetUserData().pointer = reinterpret_cast<uintptr_t>(sector.userData.get());
    }
}

void createObjectBody(MapObject& object)
{
    if (!physicsWorld)
        resetPhysicsWorld();
    const ObjectDef& def = objectDefs[static_cast<std::size_t>(object.definition)];
    b2BodyDef bodyDef;
    bodyDef.type = def.isKinematic ? b2_kinematicBody : b2_dynamicBody;
    bodyDef.position.Set(object.position.x * metresPerPixel, object.position.y * metresPerPixel);
    bodyDef.angle = 0.0f;
    bodyDef.linearDamping = 0.5f;
    bodyDef.angularDamping = 4.0f;
    object.body = physicsWorld->CreateBody(&bodyDef);

    // A box of no width has no area, and Box2D would divide by it when
    // computing the mass: keep every side at least one world pixel.
    const float halfWidth = std::max(static_cast<float>(def.collisionSize.x), 1.0f) * 0.5f * metresPerPixel;
    const float halfHeight = std::max(static_cast<float>(def.collisionSize.y), 1.0f) * 0.5f * metresPerPixel;
    b2PolygonShape shape;
    shape.SetAsBox(halfWidth, halfHeight);
    b2FixtureDef fixture;
    fixture.shape = &shape;
    fixture.friction = 0.2f;
    fixture.restitution = 0.1f;
    fixture.restitutionThreshold = 1.0f;
    fixture.density = def.mass;
    fixture.isSensor = false;
    fixture.filter.categoryBits = def.hasCollision ? solidObjectCategory : ghostObjectCategory;
    fixture.filter.maskBits = objectMaskBits;
    fixture.filter.groupIndex = 0;
    object.body->CreateFixture(&fixture);
}

const std::vector<Sector*>& findSectors(const sf::FloatRect& rect, SectorQueryMode mode)
{
    queryResult.clear();
    queryRejected.clear();
    if (!physicsWorld || currentMap.sectors.empty())
        return queryResult;

    const b2Vec2 centre((rect.left + rect.width * 0.5f) * metresPerPixel,
                        (rect.top + rect.height * 0.5f) * metresPerPixel);
    queryCallback.begin(mode, rect.width * 0.5f * metresPerPixel, rect.height * 0.5f * metresPerPixel, centre,
                        queryResult, queryRejected);

    const sf::Vector2i& size = currentMap.mapSize;
    if (rect.left < 0.0f || rect.top < 0.0f || rect.left + rect.width >= static_cast<float>(size.x) ||
        rect.top + rect.height >= static_cast<float>(size.y)) {
        Sector& background = currentMap.sectors.front();
        queryResult.push_back(&background);
        background.found = true;
    }

    b2AABB box;
    box.lowerBound.Set(rect.left * metresPerPixel, rect.top * metresPerPixel);
    box.upperBound.Set((rect.left + rect.width) * metresPerPixel, (rect.top + rect.height) * metresPerPixel);
    physicsWorld->QueryAABB(&queryCallback, box);

    for (Sector* s : queryResult)
        s->found = false;
    for (Sector* s : queryRejected)
        s->found = false;
    std::sort(queryResult.begin(), queryResult.end(), [](const Sector* a, const Sector* b) { return a->index < b->index; });
    return queryResult;
}

void drawPhysicsShapes()
{
    if (!physicsWorld)
        return;
    debugDraw.SetFlags(b2Draw::e_shapeBit);
    physicsWorld->DebugDraw();
    debugDraw.SetFlags(b2Draw::e_jointBit);
}

b2Body* groundBody()
{
    if (!currentMap.sectors.empty() && currentMap.sectors.front().body)
        return currentMap.sectors.front().body;
    if (!physicsWorld)
        resetPhysicsWorld();
    if (!spareGround) {
        b2BodyDef def;
        def.type = b2_staticBody;
        spareGround = physicsWorld->CreateBody(&def);
    }
    return spareGround;
}
