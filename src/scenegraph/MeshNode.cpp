#include "scenegraph/MeshNode.h"

#include "core/GL.h"
#include "geometry/Mesh.h"
#include "scenegraph/SceneLoader.h"

void drawMeshWithMaterials(Mesh* mesh)
{
    if (!mesh)
        return;
    glColor3f(1.0f, 1.0f, 1.0f);
    mesh->begin();
    mesh->draw(true);
    mesh->end();
}

namespace {

BoundingSphere meshSphere(const Mesh& mesh) { return BoundingSphere::fromBox(mesh.boundsMin, mesh.boundsMax); }

constexpr NodeKeyword<MeshNode> kMeshKeywords[] = {
    {"Name ", [](SceneReadContext& c, MeshNode& n) {
         n.setMesh(sceneloader::findOrLoadMesh(c, c.reader.quotedText()));
         return true;
     }},
};

constexpr NodeKeyword<MorphNode> kMorphKeywords[] = {
    {"Mesh ", [](SceneReadContext& c, MorphNode& n) {
         n.setMesh(0, sceneloader::findOrLoadMesh(c, c.reader.quotedText()));
         return true;
     }},
    {"Target ", [](SceneReadContext& c, MorphNode& n) {
         n.setMesh(1, sceneloader::findOrLoadMesh(c, c.reader.quotedText()));
         return true;
     }},
    {"MorphAmount ", [](SceneReadContext& c, MorphNode& n) {
         n.amount = std::make_unique<Envelope>();
         return n.amount->read(c.reader, c.stream);
     }},
};

} // namespace

void MeshNode::drawSelf() { drawMeshWithMaterials(mesh); }

SceneNode::LineResult MeshNode::readOwnLine(SceneReadContext& context)
{
    return readNodeKeywords(kMeshKeywords, context, *this);
}

void MeshNode::setMesh(Mesh* m)
{
    mesh = m;
    if (mesh)
        localSphere = meshSphere(*mesh);
}

MorphNode::MorphNode() : SceneNode(kDrawable) {}
MorphNode::~MorphNode() = default;

SceneNode::LineResult MorphNode::readOwnLine(SceneReadContext& context)
{
    return readNodeKeywords(kMorphKeywords, context, *this);
}

void MorphNode::setMesh(int index, Mesh* m)
{
    if (index == 1) {
        target = m;
        return;
    }
    source = m;
    morphed.reset();
    if (!source || source->vertices.empty() || source->faces.empty())
        return;
    localSphere = meshSphere(*source);
    morphed = std::make_unique<Mesh>();
    morphed->flags = source->flags;
    morphed->allocate(source->vertices.size(), source->faces.size());
    // Every coordinate set the source has is copied: a set left empty would stop the copy's
    // drawing, which never draws more vertices than its shortest set holds.
    MeshTexCoord pairs[Mesh::kTexCoordSets];
    for (int i = 0; i < source->vertices.size(); ++i) {
        for (int set = 0; set < Mesh::kTexCoordSets; ++set)
            pairs[set] = i < source->texCoords[set].size() ? source->texCoords[set][i] : MeshTexCoord{};
        morphed->addVertex(source->vertices[i], pairs);
    }
    for (const MeshFace& face : source->faces)
        morphed->addFace(face);
    morphed->boundsMin = source->boundsMin;
    morphed->boundsMax = source->boundsMax;
}

void MorphNode::update(float time)
{
    // A target of another vertex count has no partner for some vertices: the copy then stays
    // the source as it is, rather than reading past the smaller mesh.
    if (!morphed || !target || target->vertices.size() != source->vertices.size())
        return;
    const float w = amount ? amount->evaluate(time) : 0.0f;
    const MeshVertex* src = source->vertices.data();
    const MeshVertex* tgt = target->vertices.data();
    MeshVertex* out = morphed->vertices.data();
    const int count = morphed->vertices.size();
    for (int i = 0; i < count; ++i) {
        out[i].position = src[i].position + (tgt[i].position - src[i].position) * w;
        out[i].normal = (src[i].normal + (tgt[i].normal - src[i].normal) * w).normalized();
    }
}

void MorphNode::drawSelf() { drawMeshWithMaterials(morphed.get()); }
