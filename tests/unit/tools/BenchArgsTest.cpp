// The bench's command line: every bad value is refused with one line naming
// the argument, before any vehicle is driven; field names and ranges are
// checked against the vehicle read, since they depend on it.
#include "BenchArgs.h"
#include "TestUtil.h"
#include "vehicle/VehicleFixture.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> words(const std::string& line)
{
    std::vector<std::string> out;
    std::string word;
    for (char c : line + " ") {
        if (c != ' ')
            word += c;
        else if (!word.empty()) {
            out.push_back(word);
            word.clear();
        }
    }
    return out;
}

class BenchArgsTest : public testutil::LoggedTest {
protected:
    VehicleDef car()
    {
        testutil::writeFile("car.ini", vehiclefixture::fastCarText); // three gears, four wheels
        std::vector<VehicleDef> defs;
        EXPECT_TRUE(loadVehicleDef("car.ini", defs));
        return defs.empty() ? VehicleDef() : defs.back();
    }
};

} // namespace

TEST_F(BenchArgsTest, ReadsEveryOption)
{
    BenchOptions o;
    std::string error;
    ASSERT_TRUE(parseBenchArgs(words("--set body.power=52000 --set gear2.ratio=1.4 --sweep body.mass=100:200:5 "
                                     "--sweep wheelMount0.maxSteerAngle=20:40:3 --lint -j3 --shard 2/4 --plot a.svg "
                                     "car.ini"),
                               o, error))
        << error;
    ASSERT_EQ(o.settings.size(), 2u);
    EXPECT_EQ(o.settings[1].field, "gear2.ratio");
    EXPECT_DOUBLE_EQ(o.settings[1].value, 1.4);
    ASSERT_EQ(o.sweep.size(), 2u);
    EXPECT_EQ(o.sweep[1].field, "wheelMount0.maxSteerAngle");
    EXPECT_EQ(o.sweep[0].steps, 5);
    EXPECT_DOUBLE_EQ(o.sweep[0].to, 200.0);
    EXPECT_TRUE(o.lint);
    EXPECT_EQ(o.threads, 3);
    EXPECT_EQ(o.shard.k, 2);
    EXPECT_EQ(o.shard.n, 4);
    EXPECT_EQ(o.plot, "a.svg");
    EXPECT_EQ(o.files, std::vector<std::string>{"car.ini"});

    ASSERT_TRUE(parseBenchArgs(words("--fit acceleration_s=6.5,braking_m=40 --vary body.power,body.brakePower=100:900 "
                                     "--out fitted.ini car.ini"),
                               o, error))
        << error;
    ASSERT_EQ(o.targets.size(), 2u);
    EXPECT_EQ(o.targets[1].figure, "braking_m");
    ASSERT_EQ(o.vary.size(), 2u);
    EXPECT_FALSE(o.vary[0].bounded);
    EXPECT_TRUE(o.vary[1].bounded);
    EXPECT_DOUBLE_EQ(o.vary[1].hi, 900.0);
    EXPECT_EQ(o.threads, 0) << "every core unless told";
    EXPECT_GE(benchThreads(o), 1);
}

TEST_F(BenchArgsTest, RefusesMalformedValuesNamingThem)
{
    struct Case {
        const char* line;
        const char* named; ///< the error must hold this
    };
    const Case cases[] = {
        {"--set body.power car.ini", "--set body.power"},
        {"--set body.power=abc car.ini", "--set body.power=abc"},
        {"--set body.power=nan car.ini", "finite"},
        {"--set body.power=inf car.ini", "finite"},
        {"--set body.power=12x car.ini", "--set body.power=12x"},
        {"--set", "--set needs a value"},
        {"--sweep body.power=1:2 car.ini", "FROM:TO:STEPS"},
        {"--sweep body.power=a:2:3 car.ini", "finite"},
        {"--sweep body.power=1:2:0 car.ini", "STEPS"},
        {"--sweep body.power=1:2:-3 car.ini", "STEPS"},
        {"--sweep body.power=1:2:2.5 car.ini", "STEPS"},
        {"--sweep body.power=1:2:100001 car.ini", "STEPS"},
        {"--sweep a.b=1:2:2 --sweep c.d=1:2:2 --sweep e.f=1:2:2 car.ini", "one or two"},
        {"--sweep body.power=1:2:3 a.ini b.ini", "exactly one vehicle file"},
        {"--sweep body.power=1:2:3", "exactly one vehicle file"},
        {"--sweep body.power=1:2:3 --shard 0/4 car.ini", "--shard 0/4"},
        {"--sweep body.power=1:2:3 --shard 5/4 car.ini", "--shard 5/4"},
        {"--sweep body.power=1:2:3 --shard 2 car.ini", "--shard 2"},
        {"--sweep body.power=1:2:3 --shard a/b car.ini", "--shard a/b"},
        {"--shard 1/2 car.ini", "--shard slices a --sweep"},
        {"-j0 car.ini", "-j 0"},
        {"-j x car.ini", "-j x"},
        {"-j 5000 car.ini", "-j 5000"},
        {"--fit acceleration_s car.ini --vary body.power", "--fit acceleration_s"},
        {"--fit acceleration_s=fast --vary body.power car.ini", "finite"},
        {"--fit acceleration_s=6 car.ini", "--vary"},
        {"--fit acceleration_s=6 --vary body.power=1 car.ini", "LO:HI"},
        {"--fit acceleration_s=6 --vary body.power=1:x car.ini", "LO:HI"},
        {"--fit acceleration_s=6 --vary body.power --sweep body.mass=1:2:2 car.ini", "separate"},
        {"--out x.ini car.ini", "--out"},
        {"--merge", "shard files"},
        {"--merge --sweep body.power=1:2:3 a.csv", "--merge"},
        {"--bogus car.ini", "--bogus: unknown option"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        BenchOptions o;
        std::string error;
        EXPECT_FALSE(parseBenchArgs(words(c.line), o, error));
        EXPECT_TRUE(testutil::has(error, c.named));
        EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
    }
}

TEST_F(BenchArgsTest, ChecksFieldsAndRangesAgainstTheVehicle)
{
    struct Case {
        const char* line;
        const char* named; ///< empty: accepted
    };
    const Case cases[] = {
        {"--set body.power=52000 --set gear2.ratio=1.4 --set wheelMount0.maxSteerAngle=34", ""},
        {"--set body.mass=-5", "--set body.mass: \"body.mass\": -5 is not a number from 0 to 100000"},
        {"--set body.nothing=1", "\"body.nothing\" is not a vehicle field"},
        {"--set gear5.ratio=1", "the vehicle has 3 gear entries"},
        {"--set body.tracks=1", "\"body.tracks\" is not a number"},
        {"--set wheelMount0.maxSteerAngle=30.5", "whole number"},
        {"--sweep body.power=1000:9000:5", ""},
        {"--sweep body.mass=-1:100:3", "--sweep body.mass"},
        {"--sweep body.lateralSlip=0:2:3", "--sweep body.lateralSlip"},
        {"--sweep wheelMount0.maxSteerAngle=20:30:4", "choose STEPS"},
        {"--sweep wheelMount0.maxSteerAngle=20:30:6", ""},
        {"--sweep body.power=1:2:1", "one step"},
        {"--sweep body.power=1:2:1000 --sweep body.mass=1:2:1000", "100000 points"},
        {"--sweep body.mass=1:2:3 --sweep BODY.MASS=1:2:3", "swept twice"},
        {"--fit top_speed_kmh=150 --vary body.power", ""},
        {"--fit top_speed=150 --vary body.power", "not a figure"},
        {"--fit top_speed_kmh=0 --vary body.power", "other than 0"},
        {"--fit top_speed_kmh=150 --vary body.power=5:1", "LO:HI must rise"},
        {"--fit top_speed_kmh=150 --vary body.lateralSlip=0:3", "within 0 to 1"},
        {"--fit top_speed_kmh=150 --vary gear7.ratio", "gear entries"},
        {"--fit top_speed_kmh=150 --vary body.power,body.power", "named twice"},
    };
    const VehicleDef base = car();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        BenchOptions o;
        std::string error;
        ASSERT_TRUE(parseBenchArgs(words(std::string(c.line) + " car.ini"), o, error)) << error;
        VehicleDef def = base;
        EXPECT_EQ(applyBenchOptions(o, def, error), std::string(c.named).empty()) << error;
        if (*c.named) {
            EXPECT_TRUE(testutil::has(error, c.named));
            EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
        }
    }
    // --set lands in the definition.
    BenchOptions o;
    std::string error;
    VehicleDef def = base;
    ASSERT_TRUE(parseBenchArgs(words("--set body.power=52000 --set gear2.ratio=1.4 car.ini"), o, error));
    ASSERT_TRUE(applyBenchOptions(o, def, error)) << error;
    EXPECT_EQ(def.power, 52000.0f);
    EXPECT_EQ(def.gears[firstForwardGear + 2].ratio, 1.4f);
}
