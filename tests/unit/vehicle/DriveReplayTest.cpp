// Record a drive, replay it: with the values unchanged the replay ends in the
// recorded state, with doubled power somewhere else; the recording survives
// its file; telemetry keeps ten seconds and exports one row per step.
#include "VehicleFixture.h"
#include "vehicle/DriveMonitor.h"
#include "vehicle/DrivingControls.h"
#include "vehicle/RunComparison.h"

#include <set>
#include <sstream>

using vehiclefixture::carText;
using vehiclefixture::VehicleTest;

namespace {

class ScriptKeys : public KeySource {
public:
    bool hasFocus() const override { return true; }
    bool isDown(sf::Keyboard::Key key) const override { return held.count(key) != 0; }
    std::set<sf::Keyboard::Key> held;
};

// Throttle, a turn, reverse pressed while rolling (the level is cut), the
// brake and a wiggle: every kind of input the recording has to carry.
std::set<sf::Keyboard::Key> courseAt(int frame)
{
    using K = sf::Keyboard;
    if (frame < 200)
        return {K::W};
    if (frame < 300)
        return {K::W, K::D};
    if (frame < 360)
        return {K::S};
    if (frame < 420)
        return {K::Space};
    if (frame < 520)
        return {K::S, K::A};
    return {K::W, (frame / 20) % 2 ? K::A : K::D};
}

const std::string replayCar = std::string(carText) + "[info]\ngearsCount=3\nminGearTime=0.5\n"
                                                     "[body]\nlateralSlip=0.1\nmaxSpeed=25\n"
                                                     "[gear0]\nratio=2\n[gear1]\nratio=1.4\n[gear2]\nratio=1\n";

class DriveReplayTest : public VehicleTest {
protected:
    // Frames of uneven length, as a real frame loop has, with the keys read
    // before each frame's steps.
    void driveFrames(int frames, bool withCourse)
    {
        for (int f = 0; f < frames; ++f) {
            keys.held = withCourse ? courseAt(f) : std::set<sf::Keyboard::Key>{sf::Keyboard::S, sf::Keyboard::Left};
            readDrivingKeys(dyn(), keys);
            const float frame = (f % 3 == 0) ? 0.03f : 0.012f;
            orv::ProgramClock::advance(frame);
            stepper.advance(*physicsWorld, vehicle, frame);
        }
    }
    void replayToEnd()
    {
        ASSERT_TRUE(monitor.startReplay(vehicle));
        // Other keys held during the replay must count for nothing.
        for (int guard = 0; monitor.mode() == DriveMonitor::Mode::Replaying && guard < 100000; ++guard)
            driveFrames(1, false);
        ASSERT_TRUE(monitor.replayFinished());
    }
    // A run of the course recorded from where the vehicle spawns, saved to
    // "drive.rec".
    void recordToFile(int frames)
    {
        spawn(replayCar);
        vehicle.setStepObserver(&monitor);
        monitor.startRecording(vehicle, "Data\\Maps\\flat.map");
        driveFrames(frames, true);
        monitor.stopRecording(vehicle);
        ASSERT_TRUE(saveDriveRecording("drive.rec", monitor.recording()));
    }
    ScriptKeys keys;
    DriveMonitor monitor;
    WorldStepper stepper;
};

} // namespace

TEST_F(DriveReplayTest, ReplayWithUnchangedValuesEndsInTheRecordedState)
{
    spawn(replayCar);
    vehicle.setStepObserver(&monitor);
    driveFrames(50, true); // already moving when the recording starts
    monitor.startRecording(vehicle, "Data\\Maps\\flat.map");
    driveFrames(700, true);
    monitor.stopRecording(vehicle);
    const DriveRecording& rec = monitor.recording();
    ASSERT_TRUE(rec.hasEndHash);
    ASSERT_GT(rec.inputs.size(), 500u);
    // The course cut the engine level at least once.
    EXPECT_NE(std::find_if(rec.inputs.begin(), rec.inputs.end(), [](const StepInput& in) { return in.cutEngine; }),
              rec.inputs.end());

    replayToEnd();
    EXPECT_EQ(monitor.replayHash(), rec.endHash);
    EXPECT_EQ(monitor.runB().size(), monitor.runA().size());
    const RunComparison same = compareRuns(monitor.runA(), monitor.runB());
    EXPECT_EQ(same.endGap, 0.0f);
    EXPECT_EQ(same.topSpeedA, same.topSpeedB);
    ASSERT_TRUE(same.lapB.reached);
    EXPECT_EQ(same.lapA.value, same.lapB.value);

    // Twice as much power: the same inputs end elsewhere, faster.
    vehicleDefs[0].power *= 2.0f;
    vehicle.dynamics.power *= 2.0f;
    replayToEnd();
    EXPECT_NE(monitor.replayHash(), rec.endHash);
    const RunComparison faster = compareRuns(monitor.runA(), monitor.runB());
    EXPECT_GT(faster.endGap, 1.0f);
    EXPECT_GT(faster.topSpeedB, faster.topSpeedA);
    vehicle.setStepObserver(nullptr);
}

TEST_F(DriveReplayTest, RecordingSurvivesItsFile)
{
    recordToFile(400);

    DriveRecording loaded;
    ASSERT_TRUE(loadDriveRecording("drive.rec", loaded));
    EXPECT_EQ(loaded.inputs, monitor.recording().inputs);
    EXPECT_EQ(loaded.start.x, monitor.recording().start.x);
    EXPECT_EQ(loaded.start.y, monitor.recording().start.y);
    EXPECT_EQ(loaded.endHash, monitor.recording().endHash);
    EXPECT_EQ(loaded.mapPath, "Data\\Maps\\flat.map");
    EXPECT_EQ(loaded.vehicleName, "car");
    EXPECT_EQ(loaded.definition.gears.size(), vehicleDefs[0].gears.size());
    // Runs of equal steps are written once: a minute of driving stays small.
    EXPECT_LT(testutil::readFile("drive.rec").size(), 4000u);

    monitor.setRecording(loaded);
    replayToEnd();
    EXPECT_EQ(monitor.replayHash(), loaded.endHash);
    EXPECT_EQ(monitor.runA().size(), loaded.inputs.size()); // run A filled by the faithful replay
    vehicle.setStepObserver(nullptr);
}

TEST(DriveRecordingText, BadInputTextIsRefused)
{
    std::vector<StepInput> inputs;
    const struct {
        const char* text;
        bool good;
        std::size_t steps;
    } cases[] = {
        {"", true, 0},       {"A", true, 1},         {"3Bj", true, 4},        {"12", false, 0},
        {"3#", false, 3},    {"z", false, 0},        {"99999999999A", false, 0}, {"216000A", true, 216000},
        {"216000A1B", false, 216000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(decodeInputs(c.text, inputs), c.good);
        if (c.good) {
            EXPECT_EQ(inputs.size(), c.steps);
        }
    }
    // Every kind of step survives the text.
    std::vector<StepInput> all;
    for (int t = -1; t <= 1; ++t)
        for (int s = -1; s <= 1; ++s)
            for (int b = 0; b < 2; ++b)
                for (int c = 0; c < 2; ++c)
                    all.push_back(StepInput{static_cast<signed char>(t), static_cast<signed char>(s), b != 0, c != 0});
    ASSERT_TRUE(decodeInputs(encodeInputs(all), inputs));
    EXPECT_EQ(inputs, all);
}

TEST_F(DriveReplayTest, TelemetryKeepsTenSecondsAndExportsEveryStep)
{
    spawn(replayCar);
    vehicle.setStepObserver(&monitor);
    step(1000);
    ASSERT_EQ(monitor.live().size(), telemetryRingSamples);
    EXPECT_EQ(monitor.live().at(0).step, 401);
    EXPECT_EQ(monitor.live().at(telemetryRingSamples - 1).step, 1000);

    monitor.startRecording(vehicle, "flat");
    keys.held = {sf::Keyboard::W, sf::Keyboard::A};
    readDrivingKeys(dyn(), keys);
    step(250);
    monitor.stopRecording(vehicle);
    ASSERT_EQ(monitor.runA().size(), 250u);
    EXPECT_GT(monitor.runA().back().speedKmh, 5.0f);
    EXPECT_GT(monitor.runA().back().wheels[2].driveForce, 0.0f); // rear wheels push forward
    EXPECT_EQ(monitor.runA().back().wheelCount, 4);

    ASSERT_TRUE(writeTelemetryCsv("telemetry.csv", monitor.runA()));
    std::istringstream csv(testutil::readFile("telemetry.csv"));
    std::string line;
    std::getline(csv, line);
    // Units in every name, wheels by where they sit.
    std::string expected = "step,time_s,speed_kmh,engine_rpm,gear,engine_level_fraction,brake_key,x_east_m,y_north_m";
    for (const char* wheel : {"front_left", "front_right", "rear_left", "rear_right"})
        for (const char* column : {"_lateral_right_mps", "_slip_fraction", "_forward_force_N", "_brake_force_N",
                                   "_brake_held"})
            expected += std::string(",") + wheel + column;
    EXPECT_EQ(line, expected);
    int rows = 0;
    const std::size_t columns = std::count(line.begin(), line.end(), ',');
    while (std::getline(csv, line)) {
        ++rows;
        EXPECT_EQ(static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')), columns);
        if (rows == 1) {
            EXPECT_EQ(line.rfind("1,", 0), 0u);
        }
    }
    EXPECT_EQ(rows, 250);

    std::tm utc{};
    utc.tm_year = 126, utc.tm_mon = 0, utc.tm_mday = 2, utc.tm_hour = 3, utc.tm_min = 4, utc.tm_sec = 5;
    EXPECT_EQ(telemetryCsvName(utc), "telemetry_20260102_030405.csv");
    EXPECT_FALSE(writeTelemetryCsv("no/such/folder/t.csv", monitor.runA()));

    // The brake key: the driven wheels' brakes hold and say with what force.
    keys.held = {sf::Keyboard::Space};
    readDrivingKeys(dyn(), keys);
    step(5);
    const TelemetrySample& braking = monitor.live().at(monitor.live().size() - 1);
    EXPECT_TRUE(braking.brakeKey);
    for (int w = 0; w < braking.wheelCount; ++w) {
        SCOPED_TRACE(w);
        const WheelTelemetry& wheel = braking.wheels[static_cast<std::size_t>(w)];
        EXPECT_EQ(wheel.brakeHeld, dyn().wheels[static_cast<std::size_t>(w)].drive);
        EXPECT_EQ(wheel.brakeForce > 1.0f, wheel.brakeHeld) << wheel.brakeForce;
    }
    vehicle.setStepObserver(nullptr);
}

TEST_F(DriveReplayTest, TelemetryCsvCellsReadWithoutTheSource)
{
    TelemetrySample s;
    s.step = 7;
    s.engineLevel = -0.000001f;
    s.y = -2.5f; // up the screen
    s.wheelCount = 5;
    // Two wheels on one side behind, one on the centre line, one level with the centre.
    const int mounts[][2] = {{-10, -20}, {10, -20}, {-10, 20}, {-10, 30}, {0, 0}};
    for (const auto& m : mounts) {
        WheelTelemetry w;
        w.mountX = m[0];
        w.mountY = m[1];
        w.driveForce = -0.001f;
        s.wheels.push_back(w);
    }
    EXPECT_EQ(telemetryWheelNames(s),
              (std::vector<std::string>{"front_left", "front_right", "rear_left", "rear_left_2", "mid_centre"}));

    struct Case {
        int gear;
        const char* shown;
    };
    const Case gears[] = {{reverseGear, "-1"}, {neutralGear, "0"}, {firstForwardGear, "1"}, {firstForwardGear + 2, "3"}};
    for (const Case& c : gears) {
        SCOPED_TRACE(c.shown);
        s.gear = c.gear;
        ASSERT_TRUE(writeTelemetryCsv("t.csv", {s}));
        std::istringstream csv(testutil::readFile("t.csv"));
        std::string header, row;
        std::getline(csv, header);
        std::getline(csv, row);
        EXPECT_EQ(row.rfind(std::string("7,0.0000,0.000,0.0,") + c.shown + ",0.00000,0,0.0000,2.5000,", 0), 0u) << row;
        EXPECT_EQ(row.find("-0"), std::string::npos) << "no negative zero: " << row;
    }
}

TEST_F(DriveReplayTest, ARebuiltVehicleEndsTheRun)
{
    spawn(replayCar);
    vehicle.setStepObserver(&monitor);
    monitor.startRecording(vehicle, "flat");
    driveFrames(100, true);
    monitor.stopRecording(vehicle);
    ASSERT_TRUE(monitor.startReplay(vehicle));
    driveFrames(10, true);
    EXPECT_EQ(monitor.mode(), DriveMonitor::Mode::Replaying);
    vehicle.setKind(0); // the same kind chosen again: new wheels, a new start
    driveFrames(10, true);
    EXPECT_EQ(monitor.mode(), DriveMonitor::Mode::Watching);
    EXPECT_FALSE(monitor.replayFinished());
    vehicle.setStepObserver(nullptr);
}

// A start far outside the world (only NaN and infinity were refused) flooded
// the log with sound errors on Replay and then aborted inside the physics.
TEST_F(DriveReplayTest, StartOutsideTheWorldIsRefused)
{
    recordToFile(10);
    std::string text = testutil::readFile("drive.rec");
    const std::size_t start = text.find("\nstart=");
    const std::size_t angle = text.find("\nangle=");
    ASSERT_NE(start, std::string::npos);
    ASSERT_NE(angle, std::string::npos);
    const auto withPose = [&](const std::string& pose, const std::string& turn) {
        std::string t = text;
        t.replace(angle + 1, t.find('\n', angle + 1) - angle - 1, "angle=" + turn);
        t.replace(start + 1, t.find('\n', start + 1) - start - 1, "start=" + pose);
        return t;
    };
    const struct {
        const char* pose;
        const char* angle;
        const char* problem; ///< "" for a start that loads
    } cases[] = {
        {"3.4e38,3.4e38", "0", "start position 3.39999995e+38,3.39999995e+38 lies outside the world"},
        {"62.5,-1250001", "0", "start position 62.5,-1250001 lies outside the world"},
        {"62.5,62.5", "1e30", "start angle 1.00000002e+30 is out of range"},
        {"-1250000,1250000", "-100000", ""},
        {"62.5,62.5", "3.1", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pose) + " " + c.angle);
        testutil::writeFile("pose.rec", withPose(c.pose, c.angle));
        DriveRecording loaded;
        const bool expected = c.problem[0] == '\0';
        EXPECT_EQ(loadDriveRecording("pose.rec", loaded), expected);
        if (!expected) {
            EXPECT_TRUE(logged(std::string("Error: Recording pose.rec: ") + c.problem));
        }
    }

    // One set by hand never reaches the physics either.
    DriveRecording far = monitor.recording();
    far.start = b2Vec2(3.4e38f, 3.4e38f);
    monitor.setRecording(far);
    EXPECT_FALSE(monitor.startReplay(vehicle));
    EXPECT_TRUE(logged("DriveMonitor::startReplay: start position"));
    vehicle.setStepObserver(nullptr);
}
