#pragma once

#include "engine/vulkan/ResourceRecords.hpp"
#include "graphics/Mesh.hpp"
#include "graphics/PipelineDescription.hpp"
#include "graphics/Texture.hpp"
#include "renderers/Font.hpp"

#include <glm/mat4x4.hpp>
#include <vulkan/vulkan.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class GraphicsSystem;
struct FrameInfo;
struct Pipeline2;

// A load step's outcome. Many creators refuse without a trace at the error
// level, and the scene manager learns of a failed load only through that
// level, so a failed step always logs its own sentence.
bool loadStep(bool succeeded, const std::string& sentence);

// The code points of the debug and menu text.
extern const std::u32string textCodePoints;
// The code points of the race clock.
extern const std::u32string clockCodePoints;

// Both frames' buffers hold the projection.
std::optional<UniformBufferCollection> createProjectionUniforms(GraphicsSystem& graphicsSystem,
                                                                const glm::mat4& projection);

// One screen-space pipeline of a scene and the image its binding 1 samples.
struct ScreenPipelineLoad
{
    Pipeline2* pipeline;
    PipelineDescription description;
    std::string failure;
    // The font whose atlas it samples; none for the scene's picture.
    std::optional<std::size_t> font;
};

struct ScreenFontLoad
{
    // Where the scene keeps it.
    Font** font;
    std::string path;
    std::uint32_t pointSize;
    std::u32string codePoints;
    std::string failure;
};

// What a scene draws in screen space (the menu's picture and text, a track
// scene's head-up display): where each part is kept in the scene and the
// sentence that each failed step logs.
struct ScreenLoad
{
    std::vector<ScreenPipelineLoad> pipelines;
    // Kept as soon as made, so that the scene's unload releases them whatever fails later.
    UniformBufferCollection* uniforms = nullptr;
    std::string uniformsFailure;
    std::vector<ScreenFontLoad> fonts;
    // Run once the fonts exist; each logs its own failure.
    std::function<bool()> createMeshes;
    std::function<const Texture*()> loadPicture;
    std::string atlasFailure;
    std::string samplerFailure;
};

// The steps that the menu and the track scenes load their screen-space
// drawing in, in this order: the pipelines, their projection's uniforms, the
// fonts, the meshes, the picture, one atlas texture a font, the picture's
// sampler and the atlases' sampler, and each pipeline's descriptor sets.
// False at the first failed step, having logged its sentence; what was made
// stays in the containers for the scene's unload.
bool loadScreen(GraphicsSystem& graphicsSystem, TextureContainer& textures, std::vector<std::unique_ptr<Font>>& fonts,
                const glm::mat4& projection, const ScreenLoad& load);

// "FPS: -" in a mesh with room for the longest frames-per-second text.
std::optional<Mesh*> createFpsTextMesh(MeshContainer& meshes, const Font& font);

// The frame a scene records into: none before its load has finished (a
// scene made without a graphics system never loads), nor while the swap
// chain cannot give an image.
std::optional<FrameInfo> beginLoadedFrame(GraphicsSystem* graphicsSystem, bool loaded);
