#include "vehicle/VehicleAppearance.h"

#include "framework/ContentFile.h"
#include "framework/Log.h"
#include "framework/PathUtil.h"

#include <SFML/Graphics/Image.hpp>

#include <algorithm>

void clearAppearance(VehicleAppearance& look)
{
    look.wheelSprites.clear();
    look.wheelDrawn.clear();
    look.bodySprite = sf::Sprite();
    look.wheelCanvas.reset();
    look.picture.reset();
    look.canvasSize = sf::Vector2i();
}

sf::IntRect rectOnPicture(const sf::IntRect& rect, const sf::Vector2u& size)
{
    // In 64 bits: left + width of two large ints must not wrap.
    const long long w = size.x, h = size.y;
    const long long x0 = std::min<long long>(rect.left, static_cast<long long>(rect.left) + rect.width);
    const long long y0 = std::min<long long>(rect.top, static_cast<long long>(rect.top) + rect.height);
    const long long x1 = std::max<long long>(rect.left, static_cast<long long>(rect.left) + rect.width);
    const long long y1 = std::max<long long>(rect.top, static_cast<long long>(rect.top) + rect.height);
    const long long left = std::clamp(x0, 0LL, w), right = std::clamp(x1, left, w);
    const long long top = std::clamp(y0, 0LL, h), bottom = std::clamp(y1, top, h);
    // A negative size mirrors the image: it keeps its sign.
    const int width = static_cast<int>(right - left), height = static_cast<int>(bottom - top);
    return sf::IntRect(static_cast<int>(rect.width < 0 ? right : left), static_cast<int>(rect.height < 0 ? bottom : top),
                       rect.width < 0 ? -width : width, rect.height < 0 ? -height : height);
}

void prepareAppearance(VehicleAppearance& look, const VehicleDef& def, bool withGraphics)
{
    clearAppearance(look);
    const std::string path = std::string(vehicleFolder) + def.name + ".png";
    sf::Vector2u pictureSize;
    if (withGraphics) {
        // A picture that does not load stays empty (the media library logs
        // why); the vehicle is still built and driven.
        look.picture = std::make_unique<sf::Texture>();
        if (orv::checkContentFile("prepareAppearance", path) && look.picture->loadFromFile(orv::nativePath(path)))
            pictureSize = look.picture->getSize();
    } else if (orv::isRegularFile(path)) {
        // Without graphics only the size is wanted: it bounds the rectangles
        // below just as the texture would.
        sf::Image image;
        if (image.loadFromFile(orv::nativePath(path)))
            pictureSize = image.getSize();
    }
    // Every rectangle stays on the picture: a wheel rectangle of 16000 x
    // 16000 would make a canvas that size, cleared and drawn for every wheel
    // in every frame. Without a picture there is nothing to draw anyway.
    bool cut = false;
    const auto onPicture = [&](const sf::IntRect& rect) {
        if (pictureSize.x == 0 || pictureSize.y == 0)
            return rect;
        const sf::IntRect fitted = rectOnPicture(rect, pictureSize);
        cut = cut || fitted != rect;
        return fitted;
    };

    const sf::IntRect bodyRect = onPicture(def.imageRect);
    if (look.picture)
        look.bodySprite.setTexture(*look.picture);
    look.bodySprite.setTextureRect(bodyRect);
    look.bodySprite.setColor(sf::Color::White);
    look.bodySprite.setOrigin(static_cast<float>(bodyRect.width) * 0.5f, static_cast<float>(bodyRect.height) * 0.5f);

    look.wheelSprites.resize(def.wheelTypes.size());
    look.wheelDrawn.assign(def.wheelTypes.size(), false);
    for (std::size_t i = 0; i < def.wheelTypes.size(); ++i) {
        const WheelType& type = def.wheelTypes[i];
        if (!type.wheelVisible)
            continue;
        sf::Sprite& sprite = look.wheelSprites[i];
        if (look.picture)
            sprite.setTexture(*look.picture);
        const sf::IntRect rect = onPicture(type.imageRect);
        sprite.setTextureRect(rect);
        sprite.setColor(sf::Color::White);
        sprite.setOrigin(0.0f, 0.0f);
        look.wheelDrawn[i] = true;
        look.canvasSize.x = std::max(look.canvasSize.x, rect.width);
        look.canvasSize.y = std::max(look.canvasSize.y, rect.height);
    }
    if (cut)
        orv::Log::warning("prepareAppearance: " + path + ": image rectangles reach beyond the " +
                          std::to_string(pictureSize.x) + " x " + std::to_string(pictureSize.y) +
                          " picture; cut to it");

    if (withGraphics && look.canvasSize.x > 0 && look.canvasSize.y > 0) {
        look.wheelCanvas = std::make_unique<sf::RenderTexture>();
        if (!look.wheelCanvas->create(static_cast<unsigned>(look.canvasSize.x),
                                      static_cast<unsigned>(look.canvasSize.y), sf::ContextSettings()))
            look.wheelCanvas.reset();
    }
}
