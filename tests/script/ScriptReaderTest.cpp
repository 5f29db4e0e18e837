#include "script/ScriptReader.h"

#include <gtest/gtest.h>
#include <sstream>

TEST(ScriptReader, Placeholder) { EXPECT_TRUE(true); }
