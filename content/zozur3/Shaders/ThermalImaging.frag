#version 120
// Maps brightness onto a heat palette: black, blue, red, yellow, white.
uniform sampler2D texture;
vec3 heat(float t)
{
    vec3 c = mix(vec3(0.0), vec3(0.1, 0.1, 0.8), smoothstep(0.0, 0.25, t));
    c = mix(c, vec3(0.9, 0.1, 0.1), smoothstep(0.25, 0.5, t));
    c = mix(c, vec3(1.0, 0.9, 0.1), smoothstep(0.5, 0.75, t));
    return mix(c, vec3(1.0), smoothstep(0.75, 1.0, t));
}
void main()
{
    vec4 texel = texture2D(texture, gl_TexCoord[0].xy);
    float luminance = dot(texel.rgb, vec3(0.299, 0.587, 0.114));
    gl_FragColor = vec4(heat(luminance), texel.a) * gl_Color;
}
