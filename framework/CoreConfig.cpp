#include "framework/CoreConfig.h"

#include "framework/AppInfo.h"
#include "framework/Core.h"
#include "framework/IniFile.h"
#include "framework/Log.h"
#include "framework/PathUtil.h"
#include "framework/StringUtil.h"

#include <cmath>

namespace orv {

CoreConfig coreConfig;

void loadCoreConfig()
{
    coreState.configFileMissing = !pathExists(coreConfigFileName);
    const CoreConfig defaults;
    IniFile ini;
    ini.load(coreConfigFileName);

    ini.setSection("info");
    coreConfig.version = ini.getInt("version", 0);

    ini.setSection("video");
    coreConfig.width = ini.getInt("width", defaults.width);
    coreConfig.height = ini.getInt("height", defaults.height);
    coreConfig.bpp = ini.getInt("bpp", defaults.bpp);
    coreConfig.window = ini.getBool("window", defaults.window);
    coreConfig.antialiasingLevel = ini.getInt("antialiasingLevel", defaults.antialiasingLevel);
    coreConfig.fpsLimit = ini.getInt("fpsLimit", defaults.fpsLimit);
    coreConfig.vsyncEnabled = ini.getBool("vsyncEnabled", defaults.vsyncEnabled);
    coreConfig.displayFPS = ini.getBool("displayFPS", defaults.displayFPS);
    coreConfig.emulatedWidth = ini.getInt("emulatedWidth", defaults.emulatedWidth);
    coreConfig.emulatedHeight = ini.getInt("emulatedHeight", defaults.emulatedHeight);

    // A volume past 0..100 reaches OpenAL as a gain it refuses or clips, and
    // the audio panel's sliders could not show it.
    const auto volume = [&ini](const char* key, int fallback) {
        const int read = ini.getInt(key, fallback);
        if (read >= 0 && read <= 100)
            return read;
        Log::warning(format("%s: [audio] %s=%d is out of range (0 to 100); using %d", coreConfigFileName, key, read,
                            fallback));
        return fallback;
    };
    ini.setSection("audio");
    coreConfig.globalVolume = volume("globalVolume", defaults.globalVolume);
    coreConfig.soundVolume = volume("soundVolume", defaultSoundVolume);
    coreConfig.musicVolume = volume("musicVolume", defaultMusicVolume);
    coreConfig.soundAttenuation = ini.getFloat("soundAttenuation", defaults.soundAttenuation);
    coreConfig.soundListenerHeight = ini.getFloat("soundListenerHeight", defaults.soundListenerHeight);
    if (!std::isfinite(coreConfig.soundListenerHeight))
        coreConfig.soundListenerHeight = defaults.soundListenerHeight;
    coreConfig.muteInactiveWindow = ini.getFloat("muteInactiveWindow", 1.0f) != 0.0f;
    coreConfig.musicLoadPath = ini.getString("musicLoadPath", defaults.musicLoadPath);

    ini.setSection("ui");
    coreConfig.hintsAlpha = static_cast<std::uint8_t>(ini.getInt("hintsAlpha", defaults.hintsAlpha));
    coreConfig.flatButtons = ini.getBool("flatButtons", defaults.flatButtons);

    if (coreConfig.version == 0)
        coreConfig.hintsAlpha = 192;
    if (!(coreConfig.soundAttenuation > 0.0f) || !std::isfinite(coreConfig.soundAttenuation))
        coreConfig.soundAttenuation = 0.005f;
}

void resetCoreConfig()
{
    coreConfig = CoreConfig();
}

void saveCoreConfig()
{
    IniFile ini;
    ini.setSection("info");
    ini.setInt("version", 1);

    ini.setSection("video");
    ini.setSectionComment(
        "Set either width or height to 0 to use detected desktop resolution.\n"
        "Any other width and height must be at least 640x480 respectively.\n"
        "bpp should be always be 32.\n"
        "Disabling the fps limiter (value 0) and vsync will run at full fps causing excessive GPU usage (NOT "
        "RECOMMENDED).\n"
        "Set displayFPS to true to always show an FPS counter.\n"
        "If emulatedWidth and emulatedWidth are both non-zero then the screen will be scaled to fit that virtual "
        "resolution without changing the actual video mode.\n"
        "Emulation deals with aspect automatically and can be any resolution provided that the emulatedWidth and "
        "emulatedHeight are at least 640x480 respectively.");
    ini.setInt("width", coreConfig.width);
    ini.setInt("height", coreConfig.height);
    ini.setInt("bpp", coreConfig.bpp);
    ini.setBool("window", coreConfig.window);
    ini.setInt("antialiasingLevel", coreConfig.antialiasingLevel);
    ini.setInt("fpsLimit", coreConfig.fpsLimit);
    ini.setBool("vsyncEnabled", coreConfig.vsyncEnabled);
    ini.setBool("displayFPS", coreConfig.displayFPS);
    ini.setInt("emulatedWidth", coreConfig.emulatedWidth);
    ini.setInt("emulatedHeight", coreConfig.emulatedHeight);

    ini.setSection("audio");
    ini.setSectionComment("globalVolume, soundVolume and musicVolume range from 0 to 100.");
    ini.setInt("globalVolume", coreConfig.globalVolume);
    ini.setInt("soundVolume", coreConfig.soundVolume);
    ini.setInt("musicVolume", coreConfig.musicVolume);
    ini.setFloat("soundAttenuation", coreConfig.soundAttenuation);
    ini.setFloat("soundListenerHeight", coreConfig.soundListenerHeight);
    ini.setFloat("muteInactiveWindow", coreConfig.muteInactiveWindow ? 1.0f : 0.0f);
    ini.setString("musicLoadPath", coreConfig.musicLoadPath);

    ini.setSection("ui");
    ini.setSectionComment("hintAlpha ranges from 0 to 255.");
    ini.setInt("hintsAlpha", coreConfig.hintsAlpha);
    ini.setBool("flatButtons", coreConfig.flatButtons);

    ini.save(coreConfigFileName);
}

} // namespace orv
