#include "tools/assets/AssetKinds.hpp"

std::optional<std::size_t> writeMaterials(const std::filesystem::path&) {
    return 0;
}
