#pragma once

#include "engine/vulkan/ResourceRecords.hpp"
#include "graphics/MeshData.hpp"
#include "graphics/PipelineDescription.hpp"
#include "graphics/VertexLayouts.hpp"

#include <vulkan/vulkan.h>

#include <string>

struct Pipeline2;
struct Texture;

// A whole-image quad of the given size whose pivot sits at the origin, so a
// rotation in the draw matrix turns it about the pivot.
MeshData<ScreenVertex> createHudQuad(float width, float height, float pivotX, float pivotY);

// The screen-space pipelines of the menu, the HUD and text: alpha-blended
// quads without depth, the projection at binding 0 and an image at binding 1,
// the quad's matrix pushed to the vertex stage.
PipelineDescription describeScreenPipeline(const std::string& vertexShader, const std::string& fragmentShader,
                                           VkAttachmentLoadOp colourLoadOp);

// A screen-space pipeline of ScreenVertex quads on the swap chain, cleared to
// transparent black when its description clears; viewport and scissor keep
// the swap chain's extent at creation.
bool createHudPipeline(Pipeline2& pipeline, const PipelineDescription& description);

// Both frames' descriptor sets of a HUD, texture or text pipeline: the frame's
// uniform buffer at binding 0, the texture with the sampler at binding 1.
void writeHudDescriptorSets(Pipeline2& pipeline, const UniformBufferCollection& uniforms, const Texture& texture,
                            VkSampler sampler);
