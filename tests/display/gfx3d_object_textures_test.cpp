// Object description textures with a real GL context: the image named by a description becomes a
// texture with its 0x8000FF pixel transparent, a missing image gives 0, and releasing deletes them.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "support/x_session.h"

namespace {

const std::string host = RT_BUILD_DIR "/tests/hosts/object_textures_host";

TEST(ObjectTexturesOnX, TheDescriptionsImageBecomesAKeyedTextureAndIsReleased)
{
    XSession x(640, 480);
    ASSERT_TRUE(x.ready());
    pid_t pid = x.start(host);
    ASSERT_EQ(x.waitForExit(pid, 30000), 0);

    std::map<std::string, std::string> found;
    std::istringstream lines(x.readTempFile("objects.txt"));
    std::string name, value;
    while (lines >> name && std::getline(lines >> std::ws, value))
        found[name] = value;
    EXPECT_EQ(found["loaded"], "1");
    ASSERT_EQ(found["textures"], "2");
    EXPECT_EQ(found["missing"], "0");
    EXPECT_EQ(found["isTexture"], "1");
    EXPECT_EQ(found["keyed"].substr(6), "00") << "the 0x8000FF pixel is transparent";
    EXPECT_EQ(found["red"], "FF0000FF");
    EXPECT_EQ(found["green"], "00FF00FF");
    EXPECT_EQ(found["blue"], "0000FFFF");
    EXPECT_EQ(found["released"], "0 0") << "the names are deleted and the list emptied";
}

} // namespace
