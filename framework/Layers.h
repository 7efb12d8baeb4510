#pragma once
// Numbered drawing layers: the window and five off-screen textures of the
// window's size, composited once per frame by display(), which then draws the
// framework's overlays and the immediate-mode GUI and shows the frame.

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

enum LayerNumber : int {
    LayerRedirect = 0, ///< the current redirect target
    LayerWindow = 1,   ///< 1, 2 and every other number: the window
    LayerUi = 3,       ///< composited last
    LayerLight = 4,
    LayerGlow = 5,
    LayerBack = 6,     ///< composited first
    LayerFilter = 7,   ///< composited through the thermal-imaging shader
};

/// Counts a frame and, once its clock has run a second, publishes the count.
class FrameRateCounter {
public:
    /// Counts one frame; true when `clockSeconds` reached 1 and the caller
    /// must restart its clock.
    bool frame(float clockSeconds);
    int shown() const { return shown_; }

private:
    int count_ = 0;
    int shown_ = 0;
};

/// Observations of the last display(), for tests and the frame-rate read-out.
struct DisplayStats {
    std::uint64_t framesShown = 0;
    int layersComposited = 0; ///< of layers 3, 6 and 7 in the last frame
    std::uint64_t compositedPixels = 0; ///< the area those covered
    int framesPerSecond = 0;
};
extern DisplayStats displayStats;

/// A hint box the widgets asked display() to draw this frame.
struct Hint {
    std::string text;
    sf::Vector2f position;
};
extern std::vector<Hint> hintList;

/// The target of a layer, marking composited layers used. While drawing is
/// redirected the redirect target is returned unless `force` is set.
sf::RenderTarget& getLayerTarget(int number, bool force);
/// The same for a drawing within `bounds` (in the target's coordinates): a
/// composited layer is then composited and cleared only where drawn on.
/// Empty bounds stand for anywhere.
sf::RenderTarget& getLayerTargetFor(int number, bool force, const sf::FloatRect& bounds);
/// Sends every draw call to `target` until clearRedirect().
void setRedirect(sf::RenderTarget& target);
/// Back to drawing into the layers, with the window as layer 0.
void clearRedirect();
/// Re-creates layer textures whose size differs from the window's view. A
/// size that fails is logged once and not tried again until the view changes.
void ensureLayers();
/// Clears the window (or redirect target) unless the colour is transparent
/// black, then keeps the layers sized.
void beginFrame(const sf::Color& clearColour);
/// A textured quad from (left, top) to (right + 1, bottom + 1).
void drawTexture(int layer, const sf::Texture& texture, float left, float top, float right, float bottom,
                 const sf::IntRect& sourceRect, const sf::Color& colour);
/// The same quad into the window (or redirect target) with given states.
void drawTextureWithStates(const sf::RenderStates& states, const sf::Texture& texture, float left, float top,
                           float right, float bottom, const sf::IntRect& sourceRect, const sf::Color& colour);
/// Filled, or outlined with `thickness` when not filled.
void drawRectangle(int layer, const sf::Vector2f& position, const sf::Vector2f& size, const sf::Color& colour,
                   bool filled, float thickness);
/// A line drawn as a quad `width` wide.
void drawLine(const sf::Vector2f& from, const sf::Vector2f& to, const sf::Color& colour, float width);
/// Composites, draws the overlays and the GUI, shows the frame and runs the
/// core's post-frame step.
void display();
/// Sets up the frame-rate read-out (core start-up, once).
void createFrameCounterText();

} // namespace orv
