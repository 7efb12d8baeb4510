#pragma once
// Small maps written by the tests themselves.

#include "TestUtil.h"
#include "framework/AppInfo.h"
#include "framework/Log.h"
#include "world/Map.h"
#include "world/MapLoading.h"
#include "world/MapPhysics.h"
#include "world/ObjectDefs.h"
#include "world/TerrainTextures.h"
#include "world/WorldState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mapfixture {

struct TestSector {
    std::vector<sf::Vector2f> points;
    std::string keys; ///< extra "key=value\n" lines
};

/// A rectangle's four corners, clockwise on screen.
inline std::vector<sf::Vector2f> rect(float left, float top, float width, float height)
{
    return {{left, top}, {left + width, top}, {left + width, top + height}, {left, top + height}};
}

/// Writes a map whose sectors each get their own vertices.
inline std::string mapText(const sf::Vector2i& mapSize, const std::vector<TestSector>& sectors,
                           const std::string& extraSections = "")
{
    std::string verts, sectionText;
    int v = 0;
    for (std::size_t s = 0; s < sectors.size(); ++s) {
        std::string list;
        for (const sf::Vector2f& p : sectors[s].points) {
            verts += "pos" + std::to_string(v) + "=" + std::to_string(p.x) + "," + std::to_string(p.y) + "\n";
            list += (list.empty() ? "" : ",") + std::to_string(v++);
        }
        sectionText += "[sector" + std::to_string(s) + "]\nverts=" + list + "\n" + sectors[s].keys;
    }
    return "[header]\nsectorsCount=" + std::to_string(sectors.size()) + "\nvertsCount=" + std::to_string(v) +
           "\nmapSize=" + std::to_string(mapSize.x) + "," + std::to_string(mapSize.y) + "\n[verts]\n" + verts +
           sectionText + extraSections;
}

/// A test working directory with a log, an empty physics world and no
/// textures or object definitions.
class MapTest : public testutil::LoggedTest {
protected:
    void SetUp() override
    {
        LoggedTest::SetUp();
        resetWorld();
    }
    void TearDown() override
    {
        resetWorld();
        LoggedTest::TearDown();
    }
    void load(const std::string& text)
    {
        testutil::writeFile("Data/Maps/test.map", text);
        resetPhysicsWorld();
        loadMap("Data\\Maps\\test.map");
    }
    void addTexture(const std::string& name)
    {
        auto t = std::make_unique<TerrainTexture>();
        t->name = name;
        terrainTextures.push_back(std::move(t));
    }
    /// A 16 x 16 object definition named "Crate.ob".
    static void addCrate()
    {
        ObjectDef crate;
        crate.name = "Crate.ob";
        crate.collisionSize = {16, 16};
        objectDefs.push_back(crate);
    }
    /// Indices of the sectors under a rectangle.
    static std::vector<int> query(const sf::FloatRect& r, SectorQueryMode mode = SectorQueryMode::NonRoof)
    {
        std::vector<int> out;
        for (const Sector* s : findSectors(r, mode))
            out.push_back(s->index);
        return out;
    }
};

} // namespace mapfixture
