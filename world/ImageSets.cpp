#include "world/ImageSets.h"

#include "framework/ContentFile.h"
#include "framework/DirectoryListing.h"
#include "framework/IniFile.h"
#include "framework/Log.h"
#include "framework/NumberedList.h"
#include "framework/PathUtil.h"
#include "framework/Signals.h"


std::vector<std::unique_ptr<sf::Texture>> imageSetTextures;
std::vector<TextureImage> textureImages;

namespace {

TextureImage makeImage(const std::string& name, std::int32_t setIndex, const sf::IntRect& rect)
{
    TextureImage image;
    image.name = name;
    image.setIndex = setIndex;
    image.sprite.setTextureRect(rect);
    image.sprite.setOrigin(static_cast<float>(rect.width) * 0.5f, static_cast<float>(rect.height) * 0.5f);
    return image;
}

// A rectangle the drawing can use: not flipped, and on the atlas.
bool insideAtlas(const sf::IntRect& r, const sf::Vector2u& atlas)
{
    const long long right = static_cast<long long>(r.left) + r.width;
    const long long bottom = static_cast<long long>(r.top) + r.height;
    return r.left >= 0 && r.top >= 0 && r.width >= 0 && r.height >= 0 && right <= atlas.x && bottom <= atlas.y;
}

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
    if (!orv::checkContentFile("loadImageSet", orv::replaceExtension(path, ".png")))
        return;
    auto texture = std::make_unique<sf::Texture>();
    if (!texture->loadFromFile(orv::nativePath(orv::replaceExtension(path, ".png")))) {
        orv::Log::error("Failed to load texture for " + path);
        return;
    }
    texture->setSmooth(true);
    imageSetTextures.push_back(std::move(texture));
    const auto setIndex = static_cast<std::int32_t>(imageSetTextures.size() - 1);

    ini.setSection("info");
    // Sections the count names but the file lacks are empty images in their
    // places, so the images after them keep their numbers.
    const orv::NumberedList list =
        orv::numberedSections(ini, "image", ini.getInt("imagesCount", 0), maxImagesPerSet);
    orv::warnAboutSections(path, "imagesCount", "image", list, "that image is empty", "those images are empty");

    const sf::Vector2u atlas = imageSetTextures.back()->getSize();
    textureImages.reserve(textureImages.size() + static_cast<std::size_t>(list.count));
    for (int i = 0; i < list.count; ++i) {
        const std::string section = "image" + std::to_string(i);
        ini.selectSection(section);
        sf::IntRect rect = ini.getIntRect("rect", sf::IntRect(0, 0, 0, 0));
        if (!insideAtlas(rect, atlas)) {
            orv::Log::warning(path + ": [" + section + "] rect " + ini.getValue("rect") + " is not inside the " +
                              std::to_string(atlas.x) + "x" + std::to_string(atlas.y) + " atlas; read as 0,0,0,0");
            rect = sf::IntRect();
        }
        textureImages.push_back(makeImage(ini.getString("imageName", ""), setIndex, rect));
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
