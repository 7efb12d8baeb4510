#include "framework/PathUtil.h"
#include "framework/StringUtil.h"

#include <gtest/gtest.h>

using namespace orv;

TEST(StringUtil, SplitString)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(splitString("", ',', true), V{});
    EXPECT_EQ(splitString("a,b,", ',', true), (V{"a", "b"}));
    EXPECT_EQ(splitString("a,,b", ',', true), (V{"a", "", "b"}));
    EXPECT_EQ(splitString(" 3 , 0,\t1 ", ',', true), (V{"3", "0", "1"}));
    EXPECT_EQ(splitString(" 3 , 0", ',', false), (V{" 3 ", " 0"}));
}

TEST(StringUtil, Numbers)
{
    EXPECT_EQ(toInt(""), 0);
    EXPECT_EQ(toInt("  -17x"), -17);
    EXPECT_EQ(toInt("x17"), 0);
    EXPECT_EQ(toInt("2147483648"), 0);
    EXPECT_FLOAT_EQ(toFloat(" 0.25"), 0.25f);
    EXPECT_EQ(toFloat("1e99"), 0.f);
    EXPECT_EQ(toFloat("-nan"), 0.f);
}

TEST(StringUtil, HashesAndPaths)
{
    EXPECT_EQ(nameHash("abc"), 807794786u);
    EXPECT_EQ(nameHash("ABC"), 807794786u);
    EXPECT_EQ(fnv1a(""), 2166136261u);
    EXPECT_EQ(nativePath("Data\\Maps\\a.map"), "Data/Maps/a.map");
    EXPECT_EQ(joinPath("zozur3\\", "Shaders\\"), "zozur3\\Shaders\\");
    EXPECT_EQ(joinPath("zozur3", "Shaders\\"), "zozur3\\Shaders\\");
    EXPECT_EQ(joinPath("zozur3/", "x"), "zozur3/x");
    EXPECT_EQ(fileNamePart("a\\b/c.ob"), "c.ob");
    EXPECT_EQ(removeExtension("road.old.png"), "road.old");
    EXPECT_EQ(removeExtension("dir.d\\file"), "dir.d\\file");
    EXPECT_EQ(replaceExtension("Data/Images/Trees.ini", ".png"), "Data/Images/Trees.png");
}
