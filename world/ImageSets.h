#pragma once
// Texture image sets: atlases ("Data/Images/*.png") with INI files naming
// rectangles on them. Object definitions refer to the named images.

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct TextureImage {
    std::string name;          ///< compared exactly
    std::int32_t setIndex = 0; ///< index into imageSetTextures
    sf::Sprite sprite;         ///< its rectangle on the set's texture, origin at the centre
};

/// One texture per loaded set, in load order. Owned through pointers so a
/// texture never moves while sprites point at it.
extern std::vector<std::unique_ptr<sf::Texture>> imageSetTextures;
/// Every named image of every set, in load order.
extern std::vector<TextureImage> textureImages;

constexpr const char* imageSetId = "Zendrix 2 Texture Images";
/// A 4096 x 4096 atlas, the largest texture many GPUs take, cut into 64 x 64
/// images holds 4096; our sets hold a handful. A lying count that reaches the
/// cap costs about a megabyte of empty images.
constexpr int maxImagesPerSet = 4096;

/// Reloads every set of "Data/Images/".
void loadImageSets();
/// Loads one set file and its atlas; a bad set is skipped with an error line.
void loadImageSet(const std::string& path);
/// Index of the first image with this exact name, or -1.
int findTextureImage(const std::string& name);
/// Switches smoothing of every set texture.
void setImageSetSmoothing(bool smooth);
