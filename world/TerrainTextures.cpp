#include "world/TerrainTextures.h"

#include "framework/ContentFile.h"
#include "framework/DirectoryListing.h"
#include "framework/IniFile.h"
#include "framework/Log.h"
#include "framework/NumberedList.h"
#include "framework/PathUtil.h"
#include "framework/Signals.h"
#include "framework/StringUtil.h"

#include <SFML/Graphics/Image.hpp>

#include <algorithm>

std::array<TextureMaterial, maxTextureMaterials> textureMaterials;
int textureMaterialCount = 1;
std::vector<std::pair<std::uint32_t, std::int32_t>> textureMaterialMap;
std::vector<std::unique_ptr<TerrainTexture>> terrainTextures;

void loadTextureMaterials()
{
    textureMaterialCount = 1;
    const std::string file = textureMaterialsFile;
    orv::IniFile ini;
    // A missing file means no materials, which the format allows.
    if (ini.load(file) && !orv::holdsAnySection(ini, {"info", "textureMats"}, {"mat"}))
        orv::Log::warning(file + ": no material section or key found; no materials");

    ini.setSection("info");
    // The table has room for 127 materials past the default; real files name
    // a handful, and the table costs the same whatever the count.
    const orv::NumberedList list =
        orv::numberedSections(ini, "mat", ini.getInt("numMats", 0), maxTextureMaterials - 1);
    orv::warnAboutSections(file, "numMats", "mat", list, "that material takes the defaults",
                           "those materials take the defaults");
    for (int i = 0; i < list.count; ++i) {
        ini.selectSection("mat" + std::to_string(i));
        TextureMaterial& m = textureMaterials[static_cast<std::size_t>(textureMaterialCount)];
        m.nameHash = orv::nameHash(ini.getString("name", "(none)"));
        m.trackAlpha = std::clamp(ini.getFloat("trackAlpha", 0.0f), 0.0f, 1.0f);
        m.trackColour = ini.getColor("trackColour", sf::Color::White);
        ++textureMaterialCount;
    }

    textureMaterialMap.clear();
    ini.setSection("textureMats");
    std::vector<std::string> keys = ini.getKeys();
    if (keys.size() > maxTextureMaterialLinks)
        keys.resize(maxTextureMaterialLinks);
    int unknown = 0;
    for (const std::string& key : keys) {
        const std::string name = ini.getString(key, "");
        const std::uint32_t wanted = orv::nameHash(name);
        std::int32_t material = -1;
        for (int i = 0; i < textureMaterialCount && material < 0; ++i)
            if (textureMaterials[static_cast<std::size_t>(i)].nameHash == wanted)
                material = i;
        if (material < 0) {
            // A misspelt material leaves its ground without tracks: say so,
            // a few times at most.
            constexpr int maxWarnings = 20;
            if (unknown++ < maxWarnings)
                orv::Log::warning(std::string(textureMaterialsFile) + ": [textureMats] " + key + "=" +
                                  name.substr(0, 40) + " names no material; using material 0");
            material = 0;
        }
        textureMaterialMap.emplace_back(orv::nameHash(key), material);
    }
    orv::Log::write(std::string("Loaded texture materials from ") + textureMaterialsFile);
}

std::int32_t materialIndexForTexture(const std::string& textureName)
{
    const std::uint32_t hash = orv::nameHash(orv::removeExtension(textureName));
    for (const auto& link : textureMaterialMap)
        if (link.first == hash)
            return link.second;
    return 0;
}

namespace {

bool imageOpaque(const sf::Image& image)
{
    const sf::Vector2u size = image.getSize();
    const sf::Uint8* pixels = image.getPixelsPtr();
    const std::size_t count = static_cast<std::size_t>(size.x) * size.y;
    for (std::size_t i = 0; i < count; ++i)
        if (pixels[i * 4 + 3] != 255)
            return false;
    return count > 0;
}

} // namespace

void loadTerrainTextures()
{
    loadTextureMaterials();
    terrainTextures.clear();
    orv::DirectoryListing listing;
    listing.addExtension(".png");
    listing.scan("Data/Textures/", orv::DirectoryListing::FilesOnly, false);
    for (const orv::DirectoryEntry& entry : listing.entries()) {
        if (terrainTextures.size() >= maxTerrainTextures || orv::quitSignalled())
            break;
        if (!orv::checkContentFile("loadTerrainTextures", entry.path))
            continue;
        auto texture = std::make_unique<TerrainTexture>();
        texture->texture = std::make_unique<sf::Texture>();
        sf::Image image;
        if (!image.loadFromFile(orv::nativePath(entry.path)) || !texture->texture->loadFromImage(image)) {
            orv::Log::error("Failed to load texture from " + entry.path);
            continue;
        }
        texture->opaque = imageOpaque(image);
        texture->texture->setRepeated(true);
        texture->texture->setSmooth(true);
        texture->name = orv::removeExtension(entry.name);
        texture->materialIndex = materialIndexForTexture(texture->name);
        terrainTextures.push_back(std::move(texture));
    }
}

TerrainTexture* terrainTextureAt(std::int32_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= terrainTextures.size())
        return nullptr;
    return terrainTextures[static_cast<std::size_t>(index)].get();
}

const TextureMaterial& materialForTextureIndex(std::int32_t index)
{
    const TerrainTexture* texture = terrainTextureAt(index);
    if (!texture || texture->materialIndex < 0 || texture->materialIndex >= textureMaterialCount)
        return textureMaterials[0];
    return textureMaterials[static_cast<std::size_t>(texture->materialIndex)];
}

void setTerrainSmoothing(bool smooth)
{
    for (auto& texture : terrainTextures)
        if (texture->texture)
            texture->texture->setSmooth(smooth);
}
