#include "renderers/deferred/DeferredRenderer.hpp"

#include <cstdio>

// The counters are unbounded; the shaders fold them onto the views they have.

void DeferredRenderer::previousRenderMode()
{
    --compositePushConstants.renderMode;
    std::printf("render Mode: %d\n", compositePushConstants.renderMode);
}

void DeferredRenderer::nextRenderMode()
{
    ++compositePushConstants.renderMode;
    std::printf("render Mode: %d\n", compositePushConstants.renderMode);
}

void DeferredRenderer::nextPointLightMode()
{
    ++pointLightMode;
}

void DeferredRenderer::nextColourGradingMode()
{
    ++colourGradingPushConstants.colourGradingMode;
}
