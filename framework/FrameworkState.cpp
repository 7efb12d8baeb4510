#include "framework/FrameworkState.h"

#include "framework/CoreConfig.h"
#include "framework/Keyboard.h"
#include "framework/Layers.h"
#include "framework/ScreenMessages.h"
#include "framework/Screenshot.h"
#include "framework/Signals.h"
#include "framework/gui/ScriptConsole.h"
#include "framework/gui/Theme.h"

namespace orv {

void resetFrameworkState()
{
    resetCoreConfig();
    resetTheme();
    clearPressedKeys();
    clearTypedText();
    screenMessages().reset();
    scriptConsole().clearLines();
    scriptConsole().visible = false;
    hintList.clear();
    screenshotPending = false;
    screenshotName.clear();
    resetQuitSignal();
}

} // namespace orv
