#include "TestUtil.h"
#include "framework/AppInfo.h"
#include "framework/DirectoryListing.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

using orv::DirectoryListing;
using testutil::TempDir;
using testutil::writeFile;

namespace {

std::vector<std::string> names(const DirectoryListing& listing)
{
    std::vector<std::string> out;
    for (const auto& e : listing.entries())
        out.push_back(e.name);
    return out;
}

void makeTree()
{
    writeFile("Data/Cars/b.ini", "12345");
    writeFile("Data/Cars/A.INI", "");
    writeFile("Data/Cars/c.ini.bak", "");
    writeFile("Data/Cars/noext", "");
    writeFile("Data/Cars/Sub/d.ini", "");
    writeFile("Data/Cars/.hidden/e.ini", "");
    writeFile("Data/Cars/Sub/Deeper/f.Ini", "");
}

} // namespace

TEST(DirectoryListing, FiltersAndModes)
{
    TempDir dir;
    makeTree();
    using V = std::vector<std::string>;
    struct Case {
        const char* path;
        std::vector<std::string> filters;
        int mode;
        bool recursive;
        V expected;
    };
    const Case cases[] = {
        {"Data/Cars", {".ini"}, 1, false, {"A.INI", "b.ini"}},
        {"Data/Cars/", {"ini"}, 1, false, {"A.INI", "b.ini"}},
        {"Data\\Cars", {"INI"}, 1, false, {"A.INI", "b.ini"}},
        {"./Data/Cars", {".ini"}, 1, false, {"A.INI", "b.ini"}},
        {".\\Data\\Cars", {".ini"}, 1, false, {"A.INI", "b.ini"}},
        {"Data/Cars", {}, 1, false, {"A.INI", "b.ini", "c.ini.bak", "noext"}},
        {"Data/Cars", {".ini"}, 1, true, {"A.INI", "f.Ini", "d.ini", "b.ini"}},
        {"Data/Cars", {".ini"}, 0, true, {"A.INI", "Sub", "Deeper", "f.Ini", "d.ini", "b.ini"}},
        {"Data/Cars", {".ini"}, 2, true, {"Sub", "Deeper"}},
        {"Data/Cars", {".bak", ".ini"}, 1, false, {"A.INI", "b.ini", "c.ini.bak"}},
        {"Data/Missing", {}, 0, true, {}},
    };
    for (const Case& c : cases) {
        DirectoryListing listing;
        for (const auto& f : c.filters)
            listing.addExtension(f);
        listing.scan(c.path, c.mode, c.recursive);
        EXPECT_TRUE(listing.scanned);
        EXPECT_EQ(names(listing), c.expected) << c.path << " mode " << c.mode << " recursive " << c.recursive;
    }
}

TEST(DirectoryListing, EntryFields)
{
    TempDir dir;
    makeTree();
    DirectoryListing listing;
    listing.addExtension("ini");
    listing.scan("Data/Cars", 1, true);
    ASSERT_EQ(listing.entries().size(), 4u);
    EXPECT_EQ(listing.path, "Data/Cars\\");
    const auto& b = listing.entries()[3];
    EXPECT_EQ(b.path, "Data/Cars\\b.ini");
    EXPECT_EQ(b.relativePath, "b.ini");
    EXPECT_EQ(b.size, 5u);
    EXPECT_FALSE(b.isFolder);
    const auto& f = listing.entries()[1];
    EXPECT_EQ(f.path, "Data/Cars\\Sub\\Deeper\\f.Ini");
    EXPECT_EQ(f.relativePath, "Sub\\Deeper\\f.Ini");
    // Absolute paths are compared in one form, "\" separated.
    std::string expected = dir.path() + "/Data/Cars/";
    for (char& c : expected)
        if (c == '/')
            c = '\\';
    EXPECT_EQ(listing.fullPath, expected);
}

TEST(DirectoryListing, RescanAndClear)
{
    TempDir dir;
    makeTree();
    DirectoryListing listing;
    listing.addExtension(".ini");
    listing.scan("Data/Cars", 1, false);
    EXPECT_EQ(listing.entries().size(), 2u);
    writeFile("Data/Cars/z.ini", "");
    listing.scan("Data/Cars/Sub", 1, false); // filters stay, entries are replaced
    EXPECT_EQ(names(listing), std::vector<std::string>{"d.ini"});
    listing.scan("Data/Cars", 1, false);
    EXPECT_EQ(names(listing), (std::vector<std::string>{"A.INI", "b.ini", "z.ini"}));
    listing.clear();
    EXPECT_FALSE(listing.scanned);
    EXPECT_TRUE(listing.extensions.empty());
    EXPECT_TRUE(listing.entries().empty());
}

// Links back into the tree are followed once: a self-link must not list the
// sounds again, and two of them (which branch at every level) must not hang.
TEST(DirectoryListing, EntersEachFolderOnce)
{
    TempDir dir;
    writeFile("Sounds/a.wav", "");
    writeFile("Sounds/Sub/b.wav", "");
    std::filesystem::create_directory_symlink(".", "Sounds/self");
    DirectoryListing listing;
    listing.addExtension("wav");
    listing.scan("Sounds", 1, true);
    ASSERT_EQ(names(listing), (std::vector<std::string>{"b.wav", "a.wav"}));

    std::filesystem::create_directory_symlink("..", "Sounds/Sub/up");
    std::filesystem::create_directory_symlink(".", "Sounds/also");
    listing.scan("Sounds", 0, true);
    EXPECT_EQ(names(listing), (std::vector<std::string>{"Sub", "b.wav", "up", "a.wav", "also", "self"}));
}

// A pipe named like a sound would block whoever opens it; a link to a real
// file is a file.
class DirectoryListingLog : public testutil::LoggedTest {};

TEST_F(DirectoryListingLog, RegularFilesOnly)
{
    writeFile("Sounds/a.wav", "");
    std::filesystem::create_symlink("a.wav", "Sounds/link.wav");
    std::filesystem::create_symlink("missing.wav", "Sounds/broken.wav");
    ASSERT_EQ(::mkfifo("Sounds/pipe.wav", 0600), 0);
    DirectoryListing listing;
    listing.addExtension("wav");
    listing.scan("Sounds", 1, true);
    EXPECT_EQ(names(listing), (std::vector<std::string>{"a.wav", "link.wav"}));
    EXPECT_TRUE(logged("Warning: DirectoryListing: Skipped Sounds\\pipe.wav: not a regular file"));
}

TEST_F(DirectoryListingLog, TooDeepIsLogged)
{
    std::string deep = "Root";
    for (int i = 0; i < 66; ++i)
        deep += "/d";
    writeFile(deep + "/x.wav", "");
    writeFile("Root/top.wav", "");
    DirectoryListing listing;
    listing.addExtension("wav");
    listing.scan("Root", 1, true);
    EXPECT_EQ(names(listing), std::vector<std::string>{"top.wav"});
    EXPECT_TRUE(logged(": more than 64 folders deep"));
}
