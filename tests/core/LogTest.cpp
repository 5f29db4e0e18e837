#include "core/Log.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

TEST(Log, SectionsNestWithTabsAndLinesAreCut)
{
    const std::string path = testfiles::tempDir("log") + "/application.log";
    Log log;
    EXPECT_EQ(Log::instance, &log);
    EXPECT_FALSE(log.print("closed %d", 1)); // nothing happens while closed
    ASSERT_TRUE(log.open(path));
    EXPECT_FALSE(log.open(path)); // already open: unchanged
    log.beginSection("A");
    log.beginSection("B");
    log.print("x");
    log.endSection("B");
    log.endSection("A");
    log.print("%s", std::string(400, 'y').c_str());
    logPrint("via %s", "helper");
    EXPECT_TRUE(log.close());
    EXPECT_FALSE(log.close());
    EXPECT_EQ(testfiles::readFile(path),
              "--==[A]==--\n\t--==[B]==--\n\t\tx\n\t--==[B]==--\n--==[A]==--\n" + std::string(255, 'y') +
                  "\nvia helper\n");

    // Opening again truncates.
    ASSERT_TRUE(log.open(path));
    log.print("fresh");
    log.close();
    EXPECT_EQ(testfiles::readFile(path), "fresh\n");
}

TEST(Log, HelpersAreSilentWithoutALog)
{
    ASSERT_EQ(Log::instance, nullptr);
    logPrint("nowhere");
    logBeginSection("none");
    logEndSection("none");
}
