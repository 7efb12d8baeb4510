// Pause, single steps and slow motion: the key rules, and that a drive fed
// through them ends in the same state as one at full speed.
#include "VehicleFixture.h"
#include "vehicle/DriveMonitor.h"
#include "vehicle/DriveRecording.h"
#include "vehicle/TimeControl.h"

#include <cmath>
#include <cstdint>

using vehiclefixture::fastCarText;
using vehiclefixture::VehicleTest;

namespace {

constexpr float frameSeconds = 1.0f / 60.0f;

// Sets the controls by step number, not by frame, so a slowed drive gets the
// same inputs at the same steps: throttle through the gears, a turn, brakes,
// reverse.
class CourseDriver : public StepObserver {
public:
    void beforeStep(Vehicle& vehicle, double&) override
    {
        VehicleDynamics& dyn = vehicle.dynamics;
        const bool reverse = steps >= 700;
        dyn.throttle = steps < 550 ? 1.0f : (reverse ? -1.0f : 0.0f);
        if (reverse && dyn.engineLevel > 0.0f)
            dyn.engineLevel = 0.0f;
        dyn.steerInput = steps >= 300 && steps < 450 ? 1.0f : 0.0f;
        dyn.handbrake = steps >= 550 && steps < 700;
        highestGear = std::max(highestGear, dyn.gear);
    }
    void afterStep(Vehicle&) override { ++steps; }
    int steps = 0;
    int highestGear = -1;
};

constexpr int courseSteps = 800;

} // namespace

TEST(TimeControl, KeysMoveTheScaleAndPauseWithinTheirLimits)
{
    TimeControl time;
    EXPECT_EQ(timeScale(time), 1.0f);
    EXPECT_EQ(timeControlText(time), "");
    const float slower[] = {0.5f, 0.25f, 0.125f, 0.125f};
    for (float expected : slower) {
        slowDown(time);
        EXPECT_EQ(timeScale(time), expected);
    }
    EXPECT_EQ(timeControlText(time), "Time x1/8");
    EXPECT_FLOAT_EQ(simulatedSeconds(time, 0.08f), 0.01f);
    speedUp(time);
    EXPECT_EQ(timeControlText(time), "Time x1/4");
    for (int i = 0; i < 4; ++i)
        speedUp(time);
    EXPECT_EQ(timeScale(time), 1.0f);

    requestStep(time);
    EXPECT_FALSE(time.stepRequested) << "a step is only asked for while paused";
    togglePause(time);
    EXPECT_EQ(timeControlText(time), "Paused");
    EXPECT_EQ(simulatedSeconds(time, 0.5f), 0.0f);
    requestStep(time);
    EXPECT_EQ(simulatedSeconds(time, 0.5f), physicsStep);
    togglePause(time);
    EXPECT_FALSE(time.stepRequested) << "resuming drops a pending step";
    EXPECT_EQ(simulatedSeconds(time, std::nanf("")), 0.0f);
    EXPECT_EQ(simulatedSeconds(time, -1.0f), 0.0f);
}

class TimeControlDrive : public VehicleTest {
protected:
    // Drives the course with frames of 1/60 s on the program clock at the
    // given slowdown, pausing for `pauseFrames` frames after `pauseAtStep`;
    // returns the end state's hash.
    std::uint64_t drive(int slowdown, int pauseAtStep = -1, int pauseFrames = 0)
    {
        spawn(fastCarText);
        CourseDriver driver;
        vehicle.setStepObserver(&driver);
        WorldStepper stepper;
        stepper.reset();
        TimeControl time;
        time.slowdown = slowdown;
        bool paused = false;
        for (int frame = 0; driver.steps < courseSteps && frame < 100000; ++frame) {
            orv::ProgramClock::advance(frameSeconds);
            advanceWorld(time, stepper, *physicsWorld, vehicle, frameSeconds);
            if (!paused && pauseAtStep >= 0 && driver.steps >= pauseAtStep) {
                paused = true;
                togglePause(time);
                const std::uint64_t before = vehicleStateHash(vehicle);
                for (int i = 0; i < pauseFrames; ++i) {
                    orv::ProgramClock::advance(frameSeconds);
                    EXPECT_EQ(advanceWorld(time, stepper, *physicsWorld, vehicle, frameSeconds), 0);
                }
                EXPECT_EQ(vehicleStateHash(vehicle), before) << "nothing moves while paused";
                togglePause(time);
            }
        }
        EXPECT_EQ(driver.steps, courseSteps);
        EXPECT_EQ(paused, pauseAtStep >= 0);
        EXPECT_GE(driver.highestGear, firstForwardGear + 1) << "the course changes gear";
        vehicle.setStepObserver(nullptr);
        return vehicleStateHash(vehicle);
    }
};

TEST_F(TimeControlDrive, SlowMotionAndAPauseLeaveTheDriveAsAtFullSpeed)
{
    const std::uint64_t full = drive(0);
    vehicle.forgetBodies();
    resetWorld();
    loadMap("Data\\Maps\\flat.map");
    EXPECT_EQ(drive(maxSlowdown), full) << "the same steps at 1/8";
    vehicle.forgetBodies();
    resetWorld();
    loadMap("Data\\Maps\\flat.map");
    // Paused for ten seconds just after the first gear change's wait began.
    EXPECT_EQ(drive(0, 200, 600), full) << "a pause changes nothing";
}

TEST_F(VehicleTest, APausedWorldRunsOnlyTheStepsAskedFor)
{
    spawn(fastCarText);
    WorldStepper stepper;
    stepper.reset();
    TimeControl time;
    stepper.advance(*physicsWorld, vehicle, 0.01f); // time gathered, no step yet
    togglePause(time);
    const double clock = stepper.clock();
    EXPECT_EQ(advanceWorld(time, stepper, *physicsWorld, vehicle, 0.5f), 0);
    requestStep(time);
    EXPECT_EQ(advanceWorld(time, stepper, *physicsWorld, vehicle, 0.5f), 1);
    EXPECT_EQ(advanceWorld(time, stepper, *physicsWorld, vehicle, 0.5f), 0) << "one step per O";
    EXPECT_DOUBLE_EQ(stepper.clock(), clock + physicsStep);
    togglePause(time);
    EXPECT_EQ(advanceWorld(time, stepper, *physicsWorld, vehicle, 0.01f), 1) << "the gathered time was kept";
}

TEST_F(VehicleTest, TelemetryCountsStepsNotFramesInSlowMotion)
{
    spawn(fastCarText);
    DriveMonitor monitor;
    vehicle.setStepObserver(&monitor);
    WorldStepper stepper;
    TimeControl time;
    time.slowdown = maxSlowdown;
    int steps = 0;
    for (int frame = 0; frame < 240; ++frame)
        steps += advanceWorld(time, stepper, *physicsWorld, vehicle, frameSeconds);
    EXPECT_GE(steps, 29);
    EXPECT_LE(steps, 30);
    EXPECT_EQ(monitor.live().size(), steps);
    vehicle.setStepObserver(nullptr);
}
