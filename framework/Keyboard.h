#pragma once
// Key state gathered by the event poll: the keys pressed since the last poll
// (tested and consumed one by one by program code), typed text, key names.

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

/// Pseudo key codes tested as Z or Y with the left Control key held.
constexpr std::int32_t keyCtrlZ = 98;
constexpr std::int32_t keyCtrlY = 99;

class Keyboard {
public:
    static constexpr std::size_t maxPressedKeys = 129;

    /// Appends a key press unless it is the unknown key (-1) or the list is full.
    static void addPressedKey(std::int32_t code);
    /// Builds the code-to-name table; once, at core start-up.
    static void buildKeyNames();
    /// No keys pressed, no typed text, the focus asked of the window again.
    static void reset();

    static std::vector<std::int32_t> pressedKeys;
    static std::string typedText;
    static int pollCount;
    /// Stands in for the window's focus where there is no window (tests).
    static int focusOverride; ///< -1: ask the window, 0: unfocused, 1: focused
};

/// True when `code` was pressed since the last poll (and the window has the
/// focus); with `consume` the press is taken out of the list.
bool wasKeyPressed(std::int32_t code, bool consume);
void clearPressedKeys();
/// The window has the focus and the key is held now.
bool isKeyDown(std::int32_t code);
/// Modal wait: true once the key has been held over half a second, false as
/// soon as it is released or a quit signal arrives. Keeps input, audio and
/// timing running meanwhile.
bool keyHeldHalfSecond(std::int32_t code);
void clearTypedText();
/// "Ctrl+Z", "Ctrl+Y", the key's name, or "" for an unknown code.
std::string getKeyName(std::int32_t code);
/// True when the window has the keyboard focus.
bool windowHasFocus();
/// The event poll: window events, key presses, text, mouse, close request.
void pollEvents();

} // namespace orv
