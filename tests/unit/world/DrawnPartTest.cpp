// Which part of each sector's floor the drawing fills: only what later
// opaque sectors leave visible, and the whole sector wherever leaving
// something out could show through (translucent covers, water, shadows,
// outlines wound twice, covers that draw nothing).

#include "MapFixture.h"
#include "world/VisibleArea.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace mapfixture;

namespace {

double area(const Polygon& triangles)
{
    double total = 0.0;
    for (std::size_t t = 0; t + 2 < triangles.size(); t += 3) {
        const sf::Vector2f a = triangles[t], b = triangles[t + 1], c = triangles[t + 2];
        total += std::fabs((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y)) * 0.5;
    }
    return total;
}

struct Case {
    const char* name;
    std::vector<TestSector> sectors; ///< after the 1000 x 1000 background
    DrawnPart first;                 ///< of the first sector after the background
    double firstArea;                ///< of its drawn part, with DrawnPart::Part
};

// Round a square and again just inside it (a lap repeated exactly would be
// folded at load): the odd rule draws only the thin frame between.
std::vector<sf::Vector2f> twiceRound(float l, float t, float side)
{
    std::vector<sf::Vector2f> out = rect(l, t, side, side), inner = rect(l + 1, t + 1, side - 2, side - 2);
    out.insert(out.end(), inner.begin(), inner.end());
    return out;
}

} // namespace

TEST_F(MapTest, DrawnPartOfCoveredSectors)
{
    addTexture("Solid");
    terrainTextures.back()->opaque = true;
    addTexture("Lace"); // translucent texels
    testutil::writeFile("Data/Textures/textureColours.ini", "[colours]\nGlass=#C8C8FF80\n");
    const auto square = rect(100, 100, 200, 200);
    const std::vector<Case> cases = {
        {"uncovered", {{square, ""}}, DrawnPart::Whole, 0},
        {"under an identical one", {{square, ""}, {square, ""}}, DrawnPart::None, 0},
        {"under a larger one", {{square, ""}, {rect(50, 50, 400, 400), ""}}, DrawnPart::None, 0},
        {"half under one", {{square, ""}, {rect(200, 100, 200, 200), ""}}, DrawnPart::Part, 20000},
        {"under two halves", {{square, ""}, {rect(0, 0, 200, 1000), ""}, {rect(200, 0, 800, 1000), ""}},
         DrawnPart::None, 0},
        {"under an opaque texture", {{square, ""}, {square, "floorTexture=Solid.png\n"}}, DrawnPart::None, 0},
        {"under a translucent texture", {{square, ""}, {square, "floorTexture=Lace.png\n"}}, DrawnPart::Whole, 0},
        {"under a translucent colour", {{square, ""}, {square, "floorTexture=Glass.png\n"}}, DrawnPart::Whole, 0},
        {"under a shadow", {{square, ""}, {square, "isShadow=True\n"}}, DrawnPart::Whole, 0},
        {"under water", {{square, ""}, {square, "waterEffect=True\n"}}, DrawnPart::Whole, 0},
        {"under a shadow and half under one", {{square, ""}, {square, "isShadow=True\n"},
                                               {rect(200, 100, 200, 200), ""}},
         DrawnPart::Part, 20000},
        {"under an outline wound twice", {{square, ""}, {twiceRound(50, 50, 400), ""}}, DrawnPart::Whole, 0},
        {"wound twice, under half", {{twiceRound(100, 100, 200), ""}, {rect(200, 100, 200, 200), ""}},
         DrawnPart::Whole, 0},
        {"under a sector without area", {{square, ""}, {{{100, 100}, {300, 100}, {200, 100}}, ""}},
         DrawnPart::Whole, 0},
    };
    for (const Case& c : cases) {
        std::vector<TestSector> sectors{{rect(0, 0, 1000, 1000), ""}};
        sectors.insert(sectors.end(), c.sectors.begin(), c.sectors.end());
        load(mapText({1000, 1000}, sectors));
        ASSERT_EQ(currentMap.sectors.size(), sectors.size()) << c.name;
        const Sector& first = currentMap.sectors[1];
        EXPECT_EQ(first.drawn, c.first) << c.name;
        if (c.first == DrawnPart::Part) {
            EXPECT_NEAR(area(first.drawnTriangles), c.firstArea, 1.0) << c.name;
        }
        // The topmost sector has nothing over it.
        EXPECT_EQ(currentMap.sectors.back().drawn, DrawnPart::Whole) << c.name;
    }
}

// The background under 64 squares (more than are clipped in one go, so
// tile by tile): what is drawn of it is exactly what they leave.
TEST_F(MapTest, DrawnPartUnderManySectorsIsWhatTheyLeave)
{
    std::vector<TestSector> sectors{{rect(0, 0, 1000, 1000), ""}};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            sectors.push_back({rect(20.0f + x * 120.0f, 20.0f + y * 120.0f, 70.0f, 70.0f), ""});
    load(mapText({1000, 1000}, sectors));
    const Sector& background = currentMap.sectors[0];
    ASSERT_EQ(background.drawn, DrawnPart::Part);
    EXPECT_NEAR(area(background.drawnTriangles), 1000.0 * 1000.0 - 64 * 70.0 * 70.0, 10.0);
    for (std::size_t i = 1; i < currentMap.sectors.size(); ++i)
        EXPECT_EQ(currentMap.sectors[i].drawn, DrawnPart::Whole) << i;
}

TEST(FillsAsOutlined, OnlyOutlinesWoundOnce)
{
    const std::vector<std::pair<ClipPath, bool>> table = {
        {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true},
        {{{0, 10}, {10, 10}, {10, 0}, {0, 0}}, true}, // the other way round
        {{{0, 0}, {10, 10}, {10, 0}, {0, 10}}, true}, // a bow-tie: each lobe once
        {{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {1, 1}, {9, 1}, {9, 9}, {1, 9}}, false},
        {{{0, 0}, {10, 0}}, false},
    };
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(fillsAsOutlined(toIntPath(table[i].first)), table[i].second) << i;
}
