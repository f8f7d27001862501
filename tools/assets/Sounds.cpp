#include "tools/assets/AssetKinds.hpp"

std::optional<std::size_t> writeSounds(const std::filesystem::path&) {
    return 0;
}
