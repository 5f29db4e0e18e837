#include "SceneTestSupport.h"
#include "scenegraph/CameraManager.h"
#include "scenegraph/CameraNode.h"
#include "scenegraph/Camera.h"
#include "scenegraph/LightNode.h"
#include "scenegraph/MeshNode.h"
#include "scenegraph/ParticleNode.h"
#include "scenegraph/PointLightNode.h"
#include "scenegraph/ShadowPlaneNode.h"
#include "animation/Keyframer.h"
#include "animation/KeyframerLW.h"

#include <gtest/gtest.h>

namespace {

using scenetest::read;

class SceneLoaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        scenetest::addSquare(meshes, "square.msh");
        scenetest::addSquare(meshes, "big.msh", 4.0f);
    }
    MeshManager meshes;
    CameraManager cameras;
};

TEST_F(SceneLoaderTest, OnlyTheFirstTopLevelNodeIsRead)
{
    auto root = read("; a comment\nstray line\nParticles {\n}\nGroup {\n  Position 1 2 3\n}\n"
                     "Group {\n  Position 9 9 9\n}\n");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->kind, SceneNode::kGroup);
    EXPECT_EQ(root->position, Vector3(1, 2, 3));
    EXPECT_TRUE(root->children.empty());

    auto camera = read("Camera {\n}\nGroup {\n}\n");
    ASSERT_TRUE(camera);
    EXPECT_NE(dynamic_cast<CameraNode*>(camera.get()), nullptr);
    EXPECT_FALSE(read("nothing here\nat all\n"));
    EXPECT_FALSE(read(""));
}

TEST_F(SceneLoaderTest, GroupsSkipUnknownLinesAndOtherBlocksEndAtThem)
{
    auto root = read("Group {\n"
                     "  whatever 1 2\n"
                     "  Mesh {\n"
                     "    Name \"square.msh\"\n"
                     "    Position 4 5 6\n"          // common fields are tried first
                     "    Bogus line\n"              // ends the mesh block
                     "    Position 7 7 7\n"          // so this one belongs to the group
                     "  }\n"                         // and this closes the group
                     "  Group {\n  }\n"
                     "}\n");
    ASSERT_TRUE(root);
    ASSERT_EQ(root->children.size(), 1u);
    EXPECT_EQ(root->position, Vector3(7, 7, 7));
    auto* mesh = dynamic_cast<MeshNode*>(root->children[0].get());
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->parent, root.get());
    EXPECT_EQ(mesh->position, Vector3(4, 5, 6));
    ASSERT_NE(mesh->mesh, nullptr);
    EXPECT_EQ(mesh->mesh->name, "square.msh");
    EXPECT_NEAR(mesh->localSphere.radius, std::sqrt(2.0f), 1e-6f);
}

TEST_F(SceneLoaderTest, ChildrenInFileOrder)
{
    auto root = read("Group {\n"
                     "  Mesh {\n    Name \"square.msh\"\n  }\n"
                     "  Particles {\n    ParticleSystem {\n      Generator {\n        Type \"Sphere\"\n"
                     "      }\n    }\n  }\n"
                     "  ShadowPlane {\n    Size 5 0 5\n  }\n"
                     "  DirectionalLight {\n  }\n"
                     "}\n");
    ASSERT_TRUE(root);
    ASSERT_EQ(root->children.size(), 4u);
    EXPECT_NE(dynamic_cast<MeshNode*>(root->children[0].get()), nullptr);
    EXPECT_NE(dynamic_cast<ParticleNode*>(root->children[1].get()), nullptr);
    auto* plane = dynamic_cast<ShadowPlaneNode*>(root->children[2].get());
    ASSERT_NE(plane, nullptr);
    EXPECT_EQ(plane->halfSize, Vector3(5, 0, 5));
    EXPECT_NEAR(plane->localSphere.radius, std::sqrt(50.0f), 1e-5f);
    EXPECT_NE(dynamic_cast<DirectionalLightNode*>(root->children[3].get()), nullptr);
}

TEST_F(SceneLoaderTest, RadiusResetsThePosition)
{
    auto root = read("PointLight {\n  Position 1 2 3\n  Radius 2\n  Color 1 0.5 0 1\n}\n");
    auto* sprite = dynamic_cast<PointLightNode*>(root.get());
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->position, Vector3());
    EXPECT_EQ(sprite->radius, 2.0f);
    EXPECT_FLOAT_EQ(sprite->colour[1], 0.5f);
    EXPECT_NEAR(sprite->localSphere.radius, 14.0f * std::sqrt(3.0f), 1e-4f);
    auto after = read("PointLight {\n  Radius 2\n  Position 1 2 3\n}\n");
    EXPECT_EQ(after->position, Vector3(1, 2, 3));
}

TEST_F(SceneLoaderTest, TwoUnnamedCamerasTheSecondIsRefused)
{
    auto root = read("Group {\n  Camera {\n    FOV 60\n    ClipPlanes 2 500\n    Enable yes\n  }\n"
                     "  Camera {\n    Enable yes\n  }\n}\n");
    ASSERT_TRUE(root);
    ASSERT_EQ(root->children.size(), 2u);
    auto* first = dynamic_cast<CameraNode*>(root->children[0].get());
    auto* second = dynamic_cast<CameraNode*>(root->children[1].get());
    EXPECT_TRUE(first->enable && second->enable);
    EXPECT_EQ(first->camera->fov, 60.0f);
    EXPECT_EQ(first->camera->nearClip, 2.0f);
    EXPECT_EQ(first->camera->farClip, 500.0f);
    ASSERT_EQ(cameras.cameras().size(), 1u);
    EXPECT_EQ(cameras.cameras()[0].get(), first->camera);
    EXPECT_EQ(cameras.find("SG_Camera0"), first->camera);
    EXPECT_EQ(second->camera->name, "SG_Camera0");
    // Enabled after the first, the refused camera still never becomes current: the manager does
    // not own it, and it goes with its node.
    root->updateTree(0.0f, nullptr);
    EXPECT_EQ(cameras.current(), first->camera);
    cameras.setCurrent(second->camera);
    root.reset();
    EXPECT_EQ(cameras.current(), nullptr);

    // Named ones register side by side: the first is renamed in place, so the second finds
    // "SG_Camera0" free again.
    root.reset();
    cameras.releaseAll();
    auto named = read("Group {\n  Camera {\n    Name \"a\"\n  }\n  Camera {\n    Name \"b\"\n  }\n}\n");
    EXPECT_EQ(cameras.cameras().size(), 2u);
    EXPECT_NE(cameras.find("a"), nullptr);
    EXPECT_NE(cameras.find("b"), nullptr);
}

TEST_F(SceneLoaderTest, LightLinesAndTheirOrder)
{
    auto spot = read("SpotLight {\n  Diffuse 1 0 0 1\n  Cutoff 30\n  Exponent 10\n  Position 1 2 3\n}\n");
    auto* s = dynamic_cast<SpotLightNode*>(spot.get());
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->active);
    EXPECT_EQ(s->cutoff, 30.0f);
    EXPECT_EQ(s->exponent, 10.0f);
    EXPECT_EQ(s->diffuse[1], 0.0f);
    EXPECT_EQ(s->position, Vector3(1, 2, 3));

    auto plain = read("SpotLight {\n}\n");
    auto* p = dynamic_cast<SpotLightNode*>(plain.get());
    EXPECT_TRUE(p->active) << "the end of a light block switches it on";
    EXPECT_EQ(p->cutoff, 180.0f);

    auto directional = read("DirectionalLight {\n  Direction 0 -2 0\n  Unknown\n  Ambient 1 1 1 1\n}\n");
    auto* d = dynamic_cast<DirectionalLightNode*>(directional.get());
    EXPECT_EQ(d->lightVector, Vector3(0, 1, 0));
    EXPECT_EQ(d->ambient[0], 0.0f) << "the unknown line ended the block";
}

TEST_F(SceneLoaderTest, DirectionalLightTurnsOnlyWithItsOwnAnimator)
{
    // Under a group turned a quarter about y: the light without an animator keeps shining along
    // +z; the one whose animator turns it another quarter is turned by both, half a turn.
    auto root = read("Group {\n  Rotation 0 1 0 1.5707963\n  DirectionalLight {\n    Diffuse 1 1 1 1\n  }\n"
                     "  DirectionalLight {\n    KeyframerLW {\n      Channel 3\n      { Envelope\n        1\n"
                     "        Key -1.5707963 0 0 0 0 0 0 0 0 0\n        Behaviors 1 1\n    }\n  }\n}\n");
    ASSERT_TRUE(root);
    ASSERT_EQ(root->children.size(), 2u);
    root->updateTree(0.0f, nullptr);
    auto* still = dynamic_cast<DirectionalLightNode*>(root->children[0].get());
    auto* turned = dynamic_cast<DirectionalLightNode*>(root->children[1].get());
    ASSERT_TRUE(still && turned);
    EXPECT_NEAR(still->lightVector.x, 0.0f, 1e-6f);
    EXPECT_NEAR(still->lightVector.z, -1.0f, 1e-6f);
    EXPECT_NEAR(turned->lightVector.x, 0.0f, 1e-5f);
    EXPECT_NEAR(turned->lightVector.z, 1.0f, 1e-5f);
}

TEST_F(SceneLoaderTest, AnimatorsAndTransformLines)
{
    auto root = read("Group {\n  Scale 2 2 2\n  Rotation 0 1 0 1.5707963\n"
                     "  KeyframerLW {\n    Channel 0\n    { Envelope\n      1\n      Key 5 0 0 0 0 0 0 0 0 0\n"
                     "      Behaviors 1 1\n  }\n"
                     "  Mesh {\n    Keyframer {\n      Translate {\n        NumKeys 1\n        Key 0 1 2 3\n"
                     "      }\n    }\n    Name \"square.msh\"\n  }\n}\n");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->scale, Vector3(2, 2, 2));
    EXPECT_NEAR(root->rotation.at(0, 2), -1.0f, 1e-6f);
    EXPECT_NE(dynamic_cast<KeyframerLW*>(root->animator.get()), nullptr);
    ASSERT_EQ(root->children.size(), 1u);
    auto* mesh = dynamic_cast<MeshNode*>(root->children[0].get());
    ASSERT_NE(dynamic_cast<Keyframer*>(mesh->animator.get()), nullptr);
    EXPECT_NE(mesh->mesh, nullptr) << "the line after the keyframer block is still the mesh's";
    root->updateTree(0.0f, nullptr);
    EXPECT_EQ(root->position, Vector3(5, 0, 0));
    EXPECT_EQ(mesh->position, Vector3(1, 2, 3));
}

TEST_F(SceneLoaderTest, MissingMeshesAndBadMorphs)
{
    auto root = read("Group {\n  Mesh {\n    Name \"nowhere.msh\"\n  }\n  Morph {\n    Mesh \"square.msh\"\n"
                     "    Target \"big.msh\"\n  }\n}\n");
    ASSERT_TRUE(root);
    ASSERT_EQ(root->children.size(), 2u);
    EXPECT_EQ(dynamic_cast<MeshNode*>(root->children[0].get())->mesh, nullptr);
    auto* morph = dynamic_cast<MorphNode*>(root->children[1].get());
    ASSERT_NE(morph->morphed, nullptr);
    EXPECT_EQ(morph->morphed->vertices.size(), 8);
    EXPECT_EQ(morph->morphed->faces.size(), 4);

    // An envelope that does not read fails the whole file.
    EXPECT_FALSE(read("Group {\n  Morph {\n    Mesh \"square.msh\"\n    MorphAmount \n    garbage\n  }\n}\n"));
}

TEST_F(SceneLoaderTest, MorphBlendsAndRefusesUnequalCounts)
{
    Mesh* wide = scenetest::addSquare(meshes, "wide.msh", 3.0f);
    auto root = read("Morph {\n  Mesh \"square.msh\"\n  Target \"wide.msh\"\n  MorphAmount \n"
                     "  { Envelope\n    2\n    Key 0 0 3 0 0 0 0 0 0 0\n    Key 1 2 3 0 0 0 0 0 0 0\n"
                     "    Behaviors 1 1\n}\n");
    auto* morph = dynamic_cast<MorphNode*>(root.get());
    ASSERT_NE(morph, nullptr);
    ASSERT_TRUE(morph->amount);
    morph->updateTree(1.0f, nullptr);
    EXPECT_NEAR(morph->morphed->vertices[2].position.x, 2.0f, 1e-5f);
    EXPECT_NEAR(morph->morphed->vertices[2].normal.z, 1.0f, 1e-6f);
    (void)wide;

    // A target with other vertex counts leaves the copy as the source.
    auto other = std::make_unique<Mesh>();
    other->name = "three.msh";
    other->allocate(3, 1);
    for (int i = 0; i < 3; ++i)
        other->addVertex(MeshVertex{{100, 100, 100}, {}, {}});
    meshes.add(other.release());
    auto odd = read("Morph {\n  Mesh \"square.msh\"\n  Target \"three.msh\"\n  MorphAmount \n"
                    "  { Envelope\n    1\n    Key 1 0 3 0 0 0 0 0 0 0\n    Behaviors 1 1\n}\n");
    auto* m = dynamic_cast<MorphNode*>(odd.get());
    m->updateTree(1.0f, nullptr);
    EXPECT_EQ(m->morphed->vertices[2].position, Vector3(1, 1, 0));
}

TEST_F(SceneLoaderTest, DeepNestingFailsInsteadOfOverflowing)
{
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "Group {\n";
    EXPECT_FALSE(read(text));
}

} // namespace
