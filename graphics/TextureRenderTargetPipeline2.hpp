#pragma once

#include "graphics/Pipeline2.hpp"
#include "graphics/Texture.hpp"

#include <array>
#include <cstdint>
#include <vector>

// A pipeline that draws into render-target textures, one set of targets per
// frame in flight, with one frame buffer per frame. It does not follow the
// swap chain. Its targets rest in the shader-read layout outside its pass.
struct TextureRenderTargetPipeline2 : Pipeline2
{
    explicit TextureRenderTargetPipeline2(GraphicsSystem* graphicsSystem);

    // Indexed by the frame index, in the order of the collections given; with
    // a depth attachment the last texture is the depth target. The owner
    // empties both lists after destroyPipeline2.
    std::array<std::vector<Texture*>, 2> frameTargets;
    // The frame whose targets the open pass draws into, so that its end
    // returns those targets whatever frame the graphics system is in by then.
    std::uint32_t passFrame = 0;
};

// The description has a depth attachment exactly when the last collection is
// the depth target, which must have the graphics system's depth format; there
// must be at least one colour target. Viewport and scissor cover the first target.
template <typename Vertex, typename Instance = void>
bool createTextureRenderTargetPipeline2(TextureRenderTargetPipeline2& pipeline, const PipelineDescription& description,
                                        const std::vector<TextureCollection>& collections);

extern template bool createTextureRenderTargetPipeline2<ModelVertex, TwoMatrixInstance>(
    TextureRenderTargetPipeline2&, const PipelineDescription&, const std::vector<TextureCollection>&);
extern template bool createTextureRenderTargetPipeline2<PositionVertex>(TextureRenderTargetPipeline2&,
                                                                        const PipelineDescription&,
                                                                        const std::vector<TextureCollection>&);
extern template bool createTextureRenderTargetPipeline2<PositionVertex, PointLightInstance>(
    TextureRenderTargetPipeline2&, const PipelineDescription&, const std::vector<TextureCollection>&);
extern template bool createTextureRenderTargetPipeline2<NoVertex>(TextureRenderTargetPipeline2&,
                                                                  const PipelineDescription&,
                                                                  const std::vector<TextureCollection>&);

bool createRenderTargetRenderPass(TextureRenderTargetPipeline2& pipeline, const PipelineDescription& description);
// One per frame, of that frame's targets; on failure the ones made are kept.
bool createRenderTargetFramebuffers(TextureRenderTargetPipeline2& pipeline);
// One blend state per colour target, all from the description's blend mode.
std::vector<VkPipelineColorBlendAttachmentState> addColourBlendAttachment(const TextureRenderTargetPipeline2& pipeline,
                                                                          const PipelineDescription& description);

// Moves the frame's targets into their attachment layouts, binds the pipeline,
// begins its render pass and binds the frame's descriptor set.
void beginTextureRenderTargetPipeline2(TextureRenderTargetPipeline2& pipeline, VkCommandBuffer commandBuffer,
                                       std::uint32_t frameIndex);
// Ends the pass begun for the frame given to the begin and returns its
// targets to the shader-read layout.
void endTextureRenderTargetPipeline2(TextureRenderTargetPipeline2& pipeline, VkCommandBuffer commandBuffer);
