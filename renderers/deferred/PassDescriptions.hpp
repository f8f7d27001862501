#pragma once

#include "graphics/PipelineDescription.hpp"

// The pipeline descriptions of the deferred renderer's passes. Binding numbers
// are positions in each list; the shaders declare the same.
PipelineDescription describeGBufferPass();
// Tessellated models; `loadOp` CLEAR starts the G-buffer, LOAD adds to it.
PipelineDescription describeGBufferTessellationPass(VkAttachmentLoadOp loadOp);
PipelineDescription describeOceanPass();
PipelineDescription describeSsaoPass();
PipelineDescription describePointLightPass();
PipelineDescription describeDirectionalLightPass();
PipelineDescription describeCompositePass();
PipelineDescription describeBlurPass();
PipelineDescription describeColourGradingPass();
