// The GL state that drawing must give back, read into named values for before/after
// comparisons: lighting and lights, fog, blending, depth, stencil, culling, colour, matrices and
// the first four texture units.
#pragma once
#include "core/ExtensionRegistry.h"
#include "core/GL.h"

#include <cmath>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

// Named GL values, read in a fixed order so two snapshots compare entry by entry.
struct GLSnapshot {
    std::vector<std::pair<std::string, double>> values;

    void enabled(const char* label, GLenum cap) { values.emplace_back(label, glIsEnabled(cap) ? 1.0 : 0.0); }
    void integers(const char* label, GLenum name, int count = 1)
    {
        GLint v[4] = {};
        glGetIntegerv(name, v);
        for (int i = 0; i < count; ++i)
            values.emplace_back(std::string(label) + "[" + std::to_string(i) + "]", v[i]);
    }
    void floats(const std::string& label, GLenum name, int count)
    {
        GLfloat v[16] = {};
        glGetFloatv(name, v);
        for (int i = 0; i < count; ++i)
            values.emplace_back(label + "[" + std::to_string(i) + "]", v[i]);
    }

    static GLSnapshot take()
    {
        GLSnapshot s;
        s.enabled("lighting", GL_LIGHTING);
        for (int i = 0; i < 8; ++i)
            s.enabled(("light " + std::to_string(i)).c_str(), GLenum(GL_LIGHT0 + i));
        s.enabled("colour material", GL_COLOR_MATERIAL);
        s.enabled("normalize", GL_NORMALIZE);
        s.integers("two-sided lighting", GL_LIGHT_MODEL_TWO_SIDE);
        s.enabled("fog", GL_FOG);
        s.enabled("blend", GL_BLEND);
        // The function matters only while blending is on (whoever turns it on sets it): read
        // as 0 while it is off.
        const bool blending = glIsEnabled(GL_BLEND);
        s.integers("blend source", GL_BLEND_SRC);
        s.integers("blend destination", GL_BLEND_DST);
        if (!blending)
            s.values[s.values.size() - 1].second = s.values[s.values.size() - 2].second = 0.0;
        s.enabled("alpha test", GL_ALPHA_TEST);
        s.enabled("depth test", GL_DEPTH_TEST);
        s.integers("depth function", GL_DEPTH_FUNC);
        s.integers("depth writes", GL_DEPTH_WRITEMASK);
        s.enabled("stencil test", GL_STENCIL_TEST);
        s.integers("colour writes", GL_COLOR_WRITEMASK, 4);
        s.enabled("cull face", GL_CULL_FACE);
        s.integers("cull mode", GL_CULL_FACE_MODE);
        s.integers("front face", GL_FRONT_FACE);
        s.integers("polygon mode", GL_POLYGON_MODE, 2);
        s.floats("colour", GL_CURRENT_COLOR, 4);
        s.integers("matrix mode", GL_MATRIX_MODE);
        s.integers("attribute depth", GL_ATTRIB_STACK_DEPTH);
        s.integers("projection depth", GL_PROJECTION_STACK_DEPTH);
        s.integers("modelview depth", GL_MODELVIEW_STACK_DEPTH);
        s.floats("projection", GL_PROJECTION_MATRIX, 16);
        s.floats("modelview", GL_MODELVIEW_MATRIX, 16);
        s.integers("active unit", GL_ACTIVE_TEXTURE_ARB);
        for (int unit = 0; unit < 4; ++unit) {
            ext::glActiveTextureARB(GLenum(GL_TEXTURE0_ARB + unit));
            const std::string u = "unit " + std::to_string(unit) + " ";
            s.enabled((u + "2D").c_str(), GL_TEXTURE_2D);
            s.enabled((u + "cube").c_str(), GL_TEXTURE_CUBE_MAP_ARB);
            s.enabled((u + "gen s").c_str(), GL_TEXTURE_GEN_S);
            s.enabled((u + "gen t").c_str(), GL_TEXTURE_GEN_T);
            s.integers((u + "matrix depth").c_str(), GL_TEXTURE_STACK_DEPTH);
            s.floats(u + "matrix", GL_TEXTURE_MATRIX, 16);
        }
        ext::glActiveTextureARB(GL_TEXTURE0_ARB);
        return s;
    }
};

// The differences between two snapshots, one line each; empty when they agree.
inline std::string differences(const GLSnapshot& before, const GLSnapshot& after)
{
    std::ostringstream out;
    for (std::size_t i = 0; i < before.values.size(); ++i) {
        const double a = before.values[i].second, b = after.values[i].second;
        if (std::abs(a - b) > 1e-5)
            out << "  " << before.values[i].first << ": " << a << " -> " << b << "\n";
    }
    return out.str();
}

