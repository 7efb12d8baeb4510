#version 120
// Fog of war: fades the picture out with distance from a clear centre.
uniform sampler2D texture;
uniform vec2 fogCentre;
uniform float fogRadius;
varying vec2 worldPosition;
void main()
{
    vec4 texel = texture2D(texture, gl_TexCoord[0].xy);
    float radius = fogRadius > 0.0 ? fogRadius : 1.0;
    float fog = smoothstep(radius * 0.8, radius, distance(worldPosition, fogCentre));
    gl_FragColor = vec4(mix(texel.rgb, vec3(0.1, 0.1, 0.12), fog), texel.a) * gl_Color;
}
