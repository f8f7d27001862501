#pragma once

#include "renderers/deferred/DeferredUniforms.hpp"

// Sixteen offsets in the half space z >= 0, turning by the golden angle, with
// lengths growing from 0.1 to 0.891 so that most samples stay near the pixel.
SsaoKernelUniforms computeSsaoKernel();
