#include "tools/assets/AssetKinds.hpp"

std::optional<std::size_t> writePictures(const std::filesystem::path&) {
    return 0;
}
