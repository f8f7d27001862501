#pragma once

#include <cstdint>

// The sea's surface, where the boats float (the planet's collision sphere has
// radius 100 and the boats' hulls ride on it); the drawn sea bed lies below.
// The geometry pass's vertex shader clips what lies under this surface, less
// the sag below, when the eye is above it.
inline constexpr float oceanRadius = 100.3f;
// Fine enough that the flat faces sag less than 3 cm below the sphere between
// their corners, so the water meets the keels and the barriers' feet
// everywhere. The ocean's vertex shader keeps a band beyond the horizon as
// wide as the faces reach past it; a coarser sphere needs a wider band.
inline constexpr std::uint32_t oceanSegments = 192;
inline constexpr std::uint32_t oceanRings = 96;
// More than the faces sag: a sphere this much smaller lies inside all of them.
inline constexpr float oceanSag = 0.05f;
