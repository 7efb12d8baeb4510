#version 120
// Animated water: the riverbed seen through moving ripples, tinted by the
// sector's water texture, with glints where two ripple trains meet.

uniform sampler2D texture;         // the sector's floor texture
uniform sampler2D riverBedTexture; // what lies under the water
uniform bool waterEffect;
uniform int waterType;
uniform bool classicWater;
uniform float time;                // seconds since start

varying vec2 worldPos;

void main()
{
    vec2 p = worldPos;
    // Two ripple trains crossing at an angle; whole-pixel world units.
    float a = sin(dot(p, vec2(0.045, 0.030)) + time * 1.7);
    float b = sin(dot(p, vec2(-0.028, 0.050)) + time * 1.3);
    float c = sin(dot(p, vec2(0.011, -0.017)) + time * 0.6);
    vec2 bend = vec2(a + 0.5 * c, b - 0.5 * c) * 3.0;

    vec4 bed = texture2D(riverBedTexture, (p + bend) / 256.0);
    vec4 surface = texture2D(texture, gl_TexCoord[0].xy + bend / 512.0);

    float depth = (waterType == 1 && !classicWater) ? 0.55 : 0.75;
    vec3 colour = mix(bed.rgb, surface.rgb, depth);
    float glint = smoothstep(1.55, 1.95, a + b);
    colour += vec3(0.35, 0.4, 0.4) * glint;

    float alpha = waterEffect ? 0.92 : 1.0;
    gl_FragColor = vec4(colour, alpha) * gl_Color;
}
