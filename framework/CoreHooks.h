#pragma once
// What the core calls in the layers above it. The core brings the whole
// framework up in one fixed order, but the GUI (theme, message boxes, console,
// icons) and the audio live above it; they register their steps here before
// OrvCore::init runs (installGuiHooks, Audio::installCoreHooks). An empty hook
// is skipped, so the core runs alone in tools and tests.

#include <SFML/Graphics/Color.hpp>

#include <functional>
#include <string>

namespace orv {

enum class MessageBoxButtons { Ok, YesNo };
enum class MessageBoxIcon { None, Error, Question };
enum class MessageBoxResult { Ok, Yes, No };

struct CoreHooks {
    /// A modal box; without the hook the core logs the text and answers OK,
    /// or No to a question.
    std::function<MessageBoxResult(const std::string& text, const std::string& caption, MessageBoxButtons,
                                   MessageBoxIcon)>
        messageBox;
    /// True while a box waits for its answer.
    std::function<bool()> messageBoxOpen;

    // Start-up steps, in the order init runs them.
    std::function<void()> loadTheme;        ///< after the shaders, before the fonts
    std::function<void()> loadGuiTextures;  ///< after the keyboard tables
    std::function<void()> startAudio;       ///< before the event poller starts
    std::function<bool()> createConsole;    ///< last; false fails the start
    std::function<void(float viewWidth, float viewHeight)> layoutConsole;

    // Shutdown steps, in the order shutdown runs them.
    std::function<void()> stopGui;   ///< icons released, console emptied
    std::function<void()> stopAudio; ///< after the poller stops

    /// Once per frame after the event poll (the sound voices).
    std::function<void()> afterFrame;
    /// Inside the immediate-mode frame, before it is rendered (the console).
    std::function<void()> drawGui;
    /// Every on-screen message line is mirrored here (the console's log).
    std::function<void(const std::string& line, const sf::Color& colour)> printLine;
};

/// The process-wide hooks.
extern CoreHooks coreHooks;

/// Shows a box through the hook, or logs it and answers OK (No to a question)
/// without one.
MessageBoxResult coreMessageBox(const std::string& text, const std::string& caption, MessageBoxButtons buttons,
                                MessageBoxIcon icon);

/// Colours the core draws with; the GUI theme sets them when it loads.
struct CorePalette {
    sf::Color messageWarning{243, 115, 23, 255};
    sf::Color messageError{255, 0, 0, 255};
    sf::Color hintBack{255, 255, 255, 192};
    sf::Color hintText{0, 0, 0, 255};
};

/// The process-wide palette.
extern CorePalette corePalette;

} // namespace orv
