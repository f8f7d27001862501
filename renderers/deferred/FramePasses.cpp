#include "renderers/deferred/FramePasses.hpp"

#include <fmt/format.h>

std::vector<FramePass> framePasses(std::int32_t blurRounds)
{
    std::vector<FramePass> passes{{PassKind::geometry},    {PassKind::ocean},     {PassKind::ambientOcclusion},
                                  {PassKind::pointLights}, {PassKind::sunShadow}, {PassKind::composite}};
    for (std::int32_t round = 1; round <= blurRounds; ++round)
    {
        passes.push_back({PassKind::blurAcross, round});
        passes.push_back({PassKind::blurDown, round});
    }
    passes.push_back({PassKind::colourGrading});
    return passes;
}

std::string passName(const FramePass& pass)
{
    switch (pass.kind)
    {
    case PassKind::geometry:
        return "geometry";
    case PassKind::ocean:
        return "ocean";
    case PassKind::ambientOcclusion:
        return "ambient occlusion";
    case PassKind::pointLights:
        return "point lights";
    case PassKind::sunShadow:
        return "sun shadow";
    case PassKind::composite:
        return "composite";
    case PassKind::blurAcross:
        return fmt::format("blur {} across", pass.round);
    case PassKind::blurDown:
        return fmt::format("blur {} down", pass.round);
    case PassKind::colourGrading:
        return "colour grading";
    }
    return {};
}
