// The lint: each finding shows on a vehicle crafted to have the fault, a
// clean vehicle shows none, and the report reads one line per finding.
#include "VehicleFixture.h"
#include "vehicle/VehicleLint.h"

#include <algorithm>
#include <cmath>
#include <functional>

using vehiclefixture::VehicleTest;

namespace {

class VehicleLintTest : public VehicleTest {
protected:
    static VehicleDef load(const std::string& text) { return loadCar("lint", text); }
};

const std::string cleanCar = vehiclefixture::cleanCarText();

std::string codes(const std::vector<LintFinding>& findings)
{
    std::string all;
    for (const LintFinding& f : findings)
        all += f.code + " ";
    return all;
}

const LintFinding* find(const std::vector<LintFinding>& findings, const std::string& code)
{
    const auto at = std::find_if(findings.begin(), findings.end(),
                                 [&](const LintFinding& f) { return f.code == code; });
    return at == findings.end() ? nullptr : &*at;
}

} // namespace

TEST_F(VehicleLintTest, CleanVehicleHasNoFindings)
{
    const std::vector<LintFinding> findings = lintVehicle(load(cleanCar));
    EXPECT_TRUE(findings.empty()) << codes(findings);
    EXPECT_EQ(lintReport("Clean", findings), std::vector<std::string>{"Clean: no findings"});
}

TEST_F(VehicleLintTest, ShortGearTimeWithManyCloseGearsHunts)
{
    // Six close gears changed as often as every 0.2 s: each upshift drops the
    // engine back to idle, the car slows into the gear below, and again.
    const VehicleDef def = load(cleanCar +
                                "[info]\ngearsCount=6\nminGearTime=0.2\n[body]\nmaxSpeed=68\npower=9500\n"
                                "[engine]\nidleRPM=1000\nmaxRPM=7500\nacceleration=6000\n"
                                "[gear0]\nratio=3.2\n[gear1]\nratio=2.3\n[gear2]\nratio=1.7\n"
                                "[gear3]\nratio=1.3\n[gear4]\nratio=1.0\n[gear5]\nratio=0.8\n");
    const std::vector<LintFinding> findings = lintVehicle(def);
    const LintFinding* hunting = find(findings, "gear-hunting");
    ASSERT_NE(hunting, nullptr) << codes(findings);
    EXPECT_TRUE(testutil::has(hunting->text, "gear changes in 120 s"));
    EXPECT_TRUE(testutil::has(hunting->suggestion, "minGearTime"));
    const std::vector<std::string> lines = lintReport("Hunter", findings);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().find("Hunter: gear hunting: "), 0u) << lines.front();
}

TEST_F(VehicleLintTest, GearsAboveTheReachableSpeedAreNamed)
{
    // Too little power for its top speed: the upper of five gears cover
    // speeds it never gets to.
    const VehicleDef def = load(cleanCar + "[info]\ngearsCount=5\n[body]\npower=1500\n"
                                                        "[gear3]\nratio=0.8\n[gear4]\nratio=0.6\n");
    const std::vector<LintFinding> findings = lintVehicle(def);
    const LintFinding* unused = find(findings, "unused-gears");
    ASSERT_NE(unused, nullptr) << codes(findings);
    EXPECT_TRUE(testutil::has(unused->text, "gears 4, 5 never used")) << unused->text;
}

TEST_F(VehicleLintTest, TopSpeedOutOfReachIsShown)
{
    struct Case {
        const char* what;
        const char* change;
        bool found;
    };
    const Case cases[] = {
        {"heavy damping holds it back", "[body]\nlinearDamping=3\n", true},
        {"a limit beyond its power", "[body]\nmaxSpeed=200\n", true},
        {"a limit it reaches", "[body]\nmaxSpeed=30\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<LintFinding> findings = lintVehicle(load(cleanCar + c.change));
        const LintFinding* unreachable = find(findings, "max-speed-unreachable");
        EXPECT_EQ(unreachable != nullptr, c.found) << codes(findings);
        if (unreachable) {
            EXPECT_TRUE(testutil::has(unreachable->text, "Max Speed unreachable"));
        }
    }
}

TEST_F(VehicleLintTest, BrakesThatBarelyShortenTheStopAreShown)
{
    struct Case {
        const char* what;
        const char* change;
        bool found;
    };
    const Case cases[] = {
        {"no brakes at all", "[body]\nbrakePower=0\n", true},
        {"weak brakes against heavy damping", "[body]\nbrakePower=20\nlinearDamping=2\nmaxSpeed=20\n", true},
        {"strong brakes", "[body]\nbrakePower=400\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<LintFinding> findings = lintVehicle(load(cleanCar + c.change));
        const LintFinding* weak = find(findings, "brakes-weak");
        EXPECT_EQ(weak != nullptr, c.found) << codes(findings);
        if (weak) {
            EXPECT_TRUE(testutil::has(weak->text, "with brakePower 0"));
        }
    }
}

TEST_F(VehicleLintTest, TrackedVehicleSpecifics)
{
    // A tracked vehicle with firm brakes and little damping, so only the
    // tracks' own questions are left.
    const std::string tracked = "[info]\nwheelTypesCount=1\nwheelMountsCount=4\n"
                                "[body]\nimageRect=0,0,54,104\nmass=100\ntracks=True\nmaxSpeed=15\n"
                                "power=6000\nbrakePower=800\nlinearDamping=0.3\nangularDamping=3\n"
                                "[engine]\nacceleration=2500\n"
                                "[wheelType0]\nimageRect=60,0,10,90\n"
                                "[wheelMount0]\npos=-22,-20\nmaxSteerAngle=0\n[wheelMount1]\npos=22,-20\nmaxSteerAngle=0\n"
                                "[wheelMount2]\npos=-22,20\nmaxSteerAngle=0\n[wheelMount3]\npos=22,20\nmaxSteerAngle=0\n";
    struct Case {
        const char* what;
        std::string change;
        std::vector<std::string> codes;
    };
    const Case cases[] = {
        {"turning torque", "[body]\nsteerTorqueBoost=150\n", {}},
        {"no turning torque", "[body]\nsteerTorqueBoost=0\n", {"tracks-no-spot-turn"}},
        {"a steered mount", "[body]\nsteerTorqueBoost=150\n[wheelMount0]\nmaxSteerAngle=20\n",
         {"tracks-steer-angle"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<LintFinding> findings = lintVehicle(load(tracked + c.change));
        std::vector<std::string> trackCodes;
        for (const LintFinding& f : findings)
            if (f.code.rfind("tracks-", 0) == 0)
                trackCodes.push_back(f.code);
        EXPECT_EQ(trackCodes, c.codes) << codes(findings);
    }
    const std::vector<LintFinding> none = lintVehicle(load(tracked + "[body]\nsteerTorqueBoost=0\n"));
    const LintFinding* stuck = find(none, "tracks-no-spot-turn");
    ASSERT_NE(stuck, nullptr);
    EXPECT_TRUE(testutil::has(stuck->text, "steerTorqueBoost 0"));
}

TEST_F(VehicleLintTest, ValuesNoFileCouldHoldAreShown)
{
    // Edits in memory, as the editor's typed-in values can make them.
    const VehicleDef base = load(cleanCar);
    const float nan = std::nanf("");
    struct Case {
        const char* what;
        std::function<void(VehicleDef&)> change;
        const char* named; ///< nullptr: within range, no finding
    };
    const Case cases[] = {
        {"heavy wheel", [](VehicleDef& d) { d.wheelMounts[2].massRatio = 150.0f; }, "wheel mount 2 massRatio is 150"},
        {"negative wheel", [](VehicleDef& d) { d.wheelMounts[0].massRatio = -1.0f; }, "wheel mount 0 massRatio is -1"},
        {"wheel of no number", [nan](VehicleDef& d) { d.wheelMounts[3].massRatio = nan; }, "wheel mount 3 massRatio"},
        {"negative linear damping", [](VehicleDef& d) { d.linearDamping = -0.5f; }, "linearDamping is -0.5"},
        {"huge angular damping", [](VehicleDef& d) { d.angularDamping = 20.0f; }, "angularDamping is 20"},
        {"angular damping of no number", [nan](VehicleDef& d) { d.angularDamping = nan; }, "angularDamping is"},
        {"edges of the ranges",
         [](VehicleDef& d) {
             d.wheelMounts[0].massRatio = 0.0f;
             d.wheelMounts[1].massRatio = 100.0f;
             d.linearDamping = 0.0f;
             d.angularDamping = 10.0f;
         },
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VehicleDef def = base;
        c.change(def);
        const std::vector<LintFinding> findings = lintVehicle(def);
        const LintFinding* range = find(findings, "out-of-range");
        if (!c.named) {
            EXPECT_EQ(range, nullptr) << range->text;
            continue;
        }
        ASSERT_NE(range, nullptr) << codes(findings);
        EXPECT_TRUE(testutil::has(range->text, c.named));
        EXPECT_TRUE(testutil::has(range->text, "accept"));
    }
}
