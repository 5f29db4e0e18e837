#include "particles/ParticleRenderer.h"

#include "geometry/Mesh.h"
#include "geometry/MeshManager.h"
#include "material/MaterialLibrary.h"
#include "particles/ParticleScript.h"

#include <cstddef>
#include <string>

ParticleRenderer::ParticleRenderer(Material* material) : material_(material) {}

ParticleRenderer::~ParticleRenderer()
{
    if (material_ && MaterialLibrary::instance)
        MaterialLibrary::instance->release(material_);
}

void ParticleRenderer::begin(const Camera*)
{
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    right = {m[0], m[4], m[8]};
    up = {m[1], m[5], m[9]};
    if (material_)
        material_->bind();
}

void ParticleRenderer::end()
{
    if (material_)
        material_->unbind();
}

// Gathered kinds --------------------------------------------------------------------------

BatchRenderer::BatchRenderer(Material* material, GLenum primitive, bool textured)
    : ParticleRenderer(material), primitive_(primitive), textured_(textured) {}

void BatchRenderer::begin(const Camera* camera)
{
    ParticleRenderer::begin(camera);
    vertices_.clear();
}

void BatchRenderer::end()
{
    if (!vertices_.empty()) {
        glPushAttrib(GL_ENABLE_BIT);
        glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
        glDisable(GL_LIGHTING);
        constexpr GLsizei stride = sizeof(ParticleVertex);
        const ParticleVertex* v = vertices_.data();
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, stride, v->position.data());
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_FLOAT, stride, v->colour);
        if (textured_) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(2, GL_FLOAT, stride, &v->s);
        }
        glDrawArrays(primitive_, 0, GLsizei(vertices_.size()));
        glPopClientAttrib();
        glPopAttrib();
        // The colour array leaves the current colour undefined; later drawing expects white.
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
    ParticleRenderer::end();
}

// Meshes ----------------------------------------------------------------------------------

void MeshesRenderer::begin(const Camera* camera)
{
    ParticleRenderer::begin(camera);
    if (mesh_)
        mesh_->begin();
}

void MeshesRenderer::draw(const Particle& p)
{
    if (!mesh_)
        return;
    glPushMatrix();
    glTranslatef(p.position.x, p.position.y, p.position.z);
    mesh_->draw(true);
    glPopMatrix();
}

void MeshesRenderer::end()
{
    if (mesh_)
        mesh_->end();
    ParticleRenderer::end();
}

// Reading ---------------------------------------------------------------------------------

namespace {

Mesh* findOrLoadMesh(const std::string& name)
{
    MeshManager* meshes = MeshManager::instance;
    if (!meshes || name.empty())
        return nullptr;
    if (Mesh* mesh = meshes->find(name))
        return mesh;
    return meshes->load(name, 0);
}

struct RendererKind {
    const char* name;
    std::unique_ptr<ParticleRenderer> (*make)(Material* material, const std::string& mesh);
};

template <class R>
std::unique_ptr<ParticleRenderer> make(Material* material, const std::string&)
{
    return std::make_unique<R>(material);
}

constexpr RendererKind kRendererKinds[] = {
    {"Points", make<PointsRenderer>},
    {"Lines", make<LinesRenderer>},
    {"Quads", make<QuadsRenderer>},
    {"StretchQuads", make<StretchQuadsRenderer>},
    {"Meshes", [](Material* material, const std::string& mesh) -> std::unique_ptr<ParticleRenderer> {
         return std::make_unique<MeshesRenderer>(material, findOrLoadMesh(mesh));
     }},
};

} // namespace

std::unique_ptr<ParticleRenderer> readParticleRenderer(ScriptReader& reader, std::istream& stream)
{
    std::string kind, shader, mesh;
    struct Field {
        const char* keyword;
        std::string* value;
    };
    const Field fields[] = {{"Type", &kind}, {"Shader", &shader}, {"Mesh", &mesh}};
    while (reader.next(stream)) {
        if (reader.contains("}"))
            break;
        for (const Field& field : fields) {
            if (!reader.contains(field.keyword))
                continue;
            *field.value = particles::quotedValue(reader.line);
            if (field.value->empty()) {
                particles::logRefusal(reader, "the renderer's value is empty");
                particles::skipBlock(reader, stream);
                return nullptr;
            }
            break;
        }
    }
    Material* material = MaterialLibrary::instance ? MaterialLibrary::instance->find(shader) : nullptr;
    if (!material) {
        particles::logRefusal(reader, ("the renderer's material \"" + shader + "\" is not in the library").c_str());
        return nullptr;
    }
    for (const RendererKind& entry : kRendererKinds) {
        if (kind == entry.name)
            return entry.make(material, mesh);
    }
    MaterialLibrary::instance->release(material);
    particles::logRefusal(reader, ("unknown renderer type \"" + kind + "\"").c_str());
    return nullptr;
}
