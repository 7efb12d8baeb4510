#pragma once
// The framework's internal textures from "zozur3\textures\" and the icon atlas
// the toolkit cuts its icons from.

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <string>

namespace orv {

/// Loads every picture of the folder; false when the icon atlas is missing.
bool loadInternalTextures();
/// Releases them (core shutdown).
void releaseInternalTextures();
/// A loaded texture by file name ("white.png"), or null.
const sf::Texture* internalTexture(const std::string& fileName);
/// Icon `index` of the atlas (32 x 32 cells, 16 to a row) with its origin at
/// its centre; an empty sprite when the atlas is missing.
sf::Sprite iconSprite(int index);

} // namespace orv
