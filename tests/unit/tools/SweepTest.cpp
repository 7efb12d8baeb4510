// Sweeps: the points of a line or a grid, rows in point order whatever the
// number of threads, shards that together hold every point once, and merges
// that give back the one-process CSV or refuse what cannot be merged.
#include "Sweep.h"
#include "TestUtil.h"
#include "vehicle/DrivingTests.h"
#include "vehicle/VehicleFixture.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class SweepTest : public testutil::LoggedTest {
protected:
    VehicleDef car()
    {
        testutil::writeFile("car.ini", vehiclefixture::cleanCarText());
        std::vector<VehicleDef> defs;
        EXPECT_TRUE(loadVehicleDef("car.ini", defs));
        return defs.empty() ? VehicleDef() : defs.back();
    }
    static std::string sweep(const VehicleDef& def, const std::vector<SweepAxis>& axes, bool lint,
                             const SweepShard& shard, int threads)
    {
        std::string csv;
        runSweep(def, axes, lint, shard, threads, [&](const std::string& line) { csv += line + "\n"; });
        return csv;
    }
};

} // namespace

TEST_F(SweepTest, GridPointsRunFirstAxisSlowest)
{
    const std::vector<SweepAxis> axes = {{"body.power", 4000, 6000, 3}, {"gear0.ratio", 1.5, 2.5, 2}};
    EXPECT_EQ(sweepPointCount(axes), 6);
    EXPECT_EQ(sweepAxisValue(axes[0], 1), 5000.0);
    EXPECT_EQ(sweepAxisValue(axes[0], 2), 6000.0) << "TO exactly, not FROM plus rounded steps";
    EXPECT_EQ(sweepAxisValue({"body.power", 7, 7, 1}, 0), 7.0);
    EXPECT_EQ(sweepCsvHeader(axes, true).rfind("point,body.power,gear0.ratio,acceleration_to_kmh,", 0), 0u);
    EXPECT_EQ(sweepCsvHeader(axes, true).substr(sweepCsvHeader(axes, true).size() - 10), ",note,lint");
    // The shortest text that reads back: what a person typed stays as typed.
    EXPECT_EQ(formatSweepValue(static_cast<float>(1.4)), "1.4");
    EXPECT_EQ(formatSweepValue(52000.0), "52000");
    EXPECT_EQ(formatSweepValue(static_cast<float>(1.0 / 3.0)), "0.33333334");
}

TEST_F(SweepTest, ShardsHoldEveryPointOnce)
{
    for (const SweepShard& whole : {SweepShard{1, 1}, SweepShard{1, 4}, SweepShard{1, 7}}) {
        std::multiset<long> seen;
        for (int k = 1; k <= whole.n; ++k)
            for (long point = 0; point < 23; ++point)
                if (inSweepShard(point, {k, whole.n}))
                    seen.insert(point);
        EXPECT_EQ(seen.size(), 23u) << whole.n;
        EXPECT_EQ(std::set<long>(seen.begin(), seen.end()).size(), 23u) << whole.n;
    }
}

// Threads, shards and a merge all give the bytes of one thread in one
// process; each row holds the swept values and the figures of that vehicle.
TEST_F(SweepTest, ThreadsAndShardsGiveTheOneThreadCsv)
{
    const VehicleDef def = car();
    const std::vector<SweepAxis> axes = {{"body.power", 4000, 6000, 3}};
    const std::string one = sweep(def, axes, true, {}, 1);
    EXPECT_EQ(sweep(def, axes, true, {}, 2), one);
    EXPECT_EQ(testutil::occurrences(one, "\n"), 4u);

    VehicleDef second = def;
    second.power = 5000.0f;
    EXPECT_TRUE(testutil::has(one, "\n1,5000" + drivingTestsCsvRow("", runDrivingTests(second)) + ",\n"))
        << "the clean car has no lint findings";

    std::vector<std::string> paths;
    for (int k = 1; k <= 2; ++k) {
        paths.push_back("shard" + std::to_string(k) + ".csv");
        testutil::writeFile(paths.back(), sweep(def, axes, true, {k, 2}, 2));
    }
    EXPECT_EQ(testutil::occurrences(testutil::readFile(paths[0]), "\n"), 3u) << "points 0 and 2";
    std::string merged, error;
    ASSERT_TRUE(mergeSweepCsv({paths[1], paths[0]}, merged, error)) << error;
    EXPECT_EQ(merged, one);
}

TEST_F(SweepTest, MergeRefusesWhatIsNotOneSweep)
{
    const std::string header = "point,body.power,acceleration_to_kmh\n";
    testutil::writeFile("a.csv", header + "0,1,100\n2,3,100\n");
    testutil::writeFile("b.csv", header + "1,2,100\n");
    testutil::writeFile("other.csv", "point,body.mass,acceleration_to_kmh\n1,2,100\n");
    testutil::writeFile("again.csv", header + "2,3,100\n");
    testutil::writeFile("bad.csv", header + "x,3,100\n");
    testutil::writeFile("fleet.csv", "vehicle,acceleration_to_kmh\n");
    struct Case {
        std::vector<std::string> paths;
        const char* named;
    };
    const Case cases[] = {
        {{"a.csv", "missing.csv"}, "cannot read \"missing.csv\""},
        {{"a.csv", "other.csv"}, "\"other.csv\" has another header"},
        {{"a.csv", "b.csv", "again.csv"}, "point 2 is in \"again.csv\""},
        {{"a.csv"}, "point 1 is in none"},
        {{"a.csv", "bad.csv"}, "\"bad.csv\" line 2"},
        {{"fleet.csv"}, "not a sweep's CSV"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.named);
        std::string merged, error;
        EXPECT_FALSE(mergeSweepCsv(c.paths, merged, error));
        EXPECT_TRUE(testutil::has(error, c.named));
    }
    std::string merged, error;
    ASSERT_TRUE(mergeSweepCsv({"b.csv", "a.csv"}, merged, error)) << error;
    EXPECT_EQ(merged, header + "0,1,100\n1,2,100\n2,3,100\n");
}
