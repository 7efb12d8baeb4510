#include "framework/Layers.h"

#include "framework/Core.h"
#include "framework/ImGuiSfml.h"
#include "framework/Keyboard.h"
#include "framework/Log.h"
#include "framework/ScreenMessages.h"
#include "framework/Screenshot.h"
#include "framework/ShaderManager.h"
#include "framework/StringUtil.h"
#include "framework/Text.h"
#include "framework/gui/ScriptConsole.h"
#include "framework/gui/Theme.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/VertexArray.hpp>
#include <SFML/Window/Keyboard.hpp>

#include <algorithm>
#include <cmath>

namespace orv {

DisplayStats displayStats;
std::vector<Hint> hintList;

bool FrameRateCounter::frame(float clockSeconds)
{
    ++count_;
    if (clockSeconds < 1.0f)
        return false;
    shown_ = count_;
    count_ = 0;
    return true;
}

namespace {

struct LayerState {
    // Indexed by layer number; 0 to 2 are not textures.
    sf::RenderTexture* textures[8] = {};
    bool created[8] = {};
    bool used[8] = {};
    // What the frame drew into a layer: the whole of it, or only `areas` (in
    // texture pixels, never overlapping: each is composited once).
    bool usedWhole[8] = {};
    std::vector<sf::IntRect> areas[8];
    bool lightingAvailable = true;
    bool lightingWanted = false; ///< someone drew into the light or glow layer
    bool redirect = false;
    sf::RenderTarget* redirectTarget = nullptr;
    bool filterShaderBound = false;
    sf::Vector2u failedSize; ///< the view size whose textures could not be made
    FrameRateCounter fps;
    sf::Clock fpsClock;
    bool fpsTextReady = false;
    sf::Text fpsText;
    float fpsReservedWidth = 0.f;
    sf::RectangleShape fpsBackdrop;
    sf::VertexArray quad{sf::TriangleStrip, 4};
};

// Never destroyed: render textures hold GL objects that must not be released
// after the context is gone at exit.
LayerState& layers()
{
    static LayerState& s = *new LayerState;
    return s;
}

// A view length in whole pixels; anything past what a texture could ever be
// is cut, so that the conversion cannot overflow.
unsigned wholePixels(float length)
{
    if (!(length > 0.f))
        return 0;
    return static_cast<unsigned>(std::min(length, 1048576.f));
}

bool isTextureLayer(int number)
{
    return number >= LayerUi && number <= LayerFilter;
}

sf::RenderTarget& currentTarget()
{
    LayerState& s = layers();
    return s.redirect && s.redirectTarget ? *s.redirectTarget : static_cast<sf::RenderTarget&>(window());
}

// A few separate rectangles keep the HUD's corners apart; past that, areas
// merge into the one they grow least.
constexpr std::size_t maxDrawnAreas = 4;

sf::IntRect unite(const sf::IntRect& a, const sf::IntRect& b)
{
    const int left = std::min(a.left, b.left), top = std::min(a.top, b.top);
    return sf::IntRect(left, top, std::max(a.left + a.width, b.left + b.width) - left,
                       std::max(a.top + a.height, b.top + b.height) - top);
}

long long areaOf(const sf::IntRect& r)
{
    return static_cast<long long>(r.width) * r.height;
}

// Adds a drawn rectangle to a layer's areas, keeping them apart: any two
// that meet become one.
void addDrawnArea(std::vector<sf::IntRect>& areas, sf::IntRect drawn)
{
    for (;;) {
        std::size_t meeting = areas.size();
        for (std::size_t i = 0; i < areas.size() && meeting == areas.size(); ++i) {
            sf::IntRect common;
            if (areas[i].intersects(drawn, common))
                meeting = i;
        }
        if (meeting == areas.size())
            break;
        drawn = unite(drawn, areas[meeting]);
        areas.erase(areas.begin() + static_cast<std::ptrdiff_t>(meeting));
    }
    if (areas.size() < maxDrawnAreas) {
        areas.push_back(drawn);
        return;
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < areas.size(); ++i)
        if (areaOf(unite(areas[i], drawn)) - areaOf(areas[i]) < areaOf(unite(areas[best], drawn)) - areaOf(areas[best]))
            best = i;
    const sf::IntRect merged = unite(areas[best], drawn);
    areas.erase(areas.begin() + static_cast<std::ptrdiff_t>(best));
    addDrawnArea(areas, merged); // it may meet others now
}

// The parts of a layer the frame drew on, cut to the texture: the whole
// texture when anything may have been drawn anywhere.
std::vector<sf::IntRect> drawnAreas(int number)
{
    const LayerState& s = layers();
    const sf::Vector2u size = s.textures[number]->getSize();
    const sf::IntRect whole(0, 0, static_cast<int>(size.x), static_cast<int>(size.y));
    if (s.usedWhole[number])
        return {whole};
    std::vector<sf::IntRect> cut;
    for (const sf::IntRect& area : s.areas[number]) {
        sf::IntRect inside;
        if (area.intersects(whole, inside))
            cut.push_back(inside);
    }
    return cut;
}

// Draws a finished layer texture over the window's view. Only the part the
// frame drew on is drawn: everywhere else the texture is transparent, which
// blends to no change (and costs a software rasteriser a screen of pixels).
// With `whole` the full view is drawn, as a shader may colour transparency.
void compositeLayer(int number, const sf::RenderStates& states, bool whole)
{
    LayerState& s = layers();
    sf::RenderTexture& texture = *s.textures[number];
    texture.display();
    const sf::Vector2u size = texture.getSize();
    const std::vector<sf::IntRect> areas =
        whole ? std::vector<sf::IntRect>{sf::IntRect(0, 0, static_cast<int>(size.x), static_cast<int>(size.y))}
              : drawnAreas(number);
    ++displayStats.layersComposited;
    const sf::View& view = window().getView();
    const sf::Vector2f origin = view.getCenter() - view.getSize() * 0.5f;
    for (const sf::IntRect& area : areas) {
        displayStats.compositedPixels += static_cast<std::uint64_t>(areaOf(area));
        sf::Sprite sprite(texture.getTexture(), area);
        sprite.setPosition(origin + sf::Vector2f(static_cast<float>(area.left), static_cast<float>(area.top)));
        window().draw(sprite, states);
    }
}

// Makes a composited layer transparent again and forgets what was drawn on
// it. The whole texture is cleared: that costs little, and clearing only the
// drawn rectangles by drawing into the texture left the window's next frames
// without their textures after a screenshot.
void clearCompositedLayer(int number)
{
    LayerState& s = layers();
    s.textures[number]->clear(sf::Color::Transparent);
    s.usedWhole[number] = false;
    s.areas[number].clear();
}

void drawScreenMessages()
{
    ScreenMessageList& list = screenMessages();
    if (coreState.pollTicked)
        list.age(currentUtcSecond());
    if (list.hidden || list.entries().empty() || !Text::isLoaded())
        return;

    const sf::Font& font = Text::font(FontSlot::Standard);
    const unsigned size = 18;
    const float spacing = font.getLineSpacing(size);
    const auto& entries = list.entries();
    // Drawables are prepared here, not when posted: the first messages
    // arrive before the fonts are loaded (and so carry no width either).
    float widest = 0.f;
    for (const ScreenMessage& m : entries) {
        sf::Text& t = m.drawable;
        if (t.getFont() != &font) {
            t.setFont(font);
            t.setCharacterSize(size);
            t.setString(m.text);
            t.setFillColor(m.colour);
            t.setOutlineColor(sf::Color::Black);
            t.setOutlineThickness(1.f);
        }
        widest = std::max(widest, m.width > 0.f ? m.width : t.getLocalBounds().width);
    }
    const float bottom = list.position.y;
    const float top = bottom - spacing * static_cast<float>(entries.size() - 1);

    sf::RectangleShape back(sf::Vector2f(widest + 12.f, spacing * static_cast<float>(entries.size()) + 8.f));
    back.setPosition(list.position.x - 6.f, top - 4.f);
    back.setFillColor(sf::Color(0, 0, 0, 96));
    getLayerTargetFor(LayerUi, false, back.getGlobalBounds()).draw(back);

    float y = top;
    for (const ScreenMessage& m : entries) {
        sf::Text& t = m.drawable;
        t.setPosition(list.position.x, y);
        getLayerTargetFor(LayerUi, false, t.getGlobalBounds()).draw(t);
        y += spacing;
    }
}

void drawHints()
{
    if (hintList.empty() || !Text::isLoaded())
        return;
    for (const Hint& hint : hintList) {
        sf::Text t(hint.text, Text::font(FontSlot::Standard), 16);
        t.setFillColor(theme.clHintText);
        const sf::FloatRect b = t.getLocalBounds();
        sf::RectangleShape box(sf::Vector2f(b.width + 12.f, b.height + 12.f));
        box.setPosition(hint.position);
        box.setFillColor(theme.clHintBack);
        getLayerTargetFor(LayerUi, false, box.getGlobalBounds()).draw(box);
        t.setPosition(hint.position + sf::Vector2f(6.f - b.left, 6.f - b.top));
        getLayerTargetFor(LayerUi, false, t.getGlobalBounds()).draw(t);
    }
    hintList.clear();
}

void drawFrameCounter()
{
    LayerState& s = layers();
    if (!coreState.showFps || !s.fpsTextReady)
        return;
    s.fpsText.setString(std::to_string(s.fps.shown()) + " FPS");
    const sf::View& view = window().getView();
    const sf::Vector2f origin = view.getCenter() - view.getSize() * 0.5f;
    s.fpsText.setPosition(origin.x + view.getSize().x - s.fpsReservedWidth, origin.y + 20.f);
    const sf::FloatRect b = s.fpsText.getGlobalBounds();
    s.fpsBackdrop.setPosition(b.left - 5.f, b.top - 5.f);
    s.fpsBackdrop.setSize(sf::Vector2f(b.width + 10.f, b.height + 10.f));
    window().draw(s.fpsBackdrop);
    window().draw(s.fpsText);
}

void setQuad(const sf::Texture& texture, float left, float top, float right, float bottom,
             const sf::IntRect& sourceRect, const sf::Color& colour)
{
    sf::VertexArray& q = layers().quad;
    sf::FloatRect src(0.f, 0.f, static_cast<float>(texture.getSize().x), static_cast<float>(texture.getSize().y));
    if (sourceRect.width != 0 && sourceRect.height != 0)
        src = sf::FloatRect(sourceRect);
    q[0] = sf::Vertex({left, top}, colour, {src.left, src.top});
    q[1] = sf::Vertex({left, bottom + 1.f}, colour, {src.left, src.top + src.height});
    q[2] = sf::Vertex({right + 1.f, top}, colour, {src.left + src.width, src.top});
    q[3] = sf::Vertex({right + 1.f, bottom + 1.f}, colour, {src.left + src.width, src.top + src.height});
}

} // namespace

sf::RenderTarget& getLayerTarget(int number, bool force)
{
    // Whatever the caller draws may reach any pixel of the layer.
    return getLayerTargetFor(number, force, sf::FloatRect());
}

sf::RenderTarget& getLayerTargetFor(int number, bool force, const sf::FloatRect& bounds)
{
    LayerState& s = layers();
    if (s.redirect && !force && s.redirectTarget)
        return *s.redirectTarget;
    if (number == LayerRedirect)
        return s.redirectTarget ? *s.redirectTarget : static_cast<sf::RenderTarget&>(window());
    if (!isTextureLayer(number))
        return window();
    // The light and glow layers are made on first use: nothing in the
    // program lights the scene, and two screen-sized textures resized with
    // every view change would be memory and time for nothing.
    if ((number == LayerLight || number == LayerGlow) && !s.lightingWanted) {
        s.lightingWanted = true;
        ensureLayers();
    }
    if (!s.textures[number])
        return window();
    if (number == LayerUi || number == LayerBack || number == LayerFilter)
        s.used[number] = true;
    sf::RenderTexture& texture = *s.textures[number];
    if (bounds.width > 0.f && bounds.height > 0.f && !s.usedWhole[number]) {
        // The bounds' corners in texture pixels through the texture's view,
        // widened by a pixel each way: a pixel more than drawn changes nothing
        // in the picture, a pixel less would lose what was drawn there.
        const sf::Vector2i corners[4] = {
            texture.mapCoordsToPixel({bounds.left, bounds.top}),
            texture.mapCoordsToPixel({bounds.left + bounds.width, bounds.top}),
            texture.mapCoordsToPixel({bounds.left, bounds.top + bounds.height}),
            texture.mapCoordsToPixel({bounds.left + bounds.width, bounds.top + bounds.height})};
        int left = corners[0].x, top = corners[0].y, right = left, bottom = top;
        for (const sf::Vector2i& c : corners) {
            left = std::min(left, c.x);
            top = std::min(top, c.y);
            right = std::max(right, c.x);
            bottom = std::max(bottom, c.y);
        }
        addDrawnArea(s.areas[number], sf::IntRect(left - 2, top - 2, right - left + 4, bottom - top + 4));
    } else if (!(bounds.width > 0.f && bounds.height > 0.f)) {
        s.usedWhole[number] = true; // no bounds given: any pixel
    }
    return texture;
}

void setRedirect(sf::RenderTarget& target)
{
    layers().redirectTarget = &target;
    layers().redirect = true;
}

void clearRedirect()
{
    layers().redirectTarget = &window();
    layers().redirect = false;
}

void ensureLayers()
{
    LayerState& s = layers();
    const sf::Vector2f viewSize = window().getView().getSize();
    const unsigned w = wholePixels(viewSize.x), h = wholePixels(viewSize.y);
    if (w == 0 || h == 0)
        return;
    // A size the textures cannot take is tried once, not in every frame: the
    // next attempt waits for the view to change.
    if (s.failedSize == sf::Vector2u(w, h))
        return;
    const unsigned maxSide = sf::Texture::getMaximumSize();
    std::string failed;
    for (int n = LayerUi; n <= LayerFilter; ++n) {
        if ((n == LayerLight || n == LayerGlow) && !s.lightingWanted)
            continue;
        if (!s.textures[n])
            s.textures[n] = new sf::RenderTexture;
        const sf::Vector2u size = s.textures[n]->getSize();
        if (s.created[n] && size.x == w && size.y == h)
            continue;
        // Beyond the largest texture the media library would only complain.
        s.created[n] = w <= maxSide && h <= maxSide && s.textures[n]->create(w, h);
        if (s.created[n])
            s.textures[n]->clear(sf::Color::Transparent);
        else
            failed += (failed.empty() ? "" : ", ") + std::to_string(n);
        if ((n == LayerLight || n == LayerGlow) && !s.created[n])
            s.lightingAvailable = false;
        if (n == LayerFilter)
            s.filterShaderBound = false; // a new texture must be bound again
    }
    if (failed.empty()) {
        s.failedSize = sf::Vector2u();
        return;
    }
    s.failedSize = sf::Vector2u(w, h);
    Log::error(format("Drawing layers %s cannot be made at %u by %u pixels (largest texture %u)", failed.c_str(),
                      w, h, maxSide));
}

void beginFrame(const sf::Color& clearColour)
{
    if (clearColour != sf::Color(0, 0, 0, 0))
        currentTarget().clear(clearColour);
    ensureLayers();
}

void drawTexture(int layer, const sf::Texture& texture, float left, float top, float right, float bottom,
                 const sf::IntRect& sourceRect, const sf::Color& colour)
{
    setQuad(texture, left, top, right, bottom, sourceRect, colour);
    getLayerTargetFor(layer, false, layers().quad.getBounds()).draw(layers().quad, sf::RenderStates(&texture));
}

void drawTextureWithStates(const sf::RenderStates& states, const sf::Texture& texture, float left, float top,
                           float right, float bottom, const sf::IntRect& sourceRect, const sf::Color& colour)
{
    setQuad(texture, left, top, right, bottom, sourceRect, colour);
    sf::RenderStates withTexture = states;
    withTexture.texture = &texture;
    currentTarget().draw(layers().quad, withTexture);
}

void drawRectangle(int layer, const sf::Vector2f& position, const sf::Vector2f& size, const sf::Color& colour,
                   bool filled, float thickness)
{
    sf::RectangleShape rect(size);
    rect.setPosition(position);
    if (filled) {
        rect.setFillColor(colour);
    } else {
        rect.setFillColor(sf::Color::Transparent);
        rect.setOutlineColor(colour);
        rect.setOutlineThickness(thickness);
    }
    getLayerTargetFor(layer, false, rect.getGlobalBounds()).draw(rect);
}

void drawLine(const sf::Vector2f& from, const sf::Vector2f& to, const sf::Color& colour, float width)
{
    const sf::Vector2f d = to - from;
    const float length = std::sqrt(d.x * d.x + d.y * d.y);
    if (length <= 0.f)
        return;
    const sf::Vector2f n(-d.y / length * width * 0.5f, d.x / length * width * 0.5f);
    sf::VertexArray& q = layers().quad;
    q[0] = sf::Vertex(from + n, colour);
    q[1] = sf::Vertex(from - n, colour);
    q[2] = sf::Vertex(to + n, colour);
    q[3] = sf::Vertex(to - n, colour);
    currentTarget().draw(q);
}

void createFrameCounterText()
{
    LayerState& s = layers();
    if (s.fpsTextReady || !Text::isLoaded())
        return;
    s.fpsText.setFont(Text::font(FontSlot::Medium));
    s.fpsText.setCharacterSize(24);
    s.fpsText.setFillColor(sf::Color::White);
    s.fpsReservedWidth = digitsWidth(FontSlot::Medium, 24, 8);
    s.fpsBackdrop.setFillColor(sf::Color(0, 0, 0, 192));
    s.fpsTextReady = true;
}

void display()
{
    LayerState& s = layers();
    sf::RenderWindow& w = window();
    displayStats.layersComposited = 0;
    displayStats.compositedPixels = 0;
    w.setMouseCursorVisible(true);

    if (s.used[LayerBack] && s.created[LayerBack]) {
        compositeLayer(LayerBack, sf::RenderStates::Default, false);
        clearCompositedLayer(LayerBack);
    }
    s.used[LayerBack] = false;

    // Lighting pass: nothing in this program submits lights, so the light and
    // glow layers would leave the picture unchanged; they are not drawn.

    if (s.used[LayerFilter] && s.created[LayerFilter]) {
        ShaderRecord& thermal = ShaderManager::get(frameworkShaders.thermalImaging);
        sf::RenderStates states;
        if (thermal.loaded) {
            if (!s.filterShaderBound) {
                thermal.shader->setUniform("texture", sf::Shader::CurrentTexture);
                s.filterShaderBound = true;
            }
            states.shader = &thermal.shader->shader();
        }
        compositeLayer(LayerFilter, states, true);
        s.textures[LayerFilter]->clear(sf::Color::Transparent);
        s.usedWhole[LayerFilter] = false;
        s.areas[LayerFilter].clear();
    }
    s.used[LayerFilter] = false;

    drawScreenMessages();
    drawHints();

    if (s.used[LayerUi] && s.created[LayerUi]) {
        compositeLayer(LayerUi, sf::RenderStates::Default, false);
        if (!screenshotPending)
            clearCompositedLayer(LayerUi);
    }
    s.used[LayerUi] = false;

    if (s.fps.frame(s.fpsClock.getElapsedTime().asSeconds()))
        s.fpsClock.restart();
    displayStats.framesPerSecond = s.fps.shown();

    if (ImGuiSfml::isActive() && coreState.frameTime > 0.f) {
        scriptConsole().toggleAndDraw();
        ImGuiSfml::render(w);
        ImGuiSfml::newFrame(w, coreState.frameTime);
    }

    drawFrameCounter();

    if (screenshotPending) {
        screenshotPending = false;
        takeScreenshot();
        if (s.textures[LayerUi] && s.created[LayerUi])
            clearCompositedLayer(LayerUi);
    }

    w.display();
    updateFrame();
    ++displayStats.framesShown;
}

} // namespace orv
