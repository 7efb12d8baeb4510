#include "MapFixture.h"

#include <gtest/gtest.h>

#include "framework/StringUtil.h"

using testutil::writeFile;

namespace {
class MaterialsTest : public mapfixture::MapTest {};
} // namespace

TEST_F(MaterialsTest, LoadAndLink)
{
    writeFile("Data/Textures.ini",
              "[info]\nnumMats=4\n[mat0]\nname=Dirt\ntrackAlpha=1.5\ntrackColour=90,60,30\n"
              "[mat1]\nname=Ice\ntrackAlpha=-0.2\n[mat2]\ntrackAlpha=0.5\n[mat3]\nname=road\ntrackAlpha=0.25\n"
              "[textureMats]\nGrass=DIRT\nroad=Road\nsand=(none)\nlava=Unknown\n");
    loadTextureMaterials();
    EXPECT_EQ(textureMaterialCount, 5);
    EXPECT_EQ(textureMaterials[1].nameHash, orv::nameHash("dirt"));
    EXPECT_FLOAT_EQ(textureMaterials[1].trackAlpha, 1.0f);
    EXPECT_EQ(textureMaterials[1].trackColour, sf::Color(90, 60, 30));
    EXPECT_FLOAT_EQ(textureMaterials[2].trackAlpha, 0.0f);
    EXPECT_EQ(textureMaterials[2].trackColour, sf::Color::White);
    EXPECT_EQ(textureMaterials[3].nameHash, orv::nameHash("(none)"));

    EXPECT_EQ(materialIndexForTexture("grass"), 1);
    EXPECT_EQ(materialIndexForTexture("road.old"), 4); // looked up under "road"
    EXPECT_EQ(materialIndexForTexture("sand"), 3);
    EXPECT_EQ(materialIndexForTexture("lava"), 0);
    EXPECT_EQ(materialIndexForTexture("rock"), 0);
    EXPECT_NE(log().find(": Loaded texture materials from Data\\Textures.ini"), std::string::npos);
    EXPECT_NE(log().find("Warning: Data\\Textures.ini: [textureMats] lava=Unknown names no material"),
              std::string::npos);
    EXPECT_EQ(log().find("grass=DIRT names"), std::string::npos);
}

TEST_F(MaterialsTest, Limits)
{
    std::string text = "[info]\nnumMats=200\n";
    for (int i = 0; i < 200; ++i)
        text += "[mat" + std::to_string(i) + "]\nname=m" + std::to_string(i) + "\n";
    writeFile("Data/Textures.ini", text);
    loadTextureMaterials();
    EXPECT_EQ(textureMaterialCount, 128);

    // A lying count reads the sections the file holds, whatever their numbers.
    writeFile("Data/Textures.ini", "[info]\nnumMats=2000000000\n[mat5]\nname=mud\n[textureMats]\ngrass=Mud\n");
    loadTextureMaterials();
    EXPECT_EQ(textureMaterialCount, 2);
    EXPECT_EQ(materialIndexForTexture("grass"), 1);
    EXPECT_NE(log().find("Data\\Textures.ini claims 2000000000 materials but holds 1; reading 1"), std::string::npos);

    writeFile("Data/Textures.ini", "[info]\nnumMats=-3\n[textureMats]\ngrass=m1\n");
    loadTextureMaterials();
    EXPECT_EQ(textureMaterialCount, 1);
    EXPECT_EQ(materialIndexForTexture("grass"), 0);

    std::remove("Data/Textures.ini");
    loadTextureMaterials();
    EXPECT_EQ(textureMaterialCount, 1);
    EXPECT_TRUE(textureMaterialMap.empty());
    EXPECT_FLOAT_EQ(textureMaterials[0].trackAlpha, 0.f);
}
