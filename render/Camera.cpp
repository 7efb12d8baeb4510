#include "render/Camera.h"

#include "app/AppSettings.h"
#include "framework/Core.h"

sf::Vector2f camera;

sf::FloatRect visibleWorldRect()
{
    const sf::Vector2f view = orv::isWindowOpen() ? orv::window().getView().getSize() : sf::Vector2f();
    return sf::FloatRect(camera, view / appSettings.renderScale);
}

sf::Vector2f worldToScreen(const sf::Vector2f& worldPixels)
{
    return (worldPixels - camera) * appSettings.renderScale;
}
