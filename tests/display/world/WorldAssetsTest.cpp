#include "TestUtil.h"
#include "framework/AppInfo.h"
#include "framework/Core.h"
#include "framework/Layers.h"
#include "framework/Log.h"
#include "world/ImageSets.h"
#include "world/Map.h"
#include "world/MapLoading.h"
#include "world/MapPhysics.h"
#include "world/Minimap.h"
#include "world/TerrainTextures.h"
#include "world/WorldState.h"

#include <SFML/Graphics/Image.hpp>

#include <gtest/gtest.h>

#include <filesystem>

using testutil::writeFile;

namespace {

void writePng(const std::string& path, unsigned w, unsigned h)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    sf::Image image;
    image.create(w, h, sf::Color(100, 150, 200));
    ASSERT_TRUE(image.saveToFile(path));
}

class WorldAssets : public testutil::LoggedTest {
protected:
    void TearDown() override
    {
        resetWorld();
        LoggedTest::TearDown();
    }
};

} // namespace

TEST_F(WorldAssets, ImageSets)
{
    loadImageSets();
    EXPECT_TRUE(textureImages.empty());
    EXPECT_TRUE(logged(": Loaded 0 image(s)"));

    writePng("Data/Images/A.png", 128, 64);
    writeFile("Data/Images/A.ini", "[info]\nid=zendrix 2 texture images\nversion=1\nimagesCount=2\n"
                                   "[image0]\nimageName=Crate\nrect=32,0,64,48\n[image1]\nimageName=Barrel\n");
    writeFile("Data/Images/B.ini", "[info]\nid=Zendrix 2 Texture Images\nversion=1\nimagesCount=1\n"
                                   "[image0]\nimageName=Lost\n"); // no picture
    writePng("Data/Images/C.png", 32, 32);
    writeFile("Data/Images/C.ini", "[info]\nid=Zendrix 2 Texture Images\nversion=1\nimagesCount=4\n"
                                   "[image0]\nimageName=Crate\nrect=0,0,16,16\n");
    writePng("Data/Images/D.png", 32, 32);
    writeFile("Data/Images/D.ini", "[info]\nid=Zendrix 2 Texture Images\nversion=2\nimagesCount=1\n");
    writeFile("Data/Images/E.ini", "[info]\nid=Zendrix 2 Texture Images\nversion=1\nimagesCount=2147483647\n");
    writePng("Data/Images/E.png", 8, 8);
    // A count far beyond what the file holds, a section past the cap, and a
    // rectangle off the atlas.
    writeFile("Data/Images/F.ini", "[info]\nid=Zendrix 2 Texture Images\nversion=1\nimagesCount=2000000000\n"
                                   "[image1999999999]\nimageName=Far\nrect=0,0,8,8\n"
                                   "[image0]\nimageName=Off\nrect=4,0,8,8\n[image3]\nimageName=Third\n");
    writePng("Data/Images/F.png", 8, 8);
    loadImageSets();

    // A, C, E and F load (set indices 0 to 3); B has no picture and D is too new.
    ASSERT_EQ(imageSetTextures.size(), 4u);
    EXPECT_EQ(textureImages[0].name, "Crate");
    EXPECT_EQ(textureImages[0].sprite.getOrigin(), sf::Vector2f(32, 24));
    EXPECT_EQ(textureImages[0].sprite.getTexture(), imageSetTextures[0].get());
    EXPECT_EQ(textureImages[1].sprite.getTextureRect(), sf::IntRect(0, 0, 0, 0));
    EXPECT_EQ(textureImages[2].setIndex, 1);
    EXPECT_EQ(textureImages[3].name, ""); // C claims four images: the rest are empty
    EXPECT_EQ(findTextureImage("Crate"), 0);
    EXPECT_EQ(findTextureImage("crate"), -1);
    EXPECT_EQ(findTextureImage(""), -1);
    EXPECT_TRUE(imageSetTextures[0]->isSmooth());
    EXPECT_NE(log().find("Error: Failed to load texture for Data/Images/B.ini"), std::string::npos);
    EXPECT_NE(log().find("Error: Data/Images/D.ini does not match header"), std::string::npos);
    // A lying count pads up to the cap; every image keeps its number.
    EXPECT_TRUE(logged("Warning: Data/Images/C.ini: sections [image1], [image2], [image3] are missing; those "
                       "images are empty"));
    EXPECT_TRUE(logged("Warning: Data/Images/E.ini: [info] imagesCount=2147483647 is more than 4096; reading 4096"));
    EXPECT_TRUE(logged("Warning: Data/Images/F.ini: section [image1999999999] lies beyond imagesCount and is not "
                       "read"));
    ASSERT_EQ(textureImages.size(), 2u + 4u + 2u * maxImagesPerSet);
    EXPECT_EQ(findTextureImage("Far"), -1);
    EXPECT_EQ(findTextureImage("Third"), static_cast<int>(2u + 4u + maxImagesPerSet + 3u));
    const int off = findTextureImage("Off");
    ASSERT_GE(off, 0);
    EXPECT_EQ(textureImages[static_cast<std::size_t>(off)].sprite.getTextureRect(), sf::IntRect());
    EXPECT_TRUE(logged("Warning: Data/Images/F.ini: [image0] rect 4,0,8,8 is not inside the 8x8 atlas; read as "
                         "0,0,0,0"));
}

TEST_F(WorldAssets, TerrainTextures)
{
    writeFile("Data/Textures.ini", "[info]\nnumMats=1\n[mat0]\nname=tarmac\ntrackAlpha=0.5\n[textureMats]\nroad=Tarmac\n");
    writePng("Data/Textures/road.old.png", 16, 16);
    writePng("Data/Textures/Grass.png", 16, 16);
    writeFile("Data/Textures/broken.png", "not a picture");
    loadTerrainTextures();
    ASSERT_EQ(terrainTextures.size(), 2u);
    EXPECT_EQ(terrainTextures[0]->name, "Grass");
    EXPECT_EQ(terrainTextures[0]->materialIndex, 0);
    EXPECT_EQ(terrainTextures[1]->name, "road.old");
    EXPECT_EQ(terrainTextures[1]->materialIndex, 1);
    EXPECT_TRUE(terrainTextures[1]->texture->isRepeated());
    EXPECT_FLOAT_EQ(materialForTextureIndex(1).trackAlpha, 0.5f);
    EXPECT_TRUE(logged("Error: Failed to load texture from Data/Textures/broken.png"));
}

TEST_F(WorldAssets, Minimap)
{
    writeFile("Data/Maps/m.map", "[header]\nsectorsCount=2\nvertsCount=7\nmapSize=1000,500\n[verts]\n"
                                 "pos0=0,0\npos1=1000,0\npos2=1000,500\npos3=0,500\npos4=100,100\npos5=300,100\n"
                                 "pos6=200,300\n[sector0]\nverts=0,1,2,3\n[sector1]\nverts=4,5,6\n");
    writeFile("Data/Textures/textureColours.ini", "[c]\n");
    orv::window().setView(sf::View(sf::FloatRect(0, 0, 1280, 720)));
    resetPhysicsWorld();
    loadMap("Data\\Maps\\m.map");
    ASSERT_TRUE(currentMap.minimapReady);
    EXPECT_EQ(currentMap.minimapSize, sf::Vector2u(892, 446));
    EXPECT_EQ(currentMap.minimapTexture->getSize(), sf::Vector2u(1024, 512));
    // The background is sector 0's colour (white here), the triangle too.
    const sf::Image picture = currentMap.minimapTexture->getTexture().copyToImage();
    EXPECT_EQ(picture.getPixel(5, 5), sf::Color::White);

    orv::beginFrame(sf::Color::Black);
    drawMinimap(sf::FloatRect(0, 0, 640, 360));
    orv::display();
    EXPECT_EQ(orv::displayStats.layersComposited, 1);

    // No size: no minimap.
    writeFile("Data/Maps/m.map", "[header]\nsectorsCount=1\nvertsCount=3\nmapSize=0,500\n[verts]\npos0=0,0\n"
                                 "pos1=10,0\npos2=0,10\n[sector0]\nverts=0,1,2\n");
    resetPhysicsWorld();
    loadMap("Data\\Maps\\m.map");
    EXPECT_FALSE(currentMap.minimapReady);
    orv::window().setView(orv::window().getDefaultView());
}
