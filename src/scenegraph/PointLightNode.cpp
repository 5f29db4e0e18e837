#include "scenegraph/PointLightNode.h"

#include "core/GL.h"
#include "material/MaterialLibrary.h"
#include "script/ProblemSink.h"

namespace {

constexpr NodeKeyword<PointLightNode> kKeywords[] = {
    {"Radius ", [](SceneReadContext& c, PointLightNode& n) {
         float r = n.radius;
         scanFloats(c.reader.line, r);
         n.setRadius(r);
         return true;
     }},
    {"Color ", [](SceneReadContext& c, PointLightNode& n) {
         scanFloats(c.reader.line, n.colour[0], n.colour[1], n.colour[2], n.colour[3]);
         return true;
     }},
    {"Shader ", [](SceneReadContext& c, PointLightNode& n) {
         if (!MaterialLibrary::instance)
             return true;
         if (Material* found = MaterialLibrary::instance->find(c.reader.quotedText())) {
             if (n.material)
                 MaterialLibrary::instance->release(n.material);
             n.material = found;
         } else {
             problems::reportHere("no script defines the material " + problems::quoted(c.reader.quotedText()));
         }
         return true;
     }},
};

} // namespace

PointLightNode::PointLightNode() : SceneNode(kDrawable)
{
    localSphere = BoundingSphere::fromBox(Vector3(-7.0f, -7.0f, -7.0f), Vector3(7.0f, 7.0f, 7.0f));
}

PointLightNode::~PointLightNode()
{
    if (material && MaterialLibrary::instance)
        MaterialLibrary::instance->release(material);
}

SceneNode::LineResult PointLightNode::readOwnLine(SceneReadContext& context)
{
    return readNodeKeywords(kKeywords, context, *this);
}

void PointLightNode::setRadius(float r)
{
    radius = r;
    position = Vector3();
    const float e = 7.0f * r;
    localSphere = BoundingSphere::fromBox(Vector3(-e, -e, -e), Vector3(e, e, e));
}

void PointLightNode::drawSelf()
{
    // Lighting is put back by hand rather than through the attribute stack, which Mesa does not
    // restore reliably when pushes are nested (this sprite may be drawn under a shadow plane).
    const GLboolean lit = glIsEnabled(GL_LIGHTING);
    glDisable(GL_LIGHTING);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const Vector3 right(m[0], m[4], m[8]);
    const Vector3 up(m[1], m[5], m[9]);
    const Vector3 c1 = (right + up) * radius;
    const Vector3 c2 = (up - right) * radius;
    const Vector3 c3 = (-right - up) * radius;
    const Vector3 c4 = (right - up) * radius;
    if (material)
        material->bind();
    glBegin(GL_QUADS);
    glColor4fv(colour);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3fv(c1.data());
    glTexCoord2f(0.0f, 0.0f);
    glVertex3fv(c2.data());
    glTexCoord2f(0.0f, 1.0f);
    glVertex3fv(c3.data());
    glTexCoord2f(1.0f, 1.0f);
    glVertex3fv(c4.data());
    glEnd();
    if (material)
        material->unbind();
    if (lit)
        glEnable(GL_LIGHTING);
    glColor3f(1.0f, 1.0f, 1.0f);
}
