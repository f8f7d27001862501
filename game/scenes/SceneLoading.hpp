#pragma once

#include "engine/vulkan/ResourceRecords.hpp"
#include "graphics/Mesh.hpp"
#include "graphics/PipelineDescription.hpp"
#include "renderers/Font.hpp"

#include <glm/mat4x4.hpp>
#include <vulkan/vulkan.h>

#include <optional>
#include <string>
#include <vector>

class GraphicsSystem;
struct FrameInfo;

// A load step's outcome. Many creators refuse without a trace at the error
// level, and the scene manager learns of a failed load only through that
// level, so a failed step always logs its own sentence.
bool loadStep(bool succeeded, const std::string& sentence);

// The code points of the debug and menu text.
extern const std::u32string textCodePoints;
// The code points of the race clock.
extern const std::u32string clockCodePoints;

// The screen-space pipelines of the menu and the HUD: alpha-blended quads
// without depth, the projection at binding 0 and an image at binding 1, the
// quad's matrix pushed to the vertex stage.
PipelineDescription describeScreenPipeline(const std::string& vertexShader, const std::string& fragmentShader,
                                           VkAttachmentLoadOp colourLoadOp);

// Both frames' buffers hold the projection.
std::optional<UniformBufferCollection> createProjectionUniforms(GraphicsSystem& graphicsSystem,
                                                                const glm::mat4& projection);

// "FPS: -" in a mesh with room for the longest frames-per-second text.
std::optional<Mesh*> createFpsTextMesh(MeshContainer& meshes, const Font& font);

// The frame a scene records into: none before its load has finished (a
// scene made without a graphics system never loads), nor while the swap
// chain cannot give an image.
std::optional<FrameInfo> beginLoadedFrame(GraphicsSystem* graphicsSystem, bool loaded);
