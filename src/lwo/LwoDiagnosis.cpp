#include "lwo/LwoDiagnosis.h"

#include <string_view>

namespace {

std::uint32_t be32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | std::uint32_t(p[3]);
}

std::string_view id(const std::uint8_t* p) { return {reinterpret_cast<const char*>(p), 4}; }

// A four-letter identifier shown only when it is printable.
std::string printable(std::string_view text)
{
    for (char c : text)
        if (c < 0x20 || c > 0x7e)
            return {};
    return std::string(text);
}

} // namespace

std::string explainLwoFailure(const std::uint8_t* data, std::size_t size)
{
    const std::string truncated = "truncated at byte " + std::to_string(size);
    if (size < 12 || id(data) != "FORM")
        return size >= 4 && id(data) == "FORM" ? truncated : "not an IFF file";
    const std::string_view form = id(data + 8);
    if (form != "LWO2") {
        const std::string type = printable(form);
        if (type == "LWOB" || type == "LWLO")
            return "not an LWO2 file (an older LightWave object, " + type + ")";
        return type.empty() ? "not an LWO2 file" : "not an LWO2 file (the form is " + type + ")";
    }
    const std::uint64_t formEnd = 8 + std::uint64_t(be32(data + 4));
    int layers = 0;
    bool faces = false, patches = false;
    std::uint64_t at = 12;
    while (at + 8 <= size && at < formEnd) {
        const std::string_view chunk = id(data + at);
        const std::uint64_t length = be32(data + at + 4);
        const std::uint64_t body = at + 8;
        if (body + length > size)
            return truncated;
        if (chunk == "LAYR")
            ++layers;
        // Only the first layer becomes a mesh; polygons before any LAYR chunk belong to it.
        if (chunk == "POLS" && layers <= 1 && length >= 4) {
            const std::string_view type = id(data + body);
            faces = faces || (type == "FACE" && length > 4);
            patches = patches || type == "PTCH" || type == "SUBD";
        }
        at = body + length + (length & 1);
    }
    if (at < formEnd && formEnd > size)
        return truncated;
    if (faces)
        return {};
    return patches ? "only patches (subdivision surfaces), no polygons" : "no polygons in the first layer";
}
