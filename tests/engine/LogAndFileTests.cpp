#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "support/ErrorFlagTest.hpp"
#include "support/FlushRecorder.hpp"
#include "support/FullDisk.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <regex>
#include <string>
#include <vector>

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
    // One byte waits in the stream's buffer and fails only when it is closed.
    EXPECT_FALSE(writeFile("/dev/full", "x", false));
}

std::vector<std::filesystem::path> entriesOf(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> entries;
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(folder))
    {
        entries.push_back(entry.path().filename());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

TEST(FileIoTest, ReplacingPutsTheWholeNewContentOrLeavesTheEarlierFileAndNoTemporaryOne)
{
    TemporaryFolder folder;
    ASSERT_TRUE(writeFile("saved.bin", "the earlier content, which is longer", false));
    ASSERT_TRUE(replaceFile("saved.bin", std::string("new\0", 4)));
    EXPECT_EQ(readFile("saved.bin"), std::string("new\0", 4));
    ASSERT_TRUE(replaceFile("fresh.bin", ""));
    EXPECT_EQ(readFile("fresh.bin"), "");

    // A folder that cannot be written: its path names a file.
    EXPECT_FALSE(replaceFile("saved.bin/inside.bin", "x"));
    // A target that cannot be renamed over: a folder with something in it.
    std::filesystem::create_directories("folder/kept");
    EXPECT_FALSE(replaceFile("folder", "x"));
    EXPECT_TRUE(std::filesystem::is_directory("folder/kept"));
    // A full disk half-way through the new content.
    const std::string large(64 * 1024, 'z');
    {
        FullDisk full(4096);
        EXPECT_FALSE(replaceFile("saved.bin", large));
    }
    EXPECT_EQ(readFile("saved.bin"), std::string("new\0", 4));
    // Something at the temporary path that the write did not make is not removed.
    std::filesystem::create_directory("blocked.bin.tmp");
    EXPECT_FALSE(replaceFile("blocked.bin", "x"));

    EXPECT_EQ(entriesOf("."),
              (std::vector<std::filesystem::path>{"blocked.bin.tmp", "folder", "fresh.bin", "saved.bin"}));
}

// A power cut must find either file whole: the new content reaches the disk
// before the rename can, and the rename before the call reports success.
TEST(FileIoTest, ReplacingFlushesTheNewFileBeforeTheRenameAndTheFolderAfterIt)
{
    TemporaryFolder folder;
    ASSERT_TRUE(writeFile("saved.bin", "earlier", false));
    std::vector<std::filesystem::path> flushed;
    std::vector<std::optional<std::string>> savedWhenFlushed;
    {
        FlushRecorder recorder([&](const std::filesystem::path& path) {
            flushed.push_back(path);
            savedWhenFlushed.push_back(readFile(folder.path() / "saved.bin"));
            return 0;
        });
        ASSERT_TRUE(replaceFile("saved.bin", "new"));
    }
    const std::filesystem::path here = std::filesystem::canonical(folder.path());
    ASSERT_EQ(flushed, (std::vector<std::filesystem::path>{here / "saved.bin.tmp", here}));
    EXPECT_EQ(savedWhenFlushed[0], "earlier") << "the new file is flushed before the rename";
    EXPECT_EQ(savedWhenFlushed[1], "new") << "the folder is flushed after it";
}

// Some network and user-space file systems cannot flush a folder and say so:
// the file is replaced all the same, and only a flush that failed otherwise
// (the disk's own error) is a failed replacement.
TEST(FileIoTest, AFolderFlushTheFileSystemDoesNotOfferIsNoFailureButADiskErrorIs)
{
    TemporaryFolder folder;
    for (const int unsupported : {EINVAL, ENOTSUP})
    {
        FlushRecorder recorder([unsupported](const std::filesystem::path& path)
                               { return std::filesystem::is_directory(path) ? unsupported : 0; });
        EXPECT_TRUE(replaceFile("saved.bin", std::to_string(unsupported))) << std::strerror(unsupported);
        EXPECT_EQ(readFile("saved.bin"), std::to_string(unsupported));
    }
    {
        FlushRecorder recorder([](const std::filesystem::path& path)
                               { return std::filesystem::is_directory(path) ? EIO : 0; });
        EXPECT_FALSE(replaceFile("saved.bin", "new"));
    }
    // The rename had happened: the new content stands, though unconfirmed on the disk.
    EXPECT_EQ(readFile("saved.bin"), "new");
    // Only the folder's flush may be missing: the new file's data must reach the disk before the rename.
    {
        FlushRecorder recorder([](const std::filesystem::path& path)
                               { return std::filesystem::is_directory(path) ? 0 : EINVAL; });
        EXPECT_FALSE(replaceFile("saved.bin", "newer"));
    }
    EXPECT_EQ(readFile("saved.bin"), "new");
    EXPECT_EQ(entriesOf("."), (std::vector<std::filesystem::path>{"saved.bin"}));
}
}
