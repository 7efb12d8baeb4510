#pragma once
// The script console: keeps the lines the log hands it and the command history
// of earlier sessions. It runs no scripts; the backquote key shows its recent
// lines in a small read-only window.

#include <SFML/Graphics/Color.hpp>

#include <deque>
#include <string>
#include <vector>

namespace orv {

struct ConsoleLine {
    std::string text;
    sf::Color colour;
};

class ScriptConsole {
public:
    static constexpr std::size_t maxLines = 500;
    static constexpr const char* historyFileName = "scriptConsoleHistory.dat";
    static constexpr const char* historyId = "ZOZUR3 Script Console History";

    /// Loads the history; never fails on a missing or bad history file.
    bool create();
    /// Fits the console to the current view; called after every display change.
    void layout(float viewWidth, float viewHeight);
    /// Appends one line (the oldest drop out beyond maxLines).
    void print(const std::string& line, const sf::Color& colour);
    /// Destroys every line.
    void clearLines() { lines_.clear(); }
    /// The read-only window of recent lines, when visible (inside an ImGui frame).
    void draw();
    /// The backquote key shows or hides the window, then draw(); once per frame.
    void toggleAndDraw();
    /// Reads a history file; the history stays empty when it cannot be read.
    void loadHistory(const std::string& path);

    const std::deque<ConsoleLine>& lines() const { return lines_; }
    const std::vector<std::string>& history() const { return history_; }

    bool visible = false;
    float width = 640.f;
    float height = 240.f;

private:
    std::deque<ConsoleLine> lines_;
    std::vector<std::string> history_;
};

/// The process-wide console.
ScriptConsole& scriptConsole();

} // namespace orv
