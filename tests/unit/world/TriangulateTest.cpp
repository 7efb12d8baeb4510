#include "world/SectorClipping.h"
#include "world/Triangulate.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

float area(const Polygon& triangles)
{
    float total = 0.f;
    for (std::size_t i = 0; i + 2 < triangles.size(); i += 3) {
        const sf::Vector2f a = triangles[i], b = triangles[i + 1], c = triangles[i + 2];
        total += 0.5f * std::fabs((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y));
    }
    return total;
}

Polygon square(float x, float y, float size, bool reversed = false)
{
    Polygon p = {{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}};
    if (reversed)
        std::reverse(p.begin(), p.end());
    return p;
}

ClipPath path(const Polygon& p)
{
    ClipPath out;
    for (const auto& v : p)
        out.push_back({v.x, v.y});
    return out;
}

} // namespace

TEST(Triangulate, OutlinesAndHoles)
{
    struct Case {
        Polygon outline;
        std::vector<Polygon> holes;
        float area;
    };
    const Case cases[] = {
        {square(0, 0, 10), {}, 100.f},
        {square(0, 0, 10, true), {}, 100.f},
        {{{0, 0}, {10, 0}, {10, 10}, {5, 3}, {0, 10}}, {}, 65.f},   // concave
        {square(0, 0, 10), {square(2, 2, 4)}, 84.f},
        {square(0, 0, 10), {square(2, 2, 4, true)}, 84.f},           // a hole whatever its direction
        {square(0, 0, 10), {square(1, 1, 2), square(5, 5, 3)}, 87.f},
    };
    for (const Case& c : cases) {
        Polygon out;
        ASSERT_TRUE(triangulate(c.outline, c.holes, out));
        EXPECT_EQ(out.size() % 3, 0u);
        EXPECT_NEAR(area(out), c.area, 0.01f);
    }
}

TEST(Triangulate, FailureLeavesTheListAlone)
{
    Polygon out = {{1, 2}};
    EXPECT_FALSE(triangulate({{0, 0}, {1, 1}}, {}, out));
    EXPECT_FALSE(triangulate({{0, 0}, {1, 1}, {2, 2}}, {}, out)); // no area
    EXPECT_FALSE(triangulate({}, {}, out));
    EXPECT_EQ(out, (Polygon{{1, 2}}));

    // A bow-tie crosses itself: the crossing point is added and kept.
    Polygon bow;
    ASSERT_TRUE(triangulate({{0, 0}, {10, 10}, {10, 0}, {0, 10}}, {}, bow));
    EXPECT_NEAR(area(bow), 50.f, 0.01f);
    EXPECT_NE(std::find(bow.begin(), bow.end(), sf::Vector2f(5, 5)), bow.end());
}

TEST(SectorClipping, DifferenceAndRectangles)
{
    // A square minus a square inside it: one area with one hole.
    const ClipPath outer = path(square(0, 0, 10));
    const ClipPath inner = path(square(2, 2, 4));
    auto areas = clipDifference(outer, {&inner});
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(areas[0].holes.size(), 1u);

    // An island inside a hole is an area again: a clip square with a square of
    // the opposite winding inside it (non-zero: not clipped there) leaves a
    // frame with a hole and, in the hole, the island.
    const ClipPath hole = path(square(2, 2, 6));
    const ClipPath island = path(square(4, 4, 2, true));
    areas = clipDifference(outer, {&hole, &island});
    ASSERT_EQ(areas.size(), 2u);
    EXPECT_EQ(areas[0].holes.size(), 1u);
    EXPECT_TRUE(areas[1].holes.empty());
    float total = 0.f;
    for (const ClippedArea& a : areas) {
        Polygon triangles;
        ASSERT_TRUE(triangulate(a.outline, a.holes, triangles));
        total += area(triangles);
    }
    EXPECT_NEAR(total, 100.f - 36.f + 4.f, 0.01f);
    EXPECT_NEAR(area([&] { Polygon t; triangulate(areas[1].outline, {}, t); return t; }()), 4.f, 0.01f);

    // Fully covered: nothing left.
    const ClipPath cover = path(square(-1, -1, 12));
    EXPECT_TRUE(clipDifference(outer, {&cover}).empty());

    // Two decimals survive the integer scaling.
    const ClipPath fine = path(square(0.25f, 0.5f, 1.25f));
    EXPECT_NEAR(clippedArea(fine, sf::FloatRect(-10, -10, 20, 20)), 1.5625, 1e-6);
    EXPECT_NEAR(clippedArea(outer, sf::FloatRect(5, -5, 20, 20)), 50.0, 1e-6);
    EXPECT_NEAR(clippedArea(path(square(0, 0, 10, true)), sf::FloatRect(5, -5, 20, 20)), 50.0, 1e-6);
    EXPECT_EQ(clippedArea(outer, sf::FloatRect(20, 20, 5, 5)), 0.0);
}

// Self-crossing outlines whose clipped results touch themselves where
// intersections were rounded to the grid, and where Clipper 6 filed an outer
// as a hole or a hole under an outer it lies outside of: each area must be
// an outer with holes inside it, its triangles covering outline minus holes.
TEST(SectorClipping, AreasAreWellFormedAndCovered)
{
    const auto shoelace = [](const Polygon& p) {
        double a = 0.0;
        for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
            a += double(p[j].x) * p[i].y - double(p[i].x) * p[j].y;
        return a * 0.5;
    };
    const ClipPath outlines[] = {
        {{320, 0},    {1.5, 576}, {0, 0},       {64, 32},       {32, 0},        {0, 0},       {0.5, 0},
         {-8192, 1},  {0.25, 128}, {0.25, 0},   {10.25, 32},    {0, -7132},     {0.25, 1.5},  {576, 320},
         {0, 1.5},    {576, 0},   {0, 64},      {32, 32},       {0, 0},         {0, 128},     {0, 0},
         {288, 0},    {95.75, -7552}, {64, 0},  {2624, -8192},  {12.5, 0},      {-7132, 0},   {7552, 97.75},
         {0, 2624},   {-8192, 0}},
        {{0, 64}, {0.25, -8160.25}, {0, 0}, {0, 7904}, {-32, 0}, {0, 0}, {-124, 8191.5}, {0, 32}, {7904, -32},
         {0, 0}, {0, -124}, {8191.5, 0}, {32, 32}, {2073, 0}, {2073, 0}},
    };
    for (const ClipPath& outline : outlines) {
        SCOPED_TRACE(&outline - outlines);
        for (const ClippedArea& a : clipDifference(outline, {})) {
            EXPECT_GT(shoelace(a.outline), 0.0);
            double expected = shoelace(a.outline);
            for (const Polygon& hole : a.holes) {
                EXPECT_LT(shoelace(hole), 0.0);
                expected += shoelace(hole);
            }
            Polygon triangles;
            ASSERT_TRUE(triangulate(a.outline, a.holes, triangles));
            double covered = 0.0;
            for (std::size_t i = 0; i + 2 < triangles.size(); i += 3)
                covered += std::fabs(shoelace({triangles[i], triangles[i + 1], triangles[i + 2]}));
            EXPECT_NEAR(covered, expected, 1e-6 * expected + 0.01);
        }
    }
}
