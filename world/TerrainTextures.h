#pragma once
// Floor textures of map sectors ("Data/Textures/*.png") and the terrain
// materials ("Data\Textures.ini") that say how tyre tracks look on them.

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/VertexArray.hpp>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct TextureMaterial {
    std::uint32_t nameHash = 0;
    float trackAlpha = 0.0f;                 ///< 0 to 1
    sf::Color trackColour = sf::Color::Black;
};

struct TerrainTexture {
    std::string name; ///< file name without its last extension, case kept
    std::unique_ptr<sf::Texture> texture;
    bool opaque = false; ///< no texel is translucent
    sf::VertexArray vertexBuffer{sf::Triangles}; ///< scratch space of the sector drawing
    std::int32_t materialIndex = 0;
};

constexpr int maxTextureMaterials = 128;
constexpr std::size_t maxTerrainTextures = 1024;
constexpr std::size_t maxTextureMaterialLinks = 1024;
constexpr const char* textureMaterialsFile = "Data\\Textures.ini";

/// Entry 0 is the default material (no tracks); 1 to 127 come from the file.
extern std::array<TextureMaterial, maxTextureMaterials> textureMaterials;
extern int textureMaterialCount;
/// (texture name hash, material index), one per key of "textureMats".
extern std::vector<std::pair<std::uint32_t, std::int32_t>> textureMaterialMap;
/// In listing order; a sector's textureIndex is a position here.
extern std::vector<std::unique_ptr<TerrainTexture>> terrainTextures;

/// Reads the material table and the texture-to-material links.
void loadTextureMaterials();
/// Loads the materials, then every PNG of "Data/Textures/".
void loadTerrainTextures();
/// The material linked to a texture of this name (its last "." part removed
/// once more), or 0.
std::int32_t materialIndexForTexture(const std::string& textureName);
/// The texture at `index`, or null for -1 and anything out of range.
TerrainTexture* terrainTextureAt(std::int32_t index);
/// The material of the texture at `index`; entry 0 for no texture.
const TextureMaterial& materialForTextureIndex(std::int32_t index);
/// Switches smoothing of every terrain texture.
void setTerrainSmoothing(bool smooth);
