// tarnwick-bench on vehicle files of its own, beside the generated sound
// bank: a valid vehicle logs no error; a sound the bank lacks is still named.
#include "TestUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

class TarnwickBenchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories("Data");
        fs::create_directory_symlink(fs::path(RUN_DIR) / "Data/Sounds", "Data/Sounds");
        roadster = testutil::readFile(std::string(RUN_DIR) + "/Data/Cars/Roadster.ini");
        ASSERT_FALSE(roadster.empty());
    }
    /// Runs the bench on one file holding `text`; returns its log.
    std::string bench(const std::string& text)
    {
        testutil::writeFile("car.ini", text);
        fs::remove("tarnwick-bench.log");
        // No sound device can open: a bench that reached for one would say so on stderr.
        const std::string command =
            std::string("ALSOFT_DRIVERS=none ALSOFT_CONF=/dev/null ") + BENCH_PATH + " car.ini >out.csv 2>err.txt";
        EXPECT_EQ(std::system(command.c_str()), 0);
        EXPECT_EQ(testutil::readFile("err.txt"), "");
        EXPECT_EQ(testutil::occurrences(testutil::readFile("out.csv"), "\n"), 2u) << "a header and one row";
        return testutil::readFile("tarnwick-bench.log");
    }

    testutil::TempDir dir;
    std::string roadster;
};

} // namespace

TEST_F(TarnwickBenchTest, LogsOnlyRealErrors)
{
    struct Case {
        const char* what;
        std::string text;
        std::size_t errors;
        const char* named;
    };
    const Case cases[] = {
        {"a default vehicle", roadster, 0, nullptr},
        {"an unknown idle sound", roadster + "[sound]\nidleSound=Engine\\Nothing_Here\n", 1,
         "No such sound \"Engine\\Nothing_Here\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string log = bench(c.text);
        EXPECT_TRUE(testutil::has(log, "sound(s) from Data/Sounds")) << "the sound bank was read";
        EXPECT_EQ(testutil::occurrences(log, "Error"), c.errors) << log;
        if (c.named) {
            EXPECT_TRUE(testutil::has(log, c.named));
        }
    }
}
