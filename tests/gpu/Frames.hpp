#pragma once

#include "engine/GraphicsSystem.hpp"
#include "graphics/Pipeline2.hpp"
#include "graphics/PipelineDescription.hpp"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A shader compiled from tests/shaders, by its source file name ("Colour.frag").
std::string testShader(const std::string& name);
// A triangle-list pipeline of the two stages with nothing culled, blended,
// depth-tested, bound or pushed, clearing its colour.
PipelineDescription describePipeline(const std::string& vertexShader, const std::string& fragmentShader);
// The description, depth-tested and -written against a cleared depth attachment.
PipelineDescription withDepth(PipelineDescription description);

// The colour Fill.frag paints.
constexpr std::array<std::uint8_t, 3> fillColour{255, 128, 64};
// A swap-chain pipeline that paints the whole frame in fillColour.
bool createFillPipeline(Pipeline2& pipeline);
// Its pass, begun and ended: one full-screen triangle.
void recordFill(Pipeline2& pipeline, const FrameInfo& frame);

using FrameRecorder = std::function<void(const FrameInfo&)>;

// Records one frame between beginFrame and endFrame; false when none was given.
bool presentFrame(GraphicsSystem& system, const FrameRecorder& record);

struct WindowPixel
{
    int x = 0;
    int y = 0;
    std::array<std::uint8_t, 3> colour{};
};

// Presents frames until the window shows every pixel (each channel within 1),
// at most 30 of them, and fails the test with what it shows if it never does.
void expectWindowShows(GraphicsSystem& system, const FrameRecorder& record, const std::vector<WindowPixel>& pixels);
