#include "engine/Log.hpp"
#include "engine/vulkan/Memory.hpp"
#include "gpu/GpuHarness.hpp"
#include "support/StdoutCapture.hpp"

#include <vector>

namespace
{
using ResourceTest = GpuTest;

constexpr VkMemoryPropertyFlags hostMemory = VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT;
constexpr VkImageUsageFlags imageUsage = VK_IMAGE_USAGE_TRANSFER_SRC_BIT | VK_IMAGE_USAGE_TRANSFER_DST_BIT |
                                         VK_IMAGE_USAGE_SAMPLED_BIT | VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT;

std::vector<std::uint8_t> pattern(std::size_t size, std::uint8_t seed)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t index = 0; index < size; ++index)
    {
        bytes[index] = static_cast<std::uint8_t>(index * 7 + seed);
    }
    return bytes;
}

// A host-visible buffer that holds the bytes.
Buffer hostBufferWith(GraphicsSystem& system, const std::vector<std::uint8_t>& bytes, VkBufferUsageFlags usage)
{
    Buffer buffer = system.createBuffer(bytes.size(), usage, hostMemory).value();
    EXPECT_TRUE(copyToMemory(buffer.memory, system.logicalDevice.device, bytes.size(), bytes.data()));
    unmapMemory(buffer.memory, system.logicalDevice.device);
    return buffer;
}

TEST_F(ResourceTest, BuffersRoundTripThroughDeviceLocalMemory)
{
    const std::vector<std::uint8_t> bytes = pattern(1000, 3);
    std::optional<Buffer> deviceLocal = system.createDeviceLocalBuffer(
        bytes.size(), VK_BUFFER_USAGE_VERTEX_BUFFER_BIT | VK_BUFFER_USAGE_TRANSFER_DST_BIT | VK_BUFFER_USAGE_TRANSFER_SRC_BIT,
        bytes.data());
    ASSERT_TRUE(deviceLocal.has_value());
    EXPECT_EQ(readBuffer(system, deviceLocal->buffer, bytes.size()), bytes);

    const std::vector<std::uint8_t> update = pattern(1000, 99);
    Buffer host = hostBufferWith(system, update, VK_BUFFER_USAGE_TRANSFER_SRC_BIT);
    ASSERT_TRUE(system.copyBuffer(host.buffer, deviceLocal->buffer, update.size()));
    EXPECT_EQ(readBuffer(system, deviceLocal->buffer, update.size()), update);

    system.destroyBuffer(host);
    system.destroyBuffer(*deviceLocal);
    EXPECT_FALSE(hasErrors());
}

// Uploads go to the queue without a wait, so that the processor moves on to
// the next picture; what they read must outlive them, and what they write must
// not be released under them.
TEST_F(ResourceTest, OneTimeWorkNotWaitedForKeepsItsStagingAndFinishesBeforeAnyRelease)
{
    const std::vector<std::uint8_t> bytes = pattern(4096, 5);
    const VkBufferUsageFlags usage = VK_BUFFER_USAGE_TRANSFER_DST_BIT | VK_BUFFER_USAGE_TRANSFER_SRC_BIT;
    Buffer target = system.createBuffer(bytes.size(), usage, VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT).value();
    const std::uint64_t waits = system.queueWaitCount();
    for (std::size_t half = 0; half < 2; ++half)
    {
        Buffer staging = hostBufferWith(system, bytes, VK_BUFFER_USAGE_TRANSFER_SRC_BIT);
        ASSERT_TRUE(system.submitSingleTimeCommands(
            [&](VkCommandBuffer& commandBuffer) {
                const VkBufferCopy region{half * 2048, half * 2048, 2048};
                vkCmdCopyBuffer(commandBuffer, staging.buffer, target.buffer, 1, &region);
                return true;
            },
            {staging}));
    }
    EXPECT_EQ(system.queueWaitCount(), waits);
    // The read-back's one-time work waits for both copies first.
    EXPECT_EQ(readBuffer(system, target.buffer, bytes.size()), bytes);

    // Work that is refused goes nowhere and leaves nothing to wait for.
    Buffer refused = hostBufferWith(system, bytes, VK_BUFFER_USAGE_TRANSFER_SRC_BIT);
    EXPECT_FALSE(system.submitSingleTimeCommands([](VkCommandBuffer&) { return false; }, {refused}));
    const std::uint64_t beforeRelease = system.queueWaitCount();
    Buffer unused = system.createBuffer(64, usage, hostMemory).value();
    system.destroyBuffer(unused);
    EXPECT_EQ(system.queueWaitCount(), beforeRelease);

    // A release while work is pending waits for it.
    Buffer staging = hostBufferWith(system, bytes, VK_BUFFER_USAGE_TRANSFER_SRC_BIT);
    ASSERT_TRUE(system.submitSingleTimeCommands(
        [&](VkCommandBuffer& commandBuffer) {
            const VkBufferCopy region{0, 0, bytes.size()};
            vkCmdCopyBuffer(commandBuffer, staging.buffer, target.buffer, 1, &region);
            return true;
        },
        {staging}));
    system.destroyBuffer(target);
    EXPECT_EQ(system.queueWaitCount(), beforeRelease + 1);
    EXPECT_FALSE(hasErrors());
}

TEST_F(ResourceTest, UniformBuffersStayMappedAndReleasingARecordTwiceFreesItOnce)
{
    std::optional<Buffer> buffer = system.createBuffer(64, VK_BUFFER_USAGE_TRANSFER_SRC_BIT, hostMemory);
    std::optional<ImageResource> image = system.createImageResource(
        4, 4, 1, VK_FORMAT_R8G8B8A8_UNORM, VK_IMAGE_TILING_OPTIMAL, imageUsage, VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT,
        VK_IMAGE_ASPECT_COLOR_BIT, 1);
    ASSERT_TRUE(buffer && image);
    UniformBufferCollection uniforms;
    for (UniformBuffer& uniform : uniforms.buffers)
    {
        uniform = system.createUniformBuffer(64, VK_BUFFER_USAGE_UNIFORM_BUFFER_BIT | VK_BUFFER_USAGE_TRANSFER_SRC_BIT,
                                             hostMemory)
                      .value();
    }
    const std::vector<std::uint8_t> block = pattern(64, 11);
    std::copy(block.begin(), block.end(), static_cast<std::uint8_t*>(uniforms.buffers[1].mapped));
    EXPECT_EQ(readBuffer(system, uniforms.buffers[1].buffer, 64), block);

    for (int round = 0; round < 2; ++round)
    {
        system.destroyBuffer(*buffer);
        system.destroyImageResource(*image);
        system.destroyUniformBuffers(uniforms);
    }
    EXPECT_EQ(buffer->memory, VK_NULL_HANDLE);
    EXPECT_EQ(image->memory, VK_NULL_HANDLE);
    for (const UniformBuffer& uniform : uniforms.buffers)
    {
        EXPECT_EQ(uniform.memory, VK_NULL_HANDLE);
        EXPECT_EQ(uniform.mapped, nullptr);
    }
    EXPECT_FALSE(hasErrors());
}

TEST_F(ResourceTest, RefusalsAndFailuresLeaveNothingBehind)
{
    StdoutCapture capture;
    EXPECT_FALSE(system.createBuffer(0, VK_BUFFER_USAGE_TRANSFER_SRC_BIT, hostMemory).has_value());
    EXPECT_FALSE(system.createDeviceLocalBuffer(0, VK_BUFFER_USAGE_TRANSFER_DST_BIT, nullptr).has_value());
    EXPECT_FALSE(system.createBuffer(64, VK_BUFFER_USAGE_TRANSFER_SRC_BIT,
                                     VK_MEMORY_PROPERTY_PROTECTED_BIT | VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT));
    EXPECT_FALSE(system.copyBuffer(VK_NULL_HANDLE, VK_NULL_HANDLE, 0));
    EXPECT_FALSE(system.copyBufferToImage(VK_NULL_HANDLE, VK_NULL_HANDLE, 0, 4, false));
    EXPECT_FALSE(system.createImageResource(0, 4, 1, VK_FORMAT_R8G8B8A8_UNORM, VK_IMAGE_TILING_OPTIMAL, imageUsage,
                                            VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT, VK_IMAGE_ASPECT_COLOR_BIT, 1));
    EXPECT_EQ(capture.messages(), (std::vector<std::string>{
                                      "ERROR: Vulkan buffer creation has failed.", "ERROR: Vulkan buffer creation has failed.",
                                      "ERROR: Memory type index obtaining has failed.", "ERROR: Buffer copying has failed.",
                                      "ERROR: Image copying has failed.", "ERROR: Vulkan image creation has failed."}));
}

// Images with mip chains are uploaded and read back through the texture creators;
// here the faces of one level come back together, as the environment lighting reads them.
TEST_F(ResourceTest, CubeFacesRoundTrip)
{
    const std::uint32_t faceBytes = 4 * 4 * 4;
    const std::vector<std::uint8_t> faces = pattern(6 * faceBytes, 5);
    Buffer staging = hostBufferWith(system, faces, VK_BUFFER_USAGE_TRANSFER_SRC_BIT);
    Buffer target = hostBufferWith(system, std::vector<std::uint8_t>(faces.size()),
                                   VK_BUFFER_USAGE_TRANSFER_SRC_BIT | VK_BUFFER_USAGE_TRANSFER_DST_BIT);
    std::optional<ImageResource> cube = system.createCubeImageResource(
        4, 4, 3, VK_FORMAT_R8G8B8A8_UNORM, imageUsage, VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT, VK_IMAGE_ASPECT_COLOR_BIT);
    ASSERT_TRUE(cube.has_value());
    ASSERT_TRUE(system.transitionImageLayout(cube->image, 3, 6, VK_IMAGE_LAYOUT_UNDEFINED,
                                             VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, false));
    ASSERT_TRUE(system.copyBufferToCubeImage(staging.buffer, cube->image, 4, 4, faceBytes));
    ASSERT_TRUE(system.generateMipmaps(cube->image, VK_FORMAT_R8G8B8A8_UNORM, 3, 4, 4, false, 6));
    ASSERT_TRUE(system.recordPipelineBarrier(cube->image, 0, 6, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL,
                                             VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, VK_ACCESS_SHADER_READ_BIT,
                                             VK_ACCESS_TRANSFER_READ_BIT, VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT,
                                             VK_PIPELINE_STAGE_TRANSFER_BIT, false));
    ASSERT_TRUE(system.copyImageToBuffer(target.buffer, cube->image, 4, 4, faceBytes, 0));
    EXPECT_EQ(readBuffer(system, target.buffer, faces.size()), faces);
    system.destroyImageResource(*cube);
    system.destroyBuffer(staging);
    system.destroyBuffer(target);
    EXPECT_FALSE(hasErrors());
}
}
