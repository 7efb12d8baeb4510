#include "TestUtil.h"
#include "vehicle/VehicleAppearance.h"

#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

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

// A wheel rectangle of 16000 x 16000 on a small picture made a canvas that
// size, cleared and drawn for every wheel in every frame.
class VehicleAppearanceLog : public testutil::LoggedTest {};

TEST_F(VehicleAppearanceLog, RectanglesAreCutToThePicture)
{
    std::filesystem::create_directories("Data/Cars");
    sf::Image picture;
    picture.create(64, 32);
    ASSERT_TRUE(picture.saveToFile("Data/Cars/Look.png"));
    VehicleAppearance look;
    VehicleDef def = withWheelTypes({{sf::IntRect(40, 0, 16000, 16000), true}, {sf::IntRect(0, 0, 6, 14), true}});
    def.imageRect = sf::IntRect(-10, 0, 100, 20);
    prepareAppearance(look, def, false);
    EXPECT_EQ(look.canvasSize, sf::Vector2i(24, 32));
    EXPECT_EQ(look.wheelSprites[0].getTextureRect(), sf::IntRect(40, 0, 24, 32));
    EXPECT_EQ(look.wheelSprites[1].getTextureRect(), sf::IntRect(0, 0, 6, 14)) << "one on the picture stays";
    EXPECT_EQ(look.bodySprite.getTextureRect(), sf::IntRect(0, 0, 64, 20));
    EXPECT_EQ(look.bodySprite.getOrigin(), sf::Vector2f(32.0f, 10.0f));
    EXPECT_TRUE(logged("prepareAppearance: Data/Cars/Look.png: image rectangles reach beyond the 64 x 32 picture"));

    const struct {
        sf::IntRect rect, fitted;
    } cases[] = {
        {{60, 30, -20, -10}, {60, 30, -20, -10}}, // mirrored, on the picture
        {{70, 10, -20, 5}, {64, 10, -14, 5}},     // mirrored, past the right edge
        {{INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {64, 32, 0, 0}},
        {{INT_MIN, 0, INT_MAX, 8}, {0, 0, 0, 8}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rectOnPicture(c.rect, sf::Vector2u(64, 32)), c.fitted);
}
