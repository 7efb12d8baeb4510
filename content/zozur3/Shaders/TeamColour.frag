#version 120
// Recolours the magenta parts of a sprite with the team colour, keeping shade.
uniform sampler2D texture;
uniform vec4 teamColour;
void main()
{
    vec4 texel = texture2D(texture, gl_TexCoord[0].xy);
    float magenta = clamp(min(texel.r, texel.b) - texel.g, 0.0, 1.0);
    vec3 shade = vec3(max(texel.r, texel.b));
    vec3 colour = mix(texel.rgb, teamColour.rgb * shade, magenta);
    gl_FragColor = vec4(colour, texel.a) * gl_Color;
}
