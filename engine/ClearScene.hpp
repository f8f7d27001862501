#pragma once

#include "engine/Scene.hpp"

#include <vulkan/vulkan.h>

#include <vector>

// Clears the window every frame and closes it on Escape: the smallest scene
// that runs the whole frame protocol.
class ClearScene : public Scene
{
public:
    static constexpr VkClearColorValue clearColour{{0.2f, 0.4f, 0.6f, 1.0f}};

    ClearScene(GraphicsSystem* graphicsSystem, SceneManager* sceneManager);
    ~ClearScene() override;

    void load() override;
    void initialise() override;
    void update() override;
    void render() override;
    void unload() override;

private:
    bool createFrameBuffers();
    void destroyFrameBuffers();

    GraphicsSystem* graphicsSystem;
    VkRenderPass renderPass = VK_NULL_HANDLE;
    // One per swap-chain image, with that image's depth image.
    std::vector<VkFramebuffer> frameBuffers;
};
