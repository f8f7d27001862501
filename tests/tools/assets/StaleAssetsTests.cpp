#include "engine/FileIo.hpp"
#include "support/TemporaryFolder.hpp"
#include "tools/assets/StaleAssets.hpp"

#include <gtest/gtest.h>

#include <chrono>

namespace
{
namespace fs = std::filesystem;

TEST(StaleAssetsTest, MissingFilesFoldersInTheirPlaceAndFilesOlderThanTheGeneratorAreWrittenAgain)
{
    TemporaryFolder folder;
    const fs::path assets = folder.path() / "Assets";
    fs::create_directories(assets / "Models");
    fs::create_directories(assets / "Textures/Sky.png");
    ASSERT_TRUE(writeFile(assets / "Models/Fresh.obj", "o", false));
    ASSERT_TRUE(writeFile(assets / "Models/Old.obj", "o", false));
    const fs::file_time_type generator = fs::last_write_time(assets / "Models/Fresh.obj") - std::chrono::seconds(10);
    fs::last_write_time(assets / "Models/Old.obj", generator - std::chrono::seconds(1));

    const std::vector<fs::path> paths{"Models/Fresh.obj", "Models/Old.obj", "Models/Gone.obj", "Textures/Sky.png"};
    EXPECT_EQ(staleAssets(assets, paths, generator),
              (std::vector<fs::path>{"Models/Old.obj", "Models/Gone.obj", "Textures/Sky.png"}));
    // A tree that was never written is written whole.
    EXPECT_EQ(staleAssets(folder.path() / "None", paths, generator), paths);
}
}
