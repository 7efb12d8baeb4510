#include "render/EffectQuads.h"

#include "framework/Random.h"
#include "render/DrawSubmit.h"
#include "world/Units.h"

#include <SFML/Graphics/RenderTarget.hpp>

#include <cmath>

void appendQuad(sf::VertexArray& vertices, const sf::Vector2f& centre, const sf::Vector2f& size, float cosAngle,
                float sinAngle, const sf::IntRect& textureRect, const sf::Color& colour, float zoom)
{
    // Half extents turned with the quad: a along its width, b along its length.
    const sf::Vector2f a(size.x * 0.5f * cosAngle, size.x * 0.5f * sinAngle);
    const sf::Vector2f b(-size.y * 0.5f * sinAngle, size.y * 0.5f * cosAngle);
    const float left = static_cast<float>(textureRect.left), top = static_cast<float>(textureRect.top);
    const float right = left + static_cast<float>(textureRect.width);
    const float bottom = top + static_cast<float>(textureRect.height);
    vertices.append(sf::Vertex((centre - a - b) * zoom, colour, sf::Vector2f(left, top)));
    vertices.append(sf::Vertex((centre + a - b) * zoom, colour, sf::Vector2f(right, top)));
    vertices.append(sf::Vertex((centre + a + b) * zoom, colour, sf::Vector2f(right, bottom)));
    vertices.append(sf::Vertex((centre - a + b) * zoom, colour, sf::Vector2f(left, bottom)));
}

void drawQuadBatch(sf::RenderTarget& target, const sf::VertexArray& vertices, const sf::Texture* texture,
                   const sf::Shader* shader)
{
    if (vertices.getVertexCount() == 0)
        return;
    sf::RenderStates states(sf::BlendAlpha);
    states.texture = texture;
    states.shader = shader;
    submitDraw(target, vertices, states);
}

float effectRandom(float lo, float hi)
{
    return lo + orv::randomFraction() * (hi - lo);
}

sf::Vector2f bearingVector(float degrees)
{
    if (degrees == 0.0f)
        return sf::Vector2f(0.0f, -1.0f);
    if (degrees == 90.0f)
        return sf::Vector2f(1.0f, 0.0f);
    if (degrees == 180.0f)
        return sf::Vector2f(0.0f, 1.0f);
    if (degrees == 270.0f)
        return sf::Vector2f(-1.0f, 0.0f);
    const float r = degrees * degreesToRadians;
    return sf::Vector2f(std::sin(r), -std::cos(r));
}

float effectTime(float dt)
{
    return std::isfinite(dt) && dt > 0.0f ? dt : 0.0f;
}
