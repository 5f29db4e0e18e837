// The ".msh" mesh file: a gzip stream holding "MESH", version 257, the flags, the vertex records,
// the texture-coordinate sets and the faces with their material names (little-endian).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class Mesh;

namespace meshfile {

inline constexpr std::uint16_t kVersion = 257;
// The longest material name a file may carry (the reader's buffer holds it and a terminator).
inline constexpr int kMaxMaterialName = 259;

// Reads a ".msh" file (a show path) into an empty mesh; face materials are looked up in the
// material library. False, with the mesh left unusable, when the file is missing or malformed:
// wrong magic or version, counts the content cannot hold, a face index outside the vertices, a
// material name longer than kMaxMaterialName.
bool read(const std::string& path, Mesh& mesh);
// The same from the decompressed content.
bool parse(const std::uint8_t* data, std::size_t size, Mesh& mesh);
// The distinct material names a ".msh" file refers to, in first-use order; false when the file
// does not read.
bool materialNames(const std::string& path, std::vector<std::string>& names);

// Writes the mesh (gzip level 9). False when the file cannot be written, or when it would not
// read back: no vertices or no faces, or a material name longer than kMaxMaterialName.
bool write(const std::string& path, const Mesh& mesh);
// The decompressed content write() stores.
bool serialize(const Mesh& mesh, std::vector<std::uint8_t>& out);

} // namespace meshfile
