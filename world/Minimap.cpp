#include "world/Minimap.h"

#include "framework/Core.h"
#include "framework/Layers.h"
#include "world/Map.h"

#include <SFML/Graphics/VertexArray.hpp>

namespace {

unsigned nextPowerOfTwo(unsigned v)
{
    unsigned p = 1;
    while (p < v && p < (1u << 31))
        p <<= 1;
    return p;
}

} // namespace

MinimapLayout computeMinimapLayout(const sf::Vector2i& mapSize, const sf::Vector2f& viewSize)
{
    MinimapLayout layout;
    const float w = viewSize.x, h = viewSize.y;
    if (mapSize.x <= 0 || mapSize.y <= 0 || w <= 5.0f || h <= 15.0f)
        return layout;
    float scale = static_cast<float>(mapSize.x) / ((w - 5.0f) * 0.7f);
    if (static_cast<float>(mapSize.y) / scale > h - 15.0f)
        scale = static_cast<float>(mapSize.y) / (h - 15.0f);
    layout.scale = scale;
    layout.size = sf::Vector2u(static_cast<unsigned>(static_cast<float>(mapSize.x) / scale),
                               static_cast<unsigned>(static_cast<float>(mapSize.y) / scale));
    layout.textureSize = sf::Vector2u(nextPowerOfTwo(layout.size.x), nextPowerOfTwo(layout.size.y));
    layout.usable = layout.size.x > 0 && layout.size.y > 0;
    return layout;
}

void buildMinimap()
{
    Map& map = currentMap;
    map.minimapReady = false;
    if (map.sectors.empty() || !orv::isWindowOpen())
        return;
    const MinimapLayout layout = computeMinimapLayout(map.mapSize, orv::window().getView().getSize());
    if (!layout.usable)
        return;
    map.minimapScale = layout.scale;
    map.minimapSize = layout.size;
    if (!map.minimapTexture)
        map.minimapTexture = std::make_unique<sf::RenderTexture>();
    sf::RenderTexture& texture = *map.minimapTexture;
    // A texture of the right size is reused: making one costs a GL context
    // switch and a new framebuffer, far more than the drawing.
    if (texture.getSize() != layout.textureSize && !texture.create(layout.textureSize.x, layout.textureSize.y))
        return;

    texture.clear(sf::Color::Transparent);
    orv::setRedirect(texture);
    texture.setView(sf::View(sf::FloatRect(0.0f, 0.0f, static_cast<float>(layout.size.x),
                                           static_cast<float>(layout.size.y))));
    // The first sector is the map's background.
    orv::drawRectangle(orv::LayerRedirect, sf::Vector2f(0, 0), sf::Vector2f(layout.size), map.sectors[0].colour,
                       true, 0.0f);
    sf::VertexArray triangles(sf::Triangles);
    for (std::size_t i = 1; i < map.sectors.size(); ++i) {
        // Only what later opaque sectors leave visible: a stack of sectors
        // over the whole map would fill the whole minimap once per layer.
        const Sector& sector = map.sectors[i];
        const Polygon& tris = sector.drawn == DrawnPart::Part ? sector.drawnTriangles : sector.triangles;
        if (sector.drawn == DrawnPart::None)
            continue;
        for (const sf::Vector2f& p : tris)
            triangles.append(sf::Vertex(p / layout.scale, sector.colour));
    }
    texture.draw(triangles);
    texture.setView(texture.getDefaultView());
    texture.display();
    orv::clearRedirect();
    map.minimapReady = true;
}

void drawMinimap(const sf::FloatRect& visibleRect)
{
    const Map& map = currentMap;
    if (!map.minimapReady || !map.minimapTexture)
        return;
    const float w = static_cast<float>(map.minimapSize.x), h = static_cast<float>(map.minimapSize.y);
    const float x = orv::window().getView().getSize().x - w - 1.0f, y = 1.0f;
    orv::drawTexture(orv::LayerUi, map.minimapTexture->getTexture(), x, y, x + w - 0.5f, y + h - 0.5f,
                     sf::IntRect(), sf::Color::White);
    orv::drawRectangle(orv::LayerUi, sf::Vector2f(x, y), sf::Vector2f(w, h), sf::Color::White, false, 2.0f);
    const float s = map.minimapScale;
    orv::drawRectangle(orv::LayerUi, sf::Vector2f(x + visibleRect.left / s, y + visibleRect.top / s),
                       sf::Vector2f(visibleRect.width / s, visibleRect.height / s), sf::Color(255, 255, 0, 255),
                       false, 2.0f);
}
