#include "render/VehicleDrawing.h"

#include "framework/Layers.h"
#include "framework/StringUtil.h"
#include "framework/Text.h"
#include "render/DrawSubmit.h"
#include "render/SceneAssets.h"
#include "render/WorldRenderer.h"
#include "vehicle/Vehicle.h"
#include "world/Units.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <box2d/b2_body.h>

#include <algorithm>
#include <cmath>

namespace {

// Vehicles are window-layer sprites; the layer only matters for drop shadows.
constexpr int vehicleLayer = 2;

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

void drawWheel(const Vehicle& vehicle, const Wheel& wheel, std::size_t typeIndex,
               sf::RenderTarget& target, const sf::Vector2f& cameraPixels, float zoom,
               const sf::Texture* wheelScrollTexture)
{
    const VehicleAppearance& look = vehicle.appearance;
    sf::RenderTexture& canvas = *look.wheelCanvas;
    // The sprite's rectangle, cut to the picture, not the file's: the canvas
    // was sized from it.
    const sf::IntRect rect = look.wheelSprites[typeIndex].getTextureRect();
    const sf::Vector2f size(static_cast<float>(rect.width), static_cast<float>(rect.height));

    canvas.clear(sf::Color::Transparent);
    sf::Sprite sprite = look.wheelSprites[typeIndex];
    sprite.setPosition(0.0f, 0.0f);
    sprite.setScale(1.0f, 1.0f);
    submitDraw(canvas, sprite);
    const bool hasTread = wheelScrollTexture && wheelScrollTexture->getSize().x > 0 && wheelScrollTexture->getSize().y > 0;
    if (hasTread) {
        sf::RectangleShape shade(size);
        shade.setTexture(wheelScrollTexture);
        shade.setTextureRect(sf::IntRect(0, static_cast<int>(wheel.scrollOffset), rect.width, rect.height));
        submitDraw(canvas, shade, sf::RenderStates(treadShadeBlend()));
    }
    canvas.display();

    sf::RectangleShape onScreen(size);
    onScreen.setTexture(&canvas.getTexture());
    onScreen.setTextureRect(sf::IntRect(0, 0, rect.width, rect.height));
    onScreen.setOrigin(size * 0.5f);
    onScreen.setPosition((toPixels(wheel.body->GetPosition()) - cameraPixels) * zoom);
    onScreen.setRotation(vehicle.body()->GetAngle() * radiansToDegrees + wheel.displaySteerAngle);
    onScreen.setScale(zoom, zoom);
    submitDraw(target, onScreen);
}

} // namespace

sf::BlendMode treadShadeBlend()
{
    return sf::BlendMode(sf::BlendMode::Zero, sf::BlendMode::OneMinusSrcAlpha, sf::BlendMode::Add,
                         sf::BlendMode::Zero, sf::BlendMode::One, sf::BlendMode::Add);
}

namespace {

// Per wheel: a blue line against its last drive force, as long as that force
// is against the engine's power, labelled with the wheel's velocity in its
// own axes.
void drawForces(const Vehicle& vehicle, const VehicleDef& def, const sf::Vector2f& cameraPixels, float zoom)
{
    const float power = vehicle.dynamics.power != 0.0f ? vehicle.dynamics.power : def.power;
    orv::setTextOutline(sf::Color::Black, 0.75f);
    for (const Wheel& wheel : vehicle.dynamics.wheels) {
        if (!wheel.body)
            continue;
        const sf::Vector2f start = (toPixels(wheel.body->GetPosition()) - cameraPixels) * zoom;
        b2Vec2 direction = -wheel.lastForce;
        const float length = power != 0.0f ? wheel.lastLocalForce.y / power * pixelsPerMetre * zoom : 0.0f;
        sf::Vector2f end = start;
        if (direction.Normalize() > 0.0f && std::isfinite(length))
            end = start + sf::Vector2f(direction.x, direction.y) * length;
        orv::drawLine(start, end, sf::Color(0, 0, 240, 255), 2.0f);
        const b2Vec2 local = wheel.body->GetLocalVector(wheel.body->GetLinearVelocity());
        orv::drawText(orv::LayerRedirect, end, sf::Color::White,
                      orv::format("%.2f, %.2f", static_cast<double>(local.x), static_cast<double>(local.y)),
                      orv::FontSlot::Standard, 18);
    }
    orv::setTextOutline(sf::Color::Black, 0.0f);
}

} // namespace

void drawVehicle(const Vehicle& vehicle, const sf::Vector2f& cameraPixels, float zoom,
                 const sf::FloatRect& visibleWorld, bool forces)
{
    const VehicleDef* def = vehicle.definition();
    const VehicleAppearance& look = vehicle.appearance;
    if (!def || !vehicle.body())
        return;
    if (look.picture && vehicleBounds(vehicle, *def).intersects(visibleWorld)) {
        sf::RenderTarget& target = orv::getLayerTarget(orv::LayerRedirect, false);
        const sf::Texture* tread = sceneAssets.wheelScrollTexture.get();
        if (look.wheelCanvas) {
            for (const Wheel& wheel : vehicle.dynamics.wheels) {
                if (!wheel.body || wheel.mountIndex >= static_cast<int>(def->wheelMounts.size()))
                    continue;
                const int typeIndex = def->wheelMounts[static_cast<std::size_t>(wheel.mountIndex)].wheelType;
                if (typeIndex < 0 || typeIndex >= static_cast<int>(def->wheelTypes.size()) ||
                    typeIndex >= static_cast<int>(look.wheelDrawn.size()) ||
                    !look.wheelDrawn[static_cast<std::size_t>(typeIndex)])
                    continue;
                drawWheel(vehicle, wheel, static_cast<std::size_t>(typeIndex), target, cameraPixels, zoom, tread);
            }
        }
        sf::Sprite body = look.bodySprite;
        drawSpriteWithShadow(vehicleLayer, body, (toPixels(vehicle.body()->GetPosition()) - cameraPixels) * zoom,
                             sf::Vector2f(zoom, zoom), sf::Vector2f(), vehicle.body()->GetAngle() * radiansToDegrees);
    }
    if (forces)
        drawForces(vehicle, *def, cameraPixels, zoom);
}
