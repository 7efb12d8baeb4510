// The force overlay drawn into a picture: the arrows' pixels lie where the
// recorded forces point, for a car driving off, braking and turning.

#include "framework/Layers.h"
#include "render/ForceOverlay.h"
#include "vehicle/VehicleFixture.h"

#include <SFML/Graphics/RenderTexture.hpp>

#include <gtest/gtest.h>

#include <box2d/b2_body.h>

namespace {

using vehiclefixture::fastCarText;
using vehiclefixture::VehicleTest;

constexpr float zoom = 2.0f;
constexpr unsigned side = 480;

const sf::Color driveColour(60, 220, 60);
const sf::Color brakeColour(255, 150, 0);
const sf::Color gripColour(0, 200, 255);

// Where pixels of one colour lie, relative to the chassis on screen.
struct Spread {
    int count = 0;
    float meanX = 0.0f; ///< along the chassis' right
    float meanY = 0.0f; ///< along its back (forward is negative)
};

class ForceOverlayPicture : public VehicleTest {
protected:
    void drive(int steps, float throttle, float steer, bool handbrake)
    {
        for (int i = 0; i < steps; ++i) {
            dyn().throttle = throttle;
            dyn().steerInput = steer;
            dyn().handbrake = handbrake;
            step(1);
        }
    }
    // The overlay alone on black, the chassis in the middle.
    Spread spreadOf(const sf::Color& colour)
    {
        sf::RenderTexture target;
        EXPECT_TRUE(target.create(side, side));
        target.clear(sf::Color::Black);
        const b2Vec2 p = body()->GetPosition();
        const sf::Vector2f chassis(p.x * pixelsPerMetre, p.y * pixelsPerMetre);
        const sf::Vector2f camera = chassis - sf::Vector2f(side, side) * (0.5f / zoom);
        orv::setRedirect(target);
        drawForceOverlay(vehicle, camera, zoom);
        orv::clearRedirect();
        target.display();
        const sf::Image image = target.getTexture().copyToImage();
        const b2Vec2 right = body()->GetWorldVector(b2Vec2(1.0f, 0.0f));
        const b2Vec2 back = body()->GetWorldVector(b2Vec2(0.0f, 1.0f));
        Spread spread;
        for (unsigned y = 0; y < side; ++y) {
            for (unsigned x = 0; x < side; ++x) {
                if (image.getPixel(x, y) != colour)
                    continue;
                const float dx = static_cast<float>(x) - side * 0.5f;
                const float dy = static_cast<float>(y) - side * 0.5f;
                ++spread.count;
                spread.meanX += dx * right.x + dy * right.y;
                spread.meanY += dx * back.x + dy * back.y;
            }
        }
        if (spread.count > 0) {
            spread.meanX /= static_cast<float>(spread.count);
            spread.meanY /= static_cast<float>(spread.count);
        }
        return spread;
    }
};

// The rear wheels sit 18 world pixels behind the chassis centre: 36 on
// screen at zoom 2.
constexpr float rearWheels = 36.0f;

TEST_F(ForceOverlayPicture, DriveAheadBrakeBehindGripIntoTheTurn)
{
    spawn(fastCarText);
    drive(120, 1.0f, 0.0f, false);
    const Spread driving = spreadOf(driveColour);
    EXPECT_GT(driving.count, 20) << driving.count;
    EXPECT_LT(driving.meanY, rearWheels - 10.0f) << "drive arrows point forward from the rear wheels";

    drive(10, 0.0f, 0.0f, true);
    const Spread braking = spreadOf(brakeColour);
    EXPECT_GT(braking.count, 20) << braking.count;
    EXPECT_GT(braking.meanY, rearWheels + 3.0f) << "brake arrows point back from the rear wheels";
    EXPECT_EQ(spreadOf(driveColour).count, 0);

    drive(60, 1.0f, 0.0f, false);
    drive(30, 0.0f, 1.0f, false); // coasting into a right turn that holds
    const Spread turning = spreadOf(gripColour);
    EXPECT_GT(turning.count, 20) << turning.count;
    EXPECT_GT(turning.meanX, 3.0f) << "grip arrows point to the right, into a right turn";
}

} // namespace
