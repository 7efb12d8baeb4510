// Only regular files reach a loader: a folder or a FIFO in a content file's
// place is refused with one line naming it, and nothing waits on the FIFO.
#include "TestUtil.h"
#include "audio/DeclaredSizes.h"
#include "framework/BinaryFile.h"
#include "framework/ContentFile.h"
#include "framework/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using testutil::LoggedTest;

namespace {

struct Loader {
    const char* who; ///< the name its log line starts with
    std::function<bool(const std::string&)> load;
};

const Loader loaders[] = {
    {"IniFile::load", [](const std::string& p) { return orv::IniFile().load(p); }},
    {"BinaryFile::openRead", [](const std::string& p) { return orv::BinaryFile().openRead(p); }},
};

} // namespace

TEST(ContentFile, OnlyRegularFilesPass)
{
    testutil::TempDir dir;
    testutil::writeFile("file.ini", "[a]\nb=1\n");
    std::filesystem::create_directory("folder.ini");
    testutil::makeFifo("fifo.ini");
    std::filesystem::create_symlink("file.ini", "link.ini");
    const struct {
        const char* path;
        const char* problem;
    } cases[] = {
        {"file.ini", ""}, {"link.ini", ""}, {"missing.ini", ""},
        {"folder.ini", "not a regular file"}, {"fifo.ini", "not a regular file"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(orv::contentFileProblem(c.path), c.problem) << c.path;
}

class ContentFileLog : public LoggedTest {};

TEST_F(ContentFileLog, LoadersRefuseFoldersAndFifos)
{
    std::filesystem::create_directory("folder.dat");
    testutil::makeFifo("fifo.dat");
    for (const Loader& loader : loaders) {
        for (const char* path : {"folder.dat", "fifo.dat"}) {
            SCOPED_TRACE(std::string(loader.who) + " " + path);
            bool loaded = true;
            EXPECT_TRUE(testutil::returnsWithin([&] { loaded = loader.load(path); }, path)) << "blocked";
            EXPECT_FALSE(loaded);
            EXPECT_TRUE(logged(std::string(loader.who) + ": " + path + ": not a regular file"));
        }
    }
    // Sound and module checks open the file before any decoder does.
    for (const char* path : {"fifo.dat", "folder.dat"}) {
        std::string wave, module;
        EXPECT_TRUE(testutil::returnsWithin([&] { wave = orv::waveSizeProblem(path); }, path));
        EXPECT_TRUE(testutil::returnsWithin([&] { module = orv::moduleSizeProblem(path, ".xm"); }, path));
        EXPECT_EQ(wave, "not a regular file");
        EXPECT_EQ(module, "not a regular file");
    }
}
