// Whole shows made at random and played through the program's own start-up path.
//
// The input bytes either drive a grammar of the show's scripts (first byte even: effect
// timeline, scenes, particle systems, shaders, envelopes and keyframers, with names from a tiny
// pool so that twins and collisions are common), or (first byte odd) hold the three scripts as
// text, separated by NUL bytes, so the show's own scripts can seed the corpus. The show is written
// into a temporary data folder beside a fixed set of meshes, pictures and a video, loaded by
// ShowApplication into an off-screen context, and played for a few dozen frames that step forwards
// and jump across window edges; seeks reload it (the reload behind --watch), once possibly after
// the timeline script was rewritten. A finding is a sanitizer report, a GL error after a frame, a
// frame that takes more than kFrameCpuSeconds of processor time, or memory beyond the limits the
// campaign sets (-rss_limit_mb, -malloc_limit_mb; LeakSanitizer checks every input).
#include "app/CommandLine.h"
#include "app/ShowApplication.h"
#include "core/GL.h"
#include "core/Log.h"
#include "core/ShowValues.h"
#include "effects/EffectTimeline.h"
#include "font/ConsoleFont.h"
#include "font/FontRegistry.h"
#include "geometry/Mesh.h"
#include "geometry/MeshFile.h"
#include "geometry/MeshManager.h"
#include "material/MaterialLibrary.h"
#include "scenegraph/CameraManager.h"
#include "texture/TextureManager.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Processor time (all threads, the rasteriser's included) one frame may take under the
// sanitizers before it counts as a finding.
constexpr double kFrameCpuSeconds = 2.0;
constexpr int kMaxFrames = 40;
constexpr int kWindowWidth = 160, kWindowHeight = 120;

// ---------------------------------------------------------------------------------------------
// The fixed files every show may name, and names that are never there.

const char* const kPictures[] = {"pic.png", "alpha.png", "pic.jpg", "pic.tga", "missing.png", "pic"};
const char* const kMeshes[] = {"tri.msh", "quad.msh", "box.lwo", "./tri.msh", "missing.msh", "quad"};
const char* const kVideos[] = {"data\\art\\clip.avi", "data\\art\\missing.avi", "data\\art\\pic.png"};
const char* const kScenes[] = {"data\\scr\\s0.scene", "data\\scr\\s1.scene", "data\\scr\\missing.scene",
                               "data\\scr\\generic.shader"};
const char* const kAliases[] = {"confont", "img0", "img1", "pic.png"};
const char* const kMaterials[] = {"mat0", "mat1", "mat2", "img0"};
const char* const kNames[] = {"a", "b", "c", ""};

Mesh* triangleMesh(bool square)
{
    auto* mesh = new Mesh();
    mesh->flags = Mesh::kNormals | Mesh::kColours;
    const Vector3 corners[] = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    const int count = square ? 4 : 3;
    mesh->allocate(count, count - 2);
    for (int i = 0; i < count; ++i)
        mesh->addVertex(MeshVertex{corners[i], {0, 0, 1}, {200, 180, 90, 255}});
    for (int f = 0; f < count - 2; ++f) {
        MeshFace face;
        face.indices[0] = 0;
        face.indices[1] = f + 1;
        face.indices[2] = f + 2;
        mesh->addFace(face);
    }
    mesh->computeBounds();
    mesh->computeFacePlanes();
    return mesh;
}

void copyCorpus(const char* relative, const fs::path& to)
{
    std::error_code ec;
    fs::copy_file(fs::path(OCULITH_FUZZ_CORPUS) / relative, to, fs::copy_options::overwrite_existing, ec);
}

// The data folder with its assets, made once per process.
fs::path makeShowFolder()
{
    char pattern[] = "/tmp/fuzz_show.XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (!dir)
        std::abort();
    const fs::path root(dir);
    for (const char* sub : {"data/scr", "data/art", "data/obj", "data/fnt"})
        fs::create_directories(root / sub);
    copyCorpus("png/basn2c08.png", root / "data/art/pic.png");
    copyCorpus("png/basn6a08.png", root / "data/art/alpha.png");
    copyCorpus("jpg/odd_37x23.jpg", root / "data/art/pic.jpg");
    copyCorpus("tga/rle32_basn6a08.tga", root / "data/art/pic.tga");
    copyCorpus("avi/testsrc_64x48_30fps_raw.avi", root / "data/art/clip.avi");
    copyCorpus("lwo/boxuv.lwo", root / "data/obj/box.lwo");
    for (bool square : {false, true}) {
        Mesh* mesh = triangleMesh(square);
        meshfile::write((root / (square ? "data/obj/quad.msh" : "data/obj/tri.msh")).string(), *mesh);
        delete mesh;
    }
    return root;
}

// The show runs in its folder (scripts name files relative to it); the folder the fuzzer was
// started in comes back afterwards, so its corpus and artifact paths keep their meaning.
class InShowFolder {
public:
    InShowFolder()
    {
        static const fs::path folder = makeShowFolder();
        fs::current_path(folder);
    }
    ~InShowFolder() { fs::current_path(previous_); }

private:
    fs::path previous_ = fs::current_path();
};

// ---------------------------------------------------------------------------------------------
// The grammar.

class ShowWriter {
public:
    explicit ShowWriter(FuzzedDataProvider& data) : in(data) {}

    template <std::size_t N>
    const char* pick(const char* const (&words)[N])
    {
        return words[in.ConsumeIntegralInRange<std::size_t>(0, N - 1)];
    }
    bool chance(int percent) { return in.ConsumeIntegralInRange<int>(0, 99) < percent; }

    // Values mostly of the ordinary kind, sometimes at the edges of what a float or int holds.
    std::string number(float lo = -10.0f, float hi = 10.0f)
    {
        static const char* const kExtreme[] = {"0", "-1", "1e9", "-1e9", "1e-9", "3.4e38", "nan",
                                                 "inf", "-inf", "65536", "", "x"};
        if (chance(8))
            return pick(kExtreme);
        return format(in.ConsumeFloatingPointInRange<float>(lo, hi));
    }
    std::string integer(int lo, int hi)
    {
        static const char* const kExtreme[] = {"0", "-1", "2147483647", "-2147483648", "100000", ""};
        if (chance(6))
            return pick(kExtreme);
        return std::to_string(in.ConsumeIntegralInRange<int>(lo, hi));
    }
    // Window edges cluster around a handful of times, so windows overlap and nest.
    std::string time()
    {
        static const char* const kTimes[] = {"0", "0.5", "1", "1.5", "2", "3", "4", "6", "-1", "1e9"};
        if (chance(25))
            return format(in.ConsumeFloatingPointInRange<float>(0.0f, 6.0f));
        return pick(kTimes);
    }
    std::string numbers(int count, float lo = -10.0f, float hi = 10.0f)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += (i ? " " : "") + number(lo, hi);
        return text;
    }
    std::string colour() { return chance(90) ? numbers(4, 0.0f, 1.0f) : numbers(3, -2.0f, 2.0f); }
    static std::string quoted(const std::string& text) { return "\"" + text + "\""; }
    static std::string format(float value)
    {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%g", double(value));
        return buffer;
    }
    bool exhausted() const { return in.remaining_bytes() == 0; }

    // --- animation -------------------------------------------------------------------------

    void envelope(std::string& out, const std::string& indent)
    {
        out += indent + "{ Envelope\n";
        const int keys = in.ConsumeIntegralInRange<int>(0, 5);
        out += indent + "\t" + (chance(90) ? std::to_string(keys) : integer(-3, 1000)) + "\n";
        for (int k = 0; k < keys; ++k)
            out += indent + "\tKey " + number() + " " + time() + " " + integer(0, 5) + " " + numbers(7, -1, 1) + "\n";
        if (chance(85))
            out += indent + "\tBehaviors " + integer(0, 4) + " " + integer(0, 4) + "\n";
    }

    void keyframerLW(std::string& out, const std::string& indent)
    {
        out += indent + "KeyframerLW {\n";
        const int channels = in.ConsumeIntegralInRange<int>(0, 4);
        for (int c = 0; c < channels; ++c) {
            out += indent + "\tChannel " + integer(0, 9) + "\n";
            envelope(out, indent + "\t");
        }
        out += indent + "}\n" + indent + "; skipped\n";
    }

    void track(std::string& out, const std::string& indent, const char* block, int values)
    {
        static const char* const kTypes[] = {"Linear", "Spline", "Hermite", "Slerp", "HPR"};
        out += indent + block + " {\n";
        if (chance(40))
            out += indent + "\tType " + quoted(chance(5) ? "Bogus" : pick(kTypes)) + "\n";
        const int keys = in.ConsumeIntegralInRange<int>(0, 4);
        out += indent + "\tNumKeys " + (chance(90) ? std::to_string(keys) : integer(-2, 50)) + "\n";
        for (int k = 0; k < keys; ++k)
            out += indent + "\tKey " + time() + (values ? " " + numbers(values, -50, 50) : "") + "\n";
        out += indent + "}\n";
    }

    void keyframerTracks(std::string& out, const std::string& indent)
    {
        static const char* const kBlocks[] = {"Translate", "Rotate", "Scale", "Visible"};
        static const int kValues[] = {3, 4, 1, 0};
        const int tracks = in.ConsumeIntegralInRange<int>(0, 3);
        for (int t = 0; t < tracks; ++t) {
            const int which = in.ConsumeIntegralInRange<int>(0, 3);
            track(out, indent, kBlocks[which], kValues[which]);
        }
    }

    void keyframer(std::string& out, const std::string& indent)
    {
        out += indent + "Keyframer {\n";
        keyframerTracks(out, indent + "\t");
        out += indent + "}\n";
    }

    void animator(std::string& out, const std::string& indent)
    {
        if (chance(50))
            keyframerLW(out, indent);
        else
            keyframer(out, indent);
    }

    // --- particles ---------------------------------------------------------------------------

    void particleSystem(std::string& out, const std::string& indent)
    {
        static const char* const kGenerators[] = {"Sphere", "Bubble", "Fire", "Rain", "Smoke", "None"};
        static const char* const kGeneratorLines[] = {
            "Lifespan ", "Mass ", "MassVariance ", "ParticleSize ", "ParticleSizeVariance ", "MaxDistance ",
            "WindDistortFactor ", "ScaleSpeed ", "EnergySpeed ", "Radius ", "Top ", "Bottom ", "Speed ",
            "SpeedFactor "};
        static const char* const kVectorLines[] = {"WindDirection ", "Center "};
        static const char* const kRenderers[] = {"Points", "Lines", "Quads", "StretchQuads", "Meshes", "Bogus"};
        static const char* const kOperators[] = {"Force {", "RadialForce {", "ReflectionPlane {",
                                                 "ReflectionSphere {"};
        static const char* const kOperatorLines[] = {"Direction ", "Strength ", "Center ", "Radius ",
                                                     "Position ", "Normal ", "Bounciness "};
        const std::string in1 = indent + "\t", in2 = indent + "\t\t";
        out += indent + "ParticleSystem {\n";
        if (chance(30))
            out += in1 + "Name " + quoted(pick(kNames)) + "\n";
        out += in1 + "Max " + integer(0, 300) + "\n";
        out += in1 + "SpawnRate " + number(0, 200) + "\n";
        if (chance(90)) {
            out += in1 + "Generator {\n" + in2 + "Type " + quoted(pick(kGenerators)) + "\n";
            if (chance(60))
                out += in2 + "Flags Respawn\n";
            if (chance(60))
                out += in2 + "ParticleColor " + colour() + "\n";
            for (int n = in.ConsumeIntegralInRange<int>(0, 8); n > 0; --n)
                out += in2 + pick(kGeneratorLines) + number(0, 10) + "\n";
            for (int n = in.ConsumeIntegralInRange<int>(0, 2); n > 0; --n)
                out += in2 + pick(kVectorLines) + numbers(3) + "\n";
            out += in1 + "}\n";
        }
        for (int n = in.ConsumeIntegralInRange<int>(0, 3); n > 0; --n) {
            if (chance(20)) {
                out += in1 + "ForceToVelocity\n";
                continue;
            }
            out += in1 + pick(kOperators) + "\n";
            for (int m = in.ConsumeIntegralInRange<int>(0, 3); m > 0; --m) {
                const char* word = pick(kOperatorLines);
                const bool vector = word[0] == 'D' || word[0] == 'C' || word[0] == 'P' || word[0] == 'N';
                out += in2 + word + (vector ? numbers(3) : number()) + "\n";
            }
            out += in1 + "}\n";
        }
        if (chance(90)) {
            out += in1 + "Renderer {\n" + in2 + "Type " + quoted(pick(kRenderers)) + "\n";
            out += in2 + "Shader " + quoted(pick(kMaterials)) + "\n";
            if (chance(40))
                out += in2 + "Mesh " + quoted(pick(kMeshes)) + "\n";
            out += in1 + "}\n";
        }
        out += indent + "}\n";
    }

    // --- scenes ------------------------------------------------------------------------------

    void sceneNode(std::string& out, const std::string& indent, int depth)
    {
        static const char* const kKinds[] = {"Group", "Mesh", "Morph", "Particles", "DirectionalLight",
                                             "SpotLight", "PointLight", "Camera", "ShadowPlane"};
        const std::string kind = pick(kKinds);
        const std::string inner = indent + "\t";
        out += indent + kind + " {\n";
        if (chance(40))
            animator(out, inner);
        if (chance(30))
            out += inner + "Position " + numbers(3) + "\n";
        if (chance(20))
            out += inner + "Rotation " + numbers(4) + "\n";
        if (chance(20))
            out += inner + "Scale " + numbers(3, -2, 2) + "\n";
        if (kind == "Mesh") {
            out += inner + "Name " + quoted(pick(kMeshes)) + "\n";
        } else if (kind == "Morph") {
            out += inner + "Mesh " + quoted(pick(kMeshes)) + "\n";
            out += inner + "Target " + quoted(pick(kMeshes)) + "\n";
            out += inner + "MorphAmount " + number(0, 1) + "\n";
        } else if (kind == "Particles") {
            particleSystem(out, inner);
        } else if (kind.find("Light") != std::string::npos && kind != "PointLight") {
            static const char* const kLines[] = {"Ambient ", "Diffuse ", "Specular "};
            for (int n = in.ConsumeIntegralInRange<int>(0, 3); n > 0; --n)
                out += inner + pick(kLines) + colour() + "\n";
            if (chance(30))
                out += inner + "Attenuation " + numbers(3, 0, 1) + "\n";
            if (chance(60))
                out += inner + "Direction " + numbers(3) + "\n";
            if (kind == "SpotLight") {
                out += inner + "Exponent " + number(0, 128) + "\n";
                out += inner + "Cutoff " + number(0, 180) + "\n";
            }
        } else if (kind == "PointLight") {
            out += inner + "Radius " + number(0, 20) + "\n";
            out += inner + "Color " + colour() + "\n";
            if (chance(70))
                out += inner + "Shader " + quoted(pick(kMaterials)) + "\n";
        } else if (kind == "Camera") {
            out += inner + "Name " + quoted(pick(kNames)) + "\n";
            if (chance(60))
                out += inner + "FOV " + number(1, 170) + "\n";
            if (chance(60))
                out += inner + "ClipPlanes " + numbers(2, 0, 500) + "\n";
            out += inner + "Enable " + (chance(70) ? "yes" : "no") + "\n";
        } else if (kind == "ShadowPlane") {
            out += inner + "Plane " + numbers(4, -1, 1) + "\n";
            out += inner + "Light " + numbers(4) + "\n";
            if (chance(60))
                out += inner + "Size " + numbers(3, 0, 20) + "\n";
        }
        if (kind == "Group" || chance(15)) {
            for (int n = depth < 4 ? in.ConsumeIntegralInRange<int>(0, 3) : 0; n > 0; --n)
                sceneNode(out, inner, depth + 1);
        }
        out += indent + "}\n";
    }

    std::string scene()
    {
        std::string out;
        sceneNode(out, "", 0);
        return out;
    }

    // --- shaders -----------------------------------------------------------------------------

    void imageBlock(std::string& out)
    {
        static const char* const kTypes[] = {"2D", "1D", "CUBEMAP", "3D"};
        static const char* const kFormats[] = {"RGBA", "RGB", "ALPHA", "LUMINANCE", "LUMINANCE_ALPHA",
                                               "INTENSITY", "RED"};
        static const char* const kWraps[] = {"CLAMP_S_CLAMP_T", "WRAP_S_WRAP_T", "CLAMP_EDGE_S_CLAMP_EDGE_T",
                                             "CLAMP_BORDER_S_CLAMP_BORDER_T", "CLAMP_S_WRAP_T"};
        static const char* const kFilters[] = {"NEAREST", "LINEAR", "NONE", "LINEAR_LINEAR", "NEAREST_LINEAR"};
        static const char* const kEnvmaps[] = {"NONE", "SPHERE", "OBJECT", "EYE", "REFLECTION_MAP", "NORMAL_MAP"};
        static const char* const kApply[] = {"Mode MODULATE", "Mode REPLACE", "Mode ADD", "Mode COMBINE",
                                             "Func.RGB INTERPOLATE", "Func.Alpha DOT3_RGBA",
                                             "Src0.RGB PREVIOUS", "Src1.Alpha CONSTANT", "Op0.RGB ONE_MINUS_SRC_COLOR",
                                             "Scale.RGB FOUR", "Scale.Alpha TWO"};
        out += "Image {\n\tType " + std::string(pick(kTypes)) + "\n\tFormat " + pick(kFormats) + "\n";
        out += "\tName " + quoted(pick(kPictures)) + "\n\tAlias " + quoted(pick(kAliases)) + "\n";
        if (chance(70)) {
            out += "\tState {\n";
            out += "\t\tWrap " + std::string(pick(kWraps)) + "\n\t\tFilter " + pick(kFilters) + "\n";
            out += "\t\tMipmap " + std::string(pick(kFilters)) + "\n";
            if (chance(30))
                out += "\t\tEnvmap {\n\t\t\tMode " + std::string(pick(kEnvmaps)) + "\n\t\t}\n";
            if (chance(30)) {
                out += "\t\tApply {\n";
                for (int n = in.ConsumeIntegralInRange<int>(1, 3); n > 0; --n)
                    out += "\t\t\t" + std::string(pick(kApply)) + "\n";
                out += "\t\t}\n";
            }
            out += "\t}\n";
        }
        out += "}\n";
    }

    void shaderBlock(std::string& out)
    {
        static const char* const kBlends[] = {"ZERO", "ONE", "SRC_ALPHA", "ONE_MINUS_SRC_ALPHA", "DST_COLOR",
                                              "SRC_ALPHA_SATURATE", "CONSTANT_COLOR", "BOGUS"};
        static const char* const kCompares[] = {"NEVER", "LESS", "LEQUAL", "EQUAL", "GREATER", "NOTEQUAL",
                                                "GEQUAL", "ALWAYS"};
        static const char* const kStencilOps[] = {"KEEP", "ZERO", "REPLACE", "INCR", "DECR", "INVERT",
                                                  "INCR_WRAP", "DECR_WRAP"};
        // Vertex and Fragment name programs no show has here, so they stay rare.
        static const char* const kStates[] = {"Material", "Blend", "Cull", "ZBuffer", "Alpha", "Fog",
                                              "Stencil", "Polygon", "Texture", "Texture"};
        const auto yes = [&] { return std::string(chance(70) ? "yes" : "no"); };
        out += "Shader {\n\tName " + quoted(pick(kMaterials)) + "\n";
        for (int n = in.ConsumeIntegralInRange<int>(0, 5); n > 0; --n) {
            const std::string state = chance(3) ? (chance(50) ? "Vertex" : "Fragment") : pick(kStates);
            out += "\t" + state + " {\n";
            const std::string l = "\t\t";
            if (state != "Texture")
                out += l + "Enable " + yes() + "\n";
            if (state == "Material") {
                out += l + "Ambient " + colour() + "\n" + l + "Diffuse " + colour() + "\n";
                if (chance(50))
                    out += l + "Specular " + colour() + "\n" + l + "Shininess " + number(0, 128) + "\n";
                if (chance(30))
                    out += l + "Emission " + colour() + "\n";
            } else if (state == "Blend") {
                out += l + "Lighting " + yes() + "\n";
                out += l + (chance(80) ? "Src " : "Src.Alpha ") + pick(kBlends) + "\n";
                out += l + (chance(80) ? "Dst " : "Dst.Alpha ") + pick(kBlends) + "\n";
                if (chance(20))
                    out += l + "BlendColor " + colour() + "\n" + l + "BlendEquation " +
                           (chance(50) ? "ADD" : "REVERSE_SUBTRACT") + "\n";
            } else if (state == "Cull") {
                out += l + "Function " + (chance(50) ? "BACK" : chance(50) ? "FRONT" : "FRONT_AND_BACK") + "\n";
                out += l + "Winding " + (chance(50) ? "CW" : "CCW") + "\n";
                if (chance(20))
                    out += l + "TwoSided " + yes() + "\n";
            } else if (state == "ZBuffer") {
                out += l + "Write " + yes() + "\n" + l + "Function " + pick(kCompares) + "\n";
            } else if (state == "Alpha") {
                out += l + "Function " + pick(kCompares) + "\n" + l + "Reference " + number(0, 1) + "\n";
            } else if (state == "Fog") {
                out += l + "Function " + (chance(50) ? "LINEAR" : chance(50) ? "EXP" : "EXPSQR") + "\n";
                out += l + "Start " + number(0, 100) + "\n" + l + "End " + number(0, 500) + "\n";
                out += l + "Density " + number(0, 1) + "\n" + l + "Color " + colour() + "\n";
                out += l + "Apply " + (chance(50) ? "PER_PIXEL" : "PER_VERTEX") + "\n";
            } else if (state == "Stencil") {
                out += l + "Function " + pick(kCompares) + "\n" + l + "Reference " + integer(0, 255) + "\n";
                out += l + "Mask " + integer(0, 255) + "\n" + l + "WriteMask " + integer(0, 255) + "\n";
                out += l + "Fail " + pick(kStencilOps) + "\n" + l + "ZFail " + pick(kStencilOps) + "\n";
                out += l + "ZPass " + pick(kStencilOps) + "\n";
            } else if (state == "Polygon") {
                out += l + "Mode " + (chance(50) ? "LINE" : chance(50) ? "POINT" : "FILL") + "\n";
                out += l + "Face " + (chance(50) ? "FRONT_AND_BACK" : "FRONT") + "\n";
            } else if (state == "Texture") {
                out += l + "Image " + quoted(pick(kAliases)) + "\n";
                out += l + "TexUnit UNIT" + std::to_string(in.ConsumeIntegralInRange<int>(0, 4)) + "\n";
                static const char* const kCurves[] = {"CoordU {", "CoordV {", "CoordR {"};
                if (chance(30)) {
                    out += l + pick(kCurves) + "\n";
                    envelope(out, l + "\t");
                    out += l + "}\n";
                }
            } else {
                out += l + "Name " + quoted(pick(kNames)) + "\n";
            }
            out += "\t}\n";
        }
        out += "}\n";
    }

    std::string shaders()
    {
        std::string out;
        // The console font's picture most of the time, so Text effects have glyphs.
        if (chance(80))
            out += "Image {\n\tType 2D\n\tFormat RGBA\n\tName \"alpha.png\"\n\tAlias \"confont\"\n}\n";
        for (int n = in.ConsumeIntegralInRange<int>(0, 3); n > 0; --n)
            imageBlock(out);
        for (int n = in.ConsumeIntegralInRange<int>(0, 4); n > 0; --n)
            shaderBlock(out);
        return out;
    }

    // --- the timeline ------------------------------------------------------------------------

    std::string timeline()
    {
        static const char* const kKinds[] = {"TextFade", "Image", "Flash", "Invert", "Text", "WaveLines",
                                             "Tunnel", "Lines", "Blocks", "Scene", "Stream", "Camera",
                                             "Mesh", "Particle"};
        static const char* const kLayers[] = {"0", "50", "99", "100", "101", "150", "250", "-5"};
        std::string out;
        const int blocks = in.ConsumeIntegralInRange<int>(1, 30);
        for (int b = 0; b < blocks && !exhausted(); ++b) {
            const std::string kind = pick(kKinds);
            std::string name = pick(kNames);
            const std::string l = "\t";
            out += kind + " {\n";
            // Twins are common on purpose: a Camera effect whose name is taken (every unnamed one
            // after the first) is refused by the camera list and must never be made current.
            if (!name.empty() || kind == "Camera")
                out += l + "Name " + quoted(name) + "\n";
            if (chance(90))
                out += l + "Start " + time() + "\n";
            if (chance(90))
                out += l + "End " + time() + "\n";
            if (chance(80))
                out += l + "Layer " + (chance(90) ? std::string(pick(kLayers)) : integer(-1000, 1000)) + "\n";
            effectLines(kind, out);
            if (chance(45))
                animator(out, l);
            out += "}\n";
        }
        return out;
    }

    void effectLines(const std::string& kind, std::string& out)
    {
        const std::string l = "\t";
        auto rect = [&] { return numbers(4, -100, 700); };
        if (kind == "Image" || kind == "Blocks") {
            out += l + "Image " + quoted(pick(kAliases)) + "\n";
            if (chance(60))
                out += l + "TexRect " + numbers(4, 0, 1) + "\n";
            out += l + "Rect " + rect() + "\n";
            if (kind == "Blocks") {
                out += l + "Rows " + integer(0, 20) + "\n" + l + "Cols " + integer(0, 20) + "\n";
                out += l + "Position " + numbers(3, -200, 200) + "\n" + l + "Distance " + number(-50, 300) + "\n";
            }
        } else if (kind == "TextFade") {
            out += l + "Image " + quoted(pick(kAliases)) + "\n";
            out += l + "TextRect " + rect() + "\n" + l + "BlurRect " + rect() + "\n";
            out += l + "ScreenRect " + rect() + "\n";
        } else if (kind == "Flash") {
            out += l + "Color " + colour() + "\n";
        } else if (kind == "Invert") {
            out += l + "Rect " + rect() + "\n";
        } else if (kind == "Text") {
            static const char* const kTexts[] = {"HELLO", "", "\\n\\t%s%n", "A LONGER LINE OF TEXT 0123456789"};
            out += l + "Text " + quoted(pick(kTexts)) + "\n";
            out += l + "Font " + quoted(chance(80) ? "confont" : "nofont") + "\n";
            out += l + "Color " + colour() + "\n";
        } else if (kind == "WaveLines") {
            out += l + "Shader " + quoted(pick(kMaterials)) + "\n" + l + "Flare " + quoted(pick(kMaterials)) + "\n";
            out += l + "FlareColor " + colour() + "\n" + l + "Color " + colour() + "\n";
        } else if (kind == "Tunnel") {
            out += l + "Size " + integer(0, 40) + " " + integer(0, 40) + "\n";
            out += l + "Length " + number(0, 300) + "\n" + l + "Speed " + number(-5, 5) + "\n";
            out += l + "Linear " + numbers(4, -3, 3) + "\n" + l + "Circular " + numbers(3, -3, 3) + "\n";
            out += l + "Params " + numbers(6, -1, 1) + "\n" + l + "Shader " + quoted(pick(kMaterials)) + "\n";
        } else if (kind == "Lines") {
            out += l + "NumLines " + integer(0, 60) + "\n" + l + "AlphaSpeed " + number(0, 10) + "\n";
            out += l + "AlphaVariance " + number(0, 10) + "\n" + l + "Speed " + number(-500, 500) + "\n";
            out += l + "Variance " + number(0, 500) + "\n" + l + "Color " + colour() + "\n";
        } else if (kind == "Scene") {
            out += l + "Scene " + quoted(pick(kScenes)) + "\n";
        } else if (kind == "Stream") {
            out += l + "Stream " + quoted(pick(kVideos)) + "\n";
            if (chance(50))
                out += l + "TexRect " + numbers(4, 0, 1) + "\n";
            out += l + "Rect " + rect() + "\n";
        } else if (kind == "Camera") {
            if (chance(70))
                out += l + "Clip " + numbers(2, 0, 500) + "\n";
            if (chance(40)) {
                out += l + "Fov {\n";
                track(out, l + "\t", "Scale", 1);
                out += l + "}\n";
            }
            if (chance(40)) {
                out += l + "Target {\n";
                track(out, l + "\t", "Translate", 3);
                out += l + "}\n";
            }
        } else if (kind == "Mesh") {
            out += l + "Mesh " + quoted(pick(kMeshes)) + "\n";
        } else if (kind == "Particle") {
            particleSystem(out, l);
        }
    }

private:
    FuzzedDataProvider& in;
};

// ---------------------------------------------------------------------------------------------
// The run.

void writeText(const char* path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// One step of the plan: move the show time by `step` seconds, or seek with a key (a reload).
struct Step {
    float step = 0.0f;
    bool seek = false;
    platform::Key key = platform::Key::Home;
    std::string rewrite; // the timeline script written just before this seek, unless empty
};

std::vector<Step> planFrames(FuzzedDataProvider& in, ShowWriter& writer, bool grammar)
{
    static const platform::Key kSeeks[] = {platform::Key::Left, platform::Key::Right, platform::Key::PageUp,
                                           platform::Key::PageDown, platform::Key::Home};
    const int frames = in.ConsumeIntegralInRange<int>(1, kMaxFrames);
    const int reloadAt = in.ConsumeIntegralInRange<int>(0, frames);
    std::vector<Step> plan;
    for (int f = 0; f < frames; ++f) {
        Step step;
        if (f == reloadAt || (f != 0 && in.ConsumeIntegralInRange<int>(0, 19) == 0)) {
            step.seek = true;
            step.key = kSeeks[in.ConsumeIntegralInRange<int>(0, 4)];
            if (f == reloadAt && grammar && writer.chance(50))
                step.rewrite = writer.chance(70) ? writer.timeline() : "Flash {\n\tStart 1\n\tKeyframer {\n";
        } else {
            switch (in.ConsumeIntegralInRange<int>(0, 3)) {
            case 0: step.step = 1.0f / 60.0f; break;
            case 1: step.step = 0.25f; break;
            case 2: step.step = in.ConsumeFloatingPointInRange<float>(0.0f, 2.0f); break;
            default: step.step = float(in.ConsumeIntegralInRange<int>(0, 6)) * 0.5f + 0.001f; break;
            }
        }
        plan.push_back(std::move(step));
    }
    return plan;
}

double processCpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

class FuzzedShow : public ShowApplication {
public:
    FuzzedShow(const CommandLine& commandLine, std::vector<Step> plan)
        : ShowApplication(commandLine), plan_(std::move(plan))
    {
    }

protected:
    void update(float frameTime) override
    {
        cpuAtFrameStart_ = processCpuSeconds();
        if (next_ >= plan_.size()) {
            requestClose();
            return;
        }
        const Step& step = plan_[next_++];
        if (step.seek) {
            if (!step.rewrite.empty())
                writeText("data/scr/generic.effect", step.rewrite);
            keyPressed(step.key);
            now_ = show::startOffset;
        } else {
            now_ += step.step;
        }
        showTime = double(now_) - double(show::startOffset);
        ShowApplication::update(frameTime);
    }

    void render() override
    {
        ShowApplication::render();
        const GLenum error = glGetError();
        if (error != GL_NO_ERROR) {
            std::fprintf(stderr, "fuzz_show: GL error 0x%04x after the frame at %.3f s\n", unsigned(error),
                         double(now_));
            std::abort();
        }
        const double cpu = processCpuSeconds() - cpuAtFrameStart_;
        if (cpu > kFrameCpuSeconds) {
            std::fprintf(stderr, "fuzz_show: the frame at %.3f s took %.2f s of processor time\n", double(now_), cpu);
            std::abort();
        }
    }

private:
    std::vector<Step> plan_;
    std::size_t next_ = 0;
    float now_ = 0.0f;
    double cpuAtFrameStart_ = 0.0;
};

void writeShow(FuzzedDataProvider& in, ShowWriter& writer, bool grammar)
{
    std::error_code ec;
    for (const char* old : {"data/scr/generic.effect", "data/scr/generic.shader", "data/scr/s0.scene",
                            "data/scr/s1.scene"})
        fs::remove(old, ec);
    if (grammar) {
        writeText("data/scr/generic.shader", writer.shaders());
        writeText("data/scr/s0.scene", writer.scene());
        if (writer.chance(70))
            writeText("data/scr/s1.scene", writer.scene());
        writeText("data/scr/generic.effect", writer.timeline());
        return;
    }
    // Text: timeline, scene and shaders, separated by NUL bytes.
    const std::string text = in.ConsumeRemainingBytesAsString();
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == '\0' && parts.size() < 3)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    parts.resize(3);
    writeText("data/scr/generic.effect", parts[0]);
    writeText("data/scr/s0.scene", parts[1]);
    writeText("data/scr/generic.shader", parts[2]);
}

} // namespace

// The GL driver keeps a few allocations for the life of the process, and unloads itself with
// the last context; kept loaded, those allocations have a module to be suppressed by.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    for (const char* driver : {"/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", "swrast_dri.so"})
        if (dlopen(driver, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE))
            break;
    return 0;
}

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:swrast_dri.so\nleak:libEGL_mesa.so\nleak:libLLVM\nleak:libglapi.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    if (size == 0)
        return 0;
    const InShowFolder inFolder;
    FuzzedDataProvider in(bytes, size);
    ShowWriter writer(in);
    const bool grammar = (in.ConsumeIntegral<std::uint8_t>() & 1) == 0;
    // The plan and the start come from the end of the input, the scripts from its front.
    static const float kStarts[] = {0.0f, 0.0f, 0.0f, 0.5f, 1.0f, 2.0f, 3.0f, 300.0f};
    const float start = kStarts[in.ConsumeIntegralInRange<int>(0, 7)];
    std::vector<Step> plan = planFrames(in, writer, grammar);
    writeShow(in, writer, grammar);

    CommandLine commandLine;
    commandLine.headless = true;
    commandLine.mute = true;
    commandLine.windowed = true;
    commandLine.width = kWindowWidth;
    commandLine.height = kWindowHeight;
    commandLine.start = start;
    commandLine.fps = 60;
    show::ShowState::resetForStart(start);

    // The program-wide managers, in the program's order.
    ConsoleFont consoleFont;
    EffectTimeline timeline;
    MeshManager meshes;
    FontRegistry fontRegistry;
    MaterialLibrary materials;
    TextureManager textures;
    Log log;
    CameraManager cameras;
    FuzzedShow show(commandLine, std::move(plan));
    RunOptions options;
    options.headless = true;
    options.fps = 60;
    show.run(options);
    return 0;
}
