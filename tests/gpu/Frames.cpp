#include "gpu/Frames.hpp"

#include "support/NativeWindow.hpp"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace
{
bool near(const std::array<std::uint8_t, 3>& actual, const std::array<std::uint8_t, 3>& expected)
{
    for (std::size_t channel = 0; channel < 3; ++channel)
    {
        if (std::abs(actual[channel] - expected[channel]) > 1)
        {
            return false;
        }
    }
    return true;
}
}

std::string testShader(const std::string& name)
{
    return (std::filesystem::path(KELVANE_TEST_SHADER_DIR) / (name + ".spv")).string();
}

PipelineDescription describePipeline(const std::string& vertexShader, const std::string& fragmentShader)
{
    PipelineDescription description;
    description.shaders = {{VK_SHADER_STAGE_VERTEX_BIT, testShader(vertexShader)},
                           {VK_SHADER_STAGE_FRAGMENT_BIT, testShader(fragmentShader)}};
    description.cullMode = VK_CULL_MODE_NONE;
    description.blendMode = BlendMode::Opaque;
    description.colourLoadOp = VK_ATTACHMENT_LOAD_OP_CLEAR;
    description.depthLoadOp = VK_ATTACHMENT_LOAD_OP_DONT_CARE;
    return description;
}

bool createFillPipeline(Pipeline2& pipeline)
{
    return createSwapChainPipeline2(pipeline, describePipeline("FullScreen.vert", "Fill.frag"));
}

void recordFill(Pipeline2& pipeline, const FrameInfo& frame)
{
    beginPipeline2(pipeline, frame.commandBuffer, frame.frameIndex, frame.imageIndex);
    vkCmdDraw(frame.commandBuffer, 3, 1, 0, 0);
    vkCmdEndRenderPass(frame.commandBuffer);
}

bool presentFrame(GraphicsSystem& system, const FrameRecorder& record)
{
    const std::optional<FrameInfo> frame = system.beginFrame();
    if (!frame)
    {
        return false;
    }
    record(*frame);
    system.endFrame(frame->imageIndex);
    return true;
}

void expectWindowShows(GraphicsSystem& system, const FrameRecorder& record, const std::vector<WindowPixel>& pixels)
{
    std::vector<std::array<std::uint8_t, 3>> shown(pixels.size());
    for (int frame = 0; frame < 30; ++frame)
    {
        raiseNativeWindow(system.window);
        presentFrame(system, record);
        system.waitIdle();
        bool all = true;
        for (std::size_t index = 0; index < pixels.size(); ++index)
        {
            shown[index] = nativeWindowPixel(system.window, pixels[index].x, pixels[index].y);
            all = all && near(shown[index], pixels[index].colour);
        }
        if (all)
        {
            return;
        }
    }
    std::ostringstream report;
    for (std::size_t index = 0; index < pixels.size(); ++index)
    {
        report << "(" << pixels[index].x << ", " << pixels[index].y << ") shows " << int(shown[index][0]) << " "
               << int(shown[index][1]) << " " << int(shown[index][2]) << ", expected "
               << int(pixels[index].colour[0]) << " " << int(pixels[index].colour[1]) << " "
               << int(pixels[index].colour[2]) << "\n";
    }
    ADD_FAILURE() << report.str();
}
