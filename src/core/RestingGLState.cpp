#include "core/RestingGLState.h"

#include "core/GL.h"

#include <initializer_list>

void applyRestingGLState()
{
    for (GLenum hint : {GL_PERSPECTIVE_CORRECTION_HINT, GL_FOG_HINT, GL_POLYGON_SMOOTH_HINT,
                        GL_LINE_SMOOTH_HINT, GL_POINT_SMOOTH_HINT})
        glHint(hint, GL_NICEST);
    glDisable(GL_POLYGON_SMOOTH);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_POINT_SMOOTH);
    glPointSize(1.0f);
    glLineWidth(1.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearStencil(0);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_NORMALIZE);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    for (int i = 0; i < 8; ++i)
        glDisable(GL_LIGHT0 + i);
    glDisable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
}
