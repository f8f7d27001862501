// Writes every model, picture, sky, sound and ghost the game reads under the
// Assets/ folder given as the only argument. The build runs it; the output is
// the same bytes on every run (fixed seeds, no clock in the content).
#include "tools/assets/AssetKinds.hpp"

#include <fmt/core.h>

#include <chrono>
#include <cstdio>

namespace {

struct AssetKind {
    const char* name;
    std::optional<std::size_t> (*write)(const std::filesystem::path&);
};

constexpr AssetKind kinds[] = {
    {"models", writeModels},     {"materials", writeMaterials}, {"pictures", writePictures},
    {"skies", writeSkies},       {"sounds", writeSounds},       {"ghosts", writeGhosts},
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fmt::print(stderr, "Usage: {} <Assets folder>\n", argc > 0 ? argv[0] : "kelvane_assets");
        return 2;
    }
    const std::filesystem::path assets = argv[1];
    const auto start = std::chrono::steady_clock::now();
    for (const AssetKind& kind : kinds) {
        const auto kindStart = std::chrono::steady_clock::now();
        const std::optional<std::size_t> count = kind.write(assets);
        if (!count) {
            fmt::print(stderr, "Writing the {} has failed.\n", kind.name);
            return 1;
        }
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - kindStart;
        fmt::print("{}: {} files in {:.2f} s\n", kind.name, *count, seconds.count());
    }
    const std::chrono::duration<double> total = std::chrono::steady_clock::now() - start;
    fmt::print("Assets written in {:.2f} s\n", total.count());
    return 0;
}
