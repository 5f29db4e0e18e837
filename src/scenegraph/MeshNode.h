// The drawable nodes of meshes: MeshNode draws one mesh of the mesh manager; MorphNode draws a
// private copy blended between a source and a target mesh by an envelope.
#pragma once
#include "animation/Envelope.h"
#include "scenegraph/SceneNode.h"

#include <memory>

class Mesh;

// White, the mesh's arrays on, every face with its material, the arrays off. Nothing for none.
void drawMeshWithMaterials(Mesh* mesh);

class MeshNode : public SceneNode {
public:
    MeshNode() : SceneNode(kDrawable) {}
    void drawSelf() override;
    // "Name " with a quoted mesh name.
    LineResult readOwnLine(SceneReadContext& context) override;
    // Holds `m` and takes its bounds as the local sphere.
    void setMesh(Mesh* m);

    Mesh* mesh = nullptr;
};

class MorphNode : public SceneNode {
public:
    MorphNode();
    ~MorphNode() override;
    // Blends the copy's positions and normals by the envelope's value at `time`.
    void update(float time) override;
    void drawSelf() override;
    // "Mesh " source, "Target " target (quoted names), "MorphAmount " followed by an envelope.
    LineResult readOwnLine(SceneReadContext& context) override;
    // Index 0: the source, of which a drawable copy is made, and its bounds; 1: the target.
    void setMesh(int index, Mesh* m);

    std::unique_ptr<Envelope> amount;
    Mesh* source = nullptr;
    Mesh* target = nullptr;
    std::unique_ptr<Mesh> morphed;
};
