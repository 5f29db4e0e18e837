#include "effects/QuadBatch.h"

#include "core/GL.h"

void QuadBatch::draw(bool textured) const
{
    if (vertices_.size() < 4)
        return;
    const Vertex* v = vertices_.data();
    glVertexPointer(3, GL_FLOAT, sizeof(Vertex), &v->x);
    glColorPointer(4, GL_FLOAT, sizeof(Vertex), &v->r);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    if (textured) {
        glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &v->s);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    glDrawArrays(GL_QUADS, 0, GLsizei(vertices_.size() / 4 * 4));
    if (textured)
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    // The colour array leaves the current colour undefined; the show draws on from white.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}
