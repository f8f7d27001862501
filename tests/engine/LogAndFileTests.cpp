#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <regex>

namespace
{
class LogTest : public ::testing::Test
{
protected:
    void SetUp() override { resetErrorFlagForTesting(); }
    void TearDown() override { resetErrorFlagForTesting(); }
};

TEST_F(LogTest, LinesHaveTheExactLayoutAndErrorsStickUntilReset)
{
    StdoutCapture capture;
    logInfo("hello");
    EXPECT_FALSE(hasErrors());
    logDebug("Pipeline was created.");
    logError("broken");
    logInfo("later");
    EXPECT_TRUE(hasErrors());
    const std::vector<std::string> lines = capture.lines();

    ASSERT_EQ(lines.size(), 3u);
    const std::regex info(R"(\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\] Info:  hello)");
    const std::regex error(R"(\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\] ERROR: broken)");
    EXPECT_TRUE(std::regex_match(lines[0], info)) << lines[0];
    EXPECT_TRUE(std::regex_match(lines[1], error)) << lines[1];
    EXPECT_EQ(withoutTimestamp(lines[2]), "Info:  later");
    EXPECT_TRUE(hasErrors());
}

TEST_F(LogTest, DecidedLinesGoOutAtTheirLevelsInOrder)
{
    StdoutCapture capture;
    logLines({{LogLevel::debug, "dropped"}, {LogLevel::error, "first"}, {LogLevel::info, "second"}});
    const std::vector<std::string> lines = capture.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(withoutTimestamp(lines[0]), "ERROR: first");
    EXPECT_EQ(withoutTimestamp(lines[1]), "Info:  second");
    EXPECT_TRUE(hasErrors());
}

TEST_F(LogTest, MessageStopsAtAnEmbeddedNul)
{
    StdoutCapture capture;
    logInfo(std::string("shown\0hidden", 12));
    EXPECT_EQ(withoutTimestamp(capture.lines().at(0)), "Info:  shown");
}

TEST(FileIoTest, ReadsEveryByteAndTellsMissingFromEmpty)
{
    TemporaryFolder folder;
    EXPECT_FALSE(readFile("missing.bin").has_value());

    ASSERT_TRUE(writeFile("empty.bin", "", false));
    ASSERT_TRUE(readFile("empty.bin").has_value());
    EXPECT_EQ(*readFile("empty.bin"), "");

    const std::string binary("a\0b\0\xff\r\n", 7);
    ASSERT_TRUE(writeFile("binary.bin", binary, false));
    EXPECT_EQ(readFile("binary.bin"), binary);
}

TEST(FileIoTest, WriteReplacesOrAppends)
{
    TemporaryFolder folder;
    ASSERT_TRUE(writeFile("file.txt", "a much longer first content", false));
    ASSERT_TRUE(writeFile("file.txt", "short", false));
    EXPECT_EQ(readFile("file.txt"), "short");
    ASSERT_TRUE(writeFile("file.txt", "+more", true));
    EXPECT_EQ(readFile("file.txt"), "short+more");
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
