#pragma once
// The framework core: owns the one render window, brings the framework's
// services up in a fixed order, switches display modes, and runs the
// post-frame step (frame timing, the 30 Hz event poll, the audio update).

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/System/Clock.hpp>

namespace orv {

struct CoreState {
    bool configFileMissing = false;
    bool initialised = false;
    bool windowed = false;
    bool emulationActive = false;
    sf::View emulatedView;
    sf::Vector2i emulatedSize;
    int currentFrameLimit = 0;
    bool currentVsync = false;
    bool showFps = false;
    bool pollerStarted = false;
    int pollRate = 30;
    float pollPeriod = 1.0f / 30.0f;
    sf::Clock pollClock;
    sf::Clock frameClock;
    float frameTime = 0.0f;
    bool pollTicked = false;
    bool firstDisplaySwitch = true;
};

/// The process-wide core state.
extern CoreState coreState;

/// The framework's one render window (made on first use).
sf::RenderWindow& window();
/// True when the window has been made and is open. Never makes the window, so
/// code that runs without a display (tools, tests) can ask.
bool isWindowOpen();

/// True when a window can be opened (the X server answers). The first
/// successful call keeps its connection for the life of the process.
bool displayAvailable();

/// The framework's data folder, beside the executable.
constexpr const char* frameworkDataFolder = "zozur3\\";

namespace OrvCore {
/// Brings the framework up; false when a step that must succeed failed (the
/// caller then ends the process without shutdown()).
bool init();
/// Saves the configuration and takes everything down. Does nothing unless
/// init() succeeded; a second call does nothing.
void shutdown();
} // namespace OrvCore

/// Creates (or re-creates) the window; sizes below 640 x 480 are raised, and
/// a windowed size beyond the desktop is cut to it with a warning. False when
/// no window came of it.
bool setDisplayMode(int width, int height, int bitsPerPixel, bool windowed);
/// Scales a virtual resolution (at least 640 x 480) onto the window, keeping
/// the window's aspect; one the drawing layers cannot hold is reduced with a
/// warning.
void emulateResolution(int width, int height);
/// Tells the window and records the state as current and configured.
void setVerticalSync(bool on);
/// Tells the window and records the limit as current and configured.
void setFrameLimit(int limit);
/// The post-frame step, run by display() after the frame is shown.
void updateFrame();

/// Whether the events are due to be polled: every frame under a frame limit of
/// pollRate or less, else once sinceLastPoll reaches pollPeriod.
bool isPollDue(int frameLimit, int pollRate, float sinceLastPoll, float pollPeriod);

/// The view emulating width x height on a window of the given pixel size.
sf::FloatRect emulatedViewRect(int width, int height, unsigned windowWidth, unsigned windowHeight);
/// A windowed size cut to the desktop, but never below 640 x 480.
sf::Vector2i fitWindowToDesktop(sf::Vector2i size, sf::Vector2u desktop);
/// An emulated size scaled down (never below 640 x 480) until its view on a
/// window of the given size fits in textures of `maxTexture` pixels a side.
sf::Vector2i fitEmulatedSize(sf::Vector2i size, sf::Vector2u window, unsigned maxTexture);

} // namespace orv
