#include "engine/FileIo.hpp"
#include "game/assets/AssetPaths.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"
#include "tools/assets/AssetKinds.hpp"
#include "tools/assets/Ghosts.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

namespace
{
// The opponents are raced once for the whole file (a few seconds on all cores).
class GhostsTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        assets = new TemporaryFolder;
        StdoutCapture capture;
        written = writeGhosts(assets->path());
    }
    // A failure in the suite's set-up would only mark the tests skipped.
    void SetUp() override { ASSERT_EQ(written, std::optional<std::size_t>{5}); }
    static void TearDownTestSuite()
    {
        delete assets;
        assets = nullptr;
    }
    static std::filesystem::path ghosts() { return (assets->path() / recordedGhostFiles[0]).parent_path(); }

    static TemporaryFolder* assets;
    static std::optional<std::size_t> written;
};
TemporaryFolder* GhostsTest::assets = nullptr;
std::optional<std::size_t> GhostsTest::written;

GhostRecording load(const std::filesystem::path& path)
{
    GhostRecording ghost(180, 15);
    StdoutCapture capture;
    EXPECT_TRUE(ghost.loadFromFile(path.string())) << path;
    return ghost;
}

// The ghosts the generator writes: each a whole race, the later cars slower.
TEST_F(GhostsTest, TheBuiltOpponentsRaceThreeLapsAtSpreadPaces)
{
    std::int32_t previous = 0;
    std::int32_t quickest = 0;
    for (std::size_t car = 1; car <= recordedGhostFiles.size(); ++car)
    {
        const GhostRecording ghost = load(assets->path() / recordedGhostFiles[car - 1]);
        EXPECT_EQ(checkpointsPassedInPlayback(ghost), 15) << car;
        EXPECT_GT(ghost.frameCount(), previous) << car;
        previous = ghost.frameCount();
        quickest = car == 1 ? previous : quickest;
    }
    // The slowest takes a fifth longer than the quickest.
    EXPECT_GT(previous, quickest * 6 / 5);

    // What the build checks for is what the writer makes.
    std::vector<std::filesystem::path> written;
    for (const auto& entry : std::filesystem::directory_iterator(ghosts()))
    {
        written.push_back(std::filesystem::relative(entry.path(), assets->path()));
    }
    std::vector<std::filesystem::path> listed = ghostPaths();
    std::sort(written.begin(), written.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(written, listed);
}

TEST_F(GhostsTest, AGhostCutShortMissesTheLastCheckpoints)
{
    std::string bytes = readFile((assets->path() / recordedGhostFiles[0]).string()).value_or("");
    ASSERT_GE(bytes.size(), 4u);
    std::int32_t count = 0;
    std::memcpy(&count, bytes.data(), sizeof(count));
    count /= 2;
    std::memcpy(bytes.data(), &count, sizeof(count));
    ASSERT_TRUE(writeFile((assets->path() / "half.ghost").string(), bytes, false));
    const int passed = checkpointsPassedInPlayback(load(assets->path() / "half.ghost"));
    EXPECT_GE(passed, 5);
    EXPECT_LT(passed, 10);
}
}
