#include "tools/assets/StaleAssets.hpp"

#include <system_error>

std::vector<std::filesystem::path> staleAssets(const std::filesystem::path& assets,
                                               const std::vector<std::filesystem::path>& paths,
                                               std::filesystem::file_time_type generatorTime)
{
    std::vector<std::filesystem::path> stale;
    for (const std::filesystem::path& path : paths)
    {
        std::error_code error;
        const std::filesystem::path file = assets / path;
        const bool present = std::filesystem::is_regular_file(file, error);
        const std::filesystem::file_time_type written = std::filesystem::last_write_time(file, error);
        if (!present || error || written < generatorTime)
        {
            stale.push_back(path);
        }
    }
    return stale;
}
