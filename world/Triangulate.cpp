#include "world/Triangulate.h"

#include <GL/glu.h>

#include <array>
#include <deque>

// The GLU tessellator works without a GL context or a display. With an
// edge-flag callback it reports plain triangles only (no fans or strips).

namespace {

struct TessVertex {
    std::array<GLdouble, 3> coords;
};

struct TessContext {
    std::deque<TessVertex> vertices; // stable addresses for the tessellator
    Polygon output;
    bool failed = false;
};

void GLAPIENTRY onBegin(GLenum type, void* data)
{
    if (type != GL_TRIANGLES)
        static_cast<TessContext*>(data)->failed = true;
}

void GLAPIENTRY onEdgeFlag(GLboolean, void*) {}

void GLAPIENTRY onVertex(void* vertex, void* data)
{
    const auto* v = static_cast<const TessVertex*>(vertex);
    static_cast<TessContext*>(data)->output.emplace_back(static_cast<float>(v->coords[0]),
                                                         static_cast<float>(v->coords[1]));
}

void GLAPIENTRY onCombine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* data)
{
    auto* context = static_cast<TessContext*>(data);
    context->vertices.push_back({{coords[0], coords[1], 0.0}});
    *out = &context->vertices.back();
}

void GLAPIENTRY onError(GLenum, void* data)
{
    static_cast<TessContext*>(data)->failed = true;
}

void GLAPIENTRY onEnd(void*) {}

void addContour(GLUtesselator* tess, TessContext& context, const Polygon& contour)
{
    gluTessBeginContour(tess);
    for (const sf::Vector2f& p : contour) {
        context.vertices.push_back({{p.x, p.y, 0.0}});
        gluTessVertex(tess, context.vertices.back().coords.data(), &context.vertices.back());
    }
    gluTessEndContour(tess);
}

} // namespace

bool triangulate(const Polygon& outline, const std::vector<Polygon>& holes, Polygon& triangles)
{
    if (outline.size() < 3)
        return false;
    GLUtesselator* tess = gluNewTess();
    if (!tess)
        return false;
    TessContext context;
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<_GLUfuncptr>(onBegin));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<_GLUfuncptr>(onEdgeFlag));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<_GLUfuncptr>(onVertex));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(onCombine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<_GLUfuncptr>(onError));
    gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<_GLUfuncptr>(onEnd));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD);
    gluTessNormal(tess, 0.0, 0.0, 1.0);

    gluTessBeginPolygon(tess, &context);
    addContour(tess, context, outline);
    for (const Polygon& hole : holes)
        if (hole.size() >= 3)
            addContour(tess, context, hole);
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);

    if (context.failed || context.output.empty() || context.output.size() % 3 != 0)
        return false;
    triangles.insert(triangles.end(), context.output.begin(), context.output.end());
    return true;
}
