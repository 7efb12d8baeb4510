#include "render/TrackMarks.h"

#include "framework/ProgramClock.h"
#include "framework/Random.h"
#include "render/EffectQuads.h"
#include "render/SceneAssets.h"
#include "vehicle/Vehicle.h"
#include "world/Map.h"
#include "world/MapPhysics.h"
#include "world/TerrainTextures.h"
#include "world/Units.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <box2d/box2d.h>

#include <algorithm>
#include <cmath>

CappedList<TrackMark> trackMarks(maxTrackMarks);
bool trackTick = false;
float lastTrackTime = 0.0f;

namespace {
// Marks are laid at most this often, so their spacing does not follow the
// frame rate.
constexpr float trackPeriod = 0.032f;
} // namespace

void updateTracks(float dt)
{
    dt = effectTime(dt);
    const float now = static_cast<float>(orv::ProgramClock::now());
    trackTick = now - lastTrackTime >= trackPeriod;
    if (trackTick)
        lastTrackTime = now;
    trackMarks.updateNewestFirst([dt](TrackMark& mark) {
        mark.life -= dt * 0.5f;
        if (!(mark.life > 1.0f))
            return false;
        mark.colour.a = static_cast<sf::Uint8>(std::min(mark.life, 255.0f));
        return true;
    });
}

const TextureMaterial& groundMaterialAt(const sf::Vector2f& position)
{
    const std::vector<Sector*>& under = findSectors(sf::FloatRect(position, sf::Vector2f(1.0f, 1.0f)),
                                                    SectorQueryMode::NonRoof);
    const Sector* ground = !under.empty() ? under.back()
                           : currentMap.sectors.empty() ? nullptr
                                                        : &currentMap.sectors.front();
    return materialForTextureIndex(ground ? ground->textureIndex : -1);
}

void layTrackMark(const sf::Vector2f& position, float angleDegrees, float wheelSize, const TextureMaterial& material,
                  int wheelCount, const sf::Texture* texture)
{
    const float alpha = material.trackAlpha / static_cast<float>(std::max(wheelCount, 1));
    while (trackMarks.full())
        trackMarks.popOldest();
    if (orv::randomShort() % 20 == 0)
        return; // one in twenty is missed, so tracks do not look stamped
    TrackMark mark;
    mark.x = position.x;
    mark.y = position.y;
    mark.angle = angleDegrees;
    mark.width = wheelSize;
    mark.length = 2.0f * wheelSize;
    if (texture)
        mark.textureRect = sf::IntRect(0, 0, static_cast<int>(texture->getSize().x),
                                       static_cast<int>(texture->getSize().y));
    mark.colour = material.trackColour;
    mark.life = (alpha - effectRandom(0.0f, alpha * 0.25f)) * 256.0f;
    const float radians = angleDegrees * degreesToRadians;
    mark.cosAngle = std::cos(radians);
    mark.sinAngle = std::sin(radians);
    trackMarks.push(mark);
}

void layTracks(const Vehicle& vehicle)
{
    const b2Body* chassis = vehicle.body();
    if (!trackTick || !chassis || chassis->GetLinearVelocity().LengthSquared() <= 0.2f)
        return;
    const std::vector<Wheel>& wheels = vehicle.dynamics.wheels;
    const VehicleDef* def = vehicle.definition();
    const std::vector<sf::Sprite>& sprites = vehicle.appearance.wheelSprites;
    const float angle = chassis->GetAngle() * radiansToDegrees;
    for (const Wheel& wheel : wheels) {
        if (!wheel.body)
            continue;
        float size = 0.0f;
        if (def && wheel.mountIndex >= 0 && static_cast<std::size_t>(wheel.mountIndex) < def->wheelMounts.size()) {
            const int type = def->wheelMounts[static_cast<std::size_t>(wheel.mountIndex)].wheelType;
            if (type >= 0 && static_cast<std::size_t>(type) < sprites.size()) {
                const sf::IntRect rect = sprites[static_cast<std::size_t>(type)].getTextureRect();
                size = static_cast<float>(std::min(rect.width, rect.height));
            }
        }
        const b2Vec2 p = wheel.body->GetPosition();
        const sf::Vector2f position(p.x * pixelsPerMetre, p.y * pixelsPerMetre);
        layTrackMark(position, angle, size, groundMaterialAt(position), static_cast<int>(wheels.size()),
                     sceneAssets.vehicleTrackTexture.get());
    }
}

void buildTrackVertices(sf::VertexArray& vertices, const sf::Vector2f& camera, float zoom)
{
    vertices.clear();
    for (std::size_t i = 0; i < trackMarks.size(); ++i) {
        const TrackMark& m = trackMarks[i];
        appendQuad(vertices, sf::Vector2f(m.x, m.y) - camera, sf::Vector2f(m.width, m.length), m.cosAngle,
                   m.sinAngle, m.textureRect, m.colour, zoom);
    }
}

// Scratch space for the batch, rebuilt each frame; only its allocation is kept.
namespace {
sf::VertexArray trackVertices(sf::Quads);
} // namespace

void drawTracks(sf::RenderTarget& target, const sf::Vector2f& camera, float zoom, const sf::Texture* texture)
{
    if (trackMarks.empty())
        return;
    buildTrackVertices(trackVertices, camera, zoom);
    drawQuadBatch(target, trackVertices, texture);
}

void clearTracks()
{
    trackMarks.clear();
    trackTick = false;
    lastTrackTime = 0.0f;
}
