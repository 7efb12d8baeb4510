#pragma once
// The on-screen message list: the last lines the log posted, oldest first,
// each fading out after ten seconds of wall-clock time.

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Text.hpp>

#include <deque>
#include <string>

namespace orv {

struct ScreenMessage {
    std::string text;
    sf::Color colour;
    int age = 0;        ///< seconds seen; -1 never expires
    int lastSecond = 0; ///< UTC second of the minute last seen
    float width = 0.f;  ///< in the standard font at size 18
    mutable sf::Text drawable; ///< prepared when first drawn
};

class ScreenMessageList {
public:
    static constexpr std::size_t maxEntries = 11;
    static constexpr int maxAge = 10;

    /// Splits at line breaks (and the two characters "\n"), hands each line to
    /// the script console and appends it. Nothing happens while disabled.
    void post(const std::string& text, const sf::Color& colour);
    /// One poll tick: ages every entry whose second has changed and drops the
    /// ones older than maxAge.
    void age(int nowSecond);

    /// Accepting posts is tied to the render window being open.
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool isEnabled() const { return enabled_; }
    void clear() { entries_.clear(); }
    /// Empty, disabled, shown, at its first position: as before the window opened.
    void reset() { *this = ScreenMessageList(); }

    const std::deque<ScreenMessage>& entries() const { return entries_; }

    /// Where the list is drawn (top-left of its first line).
    sf::Vector2f position{10.f, 0.f};
    bool hidden = false;

private:
    void addLine(const std::string& line, const sf::Color& colour);

    std::deque<ScreenMessage> entries_;
    bool enabled_ = false;
};

/// The process-wide list.
ScreenMessageList& screenMessages();

/// Posts to the process-wide list.
void postScreenMessage(const std::string& text, const sf::Color& colour);

/// Current UTC second of the minute, 0 to 59.
int currentUtcSecond();

} // namespace orv
