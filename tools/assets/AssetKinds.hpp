#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

// Which files a writer is asked for, by their paths under Assets/. Files that
// are drawn or raced together are written together, so a writer makes every
// such group that holds one wanted file.
using AssetSelection = std::function<bool(const std::filesystem::path&)>;
inline bool everyAsset(const std::filesystem::path&)
{
    return true;
}

// One writer per kind of asset. Each writes its files under the given Assets/
// folder at the paths the game reads and gives back how many it wrote, or no
// value when one could not be written (the writer has said which on stderr).
// Beside each, the paths of every file it writes, relative to Assets/, known
// without making anything.
std::vector<std::filesystem::path> modelPaths();
std::optional<std::size_t> writeModels(const std::filesystem::path& assets, const AssetSelection& wanted = everyAsset);
std::vector<std::filesystem::path> materialPaths();
std::optional<std::size_t> writeMaterials(const std::filesystem::path& assets,
                                          const AssetSelection& wanted = everyAsset);
std::vector<std::filesystem::path> picturePaths();
std::optional<std::size_t> writePictures(const std::filesystem::path& assets,
                                         const AssetSelection& wanted = everyAsset);
std::vector<std::filesystem::path> skyPaths();
std::optional<std::size_t> writeSkies(const std::filesystem::path& assets, const AssetSelection& wanted = everyAsset);
std::vector<std::filesystem::path> soundPaths();
std::optional<std::size_t> writeSounds(const std::filesystem::path& assets, const AssetSelection& wanted = everyAsset);
std::vector<std::filesystem::path> ghostPaths();
std::optional<std::size_t> writeGhosts(const std::filesystem::path& assets, const AssetSelection& wanted = everyAsset);
