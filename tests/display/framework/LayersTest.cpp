#include "TestUtil.h"
#include "framework/Core.h"
#include "framework/Keyboard.h"
#include "framework/Layers.h"
#include "framework/Log.h"
#include "framework/Screenshot.h"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Text.hpp>

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/System/Err.hpp>
#include <SFML/System/Sleep.hpp>

#include <gtest/gtest.h>

#include <sstream>

using namespace orv;

TEST(Layers, OnlyUsedLayersAreComposited)
{
    beginFrame(sf::Color::Black);
    display();
    EXPECT_EQ(displayStats.layersComposited, 0);

    beginFrame(sf::Color::Black);
    drawRectangle(LayerUi, {10, 10}, {20, 20}, sf::Color::Red, true, 0);
    drawRectangle(LayerBack, {10, 10}, {20, 20}, sf::Color::Red, true, 0);
    drawRectangle(LayerWindow, {10, 10}, {20, 20}, sf::Color::Red, true, 0);
    display();
    EXPECT_EQ(displayStats.layersComposited, 2);

    // Drawing into the window, the light layer or layer 0 composites nothing.
    beginFrame(sf::Color::Black);
    drawRectangle(LayerLight, {10, 10}, {20, 20}, sf::Color::Red, true, 0);
    drawLine({0, 0}, {100, 100}, sf::Color::Green, 2.f);
    display();
    EXPECT_EQ(displayStats.layersComposited, 0);
}

namespace {

// One frame with a busy window layer and, in the UI layer, a translucent
// rectangle, an outlined one, a textured quad and a line of text at
// fractional positions moved by `shift`; `whole` draws them through the
// plain layer target, which composites the whole layer. The frame as shown.
sf::Image uiFrame(float shift, bool whole, const sf::Font* font, std::uint64_t& composited)
{
    beginFrame(sf::Color(20, 40, 60));
    for (int i = 0; i < 8; ++i)
        drawRectangle(LayerWindow, {static_cast<float>(i * 70), static_cast<float>(i * 30)}, {90, 200},
                      sf::Color(static_cast<sf::Uint8>(i * 30), 200, static_cast<sf::Uint8>(255 - i * 30)), true, 0);
    if (whole)
        getLayerTarget(LayerUi, false);
    drawRectangle(LayerUi, {10.3f + shift, 20.7f}, {50.2f, 30.1f}, sf::Color(255, 0, 0, 128), true, 0);
    drawRectangle(LayerUi, {200.5f, 100.25f + shift}, {80, 40}, sf::Color(255, 255, 255, 200), false, 2.0f);
    sf::Image checker;
    checker.create(8, 8, sf::Color(0, 255, 0, 160));
    for (unsigned y = 0; y < 8; ++y)
        for (unsigned x = (y % 2); x < 8; x += 2)
            checker.setPixel(x, y, sf::Color(0, 0, 255, 90));
    sf::Texture texture;
    texture.loadFromImage(checker);
    drawTexture(LayerUi, texture, 300.5f - shift, 300.5f, 340.f - shift, 330.f, sf::IntRect(), sf::Color::White);
    if (font) {
        sf::Text text("Speed 123 km/h", *font, 18);
        text.setOutlineColor(sf::Color::Black);
        text.setOutlineThickness(0.75f);
        text.setPosition(400.4f - shift, 420.6f);
        getLayerTargetFor(LayerUi, false, text.getGlobalBounds()).draw(text);
    }
    screenshotName = "frame.png";
    screenshotPending = true;
    display();
    composited = displayStats.compositedPixels;
    sf::Image shown;
    shown.loadFromFile("frame.png");
    return shown;
}

} // namespace

// The UI layer is composited and cleared only where something was drawn on
// it; the frames must be those of compositing all of it, also in a frame
// after one that drew elsewhere.
TEST(Layers, UiLayerCompositedWhereDrawnLooksTheSame)
{
    testutil::TempDir dir;
    sf::Font font;
    const bool hasFont = font.loadFromFile("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf");
    const sf::Font* f = hasFont ? &font : nullptr;
    std::uint64_t part = 0, all = 0;
    const sf::Image firstWhole = uiFrame(0.f, true, f, all);
    const sf::Image secondWhole = uiFrame(37.5f, true, f, all);
    const sf::Image firstPart = uiFrame(0.f, false, f, part);
    const sf::Image secondPart = uiFrame(37.5f, false, f, part);
    EXPECT_LT(part * 4, all) << "only the drawn part should be composited";
    ASSERT_EQ(firstPart.getSize(), firstWhole.getSize());
    ASSERT_GT(firstPart.getSize().x, 0u);
    std::size_t differing = 0;
    for (unsigned y = 0; y < firstPart.getSize().y; ++y)
        for (unsigned x = 0; x < firstPart.getSize().x; ++x) {
            differing += firstPart.getPixel(x, y) != firstWhole.getPixel(x, y) ? 1 : 0;
            differing += secondPart.getPixel(x, y) != secondWhole.getPixel(x, y) ? 1 : 0;
        }
    EXPECT_EQ(differing, 0u);
    screenshotName.clear();
}

TEST(Layers, RedirectSendsEveryLayerToTheTarget)
{
    sf::RenderTexture target;
    ASSERT_TRUE(target.create(64, 64));
    setRedirect(target);
    EXPECT_EQ(&getLayerTarget(LayerUi, false), &target);
    EXPECT_EQ(&getLayerTarget(LayerRedirect, false), &target);
    EXPECT_NE(&getLayerTarget(LayerUi, true), &target);
    clearRedirect();
    EXPECT_EQ(&getLayerTarget(LayerRedirect, false), static_cast<sf::RenderTarget*>(&window()));
    beginFrame(sf::Color::Black);
    display(); // the forced draw above must not leave the UI layer pending
}

TEST(Layers, EventPollRate)
{
    // A cap of 25 frames a second polls in every frame.
    setFrameLimit(25);
    updateFrame();
    int before = Keyboard::pollCount;
    for (int i = 0; i < 5; ++i) {
        beginFrame(sf::Color::Black);
        display();
    }
    EXPECT_EQ(Keyboard::pollCount - before, 5);

    // Without a cap, 30 times a second however fast the frames come.
    setFrameLimit(0);
    updateFrame();
    before = Keyboard::pollCount;
    sf::Clock clock;
    int frames = 0;
    while (clock.getElapsedTime().asSeconds() < 1.0f) {
        beginFrame(sf::Color::Black);
        display();
        sf::sleep(sf::milliseconds(4));
        ++frames;
    }
    const int polls = Keyboard::pollCount - before;
    EXPECT_GT(frames, polls);
    EXPECT_GE(polls, 24);
    EXPECT_LE(polls, 31);
}

// A view no texture can hold: the layers fail once, with one line, and are
// made again as soon as the view fits.
TEST(Layers, FailedLayersAreLoggedOnce)
{
    testutil::TempDir dir;
    Log::open("layers.log");
    std::ostringstream sfmlErrors;
    std::streambuf* previous = sf::err().rdbuf(sfmlErrors.rdbuf());

    const sf::View normal = window().getView();
    const float huge = static_cast<float>(sf::Texture::getMaximumSize()) * 2.f;
    window().setView(sf::View(sf::FloatRect(0.f, 0.f, huge, huge)));
    for (int frame = 0; frame < 5; ++frame) {
        beginFrame(sf::Color::Black);
        drawRectangle(LayerUi, {10, 10}, {20, 20}, sf::Color::Red, true, 0);
        display();
    }
    window().setView(normal);
    beginFrame(sf::Color::Black);
    drawRectangle(LayerUi, {10, 10}, {20, 20}, sf::Color::Red, true, 0);
    display();
    EXPECT_EQ(displayStats.layersComposited, 1);

    sf::err().rdbuf(previous);
    const std::string log = testutil::readFile("layers.log");
    std::size_t lines = 0;
    for (std::size_t at = log.find("Drawing layers"); at != std::string::npos; at = log.find("Drawing layers", at + 1))
        ++lines;
    EXPECT_EQ(lines, 1u) << log;
    EXPECT_EQ(sfmlErrors.str(), "");
    Log::reset();
}
