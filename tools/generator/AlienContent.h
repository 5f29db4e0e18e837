// The alien scene's content: the sphere-map skin of the metaballs, the light streaks of the beam
// tunnel, and the eye creature's meshes (eyeball, cornea, fleshy shell, tentacle) with their
// vertex colours, written through the show's own ".msh" writer.
#pragma once
#include <string>
#include <vector>

class Mesh;

namespace aliencontent {

// Every file of the kind, relative to the data folder, in the order they are written.
std::vector<std::string> files();
// Draws, builds and writes every file under `outDir`; false with `error` on the first failure.
bool write(const std::string& outDir, bool progress, std::string& error);

// The meshes themselves (the tests look at them directly). Face materials are looked up by
// name in the current material library, which must hold "EyeBall", "EyeCornea" and "EyeFlesh".
bool buildEyeball(Mesh& mesh);
bool buildCornea(Mesh& mesh);
bool buildShell(Mesh& mesh);
bool buildTentacle(Mesh& mesh);

} // namespace aliencontent
