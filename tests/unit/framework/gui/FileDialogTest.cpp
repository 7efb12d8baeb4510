#include "framework/gui/FileDialog.h"

#include <gtest/gtest.h>

TEST(FileDialog, ParentFolder)
{
    struct Case {
        const char* folder;
        const char* parent;
    };
    const Case cases[] = {
        {"Data\\Maps\\", "Data\\"}, {"Data\\Maps", "Data\\"},   {"Data\\", ""},
        {"", "..\\"},               {".\\", "..\\"},            {"..\\", "..\\..\\"},
        {"Data/Maps/", "Data/"},    {"/abs/dir/", "/abs/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(orv::parentFolder(c.folder), c.parent) << c.folder;
}
