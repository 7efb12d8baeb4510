#include "MapFixture.h"
#include "world/ImageSets.h"

#include <gtest/gtest.h>

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
    textureImages.clear();
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
    EXPECT_NE(log().find("Warning: Failed to find image Rock for Data/Objects/Two.ob"), std::string::npos);
    EXPECT_NE(log().find(": Loaded 4 objects"), std::string::npos);

    EXPECT_EQ(findObjectDef("crate.ob"), -1);
    EXPECT_EQ(findObjectDef(""), -1);

    loadObjectDef("Data/Objects/missing.ob");
    EXPECT_EQ(objectDefs.size(), 4u);
    EXPECT_NE(log().find("Error: Failed to load file Data/Objects/missing.ob"), std::string::npos);
    textureImages.clear();
}
