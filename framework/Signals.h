#pragma once
// SIGINT and SIGTERM ask the program to leave the way "Exit" does: the frame
// loop and every modal loop end, settings and configuration are written.

namespace orv {

/// Installs the handlers (once, at start-up).
void installQuitSignals();
/// True once SIGINT or SIGTERM has arrived.
bool quitSignalled();

} // namespace orv
