#include "tools/assets/AssetKinds.hpp"

std::optional<std::size_t> writeModels(const std::filesystem::path&) {
    return 0;
}
