// The pure rules of the world drawing and the effects: bevel lighting,
// culling, track marks, smoke puffs and wildlife.

#include "../world/MapFixture.h"
#include "framework/ProgramClock.h"
#include "framework/Random.h"
#include "render/RenderState.h"
#include "render/SmokePuffs.h"
#include "render/TrackMarks.h"
#include "render/Wildlife.h"
#include "render/WorldRenderer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(WorldRendererTest, BevelLightingFollowsTheEdgeBearing)
{
    struct Case {
        sf::Vector2f to;
        float bearing;
        bool litType1;
    };
    // Edges from the origin; y grows downwards on screen.
    const Case cases[] = {
        {{10, 0}, 90.0f, true},    // right
        {{-10, 0}, 270.0f, false}, // left
        {{10, 10}, 135.0f, true},  // down-right: the last lit bearing
        {{-10, -10}, 315.0f, false}, // up-left: the first shaded one
        {{0, -10}, 0.0f, true},    // up
        {{0, 10}, 180.0f, false},  // down
        {{0, 0}, 0.0f, true},      // zero length counts as up
    };
    for (const Case& c : cases) {
        const float bearing = edgeBearing(sf::Vector2f(), c.to);
        EXPECT_NEAR(bearing, c.bearing, 1e-3f) << c.to.x << "," << c.to.y;
        EXPECT_EQ(edgeLit(bearing, 1), c.litType1) << c.bearing;
        EXPECT_EQ(edgeLit(bearing, 2), !c.litType1) << c.bearing;
    }
    EXPECT_TRUE(edgeLit(135.0f, 1));
    EXPECT_FALSE(edgeLit(315.0f, 1));
}

TEST(WorldRendererTest, FirstSectorNeverBevelledAndTouchingSectorsDraw)
{
    EXPECT_FALSE(sectorBevelled(0, 1));
    EXPECT_FALSE(sectorBevelled(0, 2));
    EXPECT_TRUE(sectorBevelled(1, 2));
    EXPECT_FALSE(sectorBevelled(5, 0));

    const sf::FloatRect view(100, 100, 200, 100);
    EXPECT_TRUE(rectsMeet(sf::FloatRect(300, 150, 50, 50), view));  // touches the right edge
    EXPECT_TRUE(rectsMeet(sf::FloatRect(50, 50, 50, 50), view));    // touches a corner
    EXPECT_FALSE(rectsMeet(sf::FloatRect(300.5f, 150, 50, 50), view));
}

class EffectsTest : public mapfixture::MapTest {
protected:
    void SetUp() override
    {
        MapTest::SetUp();
        orv::seedRandom(7);
        orv::ProgramClock::setManual(100.0);
        resetRenderState();
    }
    void TearDown() override
    {
        resetRenderState();
        orv::ProgramClock::setReal();
        textureMaterials[0] = TextureMaterial();
        MapTest::TearDown();
    }
};

TEST_F(EffectsTest, TrackMarksLiveByMaterialAndDropTheOldestAtTheCap)
{
    TextureMaterial mud;
    mud.trackAlpha = 1.0f;
    mud.trackColour = sf::Color(90, 60, 30);
    for (int i = 0; i < 400; ++i)
        layTrackMark(sf::Vector2f(10, 10), 0.0f, 5.0f, mud, 4, nullptr);
    ASSERT_GT(trackMarks.size(), 340u); // one in twenty is missed
    ASSERT_LT(trackMarks.size(), 400u);
    for (std::size_t i = 0; i < trackMarks.size(); ++i) {
        EXPECT_GE(trackMarks[i].life, 48.0f);
        EXPECT_LE(trackMarks[i].life, 64.0f);
        EXPECT_EQ(trackMarks[i].width, 5.0f);
        EXPECT_EQ(trackMarks[i].length, 10.0f);
    }

    // Fill to the cap with numbered marks, then lay one more.
    clearTracks();
    while (trackMarks.size() < maxTrackMarks)
        layTrackMark(sf::Vector2f(static_cast<float>(trackMarks.size()), 0), 0.0f, 5.0f, mud, 1, nullptr);
    // Marks are numbered 0, 1, 2 ... by x. Only mark 0 makes room; a missed
    // attempt leaves the room for the next.
    const float newest = trackMarks.newest().x;
    do {
        layTrackMark(sf::Vector2f(-1, 0), 0.0f, 5.0f, mud, 1, nullptr);
    } while (trackMarks.newest().x != -1.0f);
    EXPECT_EQ(trackMarks.size(), maxTrackMarks);
    EXPECT_EQ(trackMarks[0].x, 1.0f);
    EXPECT_EQ(trackMarks[maxTrackMarks - 2].x, newest);

    // Half an alpha unit a second; the alpha byte follows the life.
    const float life = trackMarks[0].life;
    updateTracks(2.0f);
    EXPECT_FLOAT_EQ(trackMarks[0].life, life - 1.0f);
    EXPECT_EQ(trackMarks[0].colour.a, static_cast<sf::Uint8>(life - 1.0f));
    updateTracks(1000.0f);
    EXPECT_TRUE(trackMarks.empty());
}

TEST_F(EffectsTest, TrackMarksKeepOrderWhenSomeDie)
{
    TextureMaterial m;
    m.trackAlpha = 1.0f;
    for (int i = 0; i < 50; ++i)
        layTrackMark(sf::Vector2f(static_cast<float>(i), 0), 0.0f, 4.0f, m, 1, nullptr);
    for (std::size_t i = 0; i < trackMarks.size(); ++i)
        trackMarks[i].life = (i % 3 == 0) ? 1.2f : 100.0f; // every third dies next update
    updateTracks(1.0f);
    for (std::size_t i = 1; i < trackMarks.size(); ++i)
        EXPECT_LT(trackMarks[i - 1].x, trackMarks[i].x);
    for (std::size_t i = 0; i < trackMarks.size(); ++i)
        EXPECT_EQ(trackMarks[i].life, 99.5f);
}

TEST_F(EffectsTest, SmokeLeavesBackwardsAndSmallPuffsGo)
{
    const sf::Vector2f down = exhaustDirection(0.0f);
    EXPECT_EQ(down, sf::Vector2f(0.0f, 1.0f));
    EXPECT_EQ(exhaustDirection(90.0f), sf::Vector2f(-1.0f, 0.0f));
    EXPECT_EQ(exhaustDirection(-90.0f), sf::Vector2f(1.0f, 0.0f));
    EXPECT_EQ(exhaustPosition(sf::Vector2f(100, 100), 0.0f, sf::Vector2i(3, 20)), sf::Vector2f(103, 120));
    const sf::Vector2f turned = exhaustPosition(sf::Vector2f(100, 100), 90.0f, sf::Vector2i(0, 20));
    EXPECT_NEAR(turned.x, 80.0f, 1e-3f);
    EXPECT_NEAR(turned.y, 100.0f, 1e-3f);

    while (smokePuffs.empty())
        addSmokePuff(sf::Vector2f(0, 0), down, sf::Vector2f(3.6f, 3.6f), sf::Color(110, 110, 110), 0.01f, 1.0f,
                     0.3f, nullptr);
    SmokePuff& puff = smokePuffs[0];
    EXPECT_EQ(puff.delay, 1);
    EXPECT_GE(puff.life, 191.0f);
    // The first update only moves it (and uses up the delay).
    updateSmoke(0.5f);
    ASSERT_EQ(smokePuffs.size(), 1u);
    EXPECT_GT(smokePuffs[0].y, 0.0f);
    // Negative growth shrinks a puff below one pixel while its life is high.
    smokePuffs[0].growth = -1.0f;
    updateSmoke(0.0f);
    EXPECT_TRUE(smokePuffs.empty());
}

TEST_F(EffectsTest, BadFrameTimesLeaveNoNaN)
{
    while (smokePuffs.empty())
        addSmokePuff(sf::Vector2f(5, 5), sf::Vector2f(0, 1), sf::Vector2f(3, 3), sf::Color::White, 0.1f, 1.0f, 0.3f,
                     nullptr);
    spawnAnimal(sf::Vector2f(0, 0), 5);
    spawnAnimal(sf::Vector2f(0, 0), 5);
    for (float dt : {0.0f, -1.0f, NAN, INFINITY}) {
        updateSmoke(dt);
        updateWildlife(dt, sf::FloatRect(-100, -100, 200, 200), dt);
    }
    for (std::size_t i = 0; i < smokePuffs.size(); ++i)
        EXPECT_TRUE(std::isfinite(smokePuffs[i].x) && std::isfinite(smokePuffs[i].y));
    for (std::size_t i = 0; i < animals.size(); ++i)
        EXPECT_TRUE(std::isfinite(animals[i].x) && std::isfinite(animals[i].heading));
}

TEST_F(EffectsTest, NoWildlifeWithoutLevelsAndShortTurns)
{
    float silent[9] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
    populateWildlife(sf::Vector2f(), silent);
    EXPECT_TRUE(animals.empty());

    // The short way round through 0, and straight on below half a turn.
    EXPECT_FLOAT_EQ(turnHeading(350.0f, 10.0f, 5.0f), 355.0f);
    EXPECT_FLOAT_EQ(turnHeading(358.0f, 10.0f, 5.0f), 3.0f);
    EXPECT_FLOAT_EQ(turnHeading(10.0f, 350.0f, 15.0f), 355.0f);
    EXPECT_FLOAT_EQ(turnHeading(10.0f, 40.0f, 5.0f), 15.0f);
    EXPECT_FLOAT_EQ(turnHeading(10.0f, 12.0f, 5.0f), 12.0f);
}

TEST_F(EffectsTest, FishShowOnlyOverWater)
{
    load(mapfixture::mapText({1000, 1000}, {{mapfixture::rect(0, 0, 1000, 1000), ""},
                                            {mapfixture::rect(100, 100, 200, 200), "passable=2\n"}}));
    while (animals.empty())
        spawnAnimal(sf::Vector2f(200, 200), 4);
    sf::VertexArray quads(sf::Quads);
    buildWildlifeVertices(quads, false, false, sf::Vector2f(), 1.0f);
    EXPECT_EQ(quads.getVertexCount(), 4u);
    animals[0].x = 600; // over plain ground: still there, not drawn
    buildWildlifeVertices(quads, false, false, sf::Vector2f(), 1.0f);
    EXPECT_EQ(quads.getVertexCount(), 0u);
    EXPECT_EQ(animals.size(), 1u);
    animals[0].x = 150;
    buildWildlifeVertices(quads, false, false, sf::Vector2f(), 1.0f);
    EXPECT_EQ(quads.getVertexCount(), 4u);
    // Fish are not drawn in the flying passes; birds cast shadows there.
    buildWildlifeVertices(quads, true, false, sf::Vector2f(), 1.0f);
    EXPECT_EQ(quads.getVertexCount(), 0u);
}

TEST_F(EffectsTest, AnimalsLeftBehindFadeOrGo)
{
    const sf::FloatRect view(0, 0, 400, 300);
    while (animals.size() < 2)
        spawnAnimal(sf::Vector2f(200, 150), 1);
    animals[0].x = 1400; // far from the view centre: fades out
    animals[0].speed = 0;
    animals[0].life = 30;
    animals[1].x = 900; // out of view but near: removed after 3 s unseen
    animals[1].speed = 0;
    animals[1].life = 30;
    updateWildlife(0.1f, view, 1.0f / 30.0f);
    ASSERT_EQ(animals.size(), 2u);
    EXPECT_LT(animals[0].life, 1.0f);
    EXPECT_GT(animals[1].life, 20.0f);
    for (int tick = 0; tick < 95 && animals.size() > 0; ++tick) {
        animals[animals.size() - 1].speed = 0;
        updateWildlife(1.0f / 30.0f, view, 1.0f / 30.0f);
    }
    EXPECT_TRUE(animals.empty());
}

TEST(CappedListTest, RingKeepsOrderThroughWrapsAndRemovals)
{
    CappedList<int> list(4);
    for (int i = 0; i < 10; ++i) {
        if (list.full())
            list.popOldest();
        list.push(i);
    }
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0], 6);
    EXPECT_EQ(list.newest(), 9);
    list.updateNewestFirst([](int& v) { return v != 7 && v != 9; });
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], 6);
    EXPECT_EQ(list[1], 8);
    list.push(10);
    list.push(11);
    EXPECT_EQ(list[3], 11);
}

} // namespace
