#include "vehicle/VehicleAppearance.h"

#include <gtest/gtest.h>

namespace {

VehicleDef withWheelTypes(std::vector<WheelType> types)
{
    VehicleDef def;
    def.name = "Look";
    def.imageRect = sf::IntRect(0, 0, 30, 60);
    def.wheelTypes = std::move(types);
    return def;
}

} // namespace

TEST(VehicleAppearance, BodySpriteTurnsAboutItsCentre)
{
    VehicleAppearance look;
    prepareAppearance(look, withWheelTypes({}), false);
    EXPECT_EQ(look.bodySprite.getTextureRect(), sf::IntRect(0, 0, 30, 60));
    EXPECT_EQ(look.bodySprite.getOrigin(), sf::Vector2f(15.0f, 30.0f));
    EXPECT_EQ(look.picture, nullptr) << "no texture without graphics";
}

TEST(VehicleAppearance, CanvasFitsTheLargestVisibleWheel)
{
    VehicleAppearance look;
    prepareAppearance(look,
                      withWheelTypes({{sf::IntRect(40, 0, 6, 14), true},
                                      {sf::IntRect(50, 0, 20, 30), false},
                                      {sf::IntRect(80, 0, 9, 12), true}}),
                      false);
    ASSERT_EQ(look.wheelDrawn.size(), 3u);
    EXPECT_TRUE(look.wheelDrawn[0]);
    EXPECT_FALSE(look.wheelDrawn[1]) << "an invisible wheel type is never drawn";
    EXPECT_TRUE(look.wheelDrawn[2]);
    EXPECT_EQ(look.canvasSize, sf::Vector2i(9, 14)) << "widest and tallest, taken separately";
    EXPECT_EQ(look.wheelSprites[2].getTextureRect(), sf::IntRect(80, 0, 9, 12));
}

TEST(VehicleAppearance, NoVisibleWheelsNoCanvas)
{
    VehicleAppearance look;
    prepareAppearance(look, withWheelTypes({{sf::IntRect(40, 0, 6, 14), false}}), false);
    EXPECT_EQ(look.canvasSize, sf::Vector2i(0, 0));
    EXPECT_EQ(look.wheelCanvas, nullptr);

    // A rebuild for another kind replaces everything.
    prepareAppearance(look, withWheelTypes({{sf::IntRect(40, 0, 6, 14), true}}), false);
    EXPECT_EQ(look.canvasSize, sf::Vector2i(6, 14));
    prepareAppearance(look, withWheelTypes({}), false);
    EXPECT_TRUE(look.wheelSprites.empty());
    EXPECT_EQ(look.canvasSize, sf::Vector2i(0, 0));
}
