#include "world/ObjectDefs.h"

#include "framework/DirectoryListing.h"
#include "framework/IniFile.h"
#include "framework/Log.h"
#include "framework/PathUtil.h"
#include "framework/Signals.h"
#include "world/ImageSets.h"

std::vector<ObjectDef> objectDefs;

void loadObjectDef(const std::string& path)
{
    orv::IniFile ini;
    if (!ini.load(path)) {
        orv::Log::error("Failed to load file " + path);
        return;
    }
    objectDefs.emplace_back();
    ObjectDef& def = objectDefs.back();
    def.name = orv::fileNamePart(path);
    def.desc = ini.getString("desc", "");
    def.objectScale = ini.getFloat("objectScale", 1.0f);
    def.mass = ini.getFloat("mass", 0.0f);
    def.hasCollision = ini.getBool("hasCollision", true);
    def.collisionSize = ini.getVector2i("collisionSize", sf::Vector2i(0, 0));
    def.isKinematic = ini.getBool("isKinematic", false);

    // Checked here so that the physics never sees an infinite or huge mass.
    if (!(def.mass >= 0.0f && def.mass <= maxObjectMass)) {
        orv::Log::warning(path + ": mass " + ini.getValue("mass") + " out of range (0 to " +
                          std::to_string(static_cast<int>(maxObjectMass)) + "); read as 0");
        def.mass = 0.0f;
    }
    if (!(def.objectScale > 0.0f && def.objectScale <= maxObjectScale)) {
        orv::Log::warning(path + ": objectScale " + ini.getValue("objectScale") + " out of range; read as 1");
        def.objectScale = 1.0f;
    }
    const auto sideOk = [](int v) { return v >= -maxCollisionSize && v <= maxCollisionSize; };
    if (!sideOk(def.collisionSize.x) || !sideOk(def.collisionSize.y)) {
        orv::Log::warning(path + ": collisionSize " + ini.getValue("collisionSize") + " out of range (at most " +
                          std::to_string(maxCollisionSize) + " a side); read as 0,0");
        def.collisionSize = sf::Vector2i();
    }

    const std::string image = ini.getString("image", "");
    def.imageIndex = findTextureImage(image);
    if (def.imageIndex == -1) {
        orv::Log::warning("Failed to find image " + image + " for " + path);
        return;
    }
    const sf::IntRect rect = textureImages[static_cast<std::size_t>(def.imageIndex)].sprite.getTextureRect();
    def.size = sf::Vector2f(static_cast<float>(rect.width), static_cast<float>(rect.height));
    if (def.collisionSize.x <= 0 && def.collisionSize.y <= 0)
        def.collisionSize = sf::Vector2i(static_cast<int>(def.size.x), static_cast<int>(def.size.y));
}

void loadObjectDefs()
{
    objectDefs.clear();
    orv::DirectoryListing listing;
    listing.addExtension(".ob");
    listing.scan("Data/Objects/", orv::DirectoryListing::FilesOnly, false);
    for (const orv::DirectoryEntry& entry : listing.entries()) {
        if (orv::quitSignalled())
            break;
        loadObjectDef(entry.path);
    }
    orv::Log::info("Loaded " + std::to_string(objectDefs.size()) + " objects");
}

int findObjectDef(const std::string& name)
{
    if (name.empty())
        return -1;
    for (std::size_t i = 0; i < objectDefs.size(); ++i)
        if (objectDefs[i].name == name)
            return static_cast<int>(i);
    return -1;
}
