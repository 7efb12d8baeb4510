#include "framework/gui/GuiHooks.h"

#include "framework/CoreHooks.h"
#include "framework/Keyboard.h"
#include "framework/gui/InternalTextures.h"
#include "framework/gui/MessageBox.h"
#include "framework/gui/ScriptConsole.h"
#include "framework/gui/Theme.h"

#include <SFML/Window/Keyboard.hpp>

namespace orv {

void installGuiHooks()
{
    coreHooks.messageBox = showMessageBox;
    coreHooks.messageBoxOpen = isMessageBoxOpen;
    coreHooks.loadTheme = [] { loadTheme(); };
    coreHooks.loadGuiTextures = [] { loadInternalTextures(); };
    coreHooks.createConsole = [] { return scriptConsole().create(); };
    coreHooks.layoutConsole = [](float w, float h) { scriptConsole().layout(w, h); };
    coreHooks.stopGui = [] {
        releaseInternalTextures();
        scriptConsole().clearLines();
    };
    coreHooks.drawGui = [] {
        if (wasKeyPressed(sf::Keyboard::Tilde, true))
            scriptConsole().visible = !scriptConsole().visible;
        scriptConsole().draw();
    };
    coreHooks.printLine = [](const std::string& line, const sf::Color& colour) {
        scriptConsole().print(line, colour);
    };
}

} // namespace orv
