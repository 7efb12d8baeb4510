#include "app/AppSettings.h"

#include "framework/AppInfo.h"
#include "framework/Core.h"
#include "framework/CoreConfig.h"
#include "framework/IniFile.h"

#include <algorithm>

AppSettings appSettings;

void setRenderScale(float value)
{
    appSettings.renderScale = std::clamp(value, minRenderScale, maxRenderScale);
}

void loadSettings()
{
    const AppSettings defaults;
    orv::IniFile ini;
    ini.load(settingsFileName);

    ini.setSection("video");
    setRenderScale(ini.getFloat("renderScale", defaults.renderScale));
    appSettings.smoothTerrain = ini.getBool("smoothTerrain", defaults.smoothTerrain);
    appSettings.smoothObjects = ini.getBool("smoothObjects", defaults.smoothObjects);

    ini.setSection("game");
    appSettings.tracksParticles = ini.getBool("tracksParticles", defaults.tracksParticles);
    appSettings.exhaustParticles = ini.getBool("exhaustParticles", defaults.exhaustParticles);
    appSettings.ambient = ini.getBool("ambient", defaults.ambient);

    ini.setSection("ui");
    appSettings.showTuningEditor = ini.getBool("showTuningEditor", defaults.showTuningEditor);
    appSettings.showHelp = ini.getBool("showHelp", defaults.showHelp);
    appSettings.showMinimap = ini.getBool("showMinimap", defaults.showMinimap);
    appSettings.physicsDebug = ini.getBool("physicsDebug", defaults.physicsDebug);
    appSettings.showTelemetry = ini.getBool("showTelemetry", defaults.showTelemetry);
}

void saveSettings()
{
    orv::IniFile ini;
    ini.setSection("info");
    ini.setString("generator", orv::getTitleWithVersion());

    ini.setSection("video");
    ini.setFloat("renderScale", appSettings.renderScale);
    ini.setBool("smoothTerrain", appSettings.smoothTerrain);
    ini.setBool("smoothObjects", appSettings.smoothObjects);

    ini.setSection("game");
    ini.setBool("tracksParticles", appSettings.tracksParticles);
    ini.setBool("exhaustParticles", appSettings.exhaustParticles);
    ini.setBool("ambient", appSettings.ambient);

    ini.setSection("ui");
    ini.setBool("showTuningEditor", appSettings.showTuningEditor);
    ini.setBool("showHelp", appSettings.showHelp);
    ini.setBool("showMinimap", appSettings.showMinimap);
    ini.setBool("physicsDebug", appSettings.physicsDebug);
    ini.setBool("showTelemetry", appSettings.showTelemetry);

    ini.save(settingsFileName);
}

void resetSettings()
{
    appSettings = AppSettings();
    orv::setVerticalSync(true);
    orv::coreConfig.displayFPS = false;
    orv::coreState.showFps = false;
}

