#include "framework/Text.h"

#include "framework/ContentFile.h"
#include "framework/Core.h"
#include "framework/Layers.h"
#include "framework/PathUtil.h"
#include "framework/gui/MessageBox.h"

#include <SFML/Graphics/Text.hpp>

namespace orv {

namespace {

struct FontFile {
    const char* file;
    const char* failure;
};

const FontFile fontFiles[] = {
    {"fonts\\Roboto-Regular.ttf", "Text::init: Unable to read standard font from "},
    {"fonts\\Roboto-Regular.ttf", "Text::init: Unable to read medium font from "},
    {"fonts\\Roboto-Regular.ttf", "Text::init: Unable to read large font from "},
    {"fonts\\RobotoMono-Regular.ttf", "Text::init: Unable to read mono font from "},
    {"fonts\\UAV-OSD-Sans-Mono.ttf", "Text::init: Unable to read font from "},
};
constexpr int fontCount = 5;

struct TextState {
    sf::Font fonts[fontCount];
    bool loaded = false;
    sf::Text shared;
    float outlineThickness = 0.f;
    sf::Color outlineColour = sf::Color::Black;
};

// Fonts live for the whole process and are never destroyed: glyph textures
// must not outlive the GL context at exit.
TextState& state()
{
    static TextState& s = *new TextState;
    return s;
}

} // namespace

std::string Text::fontPath(FontSlot slot)
{
    return joinPath(frameworkDataFolder, fontFiles[static_cast<int>(slot)].file);
}

bool Text::init()
{
    TextState& s = state();
    s.loaded = false;
    for (int i = 0; i < fontCount; ++i) {
        const std::string path = fontPath(static_cast<FontSlot>(i));
        if (!checkContentFile("Text::init", path) || !s.fonts[i].loadFromFile(nativePath(path))) {
            showMessageBox(fontFiles[i].failure + path, "Error", MessageBoxButtons::Ok, MessageBoxIcon::Error);
            return false;
        }
    }
    s.shared.setFont(s.fonts[0]);
    s.shared.setCharacterSize(18);
    s.loaded = true;
    return true;
}

bool Text::isLoaded()
{
    return state().loaded;
}

const sf::Font& Text::font(FontSlot slot)
{
    return state().fonts[static_cast<int>(slot)];
}

void setTextOutline(const sf::Color& colour, float thickness)
{
    state().outlineColour = colour;
    state().outlineThickness = thickness;
}

void resetTextOutline()
{
    setTextOutline(sf::Color::Black, 0.f);
}

void drawText(int layer, const sf::Vector2f& position, const sf::Color& colour, const std::string& text,
              FontSlot font, unsigned characterSize)
{
    TextState& s = state();
    if (!s.loaded)
        return;
    sf::Text& t = s.shared;
    // Only touch what differs: every setter re-lays the glyphs out.
    const sf::Font* wanted = &s.fonts[static_cast<int>(font)];
    if (t.getFont() != wanted)
        t.setFont(*wanted);
    if (t.getCharacterSize() != characterSize)
        t.setCharacterSize(characterSize);
    if (t.getString() != text)
        t.setString(text);
    if (t.getPosition() != position)
        t.setPosition(position);
    if (t.getFillColor() != colour)
        t.setFillColor(colour);
    if (t.getOutlineThickness() != s.outlineThickness)
        t.setOutlineThickness(s.outlineThickness);
    if (t.getOutlineColor() != s.outlineColour)
        t.setOutlineColor(s.outlineColour);
    getLayerTargetFor(layer, false, t.getGlobalBounds()).draw(t);
}

float textWidth(const std::string& text, FontSlot font, unsigned characterSize)
{
    if (!state().loaded)
        return 0.f;
    sf::Text t(text, state().fonts[static_cast<int>(font)], characterSize);
    return t.getLocalBounds().width;
}

float digitsWidth(FontSlot font, unsigned characterSize, int count)
{
    return textWidth(std::string(static_cast<std::size_t>(count > 0 ? count : 0), '0'), font, characterSize);
}

} // namespace orv
