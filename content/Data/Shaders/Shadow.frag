#version 120
// A soft black silhouette of the texture, half as opaque as the sprite.

uniform sampler2D texture;

void main()
{
    float alpha = texture2D(texture, gl_TexCoord[0].xy).a * gl_Color.a;
    gl_FragColor = vec4(0.0, 0.0, 0.0, alpha * 0.45);
}
