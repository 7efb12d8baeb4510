#include "framework/Core.h"

#include "framework/AppInfo.h"
#include "framework/CoreConfig.h"
#include "framework/AudioHooks.h"
#include "framework/ImGuiSfml.h"
#include "framework/Keyboard.h"
#include "framework/Layers.h"
#include "framework/Log.h"
#include "framework/SFMLLogStream.h"
#include "framework/ScreenMessages.h"
#include "framework/ShaderManager.h"
#include "framework/StringUtil.h"
#include "framework/Text.h"
#include "framework/gui/InternalTextures.h"
#include "framework/gui/MessageBox.h"
#include "framework/gui/ScriptConsole.h"
#include "framework/gui/Theme.h"

#include <SFML/Config.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Err.hpp>
#include <SFML/Window/VideoMode.hpp>

#include <X11/Xlib.h>

#include <algorithm>
#include <cmath>

namespace orv {

CoreState coreState;

namespace {

std::streambuf* previousErrBuffer = nullptr;
bool errCaptured = false;

void captureErrorStream()
{
    if (errCaptured)
        sf::err().rdbuf(previousErrBuffer);
    sfmlLogStream().lineHandler = sfmlLineHandler;
    previousErrBuffer = sf::err().rdbuf(&sfmlLogStream());
    errCaptured = true;
}

void restoreErrorStream()
{
    if (!errCaptured)
        return;
    sf::err().flush();
    sf::err().rdbuf(previousErrBuffer);
    errCaptured = false;
}

void placeScreenMessages()
{
    const float lineSpacing = Text::isLoaded() ? Text::font(FontSlot::Standard).getLineSpacing(16) : 19.f;
    screenMessages().position = sf::Vector2f(10.f, window().getView().getSize().y - 90.f - lineSpacing);
}

void layoutConsole()
{
    const sf::Vector2f size = window().getView().getSize();
    scriptConsole().layout(size.x, size.y);
}

void runHook(const std::function<void()>& hook)
{
    if (hook)
        hook();
}

// Never destroyed: the process ends with it (SFML resources must not be torn
// down after their context at exit).
sf::RenderWindow* theWindow = nullptr;

} // namespace

sf::RenderWindow& window()
{
    if (!theWindow)
        theWindow = new sf::RenderWindow;
    return *theWindow;
}

bool isWindowOpen()
{
    return theWindow && theWindow->isOpen();
}

bool displayAvailable()
{
    // The media library aborts the process when it cannot reach the X
    // server; asking first lets start-up fail with a message instead. The
    // connection stays open: an X server resets when its last client leaves
    // and refuses connections meanwhile, so closing it here would make the
    // library's own connection, a moment later, fail and abort.
    static Display* held = nullptr;
    if (!held)
        held = XOpenDisplay(nullptr);
    return held != nullptr;
}

bool isPollDue(int frameLimit, int pollRate, float sinceLastPoll, float pollPeriod)
{
    if (frameLimit == 0 || frameLimit > pollRate)
        return sinceLastPoll >= pollPeriod;
    return true;
}

sf::FloatRect emulatedViewRect(int width, int height, unsigned windowWidth, unsigned windowHeight)
{
    const float W = static_cast<float>(windowWidth), H = static_cast<float>(windowHeight);
    if (W > H)
        return sf::FloatRect(0.f, 0.f, static_cast<float>(height) * W / H, static_cast<float>(height));
    return sf::FloatRect(0.f, 0.f, static_cast<float>(width), static_cast<float>(width) * H / W);
}

sf::Vector2i fitWindowToDesktop(sf::Vector2i size, sf::Vector2u desktop)
{
    const auto limit = [](int value, unsigned room, int least) {
        return std::max(least, static_cast<int>(std::min<long long>(value, room)));
    };
    return sf::Vector2i(limit(size.x, desktop.x, 640), limit(size.y, desktop.y, 480));
}

sf::Vector2i fitEmulatedSize(sf::Vector2i size, sf::Vector2u window, unsigned maxTexture)
{
    if (window.x == 0 || window.y == 0)
        return size;
    const sf::FloatRect view = emulatedViewRect(size.x, size.y, window.x, window.y);
    const double side = static_cast<double>(maxTexture);
    const double scale = std::min({1.0, side / static_cast<double>(view.width), side / static_cast<double>(view.height)});
    if (scale >= 1.0)
        return size;
    // Scaled down in double, so that nothing near INT_MAX is ever converted.
    return sf::Vector2i(std::max(640, static_cast<int>(std::floor(static_cast<double>(size.x) * scale))),
                        std::max(480, static_cast<int>(std::floor(static_cast<double>(size.y) * scale))));
}

bool setDisplayMode(int width, int height, int bitsPerPixel, bool windowed)
{
    width = std::max(width, 640);
    height = std::max(height, 480);
    if (windowed) {
        // The X server cannot make, or makes and then chokes on, a window far
        // beyond its screen; a size from the file is cut to the desktop.
        const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
        const sf::Vector2i fitted = fitWindowToDesktop({width, height}, {desktop.width, desktop.height});
        if (fitted != sf::Vector2i(width, height)) {
            Log::warning(format("%s: window %d by %d does not fit the desktop of %u by %u; using %d by %d",
                                coreConfigFileName, width, height, desktop.width, desktop.height, fitted.x,
                                fitted.y));
            width = fitted.x;
            height = fitted.y;
        }
    }
    sf::ContextSettings settings(0, 0, static_cast<unsigned>(std::max(0, coreConfig.antialiasingLevel)), 1, 1);
    const sf::VideoMode mode(static_cast<unsigned>(width), static_cast<unsigned>(height),
                             static_cast<unsigned>(std::max(1, bitsPerPixel)));
    sf::RenderWindow& w = window();
    w.create(mode, appInfo.title, windowed ? sf::Style::Close : sf::Style::Fullscreen, settings);
    screenMessages().setEnabled(w.isOpen());

    const std::vector<sf::VideoMode>& modes = sf::VideoMode::getFullscreenModes();
    const sf::Vector2u size = w.getSize();
    if (!modes.empty() && modes.front().width == size.x && modes.front().height == size.y) {
        coreConfig.width = 0;
        coreConfig.height = 0;
    } else {
        coreConfig.width = static_cast<int>(size.x);
        coreConfig.height = static_cast<int>(size.y);
    }
    coreConfig.bpp = bitsPerPixel;
    coreConfig.window = windowed;

    w.setFramerateLimit(static_cast<unsigned>(std::max(0, coreConfig.fpsLimit)));
    coreState.currentFrameLimit = coreConfig.fpsLimit;
    w.setVerticalSyncEnabled(coreConfig.vsyncEnabled);
    coreState.currentVsync = coreConfig.vsyncEnabled;
    coreState.showFps = coreConfig.displayFPS;
    coreState.windowed = windowed;

    const sf::Vector2f view = w.getView().getSize();
    Log::info(format(windowed ? "Switched to windowed display resolution %d by %d"
                              : "Switched to fullscreen display resolution %d by %d",
                     static_cast<int>(view.x), static_cast<int>(view.y)));
    if (coreState.firstDisplaySwitch)
        coreState.firstDisplaySwitch = false;
    else
        layoutConsole();
    return w.isOpen();
}

void emulateResolution(int width, int height)
{
    width = std::max(width, 640);
    height = std::max(height, 480);
    sf::RenderWindow& w = window();
    const sf::Vector2u windowSize = w.getSize();
    if (windowSize.x == 0 || windowSize.y == 0)
        return; // no window to scale onto
    // Every drawing layer is a texture of the view's size: a view beyond the
    // largest texture leaves the layers unmade (and a huge one eats memory).
    const unsigned maxTexture = sf::Texture::getMaximumSize();
    const sf::Vector2i fitted = fitEmulatedSize({width, height}, windowSize, maxTexture);
    if (fitted != sf::Vector2i(width, height)) {
        Log::warning(format("%s: emulated resolution %d by %d is more than the drawing layers can hold (%u "
                            "pixels a side); using %d by %d",
                            coreConfigFileName, width, height, maxTexture, fitted.x, fitted.y));
        width = fitted.x;
        height = fitted.y;
    }
    coreConfig.emulatedWidth = width;
    coreConfig.emulatedHeight = height;
    const sf::FloatRect rect = emulatedViewRect(width, height, windowSize.x, windowSize.y);
    // The view keeps the window's aspect, so it fills the whole window.
    coreState.emulatedView.reset(rect);
    coreState.emulatedView.setViewport(sf::FloatRect(0.f, 0.f, 1.f, 1.f));
    w.setView(coreState.emulatedView);
    coreState.emulationActive = true;
    coreState.emulatedSize = sf::Vector2i(static_cast<int>(rect.width), static_cast<int>(rect.height));
    Log::info(format("Emulating display resolution %d by %d (adjusted for aspect)", coreState.emulatedSize.x,
                     coreState.emulatedSize.y));
}

void setVerticalSync(bool on)
{
    window().setVerticalSyncEnabled(on);
    coreState.currentVsync = on;
    coreConfig.vsyncEnabled = on;
}

void setFrameLimit(int limit)
{
    window().setFramerateLimit(static_cast<unsigned>(std::max(0, limit)));
    coreState.currentFrameLimit = limit;
    coreConfig.fpsLimit = limit;
}

void updateFrame()
{
    coreState.pollTicked = false;
    coreState.frameTime = coreState.frameClock.restart().asSeconds();
    const bool due = isPollDue(coreState.currentFrameLimit, coreState.pollRate,
                               coreState.pollClock.getElapsedTime().asSeconds(), coreState.pollPeriod);
    if (due) {
        coreState.pollClock.restart();
        coreState.pollTicked = true;
        pollEvents();
    }
    runHook(audioHooks.afterFrame);
}

namespace OrvCore {

bool init()
{
    if (!audioHooksComplete()) {
        Log::error("OrvCore::init: The sound layer's hooks are not installed");
        return false;
    }
    captureErrorStream();
    loadCoreConfig();
    if (!displayAvailable()) {
        Log::error("OrvCore::init: No display to open a window on (is DISPLAY set?)");
        return false;
    }

    const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    bool displayOk;
    if (coreState.configFileMissing) {
        displayOk = setDisplayMode(static_cast<int>(desktop.width), static_cast<int>(desktop.height), 32, false);
    } else {
        const bool useDesktop = coreConfig.width == 0 || coreConfig.height == 0;
        displayOk = setDisplayMode(useDesktop ? static_cast<int>(desktop.width) : coreConfig.width,
                                   useDesktop ? static_cast<int>(desktop.height) : coreConfig.height,
                                   coreConfig.bpp, coreConfig.window);
    }
    if (!displayOk) {
        Log::error("OrvCore::init: The window could not be created");
        return false;
    }

    if (!ShaderManager::initShaders()) {
        Log::error("OrvCore::init: Shaders are not available on this machine");
        return false;
    }
    clearRedirect();
    loadTheme();

    if (!Text::init()) {
        showMessageBox("OrvCore::init: loadFonts failed.", "Error", MessageBoxButtons::Ok, MessageBoxIcon::Error);
        return false;
    }
    placeScreenMessages();

    Keyboard::buildKeyNames();
    loadInternalTextures();

    createFrameCounterText(); // once per process: it does nothing the second time

    audioHooks.start();

    if (!coreState.pollerStarted) {
        coreState.pollPeriod = 1.0f / static_cast<float>(coreState.pollRate);
        coreState.pollClock.restart();
        coreState.pollerStarted = true;
        Log::info(format("Events poller started at %d ticks per second", coreState.pollRate));
    }

    if (!scriptConsole().create()) {
        showMessageBox("OrvCore::Init: createConsole failed.", "Error", MessageBoxButtons::Ok,
                       MessageBoxIcon::Error);
        return false;
    }
    layoutConsole();
    coreState.initialised = true;
    // The headers this was built against are the library it runs with: the
    // Debian package pins both.
    Log::info(format("ZOZUR3 initialised using SFML v%d.%d.%d", SFML_VERSION_MAJOR, SFML_VERSION_MINOR,
                     SFML_VERSION_PATCH));

    if (!coreState.configFileMissing && coreConfig.emulatedWidth != 0 && coreConfig.emulatedHeight != 0)
        emulateResolution(coreConfig.emulatedWidth, coreConfig.emulatedHeight);
    if (coreState.emulationActive) {
        placeScreenMessages();
        layoutConsole();
    }
    return true;
}

void shutdown()
{
    if (!coreState.initialised)
        return;
    saveCoreConfig();
    if (coreState.emulationActive) {
        window().setView(window().getDefaultView());
        coreState.emulationActive = false;
    }
    releaseInternalTextures();
    scriptConsole().clearLines();
    coreState.pollerStarted = false;
    Log::info("Events poller stopped");
    audioHooks.stop();
    restoreErrorStream();
    if (isWindowOpen()) {
        ImGuiSfml::shutdown();
        window().close();
    }
    screenMessages().setEnabled(false);
    coreState.initialised = false;
}

} // namespace OrvCore
} // namespace orv
