#include "framework/gui/InternalTextures.h"

#include "framework/ContentFile.h"
#include "framework/Core.h"
#include "framework/DirectoryListing.h"
#include "framework/Log.h"
#include "framework/PathUtil.h"
#include "framework/StringUtil.h"

#include <map>

namespace orv {

namespace {

constexpr int iconCell = 32;
constexpr int iconsPerRow = 16;

// By file name. The textures are released by releaseInternalTextures (core
// shutdown) while the window's context lives, not by the map's destruction.
std::map<std::string, sf::Texture*> internalTextures;

std::map<std::string, sf::Texture*>& textures()
{
    return internalTextures;
}

bool isPicture(const std::string& name)
{
    for (const char* ext : {".png", ".jpg", ".bmp", ".tga"})
        if (endsWithIgnoreCase(name, ext))
            return true;
    return false;
}

} // namespace

bool loadInternalTextures()
{
    releaseInternalTextures();
    DirectoryListing listing;
    listing.scan(joinPath(frameworkDataFolder, "textures\\"), DirectoryListing::FilesOnly, true);
    for (const DirectoryEntry& entry : listing.entries()) {
        if (!isPicture(entry.name))
            continue;
        auto* texture = new sf::Texture;
        if (checkContentFile("loadInternalTextures", entry.path) && texture->loadFromFile(nativePath(entry.path)))
            textures()[toLower(entry.name)] = texture;
        else
            delete texture;
    }
    if (!internalTexture("icons.png")) {
        Log::warning("No icon atlas in " + joinPath(frameworkDataFolder, "textures\\"));
        return false;
    }
    return true;
}

void releaseInternalTextures()
{
    for (auto& kv : textures())
        delete kv.second;
    textures().clear();
}

const sf::Texture* internalTexture(const std::string& fileName)
{
    auto it = textures().find(toLower(fileName));
    return it == textures().end() ? nullptr : it->second;
}

sf::Sprite iconSprite(int index)
{
    const sf::Texture* atlas = internalTexture("icons.png");
    if (!atlas || index < 0)
        return sf::Sprite();
    sf::Sprite sprite(*atlas, sf::IntRect((index % iconsPerRow) * iconCell, (index / iconsPerRow) * iconCell,
                                          iconCell, iconCell));
    sprite.setOrigin(iconCell * 0.5f, iconCell * 0.5f);
    return sprite;
}

} // namespace orv
