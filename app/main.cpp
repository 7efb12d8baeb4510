// Zendrix 2 Tarnwick: a test bed for the driving model of a top-down game.
//
// The start-up and shutdown order lives here, in one place. Each loader
// reports its own failures in the log and start-up goes on; only a core that
// cannot start ends the program (with code 1).

#include "app/AppSettings.h"
#include "app/FrameLoop.h"
#include "audio/Audio.h"
#include "framework/AppInfo.h"
#include "framework/Core.h"
#include "framework/CoreConfig.h"
#include "framework/Log.h"
#include "framework/ProgramClock.h"
#include "framework/Signals.h"
#include "framework/gui/MessageBox.h"
#include "render/SceneAssets.h"
#include "world/ImageSets.h"
#include "world/TerrainTextures.h"

int main()
{
    orv::ProgramClock::now(); // the program clock starts here
    orv::appInfo.title = "Zendrix 2 Tarnwick";
    orv::appInfo.version = "1.00";
    orv::appInfo.legalNotice = "Zendrix 2 Tarnwick test bed. Made by the Tarnwick team.";
    orv::appInfo.webAddress = "https://tarnwick.invalid/";
    orv::Log::open("Tarnwick.log");
    orv::installQuitSignals();
    orv::defaultSoundVolume = 90;
    orv::defaultMusicVolume = 0;
    // The core starts the sound bank at its place in the start-up order.
    orv::Audio::installCoreHooks();

    if (!orv::OrvCore::init()) {
        orv::showMessageBox("OrvCore::init failed.", "Error", orv::MessageBoxButtons::Ok, orv::MessageBoxIcon::None);
        return 1;
    }
    // The test bed always runs synchronised to the display and never with a
    // software frame cap, whatever the configuration file said.
    orv::setVerticalSync(true);
    orv::setFrameLimit(0);

    loadSettings();
    loadImageSets();
    loadTerrainTextures();
    orv::Audio::loadSounds("Data/Sounds", "");
    loadSceneAssets(true);

    runFrameLoop();

    saveSettings();
    orv::window().setView(orv::window().getDefaultView());
    orv::coreState.emulationActive = false;
    orv::OrvCore::shutdown();
    return 0;
}
