#include "app/FrameLoop.h"

#include "app/OptionsWindow.h"
#include "framework/Core.h"
#include "framework/ImGuiSfml.h"
#include "framework/Keyboard.h"
#include "framework/Layers.h"
#include "framework/Signals.h"

#include <SFML/Window/Keyboard.hpp>

FrameLoopState frameLoop;

namespace {

void start()
{
    orv::ImGuiSfml::start(orv::window());
}

void handleHotKeys()
{
    if (!orv::windowHasFocus())
        return;
    if (orv::wasKeyPressed(sf::Keyboard::Escape, true))
        frameLoop.menuVisible = !frameLoop.menuVisible;
}

} // namespace

void runFrameLoop()
{
    start();
    for (;;) {
        orv::beginFrame(sf::Color::Black);
        if (orv::quitSignalled())
            frameLoop.quitRequested = true;

        if (frameLoop.menuVisible)
            drawOptionsWindow();

        if (orv::ImGuiSfml::wantsKeyboard())
            orv::clearPressedKeys();
        else
            handleHotKeys();

        orv::display();
        if (frameLoop.quitRequested)
            return;
    }
}
