#include "scenegraph/SceneLoader.h"

#include "animation/Keyframer.h"
#include "animation/KeyframerLW.h"
#include "core/Log.h"
#include "geometry/MeshManager.h"
#include "math/Quaternion.h"
#include "scenegraph/CameraNode.h"
#include "scenegraph/LightNode.h"
#include "scenegraph/MeshNode.h"
#include "scenegraph/ParticleNode.h"
#include "scenegraph/PointLightNode.h"
#include "scenegraph/ShadowPlaneNode.h"
#include "script/ProblemSink.h"

namespace sceneloader {
namespace {

// Deeper nesting than any scene needs; it stops hostile files before the stack does.
constexpr int kMaxDepth = 200;

struct NodeKindEntry {
    const char* keyword;
    // Makes the node; none for a kind this build does not read, whose block is then passed
    // over up to its closing line.
    std::unique_ptr<SceneNode> (*make)();
};

template <class N>
std::unique_ptr<SceneNode> make()
{
    return std::make_unique<N>();
}

// Child nodes inside a block, in test order.
constexpr NodeKindEntry kChildKinds[] = {
    {"Mesh {", make<MeshNode>},
    {"Morph {", make<MorphNode>},
    {"Particles {", make<ParticleNode>},
    {"Group {", make<GroupNode>},
    {"DirectionalLight {", make<DirectionalLightNode>},
    {"SpotLight {", make<SpotLightNode>},
    {"PointLight {", make<PointLightNode>},
    {"Camera {", make<CameraNode>},
    {"ShadowPlane {", make<ShadowPlaneNode>},
};

// The root node at the top of the file, in test order.
constexpr NodeKindEntry kRootKinds[] = {
    {"Group {", make<GroupNode>},
    {"Mesh {", make<MeshNode>},
    {"Morph {", make<MorphNode>},
    {"DirectionalLight {", make<DirectionalLightNode>},
    {"SpotLight {", make<SpotLightNode>},
    {"PointLight {", make<PointLightNode>},
    {"Camera {", make<CameraNode>},
    {"ShadowPlane {", make<ShadowPlaneNode>},
};

template <class A>
void readAnimator(SceneReadContext& context, SceneNode& node)
{
    auto animator = std::make_unique<A>();
    // A block that fails part-way keeps the tracks read before the failure.
    animator->read(context.reader, context.stream);
    animator->prepare();
    node.animator = std::move(animator);
}

constexpr NodeKeyword<SceneNode> kCommonFields[] = {
    {"Keyframer {", [](SceneReadContext& c, SceneNode& n) { readAnimator<Keyframer>(c, n); return true; }},
    {"KeyframerLW {", [](SceneReadContext& c, SceneNode& n) { readAnimator<KeyframerLW>(c, n); return true; }},
    {"Position ", [](SceneReadContext& c, SceneNode& n) {
         scanFloats(c.reader.line, n.position.x, n.position.y, n.position.z);
         return true;
     }},
    {"Rotation ", [](SceneReadContext& c, SceneNode& n) {
         Vector3 axis;
         float angle = 0.0f;
         scanFloats(c.reader.line, axis.x, axis.y, axis.z, angle);
         n.rotation = Quaternion::fromAxisAngle(angle, axis).toMatrix();
         return true;
     }},
    {"Scale ", [](SceneReadContext& c, SceneNode& n) {
         scanFloats(c.reader.line, n.scale.x, n.scale.y, n.scale.z);
         return true;
     }},
};

// Passes over a block of a kind that is not read, nested blocks included.
void skipBlock(SceneReadContext& context)
{
    int open = 1;
    while (open > 0 && context.reader.next(context.stream)) {
        if (context.reader.contains("{"))
            ++open;
        if (context.reader.contains("}"))
            --open;
    }
}

// A block ends at the first line none of its keywords takes; when that line is not its "}",
// the maker meant the block to go on: the lines after it are read by the block around it.
void reportEarlyEnd(const ScriptReader& reader, const NodeKindEntry& entry, int opened)
{
    if (!problems::active() || reader.contains("}"))
        return;
    const bool comment = reader.line.empty() && !reader.commentText.empty();
    if (reader.line.empty() && !comment)
        return; // the end of the file closes the block
    const std::string keyword = entry.keyword;
    Problem problem;
    problem.file = reader.fileName;
    problem.line = reader.fileLine;
    problem.message = problems::refusedLine(keyword.substr(0, keyword.find(' ')), comment);
    problem.text = comment ? reader.commentText : reader.line;
    problem.cost = "the block opened at line " + std::to_string(opened) +
                   " ends here; the lines after it are read by the block around it or passed over";
    problem.loses = true;
    problems::report(problem);
}

// Reads the block of the kind opened on the current line into a new node; none when the load
// fails (`ok` false) and for a kind without a maker, whose block is skipped.
std::unique_ptr<SceneNode> readNode(SceneReadContext& context, const NodeKindEntry& entry, bool& ok)
{
    ok = true;
    if (!entry.make) {
        skipBlock(context);
        return nullptr;
    }
    if (context.depth >= kMaxDepth) {
        logPrint("Scene %s line %d: nodes nested more than %d deep", context.reader.fileName.c_str(),
                 context.reader.fileLine, kMaxDepth);
        ok = false;
        return nullptr;
    }
    std::unique_ptr<SceneNode> node = entry.make();
    const int opened = context.reader.fileLine;
    ++context.depth;
    ok = readBlock(context, *node);
    --context.depth;
    if (!ok)
        node.reset();
    else
        reportEarlyEnd(context.reader, entry, opened);
    return node;
}

template <std::size_t K>
const NodeKindEntry* findKind(const NodeKindEntry (&table)[K], const ScriptReader& reader)
{
    for (const NodeKindEntry& entry : table)
        if (reader.contains(entry.keyword))
            return &entry;
    return nullptr;
}

SceneNode::LineResult readCommonLine(SceneReadContext& context, SceneNode& node)
{
    const SceneNode::LineResult result = readNodeKeywords(kCommonFields, context, node);
    if (result != SceneNode::LineResult::EndsBlock)
        return result;
    const NodeKindEntry* entry = findKind(kChildKinds, context.reader);
    if (!entry)
        return SceneNode::LineResult::EndsBlock;
    bool ok = true;
    std::unique_ptr<SceneNode> child = readNode(context, *entry, ok);
    if (!ok)
        return SceneNode::LineResult::Fails;
    if (child)
        node.addChild(std::move(child));
    return SceneNode::LineResult::Taken;
}

} // namespace

bool readBlock(SceneReadContext& context, SceneNode& node)
{
    while (context.reader.next(context.stream)) {
        SceneNode::LineResult result = readCommonLine(context, node);
        if (result == SceneNode::LineResult::EndsBlock)
            result = node.readOwnLine(context);
        if (result == SceneNode::LineResult::Fails)
            return false;
        if (result == SceneNode::LineResult::EndsBlock)
            break;
    }
    node.endBlock();
    return true;
}

std::unique_ptr<SceneNode> read(std::istream& stream, const std::string& fileName)
{
    ScriptReader reader;
    reader.fileName = fileName;
    SceneReadContext context{reader, stream};
    while (reader.next(stream)) {
        const NodeKindEntry* entry = findKind(kRootKinds, reader);
        if (!entry)
            continue;
        bool ok = true;
        return readNode(context, *entry, ok);
    }
    return nullptr;
}

Mesh* findOrLoadMesh(SceneReadContext& context, const std::string& name)
{
    Mesh* mesh = nullptr;
    if (MeshManager::instance) {
        mesh = MeshManager::instance->find(name);
        if (!mesh)
            mesh = MeshManager::instance->load(name, 0);
    }
    if (!mesh)
        logPrint("Scene %s line %d: mesh \"%s\" can be neither found nor loaded; its node draws nothing",
                 context.reader.fileName.c_str(), context.reader.fileLine, name.c_str());
    return mesh;
}

} // namespace sceneloader
