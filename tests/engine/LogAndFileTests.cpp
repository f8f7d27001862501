#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "support/ErrorFlagTest.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

#include <regex>

namespace
{
using LogTest = ErrorFlagTest;

TEST_F(LogTest, LinesHaveTheExactLayoutAndErrorsAreCountedUntilReset)
{
    StdoutCapture capture;
    logInfo("hello");
    EXPECT_FALSE(hasErrors());
    logDebug("Pipeline was created.");
    logError("broken");
    logLines({{LogLevel::debug, "dropped"}, {LogLevel::info, "later"}, {LogLevel::error, "decided"}});
    const std::vector<std::string> lines = capture.lines();

    ASSERT_EQ(lines.size(), 4u);
    const std::regex info(R"(\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\] Info:  hello)");
    const std::regex error(R"(\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\] ERROR: broken)");
    EXPECT_TRUE(std::regex_match(lines[0], info)) << lines[0];
    EXPECT_TRUE(std::regex_match(lines[1], error)) << lines[1];
    EXPECT_EQ(withoutTimestamp(lines[2]), "Info:  later");
    EXPECT_EQ(withoutTimestamp(lines[3]), "ERROR: decided");
    EXPECT_TRUE(hasErrors());
    EXPECT_EQ(errorCount(), 2u) << "each error sentence counts, the other levels do not";
}

TEST(FileIoTest, ReadsEveryByteAndTellsMissingFromEmpty)
{
    TemporaryFolder folder;
    EXPECT_FALSE(readFile("missing.bin").has_value());
    ASSERT_TRUE(writeFile("empty.bin", "", false));
    EXPECT_EQ(readFile("empty.bin"), "");

    const std::string binary("a\0b\0\xff\r\n", 7);
    ASSERT_TRUE(writeFile("file.bin", "a much longer first content", false));
    ASSERT_TRUE(writeFile("file.bin", binary, false));
    EXPECT_EQ(readFile("file.bin"), binary);
    ASSERT_TRUE(writeFile("file.bin", "+more", true));
    EXPECT_EQ(readFile("file.bin"), binary + "+more");
}

TEST(FileIoTest, DirectoriesAndUnwritablePathsFailCleanly)
{
    TemporaryFolder folder;
    std::filesystem::create_directory("folder");
    EXPECT_FALSE(readFile("folder").has_value());
    EXPECT_FALSE(writeFile("folder", "x", false));
    EXPECT_FALSE(writeFile("no/such/folder/file.txt", "x", false));
}
}
