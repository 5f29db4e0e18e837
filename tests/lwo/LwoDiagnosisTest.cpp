// Why a LightWave file gives no mesh: the corpus files that do not load, a cut-off copy of one
// that does, and a well-formed object without polygons in its first layer.
#include "lwo/LwoDiagnosis.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string explain(const std::string& bytes)
{
    return explainLwoFailure(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::string be32(std::uint32_t v)
{
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string chunk(const std::string& id, const std::string& body)
{
    return id + be32(std::uint32_t(body.size())) + body + (body.size() % 2 ? std::string(1, '\0') : "");
}

std::string form(const std::string& chunks) { return "FORM" + be32(std::uint32_t(chunks.size() + 4)) + "LWO2" + chunks; }

} // namespace

TEST(LwoDiagnosis, NamesTheReasonOfEachFileThatGivesNoMesh)
{
    EXPECT_EQ(explain(testfiles::readFile(testfiles::corpus("lwo/LWOB_ConcavePolygon.lwo"))),
              "not an LWO2 file (an older LightWave object, LWOB)");
    EXPECT_EQ(explain(testfiles::readFile(testfiles::corpus("lwo/Subdivision.lwo"))),
              "only patches (subdivision surfaces), no polygons");
    EXPECT_EQ(explain("GIF89a and more"), "not an IFF file");
    EXPECT_EQ(explain(std::string("FORM\0\0\0\x10ILBMxxxxxxxx", 20)), "not an LWO2 file (the form is ILBM)");

    // A file that loads has nothing to explain; cut short, it is truncated at its new size,
    // also when the cut falls between two chunks (the form still promises more).
    const std::string box = testfiles::readFile(testfiles::corpus("lwo/boxuv.lwo"));
    EXPECT_EQ(explain(box), "");
    EXPECT_EQ(explain(box.substr(0, 100)), "truncated at byte 100");
    EXPECT_EQ(explain(box.substr(0, 6)), "truncated at byte 6");

    // Points but no polygons in the first layer; polygons only in a second layer do not count.
    const std::string points = chunk("PNTS", std::string(36, '\0'));
    const std::string faces = chunk("POLS", "FACE" + std::string("\0\x03\0\0\0\x01\0\x02", 8));
    EXPECT_EQ(explain(form(chunk("LAYR", std::string(18, '\0')) + points)), "no polygons in the first layer");
    EXPECT_EQ(explain(form(chunk("LAYR", std::string(18, '\0')) + points + chunk("LAYR", std::string(18, '\0')) +
                           points + faces)),
              "no polygons in the first layer");
    EXPECT_EQ(explain(form(chunk("LAYR", std::string(18, '\0')) + points + faces)), "");
}
