#pragma once
// The framework's mutable state, listed in one place:
// - appInfo (AppInfo.h): the program's name, version and log path, set once
//   by main;
// - coreConfig (CoreConfig.h): "zozur3.ini" as read and as it will be saved;
// - coreState (Core.h): the window's mode, vertical sync, the poll clock and
//   the frame time; the window itself (Core.cpp) lives as long as the process;
// - the keys pressed and text typed since the last poll, the key names
//   (Keyboard.h);
// - the drawing layers and their render textures, the hints, displayStats
//   (Layers.h); the fonts and text outline (Text.h); the shader table
//   (ShaderManager.h): these hold GL objects and live as long as the process,
//   which ends with their context;
// - the screen messages (ScreenMessages.h), the script console
//   (gui/ScriptConsole.h), the theme (gui/Theme.h), the open message box
//   (gui/MessageBox.h), the internal textures (gui/InternalTextures.h);
// - the log (Log.h), the program clock (ProgramClock.h), the quit flag
//   (Signals.h), the screenshot request (Screenshot.h), the GUI's pending
//   mouse and key input (ImGuiSfml.h), the widget trace the end-to-end tests
//   read (WidgetTrace.h) and the sound layer's hooks (AudioHooks.h).

namespace orv {

/// What does not belong to the window back to its start: the configuration,
/// the theme, pressed keys and typed text, screen messages, the console's
/// lines, hints, a screenshot request and the quit flag. The log, the clock,
/// the window and its GL objects are left alone.
void resetFrameworkState();

} // namespace orv
