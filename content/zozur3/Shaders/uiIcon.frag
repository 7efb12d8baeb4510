#version 120
// Toolkit icons: tinted by the vertex colour, greyed out when disabled.
uniform sampler2D texture;
uniform bool disabled;
void main()
{
    vec4 texel = texture2D(texture, gl_TexCoord[0].xy) * gl_Color;
    if (disabled) {
        float grey = dot(texel.rgb, vec3(0.299, 0.587, 0.114));
        texel = vec4(vec3(grey) * 0.6, texel.a * 0.5);
    }
    gl_FragColor = texel;
}
