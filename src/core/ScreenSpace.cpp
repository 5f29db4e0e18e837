#include "core/ScreenSpace.h"

#include "core/GL.h"

namespace screen {

void push(double zNear, double zFar)
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, kWidth, 0.0, kHeight, zNear, zFar);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void pop()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

Viewport letterbox(int width, int height)
{
    if (width <= 0 || height <= 0)
        return {0, 0, width > 0 ? width : 0, height > 0 ? height : 0};
    Viewport v;
    // Compare width * 3 with height * 4 in integers: exact for every 4:3 size.
    const long long w = width, h = height;
    if (w * 3 > h * 4) {
        v.height = height;
        v.width = int((h * 4 + 1) / 3);
    } else {
        v.width = width;
        v.height = int((w * 3 + 2) / 4);
    }
    v.x = (width - v.width) / 2;
    v.y = (height - v.height) / 2;
    return v;
}

Viewport setViewport(int width, int height)
{
    const Viewport v = letterbox(width, height);
    glViewport(v.x, v.y, v.width, v.height);
    return v;
}

} // namespace screen
