#include "TestUtil.h"
#include "framework/Core.h"
#include "framework/Keyboard.h"
#include "framework/Layers.h"
#include "framework/Log.h"

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
