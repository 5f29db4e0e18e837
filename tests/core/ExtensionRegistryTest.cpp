#include "core/ExtensionRegistry.h"
#include "core/Log.h"
#include "platform/GLContext.h"
#include "GLFixture.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

TEST(HasExtension, MatchesWholeWordsOnly)
{
    const char* list = "GL_EXT_texture3D GL_EXT_texture_object";
    EXPECT_FALSE(hasExtension(list, "GL_EXT_texture"));
    EXPECT_TRUE(hasExtension(list, "GL_EXT_texture3D"));
    EXPECT_TRUE(hasExtension(list, "GL_EXT_texture_object"));
    EXPECT_FALSE(hasExtension(list, "EXT_texture_object"));
    EXPECT_FALSE(hasExtension(list, ""));
    EXPECT_FALSE(hasExtension(list, "GL_EXT_texture3D GL_EXT_texture_object"));
    // A rejected match earlier in the list does not hide a later whole-word one.
    EXPECT_TRUE(hasExtension("GL_A_bc GL_A", "GL_A"));
    EXPECT_FALSE(hasExtension("", "GL_A"));
}

class ExtensionRegistryGL : public GLTest {};

TEST_F(ExtensionRegistryGL, LogsFortySixLinesAndFillsUsedEntryPoints)
{
    const std::string dir = testfiles::tempDir("ext");
    Log log;
    ASSERT_TRUE(log.open(dir + "/application.log"));
    // Separate blend factors are looked up and logged with the other blend extensions.
    ext::gl_EXT_blend_func_separate = false;
    ext::glBlendFuncSeparateEXT = nullptr;
    logExtensions();
    log.close();
    const std::string text = testfiles::readFile(dir + "/application.log");
    int success = 0, failed = 0;
    for (size_t pos = 0; (pos = text.find("\tSUCCESS", pos)) != std::string::npos; ++pos)
        ++success;
    for (size_t pos = 0; (pos = text.find("\tFAILED", pos)) != std::string::npos; ++pos)
        ++failed;
    EXPECT_EQ(success + failed, 46);
    EXPECT_NE(text.find("\tGL_EXT_blend_func_separate      \tSUCCESS"), std::string::npos) << text;
    EXPECT_TRUE(ext::gl_EXT_blend_func_separate);
    EXPECT_NE(ext::glBlendFuncSeparateEXT, nullptr);
    // No window-system entry of the Windows program exists here.
    EXPECT_NE(text.find("\tWGL_ARB_pbuffer                 \tFAILED"), std::string::npos) << text;
    EXPECT_TRUE(ext::gl_ARB_multitexture);
    EXPECT_NE(ext::glActiveTextureARB, nullptr);
    // A name outside the table is looked up in the extension strings only.
    EXPECT_FALSE(initExtension("GL_NO_such_extension"));
    EXPECT_FALSE(initExtension(nullptr));
    EXPECT_TRUE(initExtensions(kRequiredExtensions));
}
