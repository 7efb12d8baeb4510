#pragma once
// SIGINT and SIGTERM ask the program to leave the way "Exit" does: the frame
// loop, every modal loop and the loaders end, settings and configuration are
// written. A second signal, for a program that does not leave, ends the
// process at once.

namespace orv {

/// Installs the handlers (once, at start-up).
void installQuitSignals();
/// True once SIGINT or SIGTERM has arrived.
bool quitSignalled();
/// Forgets an earlier signal, so that the next one asks again rather than
/// ending the process (tests).
void resetQuitSignal();

} // namespace orv
