#pragma once
// Plugs the GUI into the core: theme, message boxes, internal textures and
// the script console take their places in the core's start-up, frame and
// shutdown. The program calls this once, before OrvCore::init.

namespace orv {

/// Registers the GUI's steps in coreHooks.
void installGuiHooks();

} // namespace orv
