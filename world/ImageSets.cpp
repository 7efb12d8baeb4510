#include "world/ImageSets.h"

#include "framework/DirectoryListing.h"
#include "framework/IniFile.h"
#include "framework/Log.h"
#include "framework/PathUtil.h"
#include "framework/Signals.h"

std::vector<std::unique_ptr<sf::Texture>> imageSetTextures;
std::vector<TextureImage> textureImages;

namespace {
constexpr int maxEmptyImages = 1024;
} // namespace

void loadImageSets()
{
    imageSetTextures.clear();
    textureImages.clear();
    orv::DirectoryListing listing;
    listing.addExtension(".ini");
    listing.scan("Data/Images/", orv::DirectoryListing::FilesOnly, false);
    for (const orv::DirectoryEntry& entry : listing.entries()) {
        if (orv::quitSignalled())
            break;
        loadImageSet(entry.path);
    }
    for (TextureImage& image : textureImages) {
        // A sprite given its first texture takes the whole texture when its
        // rectangle is empty; an image without "rect" must stay empty.
        const sf::IntRect rect = image.sprite.getTextureRect();
        image.sprite.setTexture(*imageSetTextures[static_cast<std::size_t>(image.setIndex)]);
        image.sprite.setTextureRect(rect);
    }
    orv::Log::info("Loaded " + std::to_string(textureImages.size()) + " image(s)");
}

void loadImageSet(const std::string& path)
{
    orv::IniFile ini;
    if (!ini.load(path)) {
        orv::Log::error("Failed to load file " + path + ": " + ini.lastError);
        return;
    }
    if (!ini.checkHeader(imageSetId)) {
        orv::Log::error(path + " does not match header");
        return;
    }
    auto texture = std::make_unique<sf::Texture>();
    if (!texture->loadFromFile(orv::nativePath(orv::replaceExtension(path, ".png")))) {
        orv::Log::error("Failed to load texture for " + path);
        return;
    }
    texture->setSmooth(true);
    imageSetTextures.push_back(std::move(texture));
    const auto setIndex = static_cast<std::int32_t>(imageSetTextures.size() - 1);

    ini.setSection("info");
    const int count = ini.getInt("imagesCount", 0);
    // A count a little above the file's sections gives empty images, as the
    // format says; one far beyond what the file holds is cut down to it.
    const int present = ini.numberedSectionsPresent("image", std::max(count, 0));
    const int limit = present + maxEmptyImages;
    if (count > limit)
        orv::Log::warning(path + " claims " + std::to_string(count) + " images but holds " +
                          std::to_string(present) + "; reading " + std::to_string(limit));
    for (int i = 0; i < std::min(count, limit); ++i) {
        ini.setSection("image" + std::to_string(i));
        TextureImage image;
        image.name = ini.getString("imageName", "");
        image.setIndex = setIndex;
        const sf::IntRect rect = ini.getIntRect("rect", sf::IntRect(0, 0, 0, 0));
        image.sprite.setTextureRect(rect);
        image.sprite.setOrigin(static_cast<float>(rect.width) * 0.5f, static_cast<float>(rect.height) * 0.5f);
        textureImages.push_back(std::move(image));
    }
}

int findTextureImage(const std::string& name)
{
    if (name.empty())
        return -1;
    for (std::size_t i = 0; i < textureImages.size(); ++i)
        if (textureImages[i].name == name)
            return static_cast<int>(i);
    return -1;
}

void setImageSetSmoothing(bool smooth)
{
    for (auto& texture : imageSetTextures)
        texture->setSmooth(smooth);
}
