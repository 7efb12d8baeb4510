#pragma once
// The application's identity. Static initialisation gives every field a
// default; main() overwrites them before anything else runs.

#include <string>

namespace orv {

struct AppInfo {
    std::string title = "My app";
    std::string version = "0.0";
    std::string legalNotice;
    std::string webAddress = "https://example.invalid/";
    std::string logPath; ///< set by Log::open
};

/// The process-wide application record.
extern AppInfo appInfo;

/// Audio volumes (0 to 100) the framework configuration falls back to when its
/// file has no value. main() lowers the music default to silence.
extern int defaultSoundVolume;
extern int defaultMusicVolume;

/// Title, " v", version: "Zendrix 2 Tarnwick v1.00" once main has run.
std::string getTitleWithVersion();

} // namespace orv
