// The force overlay's arrows, from what a real drive's steps recorded: a car
// braking pushes back against its motion, a car turning is pulled into the
// turn, and the scale keeps the arrows readable.
#include "../vehicle/VehicleFixture.h"
#include "render/ForceOverlay.h"

#include <gtest/gtest.h>

#include <cmath>

using vehiclefixture::fastCarText;
using vehiclefixture::VehicleTest;

namespace {

float dot(const sf::Vector2f& a, const sf::Vector2f& b)
{
    return a.x * b.x + a.y * b.y;
}

sf::Vector2f along(const OverlayArrow& arrow)
{
    return arrow.to - arrow.from;
}

int countOf(const ForceOverlay& overlay, ArrowKind kind)
{
    int n = 0;
    for (const OverlayArrow& arrow : overlay.arrows)
        n += arrow.kind == kind ? 1 : 0;
    return n;
}

TEST(ForceOverlayScale, RoundsUpToOneTwoOrFive)
{
    const struct {
        float newtons;
        float perPixel;
    } cases[] = {
        {0.0f, 1.0f}, {-5.0f, 1.0f}, {NAN, 1.0f}, {INFINITY, 1.0f}, {60.0f, 1.0f}, {61.0f, 2.0f},
        {300.0f, 5.0f}, {400.0f, 10.0f}, {12000.0f, 200.0f}, {12100.0f, 500.0f},
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(overlayForceScale(c.newtons), c.perPixel) << c.newtons;
}

class ForceOverlayDrive : public VehicleTest {
protected:
    void drive(int steps, float throttle, float steer, bool brake)
    {
        for (int i = 0; i < steps; ++i) {
            dyn().throttle = throttle;
            dyn().steerInput = steer;
            dyn().handbrake = brake;
            step(1);
        }
    }
    sf::Vector2f chassisVelocity(const ForceOverlay& overlay)
    {
        for (const OverlayArrow& arrow : overlay.arrows) {
            if (arrow.kind == ArrowKind::ChassisVelocity)
                return along(arrow);
        }
        ADD_FAILURE() << "no chassis velocity arrow";
        return {};
    }
};

TEST_F(ForceOverlayDrive, DriveAndBrakeArrowsFollowTheRecordedForces)
{
    spawn(fastCarText);
    drive(120, 1.0f, 0.0f, false);
    ForceOverlay overlay = forceOverlayGeometry(vehicle);
    ASSERT_EQ(countOf(overlay, ArrowKind::Drive), 2) << "the two driven wheels";
    const sf::Vector2f moving = chassisVelocity(overlay);
    for (const OverlayArrow& arrow : overlay.arrows) {
        if (arrow.kind != ArrowKind::Drive)
            continue;
        EXPECT_GT(dot(along(arrow), moving), 0.0f) << "the drive pushes along the motion";
        const float newtons = std::hypot(along(arrow).x, along(arrow).y) * overlay.newtonsPerPixel;
        EXPECT_NEAR(newtons, dyn().wheels[2].driveForce.Length(), newtons * 1e-3f) << "drawn at the recorded force";
    }

    drive(10, 0.0f, 0.0f, true);
    overlay = forceOverlayGeometry(vehicle);
    EXPECT_EQ(countOf(overlay, ArrowKind::Drive), 0);
    ASSERT_EQ(countOf(overlay, ArrowKind::Brake), 2) << "the driven wheels brake";
    const sf::Vector2f stillMoving = chassisVelocity(overlay);
    for (const OverlayArrow& arrow : overlay.arrows) {
        if (arrow.kind == ArrowKind::Brake) {
            const sf::Vector2f a = along(arrow);
            EXPECT_LT(dot(a, stillMoving), -0.9f * std::hypot(a.x, a.y) * std::hypot(stillMoving.x, stillMoving.y))
                << "the brake holds against the motion";
        }
    }
}

TEST_F(ForceOverlayDrive, GripPullsIntoTheTurnAndAHandbrakeTurnSlides)
{
    spawn(fastCarText);
    drive(60, 1.0f, 0.0f, false);
    drive(30, 0.0f, 1.0f, false); // to the right, coasting
    ForceOverlay overlay = forceOverlayGeometry(vehicle);
    EXPECT_GT(overlay.yawRate, 0.0f) << "a right turn is clockwise on screen";
    const b2Vec2 r = body()->GetWorldVector(b2Vec2(1.0f, 0.0f));
    const sf::Vector2f right(r.x, r.y);
    sf::Vector2f grip;
    for (const OverlayArrow& arrow : overlay.arrows) {
        if (arrow.kind == ArrowKind::Grip)
            grip += along(arrow);
    }
    EXPECT_GT(countOf(overlay, ArrowKind::Grip), 0);
    EXPECT_GT(dot(grip, right), 0.0f) << "the tyres' sideways forces add up towards the turn's centre";
    for (const OverlayArrow& arrow : overlay.arrows)
        EXPECT_FALSE(arrow.warning) << "a gentle turn holds";

    drive(60, 1.0f, 0.0f, false);
    drive(20, 0.0f, 1.0f, true);
    overlay = forceOverlayGeometry(vehicle);
    int sliding = 0;
    for (const OverlayArrow& arrow : overlay.arrows)
        sliding += arrow.kind == ArrowKind::WheelVelocity && arrow.warning ? 1 : 0;
    EXPECT_GE(sliding, 2) << "the braked rear wheels let go";
}

TEST_F(VehicleTest, NoBodyNoArrows)
{
    EXPECT_TRUE(forceOverlayGeometry(vehicle).arrows.empty());
}

} // namespace
