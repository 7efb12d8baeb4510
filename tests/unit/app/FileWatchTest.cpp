// A watched file reports each change of its stamp once: a new size, a new
// modification time with the same size, removal and coming back.
#include "TestUtil.h"
#include "app/FileWatch.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>

namespace {

// Sets the file's modification time to `seconds`, so that a rewrite of the
// same size within one clock tick still shows.
void setModified(const std::string& path, long seconds)
{
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

class FileWatchTest : public ::testing::Test {
protected:
    testutil::TempDir dir;
};

TEST_F(FileWatchTest, ReportsEachChangeOnce)
{
    testutil::writeFile("Data/Cars/car.ini", "mass=100\n");
    setModified("Data/Cars/car.ini", 1000);
    FileWatch watch;
    watch.watch("Data\\Cars\\car.ini"); // content paths may use either slash
    EXPECT_FALSE(watch.changed());

    testutil::writeFile("Data/Cars/car.ini", "mass=1000\n"); // new size
    setModified("Data/Cars/car.ini", 1000);
    EXPECT_TRUE(watch.changed());
    EXPECT_FALSE(watch.changed());

    testutil::writeFile("Data/Cars/car.ini", "mass=2000\n"); // same size, new time
    setModified("Data/Cars/car.ini", 2000);
    EXPECT_TRUE(watch.changed());
    EXPECT_FALSE(watch.changed());

    std::remove("Data/Cars/car.ini");
    EXPECT_TRUE(watch.changed());
    EXPECT_FALSE(watch.changed());
    testutil::writeFile("Data/Cars/car.ini", "mass=2000\n");
    EXPECT_TRUE(watch.changed());
}

TEST_F(FileWatchTest, RebaseAndRewatchTakeTheCurrentStamp)
{
    testutil::writeFile("a.ini", "a");
    testutil::writeFile("b.ini", "b");
    FileWatch watch;
    watch.watch("a.ini");
    testutil::writeFile("a.ini", "aa");
    watch.rebase(); // written by the program itself
    EXPECT_FALSE(watch.changed());

    testutil::writeFile("a.ini", "aaa");
    watch.watch("a.ini"); // the same path keeps what was seen
    EXPECT_TRUE(watch.changed());
    watch.watch("b.ini");
    EXPECT_FALSE(watch.changed());
    EXPECT_EQ(watch.path(), "b.ini");
}

TEST_F(FileWatchTest, NothingAndNonRegularFilesHaveNoStamp)
{
    FileWatch none;
    EXPECT_FALSE(none.changed());
    EXPECT_EQ(fileStampOf("missing.ini"), FileStamp());
    testutil::makeFifo("pipe.ini");
    EXPECT_EQ(fileStampOf("pipe.ini"), FileStamp());
}

} // namespace
