#include "app/FrameLoop.h"

#include "app/AppSettings.h"
#include "app/OptionsWindow.h"
#include "framework/Core.h"
#include "framework/ImGuiSfml.h"
#include "framework/Keyboard.h"
#include "framework/Layers.h"
#include "framework/Signals.h"
#include "render/Camera.h"
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
    loadMap(defaultMapPath);
    orv::ImGuiSfml::start(orv::window());
}

// Until a vehicle drives, the camera looks at the map's start position.
void placeCamera()
{
    const sf::Vector2f view = orv::window().getView().getSize() / appSettings.renderScale;
    camera = currentMap.startPosition - view * 0.5f;
}

void handleHotKeys()
{
    if (!orv::windowHasFocus())
        return;
    if (orv::wasKeyPressed(sf::Keyboard::Escape, true))
        frameLoop.menuVisible = !frameLoop.menuVisible;
    if (orv::wasKeyPressed(sf::Keyboard::Tab, true))
        appSettings.showMinimap = !appSettings.showMinimap;
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

        if (frameLoop.menuVisible)
            drawOptionsWindow();

        if (orv::ImGuiSfml::wantsKeyboard())
            orv::clearPressedKeys();
        else
            handleHotKeys();

        if (appSettings.physicsDebug && physicsWorld)
            physicsWorld->DebugDraw();
        if (appSettings.showMinimap)
            drawMinimap(visibleWorldRect());

        orv::display();
        if (frameLoop.quitRequested)
            return;
    }
}
