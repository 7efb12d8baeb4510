#version 120
// Water sectors: passes the texture coordinate on and works out where the
// vertex lies in the world, so the ripples stay put while the camera moves.

uniform vec2 mapScroll;   // camera position times the render scale
uniform vec2 screenScale; // render scale on both axes

varying vec2 worldPos;

void main()
{
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
    gl_TexCoord[0] = gl_TextureMatrix[0] * gl_MultiTexCoord0;
    gl_FrontColor = gl_Color;
    worldPos = (gl_Vertex.xy + mapScroll) / screenScale;
}
