// Shared pieces of the material tests: parsing script text into a library, the program's resting
// GL state and its read-back check, and a quad with texture coordinates on units 0 and 1.
#pragma once
#include "GLFixture.h"
#include "material/Material.h"
#include "material/MaterialLibrary.h"
#include "material/MaterialScriptReader.h"
#include "texture/TextureManager.h"

#include <sstream>
#include <string>

namespace mattest {

inline bool parse(MaterialLibrary& library, const std::string& text)
{
    MaterialScriptReader reader(library);
    std::istringstream in(text);
    return reader.read(in);
}

// The state at index i of a material, as its concrete type.
template <class T>
T& state(const Material* material, std::size_t i)
{
    return dynamic_cast<T&>(*material->states.at(i));
}

// The GL defaults the program sets at start-up (depth test with LEQUAL, back-face culling,
// colour material, lighting off, ...), whatever earlier tests left.
void setRestingState();
// Reads the state back and checks everything a material may touch is at rest again.
void expectRestingState();
// A quad from (x0, y0) to (x1, y1) with texture coordinates 0..1 on units 0 and 1.
void drawQuad(float x0, float y0, float x1, float y1);

} // namespace mattest

// A GL test with its own texture manager and material library, in the resting state.
class MaterialGLTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        mattest::setRestingState();
    }
    Material* load(const std::string& text, const std::string& name)
    {
        EXPECT_TRUE(mattest::parse(library, text));
        Material* m = library.find(name);
        EXPECT_NE(m, nullptr) << name;
        return m;
    }

    TextureManager textures;
    MaterialLibrary library; // after the textures: its stages give their textures back first
};
