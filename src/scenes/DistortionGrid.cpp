#include "scenes/DistortionGrid.h"

#include "core/ExtensionRegistry.h"
#include "core/GL.h"

#include <cmath>

void DistortionGrid::build(int n, bool swirl)
{
    n_ = n < 1 ? 0 : n;
    coords_.clear();
    corners_.clear();
    cornerCoords_.clear();
    if (n_ == 0)
        return;
    coords_.resize(std::size_t((n_ + 1) * (n_ + 1)));
    const float half = float(n_) / 2.0f;
    const int intHalf = n_ / 2;
    for (int i = 0; i <= n_; ++i)
        for (int j = 0; j <= n_; ++j) {
            float s = float(i) / float(n_ + 1) - 0.5f;
            float t = float(j) / float(n_ + 1) - 0.5f;
            if (swirl) {
                const float di = float(i) - half, dj = float(j) - half;
                const float a = std::sqrt(di * di + dj * dj) * 3.1415927f / 128.0f;
                const float c = std::cos(a), sn = std::sin(a);
                const float rs = s * c - t * sn;
                t = s * sn + t * c;
                s = rs;
            }
            s += 0.03225f * std::cos(float(i - intHalf));
            t += 0.03225f * std::cos(float(j - intHalf));
            coords_[std::size_t(i * (n_ + 1) + j)] = {s + 0.5f, t + 0.5f};
        }

    // Corners in the order (i, j), (i+1, j), (i+1, j+1), (i, j+1) of every cell.
    const int di[4] = {0, 1, 1, 0}, dj[4] = {0, 0, 1, 1};
    corners_.reserve(std::size_t(n_ * n_ * 8));
    cornerCoords_.reserve(std::size_t(n_ * n_ * 8));
    for (int i = 0; i < n_; ++i)
        for (int j = 0; j < n_; ++j)
            for (int k = 0; k < 4; ++k) {
                corners_.push_back(float(i + di[k]) / float(n_));
                corners_.push_back(float(j + dj[k]) / float(n_));
                const TexCoord& tc = at(i + di[k], j + dj[k]);
                cornerCoords_.push_back(tc.s);
                cornerCoords_.push_back(tc.t);
            }
}

void DistortionGrid::draw() const { drawCells(0); }

void DistortionGrid::drawWithStraightCoords(int lastUnit) const { drawCells(lastUnit); }

void DistortionGrid::drawCells(int lastStraightUnit) const
{
    if (n_ == 0)
        return;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, 1.0, 0.0, 1.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    // The grid covers the screen in front of everything drawn before it; without the depth test
    // it costs no depth reads or writes.
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_DEPTH_TEST);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, corners_.data());
    if (ext::glClientActiveTextureARB)
        ext::glClientActiveTextureARB(GL_TEXTURE0_ARB);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 0, cornerCoords_.data());
    if (!ext::glClientActiveTextureARB)
        lastStraightUnit = 0;
    for (int unit = 1; unit <= lastStraightUnit; ++unit) {
        ext::glClientActiveTextureARB(GLenum(GL_TEXTURE0_ARB + unit));
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, corners_.data());
    }
    glDrawArrays(GL_QUADS, 0, GLsizei(corners_.size() / 2));
    for (int unit = 1; unit <= lastStraightUnit; ++unit) {
        ext::glClientActiveTextureARB(GLenum(GL_TEXTURE0_ARB + unit));
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    if (lastStraightUnit > 0)
        ext::glClientActiveTextureARB(GL_TEXTURE0_ARB);
    glPopClientAttrib();
    glPopAttrib();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}
