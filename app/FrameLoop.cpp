#include "app/FrameLoop.h"

#include "app/AppSettings.h"
#include "app/OptionsWindow.h"
#include "audio/Ambience.h"
#include "audio/Audio.h"
#include "audio/AudioPanel.h"
#include "framework/Core.h"
#include "framework/ImGuiSfml.h"
#include "framework/Keyboard.h"
#include "framework/Layers.h"
#include "framework/Signals.h"
#include "framework/gui/MessageBox.h"
#include "render/Camera.h"
#include "world/DebugDraw.h"
#include "world/Map.h"
#include "world/MapPhysics.h"
#include "world/Minimap.h"

#include <box2d/box2d.h>

#include <SFML/Window/Keyboard.hpp>

FrameLoopState frameLoop;

namespace {

void start()
{
    resetPhysicsWorld();
    if (!loadMap(defaultMapPath))
        orv::showMessageBox(currentMap.loadError, "Error", orv::MessageBoxButtons::Ok, orv::MessageBoxIcon::None);
    orv::ImGuiSfml::start(orv::window());
    initAmbience();
    orv::Audio::playMusic("Data\\Music\\magic.xm", 0.0f);
}

// Until a vehicle drives, the camera looks at the map's start position.
void placeCamera()
{
    cameraZoom = appSettings.renderScale;
    const sf::Vector2f view = orv::window().getView().getSize() / cameraZoom;
    camera = currentMap.startPosition - view * 0.5f;
    orv::Audio::setListener(camera + view * 0.5f);
}

void handleHotKeys()
{
    if (!orv::windowHasFocus())
        return;
    if (orv::wasKeyPressed(sf::Keyboard::Escape, true))
        frameLoop.menuVisible = !frameLoop.menuVisible;
    if (orv::wasKeyPressed(sf::Keyboard::Tab, true))
        appSettings.showMinimap = !appSettings.showMinimap;
    if (orv::wasKeyPressed(sf::Keyboard::F5, true))
        orv::runAudioPanel();
}

} // namespace

void runFrameLoop()
{
    start();
    for (;;) {
        orv::beginFrame(sf::Color::Black);
        if (orv::quitSignalled())
            frameLoop.quitRequested = true;

        placeCamera();
        if (orv::coreState.pollTicked) {
            const sf::FloatRect visible = visibleWorldRect();
            updateAmbientLevels(sf::Vector2f(visible.left + visible.width * 0.5f, visible.top + visible.height * 0.5f),
                                appSettings.ambient);
        }
        playAmbience();

        if (frameLoop.menuVisible)
            drawOptionsWindow();

        if (orv::ImGuiSfml::wantsKeyboard())
            orv::clearPressedKeys();
        else
            handleHotKeys();

        if (appSettings.physicsDebug && physicsWorld) {
            physicsDebugDraw().setView(camera, cameraZoom);
            physicsWorld->DebugDraw();
        }
        if (appSettings.showMinimap)
            drawMinimap(visibleWorldRect());

        orv::display();
        if (frameLoop.quitRequested)
            return;
    }
}
