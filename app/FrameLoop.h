#pragma once
// The test bed's frame loop: one iteration per displayed frame until the user
// chooses "Exit" in the Options window (or the process is asked to stop).

struct FrameLoopState {
    bool menuVisible = false;
    bool quitRequested = false;
};

/// The process-wide loop state, read by the on-screen windows.
extern FrameLoopState frameLoop;

/// Runs the loop; returns after the frame in which quitting was requested.
void runFrameLoop();
