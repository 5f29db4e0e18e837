// Reads LightWave LWO2 files into an LwoObject, and the lookups the mesh import uses.
#pragma once
#include "lwo/LwoObject.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// Reads a whole LWO2 file (a native path). None when the file cannot be opened or is not a valid
// LWO2 object; the reason is printed on standard output ("ERROR: END OF FILE\n" and the like).
std::unique_ptr<LwoObject> readLwo(const std::string& path);

// The same from bytes already in memory; `name` stands for the path (the first unnamed layer
// is named after it).
std::unique_ptr<LwoObject> readLwoMemory(const std::uint8_t* data, std::size_t size,
                                         const std::string& name);

// Releases the whole model and clears the handle.
void freeLwo(std::unique_ptr<LwoObject>& object);

// The first vertex map of the layer, in file order, named `name` exactly; with `type` non-zero
// only a map of that type counts.
const LwoVertexMap* findVertexMap(const LwoLayer& layer, const std::string& name, LwoId type = 0);
// The n-th polygon of the layer, or none.
const LwoPolygon* findPolygon(const LwoLayer& layer, std::size_t n);
// The n-th tag string of the object, or none.
const std::string* findTag(const LwoObject& object, std::size_t n);
// The first surface named `name` exactly, or none.
const LwoSurface* findSurface(const LwoObject& object, const std::string& name);
