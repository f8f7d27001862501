#pragma once

#include <filesystem>
#include <vector>

// Of the given files under the Assets/ folder (paths relative to it), those
// the build must write again: the ones missing, or not regular files, and the
// ones older than `generatorTime`, when the generator that makes them was built.
std::vector<std::filesystem::path> staleAssets(const std::filesystem::path& assets,
                                               const std::vector<std::filesystem::path>& paths,
                                               std::filesystem::file_time_type generatorTime);
