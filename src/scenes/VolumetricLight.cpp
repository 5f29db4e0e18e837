#include "scenes/VolumetricLight.h"

#include "core/GL.h"
#include "geometry/Mesh.h"
#include "material/Material.h"

#include <cmath>

LightShell VolumetricShells::operator[](int k) const
{
    return {1.0f - float(k) / float(count), 1.0f + 0.05f * float(k)};
}

VolumetricShells volumetricShells(float angle)
{
    VolumetricShells shells;
    shells.count = int((std::sin(angle) + 1.0f) * 12.5f);
    return shells;
}

void drawVolumetricLight(Mesh& mesh, Material* shellMaterial, const Vector3& position, float angle)
{
    mesh.begin();
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    glRotatef(angle * 17.5f, 1.0f, 0.0f, 0.0f);
    glRotatef(angle * 45.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(angle * 30.0f, 0.0f, 0.0f, 1.0f);
    glTranslatef(1.0f, 1.0f, 1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    mesh.draw(true);

    if (shellMaterial)
        shellMaterial->bind();
    const VolumetricShells shells = volumetricShells(angle);
    for (int k = 0; k < shells.count; ++k) {
        const LightShell shell = shells[k];
        glColor4f(shell.intensity, shell.intensity, shell.intensity, shell.intensity);
        glPushMatrix();
        glScalef(shell.scale, shell.scale, shell.scale);
        mesh.draw(false);
        glPopMatrix();
    }
    if (shellMaterial)
        shellMaterial->unbind();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glPopMatrix();
    mesh.end();
}
