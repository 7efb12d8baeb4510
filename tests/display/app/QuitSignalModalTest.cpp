// A quit signal ends every modal loop and every loader at once.

#include "TestUtil.h"
#include "audio/AudioPanel.h"
#include "framework/Keyboard.h"
#include "framework/Log.h"
#include "framework/Signals.h"
#include "framework/gui/FileDialog.h"
#include "framework/gui/MessageBox.h"
#include "world/ImageSets.h"
#include "world/TerrainTextures.h"

#include <SFML/Graphics/Image.hpp>
#include <SFML/System/Clock.hpp>
#include <SFML/Window/Keyboard.hpp>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

using testutil::writeFile;

TEST(QuitSignal, ModalLoopsAndTextureLoadersLeave)
{
    testutil::TempDir dir;
    orv::Log::open("q.log");
    sf::Image picture;
    picture.create(8, 8, sf::Color::Green);
    writeFile("Data/Images/A.ini", "[info]\nid=Zendrix 2 Texture Images\nversion=1\nimagesCount=1\n[image0]\n"
                                   "imageName=Crate\n");
    ASSERT_TRUE(picture.saveToFile("Data/Images/A.png"));
    std::filesystem::create_directories("Data/Textures");
    ASSERT_TRUE(picture.saveToFile("Data/Textures/Grass.png"));

    orv::installQuitSignals();
    std::raise(SIGTERM);
    ASSERT_TRUE(orv::quitSignalled());

    sf::Clock clock;
    EXPECT_EQ(orv::runFileDialog("Data\\", ".png", "Open"), "");
    orv::runAudioPanel();
    EXPECT_EQ(orv::showMessageBox("Leave?", "Confirm", orv::MessageBoxButtons::YesNo,
                                  orv::MessageBoxIcon::Question),
              orv::MessageBoxResult::No);
    EXPECT_FALSE(orv::keyHeldHalfSecond(sf::Keyboard::Space));
    EXPECT_LT(clock.getElapsedTime().asSeconds(), 1.0f);

    loadImageSets();
    EXPECT_TRUE(textureImages.empty());
    loadTerrainTextures();
    EXPECT_TRUE(terrainTextures.empty());

    orv::resetQuitSignal();
    imageSetTextures.clear();
    orv::Log::reset();
}
