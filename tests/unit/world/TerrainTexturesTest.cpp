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

// numMats decides the table: a section the file lacks is a default material
// in its place, so the links to later ones still find them; the table stops
// at 127 whatever the count claims.
TEST_F(MaterialsTest, CountsAsDeclared)
{
    std::string many = "[info]\nnumMats=200\n";
    for (int i = 0; i < 200; ++i)
        many += "[mat" + std::to_string(i) + "]\nname=m" + std::to_string(i) + "\n";
    many += "[textureMats]\ngrass=m126\n";
    struct Case {
        const char* what;
        std::string text;
        int count;
        int grass; ///< the material the texture grass links to
        std::vector<std::string> warnings; ///< every warning line, without the file's name
    };
    const Case cases[] = {
        {"200 materials", many, 128, 127,
         {": [info] numMats=200 is more than 127; reading 127",
          ": sections [mat127], [mat128], [mat129], [mat130], [mat131], [mat132], [mat133], [mat134] and 65 more "
          "lie beyond numMats and are not read"}},
        {"a gap", "[info]\nnumMats=2\n[mat1]\nname=mud\n[mat2]\nname=ice\n[textureMats]\ngrass=Mud\n", 3, 2,
         {": section [mat0] is missing; that material takes the defaults",
          ": section [mat2] lies beyond numMats and is not read"}},
        {"a lying count", "[info]\nnumMats=2000000000\n[mat5]\nname=mud\n[textureMats]\ngrass=Mud\n", 128, 6,
         {": [info] numMats=2000000000 is more than 127; reading 127",
          ": sections [mat0], [mat1], [mat2], [mat3], [mat4], [mat6], [mat7], [mat8] and 118 more are missing; "
          "those materials take the defaults"}},
        {"a negative count", "[info]\nnumMats=-3\n[textureMats]\ngrass=m1\n", 1, 0,
         {": [textureMats] grass=m1 names no material; using material 0"}},
        {"no materials file at all", "", 1, 0, {}},
        {"some other text", std::string("Read me\0\n[Section]\nkey=1\n", 25), 1, 0,
         {": no material section or key found; no materials"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        orv::Log::reset();
        orv::Log::open("test.log");
        if (c.text.empty())
            std::remove("Data/Textures.ini");
        else
            writeFile("Data/Textures.ini", c.text);
        loadTextureMaterials();
        EXPECT_EQ(textureMaterialCount, c.count);
        EXPECT_EQ(materialIndexForTexture("grass"), c.grass);
        const std::string text = log();
        EXPECT_EQ(testutil::occurrences(text, "Warning: "), c.warnings.size()) << text;
        for (const std::string& line : c.warnings)
            EXPECT_TRUE(logged("Warning: Data\\Textures.ini" + line));
    }
    EXPECT_TRUE(textureMaterialMap.empty());
    EXPECT_FLOAT_EQ(textureMaterials[0].trackAlpha, 0.f);
}
