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
#include "framework/Random.h"
#include "framework/Signals.h"
#include "framework/gui/MessageBox.h"
#include "render/Camera.h"
#include "render/SceneAssets.h"
#include "render/VehicleDrawing.h"
#include "vehicle/DrivingControls.h"
#include "world/DebugDraw.h"
#include "world/Map.h"
#include "world/MapPhysics.h"
#include "world/Minimap.h"

#include <box2d/box2d.h>

#include <SFML/Window/Keyboard.hpp>

FrameLoopState frameLoop;
Vehicle playerVehicle;
std::vector<std::unique_ptr<Vehicle>> parkedVehicles;

namespace {

void start()
{
    resetPhysicsWorld();
    if (!loadMap(defaultMapPath))
        orv::showMessageBox(currentMap.loadError, "Error", orv::MessageBoxButtons::Ok, orv::MessageBoxIcon::None);
    playerVehicle.forgetBodies();
    playerVehicle.spawn(*physicsWorld, 0, true, currentMap.startPosition);
    orv::ImGuiSfml::start(orv::window());
    initAmbience();
    orv::Audio::playMusic("Data\\Music\\magic.xm", 0.0f);
}

sf::Vector2f chassisPixels(const Vehicle& vehicle)
{
    if (!vehicle.body())
        return currentMap.startPosition;
    const b2Vec2 p = vehicle.body()->GetPosition();
    return sf::Vector2f(p.x * pixelsPerMetre, p.y * pixelsPerMetre);
}

// The camera centres the player's chassis.
void placeCamera()
{
    cameraZoom = appSettings.renderScale;
    const sf::Vector2f view = orv::window().getView().getSize() / cameraZoom;
    camera = chassisPixels(playerVehicle) - view * 0.5f;
    orv::Audio::setListener(camera + view * 0.5f);
}

void drawVehicleOnScreen(const Vehicle& vehicle)
{
    drawVehicle(vehicle, orv::getLayerTarget(orv::LayerRedirect, false), camera, cameraZoom,
                visibleWorldRect(), sceneAssets.wheelScrollTexture.get());
}

// Until the world renderer exists the physics shapes stand in for the ground,
// with the vehicles drawn over them.
void drawWorld(float dt)
{
    (void)dt;
    if (physicsWorld) {
        physicsDebugDraw().setView(camera, cameraZoom);
        drawPhysicsShapes();
    }
    drawVehicleOnScreen(playerVehicle);
    for (const std::unique_ptr<Vehicle>& parked : parkedVehicles) {
        updateDrivingControls(*parked, windowKeys());
        drawVehicleOnScreen(*parked);
    }
}

void handleHotKeys()
{
    if (!orv::windowHasFocus())
        return;
    if (orv::wasKeyPressed(sf::Keyboard::Escape, true))
        frameLoop.menuVisible = !frameLoop.menuVisible;
    if (orv::wasKeyPressed(sf::Keyboard::Tab, true))
        appSettings.showMinimap = !appSettings.showMinimap;
    if (orv::wasKeyPressed(sf::Keyboard::R, true))
        reloadData();
    if (orv::wasKeyPressed(sf::Keyboard::Comma, true))
        cycleVehicle(-1);
    if (orv::wasKeyPressed(sf::Keyboard::Period, true))
        cycleVehicle(1);
    if (orv::wasKeyPressed(sf::Keyboard::F5, true))
        orv::runAudioPanel();
    if (orv::wasKeyPressed(sf::Keyboard::U, true))
        spawnParkedVehicle();
}

} // namespace

void cycleVehicle(int direction)
{
    const int count = static_cast<int>(vehicleDefs.size());
    if (count == 0)
        return;
    const int current = playerVehicle.kind() < 0 ? 0 : playerVehicle.kind();
    playerVehicle.setKind(((current + direction) % count + count) % count);
}

void reloadData()
{
    const std::string name = playerVehicle.definition() ? playerVehicle.definition()->name : std::string();
    // The list is about to be rebuilt: vehicles in the world keep what they
    // were built from until they are rebuilt.
    playerVehicle.keepOwnDefinition();
    for (const std::unique_ptr<Vehicle>& parked : parkedVehicles)
        parked->keepOwnDefinition();
    loadSceneAssets(false);
    const int found = findVehicleDef(name);
    playerVehicle.setKind(found < 0 ? 0 : found);
}

void spawnParkedVehicle()
{
    if (vehicleDefs.empty() || !physicsWorld)
        return;
    const int kind = orv::randomRange(0, static_cast<int>(vehicleDefs.size()) - 1);
    // Spawned whole at the player's chassis (wheels included), angle 0; the
    // world pushes the two apart.
    parkedVehicles.push_back(std::make_unique<Vehicle>());
    parkedVehicles.back()->spawn(*physicsWorld, kind, false, chassisPixels(playerVehicle));
}

void runFrameLoop()
{
    start();
    for (;;) {
        orv::beginFrame(sf::Color::Black);
        if (orv::quitSignalled())
            frameLoop.quitRequested = true;
        const float dt = orv::coreState.frameTime;

        updateDrivingControls(playerVehicle, windowKeys());
        playerVehicle.stepPhysics(dt);
        placeCamera();
        drawWorld(dt);
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
