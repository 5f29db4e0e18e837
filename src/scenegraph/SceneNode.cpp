#include "scenegraph/SceneNode.h"

#include "animation/Keyframer.h"
#include "animation/KeyframerLW.h"
#include "core/GL.h"
#include "math/Angles.h"
#include "script/ProblemSink.h"

SceneNode::~SceneNode()
{
    if (animator)
        animator->finish();
}

SceneNode& SceneNode::addChild(std::unique_ptr<SceneNode> child)
{
    child->parent = this;
    children.push_back(std::move(child));
    return *children.back();
}

bool SceneNode::animatorAngles(float& h, float& p, float& b) const
{
    const auto* envelopes = dynamic_cast<const KeyframerLW*>(animator.get());
    if (!envelopes)
        return false;
    h = envelopes->h;
    p = envelopes->p;
    b = envelopes->b;
    return true;
}

void SceneNode::updateTree(float time, SceneNode* parentNode)
{
    if (animator) {
        animator->update(time);
        position = animator->translation;
        scale = animator->scale;
        float h, p, b;
        if (animatorAngles(h, p, b))
            rotation = Matrix4x4::eulerYXZ(h, p, b);
        else
            // A keyframe animator turns by its quaternion, as glRotatef does in pushTransform;
            // toMatrix holds the opposite turn, hence the conjugate.
            rotation = animator->rotation.conjugate().toMatrix();
    }
    update(time);
    if (parentNode) {
        worldRotation = parentNode->worldRotation * rotation;
        worldPosition = parentNode->worldPosition + parentNode->worldRotation.transformPoint(position);
        worldScale = {scale.x * parentNode->worldScale.x, scale.y * parentNode->worldScale.y,
                      scale.z * parentNode->worldScale.z};
    } else {
        worldRotation = rotation;
        worldPosition = position;
        worldScale = scale;
    }
    ownSphere = {localSphere.centre + worldPosition, localSphere.radius * worldScale.x};
    subtreeSphere = ownSphere;
    worldUpdated();
    for (const auto& child : children)
        child->updateTree(time, this);
    if (parentNode)
        parentNode->subtreeSphere.merge(subtreeSphere);
}

void SceneNode::pushTransform() const
{
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    if (animator) {
        float h, p, b;
        if (animatorAngles(h, p, b)) {
            glRotatef(-h * radToDeg, 0.0f, 1.0f, 0.0f);
            glRotatef(-p * radToDeg, 1.0f, 0.0f, 0.0f);
            glRotatef(-b * radToDeg, 0.0f, 0.0f, 1.0f);
        } else {
            float angle;
            Vector3 axis;
            animator->rotation.toAxisAngle(angle, axis);
            glRotatef(angle * radToDeg, axis.x, axis.y, axis.z);
        }
    }
    glScalef(scale.x, scale.y, scale.z);
}

void SceneNode::drawVisible(const Frustum& frustum)
{
    bool ownVisible = true;
    if (kind != kCamera) {
        if (frustum.outside(subtreeSphere))
            return;
        ownVisible = !frustum.outside(ownSphere);
    }
    pushTransform();
    if (ownVisible && kind == kDrawable)
        drawSelf();
    for (const auto& child : children)
        child->drawVisible(frustum);
    glPopMatrix();
}

void SceneNode::drawAll()
{
    pushTransform();
    if (kind == kDrawable)
        drawSelf();
    for (const auto& child : children)
        child->drawAll();
    glPopMatrix();
}

SceneNode::LineResult GroupNode::readOwnLine(SceneReadContext& context)
{
    const ScriptReader& reader = context.reader;
    if (reader.contains("}"))
        return LineResult::EndsBlock;
    // A group passes over every other line; one that is not its name is a keyword the maker
    // meant for something and that does nothing here.
    if (!reader.line.empty() && !reader.contains("Name")) {
        Problem problem = problems::here();
        problem.message = problems::refusedLine("Group", false);
        problem.cost = "the line is passed over";
        problems::report(problem);
    }
    return LineResult::Taken;
}
