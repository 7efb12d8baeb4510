#include "vehicle/VehicleAppearance.h"

#include "framework/PathUtil.h"

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

void prepareAppearance(VehicleAppearance& look, const VehicleDef& def, bool withGraphics)
{
    clearAppearance(look);
    if (withGraphics) {
        // A picture that does not load stays empty (the media library logs
        // why); the vehicle is still built and driven.
        look.picture = std::make_unique<sf::Texture>();
        look.picture->loadFromFile(orv::nativePath(std::string(vehicleFolder) + def.name + ".png"));
    }

    if (look.picture)
        look.bodySprite.setTexture(*look.picture);
    look.bodySprite.setTextureRect(def.imageRect);
    look.bodySprite.setColor(sf::Color::White);
    look.bodySprite.setOrigin(static_cast<float>(def.imageRect.width) * 0.5f,
                              static_cast<float>(def.imageRect.height) * 0.5f);

    look.wheelSprites.resize(def.wheelTypes.size());
    look.wheelDrawn.assign(def.wheelTypes.size(), false);
    for (std::size_t i = 0; i < def.wheelTypes.size(); ++i) {
        const WheelType& type = def.wheelTypes[i];
        if (!type.wheelVisible)
            continue;
        sf::Sprite& sprite = look.wheelSprites[i];
        if (look.picture)
            sprite.setTexture(*look.picture);
        sprite.setTextureRect(type.imageRect);
        sprite.setColor(sf::Color::White);
        sprite.setOrigin(0.0f, 0.0f);
        look.wheelDrawn[i] = true;
        look.canvasSize.x = std::max(look.canvasSize.x, type.imageRect.width);
        look.canvasSize.y = std::max(look.canvasSize.y, type.imageRect.height);
    }

    if (withGraphics && look.canvasSize.x > 0 && look.canvasSize.y > 0) {
        look.wheelCanvas = std::make_unique<sf::RenderTexture>();
        if (!look.wheelCanvas->create(static_cast<unsigned>(look.canvasSize.x),
                                      static_cast<unsigned>(look.canvasSize.y), sf::ContextSettings()))
            look.wheelCanvas.reset();
    }
}
