#include "world/Outline.h"

#include <gtest/gtest.h>

namespace {

Polygon repeated(const Polygon& lap, int times)
{
    Polygon out;
    for (int i = 0; i < times; ++i)
        out.insert(out.end(), lap.begin(), lap.end());
    return out;
}

const Polygon square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
const Polygon bowTie = {{0, 0}, {10, 10}, {10, 0}, {0, 10}};
const Polygon concave = {{0, 0}, {10, 0}, {10, 10}, {5, 3}, {0, 10}};

} // namespace

TEST(Outline, FoldsWhatAddsNoArea)
{
    struct Case {
        const char* what;
        Polygon in;
        Polygon out;
    };
    const Case cases[] = {
        {"square", square, square},
        {"concave", concave, concave},
        {"bow-tie", bowTie, bowTie},
        {"repeated points", {{0, 0}, {0, 0}, {10, 0}, {10, 10}, {10, 10}, {10, 10}, {0, 10}}, square},
        {"last repeats first", {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}, square},
        {"spike", {{0, 0}, {10, 0}, {20, 5}, {10, 0}, {10, 10}, {0, 10}}, square},
        {"long out-and-back", {{0, 0}, {10, 0}, {20, 0}, {30, 5}, {20, 0}, {10, 0}, {10, 10}, {0, 10}},
         {{0, 0}, {10, 0}, {10, 10}, {0, 10}}},
        {"spike across the seam", {{20, 5}, {0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}, square},
        {"two laps", repeated(square, 2), square},
        {"16,384 laps", repeated(square, 16384), square},
        {"4,096 bow-ties", repeated(bowTie, 4096), bowTie},
        {"laps with repeats", repeated({{0, 0}, {0, 0}, {10, 0}, {10, 10}, {0, 10}}, 100), square},
        {"a point over and over", repeated({{3, 4}}, 1000), {{3, 4}}},
        {"a line walked back", {{0, 0}, {10, 0}, {20, 0}, {10, 0}}, {{0, 0}, {10, 0}}},
    };
    for (const Case& c : cases) {
        Polygon p = c.in;
        simplifyOutline(p);
        EXPECT_EQ(p, c.out) << c.what;
    }
}

// Laps that do not close the outline a whole number of times, or repeat only
// part of it, are a different outline: left to the tessellator.
TEST(Outline, KeepsWhatIsNotARepeat)
{
    Polygon partial = repeated(square, 3);
    partial.push_back({5, 5});
    const Polygon before = partial;
    simplifyOutline(partial);
    EXPECT_EQ(partial, before);
}
