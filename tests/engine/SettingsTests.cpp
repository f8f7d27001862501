#include "engine/FileIo.hpp"
#include "engine/Settings.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

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

TEST_F(SettingsTest, MissingFileIsWrittenWithTheDefaults)
{
    Settings::setDefaultWindowSize(2560, 1440);
    Settings::read();
    EXPECT_EQ(readFile("Settings.txt"),
              "Window-Width: 2560\nWindow-Height: 1440\nFullscreen: true\nPreferredPresentMode: FIFO\n");
    EXPECT_EQ(Settings::getWindowWidth(), 2560u);
    EXPECT_EQ(Settings::getWindowHeight(), 1440u);
    EXPECT_TRUE(Settings::isFullscreen());
    EXPECT_EQ(Settings::getPreferredPresentMode(), presentModeFifo);
}

TEST_F(SettingsTest, EmptyFileChangesNothingAndIsNotRewritten)
{
    Settings::setDefaultWindowSize(2560, 1440);
    readText("");
    EXPECT_EQ(readFile("Settings.txt"), "");
    EXPECT_EQ(Settings::getWindowWidth(), 1280u);
    EXPECT_EQ(Settings::getWindowHeight(), 720u);
    EXPECT_TRUE(Settings::isFullscreen());
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

TEST_F(SettingsTest, KeysAreTrimmedExactAndTheLastOneWins)
{
    readText(" \tWindow-Width\t:1024 \nwindow-height: 10\nWindow-Height :600\nWindow-Height: 768\n"
             "Fullscreen:false\nno colon here\nPreferredPresentMode:  Mailbox\t\nUnknown: 5");
    EXPECT_EQ(Settings::getWindowWidth(), 1024u);
    EXPECT_EQ(Settings::getWindowHeight(), 768u);
    EXPECT_FALSE(Settings::isFullscreen());
    EXPECT_EQ(Settings::getPreferredPresentMode(), presentModeMailbox);
}

TEST_F(SettingsTest, CarriageReturnsKeepNumbersButSpoilWords)
{
    readText("Window-Width: 1600\r\nWindow-Height: 900\r\nFullscreen: true\r\nPreferredPresentMode: Mailbox\r\n");
    EXPECT_EQ(Settings::getWindowWidth(), 1600u);
    EXPECT_EQ(Settings::getWindowHeight(), 900u);
    EXPECT_FALSE(Settings::isFullscreen());
    EXPECT_EQ(Settings::getPreferredPresentMode(), presentModeFifo);
}

TEST_F(SettingsTest, WordsAreCaseSensitiveAndUnknownModesMeanFifo)
{
    readText("Fullscreen: TRUE\nPreferredPresentMode: Immediate\n");
    EXPECT_FALSE(Settings::isFullscreen());
    EXPECT_EQ(Settings::getPreferredPresentMode(), presentModeImmediate);
    readText("PreferredPresentMode: Relaxed FIFO\n");
    EXPECT_EQ(Settings::getPreferredPresentMode(), presentModeFifoRelaxed);
    readText("PreferredPresentMode: Triple\n");
    EXPECT_EQ(Settings::getPreferredPresentMode(), presentModeFifo);
}

TEST_F(SettingsTest, SidesOutsideTheUsableRangeLeaveTheValueUnchanged)
{
    for (const char* value : {"2147483648", "-", "0", "-1", "16385", "abc", ""})
    {
        readText(std::string("Window-Width: ") + value + "\nWindow-Height: " + value + "\n");
        EXPECT_EQ(Settings::getWindowWidth(), 1280u) << value;
        EXPECT_EQ(Settings::getWindowHeight(), 720u) << value;
    }
    readText("Window-Width: 16384\nWindow-Height: 1\n");
    EXPECT_EQ(Settings::getWindowWidth(), 16384u);
    EXPECT_EQ(Settings::getWindowHeight(), 1u);
}

TEST(ParseIntegerTest, FollowsTheRulesOfASigned32BitDecimal)
{
    EXPECT_EQ(parseInteger("42"), 42);
    EXPECT_EQ(parseInteger("-17"), -17);
    EXPECT_EQ(parseInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseInteger("-2147483648"), -2147483648LL);
    EXPECT_EQ(parseInteger("12px"), 12);
    EXPECT_EQ(parseInteger("300\r"), 300);
    EXPECT_FALSE(parseInteger("2147483648"));
    EXPECT_FALSE(parseInteger("+5"));
    EXPECT_FALSE(parseInteger(" 5"));
    EXPECT_FALSE(parseInteger("-"));
    EXPECT_FALSE(parseInteger(""));
}

TEST(TrimTest, RemovesBlanksAndTabsOnly)
{
    EXPECT_EQ(trim(" \t a b \t"), "a b");
    EXPECT_EQ(trim("\r x \r"), "\r x \r");
    EXPECT_EQ(trim(" \t "), "");
    EXPECT_EQ(trim(""), "");
}

TEST(PresentModeNameTest, NamesTheFourModes)
{
    EXPECT_EQ(presentModeName(0), "Immediate");
    EXPECT_EQ(presentModeName(1), "Mailbox");
    EXPECT_EQ(presentModeName(2), "FIFO");
    EXPECT_EQ(presentModeName(3), "Relaxed FIFO");
    EXPECT_EQ(presentModeName(4), "Not supported");
    EXPECT_EQ(presentModeName(-1), "Not supported");
}
}
