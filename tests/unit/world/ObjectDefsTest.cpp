#include "MapFixture.h"
#include "world/ImageSets.h"

#include <box2d/box2d.h>

#include <gtest/gtest.h>

#include <cmath>

using testutil::writeFile;

namespace {

void addImage(const std::string& name, const sf::IntRect& rect)
{
    TextureImage image;
    image.name = name;
    image.sprite.setTextureRect(rect);
    textureImages.push_back(image);
}

class ObjectDefsTest : public mapfixture::MapTest {};

} // namespace

TEST_F(ObjectDefsTest, KeysImagesAndCollisionSizes)
{
    addImage("Crate", {0, 0, 64, 32});
    writeFile("Data/Objects/Crate.ob", "[object]\nimage=Crate\n");
    writeFile("Data/Objects/Thin.ob", "[object]\nimage=Crate\ncollisionSize=0,10\n");
    writeFile("Data/Objects/Neg.ob", "[object]\nimage=Crate\ncollisionSize=-5,-5\nmass=-2\n");
    writeFile("Data/Objects/Two.ob", "[first]\nmass=1\n[second]\nmass=3\nhasCollision=no\nisKinematic=yes\n"
                                     "image=Rock\ncollisionSize=8,9\n");
    writeFile("Data/Objects/notes.txt", "");
    loadObjectDefs();
    ASSERT_EQ(objectDefs.size(), 4u); // Crate, Neg, Thin, Two in name order

    const ObjectDef& crate = objectDefs[findObjectDef("Crate.ob")];
    EXPECT_EQ(crate.collisionSize, sf::Vector2i(64, 32));
    EXPECT_EQ(crate.size, sf::Vector2f(64, 32));
    EXPECT_TRUE(crate.hasCollision);
    EXPECT_FLOAT_EQ(crate.mass, 0.f);
    EXPECT_EQ(objectDefs[findObjectDef("Thin.ob")].collisionSize, sf::Vector2i(0, 10));
    EXPECT_EQ(objectDefs[findObjectDef("Neg.ob")].collisionSize, sf::Vector2i(64, 32));
    EXPECT_FLOAT_EQ(objectDefs[findObjectDef("Neg.ob")].mass, 0.f);

    const ObjectDef& two = objectDefs[findObjectDef("Two.ob")];
    EXPECT_FLOAT_EQ(two.mass, 3.f); // keys come from the last section
    EXPECT_FALSE(two.hasCollision);
    EXPECT_TRUE(two.isKinematic);
    EXPECT_EQ(two.imageIndex, -1);
    EXPECT_EQ(two.collisionSize, sf::Vector2i(8, 9));
    EXPECT_TRUE(logged("Warning: Failed to find image Rock for Data/Objects/Two.ob"));
    EXPECT_TRUE(logged(": Loaded 4 objects"));

    EXPECT_EQ(findObjectDef("crate.ob"), -1);
    EXPECT_EQ(findObjectDef(""), -1);

    loadObjectDef("Data/Objects/missing.ob");
    EXPECT_EQ(objectDefs.size(), 4u);
    EXPECT_TRUE(logged("Error: Failed to load file Data/Objects/missing.ob"));
}

// Numbers the physics cannot use are refused where they are read, with the
// file and key named, and the default taken.
TEST_F(ObjectDefsTest, NumbersOutOfRangeTakeTheDefault)
{
    struct Case {
        const char* keys;
        float mass;
        sf::Vector2i collisionSize;
        float scale;
        const char* warning;
    };
    const Case cases[] = {
        {"mass=1e38\ncollisionSize=32,32\n", 0.f, {32, 32}, 1.f, "Bad.ob: mass 1e38 out of range"},
        {"mass=-2\ncollisionSize=32,32\n", 0.f, {32, 32}, 1.f, "Bad.ob: mass -2 out of range"},
        {"mass=5\ncollisionSize=2000000000,8\n", 5.f, {0, 0}, 1.f, "Bad.ob: collisionSize 2000000000,8 out of range"},
        {"mass=5\ncollisionSize=-2147483648,8\n", 5.f, {0, 0}, 1.f, "Bad.ob: collisionSize -2147483648,8 out of range"},
        {"mass=5\nobjectScale=-1\n", 5.f, {0, 0}, 1.f, "Bad.ob: objectScale -1 out of range"},
        {"mass=100000\ncollisionSize=16384,16384\nobjectScale=2\n", 1e5f, {16384, 16384}, 2.f, nullptr},
    };
    for (const Case& c : cases) {
        objectDefs.clear();
        writeFile("Data/Objects/Bad.ob", std::string("[object]\n") + c.keys);
        loadObjectDef("Data/Objects/Bad.ob");
        ASSERT_EQ(objectDefs.size(), 1u) << c.keys;
        const ObjectDef& def = objectDefs[0];
        EXPECT_FLOAT_EQ(def.mass, c.mass) << c.keys;
        EXPECT_EQ(def.collisionSize, c.collisionSize) << c.keys;
        EXPECT_FLOAT_EQ(def.objectScale, c.scale) << c.keys;
        if (c.warning) {
            EXPECT_TRUE(logged(std::string("Warning: Data/Objects/") + c.warning)) << log();
        }

        // Whatever the file said, the body stays finite under the world step.
        load(mapfixture::mapText({200, 200}, {{mapfixture::rect(0, 0, 200, 200), ""}},
                     "[header]\nobjectsCount=1\n[object0]\nobjectType=Bad.ob\npos=100,100\n"));
        ASSERT_EQ(currentMap.objects.size(), 1u);
        b2Body* body = currentMap.objects[0].body;
        body->ApplyLinearImpulseToCenter(b2Vec2(1.f, 0.f), true);
        for (int i = 0; i < 10; ++i)
            physicsWorld->Step(1.f / 60.f, 8, 3);
        EXPECT_TRUE(std::isfinite(body->GetPosition().x) && std::isfinite(body->GetMass())) << c.keys;
    }
}
