#pragma once
// The Options window, toggled with Escape.

/// Draws the window inside the current GUI frame; "Exit" ends the frame loop.
void drawOptionsWindow();
