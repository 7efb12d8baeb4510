#pragma once
// The framework configuration "zozur3.ini": display, audio and UI values, read
// once at start-up and written once at a normal shutdown.

#include <cstdint>
#include <string>

namespace orv {

struct CoreConfig {
    int version = 0;
    // video
    int width = 0;  ///< 0: the desktop's
    int height = 0; ///< 0: the desktop's
    int bpp = 32;
    bool window = false;
    int antialiasingLevel = 8;
    int fpsLimit = 0;
    bool vsyncEnabled = true;
    bool displayFPS = false;
    int emulatedWidth = 0;
    int emulatedHeight = 0;
    // audio
    int globalVolume = 100;
    int soundVolume = 80;
    int musicVolume = 30;
    float soundAttenuation = 0.005f;
    float soundListenerHeight = 50.0f;
    bool muteInactiveWindow = true;
    std::string musicLoadPath;
    // ui
    std::uint8_t hintsAlpha = 192;
    bool flatButtons = false;
};

/// The process-wide configuration.
extern CoreConfig coreConfig;

constexpr const char* coreConfigFileName = "zozur3.ini";

/// Reads "zozur3.ini" (defaults for what is missing) and notes whether it existed.
void loadCoreConfig();
/// Every value back to its built-in default, as before loadCoreConfig().
void resetCoreConfig();
/// Writes "zozur3.ini" with its explanatory comments.
void saveCoreConfig();

} // namespace orv
