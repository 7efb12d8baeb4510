#include "render/WorldRenderer.h"

#include "framework/Layers.h"
#include "framework/ProgramClock.h"
#include "framework/ShaderManager.h"
#include "framework/Signals.h"
#include "render/DrawSubmit.h"
#include "render/SceneAssets.h"
#include "world/ImageSets.h"
#include "world/Map.h"
#include "world/ObjectDefs.h"
#include "world/TerrainTextures.h"
#include "world/Units.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>

#include <box2d/box2d.h>

#include <algorithm>
#include <cmath>

bool drawWholeSectors = false;

namespace {

// Objects are window-layer sprites; the layer only matters for drop shadows.
constexpr int objectLayer = 2;
const sf::Color edgeHighlight(255, 255, 255, 128);
const sf::Color edgeShade(0, 0, 0, 128);
// Edges blend half over what lies under them, so the same edge drawn again
// and again settles on a colour within a few layers (the blend is monotonic
// and halves the distance each time) and stays there: past this many
// identical layers with nothing drawn between, another changes no pixel.
constexpr int maxIdenticalEdgeLayers = 32;

// Scratch space reused by every frame (only the allocation is kept, the
// vertices are rebuilt): untextured sectors and the edges.
sf::VertexArray flatVertices(sf::Triangles);
sf::VertexArray edgeVertices(sf::Triangles);

sf::VertexArray& flatBuffer()
{
    return flatVertices;
}

sf::VertexArray& edgeBuffer()
{
    return edgeVertices;
}

// A line `width` screen pixels wide as two triangles.
void appendLine(sf::VertexArray& out, const sf::Vector2f& from, const sf::Vector2f& to, const sf::Color& colour,
                float width)
{
    const sf::Vector2f d = to - from;
    const float length = std::sqrt(d.x * d.x + d.y * d.y);
    if (!(length > 0.0f))
        return;
    const sf::Vector2f n(-d.y / length * width * 0.5f, d.x / length * width * 0.5f);
    const sf::Vertex a(from + n, colour), b(from - n, colour), c(to + n, colour), e(to - n, colour);
    out.append(a);
    out.append(b);
    out.append(c);
    out.append(c);
    out.append(b);
    out.append(e);
}

// Appends a sector's edges to the edge buffer; they are drawn in one call
// with those of the sectors after it, up to the next floor drawn (the order
// of what is drawn stays the same).
void appendEdges(const Sector& sector, const sf::Vector2f& camera, float zoom)
{
    sf::VertexArray& edges = edgeBuffer();
    const std::size_t n = sector.points.size();
    for (std::size_t i = 0; i < n; ++i) {
        const sf::Vector2f& a = sector.points[i];
        const sf::Vector2f& b = sector.points[(i + 1) % n];
        const bool lit = edgeLit(edgeBearing(a, b), sector.bevelType);
        appendLine(edges, (a - camera) * zoom, (b - camera) * zoom, lit ? edgeHighlight : edgeShade, 2.0f);
    }
}

void flushEdges(sf::RenderTarget& target)
{
    sf::VertexArray& edges = edgeBuffer();
    if (edges.getVertexCount() > 0)
        submitDraw(target, edges);
    edges.clear();
}

// The triangles of the sector's floor to fill, or null for none.
const Polygon* floorTriangles(const Sector& sector)
{
    if (drawWholeSectors || sector.drawn == DrawnPart::Whole)
        return &sector.triangles;
    return sector.drawn == DrawnPart::Part ? &sector.drawnTriangles : nullptr;
}

// The water pass's states and uniforms; false when the shader is not there.
bool prepareWater(sf::RenderStates& states, const sf::Texture* floor, const sf::Vector2f& camera, float zoom)
{
    orv::ShaderRecord& record = orv::ShaderManager::get(sceneAssets.waterShader);
    if (!record.loaded || !record.shader)
        return false;
    orv::CachedShader& water = *record.shader;
    states.shader = &water.shader();
    states.blendMode = sf::BlendAlpha;
    states.texture = floor;
    water.setUniform("texture", sf::Shader::CurrentTexture);
    if (sceneAssets.riverbedTexture)
        water.setUniform("riverBedTexture", *sceneAssets.riverbedTexture);
    water.setUniform("waterEffect", true);
    water.setUniform("waterType", 1);
    water.setUniform("mapScroll", camera * zoom);
    water.setUniform("screenScale", sf::Vector2f(zoom, zoom));
    water.setUniform("classicWater", false);
    water.setUniform("time", static_cast<float>(orv::ProgramClock::now()));
    return true;
}

} // namespace

float edgeBearing(const sf::Vector2f& from, const sf::Vector2f& to)
{
    const float dx = to.x - from.x, dy = to.y - from.y;
    if (dx == 0.0f && dy == 0.0f)
        return 0.0f;
    float degrees = std::atan2(dx, -dy) * radiansToDegrees;
    if (degrees < 0.0f)
        degrees += 360.0f;
    return degrees >= 360.0f ? 0.0f : degrees;
}

bool edgeLit(float bearing, int bevelType)
{
    const bool lit = bearing > 315.0f || bearing <= 135.0f;
    return bevelType == 2 ? !lit : lit;
}

bool sectorBevelled(std::size_t index, int bevelType)
{
    return bevelType != 0 && index != 0;
}

bool rectsMeet(const sf::FloatRect& a, const sf::FloatRect& b)
{
    return a.left <= b.left + b.width && b.left <= a.left + a.width && a.top <= b.top + b.height &&
           b.top <= a.top + a.height;
}

void drawSectors(const sf::Vector2f& camera, float zoom, const sf::FloatRect& visible)
{
    sf::RenderTarget& target = orv::getLayerTarget(orv::LayerRedirect, false);
    for (auto& texture : terrainTextures)
        texture->vertexBuffer.clear();
    sf::VertexArray& flat = flatBuffer();
    edgeBuffer().clear();

    const Sector* lastEdges = nullptr; // since the last floor drawn
    int identicalEdges = 0;
    for (std::size_t s = 0; s < currentMap.sectors.size(); ++s) {
        // The program is leaving: a quit request need not wait for the rest.
        if (orv::quitSignalled())
            break;
        const Sector& sector = currentMap.sectors[s];
        if (!rectsMeet(sector.bounds, visible))
            continue;
        const Polygon* triangles = floorTriangles(sector);
        if (triangles && !triangles->empty()) {
            flushEdges(target);
            lastEdges = nullptr;
            // An index past the texture list draws flat rather than reading past it.
            TerrainTexture* floor = terrainTextureAt(sector.textureIndex);
            sf::VertexArray& buffer = floor ? floor->vertexBuffer : flat;
            const std::size_t count = triangles->size();
            buffer.resize(count);
            for (std::size_t i = 0; i < count; ++i) {
                const sf::Vector2f& p = (*triangles)[i];
                sf::Vertex& v = buffer[i];
                v.position = (p - camera) * zoom;
                if (floor) {
                    v.color = sf::Color::White;
                    v.texCoords = p + sector.textureOffset;
                } else {
                    v.color = sector.colour;
                }
            }

            sf::RenderStates states = sf::RenderStates::Default;
            if (sector.waterEffect) {
                // Without the shader the water draws flat in default states.
                prepareWater(states, floor ? floor->texture.get() : nullptr, camera, zoom);
            } else if (floor) {
                states.texture = floor->texture.get();
            }
            submitDraw(target, buffer, states);
        }

        if (sectorBevelled(s, sector.bevelType)) {
            const bool same =
                lastEdges && lastEdges->bevelType == sector.bevelType && lastEdges->points == sector.points;
            identicalEdges = same ? identicalEdges + 1 : 1;
            lastEdges = &sector;
            if (drawWholeSectors || identicalEdges <= maxIdenticalEdgeLayers)
                appendEdges(sector, camera, zoom);
            if (drawWholeSectors)
                flushEdges(target);
        }
    }
    flushEdges(target);
}

void drawObjects(const sf::Vector2f& camera, float zoom, const sf::FloatRect& visible)
{
    for (MapObject& object : currentMap.objects) {
        if (object.definition < 0 || static_cast<std::size_t>(object.definition) >= objectDefs.size() ||
            !object.body)
            continue;
        const ObjectDef& def = objectDefs[static_cast<std::size_t>(object.definition)];
        // A definition without an image keeps its body but is not drawn.
        if (def.imageIndex < 0 || static_cast<std::size_t>(def.imageIndex) >= textureImages.size())
            continue;
        const b2Vec2 p = object.body->GetPosition();
        const sf::Vector2f position(p.x * pixelsPerMetre, p.y * pixelsPerMetre);
        const float side = std::max(def.size.x, def.size.y) * 1.41f;
        if (!rectsMeet(sf::FloatRect(position.x - side * 0.5f, position.y - side * 0.5f, side, side), visible))
            continue;
        drawSpriteWithShadow(objectLayer, textureImages[static_cast<std::size_t>(def.imageIndex)].sprite,
                             (position - camera) * zoom, sf::Vector2f(zoom, zoom), sf::Vector2f(),
                             object.body->GetAngle() * radiansToDegrees);
    }
}

void drawSpriteWithShadow(int layer, sf::Sprite& sprite, const sf::Vector2f& position, const sf::Vector2f& scale,
                          const sf::Vector2f& shadowOffset, float rotation)
{
    if (sprite.getPosition() != position)
        sprite.setPosition(position);
    if (sprite.getRotation() != rotation)
        sprite.setRotation(rotation);
    if (sprite.getScale() != scale)
        sprite.setScale(scale);
    if (shadowOffset != sf::Vector2f()) {
        orv::ShaderRecord& record = orv::ShaderManager::get(orv::frameworkShaders.spriteShadow);
        if (record.loaded && record.shader) {
            sprite.move(shadowOffset);
            record.shader->setUniform("texture", sf::Shader::CurrentTexture);
            sf::RenderStates states;
            states.shader = &record.shader->shader();
            submitDraw(orv::getLayerTarget(layer, false), sprite, states);
            sprite.move(-shadowOffset);
        }
    }
    submitDraw(orv::getLayerTarget(orv::LayerRedirect, false), sprite);
    if (sprite.getScale() != sf::Vector2f(1.0f, 1.0f))
        sprite.setScale(1.0f, 1.0f);
    if (sprite.getRotation() != 0.0f)
        sprite.setRotation(0.0f);
    if (sprite.getColor() != sf::Color::White)
        sprite.setColor(sf::Color::White);
}
