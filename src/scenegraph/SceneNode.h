// A node of a scene tree: a local transform (optionally animated), world values and bounding
// spheres computed each frame, children it owns, and the per-kind update and drawing. GroupNode
// is the kind that only holds children.
#pragma once
#include "animation/Animator.h"
#include "math/Matrix4x4.h"
#include "math/Vector3.h"
#include "scenegraph/Bounds.h"
#include "script/ScriptReader.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// What a node block reader works with: the line reader (the current line in reader.line) and the
// stream nested blocks continue to read from.
struct SceneReadContext {
    ScriptReader& reader;
    std::istream& stream;
    // Node blocks open around the current line.
    int depth = 0;
};

class SceneNode {
public:
    enum Kind { kGroup = 1, kDrawable = 2, kCamera = 3, kLight = 4 };
    // The verdict on a line of a node block after the common fields passed it on.
    enum class LineResult { Taken, EndsBlock, Fails };

    explicit SceneNode(int nodeKind) : kind(nodeKind) {}
    virtual ~SceneNode();
    SceneNode(const SceneNode&) = delete;
    SceneNode& operator=(const SceneNode&) = delete;

    // The kind's own per-frame work, after the animator and before the world transform.
    virtual void update(float time) {}
    // Brings state the kind keeps from frame to frame to time `to`, as frames of `step` seconds
    // from `from` would have; called once before the first update of a tree entered late.
    // Nothing for kinds that follow the time.
    virtual void catchUp(float from, float to, float step) {}
    // Draws the node and its subtree without culling.
    virtual void drawAll();
    // Draws what of the subtree the frustum can see.
    virtual void drawVisible(const Frustum& frustum);
    // The node's own geometry, in its local frame.
    virtual void drawSelf() {}
    // A line of the node's block that is none of the common fields. The base ends the block.
    virtual LineResult readOwnLine(SceneReadContext& context) { return LineResult::EndsBlock; }
    // Called once when the block has ended (its closing line or the end of the file).
    virtual void endBlock() {}
    // After the world transform of this frame is known (before the children are updated).
    virtual void worldUpdated() {}

    // Animator, own update, world transform and spheres, children; then grows the parent's
    // subtree sphere by this node's.
    void updateTree(float time, SceneNode* parentNode);
    // Appends `child` and sets its parent.
    SceneNode& addChild(std::unique_ptr<SceneNode> child);
    // The animator's heading, pitch and bank in radians when it has such angles (the envelope
    // animator); false otherwise.
    bool animatorAngles(float& h, float& p, float& b) const;

    std::unique_ptr<Animator> animator;
    Vector3 position{0.0f, 0.0f, 0.0f};
    Matrix4x4 rotation = Matrix4x4::identity();
    Vector3 scale{1.0f, 1.0f, 1.0f};
    BoundingSphere localSphere;
    Vector3 worldPosition{0.0f, 0.0f, 0.0f};
    Matrix4x4 worldRotation = Matrix4x4::identity();
    Vector3 worldScale{1.0f, 1.0f, 1.0f};
    BoundingSphere ownSphere;
    BoundingSphere subtreeSphere;
    const int kind;
    std::vector<std::unique_ptr<SceneNode>> children;
    SceneNode* parent = nullptr;

protected:
    // glPushMatrix, then the node's translation, animator turn and scale.
    void pushTransform() const;
};

class GroupNode : public SceneNode {
public:
    GroupNode() : SceneNode(kGroup) {}
    // Lines that match nothing are skipped; a line holding "}" closes the group.
    LineResult readOwnLine(SceneReadContext& context) override;
};

// A node kind's own keywords, tested in table order on the current line: the first one the line
// contains reads it. A reader returns false when the line makes the whole load fail.
template <class N>
struct NodeKeyword {
    const char* text;
    bool (*read)(SceneReadContext& context, N& node);
};

template <class N, std::size_t K>
SceneNode::LineResult readNodeKeywords(const NodeKeyword<N> (&table)[K], SceneReadContext& context,
                                       N& node)
{
    for (const NodeKeyword<N>& keyword : table) {
        if (context.reader.contains(keyword.text))
            return keyword.read(context, node) ? SceneNode::LineResult::Taken
                                               : SceneNode::LineResult::Fails;
    }
    return SceneNode::LineResult::EndsBlock;
}
