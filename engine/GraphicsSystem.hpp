#pragma once

#include "engine/vulkan/Device.hpp"
#include "engine/vulkan/PhysicalDevice.hpp"
#include "engine/vulkan/ResourceRecords.hpp"
#include "engine/vulkan/SwapChain.hpp"

#include <vulkan/vulkan.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

struct GLFWwindow;

inline constexpr std::uint32_t framesInFlight = 2;

struct FrameData
{
    VkCommandBuffer commandBuffer = VK_NULL_HANDLE;
    VkFence inFlightFence = VK_NULL_HANDLE;
    VkSemaphore imageAvailableSemaphore = VK_NULL_HANDLE;
};

struct FrameInfo
{
    VkCommandBuffer commandBuffer = VK_NULL_HANDLE;
    // The frame slot: selects per-frame descriptor sets, uniform buffers and render targets.
    std::uint32_t frameIndex = 0;
    // The acquired swap-chain image: selects the frame buffer and the depth image.
    std::uint32_t imageIndex = 0;
};

// Where the frames' renders have spent their time outside their own
// recording, summed over every frame so far.
struct FrameHandOver
{
    // Waiting for the frame slot's fence (the GPU done with the frame before
    // in that slot) and for the swap chain's next image.
    double waitSeconds = 0.0;
    // Submitting the commands and queueing the present.
    double submitSeconds = 0.0;
};

// The window and every Vulkan object that lives as long as the program. The
// constructor stops at the first failure (logged); the destructor releases
// whatever was made, in reverse order.
class GraphicsSystem
{
public:
    GraphicsSystem();
    ~GraphicsSystem();
    GraphicsSystem(const GraphicsSystem&) = delete;
    GraphicsSystem& operator=(const GraphicsSystem&) = delete;

    // No value: nothing is drawn this frame.
    std::optional<FrameInfo> beginFrame();
    void endFrame(std::uint32_t imageIndex);
    bool recreateSwapChain();
    void waitIdle();
    std::uint32_t getCurrentFrame() const;
    // Every wait for the whole queue or device so far (one-time work, waitIdle,
    // a swap-chain rebuild). Such a wait in a frame serialises the processor
    // and the card, so frames are meant to make none.
    std::uint64_t queueWaitCount() const;
    const FrameHandOver& frameHandOver() const;

    std::optional<Buffer> createBuffer(VkDeviceSize size, VkBufferUsageFlags usage, VkMemoryPropertyFlags properties);
    // The caller's usage must include transfer destination. The staged copy
    // into it is one-time work not waited for (submitSingleTimeCommands).
    std::optional<Buffer> createDeviceLocalBuffer(VkDeviceSize size, VkBufferUsageFlags usage, const void* data);
    std::optional<ImageResource> createImageResource(std::uint32_t width, std::uint32_t height, std::uint32_t mipLevels,
                                                     VkFormat format, VkImageTiling tiling, VkImageUsageFlags usage,
                                                     VkMemoryPropertyFlags properties, VkImageAspectFlags aspect,
                                                     std::uint32_t layerCount);
    std::optional<ImageResource> createCubeImageResource(std::uint32_t width, std::uint32_t height,
                                                         std::uint32_t mipLevels, VkFormat format,
                                                         VkImageUsageFlags usage, VkMemoryPropertyFlags properties,
                                                         VkImageAspectFlags aspect);
    std::optional<UniformBuffer> createUniformBuffer(VkDeviceSize size, VkBufferUsageFlags usage,
                                                     VkMemoryPropertyFlags properties);
    void destroyBuffer(Buffer& buffer);
    void destroyImageResource(ImageResource& imageResource);
    void destroyUniformBuffer(UniformBuffer& uniformBuffer);
    void destroyUniformBuffers(UniformBufferCollection& collection);

    // One-time work: recorded, submitted and finished before these return.
    std::optional<VkCommandBuffer> beginSingleTimeCommands();
    bool endSingleTimeCommands(VkCommandBuffer& commandBuffer);
    // One-time work that the processor does not wait for, so that it goes on
    // (decoding the next picture) while the GPU uploads: `record` fills a
    // command buffer, which goes to the queue behind the work before it, and
    // `buffers` (the staging it reads) are destroyed once it is done. It may
    // only write what no frame in flight reads, such as a new image. A wait for
    // the queue or the device finishes it first, and so does releasing any
    // buffer or image, so nothing is freed under it; frames follow it in the
    // queue. False, with the buffers destroyed and nothing submitted, when
    // `record` gives false or the work cannot be submitted.
    bool submitSingleTimeCommands(const std::function<bool(VkCommandBuffer&)>& record, std::vector<Buffer> buffers);
    bool copyBuffer(VkBuffer source, VkBuffer destination, VkDeviceSize size);
    bool copyBufferToImage(VkBuffer buffer, VkImage image, std::uint32_t width, std::uint32_t height, bool depth);
    bool copyBufferToCubeImage(VkBuffer buffer, VkImage image, std::uint32_t width, std::uint32_t height,
                               std::uint32_t faceByteSize);
    bool copyImageToBuffer(VkBuffer buffer, VkImage image, std::uint32_t width, std::uint32_t height,
                           std::uint32_t faceByteSize, std::uint32_t mipLevel);
    bool transitionImageLayout(VkImage image, std::uint32_t levelCount, std::uint32_t layerCount,
                               VkImageLayout oldLayout, VkImageLayout newLayout, bool depth);
    static void recordImageLayoutTransition(VkCommandBuffer& commandBuffer, VkImage image, std::uint32_t levelCount,
                                            std::uint32_t layerCount, VkImageLayout oldLayout, VkImageLayout newLayout,
                                            bool depth);
    bool recordPipelineBarrier(VkImage image, std::uint32_t baseMipLevel, std::uint32_t layerCount,
                               VkImageLayout oldLayout, VkImageLayout newLayout, VkAccessFlags sourceAccess,
                               VkAccessFlags destinationAccess, VkPipelineStageFlags sourceStage,
                               VkPipelineStageFlags destinationStage, bool depth);
    // Every level must be in the transfer-destination layout, level 0 holding
    // the picture; afterwards every level is shader-read-only.
    bool generateMipmaps(VkImage image, VkFormat format, std::uint32_t mipLevels, std::uint32_t width,
                         std::uint32_t height, bool depth, std::uint32_t layerCount);
    // The same recorded into the caller's commands; false, logged, with
    // nothing recorded, where generateMipmaps would fail.
    bool recordMipmaps(VkCommandBuffer& commandBuffer, VkImage image, VkFormat format, std::uint32_t mipLevels,
                       std::uint32_t width, std::uint32_t height, bool depth, std::uint32_t layerCount);

    GLFWwindow* window = nullptr;
    VkInstance instance = VK_NULL_HANDLE;
    VkSurfaceKHR surface = VK_NULL_HANDLE;
    PhysicalDeviceInfo physicalDeviceInfo;
    LogicalDevice logicalDevice;
    SwapChain swapChain;
    VkCommandPool commandPool = VK_NULL_HANDLE;
    std::array<FrameData, framesInFlight> frames;
    // One per swap-chain image, indexed by the image index: a present may
    // still wait on it when the frame slot that signalled it comes round again.
    std::vector<VkSemaphore> renderFinishedSemaphores;
    // One per swap-chain image, indexed by the image index.
    std::vector<ImageResource> depthImages;
    std::uint32_t currentFrame = 0;

private:
    bool createFrames();
    bool matchRenderFinishedSemaphores();
    bool createDepthImages();
    void destroyDepthImages();
    VkExtent2D framebufferSize() const;
    bool createSwapChainForWindow();
    bool runSingleTimeCommands(const std::function<void(VkCommandBuffer&)>& record);
    bool canGenerateMipmaps(VkFormat format, std::uint32_t mipLevels, std::uint32_t width, std::uint32_t height,
                            bool depth, std::uint32_t layerCount) const;
    bool waitForQueue();
    // The work submitted without a wait that is done: all of it after a wait
    // for the queue or the device, else what its fence shows finished.
    void releasePendingWork(bool queueIdle);
    // Waits for the queue when work is pending.
    void finishPendingWork();

    struct PendingWork
    {
        VkCommandBuffer commandBuffer = VK_NULL_HANDLE;
        VkFence fence = VK_NULL_HANDLE;
        std::vector<Buffer> buffers;
    };
    // Its command buffer, fence and buffers, whatever of them was made.
    void releaseWork(PendingWork& work);
    // Destroys the buffer without waiting for the work that may still read it.
    void releaseBuffer(Buffer& buffer);
    std::vector<PendingWork> pendingWork;

    bool rebuildAfterPresent = false;
    std::uint64_t queueWaits = 0;
    FrameHandOver handOver;
};
