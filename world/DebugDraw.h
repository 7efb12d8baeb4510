#pragma once
// Draws the physics world's debug shapes over the scene, in screen
// coordinates of the camera and zoom the caller sets before each drawing.

#include <box2d/box2d.h>

#include <SFML/System/Vector2.hpp>

namespace ctk {

class DebugDraw : public b2Draw {
public:
    /// The view to draw in: camera (world pixels) and zoom (screen pixels per
    /// world pixel).
    void setView(const sf::Vector2f& camera, float zoom);
    /// A point in metres on screen.
    sf::Vector2f toScreen(const b2Vec2& metres) const;

    void DrawPolygon(const b2Vec2* vertices, int32 vertexCount, const b2Color& color) override;
    void DrawSolidPolygon(const b2Vec2* vertices, int32 vertexCount, const b2Color& color) override;
    void DrawCircle(const b2Vec2& center, float radius, const b2Color& color) override;
    void DrawSolidCircle(const b2Vec2& center, float radius, const b2Vec2& axis, const b2Color& color) override;
    void DrawSegment(const b2Vec2& p1, const b2Vec2& p2, const b2Color& color) override;
    void DrawTransform(const b2Transform& xf) override;
    void DrawPoint(const b2Vec2& p, float size, const b2Color& color) override;

private:
    void drawPolygon(const b2Vec2* vertices, int32 count, const b2Color& color, bool filled) const;

    sf::Vector2f camera_;
    float zoom_ = 1.0f;
};

} // namespace ctk
