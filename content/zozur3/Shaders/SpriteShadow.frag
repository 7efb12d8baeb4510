#version 120
// A sprite's silhouette as a soft shadow: its alpha, darkened.
uniform sampler2D texture;
uniform float shadowAlpha;
void main()
{
    float a = texture2D(texture, gl_TexCoord[0].xy).a;
    float strength = shadowAlpha > 0.0 ? shadowAlpha : 0.5;
    gl_FragColor = vec4(0.0, 0.0, 0.0, a * strength * gl_Color.a);
}
