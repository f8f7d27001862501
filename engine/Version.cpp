#include "engine/Version.hpp"

#include <fmt/format.h>

std::string makeVersionString(const Version& version)
{
    return fmt::format("{}.{}.{}", version.major, version.minor, version.patch);
}
