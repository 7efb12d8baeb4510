#pragma once
// What a vehicle is drawn from: its picture ("Data/Cars/" + name + ".png"),
// the body sprite, one sprite per wheel type and a small canvas in which a
// wheel gets its tread shade before it goes on screen.

#include "vehicle/VehicleDef.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <memory>
#include <vector>

struct VehicleAppearance {
    std::unique_ptr<sf::Texture> picture; ///< null without graphics
    sf::Sprite bodySprite;
    std::vector<sf::Sprite> wheelSprites; ///< one per wheel type
    std::vector<bool> wheelDrawn;         ///< per wheel type: visible and prepared
    sf::Vector2i canvasSize;              ///< widest by tallest visible wheel
    std::unique_ptr<sf::RenderTexture> wheelCanvas; ///< null without graphics or visible wheels
};

/// Rebuilds the appearance for a definition. Textures and the canvas need a
/// graphics context: without `withGraphics` only the sprites' rectangles and
/// the canvas size are set, so the physics runs headless. Rectangles are cut
/// to the picture when there is one (one warning naming the file).
void prepareAppearance(VehicleAppearance& look, const VehicleDef& def, bool withGraphics);
/// The part of `rect` on a picture of `size`; a negative width or height
/// (a mirrored image) keeps its sign.
sf::IntRect rectOnPicture(const sf::IntRect& rect, const sf::Vector2u& size);
/// Drops the picture, sprites and canvas (a vehicle without definition).
void clearAppearance(VehicleAppearance& look);
