#include "scenegraph/LightNode.h"

#include "core/Log.h"

#include <algorithm>

LightSlots::LightSlots(int maximum) : maxLights_(std::clamp(maximum, 0, 32)) {}

LightSlots& LightSlots::shared()
{
    static LightSlots slots = [] {
        GLint count = 0;
        glGetIntegerv(GL_MAX_LIGHTS, &count);
        logPrint("GL_MAX_LIGHTS: %d", int(count));
        return LightSlots(count);
    }();
    return slots;
}

GLenum LightSlots::allocate()
{
    for (int i = 0; i < maxLights_; ++i) {
        if (!(used_ & (1u << i))) {
            used_ |= 1u << i;
            return GLenum(GL_LIGHT0 + i);
        }
    }
    return 0;
}

void LightSlots::release(GLenum light)
{
    const unsigned i = unsigned(light - GL_LIGHT0);
    if (i < 32)
        used_ &= ~(1u << i);
}

namespace {

constexpr NodeKeyword<LightNode> kColourLines[] = {
    {"Ambient ", [](SceneReadContext& c, LightNode& n) {
         scanFloats(c.reader.line, n.ambient[0], n.ambient[1], n.ambient[2], n.ambient[3]);
         return n.active = true;
     }},
    {"Diffuse ", [](SceneReadContext& c, LightNode& n) {
         scanFloats(c.reader.line, n.diffuse[0], n.diffuse[1], n.diffuse[2], n.diffuse[3]);
         return n.active = true;
     }},
    {"Specular ", [](SceneReadContext& c, LightNode& n) {
         scanFloats(c.reader.line, n.specular[0], n.specular[1], n.specular[2], n.specular[3]);
         return n.active = true;
     }},
    {"Attenuation ", [](SceneReadContext& c, LightNode& n) {
         scanFloats(c.reader.line, n.attenuation[0], n.attenuation[1], n.attenuation[2]);
         return n.active = true;
     }},
};

// The "Direction " line's vector, normalised; false when the line holds no direction.
bool readDirection(SceneReadContext& context, Vector3& v)
{
    Vector3 read;
    if (scanFloats(context.reader.line, read.x, read.y, read.z) != 3 || read.length() == 0.0f)
        return false;
    v = read.normalized();
    return true;
}

constexpr NodeKeyword<DirectionalLightNode> kDirectionalLines[] = {
    {"Direction ", [](SceneReadContext& c, DirectionalLightNode& n) {
         // The line gives the direction the light shines along: lightVector = -v.
         if (readDirection(c, n.localDirection))
             n.lightVector = -n.localDirection;
         return true;
     }},
};

constexpr NodeKeyword<SpotLightNode> kSpotLines[] = {
    {"Direction ", [](SceneReadContext& c, SpotLightNode& n) {
         // The line's vector points back from where the spot shines: spotDirection = -v.
         Vector3 v;
         if (readDirection(c, v))
             n.spotDirection = n.localDirection = -v;
         return true;
     }},
    {"Exponent ", [](SceneReadContext& c, SpotLightNode& n) {
         scanFloats(c.reader.line, n.exponent);
         return true;
     }},
    {"Cutoff ", [](SceneReadContext& c, SpotLightNode& n) {
         scanFloats(c.reader.line, n.cutoff);
         return true;
     }},
};

} // namespace

LightNode::LightNode() : SceneNode(kLight) { LightSlots::shared(); }

LightNode::~LightNode() { disableLight(); }

SceneNode::LineResult LightNode::readOwnLine(SceneReadContext& context)
{
    const LineResult result = readNodeKeywords(kColourLines, context, *this);
    return result == LineResult::EndsBlock ? readKindLine(context) : result;
}

void LightNode::enableLight()
{
    if (!active)
        return;
    if (glLight == 0) {
        glLight = LightSlots::shared().allocate();
        if (glLight == 0) {
            active = false;
            return;
        }
    }
    glEnable(glLight);
    glLightfv(glLight, GL_AMBIENT, ambient);
    glLightfv(glLight, GL_DIFFUSE, diffuse);
    glLightfv(glLight, GL_SPECULAR, specular);
    // GL refuses negative factors (and the spot values below outside its ranges) with an error
    // and keeps the previous light's; the nearest value it takes is set instead.
    const GLenum factors[3] = {GL_CONSTANT_ATTENUATION, GL_LINEAR_ATTENUATION, GL_QUADRATIC_ATTENUATION};
    for (int i = 0; i < 3; ++i)
        glLightf(glLight, factors[i], attenuation[i] > 0.0f ? attenuation[i] : 0.0f);
    setPosition();
}

void LightNode::disableLight()
{
    if (glLight == 0)
        return;
    static constexpr GLfloat kPosition[4] = {0.0f, 0.0f, 1.0f, 0.0f};
    static constexpr GLfloat kSpotDirection[3] = {0.0f, 0.0f, -1.0f};
    static constexpr GLfloat kAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    static constexpr GLfloat kDiffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    static constexpr GLfloat kSpecular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightfv(glLight, GL_POSITION, kPosition);
    glLightfv(glLight, GL_SPOT_DIRECTION, kSpotDirection);
    glLightf(glLight, GL_SPOT_EXPONENT, 0.0f);
    glLightf(glLight, GL_SPOT_CUTOFF, 180.0f);
    glLightfv(glLight, GL_AMBIENT, kAmbient);
    glLightfv(glLight, GL_DIFFUSE, kDiffuse);
    glLightfv(glLight, GL_SPECULAR, kSpecular);
    glLightf(glLight, GL_CONSTANT_ATTENUATION, 1.0f);
    glLightf(glLight, GL_LINEAR_ATTENUATION, 0.0f);
    glLightf(glLight, GL_QUADRATIC_ATTENUATION, 0.0f);
    glDisable(glLight);
    LightSlots::shared().release(glLight);
    glLight = 0;
}

Vector3 LightNode::worldDirection(const Vector3& local) const
{
    return worldRotation.transformVector(local).normalized();
}

void DirectionalLightNode::worldUpdated()
{
    // Only a light with an animator of its own is turned; without one it keeps its direction
    // whatever its parents' rotation.
    lightVector = animator ? -worldDirection(localDirection) : -localDirection;
}

void DirectionalLightNode::setPosition()
{
    const GLfloat p[4] = {lightVector.x, lightVector.y, lightVector.z, 0.0f};
    glLightfv(glLight, GL_POSITION, p);
}

SceneNode::LineResult DirectionalLightNode::readKindLine(SceneReadContext& context)
{
    return readNodeKeywords(kDirectionalLines, context, *this);
}

void SpotLightNode::worldUpdated()
{
    lightPosition = worldPosition;
    spotDirection = worldDirection(localDirection);
}

void SpotLightNode::setPosition()
{
    const GLfloat p[4] = {lightPosition.x, lightPosition.y, lightPosition.z, 1.0f};
    glLightfv(glLight, GL_POSITION, p);
    glLightfv(glLight, GL_SPOT_DIRECTION, spotDirection.data());
    glLightf(glLight, GL_SPOT_EXPONENT, exponent > 0.0f ? std::min(exponent, 128.0f) : 0.0f);
    // A cone wider than a half space (or no angle at all) lights every direction.
    glLightf(glLight, GL_SPOT_CUTOFF, cutoff >= 0.0f && cutoff <= 90.0f ? cutoff : 180.0f);
}

SceneNode::LineResult SpotLightNode::readKindLine(SceneReadContext& context)
{
    return readNodeKeywords(kSpotLines, context, *this);
}
