#include "framework/CoreHooks.h"

#include "framework/Log.h"

#include <cstdio>

namespace orv {

CoreHooks coreHooks;
CorePalette corePalette;

MessageBoxResult coreMessageBox(const std::string& text, const std::string& caption, MessageBoxButtons buttons,
                                MessageBoxIcon icon)
{
    if (coreHooks.messageBox)
        return coreHooks.messageBox(text, caption, buttons, icon);
    Log::write("Message box \"" + caption + "\": " + text);
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return buttons == MessageBoxButtons::YesNo ? MessageBoxResult::No : MessageBoxResult::Ok;
}

} // namespace orv
