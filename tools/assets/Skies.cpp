#include "tools/assets/AssetKinds.hpp"

std::optional<std::size_t> writeSkies(const std::filesystem::path&) {
    return 0;
}
