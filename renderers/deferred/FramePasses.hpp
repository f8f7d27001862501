#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a pass of the deferred renderer's frame does.
enum class PassKind : std::uint8_t
{
    geometry,
    ocean,
    ambientOcclusion,
    pointLights,
    sunShadow,
    composite,
    blurAcross,
    blurDown,
    colourGrading
};

struct FramePass
{
    PassKind kind = PassKind::geometry;
    // The round of a blur pass, from 1; 0 for the other passes.
    std::int32_t round = 0;
};

// A frame's passes in recording order, with `blurRounds` rounds of blur (none
// for 0 or less). The ocean stays a pass while it is disabled, so that a pass
// keeps its place in the list whatever the scene switches off.
std::vector<FramePass> framePasses(std::int32_t blurRounds);

// As the benchmarks print it: "geometry", "blur 2 across", "colour grading".
std::string passName(const FramePass& pass);
