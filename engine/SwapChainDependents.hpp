#pragma once

#include <functional>
#include <vector>

// Something whose frame buffers are made from the swap chain's images. The
// swap-chain rebuild releases them before the old swap chain goes and makes
// them again, in list order, once the new swap chain and depth images exist.
struct SwapChainDependent
{
    const void* owner = nullptr;
    std::function<void()> destroyFrameBuffers;
    std::function<bool()> createFrameBuffers;
};

// Process-wide, in the order of registration. An owner must leave the list
// before it goes away, so that no rebuild visits it afterwards.
void addSwapChainDependent(const void* owner, std::function<void()> destroyFrameBuffers,
                           std::function<bool()> createFrameBuffers);
void removeSwapChainDependent(const void* owner);
const std::vector<SwapChainDependent>& getSwapChainDependents();
