#include "engine/FileIo.hpp"
#include "engine/Settings.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <tuple>

#include <sys/stat.h>
#include <unistd.h>

namespace
{
class SettingsTest : public ::testing::Test
{
protected:
    void SetUp() override { Settings::resetForTesting(); }
    void TearDown() override { Settings::resetForTesting(); }

    static void readText(const std::string& text)
    {
        ASSERT_TRUE(writeFile("Settings.txt", text, false));
        Settings::read();
    }

    TemporaryFolder folder;
};

TEST_F(SettingsTest, OnlyAMissingFileIsWrittenWithTheDefaults)
{
    Settings::setDefaultWindowSize(2560, 1440);
    Settings::read();
    EXPECT_EQ(readFile("Settings.txt"),
              "Window-Width: 2560\nWindow-Height: 1440\nFullscreen: true\nPreferredPresentMode: FIFO\n");
    EXPECT_EQ(Settings::getWindowWidth(), 2560u);
    EXPECT_EQ(Settings::getWindowHeight(), 1440u);

    Settings::resetForTesting();
    Settings::setDefaultWindowSize(2560, 1440);
    readText("");
    EXPECT_EQ(readFile("Settings.txt"), "");
    EXPECT_EQ(Settings::getWindowWidth(), 1280u);
}

TEST_F(SettingsTest, UnreadableFileIsNeverOverwritten)
{
    if (geteuid() == 0)
    {
        // Root reads any file; a directory is just as unreadable as a file.
        std::filesystem::create_directory("Settings.txt");
        Settings::read();
        EXPECT_TRUE(std::filesystem::is_directory("Settings.txt"));
        return;
    }
    readText("Window-Width: 800\n");
    chmod("Settings.txt", 0);
    Settings::read();
    chmod("Settings.txt", 0600);
    EXPECT_EQ(readFile("Settings.txt"), "Window-Width: 800\n");
}

TEST_F(SettingsTest, KeysAreExactBlanksAreTrimmedAndCarriageReturnsSpoilOnlyWords)
{
    using Case = std::tuple<std::string, std::uint32_t, std::uint32_t, bool, PresentMode>;
    const Case cases[] = {
        {" \tWindow-Width\t:1024 \nwindow-height: 10\nWindow-Height :600\nWindow-Height: 768\nFullscreen:false\n"
         "no colon here\nPreferredPresentMode:  Mailbox\t\nUnknown: 5",
         1024, 768, false, presentModeMailbox},
        {"Window-Width: 1600\r\nWindow-Height: 900\r\nFullscreen: true\r\nPreferredPresentMode: Mailbox\r\n", 1600, 900,
         false, presentModeFifo},
        {"Fullscreen: TRUE\nPreferredPresentMode: Immediate\n", 1280, 720, false, presentModeImmediate},
        {"PreferredPresentMode: Relaxed FIFO\nWindow-Width: 16384\nWindow-Height: 1\n", 16384, 1, true,
         presentModeFifoRelaxed},
    };
    for (const auto& [text, width, height, fullscreen, mode] : cases)
    {
        Settings::resetForTesting();
        readText(text);
        EXPECT_EQ(Settings::getWindowWidth(), width) << text;
        EXPECT_EQ(Settings::getWindowHeight(), height) << text;
        EXPECT_EQ(Settings::isFullscreen(), fullscreen) << text;
        EXPECT_EQ(Settings::getPreferredPresentMode(), mode) << text;
    }
}

TEST_F(SettingsTest, SidesOutsideTheUsableRangeLeaveTheValueUnchanged)
{
    for (const char* value : {"2147483648", "-", "0", "-1", "16385", "abc", ""})
    {
        readText(std::string("Window-Width: ") + value + "\nWindow-Height: " + value + "\n");
        EXPECT_EQ(Settings::getWindowWidth(), 1280u) << value;
        EXPECT_EQ(Settings::getWindowHeight(), 720u) << value;
    }
}

TEST(ParseIntegerTest, FollowsTheRulesOfASigned32BitDecimal)
{
    EXPECT_EQ(parseInteger("-17"), -17);
    EXPECT_EQ(parseInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseInteger("-2147483648"), -2147483648LL);
    EXPECT_EQ(parseInteger("12px"), 12);
    for (const char* text : {"2147483648", "+5", " 5", "-", ""})
    {
        EXPECT_FALSE(parseInteger(text)) << text;
    }
}
}
