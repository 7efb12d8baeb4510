#pragma once
// What the core calls in the sound layer, which lives above it: the core
// brings the framework up and down in one fixed order and runs every frame,
// modal boxes' frames included, and the sound bank has its places in both.
// The program installs the hooks before OrvCore::init (Audio::installCoreHooks);
// init refuses to start with one missing, so a forgotten hook is not a silent
// loss of sound.

#include <functional>

namespace orv {

struct AudioHooks {
    std::function<void()> start;      ///< before the event poller starts
    std::function<void()> stop;       ///< after the poller stops
    std::function<void()> afterFrame; ///< once per frame after the event poll
};

/// The process-wide hooks.
extern AudioHooks audioHooks;

/// True when every hook is installed.
bool audioHooksComplete();

} // namespace orv
