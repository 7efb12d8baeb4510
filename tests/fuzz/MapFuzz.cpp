// loadMap on any map text, with a fixed small content folder (colours, three
// floor textures, three object kinds): the load ends, every shape and body
// handed to Box2D is finite, the sector query answers, and the world steps
// without NaN.

#include "FuzzSupport.h"

#include "world/Map.h"
#include "world/MapLoading.h"
#include "world/MapPhysics.h"
#include "world/ObjectDefs.h"
#include "world/TerrainTextures.h"

#include <box2d/box2d.h>

#include <cmath>

namespace {

bool finite(const b2Vec2& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y);
}

void setUpContent()
{
    fuzz::writeText("Data/Textures/textureColours.ini",
                    "[colours]\nGrass=60,120,40\nAsphalt=#505050\nDoorTrack=200,200,0\nFF_Used=10,10,10,128\n");
    for (const char* name : {"Grass", "Asphalt", "FF_Workshop"}) {
        auto t = std::make_unique<TerrainTexture>();
        t->name = name;
        terrainTextures.push_back(std::move(t));
    }
    const struct {
        const char* name;
        float mass;
        bool kinematic;
        sf::Vector2i size;
    } kinds[] = {{"Crate.ob", 1.0f, false, {16, 16}}, {"Tree_Oak.ob", 0.0f, true, {40, 40}}, {"Cone.ob", 0.2f, false, {0, 0}}};
    for (const auto& k : kinds) {
        ObjectDef def;
        def.name = k.name;
        def.mass = k.mass;
        def.isKinematic = k.kinematic;
        def.collisionSize = k.size;
        objectDefs.push_back(def);
    }
}

void checkWorld(const char* when)
{
    for (const b2Body* body = physicsWorld->GetBodyList(); body; body = body->GetNext()) {
        FUZZ_CHECK(finite(body->GetPosition()) && std::isfinite(body->GetAngle()), when);
        FUZZ_CHECK(std::isfinite(body->GetMass()), when);
        for (const b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext()) {
            if (f->GetType() != b2Shape::e_polygon)
                continue;
            const auto* shape = static_cast<const b2PolygonShape*>(f->GetShape());
            FUZZ_CHECK(shape->m_count >= 3 && shape->m_count <= b2_maxPolygonVertices, when);
            for (int i = 0; i < shape->m_count; ++i)
                FUZZ_CHECK(finite(shape->m_vertices[i]) && finite(shape->m_normals[i]), when);
            FUZZ_CHECK(finite(shape->m_centroid), when);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::enterScratchDir();
    setUpContent();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::restartLog();
    fuzz::writeInput("Data/Maps/fuzz.map", data, size);
    resetPhysicsWorld();
    loadMap("Data\\Maps\\fuzz.map");

    const Map& map = currentMap;
    FUZZ_CHECK(map.sectors.size() <= static_cast<std::size_t>(maxSectors), "too many sectors");
    for (const Sector& s : map.sectors) {
        FUZZ_CHECK(s.triangles.size() % 3 == 0, "triangles come in threes");
        for (const sf::Vector2f& p : s.triangles)
            FUZZ_CHECK(std::isfinite(p.x) && std::isfinite(p.y), "triangle point");
    }
    FUZZ_CHECK(std::isfinite(map.startPosition.x) && std::isfinite(map.startPosition.y), "start position");
    checkWorld("after loading");

    (void)findSectors(sf::FloatRect(map.startPosition.x - 50.f, map.startPosition.y - 50.f, 100.f, 100.f),
                      SectorQueryMode::NonRoof);
    if (map.mapSize.x > 0 && map.mapSize.y > 0)
        (void)findSectors(sf::FloatRect(0.f, 0.f, static_cast<float>(std::min(map.mapSize.x, 100000)),
                                        static_cast<float>(std::min(map.mapSize.y, 100000))),
                          SectorQueryMode::Ground);
    for (int i = 0; i < 3; ++i)
        physicsWorld->Step(1.0f / 60.0f, 8, 3);
    checkWorld("after stepping");

    // A second load replaces the first on the same world.
    loadMap("Data\\Maps\\fuzz.map");
    checkWorld("after a second load");
    clearMap();
    return 0;
}
