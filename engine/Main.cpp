#include "engine/Log.hpp"
#include "engine/Version.hpp"

#include <fmt/format.h>

int main()
{
    const std::string version = makeVersionString(gameVersion);
    logInfo(fmt::format("{} (Version: {})", gameName, version));
    return hasErrors() ? -1 : 0;
}
