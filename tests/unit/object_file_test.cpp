// Object files: the description reader and loading meshes and textures into an object slot.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "runtime/core/engine_state.h"
#include "runtime/files/archive_resolver.h"
#include "runtime/gfx3d/mesh_file.h"
#include "runtime/gfx3d/object_file.h"

using namespace rt;

namespace fs = std::filesystem;

namespace {

std::vector<std::string> texturesAsked;
uint32_t recordTexture(const char* path)
{
    texturesAsked.push_back(path);
    return uint32_t(100 + texturesAsked.size());
}

// A text mesh of one triangle in the x-y plane, moved by dx.
std::string triangleMesh(int dx)
{
    std::string x0 = std::to_string(dx), x1 = std::to_string(dx + 2);
    return "DDDA 1.0 1 0 0 1 255 255 255 3 0 0 1 0 2 0 1 3 " + x0 + " 0 0 " + x1 + " 0 0 " + x0 + " 2 0";
}

class ObjectFiles : public testing::Test
{
  protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("object_file_test_" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "models");
        previousTmp = getenv("TMPDIR") ? getenv("TMPDIR") : "";
        setenv("TMPDIR", folder.c_str(), 1);
        previousResolver = engine.dataResolver;
        engine.dataResolver = &resolver; // files on disk only: no archive
        texturesAsked.clear();
    }
    void TearDown() override
    {
        engine.dataResolver = previousResolver;
        if (previousTmp.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", previousTmp.c_str(), 1);
        fs::remove_all(folder);
    }
    std::string write(const std::string& name, const std::string& text)
    {
        std::string path = (folder / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    fs::path folder;
    std::string previousTmp;
    ArchiveResolver resolver;
    ArchiveResolver* previousResolver = nullptr;
};

} // namespace

TEST(ObjectDescriptionText, FollowsTheIniRules)
{
    ObjectDescription description = parseObjectDescription(";DDW\r\n"
                                                           "[Textures]\r\n"
                                                           "count=3\r\n"
                                                           "1=skin.png\r\n"
                                                           "3 = odd.png\r\n" // key "3", value "= odd.png"
                                                           "  [objects]  \r\n"
                                                           "COUNT=2\r\n"
                                                           "; 1=commented.ddd\r\n"
                                                           "1=body.ddd\r\n"
                                                           "1=second.ddd\r\n"
                                                           "1TA=2\r\n"
                                                           "1tb=1.9xyz\r\n"
                                                           "2tb=-4\r\n"
                                                           "[objects]\r\n"
                                                           "2=never.ddd\r\n");
    EXPECT_EQ(description.textureFiles, (std::vector<std::string>{"skin.png", "", "= odd.png"}));
    ASSERT_EQ(description.meshes.size(), 2u);
    EXPECT_EQ(description.meshes[0].file, "body.ddd");
    EXPECT_EQ(description.meshes[0].textureA, 2);
    EXPECT_EQ(description.meshes[0].textureB, 1);
    EXPECT_EQ(description.meshes[1].file, ""); // only the first [objects] is searched
    EXPECT_EQ(description.meshes[1].textureB, -4);

    EXPECT_EQ(parseObjectDescription("[objects]\ncount=99999999\n").meshes.size(),
              size_t(maxDescriptionEntries));
    EXPECT_TRUE(parseObjectDescription("[objects]\ncount=-3\n1=a\n").meshes.empty());
    EXPECT_TRUE(parseObjectDescription("").textureFiles.empty());
}

TEST_F(ObjectFiles, DescriptionLoadsItsMembersFromItsOwnFolder)
{
    write("models/body.txt", triangleMesh(0));
    write("models/arm.txt", triangleMesh(10));
    write("models/skin.png", "not read here");
    std::string path = write("models/robot.ddw", ";DDW\n[textures]\ncount=2\n1=skin.png\n2=missing.png\n"
                                                 "[objects]\ncount=3\n1=body.txt\n1ta=2\n1tb=1\n"
                                                 "2=arm.txt\n2ta=0\n3=absent.txt\n");
    ObjectSlot slot;
    ASSERT_TRUE(loadObjectFile(slot, path.c_str(), recordTexture));
    EXPECT_TRUE(slot.loaded);
    EXPECT_TRUE(slot.composite);
    EXPECT_EQ(texturesAsked, (std::vector<std::string>{(folder / "models/skin.png").string()}));
    EXPECT_EQ(slot.textures, (std::vector<uint32_t>{101, 0})); // the missing image gets no texture
    ASSERT_EQ(slot.meshes.size(), 3u);
    EXPECT_EQ(slot.meshes[0].textureA, 1); // stored 0-based
    EXPECT_EQ(slot.meshes[0].textureB, 0);
    EXPECT_EQ(slot.meshes[1].textureA, 0);
    EXPECT_EQ(slot.meshes[0].drawList.size(), 3u); // prepared
    EXPECT_NEAR(slot.meshes[1].frames[0].boundingCentre[0], 10 + 2.0 / 3, 0.02);
    EXPECT_GT(slot.meshes[1].frames[0].boundingRadius, 1);
    EXPECT_TRUE(slot.meshes[2].frames.empty());
}

TEST_F(ObjectFiles, MembersFollowTheGivenNameWhenThePathIsElsewhere)
{
    write("models/body.txt", triangleMesh(0));
    std::string unpacked = write("~sbxAArobot.ddw", ";DDW\n[objects]\ncount=1\n1=body.txt\n");
    ObjectSlot slot;
    EXPECT_FALSE(loadObjectFile(slot, unpacked.c_str(), nullptr)); // body.txt is not next to it
    ASSERT_TRUE(loadObjectFile(slot, unpacked.c_str(), nullptr, (folder / "models/robot.ddw").c_str()));
    EXPECT_EQ(slot.meshes[0].drawList.size(), 3u);
}

TEST_F(ObjectFiles, PlainMeshFileMakesAOneMeshSlot)
{
    std::string text = write("one.txt", triangleMesh(0));
    ObjectSlot slot;
    slot.textures = {7};
    ASSERT_TRUE(loadObjectFile(slot, text.c_str(), recordTexture));
    EXPECT_TRUE(slot.loaded);
    EXPECT_FALSE(slot.composite);
    EXPECT_TRUE(slot.textures.empty());
    ASSERT_EQ(slot.meshes.size(), 1u);
    EXPECT_EQ(slot.meshes[0].frames[0].triangles.size(), 3u);
    EXPECT_NEAR(slot.meshes[0].frames[0].boundingRadius, std::sqrt(20.0) / 3, 0.01); // to (2, 0, 0)

    // A binary mesh whose only frame holds no record is not an object.
    MeshObject empty;
    empty.frames.resize(1);
    ASSERT_TRUE(saveMesh(empty, (folder / "empty.ddd").c_str()));
    EXPECT_FALSE(loadObjectFile(slot, (folder / "empty.ddd").c_str(), nullptr));
    EXPECT_FALSE(slot.loaded);
    EXPECT_FALSE(loadObjectFile(slot, (folder / "absent.ddd").c_str(), nullptr));
    EXPECT_TRUE(texturesAsked.empty());
}
