// Why a LightWave file gives no mesh: a plain-words reason for show makers, found by walking the
// file's IFF chunks without building the object.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The reason the bytes of a file make no mesh of the first layer, or "" when nothing is wrong
// that this walk can see. Reasons: "not an IFF file", "not an LWO2 file" (with the form type
// found, such as an older LWOB object), "truncated at byte N" (a chunk or the form reaches past
// the end of the file; N is the file's size), "only patches (subdivision surfaces), no polygons"
// and "no polygons in the first layer".
std::string explainLwoFailure(const std::uint8_t* data, std::size_t size);
