#include "render/ForceOverlay.h"

#include "framework/Core.h"
#include "framework/Layers.h"
#include "framework/StringUtil.h"
#include "framework/Text.h"
#include "vehicle/Vehicle.h"
#include "world/Units.h"

#include <box2d/b2_body.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr unsigned legendCharacterSize = 16;

sf::Vector2f toPixels(const b2Vec2& metres)
{
    return sf::Vector2f(metres.x * pixelsPerMetre, metres.y * pixelsPerMetre);
}

// An arrow of `value` (newtons or m/s) at `unitsPerPixel` from `from`; none
// when shorter than half a pixel or not finite.
void addArrow(ForceOverlay& overlay, const sf::Vector2f& from, const b2Vec2& value, float unitsPerPixel,
              ArrowKind kind, bool warning)
{
    const sf::Vector2f length(value.x / unitsPerPixel, value.y / unitsPerPixel);
    if (!std::isfinite(length.x) || !std::isfinite(length.y) || std::hypot(length.x, length.y) < 0.5f)
        return;
    overlay.arrows.push_back(OverlayArrow{from, from + length, kind, warning});
}

sf::Color arrowColour(const OverlayArrow& arrow)
{
    if (arrow.warning && arrow.kind != ArrowKind::Drive && arrow.kind != ArrowKind::Brake)
        return sf::Color(255, 40, 40);
    switch (arrow.kind) {
    case ArrowKind::Drive:
        return sf::Color(60, 220, 60);
    case ArrowKind::Brake:
        return sf::Color(255, 150, 0);
    case ArrowKind::Grip:
        return sf::Color(0, 200, 255);
    case ArrowKind::WheelVelocity:
        return sf::Color(235, 235, 235);
    case ArrowKind::ChassisVelocity:
        return sf::Color(255, 230, 0);
    }
    return sf::Color::White;
}

void drawArrow(const OverlayArrow& arrow, const sf::Vector2f& cameraPixels, float zoom)
{
    const sf::Vector2f from = (arrow.from - cameraPixels) * zoom;
    const sf::Vector2f to = (arrow.to - cameraPixels) * zoom;
    const sf::Color colour = arrowColour(arrow);
    orv::drawLine(from, to, colour, 2.0f);
    const sf::Vector2f d = to - from;
    const float length = std::hypot(d.x, d.y);
    if (!(length > 0.0f))
        return;
    // Two barbs at 25 degrees either side of the shaft.
    const sf::Vector2f back = d / length * -std::min(8.0f, length * 0.5f);
    const float c = std::cos(0.436f);
    const float s = std::sin(0.436f);
    orv::drawLine(to, to + sf::Vector2f(back.x * c - back.y * s, back.x * s + back.y * c), colour, 2.0f);
    orv::drawLine(to, to + sf::Vector2f(back.x * c + back.y * s, -back.x * s + back.y * c), colour, 2.0f);
}

void drawLegend(const ForceOverlay& overlay, float zoom)
{
    const sf::Vector2f view = orv::window().getView().getSize();
    const float newtons = overlay.newtonsPerPixel / zoom;
    const float velocity = overlayVelocityPerPixel / zoom;
    const struct {
        std::string text;
        sf::Color colour;
    } lines[] = {
        {orv::format("Forces: 1 px = %g N", static_cast<double>(newtons)), sf::Color::White},
        {"drive", arrowColour(OverlayArrow{{}, {}, ArrowKind::Drive, false})},
        {"brake", arrowColour(OverlayArrow{{}, {}, ArrowKind::Brake, false})},
        {"grip (sideways)", arrowColour(OverlayArrow{{}, {}, ArrowKind::Grip, false})},
        {orv::format("Velocity: 1 px = %g m/s", static_cast<double>(velocity)), sf::Color::White},
        {"wheel", arrowColour(OverlayArrow{{}, {}, ArrowKind::WheelVelocity, false})},
        {"chassis", arrowColour(OverlayArrow{{}, {}, ArrowKind::ChassisVelocity, false})},
        {"sliding wheel", arrowColour(OverlayArrow{{}, {}, ArrowKind::Grip, true})},
        {orv::format("Yaw rate: %.1f deg/s", static_cast<double>(overlay.yawRate)), sf::Color::White},
    };
    float y = 40.0f;
    for (const auto& line : lines) {
        const float width = orv::textWidth(line.text, orv::FontSlot::Standard, legendCharacterSize);
        orv::drawText(orv::LayerUi, sf::Vector2f(view.x - width - 10.0f, y), line.colour, line.text,
                      orv::FontSlot::Standard, legendCharacterSize);
        y += 20.0f;
    }
}

} // namespace

float overlayForceScale(float largestNewtons)
{
    const float wanted = largestNewtons / overlayLongestForcePixels;
    if (!std::isfinite(wanted) || !(wanted > 1.0f))
        return 1.0f;
    const float decade = std::pow(10.0f, std::floor(std::log10(wanted)));
    for (float step : {1.0f, 2.0f, 5.0f, 10.0f}) {
        if (wanted <= step * decade * 1.0001f)
            return step * decade;
    }
    return 10.0f * decade;
}

ForceOverlay forceOverlayGeometry(const Vehicle& vehicle)
{
    ForceOverlay overlay;
    const b2Body* chassis = vehicle.body();
    if (!chassis)
        return overlay;
    overlay.chassis = toPixels(chassis->GetPosition());
    overlay.yawRate = chassis->GetAngularVelocity() * radiansToDegrees;

    // One scale for every force arrow of the vehicle, from the largest.
    float largest = 0.0f;
    for (const Wheel& wheel : vehicle.dynamics.wheels) {
        for (const b2Vec2& f : {wheel.driveForce, wheel.brakeForce, wheel.lastLateralForce}) {
            const float length = f.Length();
            if (std::isfinite(length))
                largest = std::max(largest, length);
        }
    }
    overlay.newtonsPerPixel = overlayForceScale(largest);

    for (const Wheel& wheel : vehicle.dynamics.wheels) {
        if (!wheel.body)
            continue;
        const sf::Vector2f at = toPixels(wheel.body->GetPosition());
        // A wheel is driven or braked in a step, never both.
        if (wheel.driveForce.LengthSquared() > 0.0f)
            addArrow(overlay, at, wheel.driveForce, overlay.newtonsPerPixel, ArrowKind::Drive, wheel.sliding);
        else
            addArrow(overlay, at, wheel.brakeForce, overlay.newtonsPerPixel, ArrowKind::Brake, wheel.sliding);
        addArrow(overlay, at, wheel.lastLateralForce, overlay.newtonsPerPixel, ArrowKind::Grip, wheel.sliding);
        addArrow(overlay, at, wheel.body->GetLinearVelocity(), overlayVelocityPerPixel, ArrowKind::WheelVelocity,
                 wheel.sliding);
    }
    addArrow(overlay, overlay.chassis, chassis->GetLinearVelocity(), overlayVelocityPerPixel,
             ArrowKind::ChassisVelocity, false);
    return overlay;
}

void drawForceOverlay(const Vehicle& vehicle, const sf::Vector2f& cameraPixels, float zoom)
{
    const ForceOverlay overlay = forceOverlayGeometry(vehicle);
    if (!vehicle.body() || !(zoom > 0.0f))
        return;
    for (const OverlayArrow& arrow : overlay.arrows)
        drawArrow(arrow, cameraPixels, zoom);
    if (orv::Text::isLoaded())
        drawLegend(overlay, zoom);
}
