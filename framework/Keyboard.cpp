#include "framework/Keyboard.h"

#include "framework/AppInfo.h"
#include "framework/Core.h"
#include "framework/ImGuiSfml.h"
#include "framework/Log.h"
#include "framework/Screenshot.h"
#include "framework/ShaderManager.h"
#include "framework/Signals.h"
#include "framework/gui/MessageBox.h"

#include <SFML/System/Sleep.hpp>
#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace orv {

std::vector<std::int32_t> Keyboard::pressedKeys;
std::string Keyboard::typedText;
int Keyboard::pollCount = 0;
int Keyboard::focusOverride = -1;

namespace {

std::vector<std::pair<std::int32_t, std::string>> keyNames;

} // namespace

void Keyboard::addPressedKey(std::int32_t code)
{
    if (code == sf::Keyboard::Unknown)
        return;
    if (pressedKeys.size() >= maxPressedKeys) {
        Log::error("Keyboard::addPressedKey: Too many pressed keycodes.");
        return;
    }
    pressedKeys.push_back(code);
}

void Keyboard::reset()
{
    pressedKeys.clear();
    typedText.clear();
    focusOverride = -1;
}

void Keyboard::buildKeyNames()
{
    if (!keyNames.empty())
        return;
    auto add = [](std::int32_t code, const std::string& name) { keyNames.emplace_back(code, name); };
    for (int i = 0; i < 26; ++i)
        add(sf::Keyboard::A + i, std::string(1, static_cast<char>('A' + i)));
    for (int i = 0; i < 10; ++i)
        add(sf::Keyboard::Num0 + i, std::string(1, static_cast<char>('0' + i)));
    const char* named[] = {"Escape",      "left Control", "left Shift", "left Alt",
                           "Left OS system", "Right Control", "Right Shift", "Right Alt",
                           "Right OS system", "Menu",       "[",          "]",
                           ";",           ",",            ".",          "'",
                           "/",           "\\",           "`",          "=",
                           "-",           "Space",        "Return",     "Backspace",
                           "Tab",         "Page up",      "Page down",  "End",
                           "Home",        "Insert",       "Delete",     "+",
                           "-",           "*",            "/",          "Left arrow",
                           "Right arrow", "Up arrow",     "Down arrow"};
    std::int32_t code = sf::Keyboard::Escape;
    for (const char* name : named)
        add(code++, name);
    for (int i = 0; i < 10; ++i)
        add(sf::Keyboard::Numpad0 + i, "numpad " + std::to_string(i));
    for (int i = 0; i < 15; ++i)
        add(sf::Keyboard::F1 + i, "F" + std::to_string(i + 1));
    add(sf::Keyboard::Pause, "Pause");
}

bool windowHasFocus()
{
    if (Keyboard::focusOverride >= 0)
        return Keyboard::focusOverride == 1;
    return isWindowOpen() && window().hasFocus();
}

static bool takeKey(std::int32_t code, bool consume)
{
    auto& keys = Keyboard::pressedKeys;
    auto it = std::find(keys.begin(), keys.end(), code);
    if (it == keys.end())
        return false;
    if (consume)
        keys.erase(it);
    return true;
}

bool wasKeyPressed(std::int32_t code, bool consume)
{
    if (!windowHasFocus())
        return false;
    if (code == keyCtrlZ || code == keyCtrlY) {
        if (!sf::Keyboard::isKeyPressed(sf::Keyboard::LControl))
            return false;
        return takeKey(code == keyCtrlZ ? sf::Keyboard::Z : sf::Keyboard::Y, consume);
    }
    return takeKey(code, consume);
}

void clearPressedKeys()
{
    Keyboard::pressedKeys.clear();
}

bool isKeyDown(std::int32_t code)
{
    if (code < 0 || code >= sf::Keyboard::KeyCount || !windowHasFocus())
        return false;
    return sf::Keyboard::isKeyPressed(static_cast<sf::Keyboard::Key>(code));
}

bool keyHeldHalfSecond(std::int32_t code)
{
    sf::Clock held;
    for (;;) {
        updateFrame();
        if (!isKeyDown(code) || quitSignalled())
            return false;
        if (held.getElapsedTime().asSeconds() > 0.5f)
            return true;
        sf::sleep(sf::milliseconds(1));
    }
}

void clearTypedText()
{
    Keyboard::typedText.clear();
}

std::string getKeyName(std::int32_t code)
{
    if (code == keyCtrlZ)
        return "Ctrl+Z";
    if (code == keyCtrlY)
        return "Ctrl+Y";
    for (const auto& entry : keyNames)
        if (entry.first == code)
            return entry.second;
    return std::string();
}

// The window's close button. Fullscreen has no way to miss-click it, so only
// windowed mode asks first.
static void handleCloseRequest()
{
    if (isMessageBoxOpen())
        return; // already asking the user something
    if (coreState.windowed) {
        const MessageBoxResult answer =
            showMessageBox("Are you sure you want to close " + appInfo.title + " ?", "Confirm",
                           MessageBoxButtons::YesNo, MessageBoxIcon::Question);
        if (answer != MessageBoxResult::Yes)
            return;
    }
    Log::disable();
    window().close();
    OrvCore::shutdown();
    std::exit(0);
}

void pollEvents()
{
    ++Keyboard::pollCount;
    Keyboard::pressedKeys.clear();
    Keyboard::typedText.clear();

    sf::Event event;
    while (isWindowOpen() && window().pollEvent(event)) {
        if (ImGuiSfml::isActive())
            ImGuiSfml::processEvent(event);
        switch (event.type) {
        case sf::Event::Closed:
            handleCloseRequest();
            break;
        case sf::Event::KeyPressed:
            if (event.key.code == sf::Keyboard::F12) {
                if (windowHasFocus() && sf::Keyboard::isKeyPressed(sf::Keyboard::LControl)) {
                    ShaderManager::reloadAll();
                } else {
                    screenshotName.clear();
                    screenshotPending = true;
                }
            }
            Keyboard::addPressedKey(event.key.code);
            break;
        case sf::Event::TextEntered: {
            const sf::Uint32 c = event.text.unicode;
            if (c == '`')
                Keyboard::addPressedKey(sf::Keyboard::Tilde);
            else if (c < 128 && c != 8 && c != 13 && c != 9)
                Keyboard::typedText += static_cast<char>(c);
            break;
        }
        default:
            break;
        }
    }
}

} // namespace orv
