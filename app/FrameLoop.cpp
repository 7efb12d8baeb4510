#include "app/FrameLoop.h"

#include "app/AppSettings.h"
#include "app/FrameProfile.h"
#include "app/Hud.h"
#include "app/LiveReload.h"
#include "app/OptionsWindow.h"
#include "app/TelemetryWindow.h"
#include "app/TuningEditor.h"
#include "audio/Ambience.h"
#include "audio/Audio.h"
#include "audio/AudioPanel.h"
#include "framework/Core.h"
#include "framework/ImGuiSfml.h"
#include "framework/Keyboard.h"
#include "framework/Layers.h"
#include "framework/Random.h"
#include "framework/ProgramClock.h"
#include "framework/Signals.h"
#include "framework/gui/FileDialog.h"
#include "framework/gui/MessageBox.h"
#include "render/Camera.h"
#include "render/Effects.h"
#include "render/ForceOverlay.h"
#include "render/SceneAssets.h"
#include "render/SmokePuffs.h"
#include "render/TrackMarks.h"
#include "render/VehicleDrawing.h"
#include "render/Wildlife.h"
#include "render/WorldRenderer.h"
#include "vehicle/DrivingControls.h"
#include "vehicle/JoystickInput.h"
#include "world/DebugDraw.h"
#include "world/Map.h"
#include "world/MapLoading.h"
#include "world/MapPhysics.h"
#include "world/Minimap.h"
#include "world/Units.h"

#include <box2d/box2d.h>

#include <SFML/Window/Keyboard.hpp>

FrameLoopState frameLoop;
Vehicle playerVehicle;
std::vector<std::unique_ptr<Vehicle>> parkedVehicles;

namespace {

constexpr float hornGuardSeconds = 0.5f;

sf::Vector2f chassisPixels(const Vehicle& vehicle)
{
    if (!vehicle.body())
        return currentMap.startPosition;
    const b2Vec2 p = vehicle.body()->GetPosition();
    return sf::Vector2f(p.x * pixelsPerMetre, p.y * pixelsPerMetre);
}

// A map that cannot be read leaves an empty world to drive in; the user hears
// why in a box.
void loadMapOrSay(const std::string& path)
{
    if (!loadMap(path))
        orv::showMessageBox(currentMap.loadError, "Error", orv::MessageBoxButtons::Ok, orv::MessageBoxIcon::None);
}

void start()
{
    resetPhysicsWorld();
    loadMapOrSay(defaultMapPath);
    frameLoop.mapPath = defaultMapPath;
    playerVehicle.forgetBodies();
    playerVehicle.spawn(*physicsWorld, 0, true, currentMap.startPosition);
    frameLoop.stepper.reset();
    attachDriveMonitor();
    if (!orv::ImGuiSfml::isActive())
        orv::ImGuiSfml::start(orv::window());
    initEffects();
    initAmbience();
    orv::Audio::playMusic("Data\\Music\\magic.xm", 0.0f);
}

// The camera centres the player's chassis.
void placeCamera()
{
    cameraZoom = appSettings.renderScale;
    const sf::Vector2f view = orv::window().getView().getSize() / cameraZoom;
    camera = chassisPixels(playerVehicle) - view * 0.5f;
    orv::Audio::setListener(camera + view * 0.5f);
}

sf::Vector2f viewCentre()
{
    const sf::FloatRect visible = visibleWorldRect();
    return sf::Vector2f(visible.left + visible.width * 0.5f, visible.top + visible.height * 0.5f);
}

// The keys drive the player's vehicle. Parked ones read them too (their
// engine level feeds their exhaust) but are never stepped by the driving
// model.
void updateControls(const KeySource& keys)
{
    const JoystickControls pad = readJoystick(sfmlJoysticks(), appSettings.joystick, keys.hasFocus());
    updateDrivingControls(playerVehicle, keys, pad);
    for (const std::unique_ptr<Vehicle>& parked : parkedVehicles)
        updateDrivingControls(*parked, keys, pad);
}

// Tracks and smoke follow the vehicles where the step left them.
void emitEffects()
{
    emitVehicleEffects(playerVehicle, appSettings.tracksParticles, appSettings.exhaustParticles);
    for (const std::unique_ptr<Vehicle>& parked : parkedVehicles)
        emitVehicleEffects(*parked, appSettings.tracksParticles, appSettings.exhaustParticles);
}

// The world in its drawing order: ground, tracks, ground animals, objects,
// vehicles, smoke, then the flying animals' shadows and the flying animals.
// Drawing changes nothing but the picture.
void drawWorld()
{
    const sf::FloatRect visible = visibleWorldRect();
    sf::RenderTarget& target = orv::getLayerTarget(orv::LayerRedirect, false);
    drawSectors(camera, cameraZoom, visible);
    drawTracks(target, camera, cameraZoom, sceneAssets.vehicleTrackTexture.get());
    drawWildlife(target, false, false, camera, cameraZoom, sceneAssets.wildlifeTexture.get(), nullptr);
    drawObjects(camera, cameraZoom, visible);
    drawVehicle(playerVehicle, camera, cameraZoom, visible, appSettings.physicsDebug);
    for (const std::unique_ptr<Vehicle>& parked : parkedVehicles)
        drawVehicle(*parked, camera, cameraZoom, visible, appSettings.physicsDebug);
    drawSmoke(target, camera, cameraZoom, sceneAssets.smokeTexture.get());
    drawWildlife(target, true, true, camera, cameraZoom, sceneAssets.wildlifeTexture.get(), wildlifeShadowShader());
    drawWildlife(target, true, false, camera, cameraZoom, sceneAssets.wildlifeTexture.get(), nullptr);
    if (appSettings.forceOverlay)
        drawForceOverlay(playerVehicle, camera, cameraZoom);
}

void soundHorn()
{
    const VehicleDef* def = playerVehicle.definition();
    const double now = orv::ProgramClock::now();
    if (!def || now - frameLoop.lastHornTime <= hornGuardSeconds)
        return;
    frameLoop.lastHornTime = now;
    orv::Audio::playSound(def->hornSound, chassisPixels(playerVehicle), false, "", -1.0f, true, 0.75f, 1.0f);
}

void handleHotKeys()
{
    if (!orv::windowHasFocus())
        return;
    using K = sf::Keyboard;
    const JoystickPresses pad = joystickPresses(sfmlJoysticks(), appSettings.joystick, true, frameLoop.padButtons);
    if (orv::wasKeyPressed(K::Escape, true))
        frameLoop.menuVisible = !frameLoop.menuVisible;
    if ((orv::wasKeyPressed(K::Hyphen, true) || orv::wasKeyPressed(K::Subtract, true)) &&
        appSettings.renderScale > minRenderScale)
        setRenderScale(appSettings.renderScale - 0.5f);
    if ((orv::wasKeyPressed(K::Equal, true) || orv::wasKeyPressed(K::Add, true)) &&
        appSettings.renderScale < maxRenderScale)
        setRenderScale(appSettings.renderScale + 0.5f);
    if (orv::wasKeyPressed(K::F1, true))
        appSettings.showHelp = !appSettings.showHelp;
    if (orv::wasKeyPressed(K::Tab, true))
        appSettings.showMinimap = !appSettings.showMinimap;
    if (orv::wasKeyPressed(K::M, true))
        selectMap();
    if (orv::wasKeyPressed(K::R, true) || pad.reload)
        reloadData();
    if (orv::wasKeyPressed(K::Comma, true))
        cycleVehicle(-1);
    if (orv::wasKeyPressed(K::Period, true))
        cycleVehicle(1);
    if (orv::wasKeyPressed(K::F5, true))
        orv::runAudioPanel();
    if (orv::wasKeyPressed(K::E, true))
        appSettings.showTuningEditor = !appSettings.showTuningEditor;
    if (orv::wasKeyPressed(K::U, true) || pad.park)
        spawnParkedVehicle();
    if (orv::wasKeyPressed(K::H, true) || pad.horn)
        soundHorn();
    if (orv::wasKeyPressed(K::T, true))
        appSettings.showTelemetry = !appSettings.showTelemetry;
    if (orv::wasKeyPressed(K::F, true))
        appSettings.forceOverlay = !appSettings.forceOverlay;
    if (orv::wasKeyPressed(K::P, true))
        togglePause(frameLoop.time);
    if (orv::wasKeyPressed(K::O, true))
        requestStep(frameLoop.time);
    if (orv::wasKeyPressed(K::LBracket, true))
        slowDown(frameLoop.time);
    if (orv::wasKeyPressed(K::RBracket, true))
        speedUp(frameLoop.time);
}

} // namespace

void resetFrameLoop()
{
    for (const std::unique_ptr<Vehicle>& parked : parkedVehicles)
        parked->forgetBodies();
    parkedVehicles.clear();
    playerVehicle.forgetBodies();
    playerVehicle.setStepObserver(nullptr);
    frameLoop = FrameLoopState();
}

void selectMap()
{
    orv::clearPressedKeys();
    orv::clearTypedText();
    const std::string picked = orv::runFileDialog("Data\\Maps\\", "map", "Select Map");
    if (picked.empty())
        return;
    switchMap(picked);
}

void switchMap(const std::string& path)
{
    // The parked vehicles' bodies die with the old world.
    for (const std::unique_ptr<Vehicle>& parked : parkedVehicles)
        parked->forgetBodies();
    parkedVehicles.clear();
    playerVehicle.forgetBodies();
    resetPhysicsWorld();
    loadMapOrSay(path);
    frameLoop.mapPath = path;
    clearSmoke();
    clearTracks();
    clearWildlife();
    playerVehicle.spawn(*physicsWorld, playerVehicle.kind() < 0 ? 0 : playerVehicle.kind(), true,
                        currentMap.startPosition);
    frameLoop.stepper.reset();
}

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
    const bool profiling = frameProfileRequested();
    if (profiling) {
        measureFrameFloor();
        placeCamera();
        fillEffectsForProfile();
    }
    for (;;) {
        if (profiling)
            frameProfileBegin();
        frameProfileSection("clear");
        orv::beginFrame(sf::Color::Black);
        frameProfileSection("simulate");
        if (orv::quitSignalled())
            frameLoop.quitRequested = true;
        // While paused nothing in the world moves (the engine loops, no
        // longer refreshed, fall silent); the camera and the windows go on.
        const float frameSeconds = profiling ? frameProfileStep() : orv::coreState.frameTime;
        const float dt = simulatedSeconds(frameLoop.time, frameSeconds);
        const bool running = !frameLoop.time.paused || frameLoop.time.stepRequested;
        checkLiveReload(orv::ProgramClock::now());
        if (running) {
            updateSmoke(dt);
            updateTracks(dt);
            // Steering of the animals runs on poll ticks only.
            updateWildlife(dt, visibleWorldRect(), orv::coreState.pollTicked ? orv::coreState.pollPeriod : 0.0f);
            // The profile's scripted drive presses its own keys.
            updateControls(profiling ? frameProfileKeys() : windowKeys());
        }
        if (physicsWorld)
            advanceWorld(frameLoop.time, frameLoop.stepper, *physicsWorld, playerVehicle, frameSeconds);
        if (running)
            emitEffects();
        placeCamera();
        frameProfileSection("world");
        drawWorld();
        frameProfileSection("interface");

        if (running && orv::coreState.pollTicked && appSettings.ambient) {
            const sf::Vector2f centre = viewCentre();
            updateAmbientLevels(centre, true);
            populateWildlife(centre, ambience.levels.data());
        }
        playAmbience();

        if (frameLoop.menuVisible)
            drawOptionsWindow();
        if (frameLoop.audioPanelRequested) {
            frameLoop.audioPanelRequested = false;
            orv::runAudioPanel();
        }

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
        drawHudText(playerVehicle);
        if (appSettings.showTuningEditor)
            drawTuningEditor();
        if (appSettings.showTelemetry)
            drawTelemetryWindow();

        frameProfileSection("display");
        orv::display();
        if (profiling && frameProfileEnd())
            frameLoop.quitRequested = true;
        if (frameLoop.quitRequested) {
            clearSmoke();
            clearTracks();
            clearWildlife();
            return;
        }
    }
}
