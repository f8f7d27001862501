#pragma once

#include <cstdint>
#include <string>

struct Version
{
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t patch = 0;
};

inline constexpr const char* gameName = "Kelvane";
inline constexpr Version gameVersion{0, 0, 0};

// "major.minor.patch"
std::string makeVersionString(const Version& version);
