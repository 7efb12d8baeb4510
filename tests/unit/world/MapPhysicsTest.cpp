#include "MapFixture.h"

#include <box2d/box2d.h>

#include <gtest/gtest.h>

using namespace mapfixture;

namespace {

// A dynamic 1 m box in the vehicles' collision category, pushed east.
b2Body* makePushedBox(const sf::Vector2f& pixels)
{
    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position.Set(pixels.x * metresPerPixel, pixels.y * metresPerPixel);
    b2Body* body = physicsWorld->CreateBody(&def);
    b2PolygonShape shape;
    shape.SetAsBox(0.5f, 0.5f);
    b2FixtureDef fixture;
    fixture.shape = &shape;
    fixture.density = 1.0f;
    fixture.filter.categoryBits = 0x0002;
    fixture.filter.maskBits = 0x0026;
    body->CreateFixture(&fixture);
    return body;
}

void drive(b2Body* body, int steps)
{
    for (int i = 0; i < steps; ++i) {
        body->SetLinearVelocity(b2Vec2(5.0f, 0.0f));
        physicsWorld->Step(1.0f / 60.0f, 8, 3);
    }
}

} // namespace

TEST_F(MapTest, BlockingSectorsStopAVehicle)
{
    ObjectDef ghost;
    ghost.name = "Bush.ob";
    ghost.hasCollision = false;
    ghost.mass = 1.0f;
    ghost.collisionSize = {32, 32};
    objectDefs.push_back(ghost);
    // Open ground, a passable-3 strip to drive through, then a passable-1 wall at x = 640.
    load(mapText({2000, 1000}, {{rect(0, 0, 2000, 1000), ""},
                                {rect(200, 0, 200, 1000), "passable=3\n"},
                                {rect(640, 0, 200, 1000), "passable=1\n"}},
                 "[header]\nobjectsCount=1\n[object0]\nobjectType=Bush.ob\npos=150,500\n"));
    b2Body* bush = currentMap.objects[0].body;
    ASSERT_NE(bush, nullptr);
    const b2Vec2 bushStart = bush->GetPosition();

    b2Body* box = makePushedBox({100, 500});
    drive(box, 60 * 8); // 5 m/s for 8 s: 40 m = 640 px, well past the wall's edge
    const float stopX = box->GetPosition().x * pixelsPerMetre;
    EXPECT_GT(stopX, 400.f);         // through the passable-3 strip
    EXPECT_LT(stopX, 640.f - 7.f);   // held at the wall's edge (half the box is 8 px)
    EXPECT_NEAR(stopX, 640.f - 8.f, 2.f);
    // The bush neither stopped the box nor moved.
    EXPECT_EQ(bush->GetPosition(), bushStart);
}

TEST_F(MapTest, ObjectBodies)
{
    ObjectDef crate;
    crate.name = "Crate.ob";
    crate.mass = 2.0f;
    crate.collisionSize = {32, 16};
    ObjectDef post = crate;
    post.name = "Post.ob";
    post.isKinematic = true;
    post.collisionSize = {0, 10}; // no width: kept at one pixel so the mass stays finite
    objectDefs = {crate, post};
    load(mapText({100, 100}, {{rect(0, 0, 100, 100), ""}},
                 "[header]\nobjectsCount=2\n[object0]\nobjectType=Crate.ob\npos=32,48\n"
                 "[object1]\nobjectType=Post.ob\npos=64,64\n"));
    b2Body* c = currentMap.objects[0].body;
    EXPECT_EQ(c->GetType(), b2_dynamicBody);
    EXPECT_NEAR(c->GetMass(), 2.0f * 2.0f * 1.0f, 1e-4f); // density x 2 m x 1 m
    b2Body* p = currentMap.objects[1].body;
    EXPECT_EQ(p->GetType(), b2_kinematicBody);
    EXPECT_TRUE(std::isfinite(p->GetWorldCenter().x));
}

// Outlines far from the origin triangulate into slivers that pass a plain
// area test but that Box2D's hull rounds to a line: its assertion aborted
// the program. Such triangles get no fixture; the rest of the sector does.
TEST_F(MapTest, SliverTrianglesNeverReachBox2D)
{
    const std::vector<TestSector> sectors = {
        {{{0, 0}, {100, 100}, {4416, 128}, {-5461.5f, -5461.5f}, {-5461.5f, -3456}, {-3405.5f, -3405.5f},
          {-8141.5f, 100}, {2304, 0}},
         ""},
    };
    load(mapText({8000, 8000}, sectors));
    ASSERT_EQ(currentMap.sectors.size(), 1u);
    EXPECT_FALSE(currentMap.sectors[0].fixtures.empty());
    for (const Sector& s : currentMap.sectors)
        for (const b2Fixture* f : s.fixtures) {
            const auto* shape = static_cast<const b2PolygonShape*>(f->GetShape());
            EXPECT_EQ(shape->m_count, 3);
        }
}
