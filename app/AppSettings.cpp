#include "app/AppSettings.h"

#include "app/InputSettings.h"
#include "framework/AppInfo.h"
#include "framework/Core.h"
#include "framework/CoreConfig.h"
#include "framework/IniFile.h"
#include "framework/Log.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

AppSettings appSettings;

void setRenderScale(float value)
{
    appSettings.renderScale = std::clamp(value, minRenderScale, maxRenderScale);
}

namespace {

// The scale as the file gives it. A value that is no usable number (1e309,
// nan, letters) keeps the default: read as 0, it would clamp to the smallest
// scale and leave the user squinting.
float readRenderScale(const orv::IniFile& ini, float def)
{
    const std::string raw = ini.getValue("renderScale");
    if (raw.empty())
        return def;
    errno = 0;
    char* end = nullptr;
    const float value = std::strtof(raw.c_str(), &end);
    if (end == raw.c_str() || (errno == ERANGE && value != 0.0f) || !std::isfinite(value)) {
        const std::string shown = raw.size() > 40 ? raw.substr(0, 40) + "..." : raw;
        orv::Log::warning(std::string(settingsFileName) + ": [video] renderScale=" + shown +
                          " is not a usable number; using the default");
        return def;
    }
    return value;
}

} // namespace

void loadSettings()
{
    const AppSettings defaults;
    orv::IniFile ini;
    ini.load(settingsFileName);

    ini.setSection("video");
    setRenderScale(readRenderScale(ini, defaults.renderScale));
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

    appSettings.joystick = defaults.joystick;
    readInputSettings(ini, appSettings.joystick);
    appSettings.forceOverlay = ini.getBool("forceOverlay", defaults.forceOverlay);
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
    ini.setBool("forceOverlay", appSettings.forceOverlay);

    writeInputSettings(ini, appSettings.joystick);

    ini.save(settingsFileName);
}

void resetSettings()
{
    appSettings = AppSettings();
    orv::setVerticalSync(true);
    orv::coreConfig.displayFPS = false;
    orv::coreState.showFps = false;
}

