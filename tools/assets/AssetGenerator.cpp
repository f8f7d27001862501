// Writes every model, picture, sky, sound and ghost the game reads under the
// Assets/ folder given as the last argument. The build runs it with --update,
// which writes only the files that are missing or older than the generator
// itself, so that a file deleted from the tree comes back without the rest
// being made again. The output is the same bytes on every run (fixed seeds,
// no clock in the content).
#include "tools/assets/AssetKinds.hpp"
#include "tools/assets/StaleAssets.hpp"

#include <fmt/core.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string_view>

namespace
{

struct AssetKind
{
    const char* name;
    std::vector<std::filesystem::path> (*paths)();
    std::optional<std::size_t> (*write)(const std::filesystem::path&, const AssetSelection&);
};

constexpr AssetKind kinds[] = {
    {"models", modelPaths, writeModels},       {"materials", materialPaths, writeMaterials},
    {"pictures", picturePaths, writePictures}, {"skies", skyPaths, writeSkies},
    {"sounds", soundPaths, writeSounds},       {"ghosts", ghostPaths, writeGhosts},
};

// When the generator was built; a generator that cannot tell has everything written again.
std::filesystem::file_time_type generatorTime()
{
    std::error_code error;
    const std::filesystem::file_time_type built = std::filesystem::last_write_time("/proc/self/exe", error);
    return error ? std::filesystem::file_time_type::max() : built;
}

} // namespace

int main(int argc, char** argv)
{
    const bool update = argc == 3 && std::string_view(argv[1]) == "--update";
    if (argc != 2 && !update)
    {
        fmt::print(stderr, "Usage: {} [--update] <Assets folder>\n", argc > 0 ? argv[0] : "kelvane_assets");
        return 2;
    }
    const std::filesystem::path assets = argv[argc - 1];
    const std::filesystem::file_time_type built = generatorTime();
    const auto start = std::chrono::steady_clock::now();
    std::size_t total = 0;
    for (const AssetKind& kind : kinds)
    {
        AssetSelection wanted = everyAsset;
        if (update)
        {
            const std::vector<std::filesystem::path> stale = staleAssets(assets, kind.paths(), built);
            if (stale.empty())
            {
                continue;
            }
            wanted = [stale](const std::filesystem::path& path)
            { return std::find(stale.begin(), stale.end(), path) != stale.end(); };
        }
        const auto kindStart = std::chrono::steady_clock::now();
        const std::optional<std::size_t> count = kind.write(assets, wanted);
        if (!count)
        {
            fmt::print(stderr, "Writing the {} has failed.\n", kind.name);
            return 1;
        }
        total += *count;
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - kindStart;
        fmt::print("{}: {} files in {:.2f} s\n", kind.name, *count, seconds.count());
    }
    if (total > 0)
    {
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        fmt::print("Assets written in {:.2f} s\n", seconds.count());
    }
    return 0;
}
