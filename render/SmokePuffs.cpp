#include "render/SmokePuffs.h"

#include "framework/ProgramClock.h"
#include "framework/Random.h"
#include "render/EffectQuads.h"
#include "render/SceneAssets.h"
#include "vehicle/Vehicle.h"
#include "world/Units.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <box2d/box2d.h>

#include <algorithm>
#include <cmath>

CappedList<SmokePuff> smokePuffs(maxSmokePuffs);
bool smokeTick = false;
float lastSmokeTime = 0.0f;

namespace {
constexpr float smokePeriod = 0.016f;
} // namespace

void updateSmoke(float dt)
{
    dt = effectTime(dt);
    const float now = static_cast<float>(orv::ProgramClock::now());
    smokeTick = now - lastSmokeTime >= smokePeriod;
    if (smokeTick)
        lastSmokeTime = now;
    smokePuffs.updateNewestFirst([dt](SmokePuff& puff) {
        puff.x += puff.vx * pixelsPerMetre * dt;
        puff.y += puff.vy * pixelsPerMetre * dt;
        if (puff.delay > 0 && --puff.delay > 0)
            return true;
        // The fade is taken per update, not per second: puffs live a number
        // of frames.
        puff.life -= effectRandom(0.0f, puff.fade) * dt * 30.0f + puff.fade;
        if (!(puff.life > 1.0f))
            return false;
        puff.colour.a = static_cast<sf::Uint8>(std::clamp(puff.alphaScale * puff.life, 0.0f, 255.0f));
        const float s = (256.0f - puff.life) * puff.growth * puff.initialSizeX * 0.1f + puff.initialSizeX;
        if (!(s >= 1.0f))
            return false;
        puff.sizeX = s;
        puff.sizeY = s;
        return true;
    });
}

sf::Vector2f exhaustDirection(float chassisDegrees)
{
    const float beta = std::fmod(std::fmod(chassisDegrees + 180.0f, 360.0f) + 360.0f, 360.0f);
    return bearingVector(beta);
}

sf::Vector2f exhaustPosition(const sf::Vector2f& chassisPixels, float chassisDegrees, const sf::Vector2i& offset)
{
    const sf::Vector2f o(static_cast<float>(offset.x), static_cast<float>(offset.y));
    if (chassisDegrees == 0.0f)
        return chassisPixels + o;
    const float r = chassisDegrees * degreesToRadians;
    const float c = std::cos(r), s = std::sin(r);
    return chassisPixels + sf::Vector2f(o.x * c - o.y * s, o.x * s + o.y * c);
}

void emitExhaust(const Vehicle& vehicle)
{
    const b2Body* chassis = vehicle.body();
    const VehicleDef* def = vehicle.definition();
    if (!smokeTick || !chassis || !def)
        return;
    const b2Vec2 p = chassis->GetPosition();
    const sf::Vector2f centre(p.x * pixelsPerMetre, p.y * pixelsPerMetre);
    const float theta = chassis->GetAngle() * radiansToDegrees;
    // At idle puffs stay small and fade fast; at full revs they grow and
    // linger.
    const float t = vehicle.dynamics.engineLevel;
    const float a = t * 0.1f + (1.0f - t) * 0.025f;
    const float b = (1.0f - t) * 5.0f + t;
    const bool tracks = def->tracks;
    const sf::Color colour = tracks ? sf::Color(80, 80, 80, 255) : sf::Color(110, 110, 110, 255);
    const float k4 = tracks ? 3.6f : 3.0f, k2 = tracks ? 4.0f : 1.5f, k1 = tracks ? 8.0f : 6.0f;
    const float k3 = tracks ? 0.2f : 0.21f;
    addSmokePuff(exhaustPosition(centre, theta, def->exhaustPos), exhaustDirection(theta),
                 sf::Vector2f(k4 * 1.2f, k4 * 1.2f), colour, a * k2 * 1.2f, b * k1 * 0.8f, k3 * 1.5f,
                 sceneAssets.smokeTexture.get());
}

void addSmokePuff(const sf::Vector2f& position, const sf::Vector2f& velocity, const sf::Vector2f& size,
                  const sf::Color& colour, float growth, float fade, float alphaScale, const sf::Texture* texture)
{
    while (smokePuffs.full())
        smokePuffs.popOldest();
    if (orv::randomShort() % 20 == 0)
        return;
    SmokePuff puff;
    puff.x = position.x;
    puff.y = position.y;
    puff.rotation = effectRandom(0.0f, 360.0f);
    const float speed = effectRandom(0.8f, 1.2f);
    puff.vx = velocity.x * speed;
    puff.vy = velocity.y * speed;
    puff.sizeX = puff.initialSizeX = size.x;
    puff.sizeY = puff.initialSizeY = size.y;
    if (texture)
        puff.textureRect = sf::IntRect(0, 0, static_cast<int>(texture->getSize().x),
                                       static_cast<int>(texture->getSize().y));
    puff.colour = colour;
    puff.life = 255.0f - effectRandom(0.0f, 64.0f);
    puff.delay = 1;
    puff.growth = effectRandom(growth * 0.7f, growth * 1.3f);
    const float f = std::max(fade, 0.01f);
    puff.fade = effectRandom(f * 0.8f, f * 1.2f);
    puff.alphaScale = alphaScale;
    const float r = puff.rotation * degreesToRadians;
    puff.cosRotation = std::cos(r);
    puff.sinRotation = std::sin(r);
    smokePuffs.push(puff);
}

void buildSmokeVertices(sf::VertexArray& vertices, const sf::Vector2f& camera, float zoom)
{
    vertices.clear();
    for (std::size_t i = 0; i < smokePuffs.size(); ++i) {
        const SmokePuff& p = smokePuffs[i];
        appendQuad(vertices, sf::Vector2f(p.x, p.y) - camera, sf::Vector2f(p.sizeX, p.sizeY), p.cosRotation,
                   p.sinRotation, p.textureRect, p.colour, zoom);
    }
}

// Scratch space for the batch, rebuilt each frame; only its allocation is kept.
namespace {
sf::VertexArray smokeVertices(sf::Quads);
} // namespace

void drawSmoke(sf::RenderTarget& target, const sf::Vector2f& camera, float zoom, const sf::Texture* texture)
{
    if (smokePuffs.empty())
        return;
    buildSmokeVertices(smokeVertices, camera, zoom);
    drawQuadBatch(target, smokeVertices, texture);
}

void clearSmoke()
{
    smokePuffs.clear();
    smokeTick = false;
    lastSmokeTime = 0.0f;
}
