#pragma once
// The render layer's mutable state, listed in one place with the one reset
// that puts it back as a fresh process has it (tests start from there):
// - camera, cameraZoom (Camera.h): where the view looks and its zoom;
// - trackMarks, smokePuffs, the animals (TrackMarks.h, SmokePuffs.h,
//   Wildlife.h): the effect lists with their emission clocks;
// - drawSubmitStats (DrawSubmit.h): draw calls counted for the profile;
// - drawWholeSectors (WorldRenderer.h): the reference drawing switch.
// sceneAssets (SceneAssets.h) holds textures and shaders that live with the
// window; loadSceneAssets replaces them, so it is not reset here.

/// Every record above back to its start.
void resetRenderState();
