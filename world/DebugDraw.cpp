#include "world/DebugDraw.h"

#include "framework/Layers.h"
#include "world/Units.h"

#include <SFML/Graphics/ConvexShape.hpp>

namespace ctk {

namespace {

sf::Color toColour(const b2Color& c)
{
    return sf::Color(static_cast<sf::Uint8>(c.r * 255.0f), static_cast<sf::Uint8>(c.g * 255.0f),
                     static_cast<sf::Uint8>(c.b * 255.0f), static_cast<sf::Uint8>(c.a * 255.0f));
}

} // namespace

void DebugDraw::setView(const sf::Vector2f& camera, float zoom)
{
    camera_ = camera;
    zoom_ = zoom;
}

sf::Vector2f DebugDraw::toScreen(const b2Vec2& metres) const
{
    return (sf::Vector2f(metres.x * pixelsPerMetre, metres.y * pixelsPerMetre) - camera_) * zoom_;
}

void DebugDraw::drawPolygon(const b2Vec2* vertices, int32 count, const b2Color& color, bool filled) const
{
    sf::ConvexShape shape(static_cast<std::size_t>(count));
    for (int32 i = 0; i < count; ++i)
        shape.setPoint(static_cast<std::size_t>(i), toScreen(vertices[i]));
    const sf::Color colour = toColour(color);
    // Solid shapes get a dimmer, half-transparent fill under a full-colour
    // outline, so neighbouring shapes of one colour stay apart.
    const sf::Color fill(colour.r / 2, colour.g / 2, colour.b / 2, colour.a / 2);
    shape.setFillColor(filled ? fill : sf::Color::Transparent);
    shape.setOutlineColor(colour);
    shape.setOutlineThickness(1.0f);
    orv::getLayerTarget(orv::LayerRedirect, false).draw(shape);
}

void DebugDraw::DrawPolygon(const b2Vec2* vertices, int32 vertexCount, const b2Color& color)
{
    drawPolygon(vertices, vertexCount, color, false);
}

void DebugDraw::DrawSolidPolygon(const b2Vec2* vertices, int32 vertexCount, const b2Color& color)
{
    drawPolygon(vertices, vertexCount, color, true);
}

void DebugDraw::DrawCircle(const b2Vec2&, float, const b2Color&) {}

void DebugDraw::DrawSolidCircle(const b2Vec2&, float, const b2Vec2&, const b2Color&) {}

void DebugDraw::DrawSegment(const b2Vec2& p1, const b2Vec2& p2, const b2Color& color)
{
    orv::drawLine(toScreen(p1), toScreen(p2), toColour(color), 2.0f);
}

void DebugDraw::DrawTransform(const b2Transform&) {}

void DebugDraw::DrawPoint(const b2Vec2&, float, const b2Color&) {}

} // namespace ctk
