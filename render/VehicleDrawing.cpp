#include "render/VehicleDrawing.h"

#include "vehicle/Vehicle.h"
#include "world/MapPhysics.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <box2d/b2_body.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr float degreesPerRadian = 57.29578f;

sf::Vector2f toPixels(const b2Vec2& metres)
{
    return sf::Vector2f(metres.x * pixelsPerMetre, metres.y * pixelsPerMetre);
}

// A square around the vehicle that holds the body and every wheel in any
// rotation: cheap and never too small.
sf::FloatRect vehicleBounds(const Vehicle& vehicle, const VehicleDef& def)
{
    const sf::Vector2f centre = toPixels(vehicle.body()->GetPosition());
    float reach = std::hypot(static_cast<float>(def.imageRect.width), static_cast<float>(def.imageRect.height)) * 0.5f;
    for (const WheelMount& mount : def.wheelMounts) {
        float wheelReach = 0.0f;
        if (mount.wheelType >= 0 && mount.wheelType < static_cast<int>(def.wheelTypes.size())) {
            const sf::IntRect& r = def.wheelTypes[static_cast<std::size_t>(mount.wheelType)].imageRect;
            wheelReach = std::hypot(static_cast<float>(r.width), static_cast<float>(r.height)) * 0.5f;
        }
        reach = std::max(reach, std::hypot(static_cast<float>(mount.pos.x), static_cast<float>(mount.pos.y)) + wheelReach);
    }
    return sf::FloatRect(centre.x - reach, centre.y - reach, reach * 2.0f, reach * 2.0f);
}

void drawWheel(const Vehicle& vehicle, const Wheel& wheel, const WheelType& type, std::size_t typeIndex,
               sf::RenderTarget& target, const sf::Vector2f& cameraPixels, float zoom,
               const sf::Texture* wheelScrollTexture)
{
    const VehicleAppearance& look = vehicle.appearance;
    sf::RenderTexture& canvas = *look.wheelCanvas;
    const sf::Vector2f size(static_cast<float>(type.imageRect.width), static_cast<float>(type.imageRect.height));

    canvas.clear(sf::Color::Transparent);
    sf::Sprite sprite = look.wheelSprites[typeIndex];
    sprite.setPosition(0.0f, 0.0f);
    sprite.setScale(1.0f, 1.0f);
    canvas.draw(sprite);
    const bool hasTread = wheelScrollTexture && wheelScrollTexture->getSize().x > 0 && wheelScrollTexture->getSize().y > 0;
    if (hasTread) {
        sf::RectangleShape shade(size);
        shade.setTexture(wheelScrollTexture);
        shade.setTextureRect(sf::IntRect(0, static_cast<int>(wheel.scrollOffset), type.imageRect.width,
                                         type.imageRect.height));
        canvas.draw(shade, sf::RenderStates(treadShadeBlend()));
    }
    canvas.display();

    sf::RectangleShape onScreen(size);
    onScreen.setTexture(&canvas.getTexture());
    onScreen.setTextureRect(sf::IntRect(0, 0, type.imageRect.width, type.imageRect.height));
    onScreen.setOrigin(size * 0.5f);
    onScreen.setPosition((toPixels(wheel.body->GetPosition()) - cameraPixels) * zoom);
    onScreen.setRotation(vehicle.body()->GetAngle() * degreesPerRadian + wheel.displaySteerAngle);
    onScreen.setScale(zoom, zoom);
    target.draw(onScreen);
}

} // namespace

sf::BlendMode treadShadeBlend()
{
    return sf::BlendMode(sf::BlendMode::Zero, sf::BlendMode::OneMinusSrcAlpha, sf::BlendMode::Add,
                         sf::BlendMode::Zero, sf::BlendMode::One, sf::BlendMode::Add);
}

void drawVehicle(const Vehicle& vehicle, sf::RenderTarget& target, const sf::Vector2f& cameraPixels, float zoom,
                 const sf::FloatRect& visibleWorld, const sf::Texture* wheelScrollTexture)
{
    const VehicleDef* def = vehicle.definition();
    const VehicleAppearance& look = vehicle.appearance;
    if (!def || !vehicle.body() || !look.picture)
        return;
    if (!vehicleBounds(vehicle, *def).intersects(visibleWorld))
        return;

    if (look.wheelCanvas) {
        for (const Wheel& wheel : vehicle.dynamics.wheels) {
            if (!wheel.body || wheel.mountIndex >= static_cast<int>(def->wheelMounts.size()))
                continue;
            const int typeIndex = def->wheelMounts[static_cast<std::size_t>(wheel.mountIndex)].wheelType;
            if (typeIndex < 0 || typeIndex >= static_cast<int>(def->wheelTypes.size()) ||
                typeIndex >= static_cast<int>(look.wheelDrawn.size()) || !look.wheelDrawn[static_cast<std::size_t>(typeIndex)])
                continue;
            drawWheel(vehicle, wheel, def->wheelTypes[static_cast<std::size_t>(typeIndex)],
                      static_cast<std::size_t>(typeIndex), target, cameraPixels, zoom, wheelScrollTexture);
        }
    }

    sf::Sprite body = look.bodySprite;
    body.setPosition((toPixels(vehicle.body()->GetPosition()) - cameraPixels) * zoom);
    body.setScale(zoom, zoom);
    body.setRotation(vehicle.body()->GetAngle() * degreesPerRadian);
    target.draw(body);
}
