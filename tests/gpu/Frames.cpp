#include "gpu/Frames.hpp"

#include "support/NativeWindow.hpp"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <fmt/format.h>
#include <fmt/ranges.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

std::string testShader(const std::string& name)
{
    return (std::filesystem::path(KELVANE_TEST_SHADER_DIR) / (name + ".spv")).string();
}

PipelineDescription describePipeline(const std::string& vertexShader, const std::string& fragmentShader)
{
    PipelineDescription description;
    description.shaders = {{VK_SHADER_STAGE_VERTEX_BIT, testShader(vertexShader)},
                           {VK_SHADER_STAGE_FRAGMENT_BIT, testShader(fragmentShader)}};
    return description;
}

PipelineDescription withDepth(PipelineDescription description)
{
    description.depthTest = true;
    description.depthWrite = true;
    description.depthLoadOp = VK_ATTACHMENT_LOAD_OP_CLEAR;
    description.hasDepthAttachment = true;
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
    if (frame)
    {
        record(*frame);
        system.endFrame(frame->imageIndex);
    }
    return frame.has_value();
}

void expectWindowShows(GraphicsSystem& system, const FrameRecorder& record, const std::vector<WindowPixel>& pixels)
{
    std::string report;
    for (int frame = 0; frame < 30; ++frame)
    {
        raiseNativeWindow(system.window);
        presentFrame(system, record);
        system.waitIdle();
        report.clear();
        for (const WindowPixel& pixel : pixels)
        {
            const std::array<std::uint8_t, 3> shown = nativeWindowPixel(system.window, pixel.x, pixel.y);
            if (std::abs(shown[0] - pixel.colour[0]) > 1 || std::abs(shown[1] - pixel.colour[1]) > 1 ||
                std::abs(shown[2] - pixel.colour[2]) > 1)
            {
                report += fmt::format("({}, {}) shows {}, expected {}\n", pixel.x, pixel.y, fmt::join(shown, " "),
                                      fmt::join(pixel.colour, " "));
            }
        }
        if (report.empty())
        {
            return;
        }
    }
    ADD_FAILURE() << report;
}
