#include "MapFixture.h"
#include "world/CollisionFilter.h"
#include "world/Minimap.h"

#include <box2d/box2d.h>

#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace mapfixture;
using V = std::vector<int>;

namespace {

float fixtureArea(const Sector& s)
{
    float area = 0.f;
    for (const b2Fixture* f : s.fixtures) {
        const auto* poly = static_cast<const b2PolygonShape*>(f->GetShape());
        const b2Vec2* v = poly->m_vertices;
        area += 0.5f * std::fabs(b2Cross(v[1] - v[0], v[2] - v[0]));
    }
    return area / (metresPerPixel * metresPerPixel);
}

const sf::FloatRect at(float x, float y)
{
    return sf::FloatRect(x, y, 1, 1);
}

} // namespace

TEST_F(MapTest, OverlappingSectors)
{
    load(mapText({1000, 1000}, {{rect(0, 0, 1000, 1000), ""},
                                {rect(100, 100, 200, 100), ""},
                                {rect(200, 100, 200, 100), ""}}));
    const auto& s = currentMap.sectors;
    ASSERT_EQ(s.size(), 3u);
    // The earlier sector keeps fixtures only where the later does not cover it.
    EXPECT_NEAR(fixtureArea(s[1]), 100.f * 100.f, 1.f);
    EXPECT_NEAR(fixtureArea(s[2]), 200.f * 100.f, 1.f);
    EXPECT_NEAR(fixtureArea(s[0]), 1000.f * 1000.f - 300.f * 100.f, 5.f);

    EXPECT_EQ(query(at(250, 150)), V{2});           // the overlap: the later one only
    EXPECT_EQ(query(at(150, 150)), V{1});
    EXPECT_EQ(query(sf::FloatRect(150, 150, 100, 10)), (V{1, 2})); // both, earlier first
    EXPECT_EQ(query(at(500, 500)), V{0});
}

TEST_F(MapTest, SectorInsideAnotherLeavesAHole)
{
    load(mapText({1000, 1000}, {{rect(0, 0, 1000, 1000), ""},
                                {rect(100, 100, 400, 400), ""},
                                {rect(200, 200, 100, 100), ""}}));
    EXPECT_NEAR(fixtureArea(currentMap.sectors[1]), 400.f * 400.f - 100.f * 100.f, 2.f);
    EXPECT_EQ(query(at(250, 250)), V{2});
    EXPECT_EQ(query(at(150, 150)), V{1});
}

TEST_F(MapTest, RoofsAndShadowsHideWhatIsUnder)
{
    load(mapText({1000, 1000}, {{rect(0, 0, 1000, 1000), ""},
                                {rect(100, 100, 600, 100), ""},          // a road
                                {rect(300, 50, 100, 200), "roofSector=True\n"},
                                {rect(500, 50, 100, 200), "isShadow=True\n"}}));
    // Under the roof only the roof is met, and NonRoof rejects it.
    EXPECT_EQ(query(at(350, 150)), V{});
    EXPECT_EQ(query(at(350, 150), SectorQueryMode::Ground), V{});
    // Reaching past the roof onto the open road finds the road.
    EXPECT_EQ(query(sf::FloatRect(350, 150, 100, 1)), V{1});
    // A shadow counts for NonRoof, not for Ground.
    EXPECT_EQ(query(at(550, 150)), V{3});
    EXPECT_EQ(query(at(550, 150), SectorQueryMode::Ground), V{});
}

TEST_F(MapTest, OutsideTheMapListsTheBackgroundFirstAndOnce)
{
    load(mapText({1000, 1000}, {{rect(0, 0, 1000, 1000), ""}, {rect(300, 300, 50, 50), ""}}));
    EXPECT_EQ(query(sf::FloatRect(-10, 10, 1, 1)), V{0});       // no fixture of 0 there
    EXPECT_EQ(query(sf::FloatRect(-1, 100, 5, 5)), V{0});       // and one there: still once
    EXPECT_EQ(query(sf::FloatRect(-1, 310, 320, 1)), (V{0, 1}));
    EXPECT_EQ(query(sf::FloatRect(995, 500, 5, 1)), V{0});      // right + width reaches the edge
    EXPECT_EQ(query(sf::FloatRect(500, 500, 1, 1), SectorQueryMode::Ground), V{0});
}

TEST_F(MapTest, CategoriesColoursAndTextures)
{
    addTexture("Grass");
    addTexture("FF_Stone");
    addTexture("a.b");
    testutil::writeFile("Data/Textures/textureColours.ini",
                        "[first]\nGrass=1,1,1\n[second]\nGrass=10,20,30\nDoorTrack=#102030\nFF_Used=5,6,7\n");
    const auto r = rect(0, 0, 10, 10);
    load(mapText({100, 100}, {
                                 {r, ""},                                           // 0
                                 {r, "passable=1\nfloorTexture=Grass.png\n"},        // 1
                                 {r, "passable=5\nfloorTexture=grass.png\n"},        // 2
                                 {r, "passable=6\n"},                                // 3
                                 {r, "passable=-1\n"},                               // 4
                                 {r, "passable=3\nsectorType=1\nfloorTexture=Grass.png\n"}, // 5 door track
                                 {r, "passable=2\nfloorTexture=FF_Stone.png\n"},     // 6
                                 {r, "isShadow=True\nshadowMode=1\nsectorType=1\nfloorTexture=Grass.png\n"},
                                 {r, "isShadow=True\nshadowMode=2\npassable=4\n"},   // 8
                                 {r, "isShadow=True\n"},                             // 9
                                 {r, "floorTexture=a.b.png\npassable=\n"},           // 10
                                 {r, "floorTexture=Unknown.png\n"},                  // 11
                             }));
    struct Expect {
        std::uint16_t category;
        sf::Color colour;
        int texture;
    };
    const sf::Color white = sf::Color::White;
    const Expect expected[] = {
        {0x0001, white, -1},
        {0x0002, {10, 20, 30, 255}, 0},      // colours come from the last section
        {0x0020, {10, 20, 30, 255}, -1},     // texture names are case-sensitive, colour keys not
        {0x0000, white, -1},
        {0x0000, white, -1},
        {0x0001, {16, 32, 48, 255}, 0},      // door track
        {0x0001, {5, 6, 7, 255}, 1},         // FF_ floor, still looked up by name
        {0x0001, {255, 255, 255, 32}, -1},   // shadow: its other keys are not read
        {0x0010, {0, 0, 0, 32}, -1},
        {0x0001, {0, 0, 0, 96}, -1},
        {0x0001, white, 2},
        {0x0001, white, -1},
    };
    ASSERT_EQ(currentMap.sectors.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const Sector& s = currentMap.sectors[i];
        EXPECT_EQ(s.categoryBits, expected[i].category) << "sector " << i;
        EXPECT_EQ(s.colour, expected[i].colour) << "sector " << i;
        EXPECT_EQ(s.textureIndex, expected[i].texture) << "sector " << i;
    }
    EXPECT_EQ(currentMap.sectors[8].passable, 4);
    // Only the topmost of these stacked sectors keeps fixtures.
    ASSERT_FALSE(currentMap.sectors[11].fixtures.empty());
    EXPECT_TRUE(currentMap.sectors[3].fixtures.empty());
    EXPECT_EQ(currentMap.sectors[11].fixtures.front()->GetFilterData().maskBits, sectorMaskBits);
}

TEST_F(MapTest, OutlineOrderBoundsAndStart)
{
    load("[header]\nsectorsCount=1\nvertsCount=4\nmapSize=100,50\n[verts]\npos0=0,0\npos1=10,0\npos2=10,20\n"
         "pos3=5,30\n[sector0]\nverts= 3 , 0,1 \n[startZones]\nrect0=10,20,30,40\n");
    const Sector& s = currentMap.sectors[0];
    ASSERT_EQ(s.points.size(), 3u);
    EXPECT_EQ(s.points[0], sf::Vector2f(5, 30));
    EXPECT_EQ(s.points[1], sf::Vector2f(0, 0));
    EXPECT_EQ(s.bounds, sf::FloatRect(0, 0, 10, 30));
    EXPECT_EQ(s.triangles.size(), 3u);
    EXPECT_EQ(currentMap.startPosition, sf::Vector2f(25, 40));
    EXPECT_EQ(currentMap.mapSize, sf::Vector2i(100, 50));

    load(mapText({100, 100}, {{rect(0, 0, 10, 10), ""}})); // no start zone
    EXPECT_EQ(currentMap.startPosition, sf::Vector2f(0, 0));
}

TEST_F(MapTest, ObjectsOfUnknownTypeAreDropped)
{
    addCrate();
    load(mapText({100, 100}, {{rect(0, 0, 100, 100), ""}},
                 "[header]\nobjectsCount=3\n[object0]\nobjectType=Crate.ob\npos=10,20\nangle=45\n"
                 "[object1]\nobjectType=crate.ob\n[object2]\nobjectType=Crate.ob\npos=30,40\n"));
    ASSERT_EQ(currentMap.objects.size(), 2u);
    EXPECT_EQ(currentMap.objects[1].position, sf::Vector2f(30, 40));
    EXPECT_FLOAT_EQ(currentMap.objects[0].angle, 45.f);
    ASSERT_NE(currentMap.objects[0].body, nullptr);
    EXPECT_FLOAT_EQ(currentMap.objects[0].body->GetPosition().x, 10.f / 16.f);
    EXPECT_FLOAT_EQ(currentMap.objects[0].body->GetAngle(), 0.f); // the angle is not applied
    EXPECT_TRUE(logged(": Found 2/3 valid map objects"));
}

TEST_F(MapTest, LoadingTwiceGivesTheSameMap)
{
    addTexture("Grass");
    const std::string text = mapText({500, 500}, {{rect(0, 0, 500, 500), "floorTexture=Grass.png\n"},
                                                  {rect(10, 10, 100, 100), "passable=1\n"},
                                                  {rect(50, 50, 100, 100), "isShadow=True\n"}});
    auto snapshot = [] {
        std::vector<std::tuple<std::uint16_t, sf::Uint32, int, std::size_t>> out;
        for (const Sector& s : currentMap.sectors)
            out.emplace_back(s.categoryBits, s.colour.toInteger(), s.textureIndex, s.fixtures.size());
        return out;
    };
    load(text);
    const auto first = snapshot();
    load(text);
    EXPECT_EQ(snapshot(), first);
    EXPECT_EQ(query(at(60, 60)), V{2});
}

TEST_F(MapTest, BadMaps)
{
    // Vertex numbers outside the list are skipped with a warning each.
    load("[header]\nsectorsCount=2\nvertsCount=4\nmapSize=100,100\n[verts]\npos0=0,0\npos1=100,0\n"
         "pos2=100,100\npos3=0,100\n[sector0]\nverts=0,1,7,2,-1,3\n[sector1]\nverts=0,1\n");
    EXPECT_EQ(currentMap.sectors[0].points.size(), 4u);
    EXPECT_TRUE(logged("Warning: Map Data\\Maps\\test.map: sector 0 uses vertex 7, which is not in its vertex list"));
    EXPECT_TRUE(logged("sector 0 uses vertex -1"));
    // Fewer than three points: no triangles, no fixtures, empty bounds.
    const Sector& thin = currentMap.sectors[1];
    EXPECT_TRUE(thin.triangles.empty());
    EXPECT_TRUE(thin.fixtures.empty());
    EXPECT_EQ(thin.bounds, sf::FloatRect());
    EXPECT_EQ(query(at(50, 50)), V{0});

    // Coordinates out of range are refused, not handed to the clipper.
    load(mapText({10, 10}, {{{{0, 0}, {1e30f, 0}, {0, 10}}, ""}}));
    EXPECT_EQ(currentMap.sectors.size(), 1u);

    // A map with no sectors: said so, queries find nothing, joints still get a ground.
    load("[header]\nmapSize=100,100\n");
    EXPECT_TRUE(currentMap.sectors.empty());
    EXPECT_TRUE(logged("Warning: Map Data\\Maps\\test.map has no sectors"));
    EXPECT_EQ(query(sf::FloatRect(-5, -5, 1, 1)), V{});
    EXPECT_NE(groundBody(), nullptr);
    EXPECT_EQ(groundBody()->GetType(), b2_staticBody);

    // An unreadable map leaves the map empty.
    resetPhysicsWorld();
    EXPECT_FALSE(loadMap("Data\\Maps\\missing.map"));
    EXPECT_TRUE(currentMap.sectors.empty());
    EXPECT_EQ(currentMap.loadError, "IniFile::load: Unable to read from Data\\Maps\\missing.map");
}

TEST_F(MapTest, DoorTrackWithoutTexturesIsUntextured)
{
    load(mapText({100, 100}, {{rect(0, 0, 100, 100), "sectorType=1\n"}}));
    EXPECT_EQ(currentMap.sectors[0].textureIndex, 0);
    EXPECT_EQ(terrainTextureAt(currentMap.sectors[0].textureIndex), nullptr);
    EXPECT_EQ(&materialForTextureIndex(currentMap.sectors[0].textureIndex), &textureMaterials[0]);
}

TEST(Minimap, Layout)
{
    // Wide or tall, the minimap fits the screen and its texture holds it.
    for (const sf::Vector2i map : {sf::Vector2i(1000, 500), sf::Vector2i(500, 2000)}) {
        const MinimapLayout l = computeMinimapLayout(map, {1280, 720});
        ASSERT_TRUE(l.usable);
        EXPECT_LE(l.size.x, 1280u);
        EXPECT_LE(l.size.y, 720u);
        EXPECT_GE(l.textureSize.x, l.size.x);
        EXPECT_GE(l.textureSize.y, l.size.y);
    }
    EXPECT_FALSE(computeMinimapLayout({0, 500}, {1280, 720}).usable);
    EXPECT_FALSE(computeMinimapLayout({1000, -1}, {1280, 720}).usable);
}

namespace {

bool inside(const Polygon& poly, sf::Vector2f p)
{
    bool in = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const sf::Vector2f a = poly[i], b = poly[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

} // namespace

// The background lies under far more sectors than one difference handles well,
// so it is clipped tile by tile; where sectors lie hundreds deep, tiles are
// split and those under one sector are dropped. The query must still see
// exactly the topmost outline everywhere.
TEST_F(MapTest, ManyOverlapsAgreeWithTheOutlines)
{
    struct Layout {
        int side, count, minSize, sizeRange;
    };
    for (const Layout& layout : {Layout{3000, 300, 40, 300}, Layout{1000, 1500, 100, 300}}) {
        const int side = layout.side;
        std::vector<TestSector> sectors{{rect(0, 0, static_cast<float>(side), static_cast<float>(side)), ""}};
        std::uint32_t seed = 12345;
        auto next = [&](int range) {
            seed = seed * 1664525u + 1013904223u;
            return static_cast<float>((seed >> 8) % static_cast<std::uint32_t>(range));
        };
        for (int i = 0; i < layout.count; ++i) {
            const float x = next(side - 200), y = next(side - 200);
            const float w = static_cast<float>(layout.minSize) + next(layout.sizeRange);
            const float h = static_cast<float>(layout.minSize) + next(layout.sizeRange);
            sectors.push_back({{{x, y}, {x + w, y + next(30)}, {x + w - next(30), y + h}, {x, y + h}}, ""});
        }
        load(mapText({side, side}, sectors));
        int checked = 0;
        for (int i = 0; i < 2000; ++i) {
            const sf::Vector2f p(next(side) + 0.5f, next(side) + 0.5f);
            auto topmost = [&](sf::Vector2f q) {
                int top = -1;
                for (std::size_t s = 0; s < currentMap.sectors.size(); ++s)
                    if (inside(currentMap.sectors[s].points, q))
                        top = static_cast<int>(s);
                return top;
            };
            const int expected = topmost(p);
            // Skip points within a pixel of an edge, where rounding may decide.
            bool nearEdge = false;
            for (const sf::Vector2f d : {sf::Vector2f(1, 0), sf::Vector2f(-1, 0), sf::Vector2f(0, 1), sf::Vector2f(0, -1)})
                nearEdge = nearEdge || topmost(p + d) != expected;
            if (nearEdge)
                continue;
            const auto& found =
                findSectors(sf::FloatRect(p.x - 0.05f, p.y - 0.05f, 0.1f, 0.1f), SectorQueryMode::NonRoof);
            ASSERT_FALSE(found.empty());
            EXPECT_EQ(found.back()->index, expected) << p.x << "," << p.y;
            ++checked;
        }
        EXPECT_GT(checked, 1000) << layout.count;
    }
}

// Loading over a map whose bodies are still in the world: the old bodies go
// with the old map, so no query meets a body of a sector that no longer exists.
TEST_F(MapTest, ASecondLoadReplacesTheBodies)
{
    addCrate();
    const std::string crates = "[header]\nobjectsCount=2\n[object0]\nobjectType=Crate.ob\npos=10,10\n"
                               "[object1]\nobjectType=Crate.ob\npos=20,20\n";
    load(mapText({1000, 1000}, {{rect(0, 0, 1000, 1000), ""}, {rect(100, 100, 300, 300), ""},
                                {rect(500, 500, 300, 300), ""}},
                 crates));
    ASSERT_EQ(physicsWorld->GetBodyCount(), 5);

    testutil::writeFile("Data/Maps/second.map",
                        mapText({1000, 1000}, {{rect(0, 0, 1000, 1000), ""}, {rect(600, 100, 100, 100), ""}}));
    loadMap("Data\\Maps\\second.map"); // no reset of the world in between
    EXPECT_EQ(physicsWorld->GetBodyCount(), 2);
    EXPECT_EQ(query(at(150, 150)), V{0});
    EXPECT_EQ(query(at(650, 150)), V{1});
    EXPECT_EQ(query(sf::FloatRect(0, 0, 999, 999)), (V{0, 1}));
}

// Every number the header declares keeps its place: a section the file lacks
// is a default sector (no area, never bevelled) and never lets the next one
// move down; what lies past a count is named; counts no map reaches stop at a
// cap before anything is allocated.
TEST_F(MapTest, CountsAsDeclared)
{
    addCrate();
    testutil::writeFile("Data/Textures/textureColours.ini", "[colours]\n");
    const std::string corners = "[verts]\npos0=0,0\npos1=100,0\npos2=100,100\npos3=0,100\n";
    std::string noise;
    std::uint32_t seed = 3;
    for (int i = 0; i < 600; ++i) {
        seed = seed * 1664525u + 1013904223u;
        noise += static_cast<char>(seed >> 24);
    }
    struct Case {
        const char* what;
        std::string text;
        std::size_t sectors, objects;
        std::vector<std::string> warnings; ///< every warning line, without "Map <path>"
        std::function<void()> check = [] {};
    };
    const Case cases[] = {
        {"sector 0 and a vertex missing",
         "[header]\nsectorsCount=2\nvertsCount=4\nmapSize=100,100\n[verts]\npos0=0,0\npos1=100,0\npos3=0,100\n"
         "[sector1]\nverts=1,2,3\nbevelType=1\n",
         2, 0,
         {": [verts] lacks pos2; that vertex reads as 0,0",
          ": section [sector0] is missing; that sector takes the defaults and has no area"},
         [] {
             const Sector& background = currentMap.sectors[0];
             EXPECT_TRUE(background.points.empty());
             EXPECT_EQ(background.bevelType, 0);
             EXPECT_EQ(background.textureIndex, -1);
             EXPECT_EQ(background.categoryBits, 0x0001);
             EXPECT_EQ(background.colour, sf::Color::White);
             const Sector& road = currentMap.sectors[1];
             EXPECT_EQ(road.index, 1);
             EXPECT_EQ(road.bevelType, 1);
             EXPECT_EQ(road.points, (Polygon{{100, 0}, {0, 0}, {0, 100}}));
         }},
        {"lying counts",
         "[header]\nsectorsCount=2000000000\nvertsCount=4\nobjectsCount=2000000000\nmapSize=100,100\n" +
             corners + "[sector0]\nverts=0,1,2,3\n[object1]\nobjectType=Crate.ob\n"
                       "[object1999999999]\nobjectType=Crate.ob\n",
         static_cast<std::size_t>(maxSectors), 1,
         {": [header] sectorsCount=2000000000 is more than 32768; reading 32768",
          ": [header] objectsCount=2000000000 is more than 16384; reading 16384",
          ": [object1999999999] lies beyond the counts in [header] and is not read",
          ": sections [sector1], [sector2], [sector3], [sector4], [sector5], [sector6], [sector7], [sector8] and "
          "32759 more are missing; those sectors take the defaults and have no area",
          ": sections [object0], [object2], [object3], [object4], [object5], [object6], [object7], [object8] and "
          "16375 more are missing; those objects are left out"},
         [this] {
             EXPECT_LE(currentMap.sectors.capacity(), static_cast<std::size_t>(maxSectors));
             EXPECT_EQ(currentMap.sectors.back().index, maxSectors - 1);
             EXPECT_TRUE(logged("Found 1/2000000000 valid map objects"));
         }},
        {"far vertex numbers",
         "[header]\nsectorsCount=1\nvertsCount=2000000000\nmapSize=100,100\n[verts]\npos0=0,0\n"
         "pos1999999999=100,0\npos2=100,100\npos3=0,100\n[sector0]\nverts=0,1999999999,2,3\n",
         1, 0,
         {": [verts] lacks pos1, pos4, pos5, pos6, pos7, pos8, pos9, pos10 and 1999999988 more; those vertices "
          "read as 0,0"},
         [] {
             EXPECT_EQ(currentMap.vertices.size(), 4u);
             EXPECT_EQ(currentMap.sectors[0].points, (Polygon{{0, 0}, {100, 0}, {100, 100}, {0, 100}}));
         }},
        {"sections past the counts",
         "[header]\nsectorsCount=1\nvertsCount=4\nobjectsCount=1\nmapSize=100,100\n" + corners +
             "pos4=50,50\n[sector0]\nverts=0,1,2,3\n[sector1]\nverts=0,1,4\n[object0]\nobjectType=Crate.ob\n"
             "[object1]\nobjectType=Crate.ob\n",
         1, 1, {": [sector1], [object1], [verts] pos4 lie beyond the counts in [header] and are not read"}},
        {"random bytes", noise, 0, 0, {": no map section or key found; the map is empty"}},
    };
    // Each row on its own: a failed assertion ends the row, not the table.
    const auto run = [&](const Case& c) {
        SCOPED_TRACE(c.what);
        orv::Log::reset();
        orv::Log::open("test.log");
        load(c.text);
        ASSERT_EQ(currentMap.sectors.size(), c.sectors);
        EXPECT_EQ(currentMap.objects.size(), c.objects);
        c.check();
        const std::string text = log();
        EXPECT_EQ(testutil::occurrences(text, "Warning: "), c.warnings.size()) << text;
        for (const std::string& line : c.warnings)
            EXPECT_TRUE(logged("Warning: Map Data\\Maps\\test.map" + line));
    };
    for (const Case& c : cases)
        run(c);
}

// Outlines that walk the same points again are folded before the tessellator
// and the clipper see them; an outline too long to triangulate is refused.
TEST_F(MapTest, RepeatedAndOverlongOutlines)
{
    const std::string corners = "[verts]\npos0=0,0\npos1=100,0\npos2=100,100\npos3=0,100\n";
    auto laps = [](const std::string& lap, int times) {
        std::string list;
        for (int i = 0; i < times; ++i)
            list += (i ? "," : "") + lap;
        return list;
    };
    std::string circle = "[verts]\n", circleList;
    const int circlePoints = 100000;
    for (int i = 0; i < circlePoints; ++i) {
        const double a = 6.283185307179586 * i / circlePoints;
        circle += "pos" + std::to_string(4 + i) + "=" + std::to_string(500 + 400 * std::cos(a)) + "," +
                  std::to_string(500 + 400 * std::sin(a)) + "\n";
        circleList += (i ? "," : "") + std::to_string(4 + i);
    }
    const std::string header = "[header]\nsectorsCount=6\nvertsCount=200000\nmapSize=1000,1000\n";
    load(header + corners + circle + "[sector0]\nverts=" + laps("0,1,2,3", 16384) + "\n" +
         "[sector1]\nverts=" + circleList + "\n" +
         "[sector2]\nverts=" + laps("0,1,2,3", 262145) + "\n" +            // more items than are read
         "[sector3]\nverts=0,0,1,1,2,3,3\n" +
         "[sector4]\nverts=" + laps("0,2,1,3", 4096) + "\n" +             // a bow-tie, 4,096 times
         "[sector5]\nverts=" + laps("0,1,2,3", 100) + ",1,2,3," + laps("0,1,2,3", 100) + "\n"); // laps broken
    ASSERT_EQ(currentMap.sectors.size(), 6u);
    EXPECT_TRUE(currentMap.sectors[5].points.empty());
    EXPECT_NE(log().find("sector 5 comes back to points of its outline 799 times, more than 64; left without area"),
              std::string::npos);
    const auto& s = currentMap.sectors;
    EXPECT_EQ(s[0].points.size(), 4u);
    EXPECT_TRUE(s[1].points.empty());
    EXPECT_TRUE(s[1].fixtures.empty());
    EXPECT_TRUE(s[2].points.empty());
    EXPECT_EQ(s[3].points.size(), 4u);
    EXPECT_EQ(s[4].points.size(), 4u);
    EXPECT_NEAR(fixtureArea(s[4]), 5000.f, 1.f); // the bow-tie's two triangles
    EXPECT_NEAR(fixtureArea(s[3]), 5000.f, 1.f); // the rest of the square
    EXPECT_NE(log().find("Warning: Map Data\\Maps\\test.map: sector 1 has an outline of 100000 points, more than "
                         "8192; left without area"),
              std::string::npos);
    EXPECT_NE(log().find("sector 2 lists 1048580 vertices, more than 1048576; left without area"),
              std::string::npos);
    // Each simplified outline is named once; the round one lost nothing.
    EXPECT_NE(log().find("Map Data\\Maps\\test.map: sector 0 repeats points of its outline; 65536 points "
                         "simplified to 4"),
              std::string::npos);
    EXPECT_NE(log().find("sector 3 repeats points of its outline; 7 points simplified to 4"), std::string::npos);
    EXPECT_NE(log().find("sector 4 repeats points of its outline"), std::string::npos);
    EXPECT_EQ(log().find("sector 1 repeats"), std::string::npos);
}

// A sector under one later sector that contains it keeps no fixtures, as under
// a cover made of several; partly covered sectors keep what shows.
TEST_F(MapTest, StackedSectorsShowOnlyTheTop)
{
    std::vector<TestSector> sectors{{rect(0, 0, 1000, 1000), ""}};
    for (int i = 0; i < 60; ++i)
        sectors.push_back({rect(100, 100, 200, 200), ""}); // 1..60, one outline
    sectors.push_back({rect(500, 500, 100, 100), ""});       // 61: under 62
    sectors.push_back({rect(450, 450, 300, 300), ""});       // 62: half under 63
    sectors.push_back({rect(600, 450, 300, 300), ""});       // 63
    sectors.push_back({rect(50, 600, 100, 100), ""});        // 64: under 65 and 66 together
    sectors.push_back({rect(40, 590, 60, 200), ""});         // 65
    sectors.push_back({rect(100, 590, 60, 200), ""});        // 66
    load(mapText({1000, 1000}, sectors));
    const auto& s = currentMap.sectors;
    for (int i = 1; i < 60; ++i)
        EXPECT_TRUE(s[i].fixtures.empty()) << i;
    EXPECT_NEAR(fixtureArea(s[60]), 200.f * 200.f, 1.f);
    EXPECT_TRUE(s[61].fixtures.empty());
    EXPECT_NEAR(fixtureArea(s[62]), 150.f * 300.f, 1.f);
    EXPECT_NEAR(fixtureArea(s[64]), 0.f, 1.f);
    EXPECT_EQ(query(at(150, 150)), V{60});
    EXPECT_EQ(query(at(550, 550)), V{62});
    EXPECT_EQ(query(at(70, 650)), V{65});
    EXPECT_EQ(query(at(130, 650)), V{66});
}

// Numbers of the map that the physics and the drawing cannot use are read as
// their defaults, with the file and key named.
TEST_F(MapTest, NumbersOutOfRange)
{
    addCrate();
    load(mapText({-5, 10}, {{rect(0, 0, 100, 100), "textureOffset=0,2147483647\n"}},
                 "[header]\nobjectsCount=1\n[object0]\nobjectType=Crate.ob\npos=1e30,5\n"
                 "[startZones]\nrect0=3e38,0,3e38,10\n"));
    EXPECT_EQ(currentMap.mapSize, sf::Vector2i(0, 0));
    ASSERT_EQ(currentMap.objects.size(), 1u);
    EXPECT_EQ(currentMap.objects[0].position, sf::Vector2f(0, 0));
    EXPECT_EQ(currentMap.sectors[0].textureOffset, sf::Vector2f(0, 0));
    EXPECT_EQ(currentMap.startPosition, sf::Vector2f(0, 0));
    for (const char* line : {"Map Data\\Maps\\test.map: [header] mapSize out of range; read as 0,0",
                             "Map Data\\Maps\\test.map: [object0] pos out of range; read as 0,0",
                             "Map Data\\Maps\\test.map: [sector0] textureOffset out of range; read as 0,0",
                             "Map Data\\Maps\\test.map: [startZones] rect0 out of range; starting at 0,0"})
        EXPECT_TRUE(logged(std::string("Warning: ") + line)) << line;
}

// The query's answers against every fixture tested exactly, with no index in
// between: random overlapping squares, roofs and shadows among them, asked
// with points, thin and wide rectangles, some past the map's edge.
TEST_F(MapTest, QueryAnswersAsTestingEveryFixture)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> pos(-50.0f, 1950.0f), side(5.0f, 300.0f);
    std::vector<TestSector> sectors{{rect(0, 0, 2000, 2000), ""}};
    for (int i = 0; i < 300; ++i)
        sectors.push_back({rect(pos(rng), pos(rng), side(rng), side(rng)),
                           i % 7 == 0 ? "roofSector=True\n" : i % 11 == 0 ? "isShadow=True\n" : ""});
    load(mapText({2000, 2000}, sectors));
    const sf::Vector2i size = currentMap.mapSize;
    auto expected = [&](const sf::FloatRect& r, SectorQueryMode mode) {
        b2PolygonShape box;
        box.SetAsBox(r.width * 0.5f * metresPerPixel, r.height * 0.5f * metresPerPixel,
                     b2Vec2((r.left + r.width * 0.5f) * metresPerPixel, (r.top + r.height * 0.5f) * metresPerPixel),
                     0.0f);
        b2Transform identity;
        identity.SetIdentity();
        const bool outside = r.left < 0.0f || r.top < 0.0f || r.left + r.width >= static_cast<float>(size.x) ||
                             r.top + r.height >= static_cast<float>(size.y);
        std::vector<int> under;
        for (const Sector& s : currentMap.sectors) {
            bool touches = outside && s.index == 0;
            for (const b2Fixture* f : s.fixtures)
                touches = touches || b2TestOverlap(&box, 0, f->GetShape(), 0, identity, identity);
            const bool kept = mode == SectorQueryMode::NonRoof ? !s.roofSector : !s.roofSector && !s.isShadow;
            if (touches && (kept || (outside && s.index == 0)))
                under.push_back(s.index);
        }
        return under;
    };
    std::uniform_real_distribution<float> extent(0.5f, 400.0f);
    for (int i = 0; i < 2000; ++i) {
        const float w = i % 3 == 0 ? 1.0f : extent(rng), h = i % 3 == 0 ? 1.0f : i % 3 == 1 ? 1.0f : extent(rng);
        const sf::FloatRect r(pos(rng), pos(rng), w, h);
        for (SectorQueryMode mode : {SectorQueryMode::NonRoof, SectorQueryMode::Ground})
            ASSERT_EQ(query(r, mode), expected(r, mode)) << r.left << "," << r.top << " " << w << "x" << h;
    }
}
