// A ".scene" played by a show: a Camera effect flies around a lit, turning box over a shadow
// plane drawn by a Scene effect; headless shots are checked against an independent projection.
#include "geometry/Mesh.h"
#include "geometry/MeshFile.h"
#include "texture/PngReader.h"
#include "ProgramRun.h"
#include "Shots.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {

// A white cube of half size `h` around the origin, four vertices and two outward faces a side.
void writeCube(const std::string& path, float h)
{
    Mesh mesh;
    mesh.name = "box.msh";
    mesh.flags = Mesh::kNormals | Mesh::kColours;
    ASSERT_TRUE(mesh.allocate(24, 12));
    // Each side: normal n and tangents u, v with u × v = n.
    const Vector3 sides[6][3] = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},  {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
                                 {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}},  {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
                                 {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}};
    for (const auto& [n, u, v] : sides) {
        const int first = mesh.vertices.size();
        for (auto [a, b] : {std::pair{-1.0f, -1.0f}, {1.0f, -1.0f}, {1.0f, 1.0f}, {-1.0f, 1.0f}})
            mesh.addVertex(MeshVertex{(n + u * a + v * b) * h, n, {255, 255, 255, 255}});
        const int tris[2][3] = {{0, 1, 2}, {0, 2, 3}};
        for (const auto& t : tris) {
            MeshFace face;
            for (int k = 0; k < 3; ++k)
                face.indices[k] = first + t[k];
            mesh.addFace(face);
        }
    }
    mesh.computeBounds();
    mesh.computeFacePlanes();
    ASSERT_TRUE(meshfile::write(path, mesh));
}

// Where a camera at `eye` looking at the origin (up +y, 45 degrees, 640 × 480) shows `point`.
std::pair<int, int> project(const Vector3& eye, const Vector3& point)
{
    const Vector3 f = (-eye).normalized();
    const Vector3 s = cross(f, Vector3(0, 1, 0)).normalized();
    const Vector3 u = cross(s, f);
    const Vector3 d = point - eye;
    const float t = std::tan(22.5f * float(M_PI) / 180.0f);
    const float x = dot(d, s) / (dot(d, f) * t * (640.0f / 480.0f));
    const float y = dot(d, u) / (dot(d, f) * t);
    return {int((x + 1.0f) * 320.0f), int((y + 1.0f) * 240.0f)};
}

const char* const kScene =
    "; a light, and a turning box over a shadow plane\n"
    "Group {\n"
    "  DirectionalLight {\n    Ambient 0.1 0.1 0.1 1\n    Diffuse 1 1 1 1\n    Direction 0 -1 -0.5\n  }\n"
    "  ShadowPlane {\n    Light 10 40 10 1\n    Size 20 0 20\n"
    "    Group {\n"
    "      KeyframerLW {\n"
    "        Channel 3\n        { Envelope\n          2\n          Key 0 0 3 0 0 0 0 0 0 0\n"
    "          Key 6.283 10 3 0 0 0 0 0 0 0\n          Behaviors 1 1\n"
    "        Channel 6\n        { Envelope\n          1\n          Key 1 0 0 0 0 0 0 0 0 0\n          Behaviors 1 1\n"
    "        Channel 7\n        { Envelope\n          1\n          Key 1 0 0 0 0 0 0 0 0 0\n          Behaviors 1 1\n"
    "        Channel 8\n        { Envelope\n          1\n          Key 1 0 0 0 0 0 0 0 0 0\n          Behaviors 1 1\n"
    "      }\n"
    "      Mesh {\n        Name \"box.msh\"\n        Position 0 5 0\n      }\n"
    "    }\n"
    "  }\n"
    "}\n";

} // namespace

TEST(SceneShow, CameraPathLightsAnimatedGroupAndShadow)
{
    const std::string show = testfiles::tempDir("scene-show");
    std::filesystem::create_directories(show + "/data/obj");
    writeCube(show + "/data/obj/box.msh", 1.0f);
    testfiles::writeFile(show + "/data/scr/generic.shader", "; no materials\n");
    testfiles::writeFile(show + "/data/scr/box.scene", kScene);
    testfiles::writeFile(show + "/data/scr/generic.effect",
                         "Camera {\n\tName \"path\"\n\tStart 0\n\tEnd 20\n\tLayer 0\n"
                         "\tKeyframer {\n\t\tTranslate {\n\t\t\tType \"Linear\"\n\t\t\tNumKeys 2\n"
                         "\t\t\tKey 0 0 25 35\n\t\t\tKey 10 35 25 0\n\t\t}\n\t}\n}\n"
                         "Scene {\n\tStart 0\n\tEnd 20\n\tLayer 1\n\tScene \"data\\scr\\box.scene\"\n}\n");
    std::vector<std::string> args{"--headless", "--data", show, "--fps", "25"};
    for (const char* t : {"2", "8"})
        args.insert(args.end(), {"--shot", std::string(t) + ":" + show + "/at" + t + ".png"});
    const ProgramResult r = runOculith(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(withoutSceneBoxes(r.err).find(" ERROR: "), std::string::npos) << r.err;

    for (auto [time, eye] : {std::pair{"2", Vector3(7, 25, 28)}, {"8", Vector3(28, 25, 7)}}) {
        SCOPED_TRACE(time);
        const Shot shot = readShot(show + "/at" + time + ".png");
        // The box's top, turned to the light: lit well above the plane's grey.
        const auto [tx, ty] = project(eye, {0, 6, 0});
        EXPECT_GT(shot.at(tx, ty)[1], 180) << tx << "," << ty;
        // Its sides, turned from the light, are shaded darker than the top but not black.
        const auto [cx, cy] = project(eye, {0, 5, 0});
        int shaded = 0;
        for (int dy = -12; dy <= 12; ++dy)
            for (int dx = -12; dx <= 12; ++dx) {
                const int g = shot.at(cx + dx, cy + dy)[1];
                if (g > 50 && g < 170 && std::abs(g - 128) > 6)
                    ++shaded;
            }
        EXPECT_GT(shaded, 20);
        // The plane away from the shadow is grey; the shadow, cast away from the light, black.
        for (const Vector3& p : {Vector3(8, 0, 8), Vector3(-8, 0, 8), Vector3(8, 0, -8)}) {
            const auto [x, y] = project(eye, p);
            const auto c = shot.at(x, y);
            EXPECT_NEAR(c[0], 128, 4) << x << "," << y;
            EXPECT_NEAR(c[2], 128, 4) << x << "," << y;
        }
        const auto [sx, sy] = project(eye, {-1.5f, 0, -1.5f});
        const auto shadow = shot.at(sx, sy);
        EXPECT_LT(shadow[0] + shadow[1] + shadow[2], 12) << sx << "," << sy;
    }

    const std::string log = testfiles::readFile(show + "/application.log");
    EXPECT_EQ(log.find("GL_INVALID"), std::string::npos) << log;
    EXPECT_EQ(log.find("GL_STACK"), std::string::npos) << log;
    EXPECT_NE(log.find("GL_MAX_LIGHTS: "), std::string::npos);
}
