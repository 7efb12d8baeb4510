// Fitting: a car whose figures are known for some values is fitted back to
// them from elsewhere, and lands within 2% of every target.
#include "TestUtil.h"
#include "VehicleFit.h"
#include "vehicle/VehicleFixture.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(VehicleFitTest, ReachesTargetsTheCarCanMeet)
{
    testutil::TempDir dir;
    testutil::writeFile("car.ini", vehiclefixture::cleanCarText());
    std::vector<VehicleDef> defs;
    ASSERT_TRUE(loadVehicleDef("car.ini", defs));
    VehicleDef start = defs.back();
    // Top speeds well below what the damping allows (about 35 m/s), so the
    // top speed follows maxSpeed everywhere the fit goes.
    start.maxSpeed = 26.0f;

    // The targets: what the car does with less power and more speed.
    VehicleDef goal = start;
    goal.power = 4300.0f;
    goal.maxSpeed = 29.0f;
    const DrivingTestResults wanted = runDrivingTests(goal, 0);
    ASSERT_TRUE(wanted.accelerationTime.reached && wanted.topSpeed.reached);
    const std::vector<FitTarget> targets = {{"acceleration_s", wanted.accelerationTime.value},
                                            {"top_speed_kmh", wanted.topSpeed.value}};
    const std::vector<FitVariable> variables = {{"body.power", true, 1000.0, 20000.0}, {"body.maxSpeed", false, 0, 0}};
    std::string error;
    ASSERT_TRUE(checkFit(start, targets, variables, error)) << error;

    // Stopping at 1% instead of the tool's 0.2% saves runs, not accuracy
    // worth testing.
    const FitResult fit = fitVehicle(start, targets, variables, fitMaxEvaluations, 0.01);
    ASSERT_EQ(fit.figures.size(), 2u);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        SCOPED_TRACE(targets[i].figure);
        ASSERT_TRUE(fit.figures[i].reached);
        EXPECT_LT(std::fabs(fit.figures[i].value / targets[i].target - 1.0), 0.02) << fit.figures[i].value;
    }
    // The values reported are the fitted vehicle's, within the bounds given.
    EXPECT_EQ(fit.values[0], static_cast<double>(fit.def.power));
    EXPECT_EQ(fit.values[1], static_cast<double>(fit.def.maxSpeed));
    EXPECT_GE(fit.def.power, 1000.0f);
    EXPECT_LE(fit.def.power, 20000.0f);
    EXPECT_LE(fit.evaluations, fitMaxEvaluations);
    const std::vector<std::string> report = fitReport(fit, targets, variables);
    ASSERT_EQ(report.size(), 5u);
    EXPECT_EQ(report[0].rfind("body.power = ", 0), 0u);
    EXPECT_TRUE(testutil::has(report[2], "acceleration_s: "));
    EXPECT_TRUE(testutil::has(report[2], "(target "));
}
