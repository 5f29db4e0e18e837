#include "effects/ScreenFrame.h"

#include "core/GL.h"
#include "core/ScreenSpace.h"

ScreenFrame::ScreenFrame()
{
    // The colour, blend function and write masks the overlay sets go back with the enables.
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    screen::push(0.0, 1.0);
    glEnable(GL_BLEND);
}

ScreenFrame::~ScreenFrame()
{
    screen::pop();
    glPopAttrib();
}

void ScreenFrame::texturedQuad(float x0, float y0, float x1, float y1, float s0, float t0,
                               float s1, float t1)
{
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t1);
    glVertex2f(x0, y0);
    glTexCoord2f(s0, t0);
    glVertex2f(x0, y1);
    glTexCoord2f(s1, t0);
    glVertex2f(x1, y1);
    glTexCoord2f(s1, t1);
    glVertex2f(x1, y0);
    glEnd();
}

void ScreenFrame::quad(float x0, float y0, float x1, float y1)
{
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x0, y1);
    glVertex2f(x1, y1);
    glVertex2f(x1, y0);
    glEnd();
}
