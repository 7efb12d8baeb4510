// tarnwick-bench on vehicle files of its own, beside the generated sound
// bank: a valid vehicle logs no error; a sound the bank lacks is still named;
// "--lint" prints a line per finding and exits cleanly.
#include "TestUtil.h"
#include "vehicle/DrivingTests.h"
#include "vehicle/VehicleFixture.h"
#include "vehicle/VehicleLint.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
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

TEST_F(TarnwickBenchTest, LintPrintsOneLinePerFindingAndExitsCleanly)
{
    // A car that holds its gears, reaches its top speed and brakes well,
    // beside the sports car as it first shipped: too much power against too
    // much damping, so its gearbox hunts.
    testutil::writeFile("clean.ini", vehiclefixture::cleanCarText());
    testutil::writeFile("road.ini", roadster + "[body]\nmaxSpeed=68\npower=9500\nlinearDamping=0.4\nbrakePower=300\n");
    const std::string command = std::string("ALSOFT_DRIVERS=none ALSOFT_CONF=/dev/null ") + BENCH_PATH +
                                " --lint clean.ini road.ini >out.txt 2>err.txt";
    EXPECT_EQ(std::system(command.c_str()), 0) << "findings are advice, not failure";
    EXPECT_EQ(testutil::readFile("err.txt"), "");
    const std::string out = testutil::readFile("out.txt");
    EXPECT_EQ(out.find("clean: no findings\n"), 0u) << out;
    EXPECT_TRUE(testutil::has(out, "\nroad: gear hunting: "));
    // Every line after the clean one is a finding of the sports car with its suggestion.
    std::size_t lines = 0;
    for (std::size_t at = out.find('\n') + 1; at < out.size(); at = out.find('\n', at) + 1) {
        const std::string line = out.substr(at, out.find('\n', at) - at);
        EXPECT_EQ(line.find("road: "), 0u) << line;
        EXPECT_TRUE(testutil::has(line, "; ")) << line;
        ++lines;
    }
    EXPECT_GE(lines, 1u);
}

namespace {

std::vector<VehicleDef> shippedFleet()
{
    std::vector<VehicleDef> fleet;
    for (const char* name : {"Buggy", "Crawler", "Hatchback", "Minibus", "Pickup", "Roadster"}) {
        std::vector<VehicleDef> defs;
        EXPECT_TRUE(loadVehicleDef(std::string(RUN_DIR) + "/Data/Cars/" + name + ".ini", defs)) << name;
        if (!defs.empty())
            fleet.push_back(defs.back());
    }
    return fleet;
}

} // namespace

// Public figures for typical vehicles of each class, rounded: the default
// fleet is a reference, so each car sits inside its class on every test,
// uses every gear, holds its gears and brakes with its brakes.
TEST_F(TarnwickBenchTest, ShippedFleetSitsInItsClassBands)
{
    struct Band {
        const char* name;
        float accelerationTo, accelerationLo, accelerationHi;
        float topLo, topHi;
        float brakingLo, brakingHi; ///< from 100 km/h, or from 80% of top speed for the Crawler
        float kerbLo, kerbHi;       ///< 0, 0: turns on the spot
    };
    const Band bands[] = {
        {"Buggy", 100, 5, 9, 100, 140, 40, 60, 8, 10},
        {"Crawler", 30, 6, 12, 30, 60, 0, 10, 0, 0},
        {"Hatchback", 100, 9, 13, 170, 200, 35, 45, 9.5f, 11},
        {"Minibus", 100, 14, 22, 130, 160, 40, 55, 11, 13.5f},
        {"Pickup", 100, 8, 12, 160, 180, 40, 50, 12, 14},
        {"Roadster", 100, 5, 7, 200, 250, 32, 38, 9.5f, 11.5f},
    };
    const std::vector<VehicleDef> fleet = shippedFleet();
    ASSERT_EQ(fleet.size(), std::size(bands));
    for (std::size_t i = 0; i < fleet.size(); ++i) {
        const Band& b = bands[i];
        SCOPED_TRACE(b.name);
        const DrivingTestResults r = runDrivingTests(fleet[i]);
        EXPECT_EQ(r.accelerationToKmh, b.accelerationTo);
        auto within = [](const DrivingFigure& f, float lo, float hi) { return f.reached && f.value >= lo && f.value <= hi; };
        EXPECT_TRUE(within(r.accelerationTime, b.accelerationLo, b.accelerationHi)) << r.accelerationTime.value;
        EXPECT_TRUE(within(r.topSpeed, b.topLo, b.topHi)) << r.topSpeed.value;
        EXPECT_TRUE(within(r.brakingDistance, b.brakingLo, b.brakingHi)) << r.brakingDistance.value;
        if (b.kerbHi > 0.0f) {
            EXPECT_EQ(r.brakingFromKmh, 100.0f);
            EXPECT_TRUE(within(r.kerbToKerb, b.kerbLo, b.kerbHi)) << r.kerbToKerb.value;
        } else {
            EXPECT_TRUE(r.turnsOnTheSpot);
        }
        EXPECT_EQ(lintReport(b.name, lintVehicle(fleet[i])), std::vector<std::string>{std::string(b.name) + ": no findings"});
    }
}

// The README's fleet table is what the bench prints for the shipped cars,
// so it cannot drift from them.
TEST_F(TarnwickBenchTest, ReadmeFleetTableIsTheBenchsOwn)
{
    const std::string readme = testutil::readFile(std::string(CONTENT_SOURCE_DIR) + "/../README.md");
    const std::string begin = "<!-- fleet table: tarnwick-bench --table -->\n";
    const std::size_t from = readme.find(begin);
    ASSERT_NE(from, std::string::npos) << "the README marks its fleet table";
    const std::size_t start = from + begin.size();
    const std::size_t end = readme.find("\n\n", start);
    ASSERT_NE(end, std::string::npos);

    fs::create_directory_symlink(fs::path(RUN_DIR) / "Data/Cars", "Data/Cars");
    const std::string command =
        std::string("ALSOFT_DRIVERS=none ALSOFT_CONF=/dev/null ") + BENCH_PATH + " --table >table.md 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(readme.substr(start, end + 1 - start), testutil::readFile("table.md"))
        << "run tarnwick-bench --table in build/run and paste its output into the README";
}

// A bad argument stops the bench before any drive, with a status that is not
// 0 and one line on stderr naming the argument and the reason.
TEST_F(TarnwickBenchTest, BadArgumentsFailWithOneLineNamingThem)
{
    testutil::writeFile("car.ini", roadster);
    struct Case {
        const char* args;
        const char* named;
    };
    const Case cases[] = {
        {"--set body.power=2e7 car.ini", "--set body.power: \"body.power\": 2e+07 is not a number from -1e+07 to 1e+07"},
        {"--set body.wings=2 car.ini", "\"body.wings\" is not a vehicle field"},
        {"--sweep body.mass=1:2:0 car.ini", "--sweep body.mass=1:2:0: STEPS"},
        {"--fit braking_m=30 --vary body.brakePower=1:2:3 car.ini", "--vary body.brakePower=1:2:3"},
        {"--merge nothing.csv", "cannot read \"nothing.csv\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const std::string command = std::string("ALSOFT_DRIVERS=none ALSOFT_CONF=/dev/null ") + BENCH_PATH + " " +
                                    c.args + " >out.csv 2>err.txt";
        EXPECT_NE(std::system(command.c_str()), 0);
        const std::string err = testutil::readFile("err.txt");
        EXPECT_TRUE(testutil::has(err, c.named));
        EXPECT_EQ(testutil::occurrences(err, "\n"), 1u) << err;
        EXPECT_EQ(testutil::readFile("out.csv"), "");
    }
}

// The README's sweep chart is what the command beside it draws from the
// shipped roadster, so neither can drift from the bench.
TEST_F(TarnwickBenchTest, ReadmeSweepChartIsTheBenchsOwn)
{
    const std::string root = std::string(CONTENT_SOURCE_DIR) + "/../";
    const std::string readme = testutil::readFile(root + "README.md");
    const std::string begin = "<!-- sweep chart: tarnwick-bench ";
    const std::size_t from = readme.find(begin);
    ASSERT_NE(from, std::string::npos) << "the README marks its sweep chart's command";
    const std::string args = readme.substr(from + begin.size(), readme.find(" -->", from) - from - begin.size());
    const std::string plot = "docs/roadster_power_sweep.svg";
    ASSERT_TRUE(testutil::has(args, "--plot " + plot));

    fs::create_directory_symlink(fs::path(RUN_DIR) / "Data/Cars", "Data/Cars");
    fs::create_directory("docs");
    const std::string command =
        std::string("ALSOFT_DRIVERS=none ALSOFT_CONF=/dev/null ") + BENCH_PATH + " " + args + " >sweep.csv 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(testutil::readFile(plot), testutil::readFile(root + plot))
        << "run the command of the README's sweep chart in build/run and copy " << plot;
    EXPECT_EQ(testutil::occurrences(testutil::readFile("sweep.csv"), "\n"), 12u);
}
