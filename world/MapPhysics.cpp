#include "world/MapPhysics.h"

#include "framework/Signals.h"
#include "world/CollisionFilter.h"
#include "world/ContactListener.h"
#include "world/DebugDraw.h"
#include "world/FindSectorsQueryCallback.h"
#include "world/ObjectDefs.h"
#include "world/OverlapGrid.h"
#include "world/SectorIndex.h"
#include "world/VisibleArea.h"

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
SectorIndex sectorIndex;
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
    sectorIndex.clear();

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
    sectorIndex.clear();
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
    const VisibleArea area(sectors, paths, tileSize);
    std::vector<std::int8_t> opaqueCover(sectors.size(), -1);
    for (std::size_t i = 0; i < sectors.size(); ++i) {
        // Clipping a large map takes long: a quit request must not wait for it.
        if (orv::quitSignalled()) {
            sectorIndex.clear();
            return;
        }
        Sector& sector = sectors[i];
        b2BodyDef bodyDef;
        bodyDef.type = b2_staticBody;
        bodyDef.position.Set(0.0f, 0.0f);
        bodyDef.angle = 0.0f;
        sector.body = physicsWorld->CreateBody(&bodyDef);
        sector.fixtures.clear();

        sector.drawn = DrawnPart::Whole;
        sector.drawnTriangles.clear();
        if (sector.clipPath.size() >= 3) {
            const std::vector<std::uint32_t>& over = overlaps.laterOverlaps(i);
            if (over.empty()) {
                addTriangles(sector, sector.triangles);
            } else {
                // The body's part, reused for drawing when every sector over
                // this one is drawn opaque (the usual case).
                const int cover = area.coveringSector(i, over);
                Polygon part;
                const bool complete = cover >= 0 || area.build(i, over, part);
                addTriangles(sector, part);
                planDrawnPart(i, sectors, paths, area, over, cover, part, complete, opaqueCover);
            }
        }

        sector.userData = std::make_unique<SectorBodyTag>();
        sector.userData->kind = sectorBodyKind;
        sector.userData->sector = &sector;
        sector.body->GetUserData().pointer = reinterpret_cast<uintptr_t>(sector.userData.get());
    }
    sectorIndex.build(sectors);
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
    // The index offers every sector fixture the exact test could accept, so
    // the answers are those of the world's own query.
    sectorIndex.forCandidates(box, [](b2Fixture* fixture) { queryCallback.ReportFixture(fixture); });

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
