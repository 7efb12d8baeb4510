#include "render/Camera.h"

#include "framework/Core.h"

sf::Vector2f camera;
float cameraZoom = 2.0f;

sf::FloatRect visibleWorldRect()
{
    const sf::Vector2f view = orv::isWindowOpen() ? orv::window().getView().getSize() : sf::Vector2f();
    return sf::FloatRect(camera, view / cameraZoom);
}

sf::Vector2f worldToScreen(const sf::Vector2f& worldPixels)
{
    return (worldPixels - camera) * cameraZoom;
}
