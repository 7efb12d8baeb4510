#pragma once
// The five fonts every text of the program uses, and single-line drawing
// through one shared text object that is only changed where it differs.

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/System/Vector2.hpp>

#include <string>

namespace orv {

enum class FontSlot { Standard, Medium, Large, Mono, Osd };

class Text {
public:
    /// Loads the fonts from the framework folder; a missing font shows a
    /// message box naming it and gives false.
    static bool init();
    /// True once init() has loaded every font.
    static bool isLoaded();
    static const sf::Font& font(FontSlot slot);
    /// The file of a slot, as written ("zozur3\fonts\...").
    static std::string fontPath(FontSlot slot);
};

/// Outline for every line drawn until reset.
void setTextOutline(const sf::Color& colour, float thickness);
void resetTextOutline();
/// Draws one line with its top-left at `position` into a drawing layer.
void drawText(int layer, const sf::Vector2f& position, const sf::Color& colour, const std::string& text,
              FontSlot font, unsigned characterSize);
/// Width of the text's local bounds.
float textWidth(const std::string& text, FontSlot font, unsigned characterSize);
/// Width of `count` "0" characters: room reserved for a number.
float digitsWidth(FontSlot font, unsigned characterSize, int count);

} // namespace orv
