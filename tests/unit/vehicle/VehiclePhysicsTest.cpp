#include "VehicleFixture.h"

#include <cmath>

using vehiclefixture::carText;
using vehiclefixture::VehicleTest;

namespace {

constexpr float degreesPerRadian = 57.29578f;

bool finiteBody(const b2Body* b)
{
    return b->GetPosition().IsValid() && std::isfinite(b->GetAngle()) && b->GetLinearVelocity().IsValid() &&
           std::isfinite(b->GetAngularVelocity());
}

} // namespace

TEST_F(VehicleTest, StepperRunsWholeStepsBeyondTheFirst)
{
    spawn(carText);
    WorldStepper stepper;
    // Exactly one step's worth waits; the next frame runs it.
    EXPECT_EQ(stepper.advance(*physicsWorld, vehicle, 1.0f / 60.0f), 0);
    EXPECT_EQ(stepper.advance(*physicsWorld, vehicle, 1.0f / 60.0f), 1);
    // Bad frame times run nothing and keep nothing.
    EXPECT_EQ(stepper.advance(*physicsWorld, vehicle, -1.0f), 0);
    EXPECT_EQ(stepper.advance(*physicsWorld, vehicle, std::nanf("")), 0);
    stepper.reset();
    EXPECT_EQ(stepper.advance(*physicsWorld, vehicle, 0.1f), 6);

    // A vehicle outside any world steps nothing, and time does not pile up.
    Vehicle outside;
    EXPECT_EQ(stepper.advance(*physicsWorld, outside, 1.0f), 0);
    EXPECT_EQ(stepper.advance(*physicsWorld, vehicle, 0.02f), 1);
}

TEST_F(VehicleTest, SteppingTheWorldMovesParkedVehiclesButDrivesOnlyTheDriver)
{
    spawn(carText);
    Vehicle parked;
    parked.spawn(*physicsWorld, 0, false, currentMap.startPosition + sf::Vector2f(0.0f, 400.0f));
    parked.dynamics.throttle = 1.0f;
    dyn().throttle = 1.0f;
    parked.body()->SetLinearVelocity(b2Vec2(1.0f, 0.0f));
    WorldStepper stepper;
    EXPECT_EQ(stepper.advance(*physicsWorld, vehicle, 0.5f), 29);
    EXPECT_GT(vehicle.speed(), 0.1f) << "the driver's throttle drives it";
    EXPECT_NEAR(parked.body()->GetLinearVelocity().y, 0.0f, 1e-3f) << "the parked one's throttle counts for nothing";
    EXPECT_GT(parked.body()->GetPosition().x * pixelsPerMetre, currentMap.startPosition.x + 1.0f)
        << "but the world moves its body";
    parked.forgetBodies();
}

TEST_F(VehicleTest, BuildsBodiesFromTheDefinition)
{
    spawn(carText);
    ASSERT_NE(body(), nullptr);
    EXPECT_EQ(dyn().wheels.size(), 4u);
    EXPECT_EQ(dyn().steeringWheels.size(), 2u);
    EXPECT_FLOAT_EQ(dyn().steerLimit, 20.0f);
    // The box is 30 x 60 pixels: mass 100 per square metre over its area.
    EXPECT_NEAR(body()->GetMass(), 100.0f * (30.0f / 16.0f) * (60.0f / 16.0f), 1.0f);
    const b2Vec2 rearLeft = dyn().wheels[2].body->GetPosition() - body()->GetPosition();
    EXPECT_NEAR(rearLeft.x, -12.0f / 16.0f, 1e-4f);
    EXPECT_NEAR(rearLeft.y, 18.0f / 16.0f, 1e-4f);
    EXPECT_EQ(vehicle.gearName(), "R");
}

TEST_F(VehicleTest, EngineLevelRampsInFiveSecondsAndFallsInTwoAndAHalf)
{
    spawn(carText);
    int steps = 0;
    while (dyn().engineLevel < 1.0f && steps < 1000) {
        dyn().throttle = 1.0f;
        step(1);
        ++steps;
    }
    EXPECT_NEAR(steps, 300, 1);
    steps = 0;
    while (dyn().engineLevel > 0.0f && steps < 1000) {
        dyn().throttle = 0.0f;
        step(1);
        ++steps;
    }
    EXPECT_NEAR(steps, 150, 1);
}

TEST_F(VehicleTest, UpshiftsAtFullRevsHalvingTheLevelAndWaitingMinGearTime)
{
    spawn(std::string(carText) + "[info]\ngearsCount=3\n[gear0]\nratio=3\n[gear1]\nratio=2\n[gear2]\nratio=1\n");
    ASSERT_EQ(vehicle.definition()->gears.size(), 5u);
    const double now = orv::ProgramClock::now();
    dyn().gear = firstForwardGear;
    dyn().gearChangeTime = now - 10.0;
    dyn().engineLevel = 0.9f;
    dyn().currentMaxSpeed = 20.0f;
    body()->SetLinearVelocity(b2Vec2(0.0f, -15.0f)); // forwards, three quarters of the top speed
    chooseGear(dyn(), now);
    EXPECT_EQ(dyn().gear, firstForwardGear) << "not at full revs";

    dyn().engineLevel = 1.0f;
    chooseGear(dyn(), now);
    EXPECT_EQ(dyn().gear, firstForwardGear + 1) << "one gear at a time";
    EXPECT_FLOAT_EQ(dyn().engineLevel, 0.5f);

    dyn().engineLevel = 1.0f;
    chooseGear(dyn(), now + 1.9);
    EXPECT_EQ(dyn().gear, firstForwardGear + 1) << "blocked for minGearTime";
    chooseGear(dyn(), now + 2.01);
    EXPECT_EQ(dyn().gear, firstForwardGear + 2);
}

TEST_F(VehicleTest, ReverseBrakesWhileRollingForwardAndDrivesBackFromStandstill)
{
    spawn(carText);
    const VehicleDef& def = *vehicle.definition();
    // Rolling forward: reverse brakes the driven wheels instead of pushing.
    dyn().gear = firstForwardGear;
    body()->SetLinearVelocity(b2Vec2(0.0f, -5.0f));
    for (Wheel& w : dyn().wheels)
        w.body->SetLinearVelocity(b2Vec2(0.0f, -5.0f));
    dyn().throttle = -1.0f;
    step(1);
    EXPECT_LT(dyn().engineLevel, 0.0f);
    EXPECT_FLOAT_EQ(dyn().wheels[2].frictionJoint->GetMaxForce(), def.brakePower);
    EXPECT_FLOAT_EQ(dyn().wheels[0].frictionJoint->GetMaxForce(), 0.0f) << "undriven wheels never brake";
    EXPECT_NE(dyn().gear, reverseGear);

    // Standing: reverse is selected and drives backwards, slower.
    VehicleTest::TearDown();
    VehicleTest::SetUp();
    spawn(carText);
    for (int i = 0; i < 240; ++i) {
        dyn().throttle = -1.0f;
        step(1);
    }
    EXPECT_EQ(dyn().gear, reverseGear);
    EXPECT_GT(forwardSpeed(dyn()), 0.2f) << "moving backwards";
    EXPECT_FLOAT_EQ(dyn().currentMaxSpeed, 20.0f * def.reverseRatio);
}

TEST_F(VehicleTest, BrakeLocksTheRearAndKeepsBrakingAfterRelease)
{
    spawn(carText);
    for (int i = 0; i < 120; ++i) {
        dyn().throttle = 1.0f;
        step(1);
    }
    const float cruising = vehicle.speed();
    ASSERT_GT(cruising, 1.0f);
    // Hold the brake until the engine level is down.
    for (int i = 0; i < 200; ++i) {
        dyn().throttle = 0.0f;
        dyn().handbrake = true;
        step(1);
    }
    EXPECT_FLOAT_EQ(dyn().engineLevel, 0.0f);
    const float brake = vehicle.definition()->brakePower;
    for (int rear : {2, 3}) {
        EXPECT_FLOAT_EQ(dyn().wheels[static_cast<std::size_t>(rear)].lateralSlip, 1.0f);
        EXPECT_FLOAT_EQ(dyn().wheels[static_cast<std::size_t>(rear)].frictionJoint->GetMaxForce(), brake);
    }
    EXPECT_LT(dyn().wheels[0].lateralSlip, 1.0f) << "front wheels keep their grip";

    dyn().handbrake = false;
    step(30);
    for (int rear : {2, 3})
        EXPECT_FLOAT_EQ(dyn().wheels[static_cast<std::size_t>(rear)].frictionJoint->GetMaxForce(), brake);
    EXPECT_LT(vehicle.speed(), cruising);

    // Driving again lets go of the brake.
    dyn().throttle = 1.0f;
    step(2);
    EXPECT_FLOAT_EQ(dyn().wheels[2].frictionJoint->GetMaxForce(), 0.0f);
}

TEST_F(VehicleTest, NegativeSteerAngleSteersTheOtherWay)
{
    spawn("[info]\nwheelTypesCount=1\nwheelMountsCount=2\n[body]\nimageRect=0,0,30,60\nmass=100\n"
          "[wheelType0]\nimageRect=32,0,6,12\n"
          "[wheelMount0]\npos=0,-18\nmaxSteerAngle=20\n[wheelMount1]\npos=0,18\nmaxSteerAngle=-20\n");
    for (int i = 0; i < 30; ++i) {
        dyn().steerInput = 1.0f;
        step(1);
    }
    const float bodyAngle = body()->GetAngle();
    const float front = (dyn().wheels[0].body->GetAngle() - bodyAngle) * degreesPerRadian;
    const float rear = (dyn().wheels[1].body->GetAngle() - bodyAngle) * degreesPerRadian;
    EXPECT_GT(front, 5.0f);
    EXPECT_LT(rear, -5.0f);
    EXPECT_GT(dyn().wheels[0].displaySteerAngle, 0.0f);
    EXPECT_LT(dyn().wheels[1].displaySteerAngle, 0.0f);
    EXPECT_FLOAT_EQ(dyn().wheels[0].displaySteerAngle, -dyn().wheels[1].displaySteerAngle);
}

TEST_F(VehicleTest, SteeringLeftTurnsTheNoseLeft)
{
    spawn(carText);
    for (int i = 0; i < 180; ++i) {
        dyn().throttle = 1.0f;
        dyn().steerInput = -1.0f;
        step(1);
    }
    // Screen y points down: turning left is a negative angle.
    EXPECT_LT(body()->GetAngle(), -0.2f);
}

TEST_F(VehicleTest, TrackedVehicleTurnsOnTheSpot)
{
    spawn("[info]\nwheelTypesCount=1\nwheelMountsCount=4\n"
          "[body]\nimageRect=0,0,54,104\nmass=200\ntracks=True\nmaxSpeed=15\n"
          "[wheelType0]\nimageRect=60,0,10,90\n"
          "[wheelMount0]\npos=-22,-20\n[wheelMount1]\npos=22,-20\n"
          "[wheelMount2]\npos=-22,20\n[wheelMount3]\npos=22,20\n");
    const b2Vec2 start = body()->GetPosition();
    for (int i = 0; i < 120; ++i) {
        dyn().throttle = 0.0f;
        dyn().steerInput = -1.0f;
        step(1);
    }
    EXPECT_FLOAT_EQ(dyn().engineLevel, 0.0f);
    EXPECT_LT(body()->GetAngle(), -0.1f) << "turned left";
    EXPECT_LT((body()->GetPosition() - start).Length(), 0.5f) << "on the spot";
    // One side pushes forwards, the other backwards, with half the power each.
    const float power = vehicle.definition()->power;
    EXPECT_FLOAT_EQ(dyn().wheels[0].lastLocalForce.y, 0.5f * power);
    EXPECT_FLOAT_EQ(dyn().wheels[1].lastLocalForce.y, -0.5f * power);
}

TEST_F(VehicleTest, TrackedVehicleBrakesThroughItsJoints)
{
    const std::string tank = "[info]\nwheelTypesCount=1\nwheelMountsCount=4\n"
                             "[body]\nimageRect=0,0,54,104\nmass=200\ntracks=True\nmaxSpeed=15\nbrakePower=900\n"
                             "[wheelType0]\nimageRect=60,0,10,90\n"
                             "[wheelMount0]\npos=-22,-20\n[wheelMount1]\npos=22,-20\n"
                             "[wheelMount2]\npos=-22,20\n[wheelMount3]\npos=22,20\n";
    struct Case {
        const char* what;
        float throttle;
        bool brakeKey;
    };
    const Case cases[] = {{"brake key", 0.0f, true}, {"reverse while rolling forward", -1.0f, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VehicleTest::TearDown();
        VehicleTest::SetUp();
        spawn(tank);
        const float slip = dyn().wheels[0].lateralSlip;
        dyn().gear = firstForwardGear;
        body()->SetLinearVelocity(b2Vec2(0.0f, -5.0f));
        for (Wheel& w : dyn().wheels)
            w.body->SetLinearVelocity(b2Vec2(0.0f, -5.0f));
        dyn().throttle = c.throttle;
        dyn().handbrake = c.brakeKey;
        step(1);
        for (const Wheel& w : dyn().wheels) {
            EXPECT_FLOAT_EQ(w.frictionJoint->GetMaxForce(), 900.0f);
            EXPECT_FLOAT_EQ(w.lateralSlip, slip) << "a braking track does not slide";
        }
        if (c.brakeKey) {
            for (const Wheel& w : dyn().wheels)
                EXPECT_FLOAT_EQ(w.stepForce, 0.0f) << "no track force under the brake key";
        }
    }

    // Driving on lets go of the brakes.
    dyn().handbrake = false;
    dyn().throttle = 1.0f;
    dyn().engineLevel = 0.5f;
    step(1);
    for (const Wheel& w : dyn().wheels)
        EXPECT_FLOAT_EQ(w.frictionJoint->GetMaxForce(), 0.0f);
}

TEST_F(VehicleTest, ZeroMaxSpeedNeverDrivesAndStaysFinite)
{
    spawn(std::string(carText) + "[body]\nmaxSpeed=0\nautoLateralSlip=True\n");
    const b2Vec2 start = body()->GetPosition();
    for (int i = 0; i < 300; ++i) {
        dyn().throttle = 1.0f;
        dyn().steerInput = i < 150 ? 1.0f : -1.0f;
        step(1);
    }
    EXPECT_LT((body()->GetPosition() - start).Length(), 0.01f);
    for (const Wheel& w : dyn().wheels) {
        EXPECT_FLOAT_EQ(w.lastLocalForce.y, 0.0f);
        EXPECT_TRUE(std::isfinite(w.lateralSlip));
        EXPECT_TRUE(finiteBody(w.body));
    }
    EXPECT_TRUE(finiteBody(body()));
    EXPECT_TRUE(std::isfinite(dyn().engineLevel));

    // Only the brake acts.
    body()->SetLinearVelocity(b2Vec2(0.0f, -3.0f));
    dyn().handbrake = true;
    step(1);
    EXPECT_FLOAT_EQ(dyn().wheels[2].frictionJoint->GetMaxForce(), vehicle.definition()->brakePower);
}

TEST_F(VehicleTest, FirstStepAtSpeedHasNoLimitToDivideBy)
{
    // currentMaxSpeed is 0 in the first step: the gear fraction reads 0.
    spawn(std::string(carText) + "[info]\ngearsCount=4\n[body]\nautoLateralSlip=True\n[engine]\nmaxRPM=0\n");
    body()->SetLinearVelocity(b2Vec2(0.0f, -8.0f));
    dyn().engineLevel = 0.5f;
    dyn().throttle = 1.0f;
    step(1);
    EXPECT_TRUE(finiteBody(body()));
    EXPECT_TRUE(std::isfinite(dyn().engineLevel));
    EXPECT_FLOAT_EQ(dyn().engineLevel, 0.5f) << "maxRPM 0 never ramps";
    for (const Wheel& w : dyn().wheels)
        EXPECT_TRUE(std::isfinite(w.lateralSlip));
}

TEST_F(VehicleTest, DegenerateBodiesStillSimulate)
{
    // No picture rectangle, no mass, mounts without any wheel type.
    spawn("[info]\nwheelMountsCount=2\n[body]\nmass=0\n[wheelMount0]\npos=0,-10\n[wheelMount1]\npos=0,10\n");
    EXPECT_GT(body()->GetMass(), 0.0f);
    EXPECT_GT(body()->GetInertia(), 0.0f);
    ASSERT_EQ(dyn().wheels.size(), 2u);
    for (const Wheel& w : dyn().wheels)
        EXPECT_GT(w.body->GetMass(), 0.0f);
    EXPECT_TRUE(vehicle.appearance.wheelSprites.empty() || !vehicle.appearance.wheelDrawn[0]);
    EXPECT_EQ(vehicle.appearance.canvasSize, sf::Vector2i(0, 0));
    body()->ApplyLinearImpulseToCenter(b2Vec2(0.01f, 0.0f), true);
    step(60);
    EXPECT_TRUE(finiteBody(body()));
    EXPECT_GT(body()->GetPosition().x, currentMap.startPosition.x / 16.0f);
}

// A body without a picture rectangle is a small box. Wheels of full size at
// the file's density outweighed it eighty times over, and a wheel mounted
// 180 m out swung it round; under throttle and steering the joints came
// apart until the chassis stood at NaN. Wheels now weigh at most the body,
// and a vehicle that still comes apart restarts where it was last whole.
TEST_F(VehicleTest, ExtremeFilesNeverReachNaN)
{
    const std::vector<std::vector<const char*>> layouts = {
        {"-14,-22", "14,-22", "-14,22", "14,22"},
        {"-12,-18", "-12,18", "0,0", "12,1812"},
    };
    for (const auto& mounts : layouts) {
        SCOPED_TRACE(mounts[3]);
        std::string text = "[info]\nwheelTypesCount=1\nwheelMountsCount=4\n[body]\nmass=100\nmaxSpeed=20\n"
                           "[wheelType0]\nimageRect=32,0,6,13\n";
        for (int i = 0; i < 4; ++i)
            text += "[wheelMount" + std::to_string(i) + "]\npos=" + mounts[static_cast<std::size_t>(i)] +
                    "\nmaxSteerAngle=" + (i < 2 ? "28" : "0") + "\n";
        vehicle.forgetBodies();
        resetWorld();
        loadMap("Data\\Maps\\flat.map");
        spawn(text);
        for (const Wheel& w : dyn().wheels)
            EXPECT_LE(w.body->GetMass(), body()->GetMass() * 1.0001f);
        for (int i = 0; i < 120; ++i) {
            dyn().throttle = 1.0f;
            dyn().steerInput = -1.0f;
            step(1);
            ASSERT_TRUE(finiteBody(body())) << "step " << i;
        }
    }
    EXPECT_TRUE(logged("Vehicle car: its physics came apart (not a number); restarted where it last was whole"));
}

// The tuning editor's sliders take typed-in values beyond their range; a
// negative damping reached Box2D's body definition, which asserts on it.
TEST_F(VehicleTest, NegativeDampingBuildsAsNone)
{
    spawn("[info]\nwheelMountsCount=1\n[wheelMount0]\npos=0,10\n");
    vehicleDefs[0].linearDamping = -0.35f;
    vehicleDefs[0].angularDamping = -1.0f;
    vehicle.setKind(0);
    EXPECT_EQ(body()->GetLinearDamping(), 0.0f);
    ASSERT_EQ(dyn().wheels.size(), 1u);
    EXPECT_EQ(dyn().wheels[0].body->GetAngularDamping(), 0.0f);
}

// A negative mass typed into the editor made the brakes' friction force
// negative, and Box2D aborted the first time the car braked.
TEST_F(VehicleTest, BrakesNeverHandBox2DANegativeForce)
{
    spawn("[info]\nwheelMountsCount=1\n[wheelMount0]\npos=0,10\n");
    vehicleDefs[0].mass = -10.0f;
    vehicleDefs[0].brakePower = -1.0f; // from the mass
    ASSERT_EQ(dyn().wheels.size(), 1u);
    const auto rollForward = [&] {
        body()->SetLinearVelocity(b2Vec2(0.0f, -5.0f));
        dyn().wheels[0].body->SetLinearVelocity(b2Vec2(0.0f, -5.0f));
    };
    dyn().handbrake = true;
    rollForward();
    step(1);
    vehicleDefs[0].brakePower = std::numeric_limits<float>::infinity();
    rollForward();
    step(1);
    EXPECT_EQ(dyn().wheels[0].frictionJoint->GetMaxForce(), 0.0f);
    EXPECT_TRUE(finiteBody(body()));
}

TEST_F(VehicleTest, WithoutDefinitionsTheVehicleIsABareBody)
{
    loadVehicleDefs();
    EXPECT_TRUE(logged("No vehicles found in Data/Cars/"));
    vehicle.spawn(*physicsWorld, 0, true, currentMap.startPosition);
    ASSERT_NE(body(), nullptr);
    EXPECT_EQ(vehicle.definition(), nullptr);
    EXPECT_EQ(body()->GetFixtureList(), nullptr);
    dyn().throttle = 1.0f;
    WorldStepper stepper;
    EXPECT_EQ(stepper.advance(*physicsWorld, vehicle, 0.1f), 6);
    EXPECT_TRUE(finiteBody(body()));
}

TEST_F(VehicleTest, SetKindRebuildsAndResets)
{
    writeCar("a", carText);
    writeCar("b", "[info]\nwheelTypesCount=1\nwheelMountsCount=2\n[body]\nimageRect=0,0,20,40\nmass=50\n"
                  "[wheelType0]\nimageRect=32,0,6,12\n[wheelMount0]\npos=0,-10\n[wheelMount1]\npos=0,10\n");
    loadVehicleDefs();
    vehicle.spawn(*physicsWorld, 0, true, currentMap.startPosition);
    for (int i = 0; i < 60; ++i) {
        dyn().throttle = 1.0f;
        step(1);
    }
    const int bodiesBefore = physicsWorld->GetBodyCount();
    vehicle.setKind(1);
    EXPECT_EQ(physicsWorld->GetBodyCount(), bodiesBefore - 2);
    EXPECT_EQ(dyn().wheels.size(), 2u);
    EXPECT_FLOAT_EQ(dyn().engineLevel, 0.0f);
    EXPECT_EQ(dyn().gear, reverseGear);
    EXPECT_FLOAT_EQ(body()->GetLinearVelocity().Length(), 0.0f);
    EXPECT_EQ(vehicle.definition()->name, "b");
}

TEST_F(VehicleTest, TreadScrollStaysInItsRange)
{
    spawn(carText);
    for (int i = 0; i < 200; ++i) {
        dyn().throttle = 1.0f;
        step(1);
        for (const Wheel& w : dyn().wheels) {
            ASSERT_GE(w.scrollOffset, 0.0f);
            ASSERT_LT(w.scrollOffset, 4.0f);
        }
    }
    // Driving forwards moves the tread one way.
    const float before = dyn().wheels[2].scrollOffset;
    dyn().throttle = 1.0f;
    step(1);
    const float moved = std::fmod(dyn().wheels[2].scrollOffset - before + 4.0f, 4.0f);
    EXPECT_GT(moved, 0.0f);
    EXPECT_LT(moved, 2.0f);
}

TEST_F(VehicleTest, AnalogueInputsAreLevels)
{
    spawn(std::string(carText) + "[info]\ngearsCount=3\n[gear0]\nratio=3\n[gear1]\nratio=2\n[gear2]\nratio=1\n");
    const VehicleDef& def = *vehicle.definition();
    // Half the stick: half the lock, held there; the engine ramps to the
    // pedal's level and stays, and eases down when the pedal lifts.
    for (int i = 0; i < 60; ++i) {
        dyn().steerInput = 0.5f;
        step(1);
    }
    EXPECT_GT(dyn().steerLimit, 0.0f);
    EXPECT_FLOAT_EQ(dyn().steerState, 0.5f * dyn().steerLimit);
    for (int i = 0; i < 400; ++i) {
        dyn().steerInput = 0.0f;
        dyn().throttle = 0.6f;
        step(1);
    }
    EXPECT_FLOAT_EQ(dyn().engineLevel, 0.6f);
    for (int i = 0; i < 120; ++i) {
        dyn().throttle = 0.3f;
        step(1);
    }
    EXPECT_FLOAT_EQ(dyn().engineLevel, 0.3f);

    // A pedal held part way shifts up once the engine reaches its level.
    const double now = orv::ProgramClock::now();
    dyn().gear = firstForwardGear;
    dyn().gearChangeTime = now - 10.0;
    dyn().currentMaxSpeed = 20.0f;
    body()->SetLinearVelocity(b2Vec2(0.0f, -15.0f));
    dyn().throttle = 0.6f;
    dyn().engineLevel = 0.5f;
    chooseGear(dyn(), now);
    EXPECT_EQ(dyn().gear, firstForwardGear);
    dyn().engineLevel = 0.6f;
    chooseGear(dyn(), now);
    EXPECT_EQ(dyn().gear, firstForwardGear + 1);

    // A brake pedal a quarter down brakes with a quarter of the force.
    dyn().gear = firstForwardGear;
    body()->SetLinearVelocity(b2Vec2(0.0f, -5.0f));
    for (Wheel& w : dyn().wheels)
        w.body->SetLinearVelocity(b2Vec2(0.0f, -5.0f));
    dyn().engineLevel = 0.0f;
    dyn().throttle = -0.25f;
    dyn().brakeInput = 0.25f;
    step(1);
    EXPECT_FLOAT_EQ(dyn().wheels[2].frictionJoint->GetMaxForce(), 0.25f * def.brakePower);
}
