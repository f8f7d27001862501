#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>

// One writer per kind of asset. Each writes its files under the given Assets/
// folder at the paths the game reads and gives back how many it wrote, or no
// value when one could not be written (the writer has said which on stderr).
std::optional<std::size_t> writeModels(const std::filesystem::path& assets);
std::optional<std::size_t> writeMaterials(const std::filesystem::path& assets);
std::optional<std::size_t> writePictures(const std::filesystem::path& assets);
std::optional<std::size_t> writeSkies(const std::filesystem::path& assets);
std::optional<std::size_t> writeSounds(const std::filesystem::path& assets);
std::optional<std::size_t> writeGhosts(const std::filesystem::path& assets);
