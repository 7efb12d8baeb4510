// The driving tests: repeatable to the bit, "not reached" for targets a
// vehicle cannot meet, and figures that move the right way with the values
// a designer turns.
#include "VehicleFixture.h"
#include "vehicle/DrivingTests.h"

#include <functional>

using vehiclefixture::VehicleTest;

namespace {

// A light tracked vehicle with little damping, so its brakes, not its
// damping, decide where it stops.
constexpr const char* trackedCar = "[info]\nwheelTypesCount=1\nwheelMountsCount=4\n"
                                   "[body]\nimageRect=0,0,54,104\nmass=10\ntracks=True\nmaxSpeed=15\n"
                                   "power=2000\nbrakePower=100\nlinearDamping=0.05\n"
                                   "[engine]\nacceleration=2500\n"
                                   "[wheelType0]\nimageRect=60,0,10,90\n"
                                   "[wheelMount0]\npos=-22,-20\n[wheelMount1]\npos=22,-20\n"
                                   "[wheelMount2]\npos=-22,20\n[wheelMount3]\npos=22,20\n";

class DrivingTestsTest : public VehicleTest {
protected:
    static VehicleDef load(const std::string& text) { return loadCar("fast", text); }
};

void expectSame(const DrivingFigure& a, const DrivingFigure& b)
{
    EXPECT_EQ(a.reached, b.reached);
    EXPECT_EQ(a.value, b.value); // bit for bit, not nearly
}

} // namespace

TEST_F(DrivingTestsTest, GiveTheSameFiguresEveryRun)
{
    const VehicleDef def = load(vehiclefixture::fastCarText);
    const DrivingTestResults first = runDrivingTests(def);
    const DrivingTestResults second = runDrivingTests(def);
    for (auto figure : {&DrivingTestResults::zeroTo100, &DrivingTestResults::speedAfter30,
                        &DrivingTestResults::brakingDistance, &DrivingTestResults::turningCircle}) {
        EXPECT_TRUE((first.*figure).reached);
        expectSame(first.*figure, second.*figure);
    }
    // A wall clock moving on must not matter: the tests count steps.
    orv::ProgramClock::advance(1234.5);
    expectSame(first.zeroTo100, measureZeroTo100(def));
}

TEST_F(DrivingTestsTest, FiguresMoveTheExpectedWay)
{
    const VehicleDef base = load(vehiclefixture::fastCarText);
    struct Case {
        const char* what;
        std::function<void(VehicleDef&)> change;
        std::function<DrivingFigure(const VehicleDef&)> measure;
        bool shouldGrow;
    };
    const Case cases[] = {
        {"more power, sooner at 100", [](VehicleDef& d) { d.power *= 2.0f; }, measureZeroTo100, false},
        {"less power, slower after 30 s", [](VehicleDef& d) { d.power *= 0.25f; }, measureSpeedAfter30, false},
        {"more brake, shorter stop", [](VehicleDef& d) { d.brakePower *= 3.0f; }, measureBrakingDistance, false},
        {"less brake, longer stop", [](VehicleDef& d) { d.brakePower *= 0.5f; }, measureBrakingDistance, true},
        {"more lock, tighter circle",
         [](VehicleDef& d) {
             for (WheelMount& m : d.wheelMounts)
                 if (m.maxSteerAngle != 0)
                     m.maxSteerAngle = 40;
         },
         measureTurningCircle, false},
        {"less lock, wider circle",
         [](VehicleDef& d) {
             for (WheelMount& m : d.wheelMounts)
                 if (m.maxSteerAngle != 0)
                     m.maxSteerAngle = 12;
         },
         measureTurningCircle, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VehicleDef changed = base;
        c.change(changed);
        const DrivingFigure before = c.measure(base);
        const DrivingFigure after = c.measure(changed);
        ASSERT_TRUE(before.reached);
        ASSERT_TRUE(after.reached);
        if (c.shouldGrow)
            EXPECT_GT(after.value, before.value);
        else
            EXPECT_LT(after.value, before.value);
    }
}

TEST_F(DrivingTestsTest, TrackedVehicleStopsShorterWithMoreBrake)
{
    const VehicleDef base = load(trackedCar);
    const DrivingFigure plain = measureStoppingDistance(base, 40.0f);
    ASSERT_TRUE(plain.reached);
    struct Case {
        float brakeFactor;
        float mostOfPlain; ///< the stop is at most this share of the plain one
    };
    const Case cases[] = {{2.0f, 0.75f}, {10.0f, 0.4f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.brakeFactor);
        VehicleDef stronger = base;
        stronger.brakePower *= c.brakeFactor;
        const DrivingFigure stop = measureStoppingDistance(stronger, 40.0f);
        ASSERT_TRUE(stop.reached);
        EXPECT_LT(stop.value, plain.value * c.mostOfPlain) << "plain stop " << plain.value << " m";
    }
}

TEST_F(DrivingTestsTest, TargetsOutOfReachSayNotReached)
{
    // 72 km/h top speed: no 100 km/h, so no braking from it either.
    const VehicleDef slow = load(std::string(vehiclefixture::fastCarText) + "[body]\nmaxSpeed=20\n");
    const DrivingTestResults results = runDrivingTests(slow);
    EXPECT_FALSE(results.zeroTo100.reached);
    EXPECT_FALSE(results.brakingDistance.reached);
    EXPECT_TRUE(results.speedAfter30.reached);
    EXPECT_NEAR(results.speedAfter30.value, 72.0f, 3.0f);
    EXPECT_EQ(formatFigure(results.zeroTo100, 2), "not reached");
    EXPECT_EQ(drivingTestsCsvRow("slow", results).find("slow,not reached,"), 0u);

    // Nothing steers: no circle.
    VehicleDef straight = load(vehiclefixture::fastCarText);
    for (WheelMount& m : straight.wheelMounts)
        m.maxSteerAngle = 0;
    EXPECT_FALSE(measureTurningCircle(straight).reached);

    // No wheels at all: nothing moves, and nothing breaks.
    VehicleDef bare = load("[body]\nmass=100\n");
    const DrivingTestResults none = runDrivingTests(bare);
    EXPECT_FALSE(none.zeroTo100.reached);
    EXPECT_NEAR(none.speedAfter30.value, 0.0f, 0.01f);
}
