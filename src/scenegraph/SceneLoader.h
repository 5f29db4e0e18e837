// The ".scene" reader: the first node block of a file becomes the root of a node tree. Each
// block offers its lines to the common fields (animator, transform, child nodes) first and to
// its kind's own keywords after them.
#pragma once
#include "scenegraph/SceneNode.h"

#include <istream>
#include <memory>
#include <string>

class Mesh;

namespace sceneloader {

// The root node read from `stream`, or none when no node keyword comes before the end or a
// block fails. `fileName` names the file in log lines.
std::unique_ptr<SceneNode> read(std::istream& stream, const std::string& fileName);
// Reads the lines of the block whose opening line was just read into `node`, up to the line that
// ends it. False when the load has to fail.
bool readBlock(SceneReadContext& context, SceneNode& node);
// The mesh manager's mesh of that name, else the one it loads (plain kind). None when neither
// works (or there is no manager); the log then names the file, the line and the mesh.
Mesh* findOrLoadMesh(SceneReadContext& context, const std::string& name);

} // namespace sceneloader
