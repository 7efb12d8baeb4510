#include "render/RenderState.h"

#include "render/Camera.h"
#include "render/DrawSubmit.h"
#include "render/SmokePuffs.h"
#include "render/TrackMarks.h"
#include "render/Wildlife.h"
#include "render/WorldRenderer.h"

void resetRenderState()
{
    camera = sf::Vector2f();
    cameraZoom = 2.0f;
    clearTracks();
    clearSmoke();
    clearWildlife();
    drawSubmitStats = DrawSubmitStats();
    drawWholeSectors = false;
}
